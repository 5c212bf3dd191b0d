// Where each question sits on the page, and how large the page is. Pure integer arithmetic.
#pragma once
#include "content/quiz.h"

// A question's picture, and an answer picture revealed in its place, is scaled to fit a square box
// of this many pixels.
constexpr int PICTURE_BOX = 260;
// One notch of the mouse wheel, as WM_MOUSEWHEEL reports its delta (positive away from the user).
constexpr int WHEEL_NOTCH = 120;

// Top of question q's row in a Text quiz.
int textRowY(int q);
// Top of question q's row in an Audio quiz (three questions a row, rows 80 apart).
int audioRowY(int q);
// Horizontal offset of question q's column in a grid quiz (columns 290 apart, +90 with two slots).
int gridColumnX(int q, int slots);
// Base line of question q's row in a Picture or Video quiz; the picture box ends on it.
int gridRowBaseY(int q, RevealMode revealMode);

// Page content extents, fixed when the main window is created.
int pageExtentWidth(int slots);
int pageExtentHeight(QuizKind kind, int questionCount, RevealMode revealMode);

// Answer identifier <-> question and slot.
int answerId(int q, int s, int slots);
struct FieldSlot { int question; int slot; };
FieldSlot fieldSlotOf(int answerIdentifier, int slots);
