// Spreadsheets of questions as spreadsheets save them, and the quiz folders made of them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/native/quiz_folder_support.h"
#include "tools/quiz_folder/question_table.h"

namespace {

using namespace quiz_folder;

struct QuestionTables : ScratchFolder {
    QuestionTable read(const std::string& bytes) {
        QuestionTable table;
        std::string error;
        EXPECT_TRUE(readQuestionTable(bytes, &table, &error)) << error;
        return table;
    }
    std::string failure(const std::string& bytes) {
        QuestionTable table;
        std::string error;
        EXPECT_FALSE(readQuestionTable(bytes, &table, &error));
        return error;
    }
};

// A French spreadsheet: code page 1252, semicolons, headers with accents and capitals, a quoted
// cell holding the separator and a quote, an empty line, a column of its own.
TEST_F(QuestionTables, FrenchSpreadsheetsAsTheySaveThem) {
    const QuestionTable table = read(
        "Texte;R\xE9ponse;R\xE9PONSE 2;M\xE9" "dia;Commentaire;Points\r\n"
        "\"Capitale; de la \"\"France\"\"\";Paris;France;photos\\paris.jpg;Bravo;1\r\n"
        ";;;;;\r\n"
        "D\xE9partement 27;\xC9VREUX;Normandie;;;2\r\n");
    ASSERT_EQ(table.rows.size(), 2u);
    EXPECT_EQ(table.rows[0].line, 2);
    EXPECT_EQ(table.rows[0].text, "Capitale; de la \"France\"");
    EXPECT_EQ(table.rows[0].media, "photos\\paris.jpg");
    EXPECT_EQ(table.rows[0].comment, "Bravo");
    EXPECT_EQ(table.rows[1].line, 4);
    EXPECT_EQ(table.rows[1].text, "D\xC3\xA9partement 27");
    EXPECT_EQ(table.rows[1].answer, "\xC3\x89VREUX");
    EXPECT_EQ(table.rows[1].answer2, "Normandie");
    EXPECT_TRUE(table.answer2Column);
    EXPECT_EQ(table.unused, std::vector<std::string>{"Points"});
    EXPECT_EQ(tableKind(table), QuizKind::Picture);
    // UTF-8 with its mark, commas, a cell over two lines, English names.
    const QuestionTable english = read("\xEF\xBB\xBF" "answer,text\nROME,\"Capitale\nde l'Italie\"\nLION,\xC3\xA9t\xC3\xA9\n");
    ASSERT_EQ(english.rows.size(), 2u);
    EXPECT_EQ(english.rows[0].text, "Capitale\nde l'Italie");
    EXPECT_EQ(english.rows[1].line, 4);
    EXPECT_EQ(english.rows[1].text, "\xC3\xA9t\xC3\xA9");
    EXPECT_FALSE(english.answer2Column);
    EXPECT_EQ(tableKind(english), QuizKind::Text);
}

TEST_F(QuestionTables, WhatIsNotATableOfQuestions) {
    EXPECT_EQ(failure(""), "it is empty; its first line names the columns: texte, r\xC3\xA9ponse, r\xC3\xA9ponse2, "
                           "m\xC3\xA9" "dia and commentaire");
    EXPECT_EQ(failure("Question;Solution\nQ;A\n"),
              "its first line, which names the columns, has no r\xC3\xA9ponse (or answer) column; the others are texte, "
              "r\xC3\xA9ponse2, m\xC3\xA9" "dia and commentaire");
    EXPECT_EQ(failure("answer\n\"ROME\nLION\n"), "line 2: a cell opens a quote that is never closed");
    EXPECT_EQ(failure("answer\n"), "it holds no question below its first line");
    std::string many = "answer\n";
    for (int q = 1; q <= 91; ++q) many += "A" + std::to_string(q) + "\n";
    EXPECT_EQ(failure(many), "line 92 is question 91; a quiz holds at most 90");
    EXPECT_EQ(failure("answer\n\x81\n").rfind("neither UTF-8 nor code page 1252", 0), 0u);
}

// The folder: every question with its keys, two slots for a second answer, comments revealed in a
// picture quiz, the media copied from inside the table's folder only.
TEST_F(QuestionTables, TheFolderHoldsEveryQuestionAndItsMedia) {
    writeFile(dir / "photos/paris.jpg", JPEG);
    writeFile(dir / "other/paris.jpg", GIF);
    const std::string outside = "outside-" + dir.filename().string() + ".jpg";  // beside the folder
    writeFile(dir / ".." / outside, JPEG);
    const QuestionTable table = read(
        "r\xC3\xA9ponse,r\xC3\xA9ponse2,m\xC3\xA9" "dia,commentaire\n"
        "Paris,France,photos\\paris.jpg,\"Bien \"\"vu\"\"\"\n"
        "Paris,France,photos/paris.jpg,\n"
        "Lyon,France,other/paris.jpg,\n"
        "Nice,France,../" + outside + ",\n"
        "Brest,France,missing.jpg,\n");
    const std::vector<FolderFile> files = questionTableFiles(table, tableKind(table), "Villes", dir);
    std::filesystem::remove(dir / ".." / outside);
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[1].relativePath, "media/paris.jpg");
    EXPECT_EQ(std::string(files[1].bytes.begin(), files[1].bytes.end()), JPEG);
    EXPECT_EQ(files[2].relativePath, "media/other/paris.jpg");
    const std::string toml(files[0].bytes.begin(), files[0].bytes.end());
    for (const std::string& line :
         {"kind = \"picture\"\n", "title = \"Villes\"\n", "slots = 2\n", "reveal = \"comment\"\n",
          "codes = [\n    \"CODE1\",\n    \"CODE2\",\n    \"CODE3\",\n    \"CODE4\",\n    \"CODE5\",\n]\n",
          "answer = \"Paris\"   # la r\xC3\xA9ponse attendue\nanswer2 = \"France\"\nmedia = \"media/paris.jpg\"   #",
          "comment = \"Bien \\\"vu\\\"\"\n\n[[questions]]\nanswer = \"Paris\"\nanswer2 = \"France\"\n"
          "media = \"media/paris.jpg\"\n",
          "media = \"media/other/paris.jpg\"\n", "media = \"../outside-", "media = \"missing.jpg\"\n"})
        EXPECT_NE(toml.find(line), std::string::npos) << line << "\n" << toml;
}

}  // namespace
