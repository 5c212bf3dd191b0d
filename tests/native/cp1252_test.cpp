// Code page 1252: every byte against glibc's own table, both ways, and the errors that name what
// cannot be converted.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <set>
#include <string>

#include "tools/support/cp1252.h"

namespace {

const unsigned char UNDEFINED_BYTES[] = {0x81, 0x8D, 0x8F, 0x90, 0x9D};

bool isUndefined(int byte) {
    for (unsigned char b : UNDEFINED_BYTES) {
        if (b == byte) return true;
    }
    return false;
}

// glibc's own CP1252 table, as an independent reference. Empty with ok == false when it refuses.
std::string iconvCp1252ToUtf8(unsigned char byte, bool* ok) {
    iconv_t cd = iconv_open("UTF-8", "CP1252");
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
    char in[1] = {static_cast<char>(byte)};
    char out[8];
    char* inPtr = in;
    char* outPtr = out;
    size_t inLeft = 1, outLeft = sizeof out;
    *ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1);
    iconv_close(cd);
    return *ok ? std::string(out, outPtr) : std::string();
}

std::string utf8Of(uint32_t codePoint) {
    std::string text;
    appendUtf8(codePoint, &text);
    return text;
}

TEST(Cp1252Table, EveryDefinedByteMatchesReferenceAndRoundTrips) {
    int defined = 0;
    for (int byte = 0; byte < 256; ++byte) {
        SCOPED_TRACE(byte);
        bool referenceOk = false;
        const std::string reference =
            iconvCp1252ToUtf8(static_cast<unsigned char>(byte), &referenceOk);
        const TextConversion toUtf8 = cp1252ToUtf8(std::string(1, static_cast<char>(byte)));
        ASSERT_EQ(toUtf8.ok, !isUndefined(byte));
        ASSERT_EQ(referenceOk, toUtf8.ok);
        if (!toUtf8.ok) continue;
        ++defined;
        EXPECT_EQ(toUtf8.text, reference);
        const TextConversion back = utf8ToCp1252(toUtf8.text);
        ASSERT_TRUE(back.ok) << back.error;
        EXPECT_EQ(back.text, std::string(1, static_cast<char>(byte)));
    }
    EXPECT_EQ(defined, 251);
}

TEST(Cp1252Table, TypographicCharactersMapToTheirBytes) {
    // right quote, oe ligature, a grave, euro sign, ellipsis
    const TextConversion sentence =
        utf8ToCp1252("l\xE2\x80\x99\xC5\x93uvre \xC3\xA0 5 \xE2\x82\xAC\xE2\x80\xA6");
    ASSERT_TRUE(sentence.ok);
    EXPECT_EQ(sentence.text, "l\x92\x9Cuvre \xE0 5 \x80\x85");
    EXPECT_EQ(cp1252ToUtf8(sentence.text).text,
              "l\xE2\x80\x99\xC5\x93uvre \xC3\xA0 5 \xE2\x82\xAC\xE2\x80\xA6");
}

TEST(Cp1252Table, ExactlyTheCodePageCharactersConvertAndNeverToAnUndefinedByte) {
    std::set<unsigned char> bytes;
    int converted = 0;
    for (uint32_t codePoint = 0; codePoint <= 0x10FFFF; ++codePoint) {
        if (codePoint >= 0xD800 && codePoint <= 0xDFFF) continue;
        const TextConversion result = utf8ToCp1252(utf8Of(codePoint));
        if (!result.ok) continue;
        ++converted;
        ASSERT_EQ(result.text.size(), 1u) << codePoint;
        bytes.insert(static_cast<unsigned char>(result.text[0]));
    }
    EXPECT_EQ(converted, 251);
    EXPECT_EQ(bytes.size(), 251u);
    for (unsigned char b : UNDEFINED_BYTES) EXPECT_EQ(bytes.count(b), 0u) << int(b);
}

TEST(Cp1252Table, UndefinedBytesAreRefusedByName) {
    const TextConversion result = cp1252ToUtf8("ab\x81");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.text, "");
    EXPECT_EQ(result.error, "byte 0x81 at offset 2 is undefined in code page 1252");
    EXPECT_EQ(cp1252ToUtf8("\x9D").error, "byte 0x9D at offset 0 is undefined in code page 1252");
}

TEST(Cp1252Errors, CharactersOutsideTheCodePageAreNamed) {
    const struct {
        const char* utf8;
        const char* error;
    } cases[] = {
        {"\xE4\xB8\xAD", "U+4E2D '\xE4\xB8\xAD' at offset 0 is not in code page 1252"},
        {"\xF0\x9F\x98\x80", "U+1F600 '\xF0\x9F\x98\x80' at offset 0 is not in code page 1252"},
        {"e\xCC\x81",
         "U+0301 '\xCC\x81' at offset 1 is not in code page 1252"},  // decomposed e acute
        // The first and last code point of each sequence length that is outside the code page.
        {"\xDF\xBF", "U+07FF '\xDF\xBF' at offset 0 is not in code page 1252"},
        {"\xE0\xA0\x80", "U+0800 '\xE0\xA0\x80' at offset 0 is not in code page 1252"},
        {"\xEF\xBF\xBF", "U+FFFF '\xEF\xBF\xBF' at offset 0 is not in code page 1252"},
        {"\xF0\x90\x80\x80", "U+10000 '\xF0\x90\x80\x80' at offset 0 is not in code page 1252"},
        {"\xF4\x8F\xBF\xBF", "U+10FFFF '\xF4\x8F\xBF\xBF' at offset 0 is not in code page 1252"},
        // The C1 controls share numbers with the code page's 0x80-0x9F bytes but are not its
        // characters.
        {"\xC2\x81", "U+0081 at offset 0 is not in code page 1252"},
        {"\xC2\x9C", "U+009C at offset 0 is not in code page 1252"},
    };
    for (const auto& c : cases) {
        const TextConversion result = utf8ToCp1252(c.utf8);
        EXPECT_FALSE(result.ok) << c.utf8;
        EXPECT_EQ(result.text, "");
        EXPECT_EQ(result.error, c.error);
    }
}

TEST(Cp1252Errors, MalformedUtf8IsRefusedWithTheByteAndOffset) {
    const struct {
        std::string utf8;
        const char* error;
    } cases[] = {
        {"abc\xFF", "invalid UTF-8 byte 0xFF at offset 3"},
        {"\x80", "invalid UTF-8 byte 0x80 at offset 0"},              // stray continuation
        {"\xC0\xAF", "invalid UTF-8 byte 0xC0 at offset 0"},          // overlong '/'
        {"\xE0\x80\xAF", "invalid UTF-8 byte 0x80 at offset 1"},      // overlong, 3 bytes
        {"\xF0\x8F\xBF\xBF", "invalid UTF-8 byte 0x8F at offset 1"},  // overlong, 4 bytes
        {"\xED\xA0\x80", "invalid UTF-8 byte 0xA0 at offset 1"},      // surrogate
        {"\xF4\x90\x80\x80", "invalid UTF-8 byte 0x90 at offset 1"},  // above U+10FFFF
        {"\xC3(", "invalid UTF-8 byte 0x28 at offset 1"},
        {"x\xC3", "incomplete UTF-8 sequence at offset 1 (lead byte 0xC3)"},
        {"\xE2\x82", "incomplete UTF-8 sequence at offset 0 (lead byte 0xE2)"},
        {std::string("a\0\xFE", 3), "invalid UTF-8 byte 0xFE at offset 2"},
    };
    for (const auto& c : cases) {
        const TextConversion result = utf8ToCp1252(c.utf8);
        EXPECT_FALSE(result.ok) << c.error;
        EXPECT_EQ(result.text, "");
        EXPECT_EQ(result.error, c.error);
    }
}

}  // namespace
