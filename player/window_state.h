// Process-wide state of the player's windows.
#pragma once
#include <windows.h>

// The module the program's windows, dialog template, icons and cursor come from.
extern HINSTANCE g_instance;
// The question page; null until it has been created.
extern HWND g_pageDialog;

// Page content size, fixed when the main window is created.
extern int g_pageWidth;
extern int g_pageHeight;
// Pixels per scroll position.
constexpr int scrollUnit = 1;
