// Pictures decoded as the player will have to decode them (with stb_image, Debian's libstb-dev): a
// file cut short or damaged shows players nothing or a broken picture, and one far larger than the
// box it is shown in only weighs the program down. PNG and BMP pictures, which the player does not
// show, are decoded too: the quiz program carries them as JPEG (picture_fitting.h).
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

// Decodes a JPEG, GIF, PNG or BMP picture (the first frame of an animated GIF, which is what the
// player shows).
PictureFacts checkPicture(const unsigned char* bytes, std::size_t size);

// Whether the bytes are a PNG or BMP picture, by their first bytes.
bool isPngOrBmp(const unsigned char* bytes, std::size_t size);

// A decoded picture: width x height pixels of four bytes (red, green, blue, alpha), row by row.
struct DecodedPicture {
    unsigned char* pixels;  // null when the picture did not decode
    int width, height;
};

// Decodes a picture that checkPicture calls good, within the same bounds. Free it with
// freeDecodedPicture.
DecodedPicture decodePicture(const unsigned char* bytes, std::size_t size);
void freeDecodedPicture(DecodedPicture* picture);
