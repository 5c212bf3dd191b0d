// Question positions on the page, the boxes of each question's controls and the page's extents, from
// the question number and quiz settings; the identifiers of the controls of questions and answer
// fields.
#include "player/geometry.h"

#include "player/extended_real.h"

namespace {

// Row height of a Picture or Video quiz: a comment line under each picture needs 60 more pixels.
int gridRowHeight(RevealMode revealMode) {
    return revealMode == RevealMode::Comment ? 390 : 330;
}

// A two-slot Text quiz puts the captions over its two columns of fields, again above every third
// question, as the grid kinds give each row of three its captions: the rows 25 apart, each group of
// three 20 lower than the one-slot rows for each caption line above it.
constexpr int CAPTION_LINE = 20;
int twoSlotTextRowY(int q) {
    return textRowY(q) + CAPTION_LINE * ((q - 1) / 3 + 1);
}

// The two columns of a two-slot Text quiz: each field 120 wide with its verdict label 5 to its right,
// 10 apart, ending where a one-slot Text row ends (810), which the window shows whole; the question's
// text stops 10 short of them.
constexpr int TEXT_FIELD_X[2] = {420, 620};
constexpr int TEXT_FIELD_WIDTH = 120;
constexpr int TEXT_VERDICT_WIDTH = 65;

}  // namespace

bool questionsLaidOut(QuizKind kind, int slots) {
    const bool knownKind =
        kind == QuizKind::Text || kind == QuizKind::Picture || kind == QuizKind::Audio || kind == QuizKind::Video;
    return knownKind && (slots == 1 || slots == 2);
}

QuestionBoxes questionBoxes(QuizKind kind, int slots, RevealMode revealMode, int q) {
    QuestionBoxes boxes{};
    const int c = gridColumnX(q, slots);
    const int b = gridRowBaseY(q, revealMode);
    const int a = audioRowY(q);
    const int t = textRowY(q);
    // The kind's own controls, the number label, and the field and verdict label of one slot.
    Box& field = boxes.fields[0];
    Box& verdict = boxes.verdicts[0];
    switch (kind) {
    case QuizKind::Text:
        boxes.text = {50, t, 550, 20};
        boxes.number = {30, t + 3, 19, 17};
        field = {615, t, 100, 20};
        verdict = {720, t - 1, 90, 21};
        break;
    case QuizKind::Picture:
        boxes.picture = {c + 30, b - PICTURE_BOX, PICTURE_BOX, PICTURE_BOX};
        if (revealMode == RevealMode::AnswerPicture)
            boxes.answerPicture = {c + 20, b - PICTURE_BOX, PICTURE_BOX, PICTURE_BOX};
        if (revealMode == RevealMode::Comment) boxes.comment = {c + 30, b + 56, 260, 65};
        boxes.number = {c + 10, b + 12, 19, 17};
        field = {c + 30, b + 10, slots == 2 ? 240 : 260, 20};
        verdict = {c + 30, b + 29, 260, 21};
        break;
    case QuizKind::Audio:
        boxes.play = {c + 30, a, 20, 21};
        boxes.stop = {c + 30, a + 21, 20, 20};
        boxes.number = {c + 10, a + 2, 19, 17};
        field = {c + 50, a, 220, 20};
        verdict = {c + 50, a + 19, 220, 21};
        break;
    case QuizKind::Video:
        boxes.play = {c + 15, b - 40, 20, 20};
        boxes.stop = {c + 15, b - 20, 20, 20};
        boxes.videoHost = {c + 15, b - 250, 200, 150};
        // In the first column of a one-slot quiz the number starts 10 pixels left of the page's edge.
        boxes.number = {c - 10, b - 36, 19, 17};
        field = {c + 35, b - 40, 230, 20};
        verdict = {c + 35, b - 21, 230, 21};
        break;
    default:
        return boxes;
    }
    if (slots != 2) return boxes;
    if (kind == QuizKind::Text) {
        // Side by side under their captions: stacked, the second field would cover the next row.
        const int y = twoSlotTextRowY(q);
        boxes.text = {50, y, TEXT_FIELD_X[0] - 10 - 50, 20};
        boxes.number = {30, y + 3, 19, 17};
        for (int s = 0; s < 2; ++s) {
            boxes.fields[s] = {TEXT_FIELD_X[s], y, TEXT_FIELD_WIDTH, 20};
            boxes.verdicts[s] = {TEXT_FIELD_X[s] + TEXT_FIELD_WIDTH + 5, y - 1, TEXT_VERDICT_WIDTH, 21};
        }
        return boxes;
    }
    // The grid kinds: two fields 50 narrower than one, stacked 20 apart, each with a small verdict
    // label 5 pixels to its right.
    const Box one = field;
    for (int s = 0; s < 2; ++s) {
        boxes.fields[s] = {one.x, one.y + 20 * s, one.width - 50, 21};
        boxes.verdicts[s] = {one.x + one.width - 45, one.y + 20 * s + 1, 60, 17};
    }
    return boxes;
}

void fittedPictureSize(int width, int height, int boxWidth, int boxHeight, int* fittedWidth, int* fittedHeight) {
    // A size of nothing has nothing to scale.
    if (width <= 0 || height <= 0 || boxWidth <= 0 || boxHeight <= 0) {
        *fittedWidth = 0;
        *fittedHeight = 0;
        return;
    }
    // In the x87's extended precision whatever the machine: the page in a browser shows the sizes the
    // 32-bit player shows.
    const ExtendedReal across = extendedQuotient(static_cast<uint32_t>(boxWidth), static_cast<uint32_t>(width));
    const ExtendedReal down = extendedQuotient(static_cast<uint32_t>(boxHeight), static_cast<uint32_t>(height));
    const ExtendedReal scale = extendedLess(across, down) ? across : down;
    *fittedWidth = extendedTruncated(extendedProduct(static_cast<uint32_t>(width), scale));
    *fittedHeight = extendedTruncated(extendedProduct(static_cast<uint32_t>(height), scale));
}

Box centredPicture(const Box& box, int width, int height) {
    return {box.x + (box.width - width) / 2, box.y + (box.height - height) / 2, width, height};
}

Box slotCaptionBox(QuizKind kind, RevealMode revealMode, int q, int s) {
    // Over its column of fields and verdicts, on the line above the row.
    if (kind == QuizKind::Text)
        return {TEXT_FIELD_X[s - 1], twoSlotTextRowY(q) - CAPTION_LINE - 2, TEXT_FIELD_WIDTH + 5 + TEXT_VERDICT_WIDTH,
                CAPTION_LINE};
    int y = 0;
    if (kind == QuizKind::Picture) y = gridRowBaseY(q, revealMode) + 12;
    if (kind == QuizKind::Audio) y = audioRowY(q) + 5;
    return {3, y + 20 * (s - 1), 95, 20};
}

int gridRowBaseY(int q, RevealMode revealMode) {
    return (q - 1) / 3 * gridRowHeight(revealMode) + 280;
}

int pageExtentHeight(QuizKind kind, int slots, int questionCount, RevealMode revealMode) {
    const int n = questionCount;
    switch (kind) {
    case QuizKind::Picture:
    case QuizKind::Video:
        return (n + 2) / 3 * gridRowHeight(revealMode) + 25;
    case QuizKind::Audio:
        return audioRowY(n + 3);
    case QuizKind::Text:
        return 25 * n + 25 + (slots == 2 ? CAPTION_LINE * ((n + 2) / 3) : 0);
    default:
        // An unknown kind lays out no questions; the extent only has to be a sane size.
        return 25 * n + 25;
    }
}

int answerId(int q, int s, int slots) { return answerIdOfField(fieldNumber(q, s, slots)); }

FieldSlot fieldSlotOf(int answerIdentifier, int slots) { return fieldSlot(fieldOfAnswerId(answerIdentifier), slots); }
