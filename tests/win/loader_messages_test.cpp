// The loader's messages on the real platform: broken quizzes show their message box (caught and
// dismissed by a watcher thread) and leave the record as the player then shows it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "content/loader.h"
#include "content/quiz.h"
#include "player/platform_win32.h"
#include "tests/win/message_boxes.h"

namespace {

std::string programFolder() {
    char path[MAX_PATH] = "";
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

class BrokenQuiz : public testing::Test {
protected:
    std::vector<CaughtBox> load(const char* name) {
        module_ = LoadLibraryExA((programFolder() + name + ".dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        EXPECT_NE(module_, nullptr);
        g_resourceModule = module_;
        initQuiz(&quiz_);
        startCatchingMessageBoxes();
        loadQuiz(&quiz_);
        return stopCatchingMessageBoxes();
    }
    void TearDown() override {
        clearQuestions(&quiz_);
        g_resourceModule = nullptr;
        if (module_ != nullptr) FreeLibrary(module_);
    }
    HMODULE module_ = nullptr;
    Quiz quiz_;
};

TEST_F(BrokenQuiz, ContentThatDoesNotUnpackLeavesTheRecordEmpty) {
    std::vector<CaughtBox> boxes = load("quiz_corrupt");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Trivo");
    EXPECT_EQ(boxes[0].text, "Erreur dans le d\xE9" "cryptage des reponses");
    EXPECT_EQ(quiz_.questionCount, 0);
    EXPECT_EQ(quiz_.firstQuestion, nullptr);
    EXPECT_STREQ(quiz_.title, "");
    EXPECT_EQ(quiz_.backgroundBrush, nullptr);
}

TEST_F(BrokenQuiz, EmptyContentOpensTheDemoQuiz) {
    std::vector<CaughtBox> boxes = load("quiz_empty");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Trivo");
    EXPECT_EQ(boxes[0].text, "Reponses non trouv\xE9" "es");
    EXPECT_STREQ(quiz_.title, "Nom du trivo");
    EXPECT_EQ(quiz_.questionCount, 30);
    EXPECT_EQ(quiz_.kind, QuizKind::Picture);
    EXPECT_STREQ(quiz_.scoreCodes[0], "");
}

}  // namespace
