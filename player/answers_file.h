// The answers file: every answer field's text, saved at close and restored at the next start.
#pragma once
#include <windows.h>

#include <cstdio>

// Writes the text of every answer field of the page, one line each.
void saveAnswers(HWND page);

// The answers file opened for reading, or null when there is none.
FILE* openSavedAnswers();
// Fills text (260 bytes) with the next field's saved text; empty when the file is null or ended.
void nextSavedAnswer(FILE* file, char* text);
void closeSavedAnswers(FILE* file);

// The answers file's name: the executable's file name with its last three characters made "txt".
void answersFileName(char* name, int size);
