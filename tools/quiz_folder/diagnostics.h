// Problems found in a quiz folder, each tied to a line of its quiz.toml when it has one, printed the
// way compilers print theirs ("quiz.toml:12: error: ...") so editors can jump to them.
#pragma once
#include <iosfwd>
#include <string>
#include <vector>

// An error stops a build; a warning does not; a note tells what the tool does for the author or
// what players will meet, and asks for nothing.
enum class Severity { Error, Warning, Note };

struct Diagnostic {
    Severity severity;
    int line;  // 1-based line of quiz.toml; 0 when the problem belongs to no line
    std::string message;
    int column = 0;          // 1-based, in characters; 0 when the problem has no one place on its line
    std::string sourceLine;  // the line as written, shown with a caret under column; empty: not shown
    std::string hint;        // a plain way out, shown after the message
};

typedef std::vector<Diagnostic> Diagnostics;

void addError(Diagnostics* diagnostics, int line, const std::string& message);
void addWarning(Diagnostics* diagnostics, int line, const std::string& message);
void addNote(Diagnostics* diagnostics, int line, const std::string& message);
// An error at a column of its line.
void addErrorAt(Diagnostics* diagnostics, int line, int column, const std::string& message);
// An error in the syntax of quiz.toml: shown with its line, a caret under the column and a hint.
void addSyntaxError(Diagnostics* diagnostics, int line, int column, const std::string& sourceLine,
                    const std::string& message, const std::string& hint);
int countErrors(const Diagnostics& diagnostics);
int countWarnings(const Diagnostics& diagnostics);
int countNotes(const Diagnostics& diagnostics);

// "FILE:LINE: error: MESSAGE" ("FILE:LINE:COLUMN: ..." with a column, "FILE: warning: MESSAGE"
// without a line), in line order; problems without a line come first, in the order they were
// found. A source line follows with a caret under the column, then a hint, each indented.
void printDiagnostics(const Diagnostics& diagnostics, const std::string& file, std::ostream& out);
// "3 errors, 1 warning", then ", 2 notes" when there are notes, in the user's language
std::string diagnosticsSummary(const Diagnostics& diagnostics);
