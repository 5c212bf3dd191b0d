// The scoring rules: the question and slot of an answer field, when a question is solved, the score
// counted from the verdict words, and the code revealed for a score. The player reads and writes
// its controls and calls these; nothing here knows of windows.
#pragma once
#include "content/quiz.h"

// Answer fields are numbered 1 to questionCount x slots, question by question, slot 1 before slot 2.
// A slot count below one is read as one, so a damaged count never divides by zero.
struct FieldSlot {
    int question;  // 1-based
    int slot;      // 1-based
};
int fieldNumber(int question, int slot, int slots);
FieldSlot fieldSlot(int field, int slots);
// How many answer fields the quiz has: questionCount x slotsPerQuestion.
int fieldCount(const Quiz* quiz);

// The answer slot s of a question expects: answer1 for slot 1, answer2 for slot 2; "" without a node.
const char* expectedAnswer(const Question* node, int slot);

// True when the typed text of every slot (typed[s - 1], each read with the text-slot bound) equals one
// of its accepted answers, both upper-cased with upperAscii (and folded when accents are ignored) but
// neither trimmed: stricter than the verdict, so an answer with stray spaces scores "BRAVO" but
// reveals nothing.
bool questionSolved(const Question* node, const char* const* typed, int slots,
                    AccentRule accents = AccentRule::Exact);

// The questions whose every slot's verdict is "BRAVO", from the verdict words of fields 1 to
// fieldCount (verdicts[f - 1]). A question with a slot beyond fieldCount does not count.
int scoreFromVerdicts(const char* const* verdicts, int fieldCount, int slots);

// The code shown for a score: the quiz's code line for it, or six spaces when nothing is earned (a
// score of 0, or one outside the code table).
const char* scoreCode(const Quiz* quiz, int score);

// The score as the header shows it, " 4 / 30", in text (size bytes, cut to fit).
void scoreText(char* text, int size, int score, int questionCount);

// What judging answer field f shows. texts[s - 1] is what slot s of the field's question holds now,
// the field's own text among them: one text per slot, for the one- and two-slot quizzes the player
// lays out.
struct FieldJudgement {
    const char* verdict;  // the verdict word of the field
    bool reveal;          // "BRAVO", the question solved and the quiz revealing something: show it
    bool clearComment;    // any verdict but "BRAVO": the question's comment goes (a picture stays)
};
FieldJudgement judgeField(const Quiz* quiz, int field, const char* const* texts);
