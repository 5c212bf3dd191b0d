// Fitting pictures for the player with stb_image_resize and stb_image_write (Debian's libstb-dev,
// used header-only), decoded by picture_check's bounded stb_image.
#include "tools/quiz_folder/picture_fitting.h"

#include "player/geometry.h"
#include "tools/quiz_folder/picture_check.h"

// From memory to memory only; no file functions.
#define STB_IMAGE_RESIZE_STATIC
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wdouble-promotion"
#include <stb/stb_image_resize.h>
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace {

// Above 90 the writer keeps the colours at full resolution: drawings and lettering keep clean edges,
// and a picture of the box's size stays a few tens of kilobytes.
constexpr int JPEG_QUALITY = 92;

bool largerThanBox(int width, int height) {
    return width > PICTURE_BOX || height > PICTURE_BOX;
}

// Re-encoding a JPEG or GIF costs some of its quality: worth it only when the file is far larger than
// what is shown.
bool farLargerThanBox(int width, int height) {
    return width > 2 * PICTURE_BOX || height > 2 * PICTURE_BOX;
}

void appendBytes(void* context, void* data, int size) {
    std::vector<unsigned char>* bytes = static_cast<std::vector<unsigned char>*>(context);
    const unsigned char* first = static_cast<const unsigned char*>(data);
    bytes->insert(bytes->end(), first, first + size);
}

// Each pixel drawn over the background as the page would show it through its transparent parts.
std::vector<unsigned char> overBackground(const unsigned char* rgba, int width, int height,
                                          PictureBackground background) {
    const unsigned char page[3] = {background.red, background.green, background.blue};
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::vector<unsigned char> rgb(pixels * 3);
    for (std::size_t i = 0; i < pixels; ++i) {
        const unsigned alpha = rgba[4 * i + 3];
        for (int c = 0; c < 3; ++c)
            rgb[3 * i + c] = static_cast<unsigned char>((rgba[4 * i + c] * alpha + page[c] * (255 - alpha) + 127) / 255);
    }
    return rgb;
}

}  // namespace

FittedPicture pictureFitFor(const unsigned char* bytes, std::size_t size, int width, int height) {
    FittedPicture planned;
    planned.fit = isPngOrBmp(bytes, size)           ? PictureFit::Converted
                  : farLargerThanBox(width, height) ? PictureFit::Scaled
                                                    : PictureFit::AsItIs;
    planned.width = width;
    planned.height = height;
    if (planned.fit != PictureFit::AsItIs && largerThanBox(width, height)) {
        fittedPictureSize(width, height, PICTURE_BOX, PICTURE_BOX, &planned.width, &planned.height);
        // A sliver of a picture still keeps one row or column.
        planned.width = planned.width < 1 ? 1 : planned.width;
        planned.height = planned.height < 1 ? 1 : planned.height;
    }
    return planned;
}

bool fitPicture(const unsigned char* bytes, std::size_t size, PictureBackground background, FittedPicture* fitted) {
    *fitted = FittedPicture();
    DecodedPicture picture = decodePicture(bytes, size);
    if (picture.pixels == nullptr) return false;
    FittedPicture planned = pictureFitFor(bytes, size, picture.width, picture.height);
    const int width = planned.width, height = planned.height;
    if (planned.fit == PictureFit::AsItIs) {
        freeDecodedPicture(&picture);
        *fitted = planned;
        return true;
    }
    std::vector<unsigned char> scaled;
    const unsigned char* pixels = picture.pixels;
    if (width != picture.width || height != picture.height) {
        scaled.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
        // In sRGB, with the alpha channel weighting the colours, as picture editors scale.
        if (!stbir_resize_uint8_srgb(picture.pixels, picture.width, picture.height, 0, scaled.data(), width, height, 0, 4,
                                     3, 0)) {
            freeDecodedPicture(&picture);
            return false;
        }
        pixels = scaled.data();
    }
    const std::vector<unsigned char> rgb = overBackground(pixels, width, height, background);
    freeDecodedPicture(&picture);
    if (!stbi_write_jpg_to_func(appendBytes, &planned.jpeg, width, height, 3, rgb.data(), JPEG_QUALITY) ||
        planned.jpeg.empty())
        return false;
    *fitted = std::move(planned);
    return true;
}
