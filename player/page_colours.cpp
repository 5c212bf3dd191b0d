// Colours of the question page: its background, and its labels by identifier, with one colour per
// verdict word.
#include <windows.h>

#include "checking/score.h"
#include "content/quiz.h"
#include "player/geometry.h"
#include "player/ids.h"
#include "player/labels.h"
#include "player/page.h"

namespace {

// One brush per colour a page label can take.
enum LabelColour { ANAGRAM_COLOUR, RIGHT_COLOUR, WRONG_COLOUR, NEAR_MISS_COLOUR, QUESTION_TEXT_COLOUR, LABEL_COLOURS };
const COLORREF LABEL_COLOUR_VALUES[LABEL_COLOURS] = {
    verdictBackground(VerdictColour::Anagram), verdictBackground(VerdictColour::Right),
    verdictBackground(VerdictColour::Wrong),   verdictBackground(VerdictColour::NearMiss),
    QUESTION_TEXT_BACKGROUND,
};

// The colour handler runs on every repaint of every label, so each brush is made once, on the first
// paint that needs it, and kept in this table for as long as the page lives: the page's last message
// (WM_NCDESTROY, after its labels are gone) deletes them, and a later page makes them again. Only a
// Video quiz destroys its page at shut-down; for the other kinds the system frees them with the process.
HBRUSH g_labelBrushes[LABEL_COLOURS] = {};

HBRUSH labelBrush(LabelColour colour) {
    if (g_labelBrushes[colour] == nullptr) g_labelBrushes[colour] = CreateSolidBrush(LABEL_COLOUR_VALUES[colour]);
    return g_labelBrushes[colour];
}

// A verdict label's colour follows the word it shows (player/labels.h). A longer text is read as its
// first 259 characters, which match no verdict word.
HBRUSH verdictBrush(HWND label) {
    char verdict[TEXT_SLOT_SIZE];
    verdict[0] = '\0';
    GetWindowTextA(label, verdict, sizeof verdict);
    switch (verdictColour(verdict)) {
    case VerdictColour::Anagram: return labelBrush(ANAGRAM_COLOUR);
    case VerdictColour::Right: return labelBrush(RIGHT_COLOUR);
    case VerdictColour::Wrong: return labelBrush(WRONG_COLOUR);
    case VerdictColour::NearMiss: return labelBrush(NEAR_MISS_COLOUR);
    case VerdictColour::None:
    default: return nullptr;
    }
}

HBRUSH quizBrush() { return static_cast<HBRUSH>(g_quiz->backgroundBrush); }

}  // namespace

INT_PTR onPageBackground() { return g_quiz != nullptr ? reinterpret_cast<INT_PTR>(quizBrush()) : 0; }

// Labels are told apart by identifier only: statics ask for their colours while they are still being
// created, before any handle of theirs could have been kept. The shared identifiers (numbers,
// captions, question texts) need no telling apart, since all of a kind share one colour.
INT_PTR onPageLabelColour(HDC dc, HWND control) {
    if (g_quiz == nullptr) return 0;
    const int id = GetWindowLongA(control, GWL_ID);
    const int fields = fieldCount(g_quiz);
    const int field = fieldOfVerdictId(id);
    const int commented = questionOfComment(id);
    HBRUSH brush = nullptr;
    if (field >= 1 && field <= fields)
        brush = verdictBrush(control);
    else if (id == ID_QUESTION_TEXT)
        brush = labelBrush(QUESTION_TEXT_COLOUR);
    else if (id == ID_QUESTION_NUMBER || id == ID_SLOT_CAPTION ||
             (commented >= 1 && commented <= g_quiz->questionCount))
        brush = quizBrush();
    // Pictures, film hosts, "?" labels and anything unknown keep the platform's colours; so does every
    // label when a brush could not be made.
    if (brush == nullptr) return 0;
    // The text goes transparently over the brush, in black whatever the device context held before.
    SetTextColor(dc, LABEL_TEXT);
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<INT_PTR>(brush);
}

void releasePageBrushes() {
    for (HBRUSH& brush : g_labelBrushes) {
        if (brush != nullptr) DeleteObject(brush);
        brush = nullptr;
    }
}
