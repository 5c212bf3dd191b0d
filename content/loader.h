// Fills the quiz record from the program's packed resources PATCH 104 (content) and 105 (score codes).
#pragma once
#include <cstdint>
#include "quiz.h"

constexpr int RESOURCE_CONTENT_ID = 104;
constexpr int RESOURCE_CODES_ID = 105;
constexpr const char* RESOURCE_PACKED_TYPE = "PATCH";

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
