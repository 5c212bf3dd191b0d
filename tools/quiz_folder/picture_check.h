// Pictures decoded as the player will have to decode them (with stb_image, Debian's libstb-dev): a
// file cut short or damaged shows players nothing or a broken picture, and one far larger than the
// box it is shown in only weighs the program down.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

enum class PictureState {
    Good,
    Cut,       // the file ends before the picture does
    Damaged,   // it does not decode
    TooLarge,  // more pixels than are decoded here
};

struct PictureFacts {
    PictureState state;
    int width, height;   // 0 when not known
    std::string reason;  // the decoder's words for a damaged picture
};

// Pictures above this many pixels are not decoded: decoding takes up to 12 bytes a pixel, and the
// player shows every picture within a 260-pixel box.
constexpr int64_t PICTURE_MAX_PIXELS = 40 * 1000 * 1000;

// Decodes a JPEG or GIF picture (the first frame of an animated GIF, which is what the player shows).
PictureFacts checkPicture(const unsigned char* bytes, std::size_t size);
