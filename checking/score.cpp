// The scoring rules, on texts: which field is which question's slot, solved questions, the score and
// its code.
#include "checking/score.h"

#include <cstdio>
#include <cstring>

#include "checking/accepted_answers.h"
#include "checking/matcher.h"

namespace {

// Shown in place of a code until something is earned.
const char* const NO_CODE = "      ";

int effectiveSlots(int slots) { return slots < 1 ? 1 : slots; }

}  // namespace

int fieldNumber(int question, int slot, int slots) { return (question - 1) * effectiveSlots(slots) + slot; }

FieldSlot fieldSlot(int field, int slots) {
    const int n = effectiveSlots(slots);
    FieldSlot result;
    result.question = (field - 1) / n + 1;
    result.slot = (field - 1) % n + 1;
    return result;
}

int fieldCount(const Quiz* quiz) { return quiz->questionCount * quiz->slotsPerQuestion; }

const char* expectedAnswer(const Question* node, int slot) {
    if (node == nullptr) return "";
    return slot == 2 ? node->answer2 : node->answer1;
}

bool questionSolved(const Question* node, const char* const* typed, int slots, AccentRule accents) {
    for (int s = 1; s <= slots; ++s)
        if (!holdsAcceptedAnswer(node, s, accents, typed[s - 1])) return false;
    return true;
}

int scoreFromVerdicts(const char* const* verdicts, int fieldCount, int slots) {
    // Without any slot there is no field and nothing to count.
    if (slots < 1) return 0;
    int score = 0;
    for (int first = 1; first + slots - 1 <= fieldCount; first += slots) {
        bool solved = true;
        for (int f = first; f < first + slots; ++f)
            if (std::strcmp(verdicts[f - 1], VERDICT_RIGHT) != 0) solved = false;
        if (solved) ++score;
    }
    return score;
}

const char* scoreCode(const Quiz* quiz, int score) {
    if (score < 1 || score > MAX_QUESTIONS) return NO_CODE;
    return quiz->scoreCodes[score - 1];
}

void scoreText(char* text, int size, int score, int questionCount) {
    if (size > 0) std::snprintf(text, static_cast<size_t>(size), " %d / %d", score, questionCount);
}

FieldJudgement judgeField(const Quiz* quiz, int field, const char* const* texts) {
    const int slots = quiz->slotsPerQuestion;
    const FieldSlot place = fieldSlot(field, slots);
    // A list shorter than questionCount answers every later question with its last node.
    const Question* node = questionAt(quiz, place.question - 1);
    FieldJudgement judgement;
    judgement.verdict = judgeAnswer(node, place.slot, quiz->accents, texts[place.slot - 1]);
    const bool right = std::strcmp(judgement.verdict, VERDICT_RIGHT) == 0;
    // Only questions of one or two slots are laid out, so no other question has fields to solve it.
    judgement.reveal = right && quiz->revealMode != RevealMode::None && slots >= 1 && slots <= MAX_SLOTS &&
                       questionSolved(node, texts, slots, quiz->accents);
    judgement.clearComment = !right;
    return judgement;
}
