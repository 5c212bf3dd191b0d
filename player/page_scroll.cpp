// Scrolling of the question page: ranges from the page's client size (the scroll handlers join later).
#include <windows.h>

#include "player/page.h"
#include "player/window_state.h"

namespace {

// A range of extent - 2 with a page of visible - 1 makes the largest reachable position exactly
// extent - visible; DISABLENOSCROLL keeps a disabled bar on a page that fits instead of hiding it.
void setScrollRange(HWND page, int bar, int extent, int visible) {
    SCROLLINFO info;
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = extent - 2;
    info.nPage = static_cast<UINT>(visible - 1);
    info.nPos = 0;
    info.nTrackPos = 0;
    SetScrollInfo(page, bar, &info, TRUE);
}

}  // namespace

void updateScrollRanges(HWND page) {
    RECT client;
    GetClientRect(page, &client);
    visibleWidth = (client.right - client.left) / scrollUnit;
    visibleHeight = (client.bottom - client.top) / scrollUnit;
    // A page that fits goes back to its origin; the content is moved by whoever compares the positions.
    if (visibleWidth >= pageWidth) {
        visibleWidth = pageWidth;
        SetScrollPos(page, SB_HORZ, 0, FALSE);
    }
    if (visibleHeight >= pageHeight) {
        visibleHeight = pageHeight;
        SetScrollPos(page, SB_VERT, 0, FALSE);
    }
    setScrollRange(page, SB_HORZ, pageWidth, visibleWidth);
    setScrollRange(page, SB_VERT, pageHeight, visibleHeight);
}
