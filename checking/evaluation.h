// Judging one answer field of the page: verdict, reveal, score and code.
#pragma once
#include <windows.h>

// Judges answer field fieldId of the page and refreshes the score and code in the header.
void evaluateField(HWND page, int fieldId);

// Recounts the solved questions from the verdict labels and writes score and code.
void updateScore(HWND page);
