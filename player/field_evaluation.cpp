// Judging one answer field of the page: its verdict word, the reveal of a solved question, and the
// score and code recounted from every verdict label. Which question a field belongs to, when it is
// solved, the score and its code are checking/score.h's rules; this file reads and writes controls.
#include <windows.h>

#include "player/field_evaluation.h"

#include "checking/score.h"
#include "content/quiz.h"
#include "player/geometry.h"
#include "player/ids.h"
#include "player/media.h"
#include "player/page_controls.h"
#include "player/platform_win32.h"
#include "player/window_state.h"

namespace {

// Long enough for "BRAVO"; a label is only ever compared with it.
const int VERDICT_READ_SIZE = 10;
// No page has more fields than its questions of two slots: a label beyond them cannot exist.
const int MAX_PAGE_FIELDS = MAX_QUESTIONS * MAX_SLOTS;

// While holds are taken, fields judged leave the score as it is and only note that it is owed; the
// last release writes it. Holds nest.
int g_scoreHolds = 0;
bool g_scoreOwed = false;

// The answer picture replaces the question picture, centred in a box of its own 10 pixels left of the
// question picture's. Positions are page pixels, so the scroll offset is taken off for the control.
// The control is marked with the resource it shows: the resource cannot change while the program
// runs, so a question solved again (its two slots judged one after the other, or a verdict that comes
// back to "BRAVO") keeps the picture it has instead of decoding the same one again.
void showAnswerPicture(HWND page, int q) {
    HWND picture = pageControl(page, pictureId(q));
    if (picture == nullptr) return;
    const int resource = answerPictureResourceId(q);
    if (GetWindowLongPtrA(picture, GWLP_USERDATA) == resource) return;
    HBITMAP bitmap = loadResourcePicture(resourceModule(), resource, QUIZ_MEDIA_TYPE, PICTURE_BOX, PICTURE_BOX);
    if (bitmap == nullptr) return;
    BITMAP size;
    if (GetObjectA(bitmap, sizeof size, &size) == 0) {
        DeleteObject(bitmap);
        return;
    }
    HGDIOBJ shown = reinterpret_cast<HGDIOBJ>(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
    const Box box = questionBoxes(g_quiz->kind, g_quiz->slotsPerQuestion, g_quiz->revealMode, q).answerPicture;
    const Box place = centredPicture(box, size.bmWidth, size.bmHeight);
    SetWindowPos(picture, HWND_TOPMOST, place.x - GetScrollPos(page, SB_HORZ) * scrollUnit,
                 place.y - GetScrollPos(page, SB_VERT) * scrollUnit, place.width, place.height,
                 SWP_NOOWNERZORDER | SWP_NOACTIVATE);
    SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    SetWindowLongPtrA(picture, GWLP_USERDATA, resource);
    // The control owns what it shows: the picture it showed before is ours to free.
    if (shown != nullptr) DeleteObject(shown);
}

void reveal(HWND page, const Question* node, int q) {
    switch (g_quiz->revealMode) {
    case RevealMode::AnswerPicture:
        showAnswerPicture(page, q);
        break;
    case RevealMode::Comment:
        setPageLabelText(page, commentId(q), node != nullptr ? node->comment : "");
        break;
    default:
        break;
    }
}

}  // namespace

void evaluateField(HWND page, int fieldId) {
    const int slots = g_quiz->slotsPerQuestion;
    const int q = fieldSlotOf(fieldId, slots).question;
    // The texts of every slot of the question as they read now: the field's own, and the others a
    // solved question needs. Only questions of one or two slots are laid out.
    char texts[MAX_SLOTS][TEXT_SLOT_SIZE] = {};
    const char* typed[MAX_SLOTS] = {texts[0], texts[1]};
    for (int s = 1; s <= (slots < 1 ? 1 : slots) && s <= MAX_SLOTS; ++s)
        pageControlText(page, answerId(q, s, slots), texts[s - 1], TEXT_SLOT_SIZE);
    const FieldJudgement judgement = judgeField(g_quiz, fieldOfAnswerId(fieldId), typed);

    // A list shorter than questionCount answers every later question with its last node.
    if (judgement.reveal) reveal(page, questionAt(g_quiz, q - 1), q);
    // A picture once revealed stays; a comment goes as soon as the question is no longer right.
    if (judgement.clearComment) setPageLabelText(page, commentId(q), "");
    setPageLabelText(page, verdictId(fieldId), judgement.verdict);
    if (g_scoreHolds > 0)
        g_scoreOwed = true;
    else
        updateScore(page);
}

void holdScore() { ++g_scoreHolds; }

void releaseScore(HWND page) {
    if (g_scoreHolds > 0) --g_scoreHolds;
    if (g_scoreHolds > 0 || !g_scoreOwed) return;
    g_scoreOwed = false;
    updateScore(page);
}

// Every label is read again, through the handles the page keeps: the labels are the only record of
// the verdicts.
void updateScore(HWND page) {
    int fields = fieldCount(g_quiz);
    if (fields > MAX_PAGE_FIELDS) fields = MAX_PAGE_FIELDS;
    if (fields < 0) fields = 0;
    char labels[MAX_PAGE_FIELDS][VERDICT_READ_SIZE];
    const char* verdicts[MAX_PAGE_FIELDS];
    for (int f = 1; f <= fields; ++f) {
        pageControlText(page, verdictId(answerIdOfField(f)), labels[f - 1], VERDICT_READ_SIZE);
        verdicts[f - 1] = labels[f - 1];
    }
    const int score = scoreFromVerdicts(verdicts, fields, g_quiz->slotsPerQuestion);

    HWND header = GetParent(page);
    char text[32];
    scoreText(text, sizeof text, score, g_quiz->questionCount);
    setLabelText(GetDlgItem(header, ID_SCORE), text);
    setLabelText(GetDlgItem(header, ID_CODE_VALUE), scoreCode(g_quiz, score));
}
