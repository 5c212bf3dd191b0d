// Message box watcher for the Windows tests.
#include "tests/win/message_boxes.h"

#include <windows.h>

#include <mutex>

namespace {

std::mutex boxesLock;
std::vector<CaughtBox> boxes;
HANDLE watcher = nullptr;
volatile LONG watching = 0;

BOOL CALLBACK closeIfMessageBox(HWND window, LPARAM) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    if (process != GetCurrentProcessId() || lstrcmpA(className, "#32770") != 0 || !IsWindowVisible(window))
        return TRUE;
    char caption[260] = "";
    char text[1024] = "";
    GetWindowTextA(window, caption, sizeof caption);
    // A message box shows its text in a static with identifier 0xFFFF.
    GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
    {
        std::lock_guard<std::mutex> guard(boxesLock);
        boxes.push_back({caption, text});
    }
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    // Wait until the box is gone so it is not recorded twice.
    for (int k = 0; k < 200 && IsWindow(window) && IsWindowVisible(window); ++k) Sleep(10);
    return TRUE;
}

DWORD WINAPI watch(void*) {
    while (InterlockedCompareExchange(&watching, 1, 1) == 1) {
        EnumWindows(closeIfMessageBox, 0);
        Sleep(20);
    }
    return 0;
}

}  // namespace

void startCatchingMessageBoxes() {
    {
        std::lock_guard<std::mutex> guard(boxesLock);
        boxes.clear();
    }
    InterlockedExchange(&watching, 1);
    watcher = CreateThread(nullptr, 0, watch, nullptr, 0, nullptr);
}

std::vector<CaughtBox> stopCatchingMessageBoxes() {
    InterlockedExchange(&watching, 0);
    if (watcher != nullptr) {
        WaitForSingleObject(watcher, 5000);
        CloseHandle(watcher);
        watcher = nullptr;
    }
    std::lock_guard<std::mutex> guard(boxesLock);
    return boxes;
}
