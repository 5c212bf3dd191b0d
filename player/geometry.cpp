// Question positions on the page, the boxes of each question's controls and the page's extents, from
// the question number and quiz settings; the identifiers of the controls of questions and answer
// fields.
#include "player/geometry.h"

#include "player/ids.h"

namespace {

// Row height of a Picture or Video quiz: a comment line under each picture needs 60 more pixels.
int gridRowHeight(RevealMode revealMode) {
    return revealMode == RevealMode::Comment ? 390 : 330;
}

// Where one question's number label and a one-slot field with its verdict label go, as its kind
// places them; the fields of two slots follow from that one field.
struct RowAnchor {
    Box field;
    Box verdict;
    Box number;
};

RowAnchor textQuestion(QuestionBoxes* boxes, int q) {
    const int t = textRowY(q);
    boxes->text = {50, t, 550, 20};
    return {{615, t, 100, 20}, {720, t - 1, 90, 21}, {30, t + 3, 19, 17}};
}

RowAnchor pictureQuestion(QuestionBoxes* boxes, int slots, RevealMode revealMode, int q) {
    const int c = gridColumnX(q, slots);
    const int b = gridRowBaseY(q, revealMode);
    boxes->picture = {c + 30, b - PICTURE_BOX, PICTURE_BOX, PICTURE_BOX};
    if (revealMode == RevealMode::AnswerPicture)
        boxes->answerPicture = {c + 20, b - PICTURE_BOX, PICTURE_BOX, PICTURE_BOX};
    if (revealMode == RevealMode::Comment) boxes->comment = {c + 30, b + 56, 260, 65};
    return {{c + 30, b + 10, slots == 2 ? 240 : 260, 20}, {c + 30, b + 29, 260, 21}, {c + 10, b + 12, 19, 17}};
}

RowAnchor audioQuestion(QuestionBoxes* boxes, int slots, int q) {
    const int c = gridColumnX(q, slots);
    const int a = audioRowY(q);
    boxes->play = {c + 30, a, 20, 21};
    boxes->stop = {c + 30, a + 21, 20, 20};
    return {{c + 50, a, 220, 20}, {c + 50, a + 19, 220, 21}, {c + 10, a + 2, 19, 17}};
}

// In the first column of a one-slot quiz the number starts 10 pixels left of the page's edge.
RowAnchor videoQuestion(QuestionBoxes* boxes, int slots, RevealMode revealMode, int q) {
    const int c = gridColumnX(q, slots);
    const int b = gridRowBaseY(q, revealMode);
    boxes->play = {c + 15, b - 40, 20, 20};
    boxes->stop = {c + 15, b - 20, 20, 20};
    boxes->videoHost = {c + 15, b - 250, 200, 150};
    return {{c + 35, b - 40, 230, 20}, {c + 35, b - 21, 230, 21}, {c - 10, b - 36, 19, 17}};
}

}  // namespace

QuestionBoxes questionBoxes(QuizKind kind, int slots, RevealMode revealMode, int q) {
    QuestionBoxes boxes{};
    RowAnchor anchor;
    switch (kind) {
    case QuizKind::Text:
        anchor = textQuestion(&boxes, q);
        break;
    case QuizKind::Picture:
        anchor = pictureQuestion(&boxes, slots, revealMode, q);
        break;
    case QuizKind::Audio:
        anchor = audioQuestion(&boxes, slots, q);
        break;
    case QuizKind::Video:
        anchor = videoQuestion(&boxes, slots, revealMode, q);
        break;
    default:
        return boxes;
    }
    boxes.number = anchor.number;
    if (slots != 2) {
        boxes.fields[0] = anchor.field;
        boxes.verdicts[0] = anchor.verdict;
        return boxes;
    }
    // Two fields 50 narrower, stacked 20 apart, each with a small verdict label 5 pixels to its right.
    const Box& f = anchor.field;
    for (int s = 0; s < 2; ++s) {
        boxes.fields[s] = {f.x, f.y + 20 * s, f.width - 50, 21};
        boxes.verdicts[s] = {f.x + f.width - 45, f.y + 20 * s + 1, 60, 17};
    }
    return boxes;
}

Box centredPicture(const Box& box, int width, int height) {
    return {box.x + (box.width - width) / 2, box.y + (box.height - height) / 2, width, height};
}

Box slotCaptionBox(QuizKind kind, RevealMode revealMode, int q, int s) {
    int y = 0;
    if (kind == QuizKind::Picture) y = gridRowBaseY(q, revealMode) + 12;
    if (kind == QuizKind::Audio) y = audioRowY(q) + 5;
    return {3, y + 20 * (s - 1), 95, 20};
}

int textRowY(int q) {
    return 25 * q - 15;
}

int audioRowY(int q) {
    return (q - 1) / 3 * 80 + 20;
}

int gridColumnX(int q, int slots) {
    return (q - 1) % 3 * 290 + (slots == 2 ? 90 : 0);
}

int gridRowBaseY(int q, RevealMode revealMode) {
    return (q - 1) / 3 * gridRowHeight(revealMode) + 280;
}

int pageExtentWidth(int slots) {
    return slots == 2 ? 980 : 890;
}

int pageExtentHeight(QuizKind kind, int questionCount, RevealMode revealMode) {
    const int n = questionCount;
    switch (kind) {
    case QuizKind::Picture:
    case QuizKind::Video:
        return (n + 2) / 3 * gridRowHeight(revealMode) + 25;
    case QuizKind::Audio:
        return audioRowY(n + 3);
    case QuizKind::Text:
    default:
        // An unknown kind lays out no questions; the extent only has to be a sane size.
        return 25 * n + 25;
    }
}

int answerId(int q, int s, int slots) { return answerIdOfField(fieldNumber(q, s, slots)); }

FieldSlot fieldSlotOf(int answerIdentifier, int slots) { return fieldSlot(fieldOfAnswerId(answerIdentifier), slots); }

int answerIdOfField(int f) { return ID_ANSWER_BASE + f; }
int fieldOfAnswerId(int answerIdentifier) { return answerIdentifier - ID_ANSWER_BASE; }
int verdictId(int answerIdentifier) { return answerIdentifier + (ID_VERDICT_BASE - ID_ANSWER_BASE); }
int fieldOfVerdictId(int verdictIdentifier) { return verdictIdentifier - ID_VERDICT_BASE; }

int commentId(int q) { return ID_COMMENT_BASE + q; }
int pictureId(int q) { return ID_PICTURE_BASE + q; }
int playButtonId(int q) { return ID_PLAY_BASE + q; }
int stopButtonId(int q) { return ID_STOP_BASE + q; }
int videoHostId(int q) { return ID_VIDEO_HOST_BASE + q; }
int questionOfComment(int commentIdentifier) { return commentIdentifier - ID_COMMENT_BASE; }
int questionOfPlayButton(int buttonIdentifier) { return buttonIdentifier - ID_PLAY_BASE; }
int questionOfStopButton(int buttonIdentifier) { return buttonIdentifier - ID_STOP_BASE; }
