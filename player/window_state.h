// Process-wide state of the player's windows.
#pragma once
#include <windows.h>

// The module the program's windows, dialog template, icons and cursor come from.
extern HINSTANCE g_instance;
// The question page; null until it has been created.
extern HWND g_pageDialog;

// Size of the page content, fixed when the main window is created.
extern int pageWidth;
extern int pageHeight;
// Size of the page's client area, each at most the matching extent.
extern int visibleWidth;
extern int visibleHeight;
// Pixels per scroll position.
constexpr int scrollUnit = 1;
