// Fuzz target: the picture check of trivo-make (stb_image's JPEG, GIF, PNG and BMP decoders, bounded,
// and the walks that find a picture cut short) and the fitting of pictures for the player
// (stb_image_resize, stb_image_write) on arbitrary bytes. Nothing may crash, read out of bounds or
// allocate without bound; a picture called good has a size within the limit, and fits into a JPEG
// that is good and of the size planned.
#include <cstdint>
#include <cstdlib>

#include "tools/quiz_folder/picture_check.h"
#include "tools/quiz_folder/picture_fitting.h"

namespace {

// Fitting decodes the whole picture again: only pictures this small are fitted, so that a run tries
// many inputs (a picture 600 pixels wide and 20 high is scaled).
constexpr int64_t FITTED_MAX_PIXELS = 100 * 1000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const PictureFacts facts = checkPicture(data, size);
    if (facts.state != PictureState::Good) return 0;
    if (facts.width <= 0 || facts.height <= 0 || static_cast<int64_t>(facts.width) * facts.height > PICTURE_MAX_PIXELS)
        std::abort();
    if (static_cast<int64_t>(facts.width) * facts.height > FITTED_MAX_PIXELS) return 0;
    FittedPicture fitted;
    if (!fitPicture(data, size, PictureBackground{255, 255, 255}, &fitted)) std::abort();
    const FittedPicture planned = pictureFitFor(data, size, facts.width, facts.height);
    if (fitted.fit != planned.fit || fitted.width != planned.width || fitted.height != planned.height) std::abort();
    if (fitted.fit == PictureFit::AsItIs) return 0;
    const PictureFacts carried = checkPicture(fitted.jpeg.data(), fitted.jpeg.size());
    if (carried.state != PictureState::Good || carried.width != fitted.width || carried.height != fitted.height)
        std::abort();
    return 0;
}
