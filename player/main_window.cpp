// The main window: class, creation, and its procedure. Messages are distributed to the on... handlers;
// the procedure itself only dispatches.
#include <windows.h>

#include "player/main_window.h"

#include "content/quiz.h"
#include "player/answers_file.h"
#include "player/geometry.h"
#include "player/header.h"
#include "player/ids.h"
#include "player/labels.h"
#include "player/media.h"
#include "player/page.h"
#include "player/window_state.h"

const char* const MAIN_WINDOW_CLASS = "WindowsApp";

namespace {

const int MAIN_WINDOW_WIDTH = 870;
const int MAIN_WINDOW_HEIGHT = 650;

// onCreate: the version label, the header, the page extents and the window's big icon.
void onCreate(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    addLabel(window, VERSION_CAPTION, 725, client.bottom - 16, 130, 15, ID_VERSION_LABEL);
    buildHeader(window);
    g_pageWidth = pageExtentWidth(g_quiz->slotsPerQuestion);
    g_pageHeight = pageExtentHeight(g_quiz->kind, g_quiz->slotsPerQuestion, g_quiz->questionCount, g_quiz->revealMode);
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(LoadIconA(nullptr, IDI_QUESTION)));
}

// onSize: the page fills the window below the header; the version label keeps to the bottom right.
// Nothing else is laid out again.
void onSize(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    // The first WM_SIZE arrives while the window is being created, before the page exists.
    if (g_pageDialog != nullptr) SetWindowPos(g_pageDialog, nullptr, 5, 50, width - 11, height - 68, SWP_NOZORDER);
    SetWindowPos(GetDlgItem(window, ID_VERSION_LABEL), nullptr, width - 145, height - 16, 130, 15,
                 SWP_NOOWNERZORDER | SWP_NOACTIVATE);
}

// onClose: answers saved first, then the sound file removed, then the loop told to end. The window
// is left to the process's end (or to the video clean-up after the loop).
void onClose() {
    saveAnswers(g_pageDialog);
    DeleteFileA(AUDIO_FILE_NAME);
    PostQuitMessage(0);
}

// onKeyDown: page keys pressed while the main window itself has the focus scroll the page at once.
void onKeyDown(WPARAM key) {
    int code;
    switch (key) {
    case VK_PRIOR: code = SB_PAGEUP; break;
    case VK_NEXT: code = SB_PAGEDOWN; break;
    case VK_END: code = SB_BOTTOM; break;
    case VK_HOME: code = SB_TOP; break;
    case VK_UP: code = SB_LINEUP; break;
    case VK_DOWN: code = SB_LINEDOWN; break;
    default: return;
    }
    if (g_pageDialog != nullptr) SendMessageA(g_pageDialog, WM_VSCROLL, code, 0);
}

// onWheel: one notch either way scrolls the page one line, after the current message. Larger deltas
// (several notches reported at once) are ignored, as they always were.
void onWheel(WPARAM wParam) {
    const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
    int code;
    if (delta == WHEEL_NOTCH) {
        code = SB_LINEUP;
    } else if (delta == -WHEEL_NOTCH) {
        code = SB_LINEDOWN;
    } else {
        return;
    }
    if (g_pageDialog != nullptr) PostMessageA(g_pageDialog, WM_VSCROLL, code, 0);
}

// onCommand: only a click on the website link (identifier and notification code 0 together) counts.
void onCommand(WPARAM wParam) {
    if (wParam == ID_WEBSITE_LINK) ShellExecuteA(nullptr, "open", WEBSITE_ADDRESS, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: onCreate(window); return 0;
    case WM_SIZE: onSize(window); return 0;
    case WM_CLOSE: onClose(); return 0;
    case WM_KEYDOWN: onKeyDown(wParam); return 0;
    case WM_COMMAND: onCommand(wParam); return 0;
    case WM_CTLCOLORSTATIC:
        return onHeaderColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_MOUSEWHEEL: onWheel(wParam); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool registerMainWindowClass() {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = g_instance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_SCROLLBAR + 1);
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = MAIN_WINDOW_CLASS;
    return RegisterClassExA(&windowClass) != 0;
}

HWND createMainWindow() {
    HWND window = CreateWindowExA(0, MAIN_WINDOW_CLASS, g_quiz->title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, MAIN_WINDOW_WIDTH, MAIN_WINDOW_HEIGHT, nullptr, nullptr,
                                  g_instance, nullptr);
    centreWindow(window, GetDesktopWindow());
    g_pageDialog = CreateDialogParamA(g_instance, MAKEINTRESOURCEA(IDD_PAGE), window, pageDialogProc, 0);
    return window;
}
