// Fields of several accepted answers and accents ignored: folding, the verdict over all answers, the
// solved test, and the judging of a whole field, checked against a small model of the rule.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "checking/accepted_answers.h"
#include "checking/matcher.h"
#include "checking/score.h"

namespace {

// A question whose slots accept these answers, the first of each as the content carries it.
struct Field {
    Question node{};
    std::string others[MAX_SLOTS];
};

void accept(Field* field, int slot, const std::vector<std::string>& answers) {
    copyText(slot == 2 ? field->node.answer2 : field->node.answer1, answers[0].c_str());
    std::string& others = field->others[slot - 1];
    others.clear();
    for (std::size_t k = 1; k < answers.size(); ++k) others += answers[k] + '\0';
    field->node.otherAnswers[slot - 1] = others.c_str();
    field->node.otherAnswerCount[slot - 1] = static_cast<int32_t>(answers.size() - 1);
}

// The model: letters folded through groups of code page 1252 bytes, and over all answers the
// verdict that comes first in the ladder's order.
const struct {
    const char* letters;
    const char* plain;
} MODEL_FOLDS[] = {
    {"\xC0\xC1\xC2\xC3\xC4\xC5\xE0\xE1\xE2\xE3\xE4\xE5", "A"}, {"\xC6\xE6", "AE"}, {"\xC7\xE7", "C"},
    {"\xC8\xC9\xCA\xCB\xE8\xE9\xEA\xEB", "E"}, {"\xCC\xCD\xCE\xCF\xEC\xED\xEE\xEF", "I"}, {"\xD0\xF0", "D"},
    {"\xD1\xF1", "N"}, {"\xD2\xD3\xD4\xD5\xD6\xD8\xF2\xF3\xF4\xF5\xF6\xF8", "O"},
    {"\xD9\xDA\xDB\xDC\xF9\xFA\xFB\xFC", "U"}, {"\xDD\xFD\xFF\x9F", "Y"}, {"\xDE\xFE", "TH"}, {"\xDF", "SS"},
    {"\x8A\x9A", "S"}, {"\x8C\x9C", "OE"}, {"\x8E\x9E", "Z"}, {"\x83", "F"},
};

std::string modelFold(const std::string& text) {
    std::string folded;
    for (char c : text) {
        std::string plain(1, c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
        for (const auto& fold : MODEL_FOLDS)
            if (c != '\0' && std::string(fold.letters).find(c) != std::string::npos) plain = fold.plain;
        folded += plain;
    }
    return folded;
}

std::string modelVerdict(const std::vector<std::string>& answers, const std::string& typed, bool ignore) {
    const std::vector<std::string> ladder = {"?",        "BRAVO",      "Anagramme", "Quasiment",        "Presque",
                                             "Trop long", "Trop court", "pas loin",  "yade lid\xE9" "e", "FAUX"};
    std::size_t best = ladder.size();
    for (const std::string& answer : answers) {
        const std::string verdict = ignore ? matchAnswer(modelFold(answer).c_str(), modelFold(typed).c_str())
                                           : matchAnswer(answer.c_str(), typed.c_str());
        best = std::min(best, static_cast<std::size_t>(std::find(ladder.begin(), ladder.end(), verdict) - ladder.begin()));
    }
    return best < ladder.size() ? ladder[best] : "(none)";
}

std::string folded(const std::string& text, int size = FOLDED_SIZE) {
    std::vector<char> out(static_cast<std::size_t>(size) + 1, '#');
    foldAccents(text.c_str(), out.data(), size);
    return out.data();
}

// The same pairs every run (mulberry32).
struct Random {
    uint32_t seed;
    uint32_t next(uint32_t n) {
        seed += 0x6D2B79F5u;
        uint32_t t = (seed ^ (seed >> 15)) * (1u | seed);
        t = (t + ((t ^ (t >> 7)) * (61u | t))) ^ t;
        return (t ^ (t >> 14)) % n;
    }
};

const std::vector<std::string> WORDS = {
    "SAINT-\xC9TIENNE", "Aix-en-Provence", "AIX EN PROVENCE", "\x8Cuvre", "Ch\xE2teau fort",
    "Stra\xDF" "e",     "No\xEBl",          "gar\xE7on",        "\xC9T\xC9", "PARIS", "Tour Eiffel", "Lut\xE8" "ce",
    "ABCDEFGHIJKLMNOP", "\xC6sope",        "\xDEorn",
};

// A near miss of word: letters dropped, added, swapped or changed, case changed, the end cut.
std::string nearMiss(Random* random, const std::string& word) {
    const std::string letters = "aeiouAEIOU \xE9\xE8\xC9\xE7\x9C\xC0-st";
    std::string typed = word;
    for (uint32_t edits = random->next(4); edits > 0 && !typed.empty(); --edits) {
        const std::size_t at = random->next(static_cast<uint32_t>(typed.size()));
        switch (random->next(6)) {
            case 0: typed.erase(at, 1); break;
            case 1: typed.insert(at, 1, letters[random->next(static_cast<uint32_t>(letters.size()))]); break;
            case 2: if (at + 1 < typed.size()) std::swap(typed[at], typed[at + 1]); break;
            case 3: typed[at] = letters[random->next(static_cast<uint32_t>(letters.size()))]; break;
            case 4: typed = modelFold(typed); break;
            default: typed.resize(typed.size() - random->next(static_cast<uint32_t>(typed.size()))); break;
        }
    }
    return (random->next(4) == 0 ? "  " : "") + typed;
}

}  // namespace

TEST(AccentFolding, LettersOfTheCodePageBecomePlainCapitals) {
    EXPECT_EQ(folded("Saint-\xC9tienne"), "SAINT-ETIENNE");
    EXPECT_EQ(folded("\xE0\xE2\xE4 \xE8\xE9\xEA\xEB \xEE\xEF \xF4\xF6 \xF9\xFB\xFC \xE7 \xFF"), "AAA EEEE II OO UUU C Y");
    EXPECT_EQ(folded("\x9Cuvre \xC6sope stra\xDF" "e \xDEorn \x8A\x9E"), "OEUVRE AESOPE STRASSE THORN SZ");
    // Signs, digits, spaces and the non-breaking space stay as they are.
    EXPECT_EQ(folded("3\xD7" "4\xF7 2 \xA0\xAB\xBB!"), "3\xD7" "4\xF7 2 \xA0\xAB\xBB!");
    // A slot of letters that fold to two fits the folded room whole; a smaller room never splits one.
    EXPECT_EQ(folded(std::string(300, '\x9C')), [] {
        std::string oe;
        for (int i = 0; i < TEXT_MAX_LENGTH; ++i) oe += "OE";
        return oe;
    }());
    EXPECT_EQ(folded("\x9C\x9C", 4), "OE");
    EXPECT_EQ(folded("", 1), "");
}

TEST(AcceptedAnswers, AnyAnswerIsRightAndFoldingMakesAccentsOptional) {
    Field aix;
    accept(&aix, 1, {"AIX EN PROVENCE", "AIX-EN-PROVENCE"});
    for (AccentRule rule : {AccentRule::Exact, AccentRule::Ignore}) {
        EXPECT_STREQ(judgeAnswer(&aix.node, 1, rule, "aix-en-provence"), "BRAVO");
        EXPECT_STREQ(judgeAnswer(&aix.node, 1, rule, "Aix en Provence"), "BRAVO");
        EXPECT_STREQ(judgeAnswer(&aix.node, 1, rule, "   "), "?");
    }
    Field etienne;
    accept(&etienne, 1, {"SAINT-\xC9TIENNE"});
    EXPECT_STREQ(judgeAnswer(&etienne.node, 1, AccentRule::Ignore, "saint-etienne"), "BRAVO");
    EXPECT_STREQ(judgeAnswer(&etienne.node, 1, AccentRule::Ignore, "Saint-\xE9tienne"), "BRAVO");
    EXPECT_STREQ(judgeAnswer(&etienne.node, 1, AccentRule::Exact, "saint-etienne"), "Quasiment");
    // Slot 2 keeps its own answers.
    accept(&etienne, 2, {"LOIRE", "FOREZ"});
    EXPECT_STREQ(judgeAnswer(&etienne.node, 2, AccentRule::Exact, "forez"), "BRAVO");
    EXPECT_STREQ(judgeAnswer(&etienne.node, 1, AccentRule::Exact, "forez"), "FAUX");
}

TEST(AcceptedAnswers, AWrongAnswerGetsTheClosestVerdictOverAllAnswers) {
    const struct {
        std::vector<std::string> answers;
        const char* typed;
        const char* verdict;
    } cases[] = {
        {{"PARIS", "LUTECE"}, "lutce", "Quasiment"},           // FAUX against the first
        {{"LUTECE", "PARIS"}, "lutce", "Quasiment"},           // whatever the order
        {{"TOUR EIFFEL", "EIFFEL"}, "effiel", "Anagramme"},     // of the second, FAUX against the first
        {{"NAPOLEON BONAPARTE", "BONAPARTE"}, "BONAPARTE LE GRAND", "Trop long"},
        {{"ABCDEFGHIJKLMNOP", "XYZ"}, "ABCDEFGHIJKLM", "Trop court"},
        {{"CHAT", "CHIEN"}, "poisson", "FAUX"},
    };
    for (const auto& c : cases) {
        Field field;
        accept(&field, 1, c.answers);
        EXPECT_STREQ(judgeAnswer(&field.node, 1, AccentRule::Exact, c.typed), c.verdict) << c.typed;
    }
}

// The rule against its model on thousands of near misses, with one to four answers per field.
TEST(AcceptedAnswers, VerdictsAreTheModelsOnNearMisses) {
    Random random{23};
    int right = 0;
    for (int i = 0; i < 4000; ++i) {
        std::vector<std::string> answers;
        for (uint32_t n = 1 + random.next(4); n > 0; --n) answers.push_back(WORDS[random.next(static_cast<uint32_t>(WORDS.size()))]);
        const std::string typed = nearMiss(&random, answers[random.next(static_cast<uint32_t>(answers.size()))]);
        Field field;
        accept(&field, 1, answers);
        for (AccentRule rule : {AccentRule::Exact, AccentRule::Ignore}) {
            const std::string verdict = judgeAnswer(&field.node, 1, rule, typed.c_str());
            ASSERT_EQ(verdict, modelVerdict(answers, typed, rule == AccentRule::Ignore))
                << "typed \"" << typed << "\" against " << answers.size() << " answers, first \"" << answers[0] << "\"";
            right += verdict == "BRAVO";
        }
    }
    EXPECT_GT(right, 400);
}

// A field with its one answer and accents counted, as every quiz without accepted answers has it,
// is judged by the matcher alone.
TEST(AcceptedAnswers, OneAnswerWithAccentsCountedIsTheMatcher) {
    Random random{7};
    for (int i = 0; i < 3000; ++i) {
        const std::string answer = WORDS[random.next(static_cast<uint32_t>(WORDS.size()))];
        const std::string typed = nearMiss(&random, answer);
        Field field;
        copyText(field.node.answer1, answer.c_str());
        ASSERT_STREQ(judgeAnswer(&field.node, 1, AccentRule::Exact, typed.c_str()),
                     matchAnswer(answer.c_str(), typed.c_str()))
            << typed;
    }
    EXPECT_STREQ(judgeAnswer(nullptr, 1, AccentRule::Exact, "A"), "Quasiment");  // no node: expected empty
}

TEST(AcceptedAnswers, CountsBeyondWhatTheLoaderAttachesAreNotFollowed) {
    Field field;
    accept(&field, 1, {"UN", "DEUX", "TROIS"});
    EXPECT_EQ(acceptedAnswerCount(&field.node, 1), 3);
    EXPECT_STREQ(acceptedAnswer(&field.node, 1, 2), "TROIS");
    EXPECT_STREQ(acceptedAnswer(&field.node, 1, 3), "UN");
    field.node.otherAnswerCount[0] = ANSWERS_PER_FIELD;
    EXPECT_EQ(acceptedAnswerCount(&field.node, 1), 1);
    field.node.otherAnswerCount[0] = 2;
    field.node.otherAnswers[0] = nullptr;
    EXPECT_EQ(acceptedAnswerCount(&field.node, 1), 1);
    EXPECT_STREQ(judgeAnswer(&field.node, 1, AccentRule::Exact, "deux"), "FAUX");
}

// Solving stays stricter than the verdict: any accepted answer, folded when accents are ignored,
// but never with stray spaces.
TEST(AcceptedAnswers, ASolvedQuestionHoldsOneOfEachSlotsAnswers) {
    Field field;
    accept(&field, 1, {"SAINT-\xC9TIENNE", "ST-\xC9TIENNE"});
    accept(&field, 2, {"LOIRE"});
    const char* const alternative[] = {"st-\xC9tienne", "loire"};
    const char* const plain[] = {"saint-etienne", "LOIRE"};
    const char* const spaced[] = {"saint-etienne ", "LOIRE"};
    EXPECT_TRUE(questionSolved(&field.node, alternative, 2));
    EXPECT_FALSE(questionSolved(&field.node, plain, 2));
    EXPECT_TRUE(questionSolved(&field.node, plain, 2, AccentRule::Ignore));
    EXPECT_FALSE(questionSolved(&field.node, spaced, 2, AccentRule::Ignore));
    EXPECT_STREQ(judgeAnswer(&field.node, 1, AccentRule::Ignore, spaced[0]), "BRAVO");

    // judgeField takes the quiz's rule and the node's answers.
    Quiz quiz;
    initQuiz(&quiz);
    quiz.slotsPerQuestion = 2;
    quiz.questionCount = 1;
    quiz.firstQuestion = quiz.lastQuestion = &field.node;
    quiz.accents = AccentRule::Ignore;
    FieldJudgement judgement = judgeField(&quiz, 1, plain);
    EXPECT_STREQ(judgement.verdict, "BRAVO");
    EXPECT_TRUE(judgement.reveal);
    quiz.accents = AccentRule::Exact;
    judgement = judgeField(&quiz, 1, plain);
    EXPECT_STREQ(judgement.verdict, "Quasiment");
    EXPECT_TRUE(judgement.clearComment);
    judgement = judgeField(&quiz, 1, alternative);
    EXPECT_STREQ(judgement.verdict, "BRAVO");
    EXPECT_TRUE(judgement.reveal);
}
