// Collecting and printing the problems of a quiz folder.
#include "tools/quiz_folder/diagnostics.h"

#include <algorithm>
#include <ostream>
#include <vector>

#include "tools/support/cp1252.h"
#include "tools/support/text.h"
#include "tools/support/translation.h"

void addError(Diagnostics* diagnostics, int line, const std::string& message) {
    diagnostics->push_back(Diagnostic{Severity::Error, line, message, 0, std::string(), std::string()});
}

void addWarning(Diagnostics* diagnostics, int line, const std::string& message) {
    diagnostics->push_back(Diagnostic{Severity::Warning, line, message, 0, std::string(), std::string()});
}

void addNote(Diagnostics* diagnostics, int line, const std::string& message) {
    diagnostics->push_back(Diagnostic{Severity::Note, line, message, 0, std::string(), std::string()});
}

void addErrorAt(Diagnostics* diagnostics, int line, int column, const std::string& message) {
    diagnostics->push_back(Diagnostic{Severity::Error, line, message, column, std::string(), std::string()});
}

void addSyntaxError(Diagnostics* diagnostics, int line, int column, const std::string& sourceLine,
                    const std::string& message, const std::string& hint) {
    diagnostics->push_back(Diagnostic{Severity::Error, line, message, column, sourceLine, hint});
}

namespace {

int countOf(const Diagnostics& diagnostics, Severity severity) {
    return static_cast<int>(std::count_if(diagnostics.begin(), diagnostics.end(),
                                          [severity](const Diagnostic& d) { return d.severity == severity; }));
}

}  // namespace

int countErrors(const Diagnostics& diagnostics) { return countOf(diagnostics, Severity::Error); }
int countWarnings(const Diagnostics& diagnostics) { return countOf(diagnostics, Severity::Warning); }
int countNotes(const Diagnostics& diagnostics) { return countOf(diagnostics, Severity::Note); }

namespace {

const char* const INDENT = "    ";
// The most characters of a source line shown; a longer line is shown around the column.
const std::size_t EXCERPT_CHARACTERS = 100;

// Characters of a UTF-8 text: the bytes that start one.
std::size_t characterCount(const std::string& utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// The line as printed (tabs as spaces, anything unprintable escaped), then a caret under column.
void printExcerpt(const std::string& line, int column, std::ostream& out) {
    // Each character of the line as printed: one or more printable characters.
    std::vector<std::string> shown;
    std::size_t offset = 0;
    while (offset < line.size() && !(offset + 1 == line.size() && line[offset] == '\r')) {
        const std::size_t start = offset;
        uint32_t codePoint = 0;
        std::string ignored;
        if (!decodeUtf8Char(line, &offset, &codePoint, &ignored)) offset = start + 1;
        shown.push_back(codePoint == '\t' ? std::string(" ") : printable(line.substr(start, offset - start)));
    }
    const std::size_t at = static_cast<std::size_t>(column - 1);
    std::size_t first = 0, last = shown.size();
    if (shown.size() > EXCERPT_CHARACTERS) {
        first = at > EXCERPT_CHARACTERS / 2 ? std::min(at - EXCERPT_CHARACTERS / 2, shown.size() - EXCERPT_CHARACTERS) : 0;
        last = first + EXCERPT_CHARACTERS;
    }
    std::string text = first > 0 ? "..." : "";
    std::size_t caret = text.size();
    for (std::size_t i = first; i < last; ++i) {
        if (i < at) caret += characterCount(shown[i]);
        text += shown[i];
    }
    if (at >= last) caret += at - last;  // past the end of what is shown
    if (last < shown.size()) text += "...";
    out << INDENT << text << "\n" << INDENT << std::string(caret, ' ') << "^\n";
}

}  // namespace

void printDiagnostics(const Diagnostics& diagnostics, const std::string& file, std::ostream& out) {
    // The checks run field by field, not line by line: sorting gives the reader the file's order.
    Diagnostics sorted = diagnostics;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const Diagnostic& a, const Diagnostic& b) { return a.line < b.line; });
    // Messages quote the manifest's texts and names, which may hold anything.
    for (const Diagnostic& d : sorted) {
        out << printable(file);
        if (d.line > 0) out << ":" << d.line;
        if (d.line > 0 && d.column > 0) out << ":" << d.column;
        const std::string message = printable(d.message);
        out << ": "
            << (d.severity == Severity::Error     ? fillIn(tr("error: {1}"), message)
                : d.severity == Severity::Warning ? fillIn(tr("warning: {1}"), message)
                                                  : fillIn(tr("note: {1}"), message))
            << "\n";
        if (d.column > 0 && !d.sourceLine.empty()) printExcerpt(d.sourceLine, d.column, out);
        if (!d.hint.empty()) out << INDENT << fillIn(tr("hint: {1}"), printable(d.hint)) << "\n";
    }
}

std::string diagnosticsSummary(const Diagnostics& diagnostics) {
    const int errors = countErrors(diagnostics), warnings = countWarnings(diagnostics), notes = countNotes(diagnostics);
    // Each count is whole in its language; the comma between them is every language's.
    const std::string counts = fillIn(ntr("{1} error", "{1} errors", errors), errors) + ", " +
                               fillIn(ntr("{1} warning", "{1} warnings", warnings), warnings);
    return notes == 0 ? counts : counts + ", " + fillIn(ntr("{1} note", "{1} notes", notes), notes);
}
