// The x87's extended precision (a 64-bit mantissa), computed with integers, so that the player's
// picture sizes come out the same wherever the code runs: as the 32-bit player's long double gives
// them, and also in WebAssembly and on machines whose long double is wider or narrower.
#pragma once
#include <cstdint>

// A positive number: mantissa (its top bit set) times 2 to the power exponent - 63.
struct ExtendedReal {
    uint64_t mantissa;
    int exponent;
};

// a / b rounded to the nearest extended value (ties to even); a and b positive.
ExtendedReal extendedQuotient(uint32_t a, uint32_t b);
// n times x, rounded the same way; n positive.
ExtendedReal extendedProduct(uint32_t n, ExtendedReal x);
bool extendedLess(ExtendedReal x, ExtendedReal y);
// x cut toward zero, for values below 2^31.
int32_t extendedTruncated(ExtendedReal x);
