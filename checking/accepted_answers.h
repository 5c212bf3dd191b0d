// Judging a field that accepts several answers, with accents counted or ignored as the quiz says:
// built on the matcher, which judges one typed text against one answer and stays as it is.
#pragma once
#include "content/quiz.h"

// Room for a folded text slot: a folded letter takes at most two bytes (œ is OE).
constexpr int FOLDED_SIZE = 2 * TEXT_MAX_LENGTH + 1;

// Writes text (its first TEXT_MAX_LENGTH bytes) into out (size bytes, always terminated) with every
// letter of code page 1252 made a capital without its accent: a to z to A to Z; à, â, ä ... to A;
// ç to C; é, è, ê, ë to E; œ to OE, æ to AE, ß to SS, þ to TH; and the capitals alike. Every other
// byte is copied as it is.
void foldAccents(const char* text, char* out, int size);

// A text as two answers are compared for a solved question: cut to a slot, a to z upper-cased, and
// folded with AccentRule::Ignore. out holds FOLDED_SIZE bytes.
void comparisonForm(const char* text, AccentRule accents, char* out);

// How many answers slot s of a question accepts (the content's own, then the others; at least one),
// and the k-th of them, k from 0 (the content's). Without a node the one answer is empty.
int acceptedAnswerCount(const Question* node, int slot);
const char* acceptedAnswer(const Question* node, int slot, int k);

// matchAnswer's verdict for typed against one expected answer, both folded first with
// AccentRule::Ignore.
const char* matchWithAccents(const char* expected, const char* typed, AccentRule accents);

// Where a verdict word stands on the matcher's ladder, from "?" and "BRAVO" (the closest) to "FAUX".
int verdictRank(const char* verdict);

// The verdict for typed in slot s: "BRAVO" when it matches any accepted answer, otherwise the
// closest verdict the matcher gives it against one of them. With AccentRule::Ignore both sides are
// folded first. A question without other answers and with accents counted gets matchAnswer's verdict.
const char* judgeAnswer(const Question* node, int slot, AccentRule accents, const char* typed);

// Whether typed, untrimmed, is one of the slot's accepted answers in comparisonForm: the solved
// question's test, stricter than the verdict.
bool holdsAcceptedAnswer(const Question* node, int slot, AccentRule accents, const char* typed);
