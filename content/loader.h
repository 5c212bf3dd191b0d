// Fills the quiz record from the program's packed resources (content, score codes and accepted
// answers, quiz_format.h).
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
// The accepted answers (content/accepted_answers.cpp), for a quiz whose content loaded whole: true
// when they follow the layout and fit the quiz, and are then attached to its nodes with its accent
// rule. Otherwise false, and the quiz is left exactly as it was.
bool parseAcceptedAnswers(Quiz* quiz, const unsigned char* bytes, int32_t size);

// The small quiz shown when the program carries no content.
void buildDemoQuiz(Quiz* quiz);
