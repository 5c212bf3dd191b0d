// Characters of a quiz.toml text that code page 1252 does not have: where each one is written, so
// the author finds them all at once, and what to write instead where that is plain.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/quiz_folder/quiz_toml.h"

struct OutsideCharacter {
    uint32_t codePoint;
    int line;    // where it is written in quiz.toml: 0 when the text's written form is not known,
    int column;  // then column is its place in the text itself (from 1)
    std::string advice;  // "write '-' instead", or empty when nothing is plainly meant
};

// Each character of field's value outside code page 1252, in order; written as an escape ("\u2011"),
// a character stands where its backslash does.
std::vector<OutsideCharacter> outsideCodePage(const SourceText& field);

// The error for them, as "NAME holds 2 characters outside code page 1252, ...: U+2011 '‑' at column 15
// (write '-' instead), ..."; line is the line the message stands on.
std::string outsideCodePageMessage(const std::string& name, const std::vector<OutsideCharacter>& characters,
                                   int line);
