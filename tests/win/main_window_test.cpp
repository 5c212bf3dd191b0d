// The main window on the real platform: the class, the header's controls (place, size, text, font,
// colours), the page and version label on resize, and the keys, wheel notches and close request that
// reach the main window.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "content/quiz.h"
#include "player/answers_file_testing.h"
#include "player/ids.h"
#include "player/main_window.h"
#include "player/window_state.h"
#include "tests/win/controls.h"

namespace {

Quiz g_testQuiz;

// A Text quiz of three questions; the title carries an accent to check code page 1252 end to end.
void fillQuiz(int questions) {
    clearQuestions(&g_testQuiz);
    initQuiz(&g_testQuiz);
    g_testQuiz.kind = QuizKind::Text;
    copyText(g_testQuiz.title, "Capitales d'\xE9t\xE9");
    copyText(g_testQuiz.author, "Auteur");
    copyText(g_testQuiz.description, "Trouvez la capitale de chaque pays.");
    g_testQuiz.slotsPerQuestion = 1;
    for (int q = 1; q <= questions; ++q) appendQuestion(&g_testQuiz, "PARIS", "", "France");
    g_testQuiz.questionCount = questions;
    g_quiz = &g_testQuiz;
}

// The main window alone, as createMainWindow makes it but without the page: the header's initial
// texts stay as buildHeader wrote them.
HWND createBareMainWindow() {
    return CreateWindowExA(0, MAIN_WINDOW_CLASS, g_quiz->title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, 870, 650, nullptr, nullptr, g_instance, nullptr);
}

// Stands in for the page: records every WM_VSCROLL it receives.
struct ScrollRequest {
    WPARAM code;
    LPARAM lParam;
};
std::vector<ScrollRequest> g_scrollRequests;

LRESULT CALLBACK fakePageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_VSCROLL) {
        g_scrollRequests.push_back({wParam, lParam});
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void pumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

class MainWindowTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        g_instance = GetModuleHandleA(nullptr);
        initQuiz(&g_testQuiz);
        ASSERT_TRUE(registerMainWindowClass());
        WNDCLASSA fake = {};
        fake.lpfnWndProc = fakePageProc;
        fake.hInstance = g_instance;
        fake.lpszClassName = "FakePage";
        ASSERT_NE(RegisterClassA(&fake), 0);
    }

    void SetUp() override {
        fillQuiz(3);
        g_pageDialog = nullptr;
        g_scrollRequests.clear();
    }

    void TearDown() override {
        for (HWND window : created) DestroyWindow(window);
        g_pageDialog = nullptr;
        pumpMessages();
    }

    HWND keep(HWND window) {
        created.push_back(window);
        return window;
    }

    // A main window whose page is the recording stand-in.
    HWND mainWithFakePage() {
        HWND main = keep(createBareMainWindow());
        g_pageDialog = keep(CreateWindowExA(0, "FakePage", "", WS_CHILD, 0, 0, 10, 10, main, nullptr, g_instance,
                                            nullptr));
        return main;
    }

    std::vector<HWND> created;
};

TEST_F(MainWindowTest, RegistrationFailsWhenTheClassExistsAlready) {
    // The suite registered it; a second registration is what a failure looks like to WinMain.
    EXPECT_FALSE(registerMainWindowClass());
}

TEST_F(MainWindowTest, ClassHasTheDoubleClickStyleScrollbarColourAndStockIconAndCursor) {
    WNDCLASSEXA info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetClassInfoExA(g_instance, "WindowsApp", &info));
    EXPECT_EQ(info.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_EQ(info.lpfnWndProc, mainWindowProc);
    EXPECT_EQ(info.cbClsExtra, 0);
    EXPECT_EQ(info.cbWndExtra, 0);
    EXPECT_EQ(info.hbrBackground, reinterpret_cast<HBRUSH>(1));
    EXPECT_EQ(info.hIcon, LoadIconA(nullptr, IDI_APPLICATION));
    EXPECT_EQ(info.hCursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(info.lpszMenuName, nullptr);
}

TEST_F(MainWindowTest, HeaderControlsSitWhereTheyShouldWithTheirTextsAndStyles) {
    HWND main = keep(createBareMainWindow());
    ASSERT_NE(main, nullptr);
    RECT client;
    GetClientRect(main, &client);

    struct Expected {
        int id;
        const char* text;
        DWORD style;
        Box box;
    };
    const DWORD base = WS_CHILD | WS_VISIBLE;
    const Expected expected[] = {
        {ID_VERSION_LABEL, "R\xE9" "alis\xE9" " avec la version 2.1", base, {725, client.bottom - 16, 130, 15}},
        {ID_HEADER_BOX1, "", base | WS_BORDER, {5, 2, 100, 24}},
        {ID_HEADER_BOX2, "", base | WS_BORDER, {5, 25, 100, 22}},
        {ID_HEADER_BOX3, "", base | WS_BORDER, {104, 2, 623, 45}},
        {ID_HEADER_BOX4, "", base | WS_BORDER, {726, 2, 130, 45}},
        {ID_CODE_LABEL, " Code :", base, {10, 29, 36, 15}},
        {ID_CODE_VALUE, " xxxxxx", base, {47, 28, 55, 16}},
        {ID_SCORE, " 0 / 3", base | SS_CENTER, {10, 5, 90, 18}},
        {ID_WEBSITE_LINK, "https://trivo.fr", base | SS_NOTIFY, {736, 5, 115, 18}},
        {ID_SCORE, "Par :", base, {736, 25, 27, 18}},
        {ID_SCORE, "Auteur", base, {763, 25, 85, 18}},
        {ID_SCORE, "Capitales d'\xE9t\xE9", base, {110, 3, 220, 18}},
        {ID_SCORE, "Trouvez la capitale de chaque pays.", base, {110, 19, 580, 27}},
    };
    const std::vector<HWND> children = childWindows(main);
    ASSERT_EQ(children.size(), std::size(expected));
    for (size_t i = 0; i < children.size(); ++i) {
        SCOPED_TRACE("control " + std::to_string(i + 1));
        HWND child = children[i];
        EXPECT_EQ(classOf(child), "Static");
        EXPECT_EQ(GetWindowLongA(child, GWL_ID), expected[i].id);
        EXPECT_EQ(textOf(child), expected[i].text);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE)), expected[i].style);
        EXPECT_EQ(GetWindowLongA(child, GWL_EXSTYLE), 0);
        EXPECT_EQ(boxOf(main, child), expected[i].box);
    }
    EXPECT_EQ(textOf(main), "Capitales d'\xE9t\xE9");
}

TEST_F(MainWindowTest, GuiFontOnLabelsSystemFontOnScoreAndTitleNoneOnBoxes) {
    HWND main = keep(createBareMainWindow());
    const std::vector<HWND> children = childWindows(main);
    ASSERT_EQ(children.size(), 13u);
    const HGDIOBJ gui = GetStockObject(DEFAULT_GUI_FONT);
    // Creation order: version, four boxes, code caption, code value, score, link, "Par :", author,
    // title, description.
    const bool hasGuiFont[] = {true, false, false, false, false, true, true, false, false, true, true, false, true};
    for (size_t i = 0; i < children.size(); ++i) {
        if (i == 8) continue;  // the link has its own font, below
        SCOPED_TRACE("control " + std::to_string(i + 1));
        const HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(children[i], WM_GETFONT, 0, 0));
        EXPECT_EQ(font, hasGuiFont[i] ? gui : nullptr);
    }
}

TEST_F(MainWindowTest, LinkHasAnUnderlinedFontThreeQuartersOfItsHeightAndTheHandCursor) {
    HWND main = keep(createBareMainWindow());
    HWND link = GetDlgItem(main, ID_WEBSITE_LINK);
    ASSERT_NE(link, nullptr);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(link, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTA logFont = {};
    ASSERT_EQ(GetObjectA(font, sizeof logFont, &logFont), static_cast<int>(sizeof logFont));
    EXPECT_EQ(logFont.lfHeight, -13);
    EXPECT_EQ(logFont.lfWeight, FW_NORMAL);
    EXPECT_EQ(logFont.lfUnderline, 1);
    EXPECT_EQ(logFont.lfItalic, 0);
    EXPECT_EQ(logFont.lfCharSet, 0);
    EXPECT_STREQ(logFont.lfFaceName, "");

    HCURSOR hand = LoadCursorA(g_instance, MAKEINTRESOURCEA(IDC_LINK_CURSOR));
    ASSERT_NE(hand, nullptr);
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(link, GCLP_HCURSOR)), hand);
    // A two-colour cursor: only a mask bitmap, twice the height, with its hot spot on the fingertip.
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(hand, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 6u);
    EXPECT_EQ(info.yHotspot, 0u);
    EXPECT_EQ(info.hbmColor, nullptr);
    BITMAP mask = {};
    ASSERT_NE(GetObjectA(info.hbmMask, sizeof mask, &mask), 0);
    EXPECT_EQ(mask.bmWidth, 32);
    EXPECT_EQ(mask.bmHeight, 64);
    DeleteObject(info.hbmMask);
}

// Text colour and background mode a WM_CTLCOLORSTATIC leaves on a fresh device context, and the colour
// of the brush it returns (-1 for no brush).
struct Painted {
    COLORREF text;
    int mode;
    long brush;
};

Painted paintColours(HWND main, HWND control) {
    HDC dc = CreateCompatibleDC(nullptr);
    // Sentinels, so that "left alone" is told apart from "set to black".
    SetTextColor(dc, 0x00123456);
    SetBkMode(dc, OPAQUE);
    HBRUSH brush = reinterpret_cast<HBRUSH>(
        SendMessageA(main, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    Painted painted = {GetTextColor(dc), GetBkMode(dc), -1};
    LOGBRUSH logBrush = {};
    if (brush != nullptr && GetObjectA(brush, sizeof logBrush, &logBrush) == sizeof logBrush) {
        painted.brush = static_cast<long>(logBrush.lbColor);
    }
    DeleteDC(dc);
    return painted;
}

TEST_F(MainWindowTest, HeaderColoursByIdentifier) {
    HWND main = keep(createBareMainWindow());
    const std::vector<HWND> children = childWindows(main);
    ASSERT_EQ(children.size(), 13u);
    for (size_t i = 0; i < children.size(); ++i) {
        SCOPED_TRACE("control " + std::to_string(i + 1) + " id " + std::to_string(GetWindowLongA(children[i], GWL_ID)));
        const Painted painted = paintColours(main, children[i]);
        EXPECT_EQ(painted.mode, TRANSPARENT);
        switch (GetWindowLongA(children[i], GWL_ID)) {
        case ID_VERSION_LABEL:
            EXPECT_EQ(painted.text, 0x00000000u);
            EXPECT_EQ(painted.brush, 0x00C8D0D4);
            break;
        case ID_WEBSITE_LINK:
            EXPECT_EQ(painted.text, 0x00FF3232u);
            EXPECT_EQ(painted.brush, 0x00FF8080);
            break;
        default:
            EXPECT_EQ(painted.text, 0x00123456u);
            EXPECT_EQ(painted.brush, 0x00FF8080);
            break;
        }
    }
}

TEST_F(MainWindowTest, ColourHandlerLeavesOtherControlsAloneAndReusesItsBrushes) {
    HWND main = keep(createBareMainWindow());
    HWND stranger = CreateWindowExA(0, "Static", "x", WS_CHILD, 0, 0, 5, 5, main,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(999)), g_instance, nullptr);
    const Painted painted = paintColours(main, stranger);
    EXPECT_EQ(painted.brush, -1);
    EXPECT_EQ(painted.text, 0x00123456u);
    EXPECT_EQ(painted.mode, OPAQUE);

    // Every repaint asks again: the same brush comes back each time instead of a new one.
    HDC dc = CreateCompatibleDC(nullptr);
    const LPARAM box = reinterpret_cast<LPARAM>(GetDlgItem(main, ID_HEADER_BOX1));
    const LPARAM version = reinterpret_cast<LPARAM>(GetDlgItem(main, ID_VERSION_LABEL));
    const WPARAM dcParam = reinterpret_cast<WPARAM>(dc);
    const LRESULT first = SendMessageA(main, WM_CTLCOLORSTATIC, dcParam, box);
    EXPECT_EQ(SendMessageA(main, WM_CTLCOLORSTATIC, dcParam, box), first);
    const LRESULT firstVersion = SendMessageA(main, WM_CTLCOLORSTATIC, dcParam, version);
    EXPECT_EQ(SendMessageA(main, WM_CTLCOLORSTATIC, dcParam, version), firstVersion);
    EXPECT_NE(first, firstVersion);
    DeleteDC(dc);
}

TEST_F(MainWindowTest, QuizWithoutQuestionsShowsZeroOfZero) {
    fillQuiz(0);
    HWND main = keep(createBareMainWindow());
    EXPECT_EQ(textOf(GetDlgItem(main, ID_SCORE)), " 0 / 0");
    EXPECT_EQ(textOf(GetDlgItem(main, ID_CODE_VALUE)), " xxxxxx");
}

TEST_F(MainWindowTest, CreationFixesThePageExtentsAndTheQuestionIcon) {
    fillQuiz(3);
    g_testQuiz.slotsPerQuestion = 2;
    HWND main = keep(createBareMainWindow());
    EXPECT_EQ(g_pageWidth, 980);
    EXPECT_EQ(g_pageHeight, 120);  // three Text rows and the captions' line above them
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(main, WM_GETICON, ICON_BIG, 0)), LoadIconA(nullptr, IDI_QUESTION));

    fillQuiz(4);
    g_testQuiz.kind = QuizKind::Picture;
    g_testQuiz.revealMode = RevealMode::AnswerPicture;
    keep(createBareMainWindow());
    EXPECT_EQ(g_pageWidth, 890);
    EXPECT_EQ(g_pageHeight, 2 * 330 + 25);
}

TEST_F(MainWindowTest, CreateMainWindowCentresTheWindowAndMakesTheHiddenPage) {
    HWND main = keep(createMainWindow());
    ASSERT_NE(main, nullptr);
    ASSERT_NE(g_pageDialog, nullptr);
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    RECT window;
    GetWindowRect(main, &window);
    EXPECT_EQ(window.right - window.left, 870);
    EXPECT_EQ(window.bottom - window.top, 650);
    EXPECT_EQ(window.left, desktop.left + ((desktop.right - desktop.left) - 870) / 2);
    EXPECT_EQ(window.top, desktop.top + ((desktop.bottom - desktop.top) - 650) / 2);

    EXPECT_EQ(GetParent(g_pageDialog), main);
    EXPECT_EQ(classOf(g_pageDialog), "#32770");
    const DWORD style = static_cast<DWORD>(GetWindowLongA(g_pageDialog, GWL_STYLE));
    const DWORD wanted = WS_CHILD | WS_BORDER | WS_VSCROLL | WS_HSCROLL | DS_SETFONT;
    EXPECT_EQ(style & wanted, wanted);
    EXPECT_EQ(style & WS_VISIBLE, 0u);
    // The page judged its fields while it was built; with nothing typed the score stays at 0.
    EXPECT_EQ(textOf(GetDlgItem(main, ID_SCORE)), " 0 / 3");
    EXPECT_NE(GetDlgItem(g_pageDialog, ID_ANSWER_BASE + 3), nullptr);
}

TEST_F(MainWindowTest, ResizingPlacesThePageAndTheVersionLabelOnly) {
    HWND main = keep(createMainWindow());
    HWND version = GetDlgItem(main, ID_VERSION_LABEL);
    HWND box4 = GetDlgItem(main, ID_HEADER_BOX4);
    const struct { int width, height; } sizes[] = {{700, 500}, {1000, 720}, {870, 650}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height));
        SetWindowPos(main, nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER);
        RECT client;
        GetClientRect(main, &client);
        const int w = client.right;
        const int h = client.bottom;
        EXPECT_EQ(boxOf(main, g_pageDialog), (Box{5, 50, w - 11, h - 68}));
        EXPECT_EQ(boxOf(main, version), (Box{w - 145, h - 16, 130, 15}));
        EXPECT_EQ(boxOf(main, box4), (Box{726, 2, 130, 45}));
    }
}

TEST_F(MainWindowTest, ScoreWrittenByIdentifierReachesTheScoreLabelOnly) {
    HWND main = keep(createBareMainWindow());
    SetDlgItemTextA(main, ID_SCORE, " 2 / 3");
    std::vector<std::string> texts;
    for (HWND child : childWindows(main)) {
        if (GetWindowLongA(child, GWL_ID) == ID_SCORE) texts.push_back(textOf(child));
    }
    const std::vector<std::string> expected = {" 2 / 3", "Par :", "Auteur", "Capitales d'\xE9t\xE9",
                                               "Trouvez la capitale de chaque pays."};
    EXPECT_EQ(texts, expected);
}

TEST_F(MainWindowTest, OneWheelNotchIsPostedAsALineScroll) {
    HWND main = mainWithFakePage();
    SendMessageA(main, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    // Posted, not sent: nothing reaches the page until the queue is read.
    EXPECT_TRUE(g_scrollRequests.empty());
    pumpMessages();
    ASSERT_EQ(g_scrollRequests.size(), 1u);
    EXPECT_EQ(g_scrollRequests[0].code, static_cast<WPARAM>(SB_LINEUP));
    EXPECT_EQ(g_scrollRequests[0].lParam, 0);

    g_scrollRequests.clear();
    SendMessageA(main, WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, 0xFF88), MAKELPARAM(100, 100));
    pumpMessages();
    ASSERT_EQ(g_scrollRequests.size(), 1u);
    EXPECT_EQ(g_scrollRequests[0].code, static_cast<WPARAM>(SB_LINEDOWN));
}

TEST_F(MainWindowTest, OtherWheelDeltasScrollNothing) {
    HWND main = mainWithFakePage();
    for (WORD delta : {WORD(240), WORD(60), WORD(0xFF10), WORD(0)}) {
        SendMessageA(main, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), 0);
    }
    pumpMessages();
    EXPECT_TRUE(g_scrollRequests.empty());
}

TEST_F(MainWindowTest, PageKeysAreSentAsScrollCodes) {
    HWND main = mainWithFakePage();
    const struct { WPARAM key; WPARAM code; } table[] = {
        {VK_PRIOR, SB_PAGEUP}, {VK_NEXT, SB_PAGEDOWN}, {VK_END, SB_BOTTOM},
        {VK_HOME, SB_TOP},     {VK_UP, SB_LINEUP},     {VK_DOWN, SB_LINEDOWN},
    };
    for (const auto& row : table) {
        SCOPED_TRACE("key " + std::to_string(row.key));
        g_scrollRequests.clear();
        SendMessageA(main, WM_KEYDOWN, row.key, 0x00470001);
        // Sent: the page has handled it by the time WM_KEYDOWN returns.
        ASSERT_EQ(g_scrollRequests.size(), 1u);
        EXPECT_EQ(g_scrollRequests[0].code, row.code);
        EXPECT_EQ(g_scrollRequests[0].lParam, 0);
    }
}

TEST_F(MainWindowTest, OtherKeysAndAMissingPageDoNothing) {
    HWND main = mainWithFakePage();
    for (WPARAM key : {WPARAM(VK_LEFT), WPARAM(VK_RIGHT), WPARAM(VK_TAB), WPARAM(VK_RETURN), WPARAM('A')}) {
        SendMessageA(main, WM_KEYDOWN, key, 0);
    }
    pumpMessages();
    EXPECT_TRUE(g_scrollRequests.empty());

    // Before the page exists the handlers have nowhere to send to.
    HWND page = g_pageDialog;
    g_pageDialog = nullptr;
    SendMessageA(main, WM_KEYDOWN, VK_HOME, 0);
    SendMessageA(main, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    pumpMessages();
    EXPECT_TRUE(g_scrollRequests.empty());
    g_pageDialog = page;
}

TEST_F(MainWindowTest, CloseSavesTheAnswersDeletesTheSoundFileAndQuitsWithZero) {
    HWND main = keep(createMainWindow());
    ASSERT_NE(g_pageDialog, nullptr);
    SetDlgItemTextA(g_pageDialog, ID_ANSWER_BASE + 2, "Rome");
    char answers[MAX_PATH];
    answersFileName(answers, sizeof answers);
    DeleteFileA(answers);
    FILE* sound = std::fopen("trivo.mp3", "wb");
    ASSERT_NE(sound, nullptr);
    std::fputs("ID3", sound);
    std::fclose(sound);

    SendMessageA(main, WM_CLOSE, 0, 0);

    EXPECT_EQ(GetFileAttributesA("trivo.mp3"), INVALID_FILE_ATTRIBUTES);
    std::ifstream saved(answers, std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, "*\r\nRome\r\n*\r\n");
    // The window is left alone; the loop learns of the close from WM_QUIT.
    EXPECT_TRUE(IsWindow(main));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);
    saved.close();
    DeleteFileA(answers);
}

TEST_F(MainWindowTest, CloseWithoutASoundFileStillQuits) {
    HWND main = keep(createMainWindow());
    DeleteFileA("trivo.mp3");
    SendMessageA(main, WM_CLOSE, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);
    char answers[MAX_PATH];
    answersFileName(answers, sizeof answers);
    DeleteFileA(answers);
}

// The program's own resources, compiled into this test as into the player.
TEST(PlayerResources, PageTemplateAndProgramIconArePresent) {
    HMODULE self = GetModuleHandleA(nullptr);
    EXPECT_NE(FindResourceA(self, MAKEINTRESOURCEA(IDD_PAGE), MAKEINTRESOURCEA(5)), nullptr);  // RT_DIALOG
    HRSRC group = FindResourceA(self, "A", MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    ASSERT_NE(group, nullptr);
    // One 16 x 16 image of 16 colours: GRPICONDIR (6 bytes) then one 14-byte entry.
    const unsigned char* dir = static_cast<const unsigned char*>(LockResource(LoadResource(self, group)));
    ASSERT_EQ(SizeofResource(self, group), 20u);
    EXPECT_EQ(dir[4], 1);
    EXPECT_EQ(dir[6], 16);
    EXPECT_EQ(dir[7], 16);
    EXPECT_EQ(dir[8], 16);
}

// The colour at the middle of an icon drawn at its own size over white.
COLORREF iconCentre(int id) {
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
    if (icon == nullptr) return CLR_INVALID;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 32, 32);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, 32, 32};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawIconEx(dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
    const COLORREF centre = GetPixel(dc, 16, 16);
    const COLORREF corner = GetPixel(dc, 1, 1);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    // The corner is transparent: it shows the white underneath.
    return corner == 0x00FFFFFF ? centre : CLR_INVALID;
}

TEST(PlayerResources, PlayIconIsGreenAndStopIconIsRed) {
    EXPECT_EQ(iconCentre(IDI_PLAY), 0x0000FF00u);
    EXPECT_EQ(iconCentre(IDI_STOP), 0x000000FFu);
}

}  // namespace
