// The answers file on the real platform: the bytes written at close, the texts and verdicts restored
// at the next start, lines of every shape read back to their own fields, and closes that cannot
// write leaving the previous file as it was.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "player/field_evaluation.h"
#include "content/quiz.h"
#include "player/answers_file.h"
#include "player/answers_file_testing.h"
#include "player/ids.h"
#include "player/main_window.h"
#include "player/window_state.h"
#include "tests/win/controls.h"

namespace {

std::string fileBytes(const char* name) {
    std::string bytes;
    std::FILE* file = std::fopen(name, "rb");
    if (file == nullptr) return "<missing>";
    int c;
    while ((c = std::getc(file)) != EOF) bytes.push_back(static_cast<char>(c));
    std::fclose(file);
    return bytes;
}

void writeBytes(const char* name, const std::string& bytes) {
    std::FILE* file = std::fopen(name, "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

// The same for a name the ANSI code page cannot spell.
std::string fileBytes(const wchar_t* name) {
    std::string bytes;
    std::FILE* file = _wfopen(name, L"rb");
    if (file == nullptr) return "<missing>";
    int c;
    while ((c = std::getc(file)) != EOF) bytes.push_back(static_cast<char>(c));
    std::fclose(file);
    return bytes;
}

// Every name in the current directory, to see that nothing was left behind.
std::set<std::string> folderNames() {
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("*", &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        names.insert(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// A line of n characters cycling through the alphabet, starting at first.
std::string letters(int n, char first = 'a') {
    std::string s;
    for (int i = 0; i < n; ++i) s.push_back(static_cast<char>('a' + (first - 'a' + i) % 26));
    return s;
}

Quiz g_testQuiz;

class AnswersFile : public testing::Test {
protected:
    char answers[MAX_PATH];
    HWND main = nullptr;

    static void SetUpTestSuite() {
        g_instance = GetModuleHandleA(nullptr);
        initQuiz(&g_testQuiz);
        ASSERT_TRUE(registerMainWindowClass());
    }

    void SetUp() override {
        answersFileName(answers, MAX_PATH);
        SetFileAttributesA(answers, FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(answers);
        // A Text quiz of four questions, one field each, with a code for every score.
        useQuiz(1, {"paris", "rome", "berlin", "madrid"});
    }

    void TearDown() override {
        closeWindow();
        clearQuestions(&g_testQuiz);
        g_quiz = nullptr;
        SetFileAttributesA(answers, FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(answers);
    }

    void useQuiz(int slots, const std::vector<const char*>& expected) {
        clearQuestions(&g_testQuiz);
        initQuiz(&g_testQuiz);
        g_testQuiz.kind = QuizKind::Text;
        g_testQuiz.slotsPerQuestion = slots;
        g_testQuiz.revealMode = RevealMode::Comment;
        for (size_t i = 0; i + slots <= expected.size(); i += slots) {
            appendQuestion(&g_testQuiz, expected[i], slots == 2 ? expected[i + 1] : "", "Question");
        }
        g_testQuiz.questionCount = static_cast<int>(expected.size()) / slots;
        copyText(g_testQuiz.scoreCodes[0], "UN-1");
        copyText(g_testQuiz.scoreCodes[1], "DEUX-2");
        copyText(g_testQuiz.scoreCodes[2], "TROIS-3");
        copyText(g_testQuiz.scoreCodes[3], "QUATRE-4");
        g_quiz = &g_testQuiz;
    }

    // The program's start: the main window and its page, whose fields take the saved answers.
    void start() {
        closeWindow();
        main = createMainWindow();
        ASSERT_NE(main, nullptr);
        ASSERT_NE(g_pageDialog, nullptr);
    }

    void closeWindow() {
        if (main != nullptr) DestroyWindow(main);
        main = nullptr;
        g_pageDialog = nullptr;
    }

    // The player's close request, as the window's close box sends it; the loop's WM_QUIT is taken.
    void closeRequest() {
        SendMessageA(main, WM_CLOSE, 0, 0);
        MSG msg;
        EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    }

    // The player types into field k and leaves it: the field is judged.
    void type(int k, const std::string& text) {
        SetWindowTextA(field(k), text.c_str());
        evaluateField(g_pageDialog, ID_ANSWER_BASE + k);
    }

    HWND field(int k) { return GetDlgItem(g_pageDialog, ID_ANSWER_BASE + k); }
    std::string fieldText(int k) { return textOf(field(k)); }
    std::string verdict(int k) { return textOf(GetDlgItem(g_pageDialog, ID_VERDICT_BASE + k)); }
    // The score is the first of the header's labels numbered ID_SCORE.
    std::string score() { return textOf(GetDlgItem(main, ID_SCORE)); }
    std::string code() { return textOf(GetDlgItem(main, ID_CODE_VALUE)); }

    std::vector<std::string> fieldTexts() {
        std::vector<std::string> texts;
        const int count = g_quiz->questionCount * g_quiz->slotsPerQuestion;
        for (int k = 1; k <= count; ++k) texts.push_back(fieldText(k));
        return texts;
    }

    // The saved texts as the page would take them, one nextSavedAnswer per field.
    std::vector<std::string> readBack(int fields) {
        std::vector<std::string> texts;
        FILE* file = openSavedAnswers();
        EXPECT_NE(file, nullptr);
        for (int k = 0; k < fields; ++k) {
            char text[TEXT_SLOT_SIZE];
            std::memset(text, 'X', sizeof text);
            nextSavedAnswer(file, text);
            texts.push_back(text);
        }
        closeSavedAnswers(file);
        return texts;
    }
};

TEST_F(AnswersFile, NameIsTheProgramsWithTxtInTheCurrentFolder) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string bare = path;
    bare = bare.substr(bare.find_last_of('\\') + 1);
    EXPECT_EQ(bare, "answers_file_test.exe");
    EXPECT_EQ(std::string(answers), "answers_file_test.txt");
    // A buffer too small for the name gives no name rather than a cut one.
    char tooSmall[10];
    answersFileName(tooSmall, sizeof tooSmall);
    EXPECT_EQ(std::string(tooSmall), "");
}

// A program file without extension whose name ends in "txt" (Windows starts it all the same) would
// be its own answers file: it has none, so it never reads or replaces itself.
TEST_F(AnswersFile, AProgramWhoseNameEndsInTxtHasNoAnswersFile) {
    wchar_t name[MAX_PATH];
    answersFileNameOf(L"C:\\jeux\\Game.exe", name, MAX_PATH);
    EXPECT_EQ(std::wstring(name), L"Game.txt");
    for (const wchar_t* program : {L"C:\\jeux\\quiztxt", L"C:\\jeux\\QUIZTXT", L"D:\\quiz.txt", L"quiz.TxT"}) {
        answersFileNameOf(program, name, MAX_PATH);
        EXPECT_EQ(std::wstring(name), L"") << program;
    }
    EXPECT_EQ(openSavedAnswersFrom(L""), nullptr);
}

// GetModuleFileNameA spells a character outside the code page "?", and no file can have that name:
// the wide name is used, and the bytes inside the file are the same as ever.
TEST_F(AnswersFile, ANameOutsideTheCodePageIsUsedAsItIs) {
    wchar_t name[MAX_PATH];
    answersFileNameOf(L"C:\\jeux\\R\u00E9ponses \u4E2D\u6587.exe", name, MAX_PATH);
    ASSERT_EQ(std::wstring(name), L"R\u00E9ponses \u4E2D\u6587.txt");
    start();
    type(1, "Br\xE9sil");
    saveAnswersTo(g_pageDialog, name);
    EXPECT_EQ(fileBytes(name), "Br\xE9sil\r\n*\r\n*\r\n*\r\n");
    FILE* file = openSavedAnswersFrom(name);
    EXPECT_NE(file, nullptr);
    closeSavedAnswers(file);
    DeleteFileW(name);
}

// Writing at close.

TEST_F(AnswersFile, CloseWritesOneLinePerFieldStarForEmptyAndCrLfAfterEach) {
    start();
    type(1, "Paris");
    type(3, "Br\xE9sil");
    closeRequest();
    EXPECT_EQ(fileBytes(answers), "Paris\r\n*\r\nBr\xE9sil\r\n*\r\n");
}

TEST_F(AnswersFile, TwoSlotQuizWritesQuestionBySlotOrder) {
    useQuiz(2, {"victor", "hugo", "emile", "zola", "jules", "verne"});
    start();
    for (int k = 1; k <= 6; ++k) type(k, "f" + std::to_string(k));
    SetWindowTextA(field(4), "");
    closeRequest();
    EXPECT_EQ(fileBytes(answers), "f1\r\nf2\r\nf3\r\n*\r\nf5\r\nf6\r\n");
}

TEST_F(AnswersFile, AFieldOf300CharactersIsSavedAsItsFirst259) {
    start();
    type(2, letters(300));
    closeRequest();
    EXPECT_EQ(fileBytes(answers), "*\r\n" + letters(259) + "\r\n*\r\n*\r\n");
}

TEST_F(AnswersFile, AMissingFieldIsWrittenAsEmpty) {
    start();
    type(1, "a");
    type(3, "c");
    DestroyWindow(field(3));
    saveAnswers(g_pageDialog);
    EXPECT_EQ(fileBytes(answers), "a\r\n*\r\n*\r\n*\r\n");
}

TEST_F(AnswersFile, ASecondCloseReplacesTheWholeFile) {
    writeBytes(answers, "une ligne bien plus longue que les autres\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n");
    const std::set<std::string> before = folderNames();
    start();
    // Only as many lines as there are fields were read.
    EXPECT_EQ(fieldTexts(), (std::vector<std::string>{"une ligne bien plus longue que les autres", "2", "3", "4"}));
    type(1, "x");
    closeRequest();
    EXPECT_EQ(fileBytes(answers), "x\r\n2\r\n3\r\n4\r\n");
    EXPECT_EQ(folderNames(), before);
}

// Restoring at the next start.

TEST_F(AnswersFile, NextStartRestoresTheTextsAndJudgesThemToTheSameScoreAndCode) {
    start();
    EXPECT_EQ(score(), " 0 / 4");
    type(1, "Paris");
    type(2, "  ROME ");
    type(3, "londres");
    EXPECT_EQ(score(), " 2 / 4");
    EXPECT_EQ(code(), "DEUX-2");
    closeRequest();
    closeWindow();

    start();
    EXPECT_EQ(fieldTexts(), (std::vector<std::string>{"Paris", "  ROME ", "londres", ""}));
    EXPECT_EQ(verdict(1), "BRAVO");
    EXPECT_EQ(verdict(2), "BRAVO");
    EXPECT_EQ(verdict(3), "FAUX");
    EXPECT_EQ(verdict(4), "?");
    EXPECT_EQ(score(), " 2 / 4");
    EXPECT_EQ(code(), "DEUX-2");

    // Closing again without a change writes the same bytes.
    const std::string first = fileBytes(answers);
    closeRequest();
    EXPECT_EQ(fileBytes(answers), first);
}

TEST_F(AnswersFile, ATypedStarComesBackEmpty) {
    start();
    type(2, "*");
    closeRequest();
    EXPECT_EQ(fileBytes(answers), "*\r\n*\r\n*\r\n*\r\n");
    start();
    EXPECT_EQ(fieldText(2), "");
    EXPECT_EQ(verdict(2), "?");
}

TEST_F(AnswersFile, NoFileLeavesEveryFieldEmpty) {
    start();
    EXPECT_EQ(fieldTexts(), (std::vector<std::string>{"", "", "", ""}));
    EXPECT_EQ(score(), " 0 / 4");
    EXPECT_EQ(code(), "      ");
    char text[TEXT_SLOT_SIZE] = "left over";
    nextSavedAnswer(nullptr, text);
    EXPECT_EQ(std::string(text), "");
    closeSavedAnswers(nullptr);
}

// Reading lines of every shape.

TEST_F(AnswersFile, FewerLinesThanFieldsLeaveTheRestEmpty) {
    writeBytes(answers, "paris\r\nrome\r\n");
    EXPECT_EQ(readBack(5), (std::vector<std::string>{"paris", "rome", "", "", ""}));
    start();
    EXPECT_EQ(fieldTexts(), (std::vector<std::string>{"paris", "rome", "", ""}));
    EXPECT_EQ(score(), " 2 / 4");
    EXPECT_EQ(code(), "DEUX-2");
}

TEST_F(AnswersFile, ALastLineWithoutLineEndComesBackWhole) {
    writeBytes(answers, "*\r\nberlin");
    EXPECT_EQ(readBack(3), (std::vector<std::string>{"", "berlin", ""}));
    writeBytes(answers, "paris\nrome");
    EXPECT_EQ(readBack(3), (std::vector<std::string>{"paris", "rome", ""}));
}

TEST_F(AnswersFile, LineFeedOnlyLineEndsAndEmptyLines) {
    writeBytes(answers, "paris\n*\n\nrome\n");
    EXPECT_EQ(readBack(5), (std::vector<std::string>{"paris", "", "", "rome", ""}));
    // A carriage return at the very end of the file ends its line as well.
    writeBytes(answers, "paris\r\nrome\r");
    EXPECT_EQ(readBack(2), (std::vector<std::string>{"paris", "rome"}));
    // "*" only means empty when it is the whole line.
    writeBytes(answers, "**\r\n* \r\n *\r\n");
    EXPECT_EQ(readBack(3), (std::vector<std::string>{"**", "* ", " *"}));
}

TEST_F(AnswersFile, ALineOf259CharactersKeepsTheFollowingLinesWithTheirFields) {
    const std::string full = letters(259);
    writeBytes(answers, full + "\r\nrome\r\n*\r\nmadrid\r\n");
    EXPECT_EQ(readBack(4), (std::vector<std::string>{full, "rome", "", "madrid"}));
    start();
    EXPECT_EQ(fieldTexts(), (std::vector<std::string>{full, "rome", "", "madrid"}));
    EXPECT_EQ(verdict(2), "BRAVO");
    EXPECT_EQ(verdict(4), "BRAVO");
    EXPECT_EQ(score(), " 2 / 4");
    // Written back unchanged at close.
    const std::string before = fileBytes(answers);
    closeRequest();
    EXPECT_EQ(fileBytes(answers), before);
}

TEST_F(AnswersFile, ALongerLineIsCutTo259AndTheRestOfItSkipped) {
    const std::string line = letters(300, 'c');
    writeBytes(answers, "paris\r\n" + line + "\r\n" + letters(258) + "\r\n" + letters(260) + "\nmadrid");
    EXPECT_EQ(readBack(6), (std::vector<std::string>{"paris", line.substr(0, 259), letters(258), letters(259),
                                                      "madrid", ""}));
    start();
    EXPECT_EQ(fieldTexts(), (std::vector<std::string>{"paris", line.substr(0, 259), letters(258), letters(259)}));
    EXPECT_EQ(score(), " 1 / 4");
}

TEST_F(AnswersFile, ALineCutShortKeepsACarriageReturnOfItsMiddle) {
    // Character 259 of a 300-character line is a carriage return inside the text, not a line end.
    std::string line = letters(258) + "\r" + letters(41);
    writeBytes(answers, line + "\r\nrome\r\n");
    EXPECT_EQ(readBack(2), (std::vector<std::string>{letters(258) + "\r", "rome"}));
}

// In text mode a byte 0x1A ended the reading, and the next close wrote "*" over every later answer.
TEST_F(AnswersFile, AControlZByteIsReadAsAnyOther) {
    const std::string saved = "pa\x1Aris\r\nrome\r\n\x1A\r\nmadrid\r\n";
    writeBytes(answers, saved);
    EXPECT_EQ(readBack(4), (std::vector<std::string>{"pa\x1Aris", "rome", "\x1A", "madrid"}));
    start();
    EXPECT_EQ(fieldText(4), "madrid");
    EXPECT_EQ(verdict(4), "BRAVO");
    closeRequest();
    EXPECT_EQ(fileBytes(answers), saved);
}

// Closes that cannot write.

TEST_F(AnswersFile, AQuizWithoutFieldsLeavesThePreviousFile) {
    const std::string saved = "paris\r\n*\r\nberlin\r\n*\r\n";
    for (const bool noSlots : {true, false}) {
        writeBytes(answers, saved);
        useQuiz(1, {"paris", "rome", "berlin", "madrid"});
        if (noSlots) g_testQuiz.slotsPerQuestion = 0;
        else g_testQuiz.questionCount = 0;
        start();
        closeRequest();
        EXPECT_EQ(fileBytes(answers), saved) << (noSlots ? "no slots" : "no questions");
    }
}

// Where no temporary file can be made beside it (here: a name of 244 characters leaves no room for a
// longer one), the file is written in place; when even that cannot be, the previous answers stay.
TEST_F(AnswersFile, WhereNoTemporaryFileCanBeMadeTheFileIsWrittenInPlace) {
    const std::string narrow = std::string(240, 'r') + ".txt";
    const std::wstring name(narrow.begin(), narrow.end());
    writeBytes(narrow.c_str(), "une ligne bien plus longue que les autres\r\nrome\r\n*\r\n*\r\n*\r\n");
    const std::set<std::string> before = folderNames();
    start();
    type(1, "paris");
    saveAnswersTo(g_pageDialog, name.c_str());
    EXPECT_EQ(fileBytes(narrow.c_str()), "paris\r\n*\r\n*\r\n*\r\n");
    EXPECT_EQ(folderNames(), before);

    HANDLE other = CreateFileW(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    type(2, "rome");
    saveAnswersTo(g_pageDialog, name.c_str());
    CloseHandle(other);
    EXPECT_EQ(fileBytes(narrow.c_str()), "paris\r\n*\r\n*\r\n*\r\n");
    EXPECT_EQ(folderNames(), before);
    DeleteFileW(name.c_str());
}

TEST_F(AnswersFile, AFileLockedByAnotherProgramKeepsThePreviousAnswers) {
    writeBytes(answers, "paris\r\n*\r\n*\r\n*\r\n");
    start();
    type(2, "rome");
    const std::set<std::string> before = folderNames();
    // Another program holds the file open without sharing.
    HANDLE other = CreateFileA(answers, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    closeRequest();
    EXPECT_EQ(folderNames(), before);
    CloseHandle(other);
    EXPECT_EQ(fileBytes(answers), "paris\r\n*\r\n*\r\n*\r\n");

    // Once the other program lets go, the next close writes.
    closeRequest();
    EXPECT_EQ(fileBytes(answers), "paris\r\nrome\r\n*\r\n*\r\n");
    EXPECT_EQ(folderNames(), before);
}

TEST_F(AnswersFile, AReadOnlyFileKeepsThePreviousAnswers) {
    writeBytes(answers, "paris\r\n*\r\n*\r\n*\r\n");
    ASSERT_TRUE(SetFileAttributesA(answers, FILE_ATTRIBUTE_READONLY));
    start();
    type(2, "rome");
    const std::set<std::string> before = folderNames();
    closeRequest();
    EXPECT_EQ(fileBytes(answers), "paris\r\n*\r\n*\r\n*\r\n");
    EXPECT_EQ(GetFileAttributesA(answers) & FILE_ATTRIBUTE_READONLY, static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(folderNames(), before);
}

TEST_F(AnswersFile, AFirstCloseLeavesOnlyTheAnswersFile) {
    std::set<std::string> expected = folderNames();
    start();
    type(4, "madrid");
    closeRequest();
    expected.insert(answers);
    EXPECT_EQ(folderNames(), expected);
    EXPECT_EQ(fileBytes(answers), "*\r\n*\r\n*\r\nmadrid\r\n");
}

}  // namespace
