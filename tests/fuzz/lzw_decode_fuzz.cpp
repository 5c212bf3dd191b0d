// Fuzz target: the unpacker on arbitrary bytes, and the packer round trip on the same bytes.
#include <cstdlib>
#include <cstring>

#include "content/lzw.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    if (size > static_cast<size_t>(LZW_MAX_INPUT) + 16) return 0;
    int32_t length = static_cast<int32_t>(size);

    unsigned char* out = nullptr;
    int32_t outLength = 0;
    LzwStatus status = lzwDecode(data, length, &out, &outLength);
    if (out != nullptr) {
        if (outLength < 0 || outLength > LZW_UNPACK_CAPACITY) abort();
        if (status == LzwStatus::Ok && lzwInputConsumed() > length) abort();
        free(out);
    }

    // Whatever packs must unpack to itself.
    unsigned char* packed = nullptr;
    int32_t packedLength = 0;
    if (lzwEncode(data, length, &packed, &packedLength) == LzwStatus::Ok && packedLength <= LZW_MAX_INPUT) {
        unsigned char* back = nullptr;
        int32_t backLength = 0;
        if (lzwDecode(packed, packedLength, &back, &backLength) != LzwStatus::Ok || backLength != length ||
            memcmp(back, data, size) != 0)
            abort();
        free(back);
    }
    free(packed);
    return 0;
}
