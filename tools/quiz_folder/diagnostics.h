// Problems found in a quiz folder, each tied to a line of its quiz.toml when it has one, printed the
// way compilers print theirs ("quiz.toml:12: error: ...") so editors can jump to them.
#pragma once
#include <iosfwd>
#include <string>
#include <vector>

enum class Severity { Error, Warning };

struct Diagnostic {
    Severity severity;
    int line;  // 1-based line of quiz.toml; 0 when the problem belongs to no line
    std::string message;
};

typedef std::vector<Diagnostic> Diagnostics;

void addError(Diagnostics* diagnostics, int line, const std::string& message);
void addWarning(Diagnostics* diagnostics, int line, const std::string& message);
int countErrors(const Diagnostics& diagnostics);
int countWarnings(const Diagnostics& diagnostics);

// "FILE:LINE: error: MESSAGE" (or "FILE: warning: MESSAGE" without a line), one per line, in line
// order; problems without a line come first, in the order they were found.
void printDiagnostics(const Diagnostics& diagnostics, const std::string& file, std::ostream& out);
// "3 errors, 1 warning"
std::string diagnosticsSummary(const Diagnostics& diagnostics);
