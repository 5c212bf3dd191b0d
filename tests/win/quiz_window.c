/* Test helper for end_to_end.sh: looks at a running player from outside, as another program on the
 * same desktop would, so the script can check what the player shows and ask it to close.
 *   quiz_window.exe wait SECONDS   waits until the main window ("WindowsApp") and its page are shown;
 *                                  prints "ready", or "no main window" and exits 2
 *   quiz_window.exe field K        prints the screen position of answer field K's centre: "x y"
 *   quiz_window.exe text ID        prints the text of control ID, looked for in the main window (the
 *                                  header: score, code) and then in the page; exits 3 when missing
 *   quiz_window.exe close          posts WM_CLOSE to the main window, as its close box does
 * Exits 2 when there is no main window. */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* Answer fields are numbered from this identifier (player/ids.h). */
#define ANSWER_BASE 4000

static HWND mainWindow;

static BOOL CALLBACK findMain(HWND window, LPARAM unused) {
    char className[64];
    (void)unused;
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, "WindowsApp") == 0 && IsWindowVisible(window)) {
        mainWindow = window;
        return FALSE;
    }
    return TRUE;
}

/* The page is the main window's dialog child. */
static HWND pageOf(HWND window) {
    return FindWindowExA(window, NULL, MAKEINTRESOURCEA(32770), NULL);
}

static HWND findMainWindow(void) {
    mainWindow = NULL;
    EnumWindows(findMain, 0);
    return mainWindow;
}

static int waitForWindow(DWORD seconds) {
    const DWORD start = GetTickCount();
    do {
        HWND window = findMainWindow();
        HWND page = window != NULL ? pageOf(window) : NULL;
        if (page != NULL && IsWindowVisible(page)) {
            printf("ready\n");
            return 0;
        }
        Sleep(200);
    } while (GetTickCount() - start < seconds * 1000);
    printf("no main window\n");
    return 2;
}

int main(int argc, char** argv) {
    HWND window;
    setvbuf(stdout, NULL, _IONBF, 0);
    if (argc >= 3 && strcmp(argv[1], "wait") == 0) return waitForWindow((DWORD)atoi(argv[2]));
    window = findMainWindow();
    if (window == NULL) {
        printf("no main window\n");
        return 2;
    }
    if (argc >= 3 && strcmp(argv[1], "field") == 0) {
        HWND field = GetDlgItem(pageOf(window), ANSWER_BASE + atoi(argv[2]));
        RECT r;
        if (field == NULL || !GetWindowRect(field, &r)) return 3;
        printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        return 0;
    }
    if (argc >= 3 && strcmp(argv[1], "text") == 0) {
        char text[300];
        const int id = atoi(argv[2]);
        HWND control = GetDlgItem(window, id);
        if (control == NULL) control = GetDlgItem(pageOf(window), id);
        if (control == NULL) return 3;
        /* Sent, not GetWindowTextA: across processes that only gives an edit's creation text. */
        text[0] = '\0';
        SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, (LPARAM)text, SMTO_ABORTIFHUNG, 5000, NULL);
        /* Brackets show leading and trailing spaces, as in " 2 / 6". */
        printf("[%s]\n", text);
        return 0;
    }
    if (argc >= 2 && strcmp(argv[1], "close") == 0) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        printf("closed\n");
        return 0;
    }
    fprintf(stderr, "usage: quiz_window.exe wait SECONDS | field K | text ID | close\n");
    return 1;
}
