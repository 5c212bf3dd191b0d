// UTF-8 to code page 1252 and back, exact in both directions.
#include "tools/support/cp1252.h"

#include "tools/support/translation.h"

#include <cstdio>
#include <utility>

namespace {

// Code page 1252 is Latin-1 except for 0x80-0x9F, where Windows put typographic characters instead
// of the C1 controls. 0 marks the five bytes it leaves undefined.
const uint16_t HIGH_CONTROL_BYTES[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80-0x87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 0x88-0x8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90-0x97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 0x98-0x9F
};

std::string hexByte(unsigned char byte) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "0x%02X", static_cast<unsigned>(byte));
    return buffer;
}

std::string badByte(unsigned char byte, std::size_t offset) {
    return fillIn(tr("invalid UTF-8 byte {1} at offset {2}"), hexByte(byte), offset);
}

// "U+4E2D '<the character>'"; C1 controls are shown by number only, since printed raw they would
// be invisible or upset the terminal.
std::string describeCodePoint(uint32_t codePoint) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(codePoint));
    std::string text = buffer;
    if (codePoint >= 0x80 && codePoint <= 0x9F) return text;
    std::string character;
    appendUtf8(codePoint, &character);
    return fillIn(tr("{1} '{2}'"), text, character);
}

TextConversion failure(std::string error) {
    return TextConversion{false, std::string(), std::move(error)};
}

}  // namespace

int cp1252Byte(uint32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<int>(codePoint);
    for (int i = 0; i < 32; ++i) {
        if (HIGH_CONTROL_BYTES[i] != 0 && HIGH_CONTROL_BYTES[i] == codePoint) return 0x80 + i;
    }
    return -1;
}

bool decodeUtf8Char(const std::string& utf8, std::size_t* offset, uint32_t* codePoint,
                    std::string* error) {
    const std::size_t start = *offset;
    const unsigned char lead = static_cast<unsigned char>(utf8[start]);
    if (lead < 0x80) {
        *codePoint = lead;
        *offset = start + 1;
        return true;
    }
    // The ranges of RFC 3629: the second byte's bounds after E0, ED, F0 and F4 exclude overlong
    // forms, surrogates and values above U+10FFFF, so every accepted sequence is the shortest one.
    int continuationBytes;
    uint32_t value;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        continuationBytes = 1;
        value = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        continuationBytes = 2;
        value = lead & 0x0Fu;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        continuationBytes = 3;
        value = lead & 0x07u;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        *error = badByte(lead, start);
        return false;
    }
    for (int k = 1; k <= continuationBytes; ++k) {
        if (start + k >= utf8.size()) {
            *error = fillIn(tr("incomplete UTF-8 sequence at offset {1} (lead byte {2})"), start, hexByte(lead));
            return false;
        }
        const unsigned char byte = static_cast<unsigned char>(utf8[start + k]);
        if (byte < low || byte > high) {
            *error = badByte(byte, start + k);
            return false;
        }
        low = 0x80;
        high = 0xBF;
        value = (value << 6) | (byte & 0x3Fu);
    }
    *codePoint = value;
    *offset = start + 1 + continuationBytes;
    return true;
}

void appendUtf8(uint32_t codePoint, std::string* out) {
    if (codePoint < 0x80) {
        out->push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out->push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out->push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out->push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out->push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out->push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out->push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

TextConversion utf8ToCp1252(const std::string& utf8) {
    TextConversion result{true, std::string(), std::string()};
    result.text.reserve(utf8.size());
    std::size_t offset = 0;
    while (offset < utf8.size()) {
        const std::size_t start = offset;
        uint32_t codePoint = 0;
        std::string error;
        if (!decodeUtf8Char(utf8, &offset, &codePoint, &error)) return failure(error);
        const int byte = cp1252Byte(codePoint);
        if (byte < 0) {
            return failure(fillIn(tr("{1} at offset {2} is not in code page 1252"), describeCodePoint(codePoint), start));
        }
        result.text.push_back(static_cast<char>(byte));
    }
    return result;
}

TextConversion cp1252ToUtf8(const std::string& cp1252) {
    TextConversion result{true, std::string(), std::string()};
    result.text.reserve(cp1252.size() * 2);
    for (std::size_t i = 0; i < cp1252.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(cp1252[i]);
        uint32_t codePoint = byte;
        if (byte >= 0x80 && byte <= 0x9F) {
            codePoint = HIGH_CONTROL_BYTES[byte - 0x80];
            if (codePoint == 0) {
                return failure(fillIn(tr("byte {1} at offset {2} is undefined in code page 1252"), hexByte(byte), i));
            }
        }
        appendUtf8(codePoint, &result.text);
    }
    return result;
}

std::string printable(const std::string& text) {
    std::string out;
    std::size_t offset = 0;
    while (offset < text.size()) {
        const std::size_t start = offset;
        uint32_t codePoint = 0;
        std::string ignored;
        char escaped[8];
        if (!decodeUtf8Char(text, &offset, &codePoint, &ignored)) {
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned>(static_cast<unsigned char>(text[start])));
            out += escaped;
            offset = start + 1;
        } else if (codePoint < 0x20 || codePoint == 0x7F) {
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned>(codePoint));
            out += escaped;
        } else if (codePoint >= 0x80 && codePoint < 0xA0) {
            std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(codePoint));
            out += escaped;
        } else {
            out.append(text, start, offset - start);
        }
    }
    return out;
}
