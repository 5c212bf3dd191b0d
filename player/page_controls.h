// Handles of the question page's controls, kept from their creation until the page is destroyed.
// Under Wine, finding one of the page's hundreds of children by its identifier (GetDlgItem) costs
// about 100 us, reading a control through a handle already held under 1 us: judging a field reaches
// every verdict label, so the handles are held rather than searched for.
#pragma once
#include <windows.h>

// Starts an empty table for a page about to be built, dropping any earlier page's.
void keepPageControls(HWND page);
// Records a control just created on the kept page. Identifiers that several controls share (numbers,
// captions, question texts) are not kept; of two controls with one identifier the first is kept, as
// GetDlgItem would find it.
void keepPageControl(HWND page, HWND control, int id);
// A kept control destroyed on its own, before its page (WM_PARENTNOTIFY): from now on it is missing.
void forgetPageControl(HWND page, HWND control, int id);
// The kept page is being destroyed (WM_DESTROY, before its children): nothing is kept any more.
void forgetPageControls(HWND page);

// The page's control with this identifier, or null when the page has none: from the table for the
// kept page's own identifiers, searched for anything else.
HWND pageControl(HWND page, int id);
// The control's text in size bytes (at most size - 1 characters); empty when there is no such control.
void pageControlText(HWND page, int id, char* text, int size);
// Sets a label's text (text of at most 259 characters) unless the label already reads exactly that:
// rewriting a static with its own text would only repaint the same pixels, at about 100 us a label
// under Wine.
void setLabelText(HWND label, const char* text);
// The same for the page's label with this identifier; nothing happens when there is no such control.
void setPageLabelText(HWND page, int id, const char* text);
