// The byte layout of a quiz's content and score codes: exact bytes for one and two slots and each
// reveal mode, the player's own loader reading them back, and the strict reader of trivo-make dump.
// Also the media formats recognised by their first bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "content/loader.h"
#include "content/quiz.h"
#include "tests/native/fake_platform.h"
#include "tools/quiz_folder/media_format.h"
#include "tools/quiz_folder/quiz_content.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

QuizContent twoQuestions(QuizKind kind, int slots, RevealMode reveal) {
    QuizContent quiz;
    quiz.kind = kind;
    quiz.slots = slots;
    quiz.reveal = reveal;
    quiz.red = 0x10;
    quiz.green = 0x20;
    quiz.blue = 0x30;
    quiz.title = "Titre \xE9t\xE9";  // code page 1252 bytes pass through as they are
    quiz.author = "Auteur";
    quiz.description = "Desc";
    quiz.caption1 = "C1";
    quiz.caption2 = "C2";
    quiz.questions = {{"A1", slots == 2 ? "A2" : "", "X1", reveal == RevealMode::Comment ? "K1" : ""},
                      {"B1", slots == 2 ? "B2" : "", "", reveal == RevealMode::Comment ? "K2" : ""}};
    quiz.codes = {"UN", "DEUX"};
    return quiz;
}

TEST(QuizContentBytes, OneSlotEachRevealMode) {
    const std::string head = "\x01\x02\x02\x01Titre \xE9t\xE9|Auteur|Desc|C1|C2|A1|X1|B1||";
    const std::string colour("\x10\x20\x30", 3);
    EXPECT_EQ(encodeQuizContent(twoQuestions(QuizKind::Picture, 1, RevealMode::None)),
              bytesOf(head + std::string(1, '\x00') + colour));
    EXPECT_EQ(encodeQuizContent(twoQuestions(QuizKind::Picture, 1, RevealMode::AnswerPicture)),
              bytesOf(head + "\x01" + colour));
    // Only reveal Comment stores one comment field per question, between the reveal byte and the colour.
    EXPECT_EQ(encodeQuizContent(twoQuestions(QuizKind::Picture, 1, RevealMode::Comment)),
              bytesOf(head + "\x02K1|K2|" + colour));
}

TEST(QuizContentBytes, TwoSlotsStoreTheSecondAnswerBeforeTheText) {
    const std::string head = "\x01\x03\x02\x02Titre \xE9t\xE9|Auteur|Desc|C1|C2|A1|A2|X1|B1|B2||";
    const std::string colour("\x10\x20\x30", 3);
    EXPECT_EQ(encodeQuizContent(twoQuestions(QuizKind::Audio, 2, RevealMode::None)),
              bytesOf(head + std::string(1, '\x00') + colour));
    EXPECT_EQ(encodeQuizContent(twoQuestions(QuizKind::Audio, 2, RevealMode::AnswerPicture)),
              bytesOf(head + "\x01" + colour));
    EXPECT_EQ(encodeQuizContent(twoQuestions(QuizKind::Audio, 2, RevealMode::Comment)),
              bytesOf(head + "\x02K1|K2|" + colour));
}

TEST(QuizContentBytes, KindByteIsKindPlusOne) {
    const QuizKind kinds[] = {QuizKind::Text, QuizKind::Picture, QuizKind::Audio, QuizKind::Video};
    for (int k = 0; k < 4; ++k) {
        const Bytes bytes = encodeQuizContent(twoQuestions(kinds[k], 1, RevealMode::None));
        EXPECT_EQ(bytes[0], 1);
        EXPECT_EQ(bytes[1], k + 1);
    }
}

TEST(QuizContentBytes, ScoreCodesAreOneCrLfLinePerQuestion) {
    QuizContent quiz = twoQuestions(QuizKind::Text, 1, RevealMode::None);
    EXPECT_EQ(encodeScoreCodes(quiz), bytesOf("UN\r\nDEUX\r\n"));
    quiz.codes = {"A|B"};  // "|" is an ordinary character in a code; a missing code is an empty line
    EXPECT_EQ(encodeScoreCodes(quiz), bytesOf("A|B\r\n\r\n"));
    quiz.questions.clear();
    EXPECT_EQ(encodeScoreCodes(quiz), Bytes());
}

// The player's own loader reads what trivo-make writes, field for field.
TEST(QuizContentBytes, ThePlayersLoaderReadsEveryField) {
    const struct {
        int slots;
        RevealMode reveal;
    } cases[] = {{1, RevealMode::None},
                 {1, RevealMode::Comment},
                 {2, RevealMode::AnswerPicture},
                 {2, RevealMode::Comment}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slots * 10 + static_cast<int>(c.reveal));
        const QuizContent source = twoQuestions(QuizKind::Video, c.slots, c.reveal);
        const Bytes content = encodeQuizContent(source);
        const Bytes codes = encodeScoreCodes(source);
        fakePlatformReset();
        Quiz* quiz = new Quiz;
        initQuiz(quiz);
        EXPECT_TRUE(parseQuizContent(quiz, content.data(), static_cast<int32_t>(content.size())));
        EXPECT_TRUE(parseScoreCodes(quiz, codes.data(), static_cast<int32_t>(codes.size())));
        EXPECT_EQ(quiz->kind, QuizKind::Video);
        EXPECT_EQ(quiz->questionCount, 2);
        EXPECT_EQ(quiz->slotsPerQuestion, c.slots);
        EXPECT_EQ(quiz->revealMode, c.reveal);
        EXPECT_EQ(quiz->backgroundColour, 0x00302010u);
        EXPECT_STREQ(quiz->title, "Titre \xE9t\xE9");
        EXPECT_STREQ(quiz->author, "Auteur");
        EXPECT_STREQ(quiz->description, "Desc");
        EXPECT_STREQ(quiz->caption1, "C1");
        EXPECT_STREQ(quiz->caption2, "C2");
        const Question* first = questionAt(quiz, 0);
        const Question* second = questionAt(quiz, 1);
        ASSERT_NE(first, second);
        EXPECT_STREQ(first->answer1, "A1");
        EXPECT_STREQ(first->answer2, c.slots == 2 ? "A2" : "");
        EXPECT_STREQ(first->text, "X1");
        EXPECT_STREQ(first->comment, c.reveal == RevealMode::Comment ? "K1" : "");
        EXPECT_STREQ(second->answer1, "B1");
        EXPECT_STREQ(second->text, "");
        EXPECT_STREQ(second->comment, c.reveal == RevealMode::Comment ? "K2" : "");
        EXPECT_STREQ(quiz->scoreCodes[0], "UN");
        EXPECT_STREQ(quiz->scoreCodes[1], "DEUX");
        EXPECT_TRUE(fakeMessages().empty());
        clearQuestions(quiz);
        delete quiz;
    }
}

void expectSameContent(const QuizContent& a, const QuizContent& b) {
    EXPECT_EQ(a.kind, b.kind);
    EXPECT_EQ(a.slots, b.slots);
    EXPECT_EQ(a.reveal, b.reveal);
    EXPECT_EQ(a.red, b.red);
    EXPECT_EQ(a.green, b.green);
    EXPECT_EQ(a.blue, b.blue);
    EXPECT_EQ(a.title, b.title);
    EXPECT_EQ(a.author, b.author);
    EXPECT_EQ(a.description, b.description);
    EXPECT_EQ(a.caption1, b.caption1);
    EXPECT_EQ(a.caption2, b.caption2);
    ASSERT_EQ(a.questions.size(), b.questions.size());
    for (std::size_t i = 0; i < a.questions.size(); ++i) {
        EXPECT_EQ(a.questions[i].answer1, b.questions[i].answer1);
        EXPECT_EQ(a.questions[i].answer2, b.questions[i].answer2);
        EXPECT_EQ(a.questions[i].text, b.questions[i].text);
        EXPECT_EQ(a.questions[i].comment, b.questions[i].comment);
    }
    EXPECT_EQ(a.codes, b.codes);
}

TEST(QuizContentDecode, ReadsBackWhatWasWritten) {
    for (int slots = 1; slots <= 2; ++slots) {
        for (int reveal = 0; reveal <= 2; ++reveal) {
            const QuizContent source =
                twoQuestions(QuizKind::Picture, slots, static_cast<RevealMode>(reveal));
            QuizContent read;
            std::string error;
            ASSERT_TRUE(decodeQuizContent(encodeQuizContent(source), &read, &error)) << error;
            ASSERT_TRUE(decodeScoreCodes(encodeScoreCodes(source), 2, &read, &error)) << error;
            expectSameContent(read, source);
        }
    }
}

TEST(QuizContentDecode, EveryShortenedContentIsRefusedWithWhatIsMissing) {
    const Bytes content = encodeQuizContent(twoQuestions(QuizKind::Picture, 2, RevealMode::Comment));
    for (std::size_t size = 0; size < content.size(); ++size) {
        QuizContent read;
        std::string error;
        EXPECT_FALSE(decodeQuizContent(Bytes(content.begin(), content.begin() + size), &read, &error))
            << size;
        EXPECT_NE(error.find("the content ends"), std::string::npos) << error;
    }
    QuizContent read;
    std::string error;
    EXPECT_FALSE(decodeQuizContent(Bytes(content.begin(), content.begin() + 4), &read, &error));
    EXPECT_EQ(error, "the content ends inside the title (no \"|\" after it)");
    EXPECT_FALSE(decodeQuizContent(Bytes(content.begin(), content.end() - 1), &read, &error));
    EXPECT_EQ(error, "the content ends before its page colour");
}

TEST(QuizContentDecode, RefusesValuesWithoutALayout) {
    const Bytes good = encodeQuizContent(twoQuestions(QuizKind::Picture, 1, RevealMode::None));
    const struct {
        std::size_t at;
        unsigned char value;
        const char* error;
    } cases[] = {
        {1, 0, "kind byte 0 is not 1 (text) to 4 (video)"},
        {1, 5, "kind byte 5 is not 1 (text) to 4 (video)"},
        {2, 91, "91 questions; a quiz holds at most 90"},
        {3, 3, "slot count 3 is not 1 or 2"},
        {good.size() - 4, 3, "reveal byte 3 is not 0 (none), 1 (picture) or 2 (comment)"},
    };
    for (const auto& c : cases) {
        Bytes bytes = good;
        bytes[c.at] = c.value;
        QuizContent read;
        std::string error;
        EXPECT_FALSE(decodeQuizContent(bytes, &read, &error));
        EXPECT_EQ(error, c.error);
    }
    Bytes longer = good;
    longer.push_back(0);
    QuizContent read;
    std::string error;
    EXPECT_FALSE(decodeQuizContent(longer, &read, &error));
    EXPECT_EQ(error, "1 unexpected bytes after the page colour");
    // The player does not read byte 0: older tools wrote 0 there, and that is read all the same.
    Bytes version0 = good;
    version0[0] = 0;
    EXPECT_TRUE(decodeQuizContent(version0, &read, &error));
}

TEST(QuizContentDecode, ScoreCodesNeedEveryLineAndNothingMore) {
    QuizContent read;
    std::string error;
    ASSERT_TRUE(decodeScoreCodes(bytesOf("A|1\r\n\r\n"), 2, &read, &error));
    EXPECT_EQ(read.codes, (std::vector<std::string>{"A|1", ""}));
    EXPECT_FALSE(decodeScoreCodes(bytesOf("A\r\nB"), 2, &read, &error));
    EXPECT_EQ(error, "the score codes end before the end of line 2 of 2");
    EXPECT_FALSE(decodeScoreCodes(bytesOf("A\rB\r\n"), 2, &read, &error));
    EXPECT_EQ(error, "the score codes end before the end of line 1 of 2");
    EXPECT_FALSE(decodeScoreCodes(bytesOf("A\r\nB\r\nC\r\n"), 2, &read, &error));
    EXPECT_EQ(error, "3 unexpected bytes after score code 2");
}

TEST(QuizKindNames, ManifestWordsBothWays) {
    const char* kinds[] = {"text", "picture", "audio", "video"};
    for (int k = 0; k < 4; ++k) {
        QuizKind kind = QuizKind::Text;
        EXPECT_TRUE(parseKindName(kinds[k], &kind));
        EXPECT_EQ(static_cast<int>(kind), k);
        EXPECT_STREQ(kindName(kind), kinds[k]);
    }
    const char* reveals[] = {"none", "picture", "comment"};
    for (int r = 0; r < 3; ++r) {
        RevealMode reveal = RevealMode::None;
        EXPECT_TRUE(parseRevealName(reveals[r], &reveal));
        EXPECT_EQ(static_cast<int>(reveal), r);
        EXPECT_STREQ(revealName(reveal), reveals[r]);
    }
    QuizKind kind = QuizKind::Audio;
    EXPECT_FALSE(parseKindName("Picture", &kind));
    EXPECT_FALSE(parseKindName("", &kind));
    EXPECT_EQ(kind, QuizKind::Audio);
    RevealMode reveal = RevealMode::Comment;
    EXPECT_FALSE(parseRevealName("answer", &reveal));
    EXPECT_EQ(reveal, RevealMode::Comment);
}

TEST(MediaFormats, RecognisedByTheirFirstBytes) {
    const struct {
        std::string bytes;
        MediaFormat format;
        const char* extension;
    } cases[] = {
        {std::string("\xFF\xD8\xFF\xE0", 4), MediaFormat::Jpeg, "jpg"},
        {"GIF87a", MediaFormat::Gif, "gif"},
        {"GIF89a...", MediaFormat::Gif, "gif"},
        {"ID3\x03", MediaFormat::Mp3, "mp3"},
        {std::string("\xFF\xFB\x90\x00", 4), MediaFormat::Mp3, "mp3"},  // MPEG-1 layer III
        {std::string("\xFF\xF3\x38\xC4", 4), MediaFormat::Mp3, "mp3"},  // MPEG-2 layer III
        {std::string("RIFF\x00\x00\x00\x00"
                     "AVI ",
                     12),
         MediaFormat::Avi, "avi"},
        // Near misses.
        {std::string("\xFF\xD8\x00", 3), MediaFormat::Unknown, "bin"},
        {"GIF88a", MediaFormat::Unknown, "bin"},
        {std::string("RIFF\x00\x00\x00\x00"
                     "WAVE",
                     12),
         MediaFormat::Unknown, "bin"},
        {std::string("\xFF\xF1\x50\x80", 4), MediaFormat::Unknown, "bin"},  // AAC (layer bits 00)
        {std::string("\xFF\xEB\x90\x00", 4), MediaFormat::Unknown, "bin"},  // reserved MPEG version
        {std::string("\xFF\xFB", 2), MediaFormat::Unknown, "bin"},          // too short for a header
        {"\x89PNG\r\n", MediaFormat::Unknown, "bin"},
        {"", MediaFormat::Unknown, "bin"},
    };
    for (const auto& c : cases) {
        const MediaFormat format = mediaFormat(bytesOf(c.bytes));
        EXPECT_EQ(format, c.format) << c.extension;
        EXPECT_STREQ(mediaExtension(format), c.extension);
    }
}

}  // namespace
