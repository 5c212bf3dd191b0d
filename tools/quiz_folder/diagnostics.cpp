// Collecting and printing the problems of a quiz folder.
#include "tools/quiz_folder/diagnostics.h"

#include <algorithm>
#include <ostream>

#include "tools/support/cp1252.h"
#include "tools/support/text.h"

void addError(Diagnostics* diagnostics, int line, const std::string& message) {
    diagnostics->push_back(Diagnostic{Severity::Error, line, message});
}

void addWarning(Diagnostics* diagnostics, int line, const std::string& message) {
    diagnostics->push_back(Diagnostic{Severity::Warning, line, message});
}

int countErrors(const Diagnostics& diagnostics) {
    return static_cast<int>(std::count_if(diagnostics.begin(), diagnostics.end(),
                                          [](const Diagnostic& d) { return d.severity == Severity::Error; }));
}

int countWarnings(const Diagnostics& diagnostics) {
    return static_cast<int>(diagnostics.size()) - countErrors(diagnostics);
}

void printDiagnostics(const Diagnostics& diagnostics, const std::string& file, std::ostream& out) {
    // The checks run field by field, not line by line: sorting gives the reader the file's order.
    Diagnostics sorted = diagnostics;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const Diagnostic& a, const Diagnostic& b) { return a.line < b.line; });
    // Messages quote the manifest's texts and names, which may hold anything.
    for (const Diagnostic& d : sorted) {
        out << printable(file);
        if (d.line > 0) out << ":" << d.line;
        out << (d.severity == Severity::Error ? ": error: " : ": warning: ") << printable(d.message) << "\n";
    }
}

std::string diagnosticsSummary(const Diagnostics& diagnostics) {
    return plural(countErrors(diagnostics), "error") + ", " + plural(countWarnings(diagnostics), "warning");
}
