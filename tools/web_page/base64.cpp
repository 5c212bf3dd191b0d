// Base64 encoding.
#include "tools/web_page/base64.h"

#include <vector>

#include "tools/support/text.h"

namespace {

const char ALPHABET[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

}  // namespace

void appendBase64(const unsigned char* bytes, std::size_t size, std::string* out) {
    out->reserve(out->size() + (size + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= size; i += 3) {
        const unsigned value = bytes[i] << 16 | bytes[i + 1] << 8 | bytes[i + 2];
        for (int shift = 18; shift >= 0; shift -= 6) out->push_back(ALPHABET[(value >> shift) & 63]);
    }
    if (i == size) return;
    const unsigned value = bytes[i] << 16 | (i + 1 < size ? bytes[i + 1] << 8 : 0);
    out->push_back(ALPHABET[(value >> 18) & 63]);
    out->push_back(ALPHABET[(value >> 12) & 63]);
    out->push_back(i + 1 < size ? ALPHABET[(value >> 6) & 63] : '=');
    out->push_back('=');
}

std::string base64OfHex(const std::string& hex) {
    if (hex.size() % 2 != 0) return std::string();
    std::vector<unsigned char> bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = hexDigit(hex[i]);
        const int low = hexDigit(hex[i + 1]);
        if (high < 0 || low < 0) return std::string();
        bytes.push_back(static_cast<unsigned char>(high << 4 | low));
    }
    std::string text;
    appendBase64(bytes.data(), bytes.size(), &text);
    return text;
}
