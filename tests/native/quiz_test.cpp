// The quiz record: text slots, initial state and the question list.
#include "content/quiz.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct QuizTest : ::testing::Test {
    Quiz quiz;
    void SetUp() override { initQuiz(&quiz); }
    void TearDown() override { clearQuestions(&quiz); }
};

TEST(CopyText, CutsAt259AndTerminates) {
    char slot[TEXT_SLOT_SIZE + 1];
    memset(slot, 'x', sizeof slot);
    copyText(slot, std::string(300, 'a').c_str());
    EXPECT_EQ(std::string(slot), std::string(259, 'a'));
    EXPECT_EQ(slot[TEXT_SLOT_SIZE], 'x');  // nothing written past the slot

    copyText(slot, "Pr\xE9" "nom");
    EXPECT_STREQ(slot, "Pr\xE9" "nom");
    copyText(slot, nullptr);
    EXPECT_STREQ(slot, "");
}

TEST_F(QuizTest, InitClearsEverythingAndSetsCommentReveal) {
    memset(&quiz, 0xAB, sizeof quiz);
    initQuiz(&quiz);
    EXPECT_EQ(quiz.kind, QuizKind::Text);
    EXPECT_EQ(quiz.revealMode, RevealMode::Comment);
    EXPECT_EQ(quiz.questionCount, 0);
    EXPECT_EQ(quiz.slotsPerQuestion, 0);
    EXPECT_EQ(quiz.backgroundColour, 0u);
    EXPECT_EQ(quiz.backgroundBrush, nullptr);
    EXPECT_EQ(quiz.firstQuestion, nullptr);
    EXPECT_EQ(quiz.lastQuestion, nullptr);
    for (const char* slot : {quiz.title, quiz.author, quiz.description, quiz.caption1, quiz.caption2}) {
        EXPECT_EQ(std::string(slot, TEXT_SLOT_SIZE), std::string(TEXT_SLOT_SIZE, '\0'));
    }
    EXPECT_EQ(std::string(&quiz.scoreCodes[0][0], sizeof quiz.scoreCodes),
              std::string(sizeof quiz.scoreCodes, '\0'));
}

TEST_F(QuizTest, AppendToEmptyListMakesFirstAndLast) {
    Question* node = appendQuestion(&quiz, "lune", "titi", std::string(300, 'q').c_str());
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(quiz.firstQuestion, node);
    EXPECT_EQ(quiz.lastQuestion, node);
    EXPECT_EQ(node->prev, nullptr);
    EXPECT_EQ(node->next, nullptr);
    EXPECT_STREQ(node->answer1, "lune");
    EXPECT_STREQ(node->answer2, "titi");
    EXPECT_EQ(std::string(node->text), std::string(259, 'q'));
    EXPECT_STREQ(node->comment, "");
}

TEST_F(QuizTest, AppendLinksAtTail) {
    Question* first = appendQuestion(&quiz, "a", "", "1");
    Question* second = appendQuestion(&quiz, "b", nullptr, "2");
    Question* third = appendQuestion(&quiz, "c", "", "3");
    EXPECT_EQ(quiz.firstQuestion, first);
    EXPECT_EQ(quiz.lastQuestion, third);
    EXPECT_EQ(first->prev, nullptr);
    EXPECT_EQ(first->next, second);
    EXPECT_EQ(second->prev, first);
    EXPECT_EQ(second->next, third);
    EXPECT_EQ(third->prev, second);
    EXPECT_EQ(third->next, nullptr);
    EXPECT_STREQ(second->answer2, "");
}

TEST_F(QuizTest, QuestionAtStopsOnLastNode) {
    EXPECT_EQ(questionAt(&quiz, 0), nullptr);
    EXPECT_EQ(questionAt(&quiz, 3), nullptr);
    Question* first = appendQuestion(&quiz, "a", "", "1");
    Question* second = appendQuestion(&quiz, "b", "", "2");
    EXPECT_EQ(questionAt(&quiz, 0), first);
    EXPECT_EQ(questionAt(&quiz, 1), second);
    EXPECT_EQ(questionAt(&quiz, 5), second);
    EXPECT_EQ(questionAt(&quiz, -1), first);
}

TEST_F(QuizTest, ClearEmptiesTheList) {
    clearQuestions(&quiz);
    EXPECT_EQ(quiz.firstQuestion, nullptr);
    EXPECT_EQ(quiz.lastQuestion, nullptr);

    appendQuestion(&quiz, "a", "", "1");
    appendQuestion(&quiz, "b", "", "2");
    clearQuestions(&quiz);  // the sanitizer build reports any node left behind
    EXPECT_EQ(quiz.firstQuestion, nullptr);
    EXPECT_EQ(quiz.lastQuestion, nullptr);
    EXPECT_EQ(questionAt(&quiz, 0), nullptr);
}

}  // namespace
