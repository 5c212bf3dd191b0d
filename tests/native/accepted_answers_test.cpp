// Fields of several accepted answers and accents ignored, against a small model of the rule.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "checking/accepted_answers.h"
#include "checking/matcher.h"
#include "checking/score.h"

namespace {

// A question whose slot 1 accepts these answers, the first as the content carries it.
struct Field {
    Question node{};
    std::string others;
    explicit Field(const std::vector<std::string>& answers) {
        copyText(node.answer1, answers[0].c_str());
        for (std::size_t k = 1; k < answers.size(); ++k) others += answers[k] + '\0';
        node.otherAnswers[0] = others.c_str();
        node.otherAnswerCount[0] = static_cast<int32_t>(answers.size() - 1);
    }
};

// The model: letters folded through groups of code page 1252 bytes; over all answers, the verdict
// that comes first in the ladder.
std::string modelFold(const std::string& text) {
    const char* const groups[][2] = {
        {"\xC0\xC1\xC2\xC3\xC4\xC5\xE0\xE1\xE2\xE3\xE4\xE5", "A"}, {"\xC6\xE6", "AE"}, {"\xC7\xE7", "C"},
        {"\xC8\xC9\xCA\xCB\xE8\xE9\xEA\xEB", "E"}, {"\xCC\xCD\xCE\xCF\xEC\xED\xEE\xEF", "I"}, {"\xD0\xF0", "D"},
        {"\xD1\xF1", "N"}, {"\xD2\xD3\xD4\xD5\xD6\xD8\xF2\xF3\xF4\xF5\xF6\xF8", "O"},
        {"\xD9\xDA\xDB\xDC\xF9\xFA\xFB\xFC", "U"}, {"\xDD\xFD\xFF\x9F", "Y"}, {"\xDE\xFE", "TH"}, {"\xDF", "SS"},
        {"\x8A\x9A", "S"}, {"\x8C\x9C", "OE"}, {"\x8E\x9E", "Z"}, {"\x83", "F"}};
    std::string folded;
    for (char c : text) {
        std::string plain(1, c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
        for (const auto& group : groups)
            if (std::string(group[0]).find(c) != std::string::npos) plain = group[1];
        folded += plain;
    }
    return folded;
}

std::string modelVerdict(const std::vector<std::string>& answers, const std::string& typed, bool ignore) {
    const std::vector<std::string> ladder = {"?",         "BRAVO",      "Anagramme", "Quasiment",        "Presque",
                                             "Trop long", "Trop court", "pas loin",  "yade lid\xE9" "e", "FAUX"};
    std::size_t best = ladder.size();
    for (const std::string& answer : answers) {
        const std::string verdict = ignore ? matchAnswer(modelFold(answer).c_str(), modelFold(typed).c_str())
                                           : matchAnswer(answer.c_str(), typed.c_str());
        best = std::min(best, static_cast<std::size_t>(std::find(ladder.begin(), ladder.end(), verdict) - ladder.begin()));
    }
    return best < ladder.size() ? ladder[best] : "(none)";
}

std::mt19937 g_random(23);  // the same cases every run
uint32_t pick(std::size_t n) { return static_cast<uint32_t>(g_random() % n); }

}  // namespace

// The rule against its model on near misses (letters dropped, added, swapped, changed, folded, the
// end cut) of one to four answers, with accents counted and ignored.
TEST(AcceptedAnswers, VerdictsAreTheModelsOnNearMisses) {
    const std::vector<std::string> words = {"SAINT-\xC9TIENNE", "Aix-en-Provence", "\x8Cuvre", "Ch\xE2teau fort",
                                            "Stra\xDF" "e", "No\xEBl", "PARIS", "Tour Eiffel", "ABCDEFGHIJKLMNOP",
                                            "\xC6sope", "\xDEorn"};
    const std::string letters = "aeiouAEIOU \xE9\xE8\xC9\xE7\x9C\xC0-st";
    int right = 0;
    for (int i = 0; i < 4000; ++i) {
        std::vector<std::string> answers;
        for (uint32_t n = 1 + pick(4); n > 0; --n) answers.push_back(words[pick(words.size())]);
        std::string typed = answers[pick(answers.size())];
        for (uint32_t edits = pick(4); edits > 0 && !typed.empty(); --edits) {
            const std::size_t at = pick(typed.size());
            const char letter = letters[pick(letters.size())];
            switch (pick(6)) {
                case 0: typed.erase(at, 1); break;
                case 1: typed.insert(at, 1, letter); break;
                case 2: if (at + 1 < typed.size()) std::swap(typed[at], typed[at + 1]); break;
                case 3: typed[at] = letter; break;
                case 4: typed = modelFold(typed); break;
                default: typed.resize(typed.size() - pick(typed.size())); break;
            }
        }
        const Field field(answers);
        for (AccentRule rule : {AccentRule::Exact, AccentRule::Ignore}) {
            const std::string verdict = judgeAnswer(&field.node, 1, rule, typed.c_str());
            ASSERT_EQ(verdict, modelVerdict(answers, typed, rule == AccentRule::Ignore)) << typed;
            right += verdict == "BRAVO";
        }
    }
    EXPECT_GT(right, 400);
}

// Solving stays stricter than the verdict: any accepted answer, folded when accents are ignored,
// but never with stray spaces; judgeField takes the quiz's rule.
TEST(AcceptedAnswers, ASolvedQuestionHoldsOneOfItsAnswersWithoutStraySpaces) {
    Field field({"SAINT-\xC9TIENNE", "ST-\xC9TIENNE"});
    const char* const other[] = {"st-\xC9tienne"}, *const plain[] = {"saint-etienne"}, *const spaced[] = {"st-etienne "};
    EXPECT_TRUE(questionSolved(&field.node, other, 1));
    EXPECT_FALSE(questionSolved(&field.node, plain, 1));
    EXPECT_FALSE(questionSolved(&field.node, spaced, 1, AccentRule::Ignore));
    Quiz quiz;
    initQuiz(&quiz);
    quiz.slotsPerQuestion = quiz.questionCount = 1;
    quiz.firstQuestion = quiz.lastQuestion = &field.node;
    quiz.accents = AccentRule::Ignore;
    EXPECT_TRUE(judgeField(&quiz, 1, plain).reveal);
    EXPECT_STREQ(judgeField(&quiz, 1, spaced).verdict, "BRAVO");
}
