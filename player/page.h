// The question page: a child dialog holding every question's controls.
#pragma once
#include <windows.h>

// Procedure of the page dialog (template IDD_PAGE).
INT_PTR CALLBACK pageDialogProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Creates every control of every question; the page's WM_INITDIALOG. Returns TRUE.
BOOL layoutPage(HWND page);

// Recomputes the visible size from the page's client area and sets both scroll bars.
void updateScrollRanges(HWND page);
