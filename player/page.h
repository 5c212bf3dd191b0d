// The question page: a child dialog holding every question's controls.
#pragma once
#include <windows.h>

// Procedure of the page dialog (template IDD_PAGE).
INT_PTR CALLBACK pageDialogProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Creates every control of every question; the page's WM_INITDIALOG. Returns TRUE.
BOOL layoutPage(HWND page);

// Recomputes the visible size from the page's client area and sets both scroll bars.
void updateScrollRanges(HWND page);

// Scrolling (page_scroll.cpp). WM_VSCROLL and WM_HSCROLL: bar is SB_VERT or SB_HORZ, code the
// request's scroll code.
void onPageScroll(HWND page, int bar, int code);
// WM_SIZE: new ranges, and the content moved by however far they pulled the positions back.
void onPageResize(HWND page);
// WM_MOUSEWHEEL: one notch either way is posted back to the page as a line scroll.
void onPageWheel(HWND page, WPARAM wParam);
// Puts a bar at position (clamped to its range) and moves the content by the change.
void scrollPageTo(HWND page, int bar, int position);
// Scrolls as little as needed to show the focused answer field whole, with its question around it.
void scrollFieldIntoView(HWND page, int fieldId);

// Colours (page_colours.cpp). WM_CTLCOLORDLG: the quiz's background brush.
INT_PTR onPageBackground();
// WM_CTLCOLORSTATIC: the brush of a page label chosen by its identifier, or 0 for the default colours.
INT_PTR onPageLabelColour(HDC dc, HWND control);
// Deletes the label brushes; they are made again on the next paint that needs them.
void releasePageBrushes();
