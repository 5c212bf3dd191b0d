// Judging one answer field of the page: its verdict word, the reveal of a solved question, and the
// score and code recounted from every verdict label.
#include <windows.h>

#include "checking/evaluation.h"

#include "checking/matcher.h"
#include "content/quiz.h"
#include "player/geometry.h"
#include "player/ids.h"
#include "player/media.h"
#include "player/platform_win32.h"
#include "player/window_state.h"

namespace {

// Long enough for "BRAVO"; a label is only ever compared with it.
const int VERDICT_READ_SIZE = 10;
const char* const NO_CODE = "      ";

// A control's text, at most size - 1 characters; empty when the page has no such control.
void controlText(HWND page, int id, char* text, int size) {
    text[0] = '\0';
    HWND control = GetDlgItem(page, id);
    if (control != nullptr) GetWindowTextA(control, text, size);
}

const char* expectedAnswer(const Question* node, int slot) {
    if (node == nullptr) return "";
    return slot == 2 ? node->answer2 : node->answer1;
}

// Every slot holds its expected answer, compared case-folded but untrimmed: an answer with stray
// spaces scores but does not reveal.
bool questionSolved(HWND page, const Question* node, int index, int slots) {
    int matching = 0;
    for (int j = 1; j <= slots; ++j) {
        char expected[TEXT_SLOT_SIZE];
        char typed[TEXT_SLOT_SIZE];
        copyText(expected, expectedAnswer(node, j));
        controlText(page, ID_ANSWER_BASE + index * slots + j, typed, TEXT_SLOT_SIZE);
        upperAscii(expected);
        upperAscii(typed);
        if (lstrcmpA(expected, typed) == 0) ++matching;
    }
    return matching == slots;
}

// The answer picture replaces the question picture, centred 10 pixels left of the question picture's
// box. Positions are page pixels, so the scroll offset is taken off for the control.
void showAnswerPicture(HWND page, int q) {
    HBITMAP bitmap = loadResourcePicture(resourceModule(), IMG_ANSWER_BASE + q, QUIZ_MEDIA_TYPE, PICTURE_BOX, PICTURE_BOX);
    if (bitmap == nullptr) return;
    BITMAP size;
    if (GetObjectA(bitmap, sizeof size, &size) == 0) {
        DeleteObject(bitmap);
        return;
    }
    HWND picture = GetDlgItem(page, ID_PICTURE_BASE + q);
    if (picture == nullptr) {
        DeleteObject(bitmap);
        return;
    }
    HGDIOBJ shown = reinterpret_cast<HGDIOBJ>(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
    const int w = size.bmWidth;
    const int h = size.bmHeight;
    const int x = gridColumnX(q, g_quiz->slotsPerQuestion) + 20 + (PICTURE_BOX - w) / 2;
    const int y = gridRowBaseY(q, g_quiz->revealMode) - PICTURE_BOX + (PICTURE_BOX - h) / 2;
    SetWindowPos(picture, HWND_TOPMOST, x - GetScrollPos(page, SB_HORZ) * scrollUnit,
                 y - GetScrollPos(page, SB_VERT) * scrollUnit, w, h, SWP_NOOWNERZORDER | SWP_NOACTIVATE);
    SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    // The control owns what it shows: the picture it showed before is ours to free.
    if (shown != nullptr) DeleteObject(shown);
}

void reveal(HWND page, const Question* node, int q) {
    switch (g_quiz->revealMode) {
    case RevealMode::AnswerPicture:
        showAnswerPicture(page, q);
        break;
    case RevealMode::Comment:
        SetDlgItemTextA(page, ID_COMMENT_BASE + q, node != nullptr ? node->comment : "");
        break;
    default:
        break;
    }
}

}  // namespace

void evaluateField(HWND page, int fieldId) {
    const int slots = g_quiz->slotsPerQuestion;
    int index;
    int slot;
    if (slots == 2) {
        index = (fieldId - 3999) / 2 - 1;
        slot = fieldId % 2 == 0 ? 2 : 1;
    } else {
        index = fieldId - (ID_ANSWER_BASE + 1);
        slot = 1;
    }
    const int q = index + 1;
    // A list shorter than questionCount answers every later question with its last node.
    const Question* node = questionAt(g_quiz, index);

    char typed[TEXT_SLOT_SIZE];
    controlText(page, fieldId, typed, TEXT_SLOT_SIZE);
    const char* verdict = matchAnswer(expectedAnswer(node, slot), typed);
    const bool right = lstrcmpA(verdict, VERDICT_RIGHT) == 0;

    if (right && g_quiz->revealMode != RevealMode::None && questionSolved(page, node, index, slots))
        reveal(page, node, q);
    // A picture once revealed stays; a comment goes as soon as the question is no longer right.
    if (!right) SetDlgItemTextA(page, ID_COMMENT_BASE + q, "");
    SetDlgItemTextA(page, fieldId + (ID_VERDICT_BASE - ID_ANSWER_BASE), verdict);
    updateScore(page);
}

void updateScore(HWND page) {
    const int slots = g_quiz->slotsPerQuestion;
    int score = 0;
    for (int q = 1; q <= g_quiz->questionCount; ++q) {
        // Without any slot there is no field and nothing to count.
        bool solved = slots > 0;
        for (int s = 1; s <= slots; ++s) {
            char label[VERDICT_READ_SIZE];
            controlText(page, ID_VERDICT_BASE + (q - 1) * slots + s, label, VERDICT_READ_SIZE);
            if (lstrcmpA(label, VERDICT_RIGHT) != 0) solved = false;
        }
        if (solved) ++score;
    }

    HWND header = GetParent(page);
    char text[32];
    wsprintfA(text, " %d / %d", score, g_quiz->questionCount);
    SetDlgItemTextA(header, ID_SCORE, text);
    const bool hasCode = score > 0 && score <= MAX_QUESTIONS;
    SetDlgItemTextA(header, ID_CODE_VALUE, hasCode ? g_quiz->scoreCodes[score - 1] : NO_CODE);
}
