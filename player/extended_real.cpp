// Extended precision with integers: a 128-bit value made exact first, then rounded once to 64 bits
// as the x87 rounds (to nearest, ties to even).
#include "player/extended_real.h"

namespace {

struct Wide {
    uint64_t high, low;
};

int topBit(Wide v) {
    for (int bit = 127; bit >= 0; --bit) {
        const uint64_t word = bit >= 64 ? v.high : v.low;
        if (word >> (bit & 63) & 1) return bit;
    }
    return -1;
}

bool bitOf(Wide v, int bit) { return ((bit >= 64 ? v.high : v.low) >> (bit & 63) & 1) != 0; }

// value times 2^shift, where sticky says that bits below value's last one were set: rounded to 64 bits.
ExtendedReal rounded(Wide value, int shift, bool sticky) {
    const int top = topBit(value);
    const int dropped = top > 63 ? top - 63 : 0;
    // The 64 bits kept, the first bit dropped, and whether any later one is set.
    uint64_t mantissa = 0;
    for (int bit = top; bit >= dropped; --bit) mantissa = mantissa << 1 | (bitOf(value, bit) ? 1 : 0);
    mantissa <<= 63 - (top - dropped);
    const bool half = dropped > 0 && bitOf(value, dropped - 1);
    bool below = sticky;
    for (int bit = dropped - 2; bit >= 0 && !below; --bit) below = bitOf(value, bit);
    int exponent = top + shift;
    if (half && (below || (mantissa & 1) != 0)) {
        if (++mantissa == 0) {
            mantissa = uint64_t{1} << 63;
            ++exponent;
        }
    }
    return ExtendedReal{mantissa, exponent};
}

}  // namespace

ExtendedReal extendedQuotient(uint32_t a, uint32_t b) {
    // The integer part, then 96 bits of fraction by long division: at least 65 bits that count, and
    // whatever is left says only whether the quotient goes on.
    uint64_t remainder = a % b;
    Wide value = {static_cast<uint64_t>(a / b) << 32, 0};
    for (int bit = 95; bit >= 0; --bit) {
        remainder <<= 1;
        if (remainder < b) continue;
        remainder -= b;
        if (bit >= 64)
            value.high |= uint64_t{1} << (bit - 64);
        else
            value.low |= uint64_t{1} << bit;
    }
    return rounded(value, -96, remainder != 0);
}

ExtendedReal extendedProduct(uint32_t n, ExtendedReal x) {
    // n times the mantissa in 32-bit halves: at most 96 bits.
    const uint64_t low = (x.mantissa & 0xFFFFFFFFu) * n;
    const uint64_t high = (x.mantissa >> 32) * n + (low >> 32);
    const Wide value = {high >> 32, high << 32 | (low & 0xFFFFFFFFu)};
    return rounded(value, x.exponent - 63, false);
}

bool extendedLess(ExtendedReal x, ExtendedReal y) {
    return x.exponent != y.exponent ? x.exponent < y.exponent : x.mantissa < y.mantissa;
}

int32_t extendedTruncated(ExtendedReal x) {
    if (x.exponent < 0) return 0;
    return static_cast<int32_t>(x.mantissa >> (63 - x.exponent));
}
