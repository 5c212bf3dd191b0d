// The main window: header panel, the page below it, keys, wheel, link and closing.
#pragma once
#include <windows.h>

// Class name of the main window.
extern const char* const MAIN_WINDOW_CLASS;

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Registers the "WindowsApp" class; false when registration fails.
bool registerMainWindowClass();
// Creates the main window (and its header), centres it on the desktop, and creates the page.
HWND createMainWindow();
