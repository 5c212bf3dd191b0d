// Pictures made fit for the player, in memory: PNG and BMP, which it does not show, become JPEG, and a
// picture far larger than the box it is shown in is scaled to the size the player shows it at. What
// build and play carry; the files an author gives are never changed. The studio's upload fits its
// pictures with the same call.
#pragma once
#include <cstddef>
#include <vector>

enum class PictureFit {
    AsItIs,     // a JPEG or GIF picture the player shows as it is
    Converted,  // PNG or BMP: carried as JPEG, at the shown size when larger than the box
    Scaled,     // a JPEG or GIF picture more than twice the box: carried as JPEG at the shown size
};

// The page's colour, which transparent pixels are drawn over.
struct PictureBackground {
    unsigned char red, green, blue;
};

struct FittedPicture {
    PictureFit fit = PictureFit::AsItIs;
    int width = 0, height = 0;        // as carried
    std::vector<unsigned char> jpeg;  // the JPEG carried; empty for AsItIs
};

// What fitting does to a picture of width x height (as checkPicture reads it): its fit and the size
// carried, without the JPEG.
FittedPicture pictureFitFor(const unsigned char* bytes, std::size_t size, int width, int height);

// Fits a picture that checkPicture calls good. False when it does not decode or cannot be written
// as JPEG; *fitted then says AsItIs.
bool fitPicture(const unsigned char* bytes, std::size_t size, PictureBackground background, FittedPicture* fitted);
