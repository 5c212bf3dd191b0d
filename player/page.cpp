// The question page: its dialog procedure and the one-pass construction of every question's controls.
#include <windows.h>

#include "player/page.h"

#include "player/field_evaluation.h"
#include "content/quiz.h"
#include "player/answer_field.h"
#include "player/answers_file.h"
#include "player/geometry.h"
#include "player/ids.h"
#include "player/media.h"
#include "player/page_controls.h"
#include "player/platform_win32.h"
#include "player/window_state.h"

namespace {

// Window styles of the page's controls.
const DWORD STYLE_SLOT_CAPTION = WS_CHILD | WS_VISIBLE;
const DWORD STYLE_NUMBER = WS_CHILD | WS_VISIBLE | SS_RIGHT;
const DWORD STYLE_QUESTION_TEXT = WS_CHILD | WS_VISIBLE | WS_BORDER | SS_CENTER;
const DWORD STYLE_PICTURE = WS_CHILD | WS_VISIBLE | WS_BORDER | SS_CENTERIMAGE | SS_BITMAP;
const DWORD STYLE_COMMENT = WS_CHILD | WS_VISIBLE | WS_TABSTOP | SS_CENTER;
const DWORD STYLE_MEDIA_BUTTON = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_ICON | BS_DEFPUSHBUTTON;
const DWORD STYLE_VIDEO_HOST = WS_CHILD | WS_VISIBLE | WS_BORDER;
const DWORD STYLE_ANSWER = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_CENTER;
const DWORD STYLE_VERDICT = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | SS_CENTER;

// Where one question's number label and answer fields go; fixed by its kind-specific controls.
struct RowAnchor {
    int editX, editY, editWidth;
    int verdictX, verdictY, verdictWidth;
    int numberX, numberY;
};

// What the construction carries from one question to the next.
struct LayoutState {
    HWND page;
    FILE* savedAnswers;
    HICON playIcon;
    HICON stopIcon;
};

// Every control is kept in the page's table as it is made (page_controls.h).
HWND createControl(HWND page, const char* className, const char* text, DWORD style, int id, int x, int y,
                   int width, int height) {
    HWND control = CreateWindowExA(0, className, text, style, x, y, width, height, page,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), g_instance, nullptr);
    if (control != nullptr) keepPageControl(page, control, id);
    return control;
}

void setGuiFont(HWND control) {
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
}

// The question node behind q; the list may be shorter than questionCount (its last node then stands in).
const Question* questionNode(int q) { return questionAt(g_quiz, q - 1); }

// Captions of a two-slot quiz: one pair per row of three questions. Only the Picture and Audio rows
// give them a height; every other kind stacks all pairs at the top left.
void createSlotCaptions(HWND page) {
    for (int k = 1; k <= g_quiz->questionCount; k += 3) {
        int y = 0;
        if (g_quiz->kind == QuizKind::Picture) y = gridRowBaseY(k, g_quiz->revealMode) + 12;
        if (g_quiz->kind == QuizKind::Audio) y = audioRowY(k) + 5;
        setGuiFont(createControl(page, "Static", g_quiz->caption1, STYLE_SLOT_CAPTION, ID_SLOT_CAPTION, 3, y, 95, 20));
        setGuiFont(
            createControl(page, "Static", g_quiz->caption2, STYLE_SLOT_CAPTION, ID_SLOT_CAPTION, 3, y + 20, 95, 20));
    }
}

RowAnchor layoutTextQuestion(HWND page, int q) {
    const int t = textRowY(q);
    const Question* node = questionNode(q);
    setGuiFont(createControl(page, "Static", node != nullptr ? node->text : "", STYLE_QUESTION_TEXT, ID_QUESTION_TEXT,
                             50, t, 550, 20));
    return {615, t, 100, 720, t, 90, 30, t + 3};
}

RowAnchor layoutPictureQuestion(HWND page, int q) {
    const int slots = g_quiz->slotsPerQuestion;
    const int c = gridColumnX(q, slots);
    const int b = gridRowBaseY(q, g_quiz->revealMode);

    HBITMAP picture =
        loadResourcePicture(resourceModule(), mediaResourceId(q), QUIZ_MEDIA_TYPE, PICTURE_BOX, PICTURE_BOX);
    int w = PICTURE_BOX;
    int h = PICTURE_BOX;
    BITMAP size;
    if (picture != nullptr && GetObjectA(picture, sizeof size, &size) != 0) {
        w = size.bmWidth;
        h = size.bmHeight;
    }
    // Centred in the picture box, whose top left is (c + 30, b - PICTURE_BOX); without a picture the
    // box itself shows, empty.
    HWND box = createControl(page, "STATIC", "", STYLE_PICTURE, pictureId(q), c + 30 + (PICTURE_BOX - w) / 2,
                             b - PICTURE_BOX + (PICTURE_BOX - h) / 2, w, h);
    SendMessageA(box, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));

    if (g_quiz->revealMode == RevealMode::Comment)
        setGuiFont(createControl(page, "Static", "", STYLE_COMMENT, commentId(q), c + 30, b + 56, 260, 65));
    return {c + 30, b + 10, slots == 2 ? 240 : 260, c + 30, b + 30, 260, c + 10, b + 12};
}

void createMediaButton(HWND page, int id, int x, int y, int height, HICON icon) {
    HWND button = createControl(page, "Button", "", STYLE_MEDIA_BUTTON, id, x, y, 20, height);
    SendMessageA(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
}

RowAnchor layoutAudioQuestion(const LayoutState& state, int q) {
    const int c = gridColumnX(q, g_quiz->slotsPerQuestion);
    const int a = audioRowY(q);
    createMediaButton(state.page, playButtonId(q), c + 30, a, 21, state.playIcon);
    createMediaButton(state.page, stopButtonId(q), c + 30, a + 21, 20, state.stopIcon);
    return {c + 50, a, 220, c + 50, a + 20, 220, c + 10, a + 2};
}

// A film player that cannot be created leaves its host empty, and its play button does nothing; the
// question still gets its number and fields, and later questions are laid out: ending the page there
// would leave the saved answers of the questions after it unread, and the next close would write
// them over with empty lines.
RowAnchor layoutVideoQuestion(const LayoutState& state, int q) {
    const int c = gridColumnX(q, g_quiz->slotsPerQuestion);
    const int b = gridRowBaseY(q, g_quiz->revealMode);
    createMediaButton(state.page, playButtonId(q), c + 15, b - 40, 20, state.playIcon);
    createMediaButton(state.page, stopButtonId(q), c + 15, b - 20, 20, state.stopIcon);
    createControl(state.page, "STATIC", "", STYLE_VIDEO_HOST, videoHostId(q), c + 15, b - 250, 200, 150);
    setUpVideo(state.page, q);
    // In the first column of a one-slot quiz the number starts 10 pixels left of the page's edge.
    return {c + 35, b - 40, 230, c + 35, b - 20, 230, c - 10, b - 36};
}

void createNumberLabel(HWND page, int q, const RowAnchor& anchor) {
    char number[16];
    wsprintfA(number, "%d.", q);
    // The number keeps the dialog's system font.
    createControl(page, "Static", number, STYLE_NUMBER, ID_QUESTION_NUMBER, anchor.numberX, anchor.numberY, 19, 17);
}

void createOneSlotField(const LayoutState& state, int q, const RowAnchor& anchor) {
    char saved[TEXT_SLOT_SIZE];
    nextSavedAnswer(state.savedAnswers, saved);
    const int id = answerId(q, 1, 1);
    HWND field = createControl(state.page, "Edit", saved, STYLE_ANSWER, id, anchor.editX, anchor.editY,
                               anchor.editWidth, 20);
    setGuiFont(field);
    // Focusing before subclassing: the field that loses the focus is judged, the new one is not yet hooked.
    SetFocus(field);
    subclassAnswerField(field);
    createControl(state.page, "Static", "?", STYLE_VERDICT, verdictId(id), anchor.verdictX, anchor.verdictY - 1,
                  anchor.verdictWidth, 21);
    evaluateField(state.page, id);
}

void createTwoSlotFields(const LayoutState& state, int q, const RowAnchor& anchor) {
    for (int s = 1; s <= 2; ++s) {
        char saved[TEXT_SLOT_SIZE];
        nextSavedAnswer(state.savedAnswers, saved);
        const int id = answerId(q, s, 2);
        const int row = 20 * (s - 1);
        HWND field = createControl(state.page, "Edit", saved, STYLE_ANSWER, id, anchor.editX, anchor.editY + row,
                                   anchor.editWidth - 50, 21);
        setGuiFont(field);
        subclassAnswerField(field);
        setGuiFont(createControl(state.page, "Static", "?", STYLE_VERDICT, verdictId(id),
                                 anchor.editX + anchor.editWidth - 45, anchor.editY + row + 1, 60, 17));
        evaluateField(state.page, id);
    }
}

// Only these layouts exist; content can carry any kind and slot count, and then gets no questions.
bool hasQuestionLayout() {
    const bool knownKind = g_quiz->kind == QuizKind::Text || g_quiz->kind == QuizKind::Picture ||
                           g_quiz->kind == QuizKind::Audio || g_quiz->kind == QuizKind::Video;
    return knownKind && (g_quiz->slotsPerQuestion == 1 || g_quiz->slotsPerQuestion == 2);
}

// One question: its kind's controls, its number, its fields.
void layoutQuestion(const LayoutState& state, int q) {
    RowAnchor anchor;
    switch (g_quiz->kind) {
    case QuizKind::Text:
        anchor = layoutTextQuestion(state.page, q);
        break;
    case QuizKind::Picture:
        anchor = layoutPictureQuestion(state.page, q);
        break;
    case QuizKind::Audio:
        anchor = layoutAudioQuestion(state, q);
        break;
    case QuizKind::Video:
    default:
        anchor = layoutVideoQuestion(state, q);
        break;
    }
    createNumberLabel(state.page, q, anchor);
    if (g_quiz->slotsPerQuestion == 2)
        createTwoSlotFields(state, q, anchor);
    else
        createOneSlotField(state, q, anchor);
}

// WM_INITDIALOG: the page's controls are made once, here.
INT_PTR onInitDialog(HWND page) { return layoutPage(page); }

// WM_PARENTNOTIFY: a control destroyed on its own leaves the page's table of handles; the page's own
// destruction (WM_DESTROY, before its children go) empties the table.
void onChildNotice(HWND page, WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == WM_DESTROY) forgetPageControl(page, reinterpret_cast<HWND>(lParam), HIWORD(wParam));
}

}  // namespace

// Every field is judged as it is made, but the score and code are written once, after the last one:
// the header is not seen before the page is built.
BOOL layoutPage(HWND page) {
    keepPageControls(page);
    updateScrollRanges(page);
    holdScore();
    LayoutState state = {page, openSavedAnswers(), nullptr, nullptr};
    if (g_quiz->kind == QuizKind::Audio || g_quiz->kind == QuizKind::Video) {
        state.playIcon = LoadIconA(g_instance, MAKEINTRESOURCEA(IDI_PLAY));
        state.stopIcon = LoadIconA(g_instance, MAKEINTRESOURCEA(IDI_STOP));
    }
    if (g_quiz->slotsPerQuestion == 2) createSlotCaptions(page);
    if (hasQuestionLayout()) {
        for (int q = 1; q <= g_quiz->questionCount; ++q) layoutQuestion(state, q);
    }
    closeSavedAnswers(state.savedAnswers);
    releaseScore(page);
    return TRUE;
}

// Messages are handed to their handlers; whatever is not handled returns 0 for the dialog manager.
// Size, scroll and wheel messages also return 0, so the dialog's default handling runs after ours
// (which is how a wheel notch goes on to the main window).
INT_PTR CALLBACK pageDialogProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return onInitDialog(page);
    case WM_COMMAND:
        onMediaCommand(page, wParam);
        return 0;
    case WM_SIZE:
        onPageResize(page);
        return 0;
    case WM_VSCROLL:
        onPageScroll(page, SB_VERT, LOWORD(wParam));
        return 0;
    case WM_HSCROLL:
        onPageScroll(page, SB_HORZ, LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        onPageWheel(page, wParam);
        return 0;
    case WM_CTLCOLORDLG:
        return onPageBackground();
    case WM_CTLCOLORSTATIC:
        return onPageLabelColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_PARENTNOTIFY:
        onChildNotice(page, wParam, lParam);
        return 0;
    case WM_DESTROY:
        forgetPageControls(page);
        return 0;
    case WM_NCDESTROY:
        releasePageBrushes();
        return 0;
    default:
        return 0;
    }
}
