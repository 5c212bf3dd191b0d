// The Win32 side of the platform seam, through the real API: resources read from resource-only DLLs
// built from test quizzes, the loader filling the record from them, and solid brushes.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "content/loader.h"
#include "content/platform.h"
#include "content/quiz.h"
#include "player/platform_win32.h"

namespace {

// Folder of the running test program; the quiz DLLs and their packed files are built next to it.
std::string programFolder() {
    char path[MAX_PATH] = "";
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

std::vector<unsigned char> readFile(const std::string& path) {
    std::vector<unsigned char> bytes;
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr) return bytes;
    int c;
    while ((c = fgetc(file)) != EOF) bytes.push_back(static_cast<unsigned char>(c));
    fclose(file);
    return bytes;
}

std::vector<unsigned char> bytesOf(const ResourceData& resource) {
    if (resource.bytes == nullptr) return {};
    return std::vector<unsigned char>(resource.bytes, resource.bytes + resource.size);
}

// The packed file trivo_test_quiz put into the DLL of that name.
std::vector<unsigned char> packedFile(const char* quiz, const char* file) {
    return readFile(programFolder() + "quizzes\\" + quiz + "\\" + file);
}

COLORREF brushColour(BrushHandle brush) {
    LOGBRUSH logBrush = {};
    if (GetObjectA(static_cast<HBRUSH>(brush), sizeof logBrush, &logBrush) != sizeof logBrush) return 0xFFFFFFFF;
    return logBrush.lbStyle == BS_SOLID ? logBrush.lbColor : 0xFFFFFFFE;
}

// Points the program's resources at one quiz DLL for the length of a test.
class QuizModule : public testing::Test {
protected:
    void use(const char* name) {
        std::string path = programFolder() + name + ".dll";
        module_ = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << path << ": error " << GetLastError();
        g_resourceModule = module_;
    }
    void TearDown() override {
        g_resourceModule = nullptr;
        if (module_ != nullptr) FreeLibrary(module_);
    }
    HMODULE module_ = nullptr;
};

class LoadedQuiz : public QuizModule {
protected:
    void SetUp() override { initQuiz(&quiz_); }
    void TearDown() override {
        if (quiz_.backgroundBrush != nullptr) DeleteObject(static_cast<HBRUSH>(quiz_.backgroundBrush));
        clearQuestions(&quiz_);
        QuizModule::TearDown();
    }
    Quiz quiz_;
};

TEST(ResourceModule, DefaultsToTheProgramWhichCarriesNoQuiz) {
    g_resourceModule = nullptr;
    EXPECT_EQ(resourceModule(), GetModuleHandleA(nullptr));
    ResourceData content = platformResource(QUIZ_PACKED_TYPE, RESOURCE_CONTENT_ID);
    EXPECT_FALSE(content.found);
    EXPECT_EQ(content.bytes, nullptr);
    EXPECT_EQ(content.size, 0);
}

TEST_F(QuizModule, FindsPackedContentAndCodesAsBuilt) {
    use("quiz_picture");
    EXPECT_EQ(resourceModule(), module_);
    std::vector<unsigned char> packedContent = packedFile("quiz_picture", "content.lzw");
    std::vector<unsigned char> packedCodes = packedFile("quiz_picture", "codes.lzw");
    ASSERT_GT(packedContent.size(), 4u);
    ASSERT_GT(packedCodes.size(), 2u);

    ResourceData content = platformResource("PATCH", 104);
    ASSERT_TRUE(content.found);
    EXPECT_EQ(content.size, static_cast<int32_t>(packedContent.size()));
    EXPECT_EQ(bytesOf(content), packedContent);

    ResourceData codes = platformResource("PATCH", 105);
    ASSERT_TRUE(codes.found);
    EXPECT_EQ(codes.size, static_cast<int32_t>(packedCodes.size()));
    EXPECT_EQ(bytesOf(codes), packedCodes);
}

TEST_F(QuizModule, TypeNamesAreFoundWhateverTheirCase) {
    use("quiz_text");
    ResourceData lower = platformResource("patch", 105);
    ASSERT_TRUE(lower.found);
    EXPECT_EQ(bytesOf(lower), packedFile("quiz_text", "codes.lzw"));
}

TEST_F(QuizModule, MissingIdOrTypeIsNotFound) {
    use("quiz_picture");
    for (ResourceData missing : {platformResource("PATCH", 106), platformResource("PATCH", 103),
                                 platformResource("IMG", 104), platformResource("IMG", 401)}) {
        EXPECT_FALSE(missing.found);
        EXPECT_EQ(missing.bytes, nullptr);
        EXPECT_EQ(missing.size, 0);
    }
}

TEST_F(QuizModule, EmptyResourceIsFoundWithSizeZero) {
    use("quiz_empty");
    ResourceData content = platformResource("PATCH", 104);
    EXPECT_TRUE(content.found);
    EXPECT_EQ(content.size, 0);
    EXPECT_FALSE(platformResource("PATCH", 105).found);
}

TEST_F(QuizModule, CorruptContentBytesAreHandedOverAsStored) {
    use("quiz_corrupt");
    const std::string garbage = "\xFF\xFF\xFF\xFFpas du LZW";
    ResourceData content = platformResource("PATCH", 104);
    ASSERT_TRUE(content.found);
    EXPECT_EQ(content.size, static_cast<int32_t>(garbage.size()));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(content.bytes), content.size), garbage);
}

TEST_F(LoadedQuiz, PictureQuizWithTwoSlotsAndComments) {
    use("quiz_picture");
    loadQuiz(&quiz_);

    EXPECT_EQ(quiz_.kind, QuizKind::Picture);
    EXPECT_EQ(quiz_.questionCount, 2);
    EXPECT_EQ(quiz_.slotsPerQuestion, 2);
    EXPECT_STREQ(quiz_.title, "Ch\xE2teaux de France");
    EXPECT_STREQ(quiz_.author, "Ren\xE9 Dupr\xE9");
    EXPECT_STREQ(quiz_.description, "Trouvez le ch\xE2teau et sa r\xE9gion");
    EXPECT_STREQ(quiz_.caption1, "Ch\xE2teau");
    EXPECT_STREQ(quiz_.caption2, "R\xE9gion");
    EXPECT_EQ(quiz_.revealMode, RevealMode::Comment);

    Question* first = quiz_.firstQuestion;
    ASSERT_NE(first, nullptr);
    EXPECT_STREQ(first->answer1, "Chambord");
    EXPECT_STREQ(first->answer2, "Centre");
    EXPECT_STREQ(first->text, "Question un");
    EXPECT_STREQ(first->comment, "Fran\xE7ois Ier");
    Question* second = first->next;
    ASSERT_NE(second, nullptr);
    EXPECT_STREQ(second->answer1, "Versailles");
    EXPECT_STREQ(second->answer2, "\xCEle-de-France");
    EXPECT_STREQ(second->text, "Question deux");
    EXPECT_STREQ(second->comment, "Louis XIV");
    EXPECT_EQ(second->next, nullptr);
    EXPECT_EQ(quiz_.lastQuestion, second);

    EXPECT_EQ(quiz_.backgroundColour, 0x00302010u);
    ASSERT_NE(quiz_.backgroundBrush, nullptr);
    EXPECT_EQ(brushColour(quiz_.backgroundBrush), 0x00302010u);

    EXPECT_STREQ(quiz_.scoreCodes[0], "A1");
    EXPECT_STREQ(quiz_.scoreCodes[1], "B2");
    EXPECT_STREQ(quiz_.scoreCodes[2], "");
}

TEST_F(LoadedQuiz, TextQuizWithOneSlotAndAnswerPictures) {
    use("quiz_text");
    loadQuiz(&quiz_);

    EXPECT_EQ(quiz_.kind, QuizKind::Text);
    EXPECT_EQ(quiz_.questionCount, 1);
    EXPECT_EQ(quiz_.slotsPerQuestion, 1);
    EXPECT_STREQ(quiz_.title, "Capitales");
    EXPECT_STREQ(quiz_.author, "Trivo");
    EXPECT_STREQ(quiz_.description, "Donnez la capitale");
    EXPECT_STREQ(quiz_.caption1, "R\xE9ponse");
    EXPECT_STREQ(quiz_.caption2, "");
    EXPECT_EQ(quiz_.revealMode, RevealMode::AnswerPicture);

    Question* only = quiz_.firstQuestion;
    ASSERT_NE(only, nullptr);
    EXPECT_STREQ(only->answer1, "Paris");
    EXPECT_STREQ(only->answer2, "");
    EXPECT_STREQ(only->text, "Capitale de la France ?");
    EXPECT_STREQ(only->comment, "");
    EXPECT_EQ(only->next, nullptr);

    EXPECT_EQ(quiz_.backgroundColour, 0x000080FFu);
    EXPECT_EQ(brushColour(quiz_.backgroundBrush), 0x000080FFu);
    EXPECT_STREQ(quiz_.scoreCodes[0], "ZX9");
    EXPECT_STREQ(quiz_.scoreCodes[1], "");
}

TEST_F(LoadedQuiz, SecondQuizInOneProgramReadsItsOwnModule) {
    use("quiz_picture");
    loadQuiz(&quiz_);
    TearDown();
    initQuiz(&quiz_);
    use("quiz_text");
    loadQuiz(&quiz_);
    EXPECT_STREQ(quiz_.title, "Capitales");
    EXPECT_EQ(quiz_.questionCount, 1);
    EXPECT_STREQ(quiz_.scoreCodes[0], "ZX9");
}

TEST(SolidBrush, ColourRoundTrips) {
    for (uint32_t colour : {0x00302010u, 0x00000000u, 0x00FFFFFFu, 0x000080FFu}) {
        BrushHandle brush = platformSolidBrush(colour);
        ASSERT_NE(brush, nullptr);
        EXPECT_EQ(brushColour(brush), colour);
        DeleteObject(static_cast<HBRUSH>(brush));
    }
}

}  // namespace
