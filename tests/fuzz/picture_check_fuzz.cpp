// Fuzz target: the picture check of trivo-make (stb_image's JPEG and GIF decoders, bounded, and the
// walk that finds a GIF cut short) on arbitrary bytes. Nothing may crash, read out of bounds or
// allocate without bound; a picture called good has a size within the limit.
#include <cstdint>
#include <cstdlib>

#include "tools/quiz_folder/picture_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const PictureFacts facts = checkPicture(data, size);
    if (facts.state == PictureState::Good &&
        (facts.width <= 0 || facts.height <= 0 ||
         static_cast<int64_t>(facts.width) * facts.height > PICTURE_MAX_PIXELS))
        std::abort();
    return 0;
}
