// The content loader: failure messages, the content and code formats, cut and oversized content.
#include "content/loader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "content/lzw.h"
#include "content/lzw_testing.h"
#include "tests/native/fake_platform.h"

namespace {

using namespace std::string_literals;

const char* const NOT_FOUND = "Trivo: Erreur dans le fichier";
const char* const ANSWERS_MISSING = "Trivo: Reponses non trouv\xE9" "es";
const char* const CONTENT_UNPACK = "Trivo: Erreur dans le d\xE9" "cryptage des reponses";
const char* const INCOMPLETE = "Trivo: Contenu du quiz incomplet";
const char* const CODES_MISSING = "Trivo: Codes non trouv\xE9" "s.";
const char* const CODES_EMPTY = "Trivo: Codes non renseign\xE9" "s.";
const char* const CODES_UNPACK = "Trivo: Erreur dans le d\xE9" "cryptage des codes";

// A stream whose first code is not a literal.
const std::vector<unsigned char> CORRUPT = {0xFF, 0xFF, 0xFF};

std::string header(int kind, int count, int slots) {
    return std::string{'\x07', static_cast<char>(kind), static_cast<char>(count), static_cast<char>(slots)};
}

// Two questions, one slot, comments, colour 0x10 0x20 0x30.
const std::string ONE_SLOT = header(1, 2, 1) + "Titre|Auteur|Explications|Pr\xE9" "nom|Manga|" +
                             "lune|Q1|soleil|Q2|" + "\x02" "C1|C2|" + "\x10\x20\x30";

std::vector<unsigned char> pack(const std::string& bytes) {
    unsigned char* packed = nullptr;
    int32_t length = 0;
    LzwStatus status = lzwEncode(reinterpret_cast<const unsigned char*>(bytes.data()),
                                 static_cast<int32_t>(bytes.size()), &packed, &length);
    EXPECT_EQ(status, LzwStatus::Ok);
    std::vector<unsigned char> result(packed, packed + length);
    free(packed);
    return result;
}

std::vector<std::string> shown() {
    std::vector<std::string> result;
    for (const FakeMessage& message : fakeMessages()) result.push_back(message.caption + ": " + message.text);
    return result;
}

int nodeCount(const Quiz& quiz) {
    int count = 0;
    for (Question* node = quiz.firstQuestion; node != nullptr; node = node->next) ++count;
    return count;
}

struct LoaderTest : ::testing::Test {
    Quiz quiz;
    Quiz fresh;
    void SetUp() override {
        fakePlatformReset();
        initQuiz(&quiz);
        initQuiz(&fresh);
    }
    void TearDown() override { clearQuestions(&quiz); }

    bool parse(const std::string& bytes) {
        return parseQuizContent(&quiz, reinterpret_cast<const unsigned char*>(bytes.data()),
                                static_cast<int32_t>(bytes.size()));
    }
    bool parseCodes(const std::string& bytes) {
        return parseScoreCodes(&quiz, reinterpret_cast<const unsigned char*>(bytes.data()),
                               static_cast<int32_t>(bytes.size()));
    }
    bool untouched() const { return memcmp(&quiz, &fresh, sizeof quiz) == 0; }

    void expectDemo() {
        EXPECT_STREQ(quiz.title, "Nom du trivo");
        EXPECT_STREQ(quiz.author, "Createur trivo");
        EXPECT_STREQ(quiz.description, "Explications du trivo");
        EXPECT_STREQ(quiz.caption1, "Pr\xE9" "nom - Nom");
        EXPECT_STREQ(quiz.caption2, "Manga / Anime");
        EXPECT_EQ(quiz.kind, QuizKind::Picture);
        EXPECT_EQ(quiz.questionCount, 30);
        EXPECT_EQ(quiz.slotsPerQuestion, 1);
        EXPECT_EQ(quiz.revealMode, RevealMode::AnswerPicture);
        ASSERT_EQ(nodeCount(quiz), 2);
        EXPECT_STREQ(quiz.firstQuestion->answer1, "lune");
        EXPECT_STREQ(quiz.firstQuestion->answer2, "titi");
        EXPECT_STREQ(quiz.lastQuestion->answer1, "grivol");
        EXPECT_STREQ(quiz.lastQuestion->answer2, "plouf");
        EXPECT_STREQ(quiz.lastQuestion->text, "titi");
        EXPECT_EQ(questionAt(&quiz, 29), quiz.lastQuestion);
        EXPECT_EQ(quiz.backgroundBrush, nullptr);
        EXPECT_TRUE(fakeBrushColours().empty());
        EXPECT_STREQ(quiz.scoreCodes[0], "");
    }
};

// ---- loadQuiz: the failure table ----

TEST_F(LoaderTest, MissingContentShowsTwoMessagesAndDemo) {
    fakeSetResource("PATCH", 105, pack("A1\r\n"));
    loadQuiz(&quiz);
    EXPECT_EQ(shown(), (std::vector<std::string>{NOT_FOUND, ANSWERS_MISSING}));
    expectDemo();
}

TEST_F(LoaderTest, EmptyContentShowsOneMessageAndDemo) {
    fakeSetResource("PATCH", 104, {});
    fakeSetResource("PATCH", 105, pack("A1\r\n"));
    loadQuiz(&quiz);
    EXPECT_EQ(shown(), (std::vector<std::string>{ANSWERS_MISSING}));
    expectDemo();
}

TEST_F(LoaderTest, CorruptContentKeepsInitialRecordAndSkipsCodes) {
    fakeSetResource("PATCH", 104, CORRUPT);
    fakeSetResource("PATCH", 105, pack("A1\r\n"));
    loadQuiz(&quiz);
    EXPECT_EQ(shown(), (std::vector<std::string>{CONTENT_UNPACK}));
    EXPECT_TRUE(untouched());
}

TEST_F(LoaderTest, UnpackerOutOfMemoryCountsAsCorruptContent) {
    fakeSetResource("PATCH", 104, pack(ONE_SLOT));
    lzwFailNextAllocationForTesting();
    loadQuiz(&quiz);
    ASSERT_EQ(shown().size(), 2u);  // the codec's own memory message, then the loader's
    EXPECT_EQ(shown()[1], CONTENT_UNPACK);
    EXPECT_TRUE(untouched());
}

TEST_F(LoaderTest, CodesFailuresLeaveContentLoaded) {
    struct Case {
        bool present;
        std::vector<unsigned char> codes;
        const char* message;
    };
    const Case cases[] = {{false, {}, CODES_MISSING}, {true, {}, CODES_EMPTY}, {true, CORRUPT, CODES_UNPACK}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        TearDown();
        SetUp();
        fakeSetResource("PATCH", 104, pack(ONE_SLOT));
        if (c.present) fakeSetResource("PATCH", 105, c.codes);
        loadQuiz(&quiz);
        EXPECT_EQ(shown(), (std::vector<std::string>{c.message}));
        EXPECT_STREQ(quiz.title, "Titre");
        EXPECT_EQ(nodeCount(quiz), 2);
        EXPECT_STREQ(quiz.scoreCodes[0], "");
    }
}

TEST_F(LoaderTest, FullLoadFillsRecordAndCodes) {
    fakeSetResource("PATCH", 104, pack(ONE_SLOT));
    fakeSetResource("PATCH", 105, pack("A1\r\nB2\r\n"));
    loadQuiz(&quiz);
    EXPECT_TRUE(shown().empty());
    EXPECT_STREQ(quiz.caption1, "Pr\xE9" "nom");
    EXPECT_STREQ(quiz.lastQuestion->comment, "C2");
    EXPECT_STREQ(quiz.scoreCodes[0], "A1");
    EXPECT_STREQ(quiz.scoreCodes[1], "B2");
    EXPECT_EQ(fakeBrushColours(), std::vector<uint32_t>{0x00302010u});
}

TEST_F(LoaderTest, LoadOfCutContentWarnsOnceAndStillReadsCodes) {
    fakeSetResource("PATCH", 104, pack(ONE_SLOT.substr(0, ONE_SLOT.find("soleil"))));
    fakeSetResource("PATCH", 105, pack("A1\r\nB2\r\n"));
    loadQuiz(&quiz);
    EXPECT_EQ(shown(), (std::vector<std::string>{INCOMPLETE}));
    EXPECT_EQ(quiz.questionCount, 1);
    EXPECT_STREQ(quiz.scoreCodes[0], "A1");
    EXPECT_STREQ(quiz.scoreCodes[1], "");
}

TEST_F(LoaderTest, ContentShorterThanHeaderKeepsInitialRecord) {
    fakeSetResource("PATCH", 104, pack("\x07\x01\x02"));
    fakeSetResource("PATCH", 105, pack("A1\r\n"));
    loadQuiz(&quiz);
    EXPECT_EQ(shown(), (std::vector<std::string>{INCOMPLETE}));
    EXPECT_TRUE(untouched());
}

// ---- parseQuizContent: the format ----

TEST_F(LoaderTest, OneSlotReadsTwoFieldsPerQuestion) {
    EXPECT_TRUE(parse(ONE_SLOT));
    EXPECT_EQ(quiz.kind, QuizKind::Text);
    EXPECT_EQ(quiz.questionCount, 2);
    EXPECT_EQ(quiz.slotsPerQuestion, 1);
    EXPECT_STREQ(quiz.title, "Titre");
    EXPECT_STREQ(quiz.author, "Auteur");
    EXPECT_STREQ(quiz.description, "Explications");
    EXPECT_STREQ(quiz.caption2, "Manga");
    ASSERT_EQ(nodeCount(quiz), 2);
    Question* first = quiz.firstQuestion;
    EXPECT_STREQ(first->answer1, "lune");
    EXPECT_STREQ(first->answer2, "");
    EXPECT_STREQ(first->text, "Q1");
    EXPECT_STREQ(first->comment, "C1");
    EXPECT_STREQ(first->next->answer1, "soleil");
    EXPECT_STREQ(first->next->comment, "C2");
    EXPECT_EQ(quiz.revealMode, RevealMode::Comment);
    EXPECT_EQ(quiz.backgroundColour, 0x00302010u);
    EXPECT_EQ(fakeBrushColours(), std::vector<uint32_t>{0x00302010u});
    EXPECT_NE(quiz.backgroundBrush, nullptr);
    EXPECT_TRUE(shown().empty());
}

TEST_F(LoaderTest, TwoSlotsFillAnswer2) {
    EXPECT_TRUE(parse(header(4, 2, 2) + "T|A|D|C1|C2|" + "a|b|q1|c|d|q2|" + "\x02" "x|y|" + "\xFF\x00\x01"s));
    EXPECT_EQ(quiz.kind, QuizKind::Video);
    ASSERT_EQ(nodeCount(quiz), 2);
    EXPECT_STREQ(quiz.firstQuestion->answer2, "b");
    EXPECT_STREQ(quiz.lastQuestion->answer1, "c");
    EXPECT_STREQ(quiz.lastQuestion->answer2, "d");
    EXPECT_STREQ(quiz.lastQuestion->text, "q2");
    EXPECT_STREQ(quiz.lastQuestion->comment, "y");
    EXPECT_EQ(quiz.backgroundColour, 0x000100FFu);
}

TEST_F(LoaderTest, RevealOtherThanCommentHasColourRightAfter) {
    EXPECT_TRUE(parse(header(2, 1, 1) + "T|A|D|C1|C2|a|q|" + "\x01" "C|x"));
    EXPECT_EQ(quiz.revealMode, RevealMode::AnswerPicture);
    ASSERT_EQ(nodeCount(quiz), 1);
    EXPECT_STREQ(quiz.firstQuestion->comment, "");
    EXPECT_EQ(quiz.backgroundColour, 0x00787C43u);  // 'C', '|', 'x'
}

TEST_F(LoaderTest, EmptyFieldsZeroBytesAndLongFields) {
    std::string longField(300, 'L');
    EXPECT_TRUE(parse(header(1, 1, 1) + "ti\0t\0re||"s + longField + "|C1|C2|" + "a|\0|" "\x05" "\x01\x02\x03"s));
    EXPECT_STREQ(quiz.title, "titre");
    EXPECT_STREQ(quiz.author, "");
    EXPECT_EQ(std::string(quiz.description), std::string(259, 'L'));
    EXPECT_STREQ(quiz.caption1, "C1");
    ASSERT_EQ(nodeCount(quiz), 1);
    EXPECT_STREQ(quiz.firstQuestion->text, "");
    EXPECT_EQ(static_cast<int32_t>(quiz.revealMode), 5);
    EXPECT_EQ(quiz.backgroundColour, 0x00030201u);
}

TEST_F(LoaderTest, UnknownKindAndSlotCountAreStored) {
    EXPECT_TRUE(parse(header(0, 1, 3) + "T|A|D|C1|C2|a|q|" + "\x01\x01\x02\x03"));
    EXPECT_EQ(static_cast<int32_t>(quiz.kind), -1);
    EXPECT_EQ(quiz.slotsPerQuestion, 3);
    ASSERT_EQ(nodeCount(quiz), 1);
    EXPECT_STREQ(quiz.firstQuestion->answer1, "a");
    EXPECT_STREQ(quiz.firstQuestion->answer2, "");
    EXPECT_STREQ(quiz.firstQuestion->text, "q");
    EXPECT_EQ(quiz.backgroundColour, 0x00030201u);

    clearQuestions(&quiz);
    initQuiz(&quiz);
    EXPECT_TRUE(parse(header(200, 0, 0) + "T|A|D|C1|C2|" + "\x02\x04\x05\x06"));
    EXPECT_EQ(static_cast<int32_t>(quiz.kind), 199);
    EXPECT_EQ(quiz.slotsPerQuestion, 0);
    EXPECT_EQ(quiz.questionCount, 0);
    EXPECT_EQ(quiz.backgroundColour, 0x00060504u);
}

TEST_F(LoaderTest, MoreThanNinetyQuestionsAreCutToNinety) {
    std::string content = header(2, 95, 1) + "T|A|D|C1|C2|";
    std::string comments, codes;
    for (int q = 1; q <= 95; ++q) {
        content += "a" + std::to_string(q) + "|q" + std::to_string(q) + "|";
        comments += "c" + std::to_string(q) + "|";
        codes += "k" + std::to_string(q) + "\r\n";
    }
    EXPECT_TRUE(parse(content + "\x02" + comments + "\x10\x20\x30"));
    EXPECT_EQ(quiz.questionCount, 90);
    EXPECT_EQ(nodeCount(quiz), 90);
    EXPECT_STREQ(quiz.lastQuestion->text, "q90");
    EXPECT_STREQ(quiz.lastQuestion->comment, "c90");
    EXPECT_STREQ(questionAt(&quiz, 44)->comment, "c45");
    EXPECT_EQ(quiz.backgroundColour, 0x00302010u);
    EXPECT_TRUE(parseCodes(codes));
    EXPECT_STREQ(quiz.scoreCodes[89], "k90");

    // Even a count set above 90 by other means reads no more code lines than there are slots.
    quiz.questionCount = 95;
    EXPECT_TRUE(parseCodes(codes));
    EXPECT_EQ(quiz.revealMode, RevealMode::Comment);
    EXPECT_EQ(quiz.backgroundColour, 0x00302010u);
}

// Every prefix of a valid content: nothing read past the end, fields cut by the end keep their
// bytes, only whole questions are appended, and no colour or brush without the colour bytes.
TEST_F(LoaderTest, EveryCutKeepsWhatWasRead) {
    std::string content = header(3, 2, 2);
    std::vector<std::pair<size_t, std::string>> fields;
    auto field = [&](const std::string& text) {
        fields.push_back({content.size(), text});
        content += text + "|";
    };
    for (const char* text : {"Titre", "Auteur", "Desc", "C1", "C2", "a1", "b1", "q1", "a2", "b2", "q2"}) field(text);
    content += "\x02";
    field("com1");
    field("com2");
    content += "\x10\x20\x30";

    for (size_t cut = 0; cut < content.size(); ++cut) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        TearDown();
        SetUp();
        // A copy of exactly cut bytes, so the sanitizer sees any read past the end.
        std::vector<unsigned char> prefix(content.begin(), content.begin() + cut);
        EXPECT_FALSE(parseQuizContent(&quiz, prefix.data(), static_cast<int32_t>(cut)));
        EXPECT_TRUE(fakeBrushColours().empty());
        EXPECT_EQ(quiz.backgroundColour, 0u);
        if (cut < 4) {
            EXPECT_TRUE(untouched());
            continue;
        }
        auto kept = [&](size_t i) {
            return cut <= fields[i].first ? std::string() : fields[i].second.substr(0, cut - fields[i].first);
        };
        auto closed = [&](size_t i) { return fields[i].first + fields[i].second.size() < cut; };
        EXPECT_EQ(quiz.kind, QuizKind::Audio);
        EXPECT_EQ(quiz.slotsPerQuestion, 2);
        EXPECT_EQ(std::string(quiz.title), kept(0));
        EXPECT_EQ(std::string(quiz.caption2), kept(4));
        int whole = closed(7) + closed(10);
        EXPECT_EQ(quiz.questionCount, whole);
        ASSERT_EQ(nodeCount(quiz), whole);
        if (whole >= 1) {
            EXPECT_STREQ(quiz.firstQuestion->answer2, "b1");
        }
        if (whole == 2) {
            EXPECT_STREQ(quiz.lastQuestion->text, "q2");
            EXPECT_EQ(std::string(quiz.firstQuestion->comment), kept(11));
            EXPECT_EQ(std::string(quiz.lastQuestion->comment), kept(12));
        }
    }
}

// ---- parseScoreCodes ----

TEST_F(LoaderTest, CodesOneLinePerQuestion) {
    quiz.questionCount = 2;
    EXPECT_TRUE(parseCodes("A1\r\nB2\r\n"));
    EXPECT_STREQ(quiz.scoreCodes[0], "A1");
    EXPECT_STREQ(quiz.scoreCodes[1], "B2");
    EXPECT_STREQ(quiz.scoreCodes[2], "");
}

TEST_F(LoaderTest, CodesSkipTheByteAfterCrUnseen) {
    quiz.questionCount = 3;
    EXPECT_TRUE(parseCodes("A1\rB2\r\n\r"));
    EXPECT_STREQ(quiz.scoreCodes[0], "A1");
    EXPECT_STREQ(quiz.scoreCodes[1], "2");
    EXPECT_STREQ(quiz.scoreCodes[2], "");
}

TEST_F(LoaderTest, CodesEndingEarlyKeepWhatWasRead) {
    quiz.questionCount = 3;
    EXPECT_FALSE(parseCodes("A1\r\nB"));
    EXPECT_STREQ(quiz.scoreCodes[0], "A1");
    EXPECT_STREQ(quiz.scoreCodes[1], "B");
    EXPECT_STREQ(quiz.scoreCodes[2], "");
    EXPECT_TRUE(shown().empty());
}

TEST_F(LoaderTest, LongCodeLineIsCut) {
    quiz.questionCount = 2;
    EXPECT_TRUE(parseCodes(std::string(300, 'K') + "\r\nZZ\r\n"));
    EXPECT_EQ(std::string(quiz.scoreCodes[0]), std::string(259, 'K'));
    EXPECT_STREQ(quiz.scoreCodes[1], "ZZ");
}

}  // namespace

// ---- accepted answers (PATCH 106) ----

// For ONE_SLOT's two questions: question 1 accepts LUNA and MOON too, with accents ignored. Anything
// that departs from the layout or from the quiz leaves a quiz without accepted answers, silently.
TEST_F(LoaderTest, AcceptedAnswersJoinTheirNodesOnlyWhenTheyFitWhole) {
    const std::string fields = "\x02" "LUNA|MOON|" "\x00"s;
    const auto resource = [](const std::string& header, const std::string& rest) { return header + rest; };
    const std::string head = "\x01\x01\x02\x01"s;
    const std::vector<std::string> damaged = {
        resource("\x02\x01\x02\x01"s, fields), resource("\x01\x02\x02\x01"s, fields),  // version, rule
        resource("\x01\x01\x03\x01"s, fields), resource("\x01\x01\x02\x02"s, fields + "\x00"s),  // count, slots
        head + "\x01" "LUNA", head + fields + "X", head + "\x01" "LUNA|",        // cut, too long, a field missing
        head + "\x10" + std::string(16, 'A') + "|" + "\x00"s,                    // 16 answers for a field
        head + "\x01|" "\x00"s, head + "\x01" "LU\x00NA|" "\x00"s,              // empty, a zero byte
        head + "\x01" + std::string(260, 'A') + "|" + "\x00"s, "\x01\x01\x02"s};  // past a slot, no header
    for (std::size_t i = 0; i <= damaged.size() + 2; ++i) {
        SCOPED_TRACE(i);
        fakePlatformReset();
        clearQuestions(&quiz);
        initQuiz(&quiz);
        // The last three: the resource whole, not unpacking, and beside content cut short.
        const bool cut = i == damaged.size() + 2;
        fakeSetResource("PATCH", 104, pack(cut ? ONE_SLOT.substr(0, ONE_SLOT.size() - 1) : ONE_SLOT));
        fakeSetResource("PATCH", 106, i < damaged.size() ? pack(damaged[i]) : i == damaged.size() + 1 ? CORRUPT
                                                                                                       : pack(head + fields));
        loadQuiz(&quiz);
        EXPECT_EQ(shown().size(), cut ? 2u : 1u);  // the cut content's and the codes' messages, no other
        const bool used = i == damaged.size();
        EXPECT_EQ(quiz.accents, used ? AccentRule::Ignore : AccentRule::Exact);
        ASSERT_NE(quiz.firstQuestion, nullptr);
        EXPECT_EQ(quiz.firstQuestion->otherAnswerCount[0], used ? 2 : 0);
        EXPECT_EQ(quiz.acceptedTexts != nullptr, used);
        if (used) {
            EXPECT_STREQ(quiz.firstQuestion->otherAnswers[0] + 5, "MOON");
        }
    }
}
