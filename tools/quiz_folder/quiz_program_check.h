// A quiz program given where a quiz folder is expected: the quiz it carries, read back into a folder
// of its own and checked as any folder is, so that it is built again only after the same checks.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/quiz_folder/diagnostics.h"
#include "tools/quiz_folder/quiz_check.h"

// Reads the quiz of the program image into a private temporary folder, checks that folder with its
// media read whole, and removes it. The problems found go into diagnostics (true when none is an
// error); false with *error, and nothing in diagnostics, when the program carries no quiz that could
// be read back. The quiz's sources are the temporary files, gone by then: the caller has the program.
bool checkQuizProgram(const std::vector<uint8_t>& image, CheckedQuiz* quiz, Diagnostics* diagnostics,
                      std::string* error);
