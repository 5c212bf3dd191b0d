// Decoding the quiz's pictures with stb_image, bounded: the files come from strangers.
#include "tools/quiz_folder/picture_check.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

// No allocation of the decoder is larger than a picture of the most pixels at four bytes each.
constexpr std::size_t MAX_ALLOCATION = static_cast<std::size_t>(PICTURE_MAX_PIXELS) * 4 + 65536;

// Zeroed: the decoder reads parts of its state a stranger's file never sets (the Huffman tables a scan
// names but no segment defines); read as zeros, a picture decodes the same way every time, so that
// what check calls good, build fits.
void* boundedMalloc(std::size_t size) {
    return size <= MAX_ALLOCATION ? std::calloc(1, size) : nullptr;
}

void* boundedRealloc(void* block, std::size_t size) {
    return size <= MAX_ALLOCATION ? std::realloc(block, size) : nullptr;
}

}  // namespace

// The two formats the player shows, and the two the tool converts for it, from memory. No SIMD: one code path on every build, the
// one that is fuzzed. No thread-local failure reason: the tool has one thread, and MinGW's
// thread-local storage would only add a dependency.
#define STBI_ONLY_JPEG
#define STBI_ONLY_GIF
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
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

// Whether every Huffman table of a JPEG holds at most 256 codes. The decoder (stb_image 2.27, as
// Debian ships it) trusts the sixteen counts of a table and writes that many codes into room for
// 256: a file from a stranger could write past its tables. Every table the decoder could read is
// looked at: the marker segments are walked as it walks them, bytes that are not a marker skipped up
// to the next one (the decoder does so before the frame header, and fails elsewhere), the scans'
// data up to the next marker; bytes past the end read as zeros, as they do for the decoder.
bool jpegTablesFit(const unsigned char* bytes, std::size_t size) {
    const auto at = [&](std::size_t i) -> unsigned { return i < size ? bytes[i] : 0; };
    std::size_t i = 1;  // after the start marker and its fill bytes
    while (at(i) == 0xFF) ++i;
    ++i;
    while (i + 1 < size) {
        if (at(i) != 0xFF) {
            ++i;
            continue;
        }
        while (i < size && at(i) == 0xFF) ++i;
        const unsigned marker = at(i++);
        if (marker == 0xD9) return true;  // the decoder ends here, or fails
        if ((marker >= 0xD0 && marker <= 0xD8) || marker == 0x01 || marker == 0x00) continue;  // no length
        const std::size_t length = (at(i) << 8) | at(i + 1);
        if (marker == 0xC4) {
            // Tables follow one another while the segment's length lasts, as the decoder counts it.
            long left = static_cast<long>(length) - 2;
            std::size_t table = i + 2;
            while (left > 0) {
                unsigned codes = 0;
                for (std::size_t k = 1; k <= 16; ++k) codes += at(table + k);
                if (codes > 256) return false;
                table += 17 + codes;
                left -= 17 + static_cast<long>(codes);
            }
        }
        i += length;
        if (marker == 0xDA) {
            // The scan's data: FF 00 is a data byte, FF D0 to D7 a restart; any other FF ends it.
            while (i + 1 < size && !(at(i) == 0xFF && at(i + 1) != 0x00 && (at(i + 1) < 0xD0 || at(i + 1) > 0xD7))) ++i;
        }
    }
    return true;
}

bool isGif(const unsigned char* bytes, std::size_t size) {
    return size >= 3 && bytes[0] == 'G' && bytes[1] == 'I' && bytes[2] == 'F';
}

bool isPng(const unsigned char* bytes, std::size_t size) {
    return size >= 8 && std::memcmp(bytes, "\x89PNG\r\n\x1A\n", 8) == 0;
}

bool isBmp(const unsigned char* bytes, std::size_t size) {
    return size >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
}

// The decoder reads its start marker as any other: FF, fill bytes FF, then D8.
bool isJpeg(const unsigned char* bytes, std::size_t size) {
    std::size_t i = 1;
    while (i < size && bytes[0] == 0xFF && bytes[i] == 0xFF) ++i;
    return size >= 2 && bytes[0] == 0xFF && i < size && bytes[i] == 0xD8;
}

// Whether a PNG holds its end chunk (IEND, of length 0); bytes may follow it.
bool pngHasEnd(const unsigned char* bytes, std::size_t size) {
    static const unsigned char END[8] = {0, 0, 0, 0, 'I', 'E', 'N', 'D'};
    return std::search(bytes + 8, bytes + size, END, END + 8) != bytes + size;
}

// Whether a BMP holds the bytes its header announces (0 there: not told).
bool bmpComplete(const unsigned char* bytes, std::size_t size) {
    if (size < 6) return false;
    const uint32_t announced = bytes[2] | (bytes[3] << 8) | (bytes[4] << 16) | (static_cast<uint32_t>(bytes[5]) << 24);
    return announced <= size;
}

bool complete(const unsigned char* bytes, std::size_t size) {
    if (isGif(bytes, size)) return gifComplete(bytes, size);
    if (isPng(bytes, size)) return pngHasEnd(bytes, size);
    if (isBmp(bytes, size)) return bmpComplete(bytes, size);
    return jpegHasEnd(bytes, size);
}

PictureFacts failed(const unsigned char* bytes, std::size_t size, int width, int height) {
    const char* reason = stbi_failure_reason();
    return PictureFacts{complete(bytes, size) ? PictureState::Damaged : PictureState::Cut, width, height,
                        reason ? reason : ""};
}

// The checks before decoding: a JPEG's Huffman tables, then the size. Good when decoding may go on.
PictureFacts beforeDecoding(const unsigned char* bytes, std::size_t size) {
    if (size == 0 || size > static_cast<std::size_t>(INT_MAX)) return PictureFacts{PictureState::Damaged, 0, 0, ""};
    if (isJpeg(bytes, size) && !jpegTablesFit(bytes, size))
        return PictureFacts{PictureState::Damaged, 0, 0, "a Huffman table of more than 256 codes"};
    int width = 0, height = 0, channels = 0;
    // The size first, so that no picture is decoded past the limit. When even that fails, decoding
    // fails too, and says why in the decoder's words (the size's failure names no format).
    const bool sized = stbi_info_from_memory(bytes, static_cast<int>(size), &width, &height, &channels) != 0;
    if (sized && static_cast<int64_t>(width) * height > PICTURE_MAX_PIXELS)
        return PictureFacts{PictureState::TooLarge, width, height, ""};
    return PictureFacts{PictureState::Good, width, height, ""};
}

}  // namespace

PictureFacts checkPicture(const unsigned char* bytes, std::size_t size) {
    const PictureFacts before = beforeDecoding(bytes, size);
    if (before.state != PictureState::Good) return before;
    int width = 0, height = 0, channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(bytes, static_cast<int>(size), &width, &height, &channels, 0);
    if (pixels == nullptr) return failed(bytes, size, width, height);
    stbi_image_free(pixels);
    if (static_cast<int64_t>(width) * height > PICTURE_MAX_PIXELS)
        return PictureFacts{PictureState::TooLarge, width, height, ""};
    // The decoders take a GIF, PNG or BMP that stops inside its picture data for a picture that ends
    // there (a JPEG's scan data is not walked: one without its end marker that decodes is shown).
    if (!isJpeg(bytes, size) && !complete(bytes, size)) return PictureFacts{PictureState::Cut, width, height, ""};
    return PictureFacts{PictureState::Good, width, height, ""};
}

bool isPngOrBmp(const unsigned char* bytes, std::size_t size) {
    return isPng(bytes, size) || isBmp(bytes, size);
}

DecodedPicture decodePicture(const unsigned char* bytes, std::size_t size) {
    DecodedPicture picture = {nullptr, 0, 0};
    if (beforeDecoding(bytes, size).state != PictureState::Good) return picture;
    int channels = 0;
    picture.pixels = stbi_load_from_memory(bytes, static_cast<int>(size), &picture.width, &picture.height, &channels, 4);
    if (picture.pixels != nullptr && static_cast<int64_t>(picture.width) * picture.height > PICTURE_MAX_PIXELS)
        freeDecodedPicture(&picture);
    return picture;
}

void freeDecodedPicture(DecodedPicture* picture) {
    stbi_image_free(picture->pixels);
    *picture = DecodedPicture{nullptr, 0, 0};
}

