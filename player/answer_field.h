// Answer fields: the subclass procedure installed on every answer edit, and the F1 action.
#pragma once
#include <windows.h>

// Installs answerFieldProc on an answer edit.
void subclassAnswerField(HWND field);

// F1: the field's text goes into every field whose verdict is not "BRAVO", each judged when a walk of
// the focus through them would move on from it (the focus itself does not move); the focus ends in
// this field.
void tryAnswerEverywhere(HWND field);

LRESULT CALLBACK answerFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam);
