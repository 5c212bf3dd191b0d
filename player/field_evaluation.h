// Judging an answer field on the page: its verdict label, the reveal of a solved question, and the
// score and code in the header. The rules are checking/score.h's; this reads and writes controls.
#pragma once
#include <windows.h>

// Judges answer field fieldId of the page and refreshes the score and code in the header (unless the
// score is held).
void evaluateField(HWND page, int fieldId);

// For one message that judges many fields (the page's construction, F1, a Tab move): while held,
// judging a field leaves the score and code for later, and the last release recounts them once when
// any field was judged meanwhile. Nothing is painted within one message, so the header the player
// sees is the same as with a recount after every field.
void holdScore();
void releaseScore(HWND page);

// Recounts the solved questions from the verdict labels and writes score and code.
void updateScore(HWND page);
