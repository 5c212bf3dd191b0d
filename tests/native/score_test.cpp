// The scoring rules: solved questions, the score from verdict words and its code. Field numbers are
// tested through the identifiers built on them (geometry_test).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "checking/score.h"

namespace {

int score(const std::vector<const char*>& verdicts, int slots) {
    return scoreFromVerdicts(verdicts.data(), static_cast<int>(verdicts.size()), slots);
}

Question node(const char* answer1, const char* answer2) {
    Question q{};
    copyText(q.answer1, answer1);
    copyText(q.answer2, answer2);
    return q;
}

}  // namespace

TEST(ScoreSolved, EverySlotEqualsItsAnswerCaseFoldedButUntrimmed) {
    const Question paris = node("Paris", "France");
    const char* const right[] = {"pARIS", "FRANCE"};
    EXPECT_TRUE(questionSolved(&paris, right, 1));
    EXPECT_TRUE(questionSolved(&paris, right, 2));
    const char* const halfRight[] = {"paris", "Italie"};
    EXPECT_TRUE(questionSolved(&paris, halfRight, 1));
    EXPECT_FALSE(questionSolved(&paris, halfRight, 2));
    // Stray spaces still score "BRAVO", but do not solve.
    const char* const spaced[] = {"paris "};
    EXPECT_FALSE(questionSolved(&paris, spaced, 1));
    // Only a to z fold.
    const Question ete = node("\xE9t\xE9", "");
    const char* const capitals[] = {"\xC9T\xC9"};
    EXPECT_FALSE(questionSolved(&ete, capitals, 1));
    // A typed text is compared on its first 259 characters, as a field is read.
    const Question longest = node(std::string(259, 'A').c_str(), "");
    const std::string typed(300, 'a');
    const char* const overlong[] = {typed.c_str()};
    EXPECT_TRUE(questionSolved(&longest, overlong, 1));
    // Without a node every answer is expected empty.
    const char* const empty[] = {""};
    EXPECT_TRUE(questionSolved(nullptr, empty, 1));
    EXPECT_FALSE(questionSolved(nullptr, right, 1));
}

TEST(ScoreCount, QuestionsWhoseEverySlotReadsBravo) {
    EXPECT_EQ(2, score({"BRAVO", "FAUX", "BRAVO", "?"}, 1));
    EXPECT_EQ(1, score({"BRAVO", "?", "BRAVO", "BRAVO", "Presque", "BRAVO"}, 2));
    // Exactly the word: no other case, no space, and a missing label (empty) is no verdict.
    EXPECT_EQ(0, score({"bravo", "BRAVO ", ""}, 1));
    // A question cut off by the end of the fields does not count, nor does anything without slots.
    EXPECT_EQ(1, score({"BRAVO", "BRAVO", "BRAVO"}, 2));
    EXPECT_EQ(0, score({"BRAVO"}, 0));
    EXPECT_EQ(0, score({}, 1));
}

TEST(ScoreCode, TheCodeForTheScoreOrSixSpaces) {
    Quiz quiz;
    initQuiz(&quiz);
    copyText(quiz.scoreCodes[2], "TROIS");
    EXPECT_STREQ("      ", scoreCode(&quiz, 0));
    EXPECT_STREQ("TROIS", scoreCode(&quiz, 3));
    // A code line left empty shows empty.
    EXPECT_STREQ("", scoreCode(&quiz, 1));
    EXPECT_STREQ("      ", scoreCode(&quiz, 91));
}
