// Decoding the quiz's pictures with stb_image, bounded: the files come from strangers.
#include "tools/quiz_folder/picture_check.h"

#include <climits>
#include <cstdlib>

#include "player/geometry.h"

namespace {

// No allocation of the decoder is larger than a picture of the most pixels at four bytes each.
constexpr std::size_t MAX_ALLOCATION = static_cast<std::size_t>(PICTURE_MAX_PIXELS) * 4 + 65536;

void* boundedMalloc(std::size_t size) {
    return size <= MAX_ALLOCATION ? std::malloc(size) : nullptr;
}

void* boundedRealloc(void* block, std::size_t size) {
    return size <= MAX_ALLOCATION ? std::realloc(block, size) : nullptr;
}

}  // namespace

// Only the two formats the player shows, from memory. No SIMD: one code path on every build, the
// one that is fuzzed. No thread-local failure reason: the tool has one thread, and MinGW's
// thread-local storage would only add a dependency.
#define STBI_ONLY_JPEG
#define STBI_ONLY_GIF
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_NO_SIMD
#define STBI_NO_THREAD_LOCALS
#define STBI_MALLOC(size) boundedMalloc(size)
#define STBI_REALLOC(block, size) boundedRealloc(block, size)
#define STBI_FREE(block) std::free(block)
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

namespace {

// Whether a GIF holds every block it announces, up to its trailer or the end of its last block. The
// decoder takes a file that stops inside a picture's data for a picture that ends there.
bool gifComplete(const unsigned char* bytes, std::size_t size) {
    if (size < 13) return false;
    std::size_t at = 13;
    if (bytes[10] & 0x80) at += 3u * (2u << (bytes[10] & 7));  // the global colour table
    // Data sub-blocks: each a length byte and that many bytes, the last one of length 0.
    const auto subBlocks = [&]() {
        while (at < size) {
            const unsigned char length = bytes[at++];
            if (length == 0) return true;
            at += length;
        }
        return false;
    };
    while (at < size) {
        const unsigned char block = bytes[at++];
        if (block == 0x3B) return true;  // the trailer
        if (block == 0x21) {             // an extension: its label, then sub-blocks
            if (++at > size || !subBlocks()) return false;
        } else if (block == 0x2C) {  // an image: its descriptor, a local colour table, then its data
            if (at + 9 > size) return false;
            const unsigned char flags = bytes[at + 8];
            at += 9;
            if (flags & 0x80) at += 3u * (2u << (flags & 7));
            if (++at > size || !subBlocks()) return false;  // the code size, then the data
        } else {
            return true;  // not a block: the decoder has judged what it needed
        }
    }
    return at == size;  // ending between blocks, without a trailer, loses nothing
}

// Whether a JPEG ends with its end marker after its last scan; a file cut short does not.
bool jpegHasEnd(const unsigned char* bytes, std::size_t size) {
    std::size_t lastScan = 0;
    for (std::size_t i = 0; i + 1 < size; ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xDA) lastScan = i;
    }
    for (std::size_t i = lastScan; i + 1 < size; ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xD9) return true;
    }
    return false;
}

bool isGif(const unsigned char* bytes, std::size_t size) {
    return size >= 3 && bytes[0] == 'G' && bytes[1] == 'I' && bytes[2] == 'F';
}

PictureFacts failed(const unsigned char* bytes, std::size_t size, int width, int height) {
    const bool cut = isGif(bytes, size) ? !gifComplete(bytes, size) : !jpegHasEnd(bytes, size);
    const char* reason = stbi_failure_reason();
    return PictureFacts{cut ? PictureState::Cut : PictureState::Damaged, width, height, reason ? reason : ""};
}

}  // namespace

PictureFacts checkPicture(const unsigned char* bytes, std::size_t size) {
    if (size == 0 || size > static_cast<std::size_t>(INT_MAX)) return PictureFacts{PictureState::Damaged, 0, 0, ""};
    const int length = static_cast<int>(size);
    int width = 0, height = 0, channels = 0;
    // The size first, so that no picture is decoded past the limit. When even that fails, decoding
    // fails too, and says why in the decoder's words (the size's failure names no format).
    const bool sized = stbi_info_from_memory(bytes, length, &width, &height, &channels) != 0;
    if (sized && static_cast<int64_t>(width) * height > PICTURE_MAX_PIXELS)
        return PictureFacts{PictureState::TooLarge, width, height, ""};
    stbi_uc* pixels = stbi_load_from_memory(bytes, length, &width, &height, &channels, 0);
    if (pixels == nullptr) return failed(bytes, size, width, height);
    stbi_image_free(pixels);
    if (static_cast<int64_t>(width) * height > PICTURE_MAX_PIXELS)
        return PictureFacts{PictureState::TooLarge, width, height, ""};
    if (isGif(bytes, size) && !gifComplete(bytes, size)) return PictureFacts{PictureState::Cut, width, height, ""};
    return PictureFacts{PictureState::Good, width, height, ""};
}

void shownPictureSize(int width, int height, int* shownWidth, int* shownHeight) {
    // As the player scales: in extended precision, then cut toward zero.
    const long double across = static_cast<long double>(PICTURE_BOX) / width;
    const long double down = static_cast<long double>(PICTURE_BOX) / height;
    const long double scale = across < down ? across : down;
    *shownWidth = static_cast<int>(width * scale);
    *shownHeight = static_cast<int>(height * scale);
}
