// The header panel across the top of the main window, its colours, and the small window helpers the
// main window shares with it.
#pragma once
#include <windows.h>

// Creates the header's boxes and labels: score and code, title, description, author, website link.
void buildHeader(HWND mainWindow);
// A static in the GUI font.
HWND addLabel(HWND parent, const char* text, int x, int y, int width, int height, int id);
// The main window's WM_CTLCOLORSTATIC: the header's text colour and background brush by identifier;
// 0 for any other control.
LRESULT onHeaderColour(HDC dc, HWND control);
// Puts window in the middle of reference, keeping its size.
void centreWindow(HWND window, HWND reference);
