// Exact conversion between UTF-8 (what the tool's user types) and code page 1252 (what the player
// stores and compares). A character that has no byte, or a malformed input, is an error that names
// it; nothing is ever replaced by a look-alike or a question mark.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

struct TextConversion {
    bool ok;
    std::string text;   // the converted bytes; empty when !ok
    std::string error;  // when !ok: what stopped the conversion, naming the character or byte
};

// Every character code page 1252 holds becomes its byte; anything else is refused.
TextConversion utf8ToCp1252(const std::string& utf8);
// The 251 defined bytes become their characters; 0x81, 0x8D, 0x8F, 0x90 and 0x9D are refused.
TextConversion cp1252ToUtf8(const std::string& cp1252);

// The byte of a character in code page 1252, or -1 when it has none.
int cp1252Byte(uint32_t codePoint);

// Decodes the character at *offset and moves *offset past it. Strict UTF-8: overlong forms,
// surrogates and values above U+10FFFF are refused. On failure *offset is unchanged, *codePoint
// means nothing and *error says which byte is at fault.
bool decodeUtf8Char(const std::string& utf8, std::size_t* offset, uint32_t* codePoint,
                    std::string* error);
// Appends the UTF-8 form of a valid code point.
void appendUtf8(uint32_t codePoint, std::string* out);

// A name or text from a stranger (a program's resources, the file system, a quiz.toml) made safe to
// print on a terminal or to write into a comment: valid UTF-8 is kept as it is; control characters
// (C0 and DEL as \xNN, C1 as \u00NN: a terminal acts on their escape sequences) and bytes that are
// not UTF-8 (as \xNN) are written escaped.
std::string printable(const std::string& text);
