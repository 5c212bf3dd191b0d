// Trivo's LZW packer and unpacker for the PATCH resources (quiz content and score codes).
//
// Format notes. The stream is a sequence of codes written most significant bit first, filling each
// byte from bit 7 down. Codes 0-255 are literals, 256 ends the data, 257 widens every later code by
// one bit, 258 resets the dictionary and the width to 9 bits, 259-4095 are dictionary strings. The
// first code is 9 bits wide and always a literal. The packer widens only when a code does not fit,
// announcing each extra bit with a 257; a reader never widens by itself. There is no header, length
// or checksum; the bits after the end code up to the byte boundary are zero.
#pragma once
#include <cstdint>

enum class LzwStatus : int {
    Ok = 0,
    NoMemory = -4,     // an allocation failed, or the data does not fit the codec's fixed storage
    NoInput = -5,      // empty input; for unpacking also an input that ends inside the first code
    WriteFailed = -6,  // a code wider than 32 bits was to be written
    BadStream = -7,    // unpacking only: a malformed stream
};

// The limits the codec's fixed storage sets.
constexpr int32_t LZW_MAX_INPUT = 65535;          // the reader counts its window in 16 bits
constexpr int32_t LZW_UNPACK_CAPACITY = 120000;   // output buffer of lzwDecode
constexpr int32_t LZW_PACK_CAPACITY = 80000;      // output buffer of lzwEncode
constexpr int LZW_MAX_STRING = 4096;              // longest dictionary string

// Both calls allocate their output buffer with malloc and hand it back on every return once the
// buffer exists, successful or not; the caller frees it. *outputLength is the exact number of data
// bytes in it (after a failure: the bytes produced before it). When no buffer could be allocated,
// *output and *outputLength are left untouched.
LzwStatus lzwDecode(const unsigned char* input, int32_t inputLength, unsigned char** output,
                    int32_t* outputLength);
LzwStatus lzwEncode(const unsigned char* input, int32_t inputLength, unsigned char** output,
                    int32_t* outputLength);

// Counters of the running or last call.
int32_t lzwInputTotal();
int32_t lzwInputConsumed();
int32_t lzwPackInputSize();
int32_t lzwPackedSize();

// "Ok", "NoMemory", ... for messages.
const char* lzwStatusName(LzwStatus status);
