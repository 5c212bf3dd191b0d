// The header panel across the top of the main window: boxes, score and code, title, description,
// author and website link, their colours, and small window helpers the shell shares.
#include <windows.h>

#include "player/header.h"

#include <cstring>

#include "checking/score.h"
#include "content/quiz.h"
#include "player/ids.h"
#include "player/labels.h"
#include "player/main_window.h"
#include "player/window_state.h"

namespace {

HWND createStatic(HWND parent, const char* text, DWORD style, int x, int y, int width, int height, int id) {
    return CreateWindowExA(0, "Static", text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), g_instance, nullptr);
}

// The colour handler runs on every repaint of every header label, so each brush is made once, on first
// use, and kept for the whole run; the system frees it with the process.
HBRUSH headerBrush() {
    static HBRUSH brush = CreateSolidBrush(HEADER_BACKGROUND);
    return brush;
}

HBRUSH versionBrush() {
    static HBRUSH brush = CreateSolidBrush(VERSION_BACKGROUND);
    return brush;
}

// The link's underlined font, sized to its label, and the hand cursor over it.
void styleLink(HWND label) {
    RECT client;
    GetClientRect(label, &client);
    LOGFONTA font;
    std::memset(&font, 0, sizeof font);
    font.lfHeight = -((client.bottom - client.top) * 3 / 4);
    font.lfWeight = FW_NORMAL;
    font.lfUnderline = TRUE;
    // Made once per run (there is one link); the label keeps using it until the process ends.
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(CreateFontIndirectA(&font)), FALSE);
    // This sets the cursor of the whole Static class; statics without SS_NOTIFY pass the mouse through
    // to their parent, so only the link shows the hand.
    SetClassLongPtrA(label, GCLP_HCURSOR,
                     reinterpret_cast<LONG_PTR>(LoadCursorA(g_instance, MAKEINTRESOURCEA(IDC_LINK_CURSOR))));
}

}  // namespace

HWND addLabel(HWND parent, const char* text, int x, int y, int width, int height, int id) {
    HWND label = createStatic(parent, text, 0, x, y, width, height, id);
    // Not redrawn: the label is new and paints whole when its window is first shown.
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return label;
}

void buildHeader(HWND mainWindow) {
    // Adjacent boxes overlap by one pixel so their borders coincide.
    createStatic(mainWindow, "", WS_BORDER, 5, 2, 100, 24, ID_HEADER_BOX1);
    createStatic(mainWindow, "", WS_BORDER, 5, 25, 100, 22, ID_HEADER_BOX2);
    createStatic(mainWindow, "", WS_BORDER, 104, 2, 623, 45, ID_HEADER_BOX3);
    createStatic(mainWindow, "", WS_BORDER, 726, 2, 130, 45, ID_HEADER_BOX4);

    addLabel(mainWindow, CODE_CAPTION, 10, 29, 36, 15, ID_CODE_LABEL);
    addLabel(mainWindow, CODE_UNEARNED, 47, 28, 55, 16, ID_CODE_VALUE);

    // The score must be the first child with ID_SCORE: the score is written back by that identifier,
    // which finds the first-created match. Score and title keep the system font.
    char score[32];
    scoreText(score, sizeof score, 0, g_quiz->questionCount);
    createStatic(mainWindow, score, SS_CENTER, 10, 5, 90, 18, ID_SCORE);

    styleLink(createStatic(mainWindow, WEBSITE_ADDRESS, SS_NOTIFY, 736, 5, 115, 18, ID_WEBSITE_LINK));

    addLabel(mainWindow, AUTHOR_CAPTION, 736, 25, 27, 18, ID_SCORE);
    addLabel(mainWindow, g_quiz->author, 763, 25, 85, 18, ID_SCORE);
    createStatic(mainWindow, g_quiz->title, 0, 110, 3, 220, 18, ID_SCORE);
    addLabel(mainWindow, g_quiz->description, 110, 19, 580, 27, ID_SCORE);
}

LRESULT onHeaderColour(HDC dc, HWND control) {
    switch (GetWindowLongA(control, GWL_ID)) {
    case ID_HEADER_BOX1:
    case ID_HEADER_BOX2:
    case ID_HEADER_BOX3:
    case ID_HEADER_BOX4:
    case ID_SCORE:
    case ID_CODE_LABEL:
    case ID_CODE_VALUE:
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(headerBrush());
    case ID_WEBSITE_LINK:
        SetTextColor(dc, LINK_TEXT);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(headerBrush());
    case ID_VERSION_LABEL:
        SetTextColor(dc, VERSION_TEXT);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(versionBrush());
    default:
        return 0;
    }
}

void centreWindow(HWND window, HWND reference) {
    RECT outer;
    RECT inner;
    GetWindowRect(reference, &outer);
    GetWindowRect(window, &inner);
    const int x = outer.left + ((outer.right - outer.left) - (inner.right - inner.left)) / 2;
    const int y = outer.top + ((outer.bottom - outer.top) - (inner.bottom - inner.top)) / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

