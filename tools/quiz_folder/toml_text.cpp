// quiz.toml as written: encoding, lines and columns, text values' places, hints for syntax errors.
#include "tools/quiz_folder/toml_text.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "tools/support/cp1252.h"
#include "tools/support/text.h"
#include "tools/support/translation.h"

namespace {

const std::string BYTE_ORDER_MARK = "\xEF\xBB\xBF";

// Editors count columns after the byte order mark, and so does the parser.
std::size_t textStart(const std::string& text) {
    return text.compare(0, BYTE_ORDER_MARK.size(), BYTE_ORDER_MARK) == 0 ? BYTE_ORDER_MARK.size() : 0;
}

// The character of line at column (from 1), as UTF-8; empty past the end of the line.
std::string characterAt(const std::string& line, int column) {
    std::size_t offset = 0;
    for (int c = 1; offset < line.size(); ++c) {
        const std::size_t start = offset;
        uint32_t codePoint = 0;
        std::string ignored;
        if (!decodeUtf8Char(line, &offset, &codePoint, &ignored)) offset = start + 1;
        if (c == column) return line.substr(start, offset - start);
    }
    return std::string();
}

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    const std::size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// For a line "key = VALUE": the key and the value as written (trimmed); false for any other line.
bool keyAndValue(const std::string& line, std::string* key, std::string* value) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) return false;
    *key = trimmed(line.substr(0, equals));
    *value = trimmed(line.substr(equals + 1));
    return !key->empty() && !value->empty();
}

// value between double quotes, when nothing in it needs an escape.
std::string doubleQuoted(const std::string& value) {
    if (value.find_first_of("\"\\") != std::string::npos) return std::string();
    return "\"" + value + "\"";
}

bool contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

}  // namespace

std::size_t stringEnd(const std::string& text, std::size_t at, int* line, bool* multiLine) {
    const char quote = text[at];
    const bool escapes = quote == '"';
    *multiLine = text.compare(at, 3, std::string(3, quote)) == 0;
    std::size_t i = at + (*multiLine ? 3 : 1);
    while (i < text.size()) {
        const char c = text[i];
        if (escapes && c == '\\') {
            i += 2;
            continue;
        }
        if (c == '\n') {
            if (!*multiLine) return i;
            ++*line;
        }
        if (c == quote && !*multiLine) return i + 1;
        if (c == quote && text.compare(i, 3, std::string(3, quote)) == 0) {
            std::size_t end = i + 3;
            while (end < text.size() && end < i + 5 && text[end] == quote) ++end;
            return end;
        }
        ++i;
    }
    return std::min(i, text.size());
}

std::string lineText(const std::string& text, int line) {
    std::size_t start = textStart(text);
    for (int l = 1; l < line; ++l) {
        start = text.find('\n', start);
        if (start == std::string::npos) return std::string();
        ++start;
    }
    const std::size_t end = text.find('\n', start);
    std::string result = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!result.empty() && result.back() == '\r') result.pop_back();
    return result;
}

bool findNonUtf8(const std::string& text, int* line, int* column, std::string* message) {
    const unsigned char first = text.size() >= 2 ? static_cast<unsigned char>(text[0]) : 0;
    const unsigned char second = text.size() >= 2 ? static_cast<unsigned char>(text[1]) : 0;
    if ((first == 0xFF && second == 0xFE) || (first == 0xFE && second == 0xFF)) {
        *line = 1;
        *column = 1;
        *message = tr("quiz.toml is UTF-16 (\"Unicode\" in Notepad), not UTF-8");
        return true;
    }
    std::size_t offset = textStart(text);
    int l = 1, c = 1;
    while (offset < text.size()) {
        const std::size_t start = offset;
        uint32_t codePoint = 0;
        std::string ignored;
        if (!decodeUtf8Char(text, &offset, &codePoint, &ignored)) {
            *line = l;
            *column = c;
            const unsigned char byte = static_cast<unsigned char>(text[start]);
            char hex[8];
            std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned>(byte));
            // Older Windows editors save in code page 1252: name what the byte was meant to be.
            const TextConversion meant = cp1252ToUtf8(std::string(1, static_cast<char>(byte)));
            *message = meant.ok && byte >= 0x80
                           ? fillIn(tr("quiz.toml is not UTF-8: byte {1} here is {2} in code page 1252, which older "
                                       "Windows editors save in"),
                                    hex, quotedText(meant.text))
                           : fillIn(tr("quiz.toml is not UTF-8: byte {1} here is no character"), hex);
            return true;
        }
        if (codePoint == '\n') {
            ++l;
            c = 1;
        } else {
            ++c;
        }
    }
    return false;
}

std::string syntaxHint(const std::string& description, const std::string& line, int column) {
    const std::string at = characterAt(line, column);
    const std::string before = column > 1 ? characterAt(line, column - 1) : std::string();
    std::string key, value;
    const bool assignment = keyAndValue(line, &key, &value);
    if (contains(description, "string") && contains(description, "end-of-file")) {
        return tr("a text is not closed before the end of the file: end it with the quotes it starts with");
    }
    if (contains(description, "string") && contains(description, "control characters") && at.empty()) {
        const std::string quote = contains(description, "literal string") ? "'" : "\"";
        return fillIn(tr("a text is not closed: end it on its line with {1}, the quote it starts with (a text of "
                         "several lines goes between {2} and {2})"),
                      quote, quote + quote + quote);
    }
    if (contains(description, "expected a comment or whitespace") && assignment && before == value.substr(0, 1)) {
        if (before == "'") {
            // The text runs to the last apostrophe of the line, unless a comment may hold it.
            const std::size_t last = value.rfind('\'');
            const std::string fixed = last > 1 && value.find('#') == std::string::npos
                                          ? doubleQuoted(value.substr(1, last - 1))
                                          : std::string();
            return fixed.empty()
                       ? tr("an apostrophe ends a text written between ' and ': write the text between double quotes")
                       : fillIn(tr("an apostrophe ends a text written between ' and ': write the text between double "
                                   "quotes, {1} = {2}"),
                                key, fixed);
        }
        if (before == "\"") {
            return tr("a \" inside a text ends it: write it \\\" there, or write the text between ' and '");
        }
    }
    if (contains(description, "could not determine value type") && assignment) {
        static const char* const TYPOGRAPHIC_QUOTES[] = {"\xE2\x80\x9C", "\xE2\x80\x9D", "\xE2\x80\x9E", "\xC2\xAB",
                                                         "\xC2\xBB",     "\xE2\x80\x98", "\xE2\x80\x99"};
        for (const char* quote : TYPOGRAPHIC_QUOTES) {
            if (at == quote) {
                return fillIn(tr("TOML reads only straight quotes: write the text between \" and \", not {1}"), at);
            }
        }
        const std::string fixed = doubleQuoted(value);
        return fixed.empty() ? tr("a text goes between double quotes")
                             : fillIn(tr("a text goes between double quotes: {1} = {2}"), key, fixed);
    }
    // Between double quotes a backslash starts an escape: a Windows path there is one the parser refuses.
    if ((contains(description, "escape sequence") || contains(description, "hex digit")) && assignment &&
        value[0] == '"') {
        if (key == "media" || key == "answer_picture") {
            const std::size_t end = value.rfind('"');
            const std::string fixed = doubleQuoted(forwardSlashes(value.substr(1, end > 0 ? end - 1 : std::string::npos)));
            return fixed.empty() ? tr("between double quotes, \\ starts an escape: write paths with \"/\" so the folder "
                                      "builds everywhere")
                                 : fillIn(tr("between double quotes, \\ starts an escape: write paths with \"/\" so the "
                                             "folder builds everywhere, {1} = {2}"),
                                          key, fixed);
        }
        return tr("between double quotes, \\ starts an escape: write \\\\ for a backslash, or write the text between ' "
                  "and '");
    }
    if (contains(description, "cannot redefine existing")) {
        return tr("a key is given once per table: if a new question starts here, put a line [[questions]] above it");
    }
    return std::string();
}

void locateWrittenTexts(const std::string& text, const std::vector<SourceText*>& values) {
    std::vector<SourceText*> sorted;
    for (SourceText* value : values) {
        if (value->given && !value->wrongType && value->line > 0 && value->column > 0) sorted.push_back(value);
    }
    std::sort(sorted.begin(), sorted.end(), [](const SourceText* a, const SourceText* b) {
        return a->line != b->line ? a->line < b->line : a->column < b->column;
    });
    // One walk for all of them: a hostile file may hold a hundred thousand texts on one line.
    std::size_t offset = textStart(text);
    int line = 1, column = 1;
    for (SourceText* value : sorted) {
        while (offset < text.size() && (line < value->line || (line == value->line && column < value->column))) {
            uint32_t codePoint = 0;
            std::string ignored;
            if (!decodeUtf8Char(text, &offset, &codePoint, &ignored)) ++offset;
            if (codePoint == '\n') {
                ++line;
                column = 1;
            } else {
                ++column;
            }
        }
        if (offset < text.size() && line == value->line && column == value->column &&
            (text[offset] == '"' || text[offset] == '\'')) {
            int ignoredLine = 0;
            bool multiLine = false;
            value->written = text.substr(offset, stringEnd(text, offset, &ignoredLine, &multiLine) - offset);
        }
    }
}
