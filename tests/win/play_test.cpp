// Playing a quiz on the real platform: the answer fields' keys (Tab, Shift+Tab, Enter, F1, page keys),
// the page's scrolling by every scroll code, resizing and the wheel, the page's colours, and the page
// following the focus. The main window and page are made as the program makes them.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "checking/matcher.h"
#include "content/quiz.h"
#include "player/answer_field.h"
#include "player/answers_file_testing.h"
#include "player/field_evaluation.h"
#include "player/ids.h"
#include "player/main_window.h"
#include "player/page.h"
#include "player/platform_win32.h"
#include "player/window_state.h"
#include "tests/win/controls.h"

namespace {

const COLORREF QUIZ_BACKGROUND = RGB(232, 240, 255);

void pumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void holdShift(bool held) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = held ? 0x80 : 0;
    keys[VK_LSHIFT] = held ? 0x80 : 0;
    SetKeyboardState(keys);
}

COLORREF brushColour(INT_PTR brush) {
    LOGBRUSH info{};
    EXPECT_EQ(GetObjectA(reinterpret_cast<HGDIOBJ>(brush), sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.lbStyle, static_cast<UINT>(BS_SOLID));
    return info.lbColor;
}

class Play : public testing::Test {
protected:
    Quiz quiz;
    HWND main = nullptr;
    HWND page = nullptr;
    char answersFile[MAX_PATH];

    static void SetUpTestSuite() {
        g_instance = GetModuleHandleA(nullptr);
        registerMainWindowClass();
    }

    void SetUp() override {
        g_resourceModule = nullptr;
        initQuiz(&quiz);
        quiz.backgroundColour = QUIZ_BACKGROUND;
        quiz.backgroundBrush = CreateSolidBrush(QUIZ_BACKGROUND);
        g_quiz = &quiz;
        answersFileName(answersFile, MAX_PATH);
        DeleteFileA(answersFile);
        holdShift(false);
    }

    void TearDown() override {
        holdShift(false);
        if (main != nullptr) DestroyWindow(main);
        pumpMessages();
        g_pageDialog = nullptr;
        clearQuestions(&quiz);
        DeleteObject(static_cast<HBRUSH>(quiz.backgroundBrush));
        g_quiz = nullptr;
        DeleteFileA(answersFile);
    }

    // A quiz of count questions answered "r1", "r2", ... (and "s1", ... in slot 2), shown as the
    // program shows it.
    void open(QuizKind kind, int slots, RevealMode reveal, int count) {
        quiz.kind = kind;
        quiz.slotsPerQuestion = slots;
        quiz.revealMode = reveal;
        quiz.questionCount = count;
        copyText(quiz.caption1, "Un");
        copyText(quiz.caption2, "Deux");
        for (int q = 1; q <= count; ++q) {
            const std::string n = std::to_string(q);
            appendQuestion(&quiz, ("r" + n).c_str(), ("s" + n).c_str(), ("Question " + n).c_str());
        }
        main = createMainWindow();
        ASSERT_NE(main, nullptr);
        page = g_pageDialog;
        ASSERT_NE(page, nullptr);
        ShowWindow(main, SW_SHOWNORMAL);
        ShowWindow(page, SW_SHOWNORMAL);
        pumpMessages();
    }

    // Gives the page a client area of exactly width x height (both bars always show, disabled or not).
    void setClient(int width, int height) {
        RECT outer;
        RECT inner;
        GetWindowRect(page, &outer);
        GetClientRect(page, &inner);
        const int extraWidth = (outer.right - outer.left) - inner.right;
        const int extraHeight = (outer.bottom - outer.top) - inner.bottom;
        SetWindowPos(page, nullptr, 0, 0, width + extraWidth, height + extraHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT client;
        GetClientRect(page, &client);
        ASSERT_EQ(client.right, width);
        ASSERT_EQ(client.bottom, height);
    }

    HWND item(int id) { return GetDlgItem(page, id); }
    std::string text(int id) { return textOf(item(id)); }
    int vertical() { return GetScrollPos(page, SB_VERT); }
    int horizontal() { return GetScrollPos(page, SB_HORZ); }
    POINT at(int id) {
        RECT r;
        GetWindowRect(item(id), &r);
        MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
        return {r.left, r.top};
    }
    int focusedId() { return GetFocus() != nullptr ? GetDlgCtrlID(GetFocus()) : 0; }

    void vscroll(int code, int thumb = 0) { SendMessageA(page, WM_VSCROLL, MAKEWPARAM(code, thumb), 0); }
    void hscroll(int code, int thumb = 0) { SendMessageA(page, WM_HSCROLL, MAKEWPARAM(code, thumb), 0); }
    LRESULT keyUp(int id, WPARAM key) { return SendMessageA(item(id), WM_KEYUP, key, 0xC0000001); }
    void tab(int id) { keyUp(id, VK_TAB); }

    // The field and its verdict label lie wholly inside the client area.
    void expectFieldInView(int id) {
        RECT client;
        GetClientRect(page, &client);
        for (int control : {id, id + (ID_VERDICT_BASE - ID_ANSWER_BASE)}) {
            RECT r;
            GetWindowRect(item(control), &r);
            MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
            EXPECT_GE(r.left, 0) << control;
            EXPECT_GE(r.top, 0) << control;
            EXPECT_LE(r.right, client.right) << control;
            EXPECT_LE(r.bottom, client.bottom) << control;
        }
    }

    // The content sits where the scroll positions say: answer field 1 at its page place minus them.
    void expectContentAt(int id, int pageX, int pageY) {
        POINT p = at(id);
        EXPECT_EQ(p.x, pageX - horizontal());
        EXPECT_EQ(p.y, pageY - vertical());
    }

    // What a static painting itself gets back from the page (through the dialog's default handling).
    INT_PTR labelColour(int id, HDC dc) {
        return SendMessageA(page, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(item(id)));
    }
    // The page's own answer, before the dialog's default handling.
    INT_PTR pageColour(int id, HDC dc) {
        return pageDialogProc(page, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                              reinterpret_cast<LPARAM>(item(id)));
    }
    // The platform's own colours for a static.
    INT_PTR defaultColour(int id, HDC dc) {
        return DefWindowProcA(page, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                              reinterpret_cast<LPARAM>(item(id)));
    }
};

// --- Tab, Shift+Tab and the wrap -------------------------------------------------------------------

TEST_F(Play, TabJudgesTheFieldMovesOnAndWrapsToFieldOneShowingTheTop) {
    open(QuizKind::Picture, 1, RevealMode::Comment, 51);
    setClient(840, 550);
    SetFocus(item(4001));
    SetWindowTextA(item(4001), "r1");
    tab(4001);
    EXPECT_EQ(focusedId(), 4002);
    EXPECT_EQ(text(5001), "BRAVO");
    EXPECT_EQ(textOf(GetDlgItem(main, ID_SCORE)), " 1 / 51");
    // No Tab character went into the field.
    EXPECT_EQ(text(4001), "r1");

    // From the last field (page at its bottom) back to field 1, and the page shows its very top (the
    // least scroll that would show question 1 stops 10 pixels short of it).
    vscroll(SB_BOTTOM);
    ASSERT_EQ(vertical(), 6105);
    SetFocus(item(4051));
    SetWindowTextA(item(4051), "r51");
    tab(4051);
    EXPECT_EQ(focusedId(), 4001);
    EXPECT_EQ(text(5051), "BRAVO");
    EXPECT_EQ(vertical(), 0);
    expectContentAt(4001, 30, 290);
}

TEST_F(Play, TabInATwoSlotQuizGoesThroughBothSlotsOfEachQuestion) {
    open(QuizKind::Picture, 2, RevealMode::Comment, 3);
    SetFocus(item(4003));
    tab(4003);
    EXPECT_EQ(focusedId(), 4004);
    tab(4004);
    EXPECT_EQ(focusedId(), 4005);
    tab(4006);
    EXPECT_EQ(focusedId(), 4001);
}

TEST_F(Play, ShiftTabMovesBackAndShowsTheTopOnReachingFieldOne) {
    open(QuizKind::Picture, 1, RevealMode::Comment, 51);
    setClient(840, 550);
    SetFocus(item(4002));
    // Scrolled a little: field 2 still in view, so only the move to field 1 can bring the top back.
    scrollPageTo(page, SB_VERT, 100);
    holdShift(true);
    tab(4002);
    EXPECT_EQ(focusedId(), 4001);
    EXPECT_EQ(vertical(), 0);
    expectContentAt(4001, 30, 290);
}

TEST_F(Play, ShiftTabOnFieldOneWrapsToTheLastWithoutShowingTheTopFirst) {
    open(QuizKind::Text, 1, RevealMode::Comment, 30);
    setClient(840, 550);
    // At the bottom, field 30 is in view: going to it must not scroll (showing the top first would
    // leave the page at 215, the least scroll that brings row 30 back).
    vscroll(SB_BOTTOM);
    ASSERT_EQ(vertical(), 225);
    SetFocus(item(4001));
    holdShift(true);
    tab(4001);
    EXPECT_EQ(focusedId(), 4030);
    EXPECT_EQ(vertical(), 225);
    expectFieldInView(4030);

    // Nor from a scroll position that hides field 30 (its row is 734..755 on the page): the wrap
    // leaves the page where it is.
    scrollPageTo(page, SB_VERT, 5);
    SetFocus(item(4001));
    tab(4001);
    EXPECT_EQ(focusedId(), 4030);
    EXPECT_EQ(vertical(), 5);
    expectContentAt(4001, 615, 10);
}

// The window as the program opens it, a short one and a narrow one.
const SIZE WRAP_CLIENTS[] = {{0, 0}, {840, 300}, {300, 550}};

TEST_F(Play, TabFromTheLastFieldOnlyShowsTheTopInEveryWindowSize) {
    open(QuizKind::Picture, 1, RevealMode::Comment, 51);
    for (const SIZE& client : WRAP_CLIENTS) {
        if (client.cx > 0) setClient(client.cx, client.cy);
        // At the bottom right, where the last field is; field 1 is then partly out of view sideways,
        // and a short page cannot show it whole at the top either.
        vscroll(SB_BOTTOM);
        hscroll(SB_PAGERIGHT);
        const int right = horizontal();
        ASSERT_GT(right, 0) << client.cx;
        SetFocus(item(4051));
        tab(4051);
        EXPECT_EQ(focusedId(), 4001) << client.cx;
        EXPECT_EQ(vertical(), 0) << client.cx;
        EXPECT_EQ(horizontal(), right) << client.cx;
        expectContentAt(4001, 30, 290);
    }
}

TEST_F(Play, ShiftTabFromFieldOneLeavesThePageWhereItIsInEveryWindowSize) {
    open(QuizKind::Picture, 1, RevealMode::Comment, 51);
    for (const SIZE& client : WRAP_CLIENTS) {
        if (client.cx > 0) setClient(client.cx, client.cy);
        scrollPageTo(page, SB_VERT, 120);
        scrollPageTo(page, SB_HORZ, 10);
        SetFocus(item(4001));
        holdShift(true);
        tab(4001);
        holdShift(false);
        EXPECT_EQ(focusedId(), 4051) << client.cx;
        EXPECT_EQ(vertical(), 120) << client.cx;
        EXPECT_EQ(horizontal(), 10) << client.cx;
        expectContentAt(4001, 30, 290);
    }
}

TEST_F(Play, HoldingTabMovesOnceOnReleaseInTheDirectionOfShiftThen) {
    open(QuizKind::Text, 1, RevealMode::Comment, 5);
    SetFocus(item(4003));
    for (int repeat = 0; repeat < 3; ++repeat) SendMessageA(item(4003), WM_KEYDOWN, VK_TAB, 0x40000001);
    EXPECT_EQ(focusedId(), 4003);
    holdShift(true);
    tab(4003);
    EXPECT_EQ(focusedId(), 4002);
    holdShift(false);
    tab(4002);
    EXPECT_EQ(focusedId(), 4003);
    // With Alt held, the key acts as it goes down.
    SendMessageA(item(4003), WM_SYSKEYDOWN, VK_TAB, 0x20000001);
    EXPECT_EQ(focusedId(), 4004);
}

TEST_F(Play, WithOneFieldTabKeepsTheFocusAndShowsTheTop) {
    open(QuizKind::Picture, 1, RevealMode::Comment, 1);
    // 415 high in a client of 350: field 1 (290..330 with its verdict) shows at the top.
    setClient(840, 350);
    SetFocus(item(4001));
    scrollPageTo(page, SB_VERT, 50);
    ASSERT_EQ(vertical(), 50);
    tab(4001);
    EXPECT_EQ(focusedId(), 4001);
    EXPECT_EQ(vertical(), 0);
    expectContentAt(4001, 30, 290);
}

TEST_F(Play, TabAndF1StepOverFieldsThePageNeverMade) {
    // As when a film player cannot be made and the page stops early: field 3 is missing.
    open(QuizKind::Text, 1, RevealMode::Comment, 4);
    DestroyWindow(item(4003));
    SetFocus(item(4002));
    tab(4002);
    EXPECT_EQ(focusedId(), 4004);
    tab(4004);
    EXPECT_EQ(focusedId(), 4001);
    SetFocus(item(4004));
    holdShift(true);
    tab(4004);
    EXPECT_EQ(focusedId(), 4002);
    holdShift(false);

    SetWindowTextA(item(4002), "r4");
    keyUp(4002, VK_F1);
    EXPECT_EQ(text(4001), "r4");
    EXPECT_EQ(text(4004), "r4");
    EXPECT_EQ(text(5004), "BRAVO");
    EXPECT_EQ(focusedId(), 4002);
}

TEST_F(Play, FieldsOutlivingTheQuizRecordAreNotJudged) {
    open(QuizKind::Text, 1, RevealMode::Comment, 3);
    SetFocus(item(4001));
    SetWindowTextA(item(4001), "r1");
    g_quiz = nullptr;
    SetFocus(item(4002));
    tab(4002);
    keyUp(4002, VK_RETURN);
    keyUp(4002, VK_F1);
    g_quiz = &quiz;
    EXPECT_EQ(text(5001), "?");
    EXPECT_EQ(text(4002), "");
    EXPECT_EQ(focusedId(), 4002);
}

// --- Enter and the other keys ---------------------------------------------------------------------

TEST_F(Play, EnterJudgesTheFieldInPlace) {
    open(QuizKind::Audio, 1, RevealMode::Comment, 3);
    SetFocus(item(4002));
    SetWindowTextA(item(4002), "r2");
    EXPECT_EQ(SendMessageA(item(4002), WM_CHAR, '\r', 0x001C0001), 0);
    EXPECT_EQ(keyUp(4002, VK_RETURN), 1);
    EXPECT_EQ(text(5002), "BRAVO");
    EXPECT_EQ(text(4002), "r2");
    EXPECT_EQ(focusedId(), 4002);

    // Alt+Enter judges as the key goes down; a plain key-down does not judge.
    SetWindowTextA(item(4002), "londres");
    EXPECT_EQ(SendMessageA(item(4002), WM_SYSKEYDOWN, VK_RETURN, 0x201C0001), 1);
    EXPECT_EQ(text(5002), "FAUX");
    SetWindowTextA(item(4002), "r2");
    SendMessageA(item(4002), WM_KEYDOWN, VK_RETURN, 0x001C0001);
    EXPECT_EQ(text(5002), "FAUX");
    EXPECT_EQ(focusedId(), 4002);

    // Enter struck as a player strikes it (down, character, up) in an Audio quiz, whose play buttons
    // are default buttons: the focus stays in the field.
    SetWindowTextA(item(4002), "r2");
    SendMessageA(item(4002), WM_KEYDOWN, VK_RETURN, 0x001C0001);
    SendMessageA(item(4002), WM_CHAR, '\r', 0x001C0001);
    keyUp(4002, VK_RETURN);
    pumpMessages();
    EXPECT_EQ(focusedId(), 4002);
    EXPECT_EQ(text(5002), "BRAVO");

    // Other characters still reach the edit.
    SetWindowTextA(item(4002), "");
    SendMessageA(item(4002), WM_CHAR, 'x', 0x002D0001);
    EXPECT_EQ(text(4002), "x");
}

TEST_F(Play, PageKeysAndArrowsScrollThePageByAPageOnRelease) {
    open(QuizKind::Picture, 1, RevealMode::Comment, 51);
    setClient(840, 550);
    SetFocus(item(4001));
    // The page size of a 550-pixel client is 549 positions.
    keyUp(4001, VK_NEXT);
    EXPECT_EQ(vertical(), 549);
    keyUp(4001, VK_DOWN);
    EXPECT_EQ(vertical(), 1098);
    keyUp(4001, VK_PRIOR);
    EXPECT_EQ(vertical(), 549);
    keyUp(4001, VK_UP);
    EXPECT_EQ(vertical(), 0);
    SendMessageA(item(4001), WM_KEYDOWN, VK_NEXT, 0x01510001);
    SendMessageA(item(4001), WM_KEYDOWN, VK_DOWN, 0x01500001);
    EXPECT_EQ(vertical(), 0);
    SendMessageA(item(4001), WM_SYSKEYDOWN, VK_NEXT, 0x21510001);
    EXPECT_EQ(vertical(), 549);
    expectContentAt(4001, 30, 290);
    EXPECT_EQ(focusedId(), 4001);
}

// --- F1 -----------------------------------------------------------------------------------------

TEST_F(Play, F1RefillsEveryFieldNotSolvedAndGivesTheFocusBack) {
    open(QuizKind::Text, 1, RevealMode::Comment, 5);
    copyText(quiz.scoreCodes[2], "TROIS");
    SetWindowTextA(item(4001), "r1");
    keyUp(4001, VK_RETURN);
    SetWindowTextA(item(4002), "londres");
    keyUp(4002, VK_RETURN);
    SetWindowTextA(item(4003), "r33");
    keyUp(4003, VK_RETURN);
    // Field 5 stays empty ("?"); field 4 holds the answer typed but not judged yet.
    ASSERT_EQ(text(5001), "BRAVO");
    ASSERT_EQ(text(5002), "FAUX");
    ASSERT_NE(text(5003), "BRAVO");
    ASSERT_NE(text(5003), "FAUX");
    ASSERT_EQ(text(5005), "?");
    SetFocus(item(4004));
    SetWindowTextA(item(4004), "r3");

    keyUp(4004, VK_F1);
    EXPECT_EQ(text(4001), "r1");
    for (int id : {4002, 4003, 4004, 4005}) EXPECT_EQ(text(id), "r3") << id;
    EXPECT_EQ(text(5001), "BRAVO");
    EXPECT_EQ(text(5002), matchAnswer("r2", "r3"));
    EXPECT_EQ(text(5003), "BRAVO");
    EXPECT_EQ(text(5004), matchAnswer("r4", "r3"));
    EXPECT_EQ(text(5005), matchAnswer("r5", "r3"));
    EXPECT_EQ(focusedId(), 4004);
    EXPECT_EQ(textOf(GetDlgItem(main, ID_SCORE)), " 2 / 5");

    // Everything solved: F1 changes nothing.
    for (int q = 1; q <= 5; ++q) {
        SetWindowTextA(item(4000 + q), ("r" + std::to_string(q)).c_str());
        keyUp(4000 + q, VK_RETURN);
    }
    SetFocus(item(4002));
    SendMessageA(item(4002), WM_SYSKEYDOWN, VK_F1, 0x203B0001);
    for (int q = 1; q <= 5; ++q) EXPECT_EQ(text(4000 + q), "r" + std::to_string(q));
    EXPECT_EQ(textOf(GetDlgItem(main, ID_SCORE)), " 5 / 5");
    EXPECT_EQ(focusedId(), 4002);
}

TEST_F(Play, F1InTheOnlyUnsolvedFieldJudgesIt) {
    open(QuizKind::Text, 1, RevealMode::Comment, 2);
    SetWindowTextA(item(4001), "r1");
    keyUp(4001, VK_RETURN);
    SetFocus(item(4002));
    SetWindowTextA(item(4002), "r2");
    ASSERT_EQ(text(5002), "?");
    keyUp(4002, VK_F1);
    EXPECT_EQ(text(5002), "BRAVO");
    EXPECT_EQ(textOf(GetDlgItem(main, ID_SCORE)), " 2 / 2");
    EXPECT_EQ(focusedId(), 4002);
}

// What F1 leaves on a page: every field's text, verdict, selection and first character shown, every
// comment, the header's score and code, the focus and its caret.
struct FieldEnd {
    std::string text, verdict;
    DWORD selectionStart, selectionEnd;
    LRESULT firstShown;
};
struct PageEnd {
    std::vector<FieldEnd> fields;
    std::vector<std::string> comments;
    std::string score, code;
    int focus;
    POINT caret;
};

PageEnd pageEnd(HWND main, HWND page, int questions, int slots) {
    PageEnd end;
    for (int f = 1; f <= questions * slots; ++f) {
        HWND field = GetDlgItem(page, ID_ANSWER_BASE + f);
        FieldEnd e{textOf(field), textOf(GetDlgItem(page, ID_VERDICT_BASE + f)), 0, 0,
                   SendMessageA(field, EM_GETFIRSTVISIBLELINE, 0, 0)};
        SendMessageA(field, EM_GETSEL, reinterpret_cast<WPARAM>(&e.selectionStart),
                     reinterpret_cast<LPARAM>(&e.selectionEnd));
        end.fields.push_back(e);
    }
    for (int q = 1; q <= questions; ++q) end.comments.push_back(textOf(GetDlgItem(page, ID_COMMENT_BASE + q)));
    end.score = textOf(GetDlgItem(main, ID_SCORE));
    end.code = textOf(GetDlgItem(main, ID_CODE_VALUE));
    end.focus = GetFocus() != nullptr ? GetDlgCtrlID(GetFocus()) : 0;
    GetCaretPos(&end.caret);
    return end;
}

// F1 as it first was: every field not reading "BRAVO" gets the text and then the focus, so each is
// judged by its own WM_KILLFOCUS as the focus moves on; the focus goes back to the field, which is
// judged once more.
void tryByMovingTheFocus(HWND page, int fieldId) {
    HWND field = GetDlgItem(page, fieldId);
    const std::string typed = textOf(field);
    for (int id = ID_ANSWER_BASE + 1; GetDlgItem(page, id) != nullptr; ++id) {
        if (textOf(GetDlgItem(page, id + (ID_VERDICT_BASE - ID_ANSWER_BASE))) == VERDICT_RIGHT) continue;
        SetWindowTextA(GetDlgItem(page, id), typed.c_str());
        SetFocus(GetDlgItem(page, id));
    }
    SetFocus(field);
    evaluateField(page, fieldId);
}

TEST_F(Play, F1EndsAsMovingTheFocusThroughTheRefilledFieldsDid) {
    // Longer than any field shows: selecting its first characters scrolls a Text quiz's narrow fields.
    const char* typed = "une r\xE9ponse bien plus longue que ce que la case peut montrer";
    const char* expected[6][2] = {{typed, "a"}, {typed, typed}, {"b", typed}, {typed, "c"}, {"d", typed}, {typed, "e"}};
    // A Picture quiz shows comments, a Text quiz fields too narrow for the selection.
    for (QuizKind kind : {QuizKind::Picture, QuizKind::Text}) {
        PageEnd ends[2];
        for (int way = 0; way < 2; ++way) {
            if (main != nullptr) {
                DestroyWindow(main);
                pumpMessages();
                clearQuestions(&quiz);
            }
            open(kind, 2, RevealMode::Comment, 6);
            for (int q = 1; q <= 6; ++q) {
                Question* node = questionAt(&quiz, q - 1);
                copyText(node->answer1, expected[q - 1][0]);
                copyText(node->answer2, expected[q - 1][1]);
                copyText(node->comment, ("comment " + std::to_string(q)).c_str());
                copyText(quiz.scoreCodes[q - 1], ("CODE" + std::to_string(q)).c_str());
            }
            // Judged answers, right and wrong; answers changed after their verdict (fields 7, 8 and 9);
            // a field never judged (6); and the field F1 is struck in, typed into and not left (10).
            const char* judged[12] = {"a", "a", typed, "zz", "b", nullptr, "zz", "c", "q", "x", typed, "e"};
            for (int f = 1; f <= 12; ++f) {
                if (judged[f - 1] == nullptr) continue;
                SetWindowTextA(item(4000 + f), judged[f - 1]);
                keyUp(4000 + f, VK_RETURN);
            }
            SetWindowTextA(item(4007), typed);
            SetWindowTextA(item(4008), "zzz");
            SetWindowTextA(item(4009), "d");
            SetFocus(item(4010));
            SetWindowTextA(item(4010), typed);
            ASSERT_EQ(text(5010), "FAUX");

            if (way == 0)
                tryByMovingTheFocus(page, 4010);
            else
                keyUp(4010, VK_F1);
            ends[way] = pageEnd(main, page, 6, 2);
        }
        const PageEnd& before = ends[0];
        const PageEnd& now = ends[1];
        for (int f = 1; f <= 12; ++f) {
            const FieldEnd& a = before.fields[f - 1];
            const FieldEnd& b = now.fields[f - 1];
            EXPECT_EQ(b.text, a.text) << "field " << f;
            EXPECT_EQ(b.verdict, a.verdict) << "field " << f;
            EXPECT_EQ(b.selectionStart, a.selectionStart) << "field " << f;
            EXPECT_EQ(b.selectionEnd, a.selectionEnd) << "field " << f;
            EXPECT_EQ(b.firstShown, a.firstShown) << "field " << f;
        }
        for (int q = 1; q <= 6; ++q) EXPECT_EQ(now.comments[q - 1], before.comments[q - 1]) << "question " << q;
        EXPECT_EQ(now.score, before.score);
        EXPECT_EQ(now.code, before.code);
        EXPECT_EQ(now.focus, 4010);
        EXPECT_EQ(now.focus, before.focus);
        EXPECT_EQ(now.caret.x, before.caret.x);
        EXPECT_EQ(now.caret.y, before.caret.y);
        // There was something to compare: questions 1, 2, 3 and 6 solved, 5 not, and 4 counted from its
        // labels while its texts no longer solve it (so it shows no comment); refilled fields scrolled.
        EXPECT_EQ(now.score, " 5 / 6");
        EXPECT_EQ(now.fields[8].verdict, matchAnswer("d", typed));
        EXPECT_EQ(now.fields[7].verdict, "BRAVO");
        if (kind == QuizKind::Picture) {
            EXPECT_EQ(now.comments[1], "comment 2");
            EXPECT_EQ(now.comments[3], "");
            EXPECT_EQ(now.comments[4], "");
            EXPECT_EQ(now.comments[5], "comment 6");
        } else {
            EXPECT_GT(now.fields[0].firstShown, 0);
        }
    }
}

// --- Scroll codes ---------------------------------------------------------------------------------

// One scroll request (code, and the thumb's place for thumb codes) and the position it must leave.
struct ScrollStep {
    int code;
    int thumb;
    int expected;
};

// 51 picture questions with comments: a page 6655 high and 890 wide.
TEST_F(Play, EveryVerticalScrollCodeMovesBarAndContentTogether) {
    open(QuizKind::Picture, 1, RevealMode::Comment, 51);
    setClient(600, 550);
    const ScrollStep steps[] = {
        {SB_LINEDOWN, 0, 30},   {SB_LINEDOWN, 0, 60},      {SB_LINEUP, 0, 30},     {SB_PAGEDOWN, 0, 579},
        {SB_PAGEUP, 0, 30},     {SB_THUMBPOSITION, 3000, 30}, {SB_BOTTOM, 0, 6105}, {SB_LINEDOWN, 0, 6105},
        {SB_PAGEDOWN, 0, 6105}, {SB_ENDSCROLL, 0, 6105},   {99, 0, 6105},          {SB_PAGEUP, 0, 5556},
        {SB_TOP, 0, 0},         {SB_LINEUP, 0, 0},         {SB_PAGEUP, 0, 0},
    };
    for (const ScrollStep& step : steps) {
        vscroll(step.code, step.thumb);
        EXPECT_EQ(vertical(), step.expected) << "code " << step.code;
        expectContentAt(4001, 30, 290);
    }
    EXPECT_EQ(horizontal(), 0);
}

TEST_F(Play, EveryHorizontalScrollCodeMovesBarAndContentTogether) {
    open(QuizKind::Picture, 1, RevealMode::Comment, 51);
    setClient(600, 550);
    // 890 wide in 600: positions 0 to 290; a page is 599 positions, a line one.
    const ScrollStep steps[] = {
        {SB_LINERIGHT, 0, 1}, {SB_LINERIGHT, 0, 2},  {SB_LINELEFT, 0, 1},          {SB_PAGERIGHT, 0, 290},
        {SB_LINERIGHT, 0, 290}, {SB_LEFT, 0, 290},   {SB_THUMBPOSITION, 10, 290}, {SB_PAGELEFT, 0, 0},
        {SB_RIGHT, 0, 0},     {SB_LINELEFT, 0, 0},   {SB_ENDSCROLL, 0, 0},
    };
    for (const ScrollStep& step : steps) {
        hscroll(step.code, step.thumb);
        EXPECT_EQ(horizontal(), step.expected) << "code " << step.code;
        expectContentAt(4001, 30, 290);
    }
    EXPECT_EQ(vertical(), 0);
}

TEST_F(Play, SbBottomOnA6655PageIn550PixelsEndsAt6105) {
    open(QuizKind::Picture, 1, RevealMode::Comment, 51);
    setClient(840, 550);
    ASSERT_EQ(g_pageHeight, 6655);
    vscroll(SB_BOTTOM);
    EXPECT_EQ(vertical(), 6105);
    // Question 51 (row 17, base line 16 * 390 + 280) sits at the bottom of the client area.
    expectContentAt(4051, 610, 6530);
    EXPECT_EQ(at(4051).y, 6530 - 6105);
}

TEST_F(Play, DraggingTheThumbMovesTheContentWhileItIsDragged) {
    open(QuizKind::Picture, 1, RevealMode::Comment, 51);
    setClient(600, 550);
    vscroll(SB_PAGEDOWN);
    // Outside a drag the tracking position is the position itself: nothing moves.
    vscroll(SB_THUMBTRACK, 4000);
    EXPECT_EQ(vertical(), 549);
    expectContentAt(4001, 30, 290);

    // A real drag: the press on the thumb starts the platform's tracking loop, which takes the
    // queued moves and the release. Only SB_THUMBTRACK can move the page here, since the final
    // SB_THUMBPOSITION changes nothing.
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof bar;
    ASSERT_TRUE(GetScrollBarInfo(page, OBJID_VSCROLL, &bar));
    RECT window;
    GetWindowRect(page, &window);
    POINT press = {(bar.rcScrollBar.left + bar.rcScrollBar.right) / 2,
                   bar.rcScrollBar.top + (bar.xyThumbTop + bar.xyThumbBottom) / 2};
    POINT client = press;
    ScreenToClient(page, &client);
    PostMessageA(page, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.x, client.y + 20));
    PostMessageA(page, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.x, client.y + 100));
    PostMessageA(page, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y + 100));
    SendMessageA(page, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(press.x, press.y));
    pumpMessages();
    EXPECT_GT(vertical(), 549 + 1000);
    EXPECT_LT(vertical(), 6105);
    expectContentAt(4001, 30, 290);
}

// --- Resizing -------------------------------------------------------------------------------------

TEST_F(Play, ResizingKeepsThePositionsAndTheContentTogether) {
    open(QuizKind::Picture, 1, RevealMode::Comment, 51);
    setClient(600, 550);
    vscroll(SB_BOTTOM);
    hscroll(SB_PAGERIGHT);
    ASSERT_EQ(vertical(), 6105);
    ASSERT_EQ(horizontal(), 290);

    // Taller and wider: the largest positions shrink and pull both back.
    setClient(700, 1000);
    EXPECT_EQ(vertical(), 5655);
    EXPECT_EQ(horizontal(), 190);
    expectContentAt(4001, 30, 290);
    expectContentAt(4051, 610, 6530);

    // Smaller again: nothing needs to move.
    setClient(500, 400);
    EXPECT_EQ(vertical(), 5655);
    EXPECT_EQ(horizontal(), 190);
    expectContentAt(4001, 30, 290);

    // Large enough for the whole page: back to the top left.
    setClient(900, 6700);
    EXPECT_EQ(vertical(), 0);
    EXPECT_EQ(horizontal(), 0);
    EXPECT_EQ(at(4001).x, 30);
    EXPECT_EQ(at(4001).y, 290);
}

TEST_F(Play, MinimisingAndRestoringKeepsThePlayersPlace) {
    open(QuizKind::Picture, 1, RevealMode::Comment, 51);
    vscroll(SB_PAGEDOWN);
    vscroll(SB_PAGEDOWN);
    const int before = vertical();
    ASSERT_GT(before, 0);
    ShowWindow(main, SW_MINIMIZE);
    pumpMessages();
    ShowWindow(main, SW_RESTORE);
    pumpMessages();
    EXPECT_EQ(vertical(), before);
    expectContentAt(4001, 30, 290);
}

// --- Wheel ----------------------------------------------------------------------------------------

TEST_F(Play, AWheelNotchOnThePageScrollsTwoLinesAndOtherDeltasNothing) {
    open(QuizKind::Picture, 1, RevealMode::Comment, 51);
    setClient(840, 550);
    // Toward the user: the page posts a line down, then passes the notch to the main window, which
    // posts another.
    SendMessageA(page, WM_MOUSEWHEEL, MAKEWPARAM(0, 0xFF88), MAKELPARAM(400, 400));
    EXPECT_EQ(vertical(), 0);
    pumpMessages();
    EXPECT_EQ(vertical(), 60);
    expectContentAt(4001, 30, 290);
    SendMessageA(page, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(400, 400));
    pumpMessages();
    EXPECT_EQ(vertical(), 0);

    scrollPageTo(page, SB_VERT, 300);
    for (WORD delta : {WORD(240), WORD(0xFF10), WORD(60), WORD(0)}) {
        SendMessageA(page, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), 0);
        pumpMessages();
        EXPECT_EQ(vertical(), 300) << delta;
    }

    // A notch that reaches the main window first scrolls one line.
    SendMessageA(main, WM_MOUSEWHEEL, MAKEWPARAM(0, 0xFF88), 0);
    pumpMessages();
    EXPECT_EQ(vertical(), 330);
}

TEST_F(Play, AWheelNotchWithTheFocusInAFieldScrollsTwoLines) {
    open(QuizKind::Picture, 1, RevealMode::Comment, 51);
    setClient(840, 550);
    SetFocus(item(4002));
    SendMessageA(item(4002), WM_MOUSEWHEEL, MAKEWPARAM(0, 0xFF88), MAKELPARAM(400, 400));
    pumpMessages();
    EXPECT_EQ(vertical(), 60);
    EXPECT_EQ(focusedId(), 4002);
    SendMessageA(item(4002), WM_MOUSEWHEEL, MAKEWPARAM(0, 240), MAKELPARAM(400, 400));
    pumpMessages();
    EXPECT_EQ(vertical(), 60);
}

// --- Colours --------------------------------------------------------------------------------------

TEST_F(Play, VerdictLabelsTakeTheColourOfTheirWord) {
    open(QuizKind::Text, 1, RevealMode::Comment, 2);
    HDC dc = GetDC(item(5001));
    struct Row {
        const char* word;
        COLORREF colour;
    };
    const Row rows[] = {
        {"Anagramme", 0x000064FF},  {"BRAVO", 0x0000FF00},     {"FAUX", 0x000000FF},
        {"Quasiment", 0x0026CBFF},  {"Presque", 0x0026CBFF},   {"Trop long", 0x0026CBFF},
        {"Trop court", 0x0026CBFF}, {"pas loin", 0x0026CBFF},  {"yade lid\xE9" "e", 0x0026CBFF},
        {"bravo", 0x0026CBFF},      {"BRAVO ", 0x0026CBFF},
    };
    for (const Row& row : rows) {
        SetWindowTextA(item(5001), row.word);
        SetTextColor(dc, RGB(1, 2, 3));
        SetBkMode(dc, OPAQUE);
        INT_PTR brush = labelColour(5001, dc);
        ASSERT_NE(brush, 0) << row.word;
        EXPECT_EQ(brushColour(brush), row.colour) << row.word;
        EXPECT_EQ(GetTextColor(dc), 0u) << row.word;
        EXPECT_EQ(GetBkMode(dc), TRANSPARENT) << row.word;
    }

    // "?" keeps the platform's colours: the page leaves the device context alone and answers 0, so
    // the dialog's default handling gives the static its usual brush.
    SetWindowTextA(item(5001), "?");
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkMode(dc, OPAQUE);
    EXPECT_EQ(pageColour(5001, dc), 0);
    EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    EXPECT_EQ(labelColour(5001, dc), defaultColour(5001, dc));
    ReleaseDC(item(5001), dc);
}

TEST_F(Play, EachVerdictBrushIsMadeOnceAndReleasedWithThePage) {
    open(QuizKind::Text, 1, RevealMode::Comment, 2);
    HDC dc = GetDC(page);
    SetWindowTextA(item(5001), "BRAVO");
    SetWindowTextA(item(5002), "BRAVO");
    const INT_PTR first = labelColour(5001, dc);
    EXPECT_EQ(labelColour(5002, dc), first);
    EXPECT_EQ(labelColour(5001, dc), first);
    SetWindowTextA(item(5002), "FAUX");
    const INT_PTR wrong = labelColour(5002, dc);
    EXPECT_NE(wrong, first);
    ReleaseDC(page, dc);

    DestroyWindow(main);
    main = nullptr;
    LOGBRUSH gone;
    EXPECT_EQ(GetObjectA(reinterpret_cast<HGDIOBJ>(first), sizeof gone, &gone), 0);
    EXPECT_EQ(GetObjectA(reinterpret_cast<HGDIOBJ>(wrong), sizeof gone, &gone), 0);

    // A new page makes its brushes again.
    clearQuestions(&quiz);
    open(QuizKind::Text, 1, RevealMode::Comment, 2);
    dc = GetDC(page);
    SetWindowTextA(item(5001), "BRAVO");
    EXPECT_EQ(brushColour(labelColour(5001, dc)), 0x0000FF00u);
    ReleaseDC(page, dc);
}

TEST_F(Play, QuestionTextNumbersCaptionsAndCommentsHaveTheirColours) {
    open(QuizKind::Text, 1, RevealMode::Comment, 2);
    HDC dc = GetDC(page);
    // Shared identifiers: the first control found stands for all of them.
    SetTextColor(dc, RGB(1, 2, 3));
    EXPECT_EQ(brushColour(labelColour(ID_QUESTION_TEXT, dc)), 0x00C0FFFFu);
    EXPECT_EQ(GetTextColor(dc), 0u);
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    SetBkMode(dc, OPAQUE);
    EXPECT_EQ(labelColour(ID_QUESTION_NUMBER, dc), reinterpret_cast<INT_PTR>(quiz.backgroundBrush));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    EXPECT_EQ(SendMessageA(page, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(page)),
              reinterpret_cast<INT_PTR>(quiz.backgroundBrush));
    ReleaseDC(page, dc);
    DestroyWindow(main);
    main = nullptr;

    clearQuestions(&quiz);
    open(QuizKind::Picture, 2, RevealMode::Comment, 3);
    dc = GetDC(page);
    EXPECT_EQ(labelColour(ID_SLOT_CAPTION, dc), reinterpret_cast<INT_PTR>(quiz.backgroundBrush));
    EXPECT_EQ(labelColour(ID_COMMENT_BASE + 3, dc), reinterpret_cast<INT_PTR>(quiz.backgroundBrush));
    SetBkMode(dc, OPAQUE);
    EXPECT_EQ(pageColour(ID_PICTURE_BASE + 1, dc), 0);
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    // Verdict labels of a two-slot quiz run up to 5006.
    SetWindowTextA(item(5006), "FAUX");
    EXPECT_EQ(brushColour(labelColour(5006, dc)), 0x000000FFu);
    ReleaseDC(page, dc);
}

TEST_F(Play, APaintedVerdictLabelShowsItsColourOnScreen) {
    open(QuizKind::Text, 1, RevealMode::Comment, 2);
    SetWindowTextA(item(4001), "r1");
    keyUp(4001, VK_RETURN);
    SetWindowTextA(item(4002), "londres");
    keyUp(4002, VK_RETURN);
    ASSERT_EQ(text(5002), "FAUX");
    UpdateWindow(main);
    UpdateWindow(page);
    pumpMessages();
    // Inside the border, left of the centred word.
    HDC dc = GetDC(item(5001));
    EXPECT_EQ(GetPixel(dc, 3, 3), 0x0000FF00u);
    ReleaseDC(item(5001), dc);
    dc = GetDC(item(5002));
    EXPECT_EQ(GetPixel(dc, 3, 3), 0x000000FFu);
    ReleaseDC(item(5002), dc);
    dc = GetDC(page);
    EXPECT_EQ(GetPixel(dc, 3, 3), QUIZ_BACKGROUND);
    ReleaseDC(page, dc);
}

// --- The page follows the focus ---------------------------------------------------------------------

TEST_F(Play, TabBringsAFieldOutOfViewInWithItsQuestion) {
    open(QuizKind::Picture, 1, RevealMode::Comment, 51);
    setClient(600, 550);
    SetFocus(item(4001));
    tab(4001);
    EXPECT_EQ(focusedId(), 4002);
    EXPECT_EQ(horizontal(), 0);
    EXPECT_EQ(vertical(), 0);
    // Field 3 (610..870) is beyond the 600-pixel client: its question's right edge plus the margin
    // comes to the client's right edge.
    tab(4002);
    EXPECT_EQ(horizontal(), 880 - 600);
    EXPECT_EQ(vertical(), 0);
    // Field 4, next row: picture box from 410 to comment end 791, plus the margin; left edge 30 less
    // the margin.
    tab(4003);
    EXPECT_EQ(horizontal(), 20);
    EXPECT_EQ(vertical(), 801 - 550);
    expectContentAt(4001, 30, 290);

    for (int f = 4; f < 51; ++f) {
        tab(4000 + f);
        ASSERT_EQ(focusedId(), 4001 + f);
        expectFieldInView(4001 + f);
    }
    expectContentAt(4001, 30, 290);
    holdShift(true);
    for (int f = 51; f > 1; --f) {
        tab(4000 + f);
        ASSERT_EQ(focusedId(), 3999 + f);
        expectFieldInView(3999 + f);
    }
    EXPECT_EQ(vertical(), 0);
}

TEST_F(Play, AFieldTallerClientKeepsTheFieldItselfInView) {
    open(QuizKind::Picture, 1, RevealMode::Comment, 6);
    // 200 pixels cannot hold a question (20..401): the field wins over the picture above it.
    setClient(840, 200);
    SetFocus(item(4003));
    tab(4003);
    EXPECT_EQ(focusedId(), 4004);
    expectFieldInView(4004);
    expectContentAt(4001, 30, 290);
}

}  // namespace
