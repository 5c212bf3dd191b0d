// Characters outside code page 1252: their places in quiz.toml and what to write instead.
#include "tools/quiz_folder/outside_code_page.h"

#include <cstdio>

#include "tools/support/cp1252.h"
#include "tools/support/text.h"
#include "tools/support/translation.h"

namespace {

// At most this many characters are named in one message; a text in another script has many.
const std::size_t MAX_NAMED = 10;

// What word processors and web pages put where a keyboard types something plainer.
struct Replacement {
    uint32_t codePoint;
    const char* with;  // UTF-8; empty: nothing, the character is invisible
};
const Replacement REPLACEMENTS[] = {
    {0x2010, "-"},  {0x2011, "-"},  {0x2012, "-"},  {0x2015, "-"},  {0x2212, "-"},  {0x2043, "-"},
    {0x2002, " "},  {0x2003, " "},  {0x2004, " "},  {0x2005, " "},  {0x2006, " "},  {0x2007, " "},
    {0x2008, " "},  {0x2009, " "},  {0x200A, " "},  {0x202F, " "},  {0x205F, " "},  {0x3000, " "},
    {0x200B, ""},   {0x200C, ""},   {0x200D, ""},   {0x2060, ""},   {0xFEFF, ""},   {0x02BC, "'"},
    {0x2032, "'"},  {0x2033, "\""}, {0x2044, "/"},  {0x2215, "/"},  {0x2264, "<="}, {0x2265, ">="},
    {0x2190, "<-"}, {0x2192, "->"}, {0xFB00, "ff"}, {0xFB01, "fi"}, {0xFB02, "fl"},
};

// An accent written apart from its letter (as macOS names and some copies write them), and the one
// character of code page 1252 it makes with each letter that has one.
struct Composition {
    uint32_t mark;
    const char* letters;
    uint16_t composed[12];
};
const Composition COMPOSITIONS[] = {
    {0x0300, "AEIOUaeiou", {0xC0, 0xC8, 0xCC, 0xD2, 0xD9, 0xE0, 0xE8, 0xEC, 0xF2, 0xF9}},
    {0x0301, "AEIOUYaeiouy", {0xC1, 0xC9, 0xCD, 0xD3, 0xDA, 0xDD, 0xE1, 0xE9, 0xED, 0xF3, 0xFA, 0xFD}},
    {0x0302, "AEIOUaeiou", {0xC2, 0xCA, 0xCE, 0xD4, 0xDB, 0xE2, 0xEA, 0xEE, 0xF4, 0xFB}},
    {0x0303, "ANOano", {0xC3, 0xD1, 0xD5, 0xE3, 0xF1, 0xF5}},
    {0x0308, "AEIOUYaeiouy", {0xC4, 0xCB, 0xCF, 0xD6, 0xDC, 0x178, 0xE4, 0xEB, 0xEF, 0xF6, 0xFC, 0xFF}},
    {0x030A, "Aa", {0xC5, 0xE5}},
    {0x030C, "SZsz", {0x160, 0x17D, 0x161, 0x17E}},
    {0x0327, "Cc", {0xC7, 0xE7}},
};

bool isCombiningMark(uint32_t c) {
    return c >= 0x0300 && c <= 0x036F;
}

// Shown by number only: printed, these would be invisible or join the text around them.
bool isInvisible(uint32_t c) {
    return isCombiningMark(c) || (c >= 0x2000 && c <= 0x200F) || (c >= 0x2028 && c <= 0x202F) ||
           (c >= 0x205F && c <= 0x206F) || c == 0x3000 || c == 0xFEFF || (c >= 0xFE00 && c <= 0xFE0F) ||
           c >= 0xE0000;
}

std::string utf8Of(uint32_t codePoint) {
    std::string text;
    appendUtf8(codePoint, &text);
    return text;
}

std::string adviceFor(uint32_t codePoint, uint32_t previous) {
    for (const Replacement& r : REPLACEMENTS) {
        if (r.codePoint != codePoint) continue;
        if (r.with[0] == '\0') return tr("invisible: remove it");
        if (r.with[0] == ' ' && r.with[1] == '\0') return tr("write a space instead");
        return fillIn(tr("write {1} instead"), quotedText(r.with));
    }
    if (!isCombiningMark(codePoint)) return std::string();
    for (const Composition& c : COMPOSITIONS) {
        if (c.mark != codePoint) continue;
        for (int i = 0; c.letters[i] != '\0'; ++i) {
            if (static_cast<uint32_t>(c.letters[i]) == previous) {
                return fillIn(tr("an accent apart from its letter: write {1} as one character"),
                              quotedText(utf8Of(c.composed[i])));
            }
        }
    }
    return tr("an accent apart from its letter: write the accented letter as one character");
}

void addIfOutside(uint32_t codePoint, uint32_t previous, int line, int column,
                  std::vector<OutsideCharacter>* found) {
    if (cp1252Byte(codePoint) < 0) found->push_back(OutsideCharacter{codePoint, line, column, adviceFor(codePoint, previous)});
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The characters outside the code page as the written form holds them, with their places. A
// string between double quotes may write one as an escape, \uXXXX or \UXXXXXXXX.
std::vector<OutsideCharacter> fromWritten(const SourceText& field) {
    std::vector<OutsideCharacter> found;
    const std::string& written = field.written;
    const bool escapes = written[0] == '"';
    int line = field.line, column = field.column;
    uint32_t previous = 0;
    std::size_t offset = 0;
    while (offset < written.size()) {
        uint32_t codePoint = 0;
        std::string ignored;
        if (!decodeUtf8Char(written, &offset, &codePoint, &ignored)) return {};
        if (escapes && codePoint == '\\' && offset < written.size()) {
            const char kind = written[offset];
            if (kind == 'u' || kind == 'U') {
                const std::size_t digits = kind == 'u' ? 4 : 8;
                uint32_t value = 0;
                for (std::size_t k = 1; k <= digits; ++k) {
                    const int digit = offset + k < written.size() ? hexValue(written[offset + k]) : -1;
                    if (digit < 0) return {};
                    value = value * 16 + static_cast<uint32_t>(digit);
                }
                addIfOutside(value, previous, line, column, &found);
                previous = value;
                offset += 1 + digits;
                column += static_cast<int>(2 + digits);
            } else if (kind == ' ' || kind == '\t' || kind == '\r' || kind == '\n') {
                ++column;  // a line-ending backslash: the blanks after it are read as they come
            } else {
                ++offset;  // \n, \", \\ and the like: two characters written, one plain character meant
                column += 2;
                previous = 0;
            }
            continue;
        }
        addIfOutside(codePoint, previous, line, column, &found);
        previous = codePoint;
        if (codePoint == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return found;
}

}  // namespace

std::vector<OutsideCharacter> outsideCodePage(const SourceText& field) {
    std::vector<OutsideCharacter> inValue;
    std::size_t offset = 0;
    uint32_t previous = 0;
    for (int position = 1; offset < field.value.size(); ++position) {
        uint32_t codePoint = 0;
        std::string ignored;
        if (!decodeUtf8Char(field.value, &offset, &codePoint, &ignored)) return inValue;  // not UTF-8: said so elsewhere
        addIfOutside(codePoint, previous, 0, position, &inValue);
        previous = codePoint;
    }
    // Where the written form is known and agrees with the value, the places are those of quiz.toml.
    if (inValue.empty() || field.written.empty() || field.line <= 0 || field.column <= 0) return inValue;
    std::vector<OutsideCharacter> inFile = fromWritten(field);
    if (inFile.size() != inValue.size()) return inValue;
    for (std::size_t i = 0; i < inFile.size(); ++i) {
        if (inFile[i].codePoint != inValue[i].codePoint) return inValue;
    }
    return inFile;
}

std::string outsideCodePageMessage(const std::string& name, const std::vector<OutsideCharacter>& characters,
                                   int line) {
    std::string list;
    for (std::size_t i = 0; i < characters.size() && i < MAX_NAMED; ++i) {
        const OutsideCharacter& c = characters[i];
        char number[16];
        std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(c.codePoint));
        // TRANSLATORS: a character's number, then the character itself.
        std::string item = isInvisible(c.codePoint) ? std::string(number)
                                                    : fillIn(tr("{1} '{2}'"), number, utf8Of(c.codePoint));
        if (c.line == 0) {
            item = fillIn(tr("{1} at character {2} of the text"), item, c.column);
        } else if (c.line != line) {
            item = fillIn(tr("{1} at line {2}, column {3}"), item, c.line, c.column);
        } else {
            item = fillIn(tr("{1} at column {2}"), item, c.column);
        }
        if (!c.advice.empty()) item = fillIn(tr("{1} ({2})"), item, c.advice);
        list = i == 0 ? item : fillIn(tr("{1}, {2}"), list, item);
    }
    if (characters.size() > MAX_NAMED) list = fillIn(tr("{1}, and {2} more"), list, characters.size() - MAX_NAMED);
    return fillIn(ntr("{1} holds a character outside code page 1252, which the player cannot show: {2}",
                      "{1} holds {3} characters outside code page 1252, which the player cannot show: {2}",
                      characters.size()),
                  name, list, characters.size());
}
