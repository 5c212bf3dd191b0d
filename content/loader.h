// Fills the quiz record from the program's packed resources (content and score codes, quiz_format.h).
#pragma once
#include <cstdint>
#include "quiz.h"

// Loads the quiz through the platform seam; reports every problem in a message box with the caption
// "Trivo" and keeps whatever it could fill.
void loadQuiz(Quiz* quiz);

// The two parsers behind loadQuiz, on unpacked bytes. Neither reads past size.
// parseQuizContent returns true when the content was complete; false when it ended early (what was
// read before the end is kept).
bool parseQuizContent(Quiz* quiz, const unsigned char* bytes, int32_t size);
// Returns true when every announced code line was present.
bool parseScoreCodes(Quiz* quiz, const unsigned char* bytes, int32_t size);

// The small quiz shown when the program carries no content.
void buildDemoQuiz(Quiz* quiz);
