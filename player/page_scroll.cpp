// Scrolling of the question page: ranges from the page's client size, the scroll-bar, key and wheel
// requests, resizing, and following the focus from field to field.
#include <windows.h>

#include "content/quiz.h"
#include "player/geometry.h"
#include "player/page.h"
#include "player/page_controls.h"
#include "player/window_state.h"

namespace {

// A vertical line is 30 pixels, about one row of a Text quiz; a horizontal line is a single position.
const int VERTICAL_LINE = 30;
const int HORIZONTAL_LINE = 1;
// Room kept between a question brought into view and the edge of the page's client area.
const int FOCUS_MARGIN = 10;

SCROLLINFO scrollState(HWND page, int bar) {
    SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS, 0, 0, 0, 0, 0};
    GetScrollInfo(page, bar, &info);
    return info;
}

// Where a request sends the bar. Only the vertical bar knows top and bottom; the horizontal one
// ignores them, as it ignores its thumb's final position.
int requestedPosition(int bar, int code, const SCROLLINFO& info) {
    const int old = info.nPos;
    const int pageSize = static_cast<int>(info.nPage);
    const int line = bar == SB_VERT ? VERTICAL_LINE : HORIZONTAL_LINE;
    switch (code) {
    case SB_LINEUP: return old - line;
    case SB_LINEDOWN: return old + line;
    case SB_PAGEUP: return old - pageSize;
    case SB_PAGEDOWN: return old + pageSize;
    // The content follows the thumb while it is dragged, so its release has nothing left to do.
    case SB_THUMBTRACK: return info.nTrackPos;
    case SB_TOP: return bar == SB_VERT ? 0 : old;
    case SB_BOTTOM: return bar == SB_VERT ? info.nMax : old;
    default: return old;
    }
}

// Moves the whole client area, controls included, by the change the bars made since they stood at
// these positions, in one scroll: under Wine every scroll moves each of the page's ~600 controls in
// turn. True when it moved both ways.
bool followBars(HWND page, int horizontalBefore, int verticalBefore) {
    const int dx = (horizontalBefore - GetScrollPos(page, SB_HORZ)) * scrollUnit;
    const int dy = (verticalBefore - GetScrollPos(page, SB_VERT)) * scrollUnit;
    if (dx != 0 || dy != 0) ScrollWindow(page, dx, dy, nullptr, nullptr);
    return dx != 0 && dy != 0;
}

// Clamps to the range, lets the bar limit the position to what the page size leaves reachable, and
// moves the content by the change actually made.
void moveBar(HWND page, int bar, const SCROLLINFO& info, int position) {
    if (position > info.nMax) position = info.nMax;
    if (position < info.nMin) position = info.nMin;
    const int horizontalBefore = GetScrollPos(page, SB_HORZ);
    const int verticalBefore = GetScrollPos(page, SB_VERT);
    SetScrollPos(page, bar, position, TRUE);
    followBars(page, horizontalBefore, verticalBefore);
}

// The scroll positions of both bars, in bar positions.
struct ScrollPlace {
    int horizontal;
    int vertical;
};

// Where a box of the page is at these scroll positions, in the page's client coordinates.
RECT clientRect(const ScrollPlace& at, const Box& box) {
    const int dx = at.horizontal * scrollUnit;
    const int dy = at.vertical * scrollUnit;
    return {box.x - dx, box.y - dy, box.x + box.width - dx, box.y + box.height - dy};
}

// An empty box is a control the question does not have.
void addBox(const ScrollPlace& at, const Box& box, RECT* area) {
    if (box.width <= 0 || box.height <= 0) return;
    const RECT rect = clientRect(at, box);
    UnionRect(area, area, &rect);
}

// Slot s's field with its verdict label, in client coordinates.
RECT fieldArea(const ScrollPlace& at, const QuestionBoxes& boxes, int s) {
    RECT area = clientRect(at, boxes.fields[s - 1]);
    addBox(at, boxes.verdicts[s - 1], &area);
    return area;
}

// How far to scroll along one axis so that [low, high) lies inside [0, size) with the margin. When it
// cannot fit, its start wins: a question is read from its top.
int shiftToShow(int low, int high, int size) {
    if (low - FOCUS_MARGIN < 0) return low - FOCUS_MARGIN;
    if (high + FOCUS_MARGIN > size) {
        const int down = high + FOCUS_MARGIN - size;
        return down < low - FOCUS_MARGIN ? down : low - FOCUS_MARGIN;
    }
    return 0;
}

// The position a bar ends at when asked for this one: within its range, and no further than its page
// size leaves reachable (max - page + 1), as the platform clamps it.
int reachablePosition(const SCROLLINFO& info, int position) {
    int last = info.nMax - (info.nPage > 0 ? static_cast<int>(info.nPage) - 1 : 0);
    if (last < info.nMin) last = info.nMin;
    if (position > last) position = last;
    if (position < info.nMin) position = info.nMin;
    return position;
}

// The scroll positions that bring area (client coordinates at positions at) into view.
ScrollPlace placeShowing(HWND page, const ScrollPlace& at, const RECT& area) {
    RECT client;
    GetClientRect(page, &client);
    const int dx = shiftToShow(area.left, area.right, client.right);
    const int dy = shiftToShow(area.top, area.bottom, client.bottom);
    return {reachablePosition(scrollState(page, SB_HORZ), at.horizontal + dx / scrollUnit),
            reachablePosition(scrollState(page, SB_VERT), at.vertical + dy / scrollUnit)};
}

// Both bars to their new positions, and the content moved by one scroll of the whole distance.
void scrollPageToPlace(HWND page, const ScrollPlace& target) {
    const int horizontalBefore = GetScrollPos(page, SB_HORZ);
    const int verticalBefore = GetScrollPos(page, SB_VERT);
    if (target.horizontal != horizontalBefore) SetScrollPos(page, SB_HORZ, target.horizontal, TRUE);
    if (target.vertical != verticalBefore) SetScrollPos(page, SB_VERT, target.vertical, TRUE);
    // Repainted whole when both ways move: under Wine that leaves a stripe of stale pixels in a picture
    // that was partly out of view. One way alone repaints only what the scroll uncovers.
    if (followBars(page, horizontalBefore, verticalBefore))
        RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// A range of extent - 2 with a page of visible - 1 makes the largest reachable position exactly
// extent - visible; DISABLENOSCROLL keeps a disabled bar on a page that fits instead of hiding it.
void setScrollRange(HWND page, int bar, int extent, int visible) {
    SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL, 0, extent - 2,
                       static_cast<UINT>(visible - 1), 0, 0};
    SetScrollInfo(page, bar, &info, TRUE);
}

}  // namespace

// The visible size is each client size capped at the page's; the bars hold it as their page size.
void updateScrollRanges(HWND page) {
    RECT client;
    GetClientRect(page, &client);
    int visibleWidth = (client.right - client.left) / scrollUnit;
    int visibleHeight = (client.bottom - client.top) / scrollUnit;
    // A page that fits goes back to its origin; the content is moved by whoever compares the positions.
    if (visibleWidth >= g_pageWidth) {
        visibleWidth = g_pageWidth;
        SetScrollPos(page, SB_HORZ, 0, FALSE);
    }
    if (visibleHeight >= g_pageHeight) {
        visibleHeight = g_pageHeight;
        SetScrollPos(page, SB_VERT, 0, FALSE);
    }
    setScrollRange(page, SB_HORZ, g_pageWidth, visibleWidth);
    setScrollRange(page, SB_VERT, g_pageHeight, visibleHeight);
}

void onPageScroll(HWND page, int bar, int code) {
    const SCROLLINFO info = scrollState(page, bar);
    moveBar(page, bar, info, requestedPosition(bar, code, info));
}

void scrollPageTo(HWND page, int bar, int position) { moveBar(page, bar, scrollState(page, bar), position); }

void onPageResize(HWND page) {
    // A minimised window leaves the page without a client area: bars sized for nothing would take
    // the positions back to 0 on Windows, and the player would lose their place at the restore.
    RECT client;
    GetClientRect(page, &client);
    if (client.right <= 0 || client.bottom <= 0) return;
    const int horizontalBefore = GetScrollPos(page, SB_HORZ);
    const int verticalBefore = GetScrollPos(page, SB_VERT);
    updateScrollRanges(page);
    followBars(page, horizontalBefore, verticalBefore);
}

void onPageWheel(HWND page, WPARAM wParam) {
    // Posted, not sent: the page scrolls after the wheel message has also reached the main window,
    // which posts the same request again (so a notch on the page scrolls two lines).
    const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
    if (delta == WHEEL_NOTCH) PostMessageA(page, WM_VSCROLL, SB_LINEUP, 0);
    if (delta == -WHEEL_NOTCH) PostMessageA(page, WM_VSCROLL, SB_LINEDOWN, 0);
}

// The page follows the focus only when the newly focused field (with its verdict label) is not
// wholly in view: then it first scrolls as little as possible to show the field's whole question
// (picture or film, play and stop buttons, every slot's field and verdict, comment) with a margin,
// and then, should that question be taller or wider than the client area, as little again as needed
// to show the field itself. A field already in view never moves the page, so Tab through a visible
// row is calm.
void scrollFieldIntoView(HWND page, int fieldId) {
    if (g_quiz == nullptr || pageControl(page, fieldId) == nullptr) return;
    const int slots = g_quiz->slotsPerQuestion;
    if (slots < 1 || slots > MAX_SLOTS) return;
    const FieldSlot place = fieldSlotOf(fieldId, slots);
    const QuestionBoxes boxes = questionBoxes(g_quiz->kind, slots, g_quiz->revealMode, place.question);
    const ScrollPlace now = {GetScrollPos(page, SB_HORZ), GetScrollPos(page, SB_VERT)};
    const RECT field = fieldArea(now, boxes, place.slot);
    RECT client;
    GetClientRect(page, &client);
    if (field.left >= 0 && field.top >= 0 && field.right <= client.right && field.bottom <= client.bottom) return;

    RECT question = field;
    // The picture is read from its control: where it sits depends on the picture it shows, the
    // question's or a revealed answer picture.
    HWND picture = pageControl(page, pictureId(place.question));
    if (picture != nullptr) {
        RECT shown;
        GetWindowRect(picture, &shown);
        MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&shown), 2);
        UnionRect(&question, &question, &shown);
    }
    const Box others[] = {boxes.videoHost, boxes.play, boxes.stop, boxes.comment};
    for (const Box& box : others) addBox(now, box, &question);
    for (int s = 1; s <= slots; ++s) {
        addBox(now, boxes.fields[s - 1], &question);
        addBox(now, boxes.verdicts[s - 1], &question);
    }
    // The question first, then the field from where that leaves it; the page moves once, to the end.
    const ScrollPlace showingQuestion = placeShowing(page, now, question);
    scrollPageToPlace(page, placeShowing(page, showingQuestion, fieldArea(showingQuestion, boxes, place.slot)));
}
