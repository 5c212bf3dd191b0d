// Checking a quiz folder: every error and warning of quiz.toml with its line, the media formats
// each kind asks for, and the limits of the packed resources.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/native/quiz_folder_support.h"
#include "tools/quiz_folder/media_format.h"
#include "tools/quiz_folder/picture_check.h"
#include "tools/quiz_folder/quiz_check.h"
#include "tools/support/cp1252.h"

namespace {

using namespace quiz_folder;

struct CheckResult {
    bool ok;
    std::vector<std::string> lines;  // as printed, for the file "quiz.toml"
    CheckedQuiz quiz;
};

struct QuizCheck : ScratchFolder {
    // Writes quiz.toml with this text (and the media files already written) and checks the folder.
    CheckResult check(const std::string& manifest, const std::string& folder = "",
                      MediaReading reading = MediaReading::Whole) {
        writeFile(dir / folder / "quiz.toml", manifest);
        CheckResult result;
        Diagnostics diagnostics;
        result.ok = checkQuizFolder(dir / folder, &result.quiz, &diagnostics, reading);
        std::ostringstream printed;
        printDiagnostics(diagnostics, "quiz.toml", printed);
        std::istringstream lines(printed.str());
        for (std::string line; std::getline(lines, line);) result.lines.push_back(line);
        return result;
    }
};

typedef std::vector<std::string> Lines;

// A manifest with every kind of problem, each on its own line.
TEST_F(QuizCheck, ReportsEveryProblemAtOnceWithItsLine) {
    writeFile(dir / "q1.tif", std::string("II*\0", 4));
    writeFile(dir / "a1.jpg", JPEG);
    writeFile(dir / "q3.gif", GIF);
    writeFile(dir / "a3.mp3", MP3_ID3);
    writeFile(dir / "q4.jpg", JPEG);
    writeFile(dir / "a4.gif", GIF);
    const CheckResult r = check(
        "kind = \"picture\"\n"              // 1
        "title = \"Titre \xE4\xB8\xAD\"\n"  // 2
        "author = \"A|B\"\n"                // 3
        "description = \"" +
        std::string(260, 'x') +
        "\"\n"                                 // 4
        "slots = 1\n"                          // 5
        "reveal = \"picture\"\n"               // 6
        "background = \"#12345G\"\n"           // 7
        "codes = [\"UN\", \"\", \"TROIS-CENT\"]\n"  // 8
        "\n"                                   // 9
        "[[questions]]\n"                      // 10
        "answer = \" Paris\"\n"                // 11
        "answer2 = \"Lyon\"\n"                 // 12
        "media = \"q1.tif\"\n"                 // 13
        "answer_picture = \"a1.jpg\"\n"        // 14
        "\n"                                   // 15
        "[[questions]]\n"                      // 16
        "media = \"missing.gif\"\n"            // 17
        "\n"                                   // 18
        "[[questions]]\n"                      // 19
        "answer = \"\xC3\xA9t\xC3\xA9\"\n"     // 20
        "media = \"q3.gif\"\n"                 // 21
        "answer_picture = \"a3.mp3\"\n"        // 22
        "\n"                                   // 23
        "[[questions]]\n"                      // 24
        "answer = \"Paris \"\n"                // 25
        "text = \"1 | 2\"\n"                   // 26
        "media = \"q4.jpg\"\n"                 // 27
        "answer_picture = \"a4.gif\"\n");      // 28
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(
        r.lines,
        (Lines{
            "quiz.toml:2:16: error: title holds a character outside code page 1252, which the player cannot show: "
            "U+4E2D '\xE4\xB8\xAD' at column 16",
            "quiz.toml:3: error: author holds \"|\", which the program uses to end each of its texts",
            "quiz.toml:4: error: description is 260 bytes long in code page 1252; the player holds at most "
            "259",
            "quiz.toml:7: error: background must be a colour written \"#RRGGBB\" (six hexadecimal digits), "
            "not \"#12345G\"",
            "quiz.toml:8: error: codes holds 3 codes for 4 questions: give one per question, the code for a "
            "score of 1 first",
            "quiz.toml:8: warning: code 2 is empty: a score of 2 shows no code",
            "quiz.toml:8: warning: code 3 \"TROIS-CENT\" is longer than 8 characters: the header's code box "
            "shows only its start",
            "quiz.toml:11: error: question 1: answer \" Paris\" starts with a space, and the player trims only "
            "what is typed, so no typed answer can ever match it: write \"Paris\"",
            "quiz.toml:12: error: question 1: answer2 is given but the quiz has one answer slot (slots = 1)",
            "quiz.toml:13: error: question 1: media 'q1.tif' is a TIFF picture, not a JPEG, GIF, PNG or BMP "
            "picture: convert it, for example with convert q1.tif q1.jpg (ImageMagick), and name the new file here",
            "quiz.toml:16: error: question 2: no answer; give the expected answer with answer = \"...\"",
            "quiz.toml:16: warning: question 2: no answer_picture: solving this question reveals nothing",
            "quiz.toml:17: error: question 2: media: cannot read 'missing.gif': No such file or directory",
            "quiz.toml:20: note: question 3: answer \"\xC3\xA9t\xC3\xA9\" has accented letters, and the player "
            "folds only a to z: \"\xC3\xA9t\xC3\xA9\" gets \"BRAVO\"; \"\xC3\x89t\xC3\xA9\" gets \"Quasiment\"; "
            "\"\xC3\x89T\xC3\x89\" and \"ete\" get \"Presque\"",
            "quiz.toml:22: error: question 3: answer_picture 'a3.mp3' is an MP3 sound, not a JPEG, GIF, PNG or BMP picture",
            "quiz.toml:25: error: question 4: answer \"Paris \" ends with a space, and the player trims only "
            "what is typed, so no typed answer can ever match it: write \"Paris\"",
            "quiz.toml:26: error: question 4: text holds \"|\", which the program uses to end each of its "
            "texts",
        }));
}

TEST_F(QuizCheck, ACleanQuizGivesTheProgramsForm) {
    writeFile(dir / "media/q1.jpg", JPEG);
    writeFile(dir / "media/a1.gif", GIF);
    writeFile(dir / "media/q2.gif", GIF);
    const CheckResult r = check(
        "kind = \"picture\"\n"
        "title = \"Ch\xC3\xA2teaux\"\n"
        "author = \"\xC3\x89quipe\"\n"
        "description = \"\xE2\x82\xAC 5\"\n"
        "slots = 2\n"
        "captions = [\"Nom\", \"R\xC3\xA9gion\"]\n"
        "reveal = \"picture\"\n"
        "background = \"#e8F0ff\"\n"
        "codes = [\"A|1\", \"B-2\"]\n"
        "[[questions]]\n"
        "text = \"Lequel ?\"\n"
        "answer = \"CHAMBORD\"\n"
        "answer2 = \"CENTRE\"\n"
        "media = \"media/q1.jpg\"\n"
        "answer_picture = \"media/a1.gif\"\n"
        "[[questions]]\n"
        "answer = \"BLOIS\"\n"
        "answer2 = \"CENTRE\"\n"
        "media = \"media/q2.gif\"\n");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(
        r.lines,
        (Lines{"quiz.toml:11: warning: question 1: text is shown only in text quizzes: players never see it",
               "quiz.toml:16: warning: question 2: no answer_picture: solving this question reveals nothing"}));
    // The text is carried all the same, as the player's content holds a text for every question.
    const QuizContent& c = r.quiz.content;
    EXPECT_EQ(c.kind, QuizKind::Picture);
    EXPECT_EQ(c.slots, 2);
    EXPECT_EQ(c.reveal, RevealMode::AnswerPicture);
    EXPECT_EQ(c.title, "Ch\xE2teaux");
    EXPECT_EQ(c.author, "\xC9quipe");
    EXPECT_EQ(c.description, "\x80 5");
    EXPECT_EQ(c.caption1, "Nom");
    EXPECT_EQ(c.caption2, "R\xE9gion");
    EXPECT_EQ(c.red, 0xE8);
    EXPECT_EQ(c.green, 0xF0);
    EXPECT_EQ(c.blue, 0xFF);
    ASSERT_EQ(c.questions.size(), 2u);
    EXPECT_EQ(c.questions[0].text, "Lequel ?");
    EXPECT_EQ(c.questions[0].answer1, "CHAMBORD");
    EXPECT_EQ(c.questions[1].answer2, "CENTRE");
    EXPECT_EQ(c.codes, (std::vector<std::string>{"A|1", "B-2"}));
    ASSERT_EQ(r.quiz.media.size(), 3u);
    EXPECT_EQ(r.quiz.media[0].resourceId, 401);
    EXPECT_EQ(r.quiz.media[1].resourceId, 10401);
    EXPECT_EQ(r.quiz.media[2].resourceId, 402);
    EXPECT_EQ(std::string(r.quiz.media[1].bytes.begin(), r.quiz.media[1].bytes.end()), GIF);
    EXPECT_FALSE(r.quiz.packedContent.empty());
    EXPECT_FALSE(r.quiz.packedCodes.empty());
}

// A syntax error is the only problem reported: with its line and column, the line itself and a
// caret under the column, and a hint for the mistakes authors make most.
TEST_F(QuizCheck, MalformedTomlShowsWhereAndHowToMendIt) {
    EXPECT_EQ(check("kind = \"text\"\ntitle = \"Sans fin\n[[questions]]\n").lines,
              (Lines{"quiz.toml:2:18: error: not valid TOML: Error while parsing string: unescaped control "
                     "characters other than TAB (U+0009) are explicitly prohibited",
                     "    title = \"Sans fin",
                     "                     ^",
                     "    hint: a text is not closed: end it on its line with \", the quote it starts with (a text "
                     "of several lines goes between \"\"\" and \"\"\")"}));
    // Columns count characters, as editors do: the é before the apostrophe is one.
    EXPECT_EQ(check("kind = \"text\"\ntitle = '\xC3\xA9t\xC3\xA9 d'Ici' # note\n").lines,
              (Lines{"quiz.toml:2:16: error: not valid TOML: Error while parsing key-value pair: expected a "
                     "comment or whitespace, saw 'I'",
                     "    title = '\xC3\xA9t\xC3\xA9 d'Ici' # note",
                     "                   ^",
                     "    hint: an apostrophe ends a text written between ' and ': write the text between "
                     "double quotes"}));
    EXPECT_EQ(check("kind = \"text\"\nanswer = L'ARC\n").lines,
              (Lines{"quiz.toml:2:10: error: not valid TOML: Error while parsing value: could not determine value "
                     "type",
                     "    answer = L'ARC", "             ^",
                     "    hint: a text goes between double quotes: answer = \"L'ARC\""}));
    EXPECT_EQ(check("[[questions]]\nanswer = \"A\"\n\nanswer = \"B\"\n").lines[3],
              "    hint: a key is given once per table: if a new question starts here, put a line [[questions]] "
              "above it");
    EXPECT_EQ(check("kind = \"text\"\n\ttitle = \"\xE9t\xE9\"\n").lines,
              (Lines{"quiz.toml:2:11: error: quiz.toml is not UTF-8: byte 0xE9 here is '\xC3\xA9' in code page "
                     "1252, which older Windows editors save in",
                     "     title = \"\\xE9t\\xE9\"", "              ^",
                     "    hint: save it as UTF-8 (in Notepad: File, Save as, Encoding: UTF-8)"}));
    EXPECT_EQ(check("kind = \"text\"\nkind = \"audio\"\n").lines[0],
              "quiz.toml:2:8: error: not valid TOML: Error while parsing key-value pair: cannot redefine existing "
              "string 'kind'");
}

// The TOML library recurses once per part of a dotted name: a name of 150,000 parts would overflow
// the stack. Such names are refused, with their line, before the text is parsed; dots inside
// strings and comments do not count.
TEST_F(QuizCheck, DeeplyDottedNamesAreRefusedBeforeParsing) {
    const auto dotted = [](std::size_t parts) {
        std::string name = "a";
        for (std::size_t i = 1; i < parts; ++i) name += i % 2 ? " . 'b'" : ".c";
        return name;
    };
    const std::string header = "kind = \"text\" # a.a.a\ntitle = \"" + std::string(100, '.') +
                               "\"\ndescription = \"\"\"x.\ny.\"\"\"\"\n";
    EXPECT_EQ(check(header + dotted(150000) + " = 1\n").lines,
              (Lines{"quiz.toml:5: error: a dotted name of more than 32 parts, which no quiz.toml needs"}));
    EXPECT_EQ(check(header + "[" + dotted(33) + "]\n").lines,
              (Lines{"quiz.toml:5: error: a dotted name of more than 32 parts, which no quiz.toml needs"}));
    const CheckResult fits = check(header + dotted(32) + " = 1\n[[questions]]\ntext = \"Q\"\nanswer = \"A\"\n");
    EXPECT_EQ(fits.lines, (Lines{"quiz.toml: warning: no codes: the player shows no code for any score",
                                 "quiz.toml:5: warning: unknown key 'a' is ignored"}));
    EXPECT_EQ(fits.quiz.content.description, "x.\ny.\"");
}

// The TOML library's character tables hold a fault for U+00A1 to U+0499 (found by fuzzing): such a
// character in a quoted key, or first after a line-ending backslash, reached undefined behaviour.
TEST_F(QuizCheck, AccentedLettersWhereTheTomlLibraryLooksForSpaces) {
    const CheckResult r = check("kind = \"text\"\ntitle = \"T\"\ndescription = \"\"\"\\\n\xC3\xA9t\xC3\xA9\"\"\"\n"
                                "\"\xC3\xA9\" = 1\n[[questions]]\ntext = \"Q\"\nanswer = \"A\"\n");
    EXPECT_EQ(r.lines, (Lines{"quiz.toml: warning: no codes: the player shows no code for any score",
                              "quiz.toml:5: warning: unknown key '\xC3\xA9' is ignored"}));
    EXPECT_EQ(r.quiz.content.description, "\xE9t\xE9");
}

TEST_F(QuizCheck, ValuesOfTheWrongTypeAndUnknownKeys) {
    const CheckResult r = check(
        "kind = \"text\"\n"             // 1
        "title = 5\n"                   // 2
        "slots = \"2\"\n"               // 3
        "captions = \"Pays\"\n"         // 4
        "codes = [1]\n"                 // 5
        "colour = \"#FFFFFF\"\n"        // 6
        "[[questions]]\n"               // 7
        "text = \"Q\"\n"                // 8
        "answer = [1]\n"                 // 9
        "answer2 = 3\n"                  // 10
        "reponse = \"A\"\n"             // 11
        "background = \"#000000\"\n");  // 12
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(
        r.lines,
        (Lines{
            "quiz.toml:2: error: title must be a text in double quotes, not a whole number",
            "quiz.toml:3: error: slots must be a whole number, not a text: write slots = 2, without quotes",
            "quiz.toml:4: error: captions must be a list of texts in square brackets, not a text",
            "quiz.toml:5: error: codes item 1 must be a text in double quotes, not a whole number",
            "quiz.toml:6: warning: unknown key 'colour' is ignored",
            "quiz.toml:9: error: question 1: answer item 1 must be a text in double quotes, not a whole number",
            "quiz.toml:10: error: question 1: answer2 must be a text in double quotes or a list of texts in "
            "square brackets, not a whole number",
            "quiz.toml:11: warning: unknown key 'reponse' in question 1 is ignored",
            "quiz.toml:12: warning: 'background' stands below [[questions]], so it belongs to question 1 and "
            "is ignored; move it above the first [[questions]]",
        }));

    // Slips of the keyboard get the key they were meant to be.
    EXPECT_EQ(check("kind = \"text\"\ntitle = \"T\"\nauteur = \"Moi\"\nanswer = \"A\"\ncodes = [\"1\"]\n"
                    "[[questions]]\ntext = \"Q\"\nanwser2 = \"A\"\nanswer = \"A\"\n")
                  .lines,
              (Lines{"quiz.toml:3: warning: unknown key 'auteur' is ignored; did you mean 'author'?",
                     "quiz.toml:4: warning: 'answer' stands above the first [[questions]], so it belongs to no "
                     "question and is ignored; move it below the [[questions]] line of its question",
                     "quiz.toml:8: warning: unknown key 'anwser2' in question 1 is ignored; did you mean "
                     "'answer2'?"}));

    const CheckResult notTables = check("kind = \"text\"\ntitle = \"T\"\ncodes = []\nquestions = 3\n");
    EXPECT_EQ(
        notTables.lines,
        (Lines{"quiz.toml:4: error: questions must be tables, each starting with a line [[questions]]"}));
}

TEST_F(QuizCheck, MissingHeaderValuesAndUnknownWords) {
    const CheckResult missing = check("[[questions]]\nanswer = \"A\"\n");
    EXPECT_EQ(missing.lines,
              (Lines{"quiz.toml: error: no kind: write kind = \"text\", \"picture\", \"audio\" or \"video\"",
                     "quiz.toml: error: no title: write title = \"...\"; it is also the window's caption",
                     "quiz.toml: warning: no codes: the player shows no code for any score"}));

    // With an unknown kind or reveal, nothing is checked against a value the author did not mean.
    const CheckResult words = check(
        "kind = \"images\"\ntitle = \"T\"\nreveal = \"answer\"\nslots = 3\ncodes = [\"A\"]\n"
        "[[questions]]\nanswer = \"A\"\nmedia = \"q1.jpg\"\nanswer_picture = \"a1.jpg\"\ncomment = \"C\"\n");
    EXPECT_EQ(
        words.lines,
        (Lines{
            "quiz.toml:1: error: kind must be \"text\", \"picture\", \"audio\" or \"video\", not \"images\"; did you mean \"picture\"?",
            "quiz.toml:3: error: reveal must be \"none\", \"picture\" or \"comment\", not \"answer\"",
            "quiz.toml:4: error: slots must be 1 or 2, not 3"}));

    const CheckResult none = check("kind = \"text\"\ntitle = \"T\"\ncodes = []\n");
    EXPECT_EQ(none.lines,
              (Lines{"quiz.toml: error: no questions: add one table per question, each starting with a line "
                     "[[questions]]"}));
}

TEST_F(QuizCheck, TwoSlotQuizzesNeedTheSecondAnswer) {
    const CheckResult r = check(
        "kind = \"text\"\ntitle = \"T\"\nslots = 2\ncaptions = [\"Ville\", \"Pays\", \"Continent\"]\n"  // 1-4
        "codes = [\"A\", \"B\", \"C\"]\n"                                                               // 5
        "[[questions]]\ntext = \"Q1\"\nanswer = \"PARIS\"\n"                                            // 6-8
        "[[questions]]\ntext = \"Q2\"\nanswer = \"ROME\"\nanswer2 = \"\"\n"          // 9-12
        "[[questions]]\ntext = \"Q3\"\nanswer = \"\"\nanswer2 = \"\xC3\xAEle\"\n");  // 13-16
    EXPECT_EQ(
        r.lines,
        (Lines{
            "quiz.toml:4: error: captions holds 3 texts; a question has at most two answer slots",
            "quiz.toml:6: error: question 1: no answer2, but the quiz has two answer slots (slots = 2)",
            "quiz.toml:12: error: question 2: answer2 is empty: no typed answer can ever match it",
            "quiz.toml:15: error: question 3: answer is empty: no typed answer can ever match it",
            "quiz.toml:16: note: question 3: answer2 \"\xC3\xAEle\" has accented letters, and the player folds "
            "only a to z: \"\xC3\xAEle\" gets \"BRAVO\"; \"\xC3\x8Ele\", \"\xC3\x8ELE\" and \"ile\" get "
            "\"Quasiment\""}));
}

// A wrong slots says so once: the second answers are not measured against it, only read as texts.
TEST_F(QuizCheck, AWrongSlotsDoesNotBuryItsError) {
    const std::string questions =
        "[[questions]]\ntext = \"Q1\"\nanswer = \"PARIS\"\nanswer2 = \"FRANCE\"\n"  // 4-7
        "[[questions]]\ntext = \"Q2\"\nanswer = \"ROME\"\nanswer2 = \"\"\n"          // 8-11
        "[[questions]]\ntext = \"Q3\"\nanswer = \"BERNE\"\n";                         // 12-14
    EXPECT_EQ(check("kind = \"text\"\ntitle = \"T\"\nslots = \"2\"\n" + questions).lines,
              (Lines{"quiz.toml: warning: no codes: the player shows no code for any score",
                     "quiz.toml:3: error: slots must be a whole number, not a text: write slots = 2, without quotes",
                     "quiz.toml:11: error: question 2: answer2 is empty: no typed answer can ever match it"}));
    EXPECT_EQ(check("kind = \"text\"\ntitle = \"T\"\nslots = 3\n" + questions).lines,
              (Lines{"quiz.toml: warning: no codes: the player shows no code for any score",
                     "quiz.toml:3: error: slots must be 1 or 2, not 3",
                     "quiz.toml:11: error: question 2: answer2 is empty: no typed answer can ever match it"}));
}

TEST_F(QuizCheck, TextsThePlayerCannotHold) {
    const std::string longAnswer(258, 'A');
    const CheckResult r = check(
        "kind = \"text\"\ntitle = \"T\"\n"  // 1-2
        "codes = [\"" +
        std::string(260, 'C') +
        "\", \"LIGNE\\nDEUX\", \"\xF0\x9F\x98\x80\", \"\"]\n"  // 3
        "[[questions]]\ntext = \"Q\"\nanswer = \"" +
        longAnswer +
        "\xC2\xB0\"\n"                                                       // 4-6: 259 bytes, fine
        "[[questions]]\ntext = \"Q\\u0000\"\nanswer = \"A\\tB\"\n"           // 7-9
        "[[questions]]\ntext = \"Q\"\nanswer = \"\xC5\x93uvre \xC2\xA9\"\n"  // 10-12
        "[[questions]]\ntext = \"\"\nanswer = \"A\"\ncomment = \"C\"\n");    // 13-16
    EXPECT_EQ(
        r.lines,
        (Lines{
            "quiz.toml:3: error: code 1 is 260 bytes long in code page 1252; the player holds at most 259",
            "quiz.toml:3: error: code 2 holds a line break; a code is one line",
            "quiz.toml:3:290: error: code 3 holds a character outside code page 1252, which the player cannot "
            "show: U+1F600 '\xF0\x9F\x98\x80' at column 290",
            "quiz.toml:3: warning: code 4 is empty: a score of 4 shows no code",
            "quiz.toml:8: error: question 2: text holds U+0000, which would end the text early in the player",
            "quiz.toml:9: error: question 2: answer holds the control character U+0009, which cannot be "
            "typed into an answer field",
            "quiz.toml:12: warning: question 3: answer \"\xC5\x93uvre \xC2\xA9\" holds \xC5\x93 and \xC2\xA9, "
            "which keyboards do not type: a player who types \"oeuvre\" gets \"FAUX\"; write \"oeuvre\"",
            "quiz.toml:14: error: question 4: no text: a text quiz shows each question's text",
            "quiz.toml:16: warning: question 4: comment is shown only with reveal = \"comment\"; it is left "
            "out"}));
}

// What players type for each answer, judged by the player's matcher: every warning names the typed
// form, the verdict it gets, and the answer to write instead.
TEST_F(QuizCheck, AnswersPlayersWillTypeDifferently) {
    const CheckResult r = check(
        "kind = \"text\"\ntitle = \"T\"\ncodes = [\"1\", \"2\", \"3\", \"4\", \"5\"]\n"      // 1-3
        "[[questions]]\ntext = \"Q\"\nanswer = \"COLIS\xC3\x89" "E\"\n"                     // 4-6
        "[[questions]]\ntext = \"Q\"\nanswer = \"L\xE2\x80\x99" "ARC\xC2\xA0!\"\n"          // 7-9
        "[[questions]]\ntext = \"Q\"\nanswer = \"ATOMIUM   DE  BRUXELLES\"\n"               // 10-12
        "[[questions]]\ntext = \"Q\"\nanswer = \"   \"\n"                                   // 13-15
        "[[questions]]\ntext = \"Q\"\nanswer = \"\xC2\xAB" "BLEU\xC2\xBB\"\n");             // 16-18
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(
        r.lines,
        (Lines{"quiz.toml:6: warning: question 1: answer \"COLIS\xC3\x89" "E\" has accented letters, and the "
               "player folds only a to z: \"COLIS\xC3\x89" "E\" gets \"BRAVO\"; \"colis\xC3\xA9" "e\", "
               "\"Colis\xC3\xA9" "e\" and \"colisee\" get \"Quasiment\"; write \"colis\xC3\xA9" "e\", with accented "
               "letters in lower case as keyboards type them",
               "quiz.toml:9: warning: question 2: answer \"L\xE2\x80\x99" "ARC\xC2\xA0!\" holds \xE2\x80\x99 and a "
               "non-breaking space, which keyboards do not type: a player who types \"L'ARC !\" gets \"Presque\"; "
               "write \"L'ARC !\"",
               "quiz.toml:12: warning: question 3: answer \"ATOMIUM   DE  BRUXELLES\" has several spaces in a row: "
               "a player who types \"ATOMIUM DE BRUXELLES\" gets \"yade lid\xC3\xA9" "e\"; write \"ATOMIUM DE "
               "BRUXELLES\"",
               "quiz.toml:15: error: question 4: answer \"   \" is only spaces: no typed answer can ever match it",
               "quiz.toml:18: warning: question 5: answer \"\xC2\xAB" "BLEU\xC2\xBB\" holds \xC2\xAB and \xC2\xBB, "
               "which keyboards do not type: a player who types \"BLEU\" gets \"Presque\"; write \"BLEU\""}));
}

// Whatever form an accented answer takes, some typing fails: that is told once per answer, and the
// advice of every warning leads to the same form, which draws no warning of its own.
TEST_F(QuizCheck, FollowingTheAdviceLeavesNoWarning) {
    const auto answerLines = [&](const std::string& answer) {
        return check("kind = \"text\"\ntitle = \"T\"\ncodes = [\"1\"]\n[[questions]]\ntext = \"Q\"\nanswer = \"" + answer +
                     "\"\n")
            .lines;
    };
    EXPECT_EQ(answerLines("\xC3\x89VREUX"),
              (Lines{"quiz.toml:6: warning: question 1: answer \"\xC3\x89VREUX\" has accented letters, and the player "
                     "folds only a to z: \"\xC3\x89VREUX\" and \"\xC3\x89vreux\" get \"BRAVO\"; \"\xC3\xA9vreux\" and "
                     "\"evreux\" get \"Quasiment\"; write \"\xC3\xA9vreux\", with accented letters in lower case as "
                     "keyboards type them"}));
    EXPECT_EQ(answerLines("\xC3\xA9vreux"),
              (Lines{"quiz.toml:6: note: question 1: answer \"\xC3\xA9vreux\" has accented letters, and the player "
                     "folds only a to z: \"\xC3\xA9vreux\" gets \"BRAVO\"; \"\xC3\x89vreux\", \"\xC3\x89VREUX\" and "
                     "\"evreux\" get \"Quasiment\""}));
    // Each warning's "write X", checked again, leaves notes only.
    for (const std::string answer : {"L\xE2\x80\x99\xC3\x89T\xC3\x89  BR\xC3\x9BLANT", "SAINT-\xC3\x89TIENNE", "\xC2\xAB" "A\xC2\xA0" "B\xC2\xBB"}) {
        const Lines first = answerLines(answer);
        ASSERT_FALSE(first.empty()) << answer;
        std::string advised;
        for (const std::string& line : first) {
            const std::size_t at = line.find("; write \"");
            if (line.find(": warning: ") == std::string::npos) continue;
            ASSERT_NE(at, std::string::npos) << line;
            const std::string form = line.substr(at + 9, line.find('"', at + 9) - at - 9);
            if (advised.empty()) advised = form;
            EXPECT_EQ(form, advised) << line;
        }
        for (const std::string& line : answerLines(advised)) EXPECT_EQ(line.find(": warning: "), std::string::npos) << line;
    }
}

// Every character the player cannot hold, by its column in characters (escapes included), with what
// to write instead where that is plain.
TEST_F(QuizCheck, CharactersOutsideTheCodePageAllAtOnce) {
    const CheckResult r = check(
        "kind = \"text\"\ncodes = [\"1\"]\n"
        "title = \"\xC3\xA9t\xC3\xA9 \xE2\x80\x91 \\u202F\xE4\xB8\xAD e\xCC\x81\\\"\"\n"  // 3
        "description = '''\nok\n\xE2\x9C\x93'''\n"                                  // 4-6
        "[[questions]]\ntext = \"Q\"\nanswer = \"\xE2\x80\x8B" "A\"\n");             // 7-9
    EXPECT_EQ(r.lines,
              (Lines{"quiz.toml:3:14: error: title holds 4 characters outside code page 1252, which the player "
                     "cannot show: U+2011 '\xE2\x80\x91' at column 14 (write '-' instead), U+202F at column 16 "
                     "(write a space instead), U+4E2D '\xE4\xB8\xAD' at column 22, U+0301 at column 25 (an "
                     "accent apart from its letter: write '\xC3\xA9' as one character)",
                     "quiz.toml:6:1: error: description holds a character outside code page 1252, which the player "
                     "cannot show: U+2713 '\xE2\x9C\x93' at column 1",
                     "quiz.toml:9:11: error: question 1: answer holds a character outside code page 1252, which "
                     "the player cannot show: U+200B at column 11 (invisible: remove it)"}));
}

TEST_F(QuizCheck, MediaAsEachKindAsksForThem) {
    writeFile(dir / "sound.mp3", MP3_FRAME);
    writeFile(dir / "tagged.mp3", MP3_ID3);
    writeFile(dir / "film.avi", AVI);
    writeFile(dir / "picture.jpg", JPEG);
    writeFile(dir / "empty.gif", "");
    std::filesystem::create_directory(dir / "folder.gif");
    const char* const questions =
        "[[questions]]\nanswer = \"A\"\nmedia = \"sound.mp3\"\n"    // 5-7
        "[[questions]]\nanswer = \"A\"\nmedia = \"tagged.mp3\"\n"   // 8-10
        "[[questions]]\nanswer = \"A\"\nmedia = \"film.avi\"\n"     // 11-13
        "[[questions]]\nanswer = \"A\"\nmedia = \"picture.jpg\"\n"  // 14-16
        "[[questions]]\nanswer = \"A\"\n";                          // 17-18
    const std::string header =
        "title = \"T\"\ncodes = [\"1\", \"2\", \"3\", \"4\", \"5\"]\nreveal = \"none\"\n";
    EXPECT_EQ(
        check("kind = \"audio\"\n" + header + questions).lines,
        (Lines{
            "quiz.toml:13: error: question 3: media 'film.avi' is an AVI film, not an MP3 sound: convert it, for "
            "example with ffmpeg -i film.avi film.mp3, and name the new file here",
            "quiz.toml:16: error: question 4: media 'picture.jpg' is a JPEG picture, not an MP3 sound",
            "quiz.toml:17: error: question 5: no media: an audio quiz needs an MP3 sound (ID3 tag or MPEG "
            "frame) for each question"}));
    EXPECT_EQ(
        check("kind = \"video\"\n" + header + questions).lines,
        (Lines{
            "quiz.toml:7: error: question 1: media 'sound.mp3' is an MP3 sound, not an AVI film",
            "quiz.toml:10: error: question 2: media 'tagged.mp3' is an MP3 sound, not an AVI film",
            "quiz.toml:16: error: question 4: media 'picture.jpg' is a JPEG picture, not an AVI film",
            "quiz.toml:17: error: question 5: no media: a video quiz needs an AVI film (RIFF ... AVI header) "
            "for each question"}));
    EXPECT_EQ(check("kind = \"text\"\ntitle = \"T\"\ncodes = [\"1\"]\nreveal = \"none\"\n"
                    "[[questions]]\ntext = \"Q\"\nanswer = \"A\"\nmedia = \"picture.jpg\"\n")
                  .lines,
              (Lines{"quiz.toml:8: error: question 1: media is given but a text quiz shows no media"}));
    EXPECT_EQ(
        check("kind = \"picture\"\n" + header +
              "[[questions]]\nanswer = \"A\"\nmedia = \"empty.gif\"\n"        // 5-7
              "[[questions]]\nanswer = \"A\"\nmedia = \"folder.gif\"\n"       // 8-10
              "[[questions]]\nanswer = \"A\"\nmedia = \"/etc/passwd\"\n"      // 11-13
              "[[questions]]\nanswer = \"A\"\nmedia = \"media\\\\q4.jpg\"\n"  // 14-16
              "[[questions]]\nanswer = \"A\"\nmedia = \"\"\n")                // 17-19
            .lines,
        (Lines{
            "quiz.toml:7: error: question 1: media 'empty.gif' is not a JPEG, GIF, PNG or BMP picture (the "
            "file is empty)",
            "quiz.toml:10: error: question 2: media: cannot read 'folder.gif': Is a directory",
            "quiz.toml:13: error: question 3: media '/etc/passwd' must be a path inside the quiz folder",
            "quiz.toml:16: error: question 4: media \"media\\\\q4.jpg\" holds \"\\\"; write paths with \"/\" so "
            "the folder builds everywhere: \"media/q4.jpg\"",
            "quiz.toml:19: error: question 5: media is empty; give the file's path inside the quiz folder"}));
}

// Paths written the Windows way: between double quotes a backslash starts an escape, which makes a
// line break, a tab or a syntax error of them; each gets the advice a backslash between ' and ' gets.
TEST_F(QuizCheck, WindowsPathsAreToldAsWritten) {
    writeFile(dir / "media/\xC3\xA9t\xC3\xA9.jpg", JPEG);
    const CheckResult r = check(
        "kind = \"picture\"\ntitle = \"T\"\ncodes = [\"1\", \"2\", \"3\", \"4\"]\n"
        "[[questions]]\nanswer = \"A\"\nmedia = \"media\\nantes.jpg\"\n"          // 4-6
        "[[questions]]\nanswer = \"A\"\nmedia = 'media\\evreux.jpg'\n"             // 7-9
        "[[questions]]\nanswer = \"A\"\nmedia = \"photos\\\\2024\\tours.jpg\"\n"   // 10-12
        "[[questions]]\nanswer = \"A\"\nmedia = \"media/\\u00E9t\\u00E9.jpg\"\n");  // 13-15: an escape, no path
    EXPECT_EQ(r.lines,
              (Lines{"quiz.toml:6: error: question 1: media \"media\\nantes.jpg\" holds \"\\\"; write paths with \"/\" "
                     "so the folder builds everywhere: \"media/nantes.jpg\"",
                     "quiz.toml:9: error: question 2: media 'media\\evreux.jpg' holds \"\\\"; write paths with \"/\" "
                     "so the folder builds everywhere: \"media/evreux.jpg\"",
                     "quiz.toml:12: error: question 3: media \"photos\\\\2024\\tours.jpg\" holds \"\\\"; write paths "
                     "with \"/\" so the folder builds everywhere: \"photos/2024/tours.jpg\""}));
    EXPECT_EQ(check("kind = \"picture\"\n[[questions]]\nmedia = \"media\\evreux.jpg\"\n").lines,
              (Lines{"quiz.toml:3:16: error: not valid TOML: Error while parsing string: escape sequence '\\e' is not "
                     "supported in TOML 1.0.0 and earlier",
                     "    media = \"media\\evreux.jpg\"", "                   ^",
                     "    hint: between double quotes, \\ starts an escape: write paths with \"/\" so the folder "
                     "builds everywhere, media = \"media/evreux.jpg\""}));
    EXPECT_EQ(check("title = \"C:\\Users\"\n").lines[3],
              "    hint: between double quotes, \\ starts an escape: write \\\\ for a backslash, or write the text "
              "between ' and '");
}

// Pictures are decoded: a file cut short or damaged is an error, one far larger than the box it is
// shown in a warning with the size to use. Other formats are named, with a way to convert them.
TEST_F(QuizCheck, PicturesDecodeWholeAtASensibleSize) {
    std::string damaged = JPEG;
    damaged[damaged.find("\xFF\xC0")] = '\xFF', damaged[damaged.find("\xFF\xC0") + 1] = '\xC3';  // lossless
    writeFile(dir / "cut.jpg", JPEG.substr(0, 140));
    writeFile(dir / "cut.gif", GIF.substr(0, 42));
    writeFile(dir / "damaged.jpg", damaged);
    writeFile(dir / "big.gif", gifOfSize(1040, 780));
    writeFile(dir / "huge.gif", gifOfSize(8000, 6000));
    writeFile(dir / "fits.gif", gifOfSize(520, 300));
    writeFile(dir / "Media/Photo 1.JPG", JPEG);
    writeFile(dir / "webp.jpg", std::string("RIFF\x10\x00\x00\x00WEBPVP8 ", 16));
    writeFile(dir / "photos/evreux.jpg", JPEG);
    std::string manifest = "kind = \"picture\"\ntitle = \"T\"\ncodes = [\"1\", \"2\", \"3\", \"4\", \"5\", \"6\", \"7\", \"8\", \"9\"]\n";
    for (const char* media : {"cut.jpg", "cut.gif", "damaged.jpg", "big.gif", "huge.gif", "fits.gif",
                              "media/photo 1.jpg", "webp.jpg", "evreux.jpg"})
        manifest += std::string("[[questions]]\nanswer = \"A\"\nmedia = \"") + media + "\"\n";  // 4 + 3 (q - 1)
    const CheckResult r = check(manifest, "", MediaReading::FormatOnly);
    EXPECT_EQ(
        r.lines,
        (Lines{"quiz.toml:6: error: question 1: media 'cut.jpg' is a JPEG picture cut short: the file ends before "
               "the picture does; copy or export it again",
               "quiz.toml:9: error: question 2: media 'cut.gif' is a GIF picture cut short: the file ends before "
               "the picture does; copy or export it again",
               "quiz.toml:12: error: question 3: media 'damaged.jpg' is a JPEG picture that does not decode "
               "(unknown marker): export it again from a picture editor",
               "quiz.toml:15: note: question 4: media 'big.gif' is 1040 x 780 pixels, but the player shows it at 260 x "
               "195: the quiz program carries it at that size, as a JPEG picture; the file itself is left as it is",
               "quiz.toml:18: error: question 5: media 'huge.gif' is 8000 x 6000 pixels, more than the 40 million a "
               "picture may have; the player shows it at 260 x 195: scale it to that size in a picture editor, or "
               "with convert huge.gif -resize 260x260 huge.jpg (ImageMagick), and name the new file here",
               "quiz.toml:24: error: question 7: media: cannot read 'media/photo 1.jpg': No such file or directory; "
               "'Media/Photo 1.JPG' differs from it only in letter case, which Windows ignores and other systems do "
               "not: write \"Media/Photo 1.JPG\"",
               "quiz.toml:27: error: question 8: media 'webp.jpg' is a WebP picture, not a JPEG, GIF, PNG or BMP "
               "picture: convert it, for example with convert webp.jpg webp-converted.jpg (ImageMagick), and name "
               "the new file here",
               "quiz.toml:30: error: question 9: media: cannot read 'evreux.jpg': No such file or directory; "
               "'photos/evreux.jpg' has that name: write \"photos/evreux.jpg\""}));
    // check decodes whole pictures but keeps only their first bytes.
    ASSERT_EQ(r.quiz.media.size(), 2u);
    EXPECT_EQ(r.quiz.media[0].bytes.size(), MEDIA_FORMAT_BYTES);
}

// PNG and BMP pictures and pictures far larger than their box are carried as JPEG of the size the
// player shows, transparent parts in the page's colour; the author's files stay as they are.
TEST_F(QuizCheck, PicturesAreCarriedFitForThePlayer) {
    const std::string big = bmpOfSize(1200, 900), large = gifOfSize(1040, 780);
    writeFile(dir / "photo.png", PNG);
    writeFile(dir / "photo.bmp", big);
    writeFile(dir / "large.gif", large);
    writeFile(dir / "fits.gif", gifOfSize(520, 300));
    std::string manifest = "kind = \"picture\"\ntitle = \"T\"\nbackground = \"#0000FF\"\ncodes = [\"1\", \"2\", \"3\", \"4\"]\n";
    for (const char* media : {"photo.png", "photo.bmp", "large.gif", "fits.gif"})
        manifest += std::string("[[questions]]\nanswer = \"A\"\nmedia = \"") + media + "\"\n";  // 5 + 3 (q - 1) + 2
    const CheckResult r = check(manifest);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.lines,
              (Lines{"quiz.toml:7: note: question 1: media 'photo.png' is a PNG picture, which the player does not "
                     "show: the quiz program carries it as a JPEG picture of 8 x 6 pixels; the file itself is left as "
                     "it is",
                     "quiz.toml:10: note: question 2: media 'photo.bmp' is a BMP picture, which the player does not "
                     "show: the quiz program carries it as a JPEG picture of 260 x 195 pixels; the file itself is "
                     "left as it is",
                     "quiz.toml:13: note: question 3: media 'large.gif' is 1040 x 780 pixels, but the player shows it "
                     "at 260 x 195: the quiz program carries it at that size, as a JPEG picture; the file itself is "
                     "left as it is"}));
    ASSERT_EQ(r.quiz.media.size(), 4u);
    const int sizes[3][2] = {{8, 6}, {260, 195}, {260, 195}};
    for (int i = 0; i < 3; ++i) {
        const std::vector<unsigned char>& jpeg = r.quiz.media[i].bytes;
        ASSERT_EQ(mediaFormat(jpeg), MediaFormat::Jpeg) << i;
        DecodedPicture picture = decodePicture(jpeg.data(), jpeg.size());
        ASSERT_NE(picture.pixels, nullptr) << i;
        EXPECT_EQ(picture.width, sizes[i][0]);
        EXPECT_EQ(picture.height, sizes[i][1]);
        if (i == 0) {
            // Left: red; right: the page's blue, through the transparent half.
            const unsigned char* left = picture.pixels + 4 * (3 * 8 + 1);
            const unsigned char* right = picture.pixels + 4 * (3 * 8 + 6);
            EXPECT_GT(left[0], 200);
            EXPECT_LT(left[2], 60);
            EXPECT_LT(right[0], 60);
            EXPECT_GT(right[2], 200);
        }
        freeDecodedPicture(&picture);
    }
    EXPECT_EQ(std::string(r.quiz.media[3].bytes.begin(), r.quiz.media[3].bytes.end()), gifOfSize(520, 300));
    EXPECT_EQ(readFile(dir / "photo.png"), PNG);
    EXPECT_EQ(readFile(dir / "photo.bmp"), big);
    EXPECT_EQ(readFile(dir / "large.gif"), large);
    // What dump reads back holds the files as they are.
    const CheckResult stored = check(manifest, "", MediaReading::AsStored);
    ASSERT_EQ(stored.quiz.media.size(), 4u);
    EXPECT_EQ(std::string(stored.quiz.media[0].bytes.begin(), stored.quiz.media[0].bytes.end()), PNG);
    // Cut short, a PNG is told so.
    writeFile(dir / "photo.png", PNG.substr(0, 50));
    EXPECT_EQ(check(manifest).lines[0],
              "quiz.toml:7: error: question 1: media 'photo.png' is a PNG picture cut short: the file ends before the "
              "picture does; copy or export it again");
}

// A folder from a stranger must not pull the user's own files into the program: every media path is
// followed, links included, and must end inside the folder, at a regular file.
TEST_F(QuizCheck, MediaPathsMustStayInsideTheFolder) {
    writeFile(dir / "outside.gif", GIF);
    writeFile(dir / "quiz/media/q.gif", GIF);
    std::filesystem::create_symlink("../outside.gif", dir / "quiz/out-link.gif");
    std::filesystem::create_symlink("media/q.gif", dir / "quiz/in-link.gif");
    std::filesystem::create_symlink(dir / "quiz/media", dir / "quiz/absolute-link");
    ASSERT_EQ(mkfifo((dir / "quiz/pipe.gif").c_str(), 0600), 0);  // read, it would never end
    std::string manifest = "kind = \"picture\"\ntitle = \"T\"\n";
    for (const char* media : {"../outside.gif", "media/../../outside.gif", "out-link.gif", "a\\u0000b.gif",
                              "pipe.gif", "in-link.gif", "media/../media/q.gif", "absolute-link/q.gif"})
        manifest += std::string("[[questions]]\nanswer = \"A\"\nmedia = \"") + media + "\"\n";
    const CheckResult r = check(manifest, "quiz");
    EXPECT_EQ(r.lines,
              (Lines{"quiz.toml: warning: no codes: the player shows no code for any score",
                     "quiz.toml:5: error: question 1: media '../outside.gif' leads outside the quiz folder",
                     "quiz.toml:8: error: question 2: media 'media/../../outside.gif' leads outside the quiz folder",
                     "quiz.toml:11: error: question 3: media 'out-link.gif' leads outside the quiz folder",
                     "quiz.toml:14: error: question 4: media holds U+0000, which no file name can hold",
                     "quiz.toml:17: error: question 5: media: cannot read 'pipe.gif': it is not a regular file"}));
    EXPECT_EQ(r.quiz.media.size(), 3u);
}

// 300 questions naming one 60 MB sound: only the first bytes of the first 90 questions' media are
// read (check reads no more of sounds and films), and once over the total no media at all.
TEST_F(QuizCheck, QuestionsPastTheLimitAndMediaPastTheTotalAreNotRead) {
    writeFile(dir / "big.mp3", MP3_ID3);
    std::filesystem::resize_file(dir / "big.mp3", 60 * 1024 * 1024);
    std::string manifest = "kind = \"audio\"\ntitle = \"T\"\n";
    for (int q = 1; q <= 300; ++q)
        manifest += q <= 90 ? "[[questions]]\nanswer = \"A\"\nmedia = \"big.mp3\"\n" : "[[questions]]\n\n\n";
    const CheckResult r = check(manifest, "", MediaReading::FormatOnly);
    EXPECT_EQ(r.lines, (Lines{"quiz.toml: warning: no codes: the player shows no code for any score",
                              "quiz.toml:17: error: question 5: media 'big.mp3' brings the media to 314572800 bytes; "
                              "a quiz program holds at most 256 MB of them",
                              "quiz.toml:273: error: 300 questions; a quiz holds at most 90"}));
    ASSERT_EQ(r.quiz.media.size(), 4u);
    EXPECT_EQ(r.quiz.media[0].bytes.size(), MEDIA_FORMAT_BYTES);
}

TEST_F(QuizCheck, RevealsThePlayerCannotShowAreWarnedAbout) {
    writeFile(dir / "s.mp3", MP3_ID3);
    writeFile(dir / "a.jpg", JPEG);
    writeFile(dir / "q.gif", GIF);
    const CheckResult audio = check(
        "kind = \"audio\"\ntitle = \"T\"\nreveal = \"picture\"\ncodes = [\"1\"]\n"
        "[[questions]]\nanswer = \"A\"\nmedia = \"s.mp3\"\nanswer_picture = \"a.jpg\"\n");
    EXPECT_TRUE(audio.ok);
    EXPECT_EQ(
        audio.lines,
        (Lines{"quiz.toml:3: warning: reveal = \"picture\" shows nothing in an audio quiz: only picture "
               "quizzes have a picture to replace and a comment line"}));
    EXPECT_EQ(audio.quiz.media.size(), 1u);  // the answer picture is left out
    const CheckResult comment = check(
        "kind = \"picture\"\ntitle = \"T\"\nreveal = \"comment\"\ncodes = [\"1\"]\n"
        "[[questions]]\nanswer = \"A\"\nmedia = \"q.gif\"\nanswer_picture = \"a.jpg\"\ncomment = \"Bien "
        "!\"\n");
    EXPECT_TRUE(comment.ok);
    EXPECT_EQ(
        comment.lines,
        (Lines{"quiz.toml:8: warning: question 1: answer_picture is shown only with reveal = \"picture\"; it "
               "is left out"}));
    EXPECT_EQ(comment.quiz.content.questions[0].comment, "Bien !");
    EXPECT_EQ(comment.quiz.media.size(), 1u);
}

// A reveal is checked evenly: the questions that lack what it shows, and the keys a switch of reveal
// leaves unused, each make one line, however many questions they concern.
TEST_F(QuizCheck, RevealKeysAreToldOnceForAllQuestions) {
    writeFile(dir / "q.gif", GIF);
    std::string manifest = "kind = \"picture\"\ntitle = \"T\"\nreveal = \"comment\"\ncodes = [\"1\", \"2\", \"3\", \"4\", \"5\"]\n";
    for (int q = 1; q <= 5; ++q) {  // lines 5 + 4 (q - 1) to 8 + 4 (q - 1)
        manifest += "[[questions]]\nanswer = \"A\"\nmedia = \"q.gif\"\n";
        manifest += q == 1 || q == 4 ? "comment = \"Bien\"\n" : "answer_picture = \"q.gif\"\n";
    }
    const CheckResult comments = check(manifest);
    EXPECT_TRUE(comments.ok);
    EXPECT_EQ(comments.lines,
              (Lines{"quiz.toml:9: warning: questions 2, 3 and 5 have no comment: solving them reveals nothing",
                     "quiz.toml:12: warning: questions 2, 3 and 5: their answer pictures are shown only with "
                     "reveal = \"picture\"; they are left out"}));
    manifest.replace(manifest.find("\"comment\""), 9, "\"picture\"");
    EXPECT_EQ(check(manifest).lines,
              (Lines{"quiz.toml:5: warning: questions 1 and 4 have no answer_picture: solving them reveals nothing",
                     "quiz.toml:8: warning: questions 1 and 4: their comments are shown only with reveal = "
                     "\"comment\"; they are left out"}));
}

// Texts the player never shows: question texts outside a text quiz, captions of a one-slot quiz.
TEST_F(QuizCheck, TextsAKindNeverShowsAreWarnedAbout) {
    writeFile(dir / "q.mp3", MP3_ID3);
    std::string manifest = "kind = \"audio\"\ntitle = \"T\"\ncaptions = [\"Nom\", \"\"]\ncodes = [\"1\", \"2\", \"3\"]\n";
    for (int q = 1; q <= 3; ++q)  // lines 5 + 4 (q - 1) to 8 + 4 (q - 1)
        manifest += "[[questions]]\ntext = \"Qui suis-je ?\"\nanswer = \"A\"\nmedia = \"q.mp3\"\n";
    EXPECT_EQ(check(manifest).lines,
              (Lines{"quiz.toml:3: warning: captions are shown only with slots = 2: players of a one-slot quiz never "
                     "see them",
                     "quiz.toml:6: warning: questions 1 to 3: their texts are shown only in text quizzes: players "
                     "never see them"}));
    manifest.replace(manifest.find("text = \"Qui"), 5, "#ext ");
    manifest.replace(manifest.find("text = \"Qui"), 5, "#ext ");
    manifest.replace(manifest.find("\"Nom\""), 5, "\"\"");
    EXPECT_EQ(check(manifest).lines,
              (Lines{"quiz.toml:14: warning: question 3: text is shown only in text quizzes: players never see it"}));
    EXPECT_EQ(check("kind = \"text\"\ntitle = \"T\"\nslots = 2\ncaptions = [\"Nom\", \"Lieu\"]\ncodes = [\"1\"]\n"
                    "[[questions]]\ntext = \"Q\"\nanswer = \"A\"\nanswer2 = \"B\"\n")
                  .lines,
              Lines{});
}

TEST_F(QuizCheck, AtMostNinetyQuestions) {
    std::string manifest = "kind = \"text\"\ntitle = \"T\"\n";
    for (int q = 1; q <= 91; ++q) manifest += "[[questions]]\ntext = \"Q\"\nanswer = \"A\"\n";
    const CheckResult r = check(manifest);
    EXPECT_FALSE(r.ok);
    // Question 91 starts on line 2 + 90 * 3 + 1.
    EXPECT_EQ(r.lines, (Lines{"quiz.toml: warning: no codes: the player shows no code for any score",
                              "quiz.toml:273: error: 91 questions; a quiz holds at most 90"}));
}

// length characters of code page 1252 (in UTF-8) in an order that LZW finds few repeats in. None
// draws an error or a warning: no "|", quote, backslash, space, control, accented letter or
// character that keyboards do not type.
std::string scrambled(std::size_t length, uint32_t* seed) {
    static std::string letters;
    if (letters.empty()) {
        // Left out: the bytes code page 1252 leaves undefined, and those that draw an error or warning.
        const std::string left = std::string("\x81\x8D\x8F\x90\x9D") + "\"\\|\x7F\x8A\x8E\x9F\x9A\x9E" +
                                 "\x82\x84\x85\x88\x8B\x8C\x91\x92\x93\x94\x96\x97\x98\x99\x9B\x9C" +
                                 "\xA0\xA9\xAB\xAD\xAE\xB4\xBB\xBC\xBD\xBE";
        for (int byte = 0x21; byte <= 0xBF; ++byte) {
            if (left.find(static_cast<char>(byte)) == std::string::npos) letters.push_back(static_cast<char>(byte));
        }
        letters.push_back('\xDF');  // sharp s: no capital in the code page
    }
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
        *seed = *seed * 1103515245u + 12345u;
        text.push_back(letters[(*seed >> 16) % letters.size()]);
    }
    return cp1252ToUtf8(text).text;
}

std::string bigQuiz(int questions, std::size_t fieldLength) {
    uint32_t seed = 7;
    std::string manifest = "kind = \"text\"\ntitle = \"T\"\nslots = 2\ncodes = [";
    for (int q = 0; q < questions; ++q) manifest += "\"C\", ";
    manifest += "]\n";
    for (int q = 0; q < questions; ++q) {
        manifest += "[[questions]]\ntext = \"" + scrambled(fieldLength, &seed) + "\"\nanswer = \"" +
                    scrambled(fieldLength, &seed) + "\"\nanswer2 = \"" + scrambled(fieldLength, &seed) +
                    "\"\n";
    }
    return manifest;
}

TEST_F(QuizCheck, PackedResourcesWithinWhatThePlayerUnpacks) {
    // 90 questions of three 259-byte fields: 70,200 bytes and more, beyond what the packer reads.
    const CheckResult tooLong = check(bigQuiz(90, 259));
    EXPECT_FALSE(tooLong.ok);
    ASSERT_EQ(tooLong.lines.size(), 1u);
    EXPECT_EQ(tooLong.lines[0],
              "quiz.toml: error: the quiz content takes 70214 bytes before packing; the packer takes at most "
              "65535: "
              "shorten the texts or remove questions");
    // Short enough to be packed, but random letters pack to more than the player's 65,535 bytes.
    const CheckResult tooBig = check(bigQuiz(90, 200));
    EXPECT_FALSE(tooBig.ok);
    ASSERT_EQ(tooBig.lines.size(), 1u) << tooBig.lines[0];
    EXPECT_EQ(tooBig.lines[0].rfind("quiz.toml: error: the quiz content packs to ", 0), 0u)
        << tooBig.lines[0];
    EXPECT_NE(tooBig.lines[0].find(" bytes; the player unpacks at most 65535"), std::string::npos);
    // The same quiz a little shorter fits.
    const CheckResult fits = check(bigQuiz(90, 120));
    EXPECT_TRUE(fits.ok) << (fits.lines.empty() ? "" : fits.lines[0]);
    EXPECT_LE(fits.quiz.packedContent.size(), 65535u);
}

// A folder that is not there, a file named for a folder, a folder without quiz.toml: each said so.
TEST_F(QuizCheck, AMissingManifestIsNamed) {
    writeFile(dir / "file", "x");
    std::filesystem::create_directory(dir / "empty");
    for (const auto& [folder, message] : std::vector<std::pair<std::string, std::string>>{
             {"nowhere", "the folder '" + path("nowhere") + "' does not exist"},
             {"file", "'" + path("file") + "' is not a folder: name the quiz folder, which holds quiz.toml"},
             {"empty", "cannot read 'quiz.toml': No such file or directory"}}) {
        CheckedQuiz quiz;
        Diagnostics diagnostics;
        EXPECT_FALSE(checkQuizFolder(dir / folder, &quiz, &diagnostics));
        ASSERT_EQ(diagnostics.size(), 1u);
        EXPECT_EQ(diagnostics[0].line, 0);
        EXPECT_EQ(diagnostics[0].message, message);
    }
}

}  // namespace

// Answer lists: every item checked as an answer is, and none the same as another as the player
// compares them; accents = "ignore" makes more of them the same and ends the advice on accents.
TEST_F(QuizCheck, AnswerListsAndIgnoredAccents) {
    const std::string head = "kind = \"text\"\ntitle = \"T\"\ncodes = [\"1\"]\n[[questions]]\ntext = \"Q\"\n";  // 1 to 5
    CheckResult r = check(head + "answer = [\"AIX EN PROVENCE\", \"AIX-EN-PROVENCE\"]\n");
    EXPECT_EQ(r.lines, Lines{});
    EXPECT_EQ(r.quiz.content.questions[0].otherAnswers1, std::vector<std::string>{"AIX-EN-PROVENCE"});
    EXPECT_FALSE(r.quiz.packedAnswers.empty());
    r = check(head + "answer = [\"Un\", \"\", \"UN\", \"\xC3\x89t\xC3\xA9\", \"ETE\"]\n");
    EXPECT_EQ(r.lines, (Lines{"quiz.toml:6: error: question 1: answer item 2 is empty: no typed answer can ever match it",
                              "quiz.toml:6: error: question 1: answer item 3 \"UN\" is the same answer as item 1 \"Un\" "
                              "once the case of a to z is ignored: remove one of them",
                              "quiz.toml:6: warning: question 1: answer item 4 \"\xC3\x89t\xC3\xA9\" has accented "
                              "letters, and the player folds only a to z: \"\xC3\x89t\xC3\xA9\" gets \"BRAVO\"; \"\xC3\xA9t\xC3\xA9\" "
                              "and \"\xC3\x89T\xC3\x89\" get \"Quasiment\"; \"ete\" gets \"Presque\"; write "
                              "\"\xC3\xA9t\xC3\xA9\", with accented letters in lower case as keyboards type them"}));
    r = check("accents = \"ignore\"\n" + head + "answer = [\"\xC3\x89t\xC3\xA9\", \"ETE\"]\nanswer2 = []\n");
    EXPECT_EQ(r.lines, (Lines{"quiz.toml:7: error: question 1: answer item 2 \"ETE\" is the same answer as item 1 "
                              "\"\xC3\x89t\xC3\xA9\" once letter case and accents are ignored: remove one of them",
                              "quiz.toml:8: error: question 1: answer2 is given but the quiz has one answer slot (slots = 1)"}));
    r = check("accents = \"sans\"\n" + head + "answer = [\"A\"]\n");
    EXPECT_EQ(r.lines, (Lines{"quiz.toml:1: error: accents must be \"exact\" (accents count) or \"ignore\" (accented "
                              "letters match their plain letters), not \"sans\""}));
}

// A scan may name a Huffman table the file never defines; the decoder then reads its tables as they
// were allocated. Whatever the memory held before, the check and the decoding for build agree, every
// time.
TEST(PictureCheck, AScanOfAnUndefinedTableDecodesAlikeWhateverTheMemoryHeld) {
    std::string bytes = JPEG;
    bytes[bytes.find("\xFF\xDA") + 6] = '\x33';  // the scan's tables: DC 3 and AC 3, never defined
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const PictureState first = checkPicture(data, bytes.size()).state;
    for (int round = 0; round < 8; ++round) {
        {
            // Freed blocks full of ones, of the sizes the decoder allocates next.
            std::vector<std::vector<unsigned char>> blocks;
            for (std::size_t size = 1024; size <= 64 * 1024; size += 1024) blocks.emplace_back(size, 0xFF);
        }
        EXPECT_EQ(checkPicture(data, bytes.size()).state, first) << "round " << round;
        DecodedPicture decoded = decodePicture(data, bytes.size());
        EXPECT_EQ(decoded.pixels != nullptr, first == PictureState::Good) << "round " << round;
        freeDecodedPicture(&decoded);
    }
}

// A Huffman table of more than 256 codes would make the decoder write past its tables: it is refused
// before decoding, also behind fill bytes before the start marker, which the decoder skips.
TEST(PictureCheck, OversizedHuffmanTablesAreRefusedBeforeDecoding) {
    std::string tables = JPEG;
    const std::size_t counts = tables.find("\xFF\xC4") + 5;
    tables[counts] = '\xFF', tables[counts + 1] = '\x2D';  // 300 codes
    for (const std::string& bytes : {tables, "\xFF" + tables, "\xFF\xFF\xFF" + tables}) {
        const PictureFacts facts =
            checkPicture(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
        EXPECT_EQ(facts.state, PictureState::Damaged);
        EXPECT_EQ(facts.reason, "a Huffman table of more than 256 codes");
    }
}
