/* Test helper for exit_codes.sh: plays the user who answers the loader's message boxes and then
 * closes the player. Presses OK on every "Trivo" box, posts WM_CLOSE to the first "WindowsApp"
 * window, prints what it did and exits 0; exits 2 when no main window shows up in time.
 * Usage: close_main_window.exe [SECONDS] */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static HWND boxes[64];
static int boxesClosed;
static HWND mainWindow;

/* A box that was answered may still be listed on the next pass; it counts once. */
static int seenBefore(HWND box) {
    int i;
    for (i = 0; i < boxesClosed; ++i) {
        if (boxes[i] == box) return 1;
    }
    return 0;
}

static BOOL CALLBACK visit(HWND window, LPARAM unused) {
    char className[64];
    char title[64];
    (void)unused;
    if (!IsWindowVisible(window)) return TRUE;
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, title, sizeof title);
    if (strcmp(className, "#32770") == 0 && strcmp(title, "Trivo") == 0) {
        PostMessageA(window, WM_COMMAND, IDOK, 0);
        if (!seenBefore(window) && boxesClosed < 64) boxes[boxesClosed++] = window;
    } else if (strcmp(className, "WindowsApp") == 0 && mainWindow == NULL) {
        mainWindow = window;
    }
    return TRUE;
}

int main(int argc, char** argv) {
    const DWORD limit = (argc > 1 ? (DWORD)atoi(argv[1]) : 20) * 1000;
    const DWORD start = GetTickCount();
    setvbuf(stdout, NULL, _IONBF, 0);
    while (GetTickCount() - start < limit) {
        EnumWindows(visit, 0);
        if (mainWindow != NULL) {
            /* Let the window settle so the close is the user's, not part of start-up. */
            Sleep(500);
            PostMessageA(mainWindow, WM_CLOSE, 0, 0);
            printf("closed main window after %d message boxes\n", boxesClosed);
            return 0;
        }
        Sleep(300);
    }
    printf("no main window within %lu s (%d message boxes)\n", (unsigned long)(limit / 1000), boxesClosed);
    return 2;
}
