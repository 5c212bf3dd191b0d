// quiz.toml as the author wrote it, around the TOML parser: its encoding, its lines and columns
// (counted in characters, as editors count them), where each text value stands, and plain hints
// for the syntax errors authors make most.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "tools/quiz_folder/quiz_toml.h"

// The end of the string that starts at text[at] (a quote), and the lines it spans counted in *line.
// Multi-line strings may end in up to two more quotes of their own; a single-line string ends at
// the end of its line if it is not closed (the parser reports that).
std::size_t stringEnd(const std::string& text, std::size_t at, int* line, bool* multiLine);

// Line number line (from 1) of text, without its line break; empty past the end.
std::string lineText(const std::string& text, int line);

// Where text stops being UTF-8: false when all of it is. Otherwise *line and *column (from 1, in
// characters) point at the first byte at fault and *message says what the file is and how to save
// it as UTF-8.
bool findNonUtf8(const std::string& text, int* line, int* column, std::string* message);

// A plain hint for a syntax error of the TOML parser, described so, at column of line (its text):
// a text not closed, an apostrophe inside single quotes, a quote inside double quotes, typographic
// quotes or none around a text, a key given twice in a question. Empty when none applies.
std::string syntaxHint(const std::string& description, const std::string& line, int column);

// Fills the written form (SourceText::written) of each text value, from its line and column, in one
// pass over the valid UTF-8 text.
void locateWrittenTexts(const std::string& text, const std::vector<SourceText*>& values);
