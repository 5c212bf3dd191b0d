// Handles of the question page's controls, kept from their creation until the page is destroyed.
#include <windows.h>

#include <cstring>

#include "player/page_controls.h"

#include "content/quiz_format.h"
#include "player/ids.h"

namespace {

// Every control of a question or of an answer field has an identifier of its own in this range
// (ids.h: answer fields from 4001 to video hosts up to 9990); the shared identifiers lie below it.
const int FIRST_KEPT_ID = ID_ANSWER_BASE + 1;
const int LAST_KEPT_ID = ID_VIDEO_HOST_BASE + MAX_QUESTIONS;
const int KEPT_IDS = LAST_KEPT_ID - FIRST_KEPT_ID + 1;

// The page the handles belong to (null when none is kept) and its controls by identifier; an entry
// stays null for an identifier the page has no control for.
struct PageControls {
    HWND page;
    HWND byId[KEPT_IDS];
};
PageControls g_pageControls = {};

bool kept(int id) { return id >= FIRST_KEPT_ID && id <= LAST_KEPT_ID; }

}  // namespace

void keepPageControls(HWND page) {
    g_pageControls = {};
    g_pageControls.page = page;
}

void keepPageControl(HWND page, HWND control, int id) {
    if (page == nullptr || page != g_pageControls.page || !kept(id)) return;
    HWND& entry = g_pageControls.byId[id - FIRST_KEPT_ID];
    if (entry == nullptr) entry = control;
}

void forgetPageControl(HWND page, HWND control, int id) {
    if (page == nullptr || page != g_pageControls.page || !kept(id)) return;
    HWND& entry = g_pageControls.byId[id - FIRST_KEPT_ID];
    if (entry == control) entry = nullptr;
}

void forgetPageControls(HWND page) {
    if (page != nullptr && page == g_pageControls.page) g_pageControls = {};
}

HWND pageControl(HWND page, int id) {
    if (page != nullptr && page == g_pageControls.page && kept(id)) return g_pageControls.byId[id - FIRST_KEPT_ID];
    return GetDlgItem(page, id);
}

void pageControlText(HWND page, int id, char* text, int size) {
    if (size <= 0) return;
    text[0] = '\0';
    HWND control = pageControl(page, id);
    if (control != nullptr) GetWindowTextA(control, text, size);
}

void setLabelText(HWND label, const char* text) {
    if (label == nullptr) return;
    // One byte more than any text set here: a longer label never reads as equal.
    char shown[TEXT_SLOT_SIZE + 1];
    shown[0] = '\0';
    GetWindowTextA(label, shown, sizeof shown);
    if (std::strcmp(shown, text) != 0) SetWindowTextA(label, text);
}

void setPageLabelText(HWND page, int id, const char* text) { setLabelText(pageControl(page, id), text); }
