// Answer fields: the subclass procedure installed on every answer edit.
#pragma once
#include <windows.h>

// The edit class's own procedure, saved when the first field is subclassed.
extern WNDPROC baseEditProc;

// Installs answerFieldProc on an answer edit.
void subclassAnswerField(HWND field);

LRESULT CALLBACK answerFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam);
