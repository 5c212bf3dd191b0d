// Entry point of the player: load the quiz carried in the program, open the window, run the loop,
// clean up.
#include <windows.h>

#include <cstdlib>

#include "content/loader.h"
#include "content/quiz.h"
#include "player/main_window.h"
#include "player/media.h"
#include "player/window_state.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showState) {
    g_instance = instance;

    Quiz* quiz = static_cast<Quiz*>(std::malloc(sizeof(Quiz)));
    if (quiz == nullptr) return 0;
    initQuiz(quiz);
    g_quiz = quiz;
    // Problems are reported in message boxes; the program carries on with what was loaded.
    loadQuiz(quiz);

    // Nothing is shown or freed on these two early exits: the process is ending anyway.
    if (!registerMainWindowClass()) return 0;
    const bool video = quiz->kind == QuizKind::Video;
    if (video && !loadVideoSupport()) return 1;

    HWND mainWindow = createMainWindow();
    ShowWindow(mainWindow, showState);
    ShowWindow(g_pageDialog, showState);

    // No IsDialogMessage: the answer fields handle Tab, Enter and the page keys themselves.
    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }

    if (video) unloadVideoSupport(mainWindow);
    clearQuestions(quiz);
    std::free(quiz);
    g_quiz = nullptr;
    return static_cast<int>(msg.wParam);
}
