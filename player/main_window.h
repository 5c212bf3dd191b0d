// The main window: header panel, the page below it, keys, wheel, link and closing.
#pragma once
#include <windows.h>

// The website the header link opens.
extern const char* const WEBSITE_ADDRESS;
// Class name of the main window.
extern const char* const MAIN_WINDOW_CLASS;

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Registers the "WindowsApp" class; false when registration fails.
bool registerMainWindowClass();
// Creates the main window (and its header), centres it on the desktop, and creates the page.
HWND createMainWindow();

void buildHeader(HWND mainWindow);
HWND addLabel(HWND parent, const char* text, int x, int y, int width, int height, int id);
void styleLink(HWND label);
// The main window's WM_CTLCOLORSTATIC: the header's text colour and background brush by identifier;
// 0 for any other control.
LRESULT onHeaderColour(HDC dc, HWND control);
void centreWindow(HWND window, HWND reference);
// The running executable's bare file name.
void exeFileName(char* buffer, int size);
