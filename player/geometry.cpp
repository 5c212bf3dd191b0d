// Question positions on the page and the page's extents, from the question number and quiz settings.
#include "player/geometry.h"

#include "player/ids.h"

namespace {

// Row height of a Picture or Video quiz: a comment line under each picture needs 60 more pixels.
int gridRowHeight(RevealMode revealMode) {
    return revealMode == RevealMode::Comment ? 390 : 330;
}

// Identifiers are computed with at least one slot, so a damaged slot count never divides by zero.
int effectiveSlots(int slots) {
    return slots < 1 ? 1 : slots;
}

}  // namespace

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

int answerId(int q, int s, int slots) {
    return ID_ANSWER_BASE + (q - 1) * effectiveSlots(slots) + s;
}

FieldSlot fieldSlotOf(int answerIdentifier, int slots) {
    const int n = effectiveSlots(slots);
    const int f = answerIdentifier - (ID_ANSWER_BASE + 1);
    FieldSlot result;
    result.question = f / n + 1;
    result.slot = f % n + 1;
    return result;
}
