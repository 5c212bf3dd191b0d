// How long a player waits, measured on the real platform: F1, Tab and start-up of 2-slot quizzes of
// 90 questions (180 fields). Each figure is the time from the key message to its return, when the
// page and the score are up to date (the repaint that follows is not counted); start-up is the time
// from starting a quiz program to its first idle message loop, the large and the small quiz in turn,
// and, within this process, the page made, shown and painted. Indented, the platform's floor for each,
// timed alone in the same rounds: the calls F1 and Tab cannot do without, and the page's controls made
// bare. Each figure is the median of the rounds with the best in brackets. Prints one table; nothing
// here is a pass or fail on time.
// Usage: play_bench.exe [--short] [TEXT90.exe TEXT1.exe]   (--short: one round, for the test command)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "content/quiz.h"
#include "content/quiz_format.h"
#include "player/geometry.h"
#include "player/ids.h"
#include "player/main_window.h"
#include "player/media.h"
#include "player/platform_win32.h"
#include "player/window_state.h"

namespace {

const int QUESTIONS = 90;
const int SLOTS = 2;
const int FIELDS = QUESTIONS * SLOTS;

double nowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Other programs share the machine: the median says what a player meets, the best what the work
// itself costs when nothing else runs.
struct Timing {
    double median;
    double best;
};

Timing timing(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return {samples[samples.size() / 2], samples.front()};
}

void pumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// A key released in a field, as the player's keyboard delivers it.
double keyUpMs(HWND field, WPARAM key) {
    const double start = nowMs();
    SendMessageA(field, WM_KEYUP, key, 0xC0000001);
    const double elapsed = nowMs() - start;
    pumpMessages();
    return elapsed;
}

// The quiz record and windows of one measured quiz, made as the program makes them.
struct OpenQuiz {
    Quiz quiz;
    HWND main = nullptr;
    HWND page = nullptr;
};

void openQuiz(OpenQuiz* open, QuizKind kind, RevealMode reveal, bool sameAnswers, int questions = QUESTIONS) {
    initQuiz(&open->quiz);
    open->quiz.kind = kind;
    open->quiz.slotsPerQuestion = SLOTS;
    open->quiz.revealMode = reveal;
    open->quiz.questionCount = questions;
    open->quiz.backgroundBrush = CreateSolidBrush(RGB(255, 255, 255));
    for (int q = 1; q <= questions; ++q) {
        const std::string n = std::to_string(q);
        if (sameAnswers)
            appendQuestion(&open->quiz, "x", "x", "Question");
        else
            appendQuestion(&open->quiz, ("r" + n).c_str(), ("s" + n).c_str(), ("Question " + n).c_str());
        copyText(open->quiz.scoreCodes[q - 1], ("C" + n).c_str());
    }
    g_quiz = &open->quiz;
    open->main = createMainWindow();
    open->page = g_pageDialog;
    ShowWindow(open->main, SW_SHOWNORMAL);
    ShowWindow(open->page, SW_SHOWNORMAL);
    pumpMessages();
}

// The pictures a page shows are the program's to free (it never closes its page): without this, every
// Picture round would leave its 90 pictures behind and slow down what is measured after it.
void closeQuiz(OpenQuiz* open) {
    for (int q = 1; q <= QUESTIONS; ++q) {
        HWND picture = GetDlgItem(open->page, pictureId(q));
        if (picture == nullptr) continue;
        DeleteObject(reinterpret_cast<HGDIOBJ>(SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, 0)));
    }
    DestroyWindow(open->main);
    pumpMessages();
    g_pageDialog = nullptr;
    clearQuestions(&open->quiz);
    DeleteObject(static_cast<HBRUSH>(open->quiz.backgroundBrush));
    g_quiz = nullptr;
}

HWND field(const OpenQuiz& open, int f) { return GetDlgItem(open.page, answerIdOfField(f)); }

// F1 in field 1 of a Text quiz whose every field is wrong: the text is tried in all 180 fields. And its
// peer, what the platform takes for the calls F1 cannot do without: 180 texts set, each followed by
// the selection of the first 25 characters a field makes when the focus reaches it; made on two
// edits of the answer fields' style and font on the same page, which nothing judges.
void f1TextMs(int rounds, Timing* f1, Timing* platformOnly) {
    OpenQuiz open;
    openQuiz(&open, QuizKind::Text, RevealMode::None, false);
    HWND plain[2];
    for (HWND& edit : plain) {
        // Wine reads an edit's border back as a client edge, so the style read lacks it.
        const DWORD style = GetWindowLongA(field(open, 1), GWL_STYLE) | WS_BORDER;
        edit = CreateWindowExA(0, "Edit", "", style, 0, 0, 50, 21, open.page, nullptr, g_instance, nullptr);
        SendMessageA(edit, WM_SETFONT, SendMessageA(field(open, 1), WM_GETFONT, 0, 0), TRUE);
    }
    std::vector<double> samples;
    std::vector<double> peers;
    for (int i = 0; i < rounds; ++i) {
        SetWindowTextA(field(open, 1), "faux");
        SetFocus(field(open, 1));
        pumpMessages();
        samples.push_back(keyUpMs(field(open, 1), VK_F1));

        const double start = nowMs();
        for (int k = 0; k < FIELDS; ++k) {
            SetWindowTextA(plain[k % 2], "faux");
            SendMessageA(plain[k % 2], EM_SETSEL, 0, 25);
        }
        peers.push_back(nowMs() - start);
        pumpMessages();
    }
    for (HWND edit : plain) DestroyWindow(edit);
    closeQuiz(&open);
    *f1 = timing(samples);
    *platformOnly = timing(peers);
}

// F1 that solves all 90 questions of a Picture quiz, each revealing its answer picture; and the time
// those 90 answer pictures take to decode alone. Each round opens the quiz afresh, so every F1 meets
// question pictures only, as a player's first F1 does (an answer picture once shown stays).
void f1PicturesMs(int rounds, Timing* f1, Timing* decodeOnly) {
    std::vector<double> samples;
    std::vector<double> decodes;
    for (int i = 0; i < rounds; ++i) {
        OpenQuiz open;
        openQuiz(&open, QuizKind::Picture, RevealMode::AnswerPicture, true);
        SetWindowTextA(field(open, 1), "x");
        SetFocus(field(open, 1));
        pumpMessages();
        samples.push_back(keyUpMs(field(open, 1), VK_F1));

        const double start = nowMs();
        for (int q = 1; q <= QUESTIONS; ++q) {
            HBITMAP picture = loadResourcePicture(resourceModule(), answerPictureResourceId(q), QUIZ_MEDIA_TYPE,
                                                  PICTURE_BOX, PICTURE_BOX);
            if (picture != nullptr) DeleteObject(picture);
        }
        decodes.push_back(nowMs() - start);

        char score[32] = "";
        GetDlgItemTextA(open.main, ID_SCORE, score, sizeof score);
        if (std::strcmp(score, " 90 / 90") != 0) std::printf("warning: F1 left the score at \"%s\"\n", score);
        closeQuiz(&open);
    }
    *f1 = timing(samples);
    *decodeOnly = timing(decodes);
}

// Tab from a field to the next one, when the next one is in view and when the page has to scroll. And
// the peer of the second: one line scroll of the same page alone, which moves every one of its 600
// controls as the Tab's scroll does.
void tabMs(int rounds, Timing* onScreen, Timing* offScreen, Timing* scrollOnly) {
    OpenQuiz open;
    openQuiz(&open, QuizKind::Text, RevealMode::None, false);
    RECT client;
    GetClientRect(open.page, &client);
    // The first field that starts below the visible part of the page at its top.
    int firstHidden = 2;
    for (; firstHidden < FIELDS; ++firstHidden) {
        RECT r;
        GetWindowRect(field(open, firstHidden), &r);
        MapWindowPoints(nullptr, open.page, reinterpret_cast<POINT*>(&r), 2);
        if (r.bottom > client.bottom) break;
    }
    std::vector<double> inView;
    std::vector<double> beyondView;
    std::vector<double> scrolls;
    for (int i = 0; i < rounds; ++i) {
        SendMessageA(open.page, WM_VSCROLL, SB_TOP, 0);
        SetFocus(field(open, 1));
        pumpMessages();
        inView.push_back(keyUpMs(field(open, 1), VK_TAB));
        SetFocus(field(open, firstHidden - 1));
        pumpMessages();
        beyondView.push_back(keyUpMs(field(open, firstHidden - 1), VK_TAB));
        const double start = nowMs();
        SendMessageA(open.page, WM_VSCROLL, SB_LINEDOWN, 0);
        scrolls.push_back(nowMs() - start);
        pumpMessages();
    }
    closeQuiz(&open);
    *onScreen = timing(inView);
    *offScreen = timing(beyondView);
    *scrollOnly = timing(scrolls);
}

// A control of a page as the player made it: what a bare copy of it needs.
struct ControlCopy {
    char className[32];
    char text[64];
    DWORD style;
    RECT box;
    bool font;
};

BOOL CALLBACK copyControl(HWND control, LPARAM copies) {
    ControlCopy copy{};
    GetClassNameA(control, copy.className, sizeof copy.className);
    GetWindowTextA(control, copy.text, sizeof copy.text);
    // Wine reads an edit's border back as a client edge, so the style read lacks it.
    copy.style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)) | WS_BORDER;
    GetWindowRect(control, &copy.box);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&copy.box), 2);
    copy.font = SendMessageA(control, WM_GETFONT, 0, 0) != 0;
    reinterpret_cast<std::vector<ControlCopy>*>(copies)->push_back(copy);
    return TRUE;
}

// Start-up within the process, and its floor: the main window and page of a Text quiz of this many
// questions made, shown and painted as the program makes them; then the same controls made bare (same
// classes, styles, places, texts and fonts) on a plain window of the page's size, nothing judged,
// read or subclassed, shown and painted. Each until its messages, the first paint among them, are
// done.
void pageStartMs(int questions, double* player, double* bare) {
    OpenQuiz open;
    const double start = nowMs();
    openQuiz(&open, QuizKind::Text, RevealMode::None, false, questions);
    *player = nowMs() - start;
    std::vector<ControlCopy> copies;
    EnumChildWindows(open.page, copyControl, reinterpret_cast<LPARAM>(&copies));
    // A window whose client area is the page's, where the controls sit as on the page.
    RECT frame;
    GetClientRect(open.page, &frame);
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    closeQuiz(&open);
    pumpMessages();

    const double bareStart = nowMs();
    HWND window = CreateWindowExA(0, "Static", "", WS_OVERLAPPEDWINDOW, 100, 100, frame.right - frame.left,
                                  frame.bottom - frame.top, nullptr, nullptr, g_instance, nullptr);
    const WPARAM font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    for (const ControlCopy& copy : copies) {
        HWND control = CreateWindowExA(0, copy.className, copy.text, copy.style, copy.box.left, copy.box.top,
                                       copy.box.right - copy.box.left, copy.box.bottom - copy.box.top, window,
                                       nullptr, g_instance, nullptr);
        if (copy.font) SendMessageA(control, WM_SETFONT, font, FALSE);
    }
    ShowWindow(window, SW_SHOWNORMAL);
    pumpMessages();
    *bare = nowMs() - bareStart;
    DestroyWindow(window);
    pumpMessages();
}

// The 90-question page less the 1-question one, for the player and for its bare controls, round by
// round.
void pageStartsMs(int rounds, Timing* player, Timing* bare) {
    std::vector<double> players;
    std::vector<double> bares;
    for (int i = 0; i < rounds; ++i) {
        double largePlayer = 0, largeBare = 0, smallPlayer = 0, smallBare = 0;
        pageStartMs(QUESTIONS, &largePlayer, &largeBare);
        pageStartMs(1, &smallPlayer, &smallBare);
        players.push_back(largePlayer - smallPlayer);
        bares.push_back(largeBare - smallBare);
    }
    *player = timing(players);
    *bare = timing(bares);
}

// EnumThreadWindows calls back with the platform's convention (stdcall in the 32-bit build), which a
// lambda does not have.
BOOL CALLBACK closeWindow(HWND window, LPARAM) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}

// After a quiz program ends, Wine goes on for a while tearing down its windows in the server and on the
// display; a program started meanwhile shares the machine with that (it measured 2 to 3 times as slow
// here), which no player starting a quiz meets.
const DWORD SETTLE_AFTER_EXIT_MS = 500;

// Start of a quiz program until its message loop first waits for input, then closed as a user would;
// -1 when it cannot be started.
double startUpOnceMs(const char* program, const char* folder) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string commandLine = std::string("\"") + program + "\"";
    const double start = nowMs();
    if (!CreateProcessA(program, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder, &startup, &process))
        return -1;
    WaitForInputIdle(process.hProcess, 60000);
    const double elapsed = nowMs() - start;
    EnumThreadWindows(process.dwThreadId, closeWindow, 0);
    WaitForSingleObject(process.hProcess, 60000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    Sleep(SETTLE_AFTER_EXIT_MS);
    return elapsed;
}

// The large and the small quiz started in turn, so both meet the same load, and the difference taken
// round by round: other programs on the machine move both starts of a round alike.
void startUpMs(const char* large, const char* small, int rounds, Timing* largeStart, Timing* smallStart,
               Timing* difference) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::vector<double> larges;
    std::vector<double> smalls;
    std::vector<double> differences;
    for (int i = 0; i < rounds; ++i) {
        const double l = startUpOnceMs(large, folder);
        const double m = startUpOnceMs(small, folder);
        if (l < 0 || m < 0) break;
        larges.push_back(l);
        smalls.push_back(m);
        differences.push_back(l - m);
    }
    if (differences.empty()) {
        *largeStart = *smallStart = *difference = {-1, -1};
        return;
    }
    *largeStart = timing(larges);
    *smallStart = timing(smalls);
    *difference = timing(differences);
}

}  // namespace

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    const bool shortRun = argc > 1 && std::strcmp(argv[1], "--short") == 0;
    const int first = shortRun ? 2 : 1;
    const int rounds = shortRun ? 1 : 9;
    g_instance = GetModuleHandleA(nullptr);
    // The pictures of the Picture quiz: one JPEG of 520 x 390 as every question and answer picture.
    g_resourceModule = LoadLibraryA("play_bench_pictures.dll");
    if (g_resourceModule == nullptr || !registerMainWindowClass()) {
        std::printf("play_bench: cannot load play_bench_pictures.dll or register the window class\n");
        return 1;
    }
    // Which machine: the figures only compare with others from the same build, platform and cores.
    using WineVersion = const char*(CDECL*)();
    const auto wineVersion = reinterpret_cast<WineVersion>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")));
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    std::printf("%d-bit build, %s %s, %lu processors\n", static_cast<int>(sizeof(void*) * 8),
                wineVersion != nullptr ? "Wine" : "Windows", wineVersion != nullptr ? wineVersion() : "",
                static_cast<unsigned long>(system.dwNumberOfProcessors));
    std::printf("%s, %d round%s, milliseconds: median (best)\n", shortRun ? "short run" : "full run", rounds,
                rounds == 1 ? "" : "s");
    Timing f1Text;
    Timing textPeer;
    f1TextMs(rounds, &f1Text, &textPeer);
    std::printf("F1 in one field, tried in all 180 fields (Text): %.1f (%.1f)\n", f1Text.median, f1Text.best);
    std::printf("  its 180 texts set and selections alone: %.1f (%.1f)\n", textPeer.median, textPeer.best);
    Timing f1;
    Timing decode;
    f1PicturesMs(rounds, &f1, &decode);
    std::printf("F1 solving 90 Picture questions with answer pictures: %.1f (%.1f)\n", f1.median, f1.best);
    std::printf("  the 90 answer pictures decoded alone: %.1f (%.1f); ratio %.2f (%.2f)\n", decode.median,
                decode.best, f1.median / decode.median, f1.best / decode.best);
    Timing inView;
    Timing beyondView;
    Timing scroll;
    tabMs(rounds * 4, &inView, &beyondView, &scroll);
    std::printf("Tab to a field on screen: %.2f (%.2f)\n", inView.median, inView.best);
    std::printf("Tab to a field off screen (the page scrolls): %.2f (%.2f)\n", beyondView.median, beyondView.best);
    std::printf("  one scroll of the page alone: %.2f (%.2f)\n", scroll.median, scroll.best);
    Timing pagePlayer;
    Timing pageBare;
    pageStartsMs(rounds, &pagePlayer, &pageBare);
    std::printf("The 90-question page made, shown and painted, less the 1-question one: %.0f (%.0f)\n",
                pagePlayer.median, pagePlayer.best);
    std::printf("  its controls made bare on a plain window, shown and painted: %.0f (%.0f)\n", pageBare.median,
                pageBare.best);
    if (argc >= first + 2) {
        Timing big;
        Timing small;
        Timing difference;
        startUpMs(argv[first], argv[first + 1], rounds, &big, &small, &difference);
        std::printf("Start-up, 90-question Text quiz: %.0f (%.0f); 1-question quiz: %.0f (%.0f); difference, round "
                    "by round: %.0f (%.0f)\n",
                    big.median, big.best, small.median, small.best, difference.median, difference.best);
    }
    FreeLibrary(g_resourceModule);
    return 0;
}
