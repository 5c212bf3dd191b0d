// The answer matcher: how close a typed answer is to the expected one, as one of ten verdict words.
// Pure byte-string logic on texts of at most 259 characters; no heap, no state.
#pragma once

extern const char* const VERDICT_UNJUDGED;     // "?"
extern const char* const VERDICT_RIGHT;        // "BRAVO"
extern const char* const VERDICT_ANAGRAM;      // "Anagramme"
extern const char* const VERDICT_ONE_EDIT;     // "Quasiment"
extern const char* const VERDICT_TWO_EDITS;    // "Presque"
extern const char* const VERDICT_TOO_LONG;     // "Trop long"
extern const char* const VERDICT_TOO_SHORT;    // "Trop court"
extern const char* const VERDICT_NEARLY_HALF;  // "pas loin"
extern const char* const VERDICT_SIMILAR;      // "yade lidée" (code page 1252)
extern const char* const VERDICT_WRONG;        // "FAUX"

// Returns one of the verdict words above. Neither input is changed.
const char* matchAnswer(const char* expected, const char* typed);

// In place: removes leading and trailing spaces (0x20 only).
void trimSpaces(char* text);
// In place: a-z to A-Z; no other byte changes.
void upperAscii(char* text);
// In place: bytes in ascending order.
void sortLetters(char* text);
// Levenshtein distance over bytes.
int editDistance(const char* a, const char* b);
// 2 when expected occurs in the longer typed text, -2 when typed occurs in the longer expected text,
// 0 when not found (1 or -1 when the shorter text is empty).
int containment(const char* expected, const char* typed);
