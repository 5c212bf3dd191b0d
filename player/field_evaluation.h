// Judging an answer field on the page: its verdict label, the reveal of a solved question, and the
// score and code in the header. The rules are checking/score.h's; this reads and writes controls.
#pragma once
#include <windows.h>

// Judges answer field fieldId of the page and refreshes the score and code in the header.
void evaluateField(HWND page, int fieldId);

// Recounts the solved questions from the verdict labels and writes score and code.
void updateScore(HWND page);
