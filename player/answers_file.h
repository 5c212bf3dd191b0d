// The answers file: every answer field's text, saved at close and restored at the next start.
#pragma once
#include <windows.h>

#include <cstdio>

// Writes the text of every answer field of the page, one line each ("*" for an empty field, CR LF
// after every line), replacing the file of the previous close only once the new one is complete.
// A quiz without fields leaves the previous file as it is.
void saveAnswers(HWND page);

// The answers file opened for reading, or null when there is none.
FILE* openSavedAnswers();
// Fills text (260 bytes) with the next field's saved text, the first 259 characters of its line;
// empty when the file is null or ended, or the line is "*".
void nextSavedAnswer(FILE* file, char* text);
void closeSavedAnswers(FILE* file);

// The answers file's name for the program file at modulePath, as the file system spells it: the
// bare file name with its last three characters made "txt". Empty when the name is shorter than
// three characters or does not fit in size, and when it would be the program file itself (a name
// ending in "txt", such as "quiztxt", which Windows starts as well).
void answersFileNameOf(const wchar_t* modulePath, wchar_t* name, int size);

// saveAnswers and openSavedAnswers with the answers file given by name.
void saveAnswersTo(HWND page, const wchar_t* name);
FILE* openSavedAnswersFrom(const wchar_t* name);
