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

// What the construction carries from one question to the next.
struct LayoutState {
    HWND page;
    FILE* savedAnswers;
    HICON playIcon;
    HICON stopIcon;
};

// Every control is kept in the page's table as it is made (page_controls.h).
HWND createControl(HWND page, const char* className, const char* text, DWORD style, int id, const Box& box) {
    HWND control = CreateWindowExA(0, className, text, style, box.x, box.y, box.width, box.height, page,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), g_instance, nullptr);
    if (control != nullptr) keepPageControl(page, control, id);
    return control;
}

// Without a redraw: a control just made paints whole the first time its page is shown (the page is
// built hidden), and under Wine each redraw asked for here costs a trip to its server, some 500 of
// them on a large page.
void setGuiFont(HWND control) {
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
}

// Captions of a two-slot quiz: one pair per row of three questions.
void createSlotCaptions(HWND page) {
    for (int k = 1; k <= g_quiz->questionCount; k += 3) {
        setGuiFont(createControl(page, "Static", g_quiz->caption1, STYLE_SLOT_CAPTION, ID_SLOT_CAPTION,
                                 slotCaptionBox(g_quiz->kind, g_quiz->revealMode, k, 1)));
        setGuiFont(createControl(page, "Static", g_quiz->caption2, STYLE_SLOT_CAPTION, ID_SLOT_CAPTION,
                                 slotCaptionBox(g_quiz->kind, g_quiz->revealMode, k, 2)));
    }
}

void createQuestionText(HWND page, int q, const QuestionBoxes& boxes) {
    // The list may be shorter than questionCount: its last node then stands in.
    const Question* node = questionAt(g_quiz, q - 1);
    setGuiFont(createControl(page, "Static", node != nullptr ? node->text : "", STYLE_QUESTION_TEXT, ID_QUESTION_TEXT,
                             boxes.text));
}

void createPicture(HWND page, int q, const QuestionBoxes& boxes) {
    HBITMAP picture =
        loadResourcePicture(resourceModule(), mediaResourceId(q), QUIZ_MEDIA_TYPE, PICTURE_BOX, PICTURE_BOX);
    int w = boxes.picture.width;
    int h = boxes.picture.height;
    BITMAP size;
    if (picture != nullptr && GetObjectA(picture, sizeof size, &size) != 0) {
        w = size.bmWidth;
        h = size.bmHeight;
    }
    // Without a picture the box itself shows, empty.
    HWND box = createControl(page, "STATIC", "", STYLE_PICTURE, pictureId(q), centredPicture(boxes.picture, w, h));
    SendMessageA(box, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
    if (g_quiz->revealMode == RevealMode::Comment)
        setGuiFont(createControl(page, "Static", "", STYLE_COMMENT, commentId(q), boxes.comment));
}

void createMediaButton(HWND page, int id, const Box& box, HICON icon) {
    HWND button = createControl(page, "Button", "", STYLE_MEDIA_BUTTON, id, box);
    SendMessageA(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
}

void createMediaButtons(const LayoutState& state, int q, const QuestionBoxes& boxes) {
    createMediaButton(state.page, playButtonId(q), boxes.play, state.playIcon);
    createMediaButton(state.page, stopButtonId(q), boxes.stop, state.stopIcon);
}

// A film player that cannot be created leaves its host empty, and its play button does nothing; the
// question still gets its number and fields, and later questions are laid out: ending the page there
// would leave the saved answers of the questions after it unread, and the next close would write
// them over with empty lines.
void createFilm(const LayoutState& state, int q, const QuestionBoxes& boxes) {
    createMediaButtons(state, q, boxes);
    createControl(state.page, "STATIC", "", STYLE_VIDEO_HOST, videoHostId(q), boxes.videoHost);
    setUpVideo(state.page, q);
}

void createNumberLabel(HWND page, int q, const QuestionBoxes& boxes) {
    char number[16];
    wsprintfA(number, "%d.", q);
    // The number keeps the dialog's system font.
    createControl(page, "Static", number, STYLE_NUMBER, ID_QUESTION_NUMBER, boxes.number);
}

// Each slot's field with its saved text, hooked and judged, and its verdict label. A one-slot field
// takes the focus as it is made, before it is subclassed: the field that loses the focus is judged,
// the new one is not yet hooked. One-slot verdict labels keep the dialog's system font.
void createFields(const LayoutState& state, int q, const QuestionBoxes& boxes) {
    const int slots = g_quiz->slotsPerQuestion;
    for (int s = 1; s <= slots; ++s) {
        char saved[TEXT_SLOT_SIZE];
        nextSavedAnswer(state.savedAnswers, saved);
        const int id = answerId(q, s, slots);
        HWND field = createControl(state.page, "Edit", saved, STYLE_ANSWER, id, boxes.fields[s - 1]);
        setGuiFont(field);
        if (slots == 1) SetFocus(field);
        subclassAnswerField(field);
        HWND verdict = createControl(state.page, "Static", "?", STYLE_VERDICT, verdictId(id), boxes.verdicts[s - 1]);
        if (slots == 2) setGuiFont(verdict);
        evaluateField(state.page, id);
    }
}

// One question: its kind's controls, its number, its fields.
void layoutQuestion(const LayoutState& state, int q) {
    const QuestionBoxes boxes = questionBoxes(g_quiz->kind, g_quiz->slotsPerQuestion, g_quiz->revealMode, q);
    switch (g_quiz->kind) {
    case QuizKind::Text:
        createQuestionText(state.page, q, boxes);
        break;
    case QuizKind::Picture:
        createPicture(state.page, q, boxes);
        break;
    case QuizKind::Audio:
        createMediaButtons(state, q, boxes);
        break;
    case QuizKind::Video:
    default:
        createFilm(state, q, boxes);
        break;
    }
    createNumberLabel(state.page, q, boxes);
    createFields(state, q, boxes);
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
    if (questionsLaidOut(g_quiz->kind, g_quiz->slotsPerQuestion)) {
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
