// The answers file: every answer field's text, saved at close and restored at the next start.
#pragma once
#include <windows.h>

#include <cstdio>

// Writes the text of every answer field of the page, one line each ("*" for an empty field, CR LF
// after every line), replacing the file of the previous close only once the new one is complete.
void saveAnswers(HWND page);

// The answers file opened for reading, or null when there is none.
FILE* openSavedAnswers();
// Fills text (260 bytes) with the next field's saved text, the first 259 characters of its line;
// empty when the file is null or ended, or the line is "*".
void nextSavedAnswer(FILE* file, char* text);
void closeSavedAnswers(FILE* file);

// The answers file's name: the executable's file name with its last three characters made "txt";
// empty when the program's name cannot give one (shorter than three characters, or longer than size).
void answersFileName(char* name, int size);
