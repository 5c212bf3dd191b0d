// Where each question sits on the page, how large the page is, and the identifier of every control
// and media resource that belongs to a question or an answer field. Pure integer arithmetic.
#pragma once
#include "checking/score.h"
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

// Identifiers (ids.h, quiz_format.h) are computed here and nowhere else. q is a question's number,
// s an answer slot, f an answer field's number (checking/score.h).

// Answer field of question q, slot s, and back.
int answerId(int q, int s, int slots);
FieldSlot fieldSlotOf(int answerIdentifier, int slots);
// Answer field number f, and back.
int answerIdOfField(int f);
int fieldOfAnswerId(int answerIdentifier);
// The verdict label beside an answer field, and the field number a verdict label belongs to.
int verdictId(int answerIdentifier);
int fieldOfVerdictId(int verdictIdentifier);

// Question q's controls on the page.
int commentId(int q);
int pictureId(int q);
int playButtonId(int q);
int stopButtonId(int q);
int videoHostId(int q);
// The question number behind a comment label, play or stop button; outside 1 to MAX_QUESTIONS for any
// other identifier.
int questionOfComment(int commentIdentifier);
int questionOfPlayButton(int buttonIdentifier);
int questionOfStopButton(int buttonIdentifier);

// IMG resources of question q: its media (picture, sound or film) and its answer picture; and the
// question a media resource belongs to.
int mediaResourceId(int q);
int answerPictureResourceId(int q);
int questionOfMediaResource(int resourceId);
