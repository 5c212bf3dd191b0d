// Where each question and each of its controls sits on the page, how large the page is, and the
// identifier of every control that belongs to a question or an answer field. Pure integer arithmetic.
#pragma once
#include "checking/score.h"
#include "content/quiz.h"
#include "player/ids.h"

// A question's picture, and an answer picture revealed in its place, is scaled to fit a square box
// of this many pixels.
constexpr int PICTURE_BOX = 260;
// One notch of the mouse wheel, as WM_MOUSEWHEEL reports its delta (positive away from the user).
constexpr int WHEEL_NOTCH = 120;

// Top of question q's row in a Text quiz.
constexpr int textRowY(int q) { return 25 * q - 15; }
// Top of question q's row in an Audio quiz (three questions a row, rows 80 apart).
constexpr int audioRowY(int q) { return (q - 1) / 3 * 80 + 20; }
// Horizontal offset of question q's column in a grid quiz (columns 290 apart, +90 with two slots).
constexpr int gridColumnX(int q, int slots) { return (q - 1) % 3 * 290 + (slots == 2 ? 90 : 0); }
// Base line of question q's row in a Picture or Video quiz; the picture box ends on it.
int gridRowBaseY(int q, RevealMode revealMode);

// A rectangle in page pixels: left, top, width and height. A box of width 0 stands for a control the
// question does not have.
struct Box {
    int x, y, width, height;
};
constexpr bool operator==(const Box& a, const Box& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

// Every control of one question, in page pixels, as the page makes them. Members a question's kind
// does not have are empty boxes.
struct QuestionBoxes {
    Box text;               // Text: the question's text line
    Box picture;            // Picture: the box the question picture is centred in, shown empty without one
    Box answerPicture;      // Picture revealing an answer picture: the box it is centred in, 10 pixels left
    Box comment;            // Picture revealing a comment: the comment label under the fields
    Box play;               // Audio, Video: the play button
    Box stop;               // Audio, Video: the stop button
    Box videoHost;          // Video: the host of the film player
    Box number;             // the "q." label
    Box fields[MAX_SLOTS];  // the answer field of each slot; slots the quiz does not have are empty
    Box verdicts[MAX_SLOTS];  // the verdict label of each field
};

// Whether a quiz's questions are laid out at all: only the four kinds with one or two slots are;
// content can carry any kind and slot count, and then gets no questions.
bool questionsLaidOut(QuizKind kind, int slots);
// The boxes of question q of a quiz of this kind, slot count and reveal mode. Any slot count other
// than 2 is laid out as one slot; an unknown kind has no boxes at all.
QuestionBoxes questionBoxes(QuizKind kind, int slots, RevealMode revealMode, int q);
// The size a picture of width x height is shown at in a box of boxWidth x boxHeight: scaled, up or
// down, by the smaller of the two ratios in extended precision, then cut toward zero (a 496 x 372
// picture comes out 260 x 194, not 195).
void fittedPictureSize(int width, int height, int boxWidth, int boxHeight, int* fittedWidth, int* fittedHeight);
// A picture of width x height centred in box (it is at most the box's size, being scaled to fit it).
Box centredPicture(const Box& box, int width, int height);
// Caption of slot s of a two-slot quiz, for the row of question q. Picture and Audio rows give it a
// place beside their fields, Text rows one above their column of fields; Video stacks all of them at
// the top left.
Box slotCaptionBox(QuizKind kind, RevealMode revealMode, int q, int s);

// Page content extents, fixed when the main window is created.
constexpr int pageExtentWidth(int slots) { return slots == 2 ? 980 : 890; }
int pageExtentHeight(QuizKind kind, int slots, int questionCount, RevealMode revealMode);

// Control identifiers (ids.h) are computed here and nowhere else; resource numbers come from the
// quiz format (content/quiz_format.h). q is a question's number, s an answer slot, f an answer
// field's number (checking/score.h).

// Answer field of question q, slot s, and back.
int answerId(int q, int s, int slots);
FieldSlot fieldSlotOf(int answerIdentifier, int slots);
// Answer field number f, and back.
constexpr int answerIdOfField(int f) { return ID_ANSWER_BASE + f; }
constexpr int fieldOfAnswerId(int answerIdentifier) { return answerIdentifier - ID_ANSWER_BASE; }
// The verdict label beside an answer field, and the field number a verdict label belongs to.
constexpr int verdictId(int answerIdentifier) { return answerIdentifier + (ID_VERDICT_BASE - ID_ANSWER_BASE); }
constexpr int fieldOfVerdictId(int verdictIdentifier) { return verdictIdentifier - ID_VERDICT_BASE; }

// Question q's controls on the page.
constexpr int commentId(int q) { return ID_COMMENT_BASE + q; }
constexpr int pictureId(int q) { return ID_PICTURE_BASE + q; }
constexpr int playButtonId(int q) { return ID_PLAY_BASE + q; }
constexpr int stopButtonId(int q) { return ID_STOP_BASE + q; }
constexpr int videoHostId(int q) { return ID_VIDEO_HOST_BASE + q; }
// The question number behind a comment label, play or stop button; outside 1 to MAX_QUESTIONS for any
// other identifier.
constexpr int questionOfComment(int commentIdentifier) { return commentIdentifier - ID_COMMENT_BASE; }
constexpr int questionOfPlayButton(int buttonIdentifier) { return buttonIdentifier - ID_PLAY_BASE; }
constexpr int questionOfStopButton(int buttonIdentifier) { return buttonIdentifier - ID_STOP_BASE; }
