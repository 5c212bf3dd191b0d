// The question page on the real platform: the controls each kind of quiz gets, where they sit, and
// what judging a field writes into the verdict labels, the reveals and the header's score and code.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "player/field_evaluation.h"
#include "content/loader.h"
#include "content/quiz.h"
#include "player/answer_field.h"
#include "player/answers_file.h"
#include "player/answers_file_testing.h"
#include "player/geometry.h"
#include "player/ids.h"
#include "player/page.h"
#include "player/platform_win32.h"
#include "player/window_state.h"
#include "tests/win/controls.h"

namespace {

// One child of the page as the player would find it.
struct Child {
    HWND window;
    int id;
    std::string className;
    DWORD style;
    Box box;
    std::string text;
};

const DWORD EDIT_STYLE_WITHOUT_BORDER = 0x50810081 & ~WS_BORDER;

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// The page's children in z-order, which for children made one by one is their order of creation.
std::vector<Child> childrenOf(HWND page) {
    std::vector<Child> result;
    for (HWND c = GetWindow(page, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        char className[64];
        GetClassNameA(c, className, sizeof className);
        result.push_back({c, GetDlgCtrlID(c), upper(className), static_cast<DWORD>(GetWindowLongA(c, GWL_STYLE)),
                          boxOf(page, c), textOf(c)});
    }
    return result;
}

std::vector<int> idsOf(const std::vector<Child>& children) {
    std::vector<int> ids;
    for (const Child& c : children) ids.push_back(c.id);
    return ids;
}

HFONT fontOf(HWND control) { return reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)); }
HFONT guiFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

LRESULT CALLBACK parentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

class Page : public ::testing::Test {
protected:
    Quiz quiz;
    HWND parent = nullptr;
    HWND page = nullptr;
    HMODULE pictures = nullptr;
    char answersFile[MAX_PATH];

    void SetUp() override {
        g_instance = GetModuleHandleA(nullptr);
        g_resourceModule = nullptr;
        initQuiz(&quiz);
        g_quiz = &quiz;
        answersFileName(answersFile, MAX_PATH);
        DeleteFileA(answersFile);

        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = parentProc;
        windowClass.hInstance = g_instance;
        windowClass.lpszClassName = "PageTestParent";
        RegisterClassA(&windowClass);
        parent = CreateWindowExA(0, "PageTestParent", "", WS_OVERLAPPEDWINDOW, 0, 0, 1000, 800, nullptr, nullptr,
                                 g_instance, nullptr);
        ASSERT_NE(parent, nullptr);
        CreateWindowExA(0, "Static", "", WS_CHILD, 0, 0, 50, 20, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ID_SCORE)), g_instance, nullptr);
        CreateWindowExA(0, "Static", "", WS_CHILD, 0, 0, 50, 20, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ID_CODE_VALUE)), g_instance, nullptr);
    }

    void TearDown() override {
        if (parent != nullptr) DestroyWindow(parent);
        clearQuestions(&quiz);
        g_quiz = nullptr;
        g_resourceModule = nullptr;
        if (pictures != nullptr) FreeLibrary(pictures);
        DeleteFileA(answersFile);
    }

    void setQuiz(QuizKind kind, int slots, RevealMode reveal, int count) {
        quiz.kind = kind;
        quiz.slotsPerQuestion = slots;
        quiz.revealMode = reveal;
        quiz.questionCount = count;
    }

    Question* add(const char* answer1, const char* answer2, const char* text, const char* comment = "") {
        Question* node = appendQuestion(&quiz, answer1, answer2, text);
        copyText(node->comment, comment);
        return node;
    }

    void usePictures() {
        pictures = LoadLibraryA("page_test_pictures.dll");
        ASSERT_NE(pictures, nullptr);
        g_resourceModule = pictures;
    }

    void build() {
        g_pageWidth = pageExtentWidth(quiz.slotsPerQuestion);
        g_pageHeight = pageExtentHeight(quiz.kind, quiz.slotsPerQuestion, quiz.questionCount, quiz.revealMode);
        page = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PAGE), parent, pageDialogProc, 0);
        ASSERT_NE(page, nullptr);
    }

    void writeAnswersFile(const char* bytes) {
        std::FILE* file = std::fopen(answersFile, "wb");
        ASSERT_NE(file, nullptr);
        std::fputs(bytes, file);
        std::fclose(file);
    }

    HWND item(int id) { return GetDlgItem(page, id); }
    Box box(int id) { return boxOf(page, item(id)); }
    std::string text(int id) { return textOf(item(id)); }
    std::string score() { return textOf(GetDlgItem(parent, ID_SCORE)); }
    std::string code() { return textOf(GetDlgItem(parent, ID_CODE_VALUE)); }

    // The player types a text and leaves the field with Enter.
    void answer(int fieldId, const char* typed) {
        SetWindowTextA(item(fieldId), typed);
        EXPECT_EQ(SendMessageA(item(fieldId), WM_KEYUP, VK_RETURN, 0), 1);
    }
};

void expectEditStyle(DWORD style) {
    // Wine turns an edit's WS_BORDER into a client edge; every other bit must be as created.
    EXPECT_EQ(style & ~WS_BORDER, EDIT_STYLE_WITHOUT_BORDER);
}

TEST_F(Page, TextQuizControlsInCreationOrderWithTheirPlacesAndStyles) {
    setQuiz(QuizKind::Text, 1, RevealMode::Comment, 2);
    add("paris", "", "Capitale de la France ?");
    add("rome", "", "Capitale de l'Italie ?");
    build();

    std::vector<Child> children = childrenOf(page);
    EXPECT_EQ(idsOf(children), (std::vector<int>{3000, 153, 4001, 5001, 3000, 153, 4002, 5002}));
    ASSERT_EQ(children.size(), 8u);

    EXPECT_EQ(children[0].className, "STATIC");
    EXPECT_EQ(children[0].style, 0x50800001u);
    EXPECT_EQ(children[0].box, (Box{50, 10, 550, 20}));
    EXPECT_EQ(children[0].text, "Capitale de la France ?");
    EXPECT_EQ(fontOf(children[0].window), guiFont());

    EXPECT_EQ(children[1].style, 0x50000002u);
    EXPECT_EQ(children[1].box, (Box{30, 13, 19, 17}));
    EXPECT_EQ(children[1].text, "1.");
    EXPECT_EQ(fontOf(children[1].window), nullptr);

    EXPECT_EQ(children[2].className, "EDIT");
    expectEditStyle(children[2].style);
    EXPECT_EQ(children[2].box, (Box{615, 10, 100, 20}));
    EXPECT_EQ(children[2].text, "");
    EXPECT_EQ(fontOf(children[2].window), guiFont());
    EXPECT_EQ(GetWindowLongPtrA(children[2].window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(answerFieldProc));

    EXPECT_EQ(children[3].className, "STATIC");
    EXPECT_EQ(children[3].style, 0x50810001u);
    EXPECT_EQ(children[3].box, (Box{720, 9, 90, 21}));
    EXPECT_EQ(children[3].text, "?");
    EXPECT_EQ(fontOf(children[3].window), nullptr);

    EXPECT_EQ(children[4].box, (Box{50, 35, 550, 20}));
    EXPECT_EQ(children[4].text, "Capitale de l'Italie ?");
    EXPECT_EQ(children[5].box, (Box{30, 38, 19, 17}));
    EXPECT_EQ(children[5].text, "2.");
    EXPECT_EQ(children[6].box, (Box{615, 35, 100, 20}));
    EXPECT_EQ(children[7].box, (Box{720, 34, 90, 21}));

    // Every field was judged once while the page was built.
    EXPECT_EQ(score(), " 0 / 2");
    EXPECT_EQ(code(), "      ");
}

TEST_F(Page, PictureQuizOneSlotWithCommentsAndMissingPictures) {
    setQuiz(QuizKind::Picture, 1, RevealMode::Comment, 4);
    add("lune", "", "");
    build();

    std::vector<Child> children = childrenOf(page);
    EXPECT_EQ(idsOf(children), (std::vector<int>{9001, 8001, 153, 4001, 5001, 9002, 8002, 153, 4002, 5002, 9003, 8003,
                                                 153, 4003, 5003, 9004, 8004, 153, 4004, 5004}));
    ASSERT_EQ(children.size(), 20u);
    // No picture resource: the bordered box itself, empty.
    EXPECT_EQ(children[0].className, "STATIC");
    EXPECT_EQ(children[0].style, 0x5080020Eu);
    EXPECT_EQ(children[0].box, (Box{30, 20, 260, 260}));
    EXPECT_EQ(SendMessageA(children[0].window, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_EQ(children[1].style, 0x50010001u);
    EXPECT_EQ(children[1].box, (Box{30, 336, 260, 65}));
    EXPECT_EQ(children[1].text, "");
    EXPECT_EQ(children[2].box, (Box{10, 292, 19, 17}));
    EXPECT_EQ(children[3].box, (Box{30, 290, 260, 20}));
    EXPECT_EQ(children[4].box, (Box{30, 309, 260, 21}));

    // Second and third columns, then question 4 one row (390) lower in the first column.
    EXPECT_EQ(box(9002), (Box{320, 20, 260, 260}));
    EXPECT_EQ(box(4003), (Box{610, 290, 260, 20}));
    EXPECT_EQ(children[15].box, (Box{30, 410, 260, 260}));
    EXPECT_EQ(children[16].box, (Box{30, 726, 260, 65}));
    EXPECT_EQ(children[17].box, (Box{10, 682, 19, 17}));
    EXPECT_EQ(children[18].box, (Box{30, 680, 260, 20}));
    EXPECT_EQ(children[19].box, (Box{30, 699, 260, 21}));
}

// Two-slot Text: captions over the two columns of fields for each group of three questions, every
// control apart from every other, in the order and with the identifiers of every two-slot quiz.
TEST_F(Page, TextQuizTwoSlotsLaysItsFieldsSideBySide) {
    setQuiz(QuizKind::Text, 2, RevealMode::None, 4);
    copyText(quiz.caption1, "Ville");
    copyText(quiz.caption2, "R\xE9gion");
    add("evreux", "normandie", "D\xE9partement 27");
    build();

    std::vector<Child> children = childrenOf(page);
    EXPECT_EQ(idsOf(children), (std::vector<int>{156, 156, 156, 156, 3000, 153, 4001, 5001, 4002, 5002, 3000, 153,
                                                 4003, 5003, 4004, 5004, 3000, 153, 4005, 5005, 4006, 5006, 3000,
                                                 153, 4007, 5007, 4008, 5008}));
    ASSERT_EQ(children.size(), 28u);
    EXPECT_EQ(children[0].box, (Box{420, 8, 190, 20}));
    EXPECT_EQ(children[1].box, (Box{620, 8, 190, 20}));
    EXPECT_EQ(children[1].text, "R\xE9gion");
    EXPECT_EQ(children[3].box, (Box{620, 103, 190, 20}));
    EXPECT_EQ(box(4001), (Box{420, 30, 120, 20}));
    EXPECT_EQ(box(5002), (Box{745, 29, 65, 21}));
    EXPECT_EQ(box(4007), (Box{420, 125, 120, 20}));
    for (std::size_t i = 0; i < children.size(); ++i) {
        const Box& a = children[i].box;
        EXPECT_LE(a.x + a.width, g_pageWidth) << i;
        for (std::size_t j = i + 1; j < children.size(); ++j) {
            const Box& b = children[j].box;
            EXPECT_TRUE(a.x + a.width <= b.x || b.x + b.width <= a.x || a.y + a.height <= b.y || b.y + b.height <= a.y)
                << i << " and " << j;
        }
    }
}

TEST_F(Page, PictureQuizTwoSlotsHasCaptionsAndNarrowFields) {
    setQuiz(QuizKind::Picture, 2, RevealMode::AnswerPicture, 4);
    copyText(quiz.caption1, "Pr\xE9nom");
    copyText(quiz.caption2, "Nom");
    add("victor", "hugo", "");
    build();

    std::vector<Child> children = childrenOf(page);
    // Two caption pairs (rows of questions 1 and 4); no comment labels with answer pictures.
    EXPECT_EQ(idsOf(children), (std::vector<int>{156, 156, 156, 156, 9001, 153, 4001, 5001, 4002, 5002, 9002, 153, 4003,
                                                 5003, 4004, 5004, 9003, 153, 4005, 5005, 4006, 5006, 9004, 153, 4007,
                                                 5007, 4008, 5008}));
    ASSERT_EQ(children.size(), 28u);
    EXPECT_EQ(children[0].style, 0x50000000u);
    EXPECT_EQ(children[0].box, (Box{3, 292, 95, 20}));
    EXPECT_EQ(children[0].text, "Pr\xE9nom");
    EXPECT_EQ(fontOf(children[0].window), guiFont());
    EXPECT_EQ(children[1].box, (Box{3, 312, 95, 20}));
    EXPECT_EQ(children[1].text, "Nom");
    EXPECT_EQ(children[2].box, (Box{3, 622, 95, 20}));
    EXPECT_EQ(children[3].box, (Box{3, 642, 95, 20}));

    EXPECT_EQ(box(9001), (Box{120, 20, 260, 260}));
    EXPECT_EQ(children[5].box, (Box{100, 292, 19, 17}));
    EXPECT_EQ(box(4001), (Box{120, 290, 190, 21}));
    EXPECT_EQ(box(4002), (Box{120, 310, 190, 21}));
    EXPECT_EQ(box(5001), (Box{315, 291, 60, 17}));
    EXPECT_EQ(box(5002), (Box{315, 311, 60, 17}));
    EXPECT_EQ(fontOf(item(5001)), guiFont());
    EXPECT_EQ(GetWindowLongPtrA(item(4002), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(answerFieldProc));
    expectEditStyle(static_cast<DWORD>(GetWindowLongA(item(4002), GWL_STYLE)));
    EXPECT_EQ(text(5002), "?");
    EXPECT_EQ(box(4003), (Box{410, 290, 190, 21}));
}

TEST_F(Page, AudioQuizTwoSlotsHasButtonsWithIconsAndStackedFields) {
    setQuiz(QuizKind::Audio, 2, RevealMode::Comment, 3);
    add("a", "b", "");
    build();

    std::vector<Child> children = childrenOf(page);
    EXPECT_EQ(idsOf(children), (std::vector<int>{156, 156, 6001, 7001, 153, 4001, 5001, 4002, 5002, 6002, 7002, 153,
                                                 4003, 5003, 4004, 5004, 6003, 7003, 153, 4005, 5005, 4006, 5006}));
    ASSERT_EQ(children.size(), 23u);
    EXPECT_EQ(children[0].box, (Box{3, 25, 95, 20}));
    EXPECT_EQ(children[1].box, (Box{3, 45, 95, 20}));

    EXPECT_EQ(children[2].className, "BUTTON");
    EXPECT_EQ(children[2].style, 0x50010041u);
    EXPECT_EQ(children[2].box, (Box{120, 20, 20, 21}));
    EXPECT_EQ(children[3].box, (Box{120, 41, 20, 20}));
    HANDLE play = reinterpret_cast<HANDLE>(SendMessageA(item(6001), BM_GETIMAGE, IMAGE_ICON, 0));
    HANDLE stop = reinterpret_cast<HANDLE>(SendMessageA(item(7001), BM_GETIMAGE, IMAGE_ICON, 0));
    EXPECT_EQ(play, LoadIconA(g_instance, MAKEINTRESOURCEA(IDI_PLAY)));
    EXPECT_EQ(stop, LoadIconA(g_instance, MAKEINTRESOURCEA(IDI_STOP)));
    EXPECT_NE(play, nullptr);
    EXPECT_NE(play, stop);

    EXPECT_EQ(children[4].box, (Box{100, 22, 19, 17}));
    EXPECT_EQ(box(4001), (Box{140, 20, 170, 21}));
    EXPECT_EQ(box(4002), (Box{140, 40, 170, 21}));
    EXPECT_EQ(box(5001), (Box{315, 21, 60, 17}));
    EXPECT_EQ(box(6003), (Box{700, 20, 20, 21}));
}

TEST_F(Page, VideoQuizWithoutFilmPlayersKeepsItsAnswersScoreAndCode) {
    // Video support was never loaded, so no film player can be made: every question still gets its
    // number and fields, and the saved answers come back with their score and code.
    const char* saved = "cercle\r\nrouge\r\ncarre\r\n*\r\nlosange\r\nbleu\r\n";
    writeAnswersFile(saved);
    setQuiz(QuizKind::Video, 2, RevealMode::AnswerPicture, 3);
    add("cercle", "rouge", "");
    add("carre", "vert", "");
    add("losange", "bleu", "");
    copyText(quiz.scoreCodes[1], "DEUX");
    build();

    std::vector<Child> children = childrenOf(page);
    EXPECT_EQ(idsOf(children), (std::vector<int>{156, 156, 6001, 7001, 9901, 153, 4001, 5001, 4002, 5002, 6002,
                                                 7002, 9902, 153, 4003, 5003, 4004, 5004, 6003, 7003, 9903, 153,
                                                 4005, 5005, 4006, 5006}));
    ASSERT_EQ(children.size(), 26u);
    EXPECT_EQ(children[2].box, (Box{105, 240, 20, 20}));
    EXPECT_EQ(children[3].box, (Box{105, 260, 20, 20}));
    EXPECT_EQ(children[4].className, "STATIC");
    EXPECT_EQ(children[4].style, 0x50800000u);
    EXPECT_EQ(children[4].box, (Box{105, 30, 200, 150}));
    EXPECT_EQ(text(5003), "BRAVO");
    EXPECT_NE(text(5004), "BRAVO");
    EXPECT_EQ(text(5006), "BRAVO");
    EXPECT_EQ(score(), " 2 / 3");
    EXPECT_EQ(code(), "DEUX");

    // Saving writes back what was restored.
    saveAnswers(page);
    EXPECT_EQ(fileBytes(answersFile), saved);
}

TEST_F(Page, UnknownKindsAndSlotCountsGetNoQuestionControls) {
    setQuiz(static_cast<QuizKind>(7), 1, RevealMode::Comment, 3);
    add("a", "", "");
    build();
    EXPECT_TRUE(childrenOf(page).empty());
    DestroyWindow(page);

    setQuiz(QuizKind::Text, 3, RevealMode::Comment, 3);
    build();
    EXPECT_TRUE(childrenOf(page).empty());
}

TEST_F(Page, APictureIsScaledAndCentredInItsBox) {
    usePictures();
    setQuiz(QuizKind::Picture, 1, RevealMode::Comment, 2);
    add("a", "", "");
    build();
    // 520 x 390 becomes 260 x 195, centred vertically: (260 - 195) / 2 = 32.
    EXPECT_EQ(box(9001), (Box{30, 52, 260, 195}));
    SIZE shown = bitmapSize(reinterpret_cast<HGDIOBJ>(SendMessageA(item(9001), STM_GETIMAGE, IMAGE_BITMAP, 0)));
    EXPECT_EQ(shown.cx, 260);
    EXPECT_EQ(shown.cy, 195);
    // Question 2 has no picture in the module.
    EXPECT_EQ(box(9002), (Box{320, 20, 260, 260}));
}

TEST_F(Page, VerdictsScoreAndCodeFollowEachJudgement) {
    setQuiz(QuizKind::Text, 1, RevealMode::Comment, 3);
    add("paris", "", "");
    add("rome", "", "");
    add("berlin", "", "");
    copyText(quiz.scoreCodes[0], "AB12CD");
    copyText(quiz.scoreCodes[1], "EF34GH");
    build();

    answer(4001, "Paris");
    EXPECT_EQ(text(5001), "BRAVO");
    EXPECT_EQ(score(), " 1 / 3");
    EXPECT_EQ(code(), "AB12CD");

    answer(4002, "  ROME ");
    EXPECT_EQ(text(5002), "BRAVO");
    EXPECT_EQ(score(), " 2 / 3");
    EXPECT_EQ(code(), "EF34GH");

    answer(4003, "zzz");
    EXPECT_EQ(text(5003), "FAUX");
    answer(4001, "londres");
    EXPECT_EQ(text(5001), "FAUX");
    EXPECT_EQ(score(), " 1 / 3");
    EXPECT_EQ(code(), "AB12CD");

    answer(4002, "");
    EXPECT_EQ(text(5002), "?");
    EXPECT_EQ(score(), " 0 / 3");
    EXPECT_EQ(code(), "      ");
}

// A quiz program's accepted answers and accent rule, read from its own resources as the player
// reads them: an alternative answer and an answer typed without its accent both give "BRAVO".
TEST_F(Page, AQuizProgramsOtherAnswersAndIgnoredAccentsAreRight) {
    char path[MAX_PATH] = "";
    std::string program(path, GetModuleFileNameA(nullptr, path, sizeof path));
    program = program.substr(0, program.find_last_of("\\/") + 1) + "accepted_quiz.exe";
    pictures = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(pictures, nullptr) << program;
    g_resourceModule = pictures;
    loadQuiz(&quiz);
    build();
    answer(4001, "aix-en-provence");
    answer(4002, "saint-etienne");
    EXPECT_EQ(text(5001) + text(5002) + score() + code(), "BRAVOBRAVO 2 / 2DEUX");
    answer(4001, "Aix en Provence");
    answer(4002, "saint etiene");  // near misses keep their verdicts
    EXPECT_EQ(text(5001) + " " + text(5002), "BRAVO Presque");
    if (quiz.backgroundBrush != nullptr) DeleteObject(static_cast<HBRUSH>(quiz.backgroundBrush));
}

TEST_F(Page, ACommentIsRevealedWhenSolvedAndEmptiedWhenNoLongerRight) {
    setQuiz(QuizKind::Picture, 1, RevealMode::Comment, 2);
    add("lune", "", "", "La Lune, bien s\xFBr");
    add("soleil", "", "", "Notre \xE9toile");
    build();

    answer(4002, "Soleil");
    EXPECT_EQ(text(8002), "Notre \xE9toile");
    EXPECT_EQ(text(8001), "");

    // A trailing space is right and counts, but does not solve the question for the reveal.
    answer(4001, "lune ");
    EXPECT_EQ(text(5001), "BRAVO");
    EXPECT_EQ(score(), " 2 / 2");
    EXPECT_EQ(text(8001), "");

    answer(4001, "LUNE");
    EXPECT_EQ(text(8001), "La Lune, bien s\xFBr");
    answer(4001, "lunes");
    EXPECT_NE(text(5001), "BRAVO");
    EXPECT_EQ(text(8001), "");
    EXPECT_EQ(score(), " 1 / 2");
}

TEST_F(Page, TwoSlotQuestionIsSolvedOnlyWhenBothSlotsHoldTheirAnswers) {
    setQuiz(QuizKind::Picture, 2, RevealMode::Comment, 2);
    add("victor", "hugo", "", "Les Mis\xE9rables");
    add("emile", "zola", "", "Germinal");
    copyText(quiz.scoreCodes[0], "UN");
    build();

    answer(4003, "emile");
    answer(4001, "victor");
    EXPECT_EQ(text(5001), "BRAVO");
    EXPECT_EQ(text(5002), "?");
    EXPECT_EQ(text(8001), "");
    EXPECT_EQ(score(), " 0 / 2");

    // Field 4004 is question 2, slot 2: judged against its answer2, verdict in 5004.
    answer(4004, "zola");
    EXPECT_EQ(text(5004), "BRAVO");
    EXPECT_EQ(text(8002), "Germinal");
    EXPECT_EQ(score(), " 1 / 2");
    EXPECT_EQ(code(), "UN");
    EXPECT_EQ(text(8001), "");

    answer(4003, "zola");
    EXPECT_EQ(text(5003), "FAUX");
    EXPECT_EQ(text(8002), "");
    EXPECT_EQ(score(), " 0 / 2");
    EXPECT_EQ(code(), "      ");
}

TEST_F(Page, AnAnswerPictureReplacesTheQuestionPicture10PixelsFurtherLeft) {
    usePictures();
    setQuiz(QuizKind::Picture, 1, RevealMode::AnswerPicture, 2);
    add("lune", "", "");
    add("soleil", "", "");
    build();
    HGDIOBJ questionPicture = reinterpret_cast<HGDIOBJ>(SendMessageA(item(9001), STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_NE(questionPicture, nullptr);

    answer(4001, "lune ");
    EXPECT_EQ(box(9001), (Box{30, 52, 260, 195}));

    answer(4001, "lune");
    // 1000 x 100 becomes 260 x 26: left 0 + 20, top 20 + (260 - 26) / 2.
    EXPECT_EQ(box(9001), (Box{20, 137, 260, 26}));
    HGDIOBJ shown = reinterpret_cast<HGDIOBJ>(SendMessageA(item(9001), STM_GETIMAGE, IMAGE_BITMAP, 0));
    EXPECT_NE(shown, questionPicture);
    EXPECT_EQ(bitmapSize(shown).cx, 260);
    EXPECT_EQ(bitmapSize(shown).cy, 26);
    // The replaced question picture was freed.
    BITMAP gone;
    EXPECT_EQ(GetObjectA(questionPicture, sizeof gone, &gone), 0);

    // A picture once shown stays when the answer goes wrong.
    answer(4001, "mars");
    EXPECT_EQ(box(9001), (Box{20, 137, 260, 26}));

    // Question 2 has no answer picture: BRAVO, counted, nothing moves.
    answer(4002, "soleil");
    EXPECT_EQ(text(5002), "BRAVO");
    EXPECT_EQ(box(9002), (Box{320, 20, 260, 260}));
    EXPECT_EQ(score(), " 1 / 2");
}

TEST_F(Page, F1SolvingBothSlotsRevealsTheAnswerPictureOnce) {
    usePictures();
    setQuiz(QuizKind::Picture, 2, RevealMode::AnswerPicture, 2);
    add("x", "x", "");
    add("x", "y", "");
    build();
    SetWindowTextA(item(4001), "x");
    SetFocus(item(4001));
    SendMessageA(item(4001), WM_KEYUP, VK_F1, 0xC0000001);
    EXPECT_EQ(score(), " 1 / 2");
    EXPECT_EQ(box(9001), (Box{110, 137, 260, 26}));
    // Solved again, the question keeps the answer picture it shows.
    HANDLE shown = reinterpret_cast<HANDLE>(SendMessageA(item(9001), STM_GETIMAGE, IMAGE_BITMAP, 0));
    answer(4002, "x");
    EXPECT_EQ(reinterpret_cast<HANDLE>(SendMessageA(item(9001), STM_GETIMAGE, IMAGE_BITMAP, 0)), shown);
    EXPECT_EQ(box(9001), (Box{110, 137, 260, 26}));
}

TEST_F(Page, ARebuiltPageJudgesItsOwnControls) {
    usePictures();
    setQuiz(QuizKind::Picture, 1, RevealMode::AnswerPicture, 2);
    add("lune", "", "");
    add("soleil", "", "");
    build();
    answer(4001, "lune");
    DestroyWindow(page);
    build();
    EXPECT_EQ(box(9001), (Box{30, 52, 260, 195}));
    answer(4002, "soleil");
    EXPECT_EQ(text(5002), "BRAVO");
    EXPECT_EQ(score(), " 1 / 2");
    answer(4001, "lune");
    EXPECT_EQ(box(9001), (Box{20, 137, 260, 26}));
    EXPECT_EQ(score(), " 2 / 2");
}

TEST_F(Page, TheScoreCountsTheLabelsAsTheyReadNow) {
    setQuiz(QuizKind::Text, 1, RevealMode::Comment, 2);
    add("paris", "", "");
    add("rome", "", "");
    build();
    answer(4001, "paris");
    // Labels rewritten by another path count as they read at the next judging...
    SetWindowTextA(item(5002), "BRAVO");
    answer(4001, "paris");
    EXPECT_EQ(score(), " 2 / 2");
    // ...and judging a field writes its verdict again, even one it gave before.
    SetWindowTextA(item(5001), "FAUX");
    answer(4001, "paris");
    EXPECT_EQ(text(5001), "BRAVO");
    EXPECT_EQ(score(), " 2 / 2");
}

TEST_F(Page, QuestionsBeyondAShortListUseItsLastNode) {
    setQuiz(QuizKind::Picture, 1, RevealMode::Comment, 5);
    add("lune", "", "", "premier");
    add("grivol", "", "", "dernier");
    build();
    EXPECT_EQ(text(ID_COMMENT_BASE + 5), "");
    answer(4005, "grivol");
    EXPECT_EQ(text(5005), "BRAVO");
    EXPECT_EQ(text(8005), "dernier");
    answer(4004, "lune");
    EXPECT_EQ(text(5004), "FAUX");
    EXPECT_EQ(score(), " 1 / 5");
}

TEST_F(Page, ZeroQuestionsScoreZeroOfZero) {
    setQuiz(QuizKind::Text, 1, RevealMode::Comment, 0);
    build();
    EXPECT_TRUE(childrenOf(page).empty());
    SetWindowTextA(GetDlgItem(parent, ID_CODE_VALUE), "x");
    updateScore(page);
    EXPECT_EQ(score(), " 0 / 0");
    EXPECT_EQ(code(), "      ");
}

TEST_F(Page, AnswerFieldKeysAndFocus) {
    setQuiz(QuizKind::Text, 1, RevealMode::Comment, 2);
    add("paris", "", "");
    add("rome", "", "");
    build();
    HWND first = item(4001);
    HWND second = item(4002);

    // Enter and Tab characters are swallowed: nothing is inserted.
    SetWindowTextA(first, "abc");
    EXPECT_EQ(SendMessageA(first, WM_CHAR, '\r', 0), 0);
    EXPECT_EQ(SendMessageA(first, WM_CHAR, '\t', 0), 0);
    EXPECT_EQ(textOf(first), "abc");
    EXPECT_EQ(text(5001), "?");

    // Leaving a field judges it.
    SetFocus(first);
    SetWindowTextA(first, "paris");
    SetFocus(second);
    EXPECT_EQ(text(5001), "BRAVO");
    EXPECT_EQ(score(), " 1 / 2");

    // Taking the focus selects the first 25 characters.
    SetWindowTextA(first, "abcdefghijklmnopqrstuvwxyz1234");
    SetFocus(first);
    DWORD start = 0, end = 0;
    SendMessageA(first, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 25u);
    EXPECT_EQ(GetFocus(), first);
}

TEST_F(Page, SavedAnswersAreRestoredAndJudgedWhenThePageIsBuilt) {
    writeAnswersFile("Paris\r\n*\r\nberlin");
    setQuiz(QuizKind::Text, 1, RevealMode::Comment, 4);
    add("paris", "", "");
    add("rome", "", "");
    add("berlin", "", "");
    add("madrid", "", "");
    copyText(quiz.scoreCodes[1], "DEUX");
    build();

    EXPECT_EQ(text(4001), "Paris");
    EXPECT_EQ(text(4002), "");
    // The last line has no line end and still comes back whole; the fourth field has no line.
    EXPECT_EQ(text(4003), "berlin");
    EXPECT_EQ(text(4004), "");
    EXPECT_EQ(text(5001), "BRAVO");
    EXPECT_EQ(text(5002), "?");
    EXPECT_EQ(text(5003), "BRAVO");
    EXPECT_EQ(score(), " 2 / 4");
    EXPECT_EQ(code(), "DEUX");
}

TEST_F(Page, SavingWritesOneLinePerFieldWithAStarForEmptyOnes) {
    char expectedName[MAX_PATH];
    GetModuleFileNameA(nullptr, expectedName, MAX_PATH);
    std::string bare = expectedName;
    bare = bare.substr(bare.find_last_of('\\') + 1);
    EXPECT_EQ(std::string(answersFile), bare.substr(0, bare.size() - 3) + "txt");

    setQuiz(QuizKind::Audio, 2, RevealMode::Comment, 2);
    add("a", "b", "");
    build();
    SetWindowTextA(item(4001), "Pr\xE9nom");
    SetWindowTextA(item(4003), "*");
    saveAnswers(page);
    EXPECT_EQ(fileBytes(answersFile), "Pr\xE9nom\r\n*\r\n*\r\n*\r\n");

    // The single "*" typed in field 3 comes back empty, like the empty fields.
    DestroyWindow(page);
    build();
    EXPECT_EQ(text(4001), "Pr\xE9nom");
    EXPECT_EQ(text(4003), "");
}

TEST_F(Page, ScrollRangesFollowTheClientArea) {
    setQuiz(QuizKind::Text, 1, RevealMode::Comment, 40);
    add("a", "", "");
    build();
    // 40 Text questions: 1025 pixels high, 890 wide.
    SetWindowPos(page, nullptr, 0, 0, 500, 400, SWP_NOZORDER | SWP_NOACTIVATE);
    updateScrollRanges(page);
    RECT client;
    GetClientRect(page, &client);

    // The visible size is what the bars show as their page, one position more.
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(page, SB_VERT, &info);
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 1023);
    EXPECT_EQ(info.nPage, static_cast<UINT>(client.bottom - 1));
    GetScrollInfo(page, SB_HORZ, &info);
    EXPECT_EQ(info.nMax, 888);
    EXPECT_EQ(info.nPage, static_cast<UINT>(client.right - 1));
    // The largest reachable position is the hidden part of the page.
    SetScrollPos(page, SB_VERT, 5000, FALSE);
    EXPECT_EQ(GetScrollPos(page, SB_VERT), 1025 - client.bottom);

    // Larger than the page in both directions: visible sizes capped, positions back to 0, bars kept.
    SetScrollPos(page, SB_HORZ, 40, FALSE);
    SetWindowPos(page, nullptr, 0, 0, 1200, 1300, SWP_NOZORDER | SWP_NOACTIVATE);
    updateScrollRanges(page);
    EXPECT_EQ(GetScrollPos(page, SB_VERT), 0);
    EXPECT_EQ(GetScrollPos(page, SB_HORZ), 0);
    GetScrollInfo(page, SB_VERT, &info);
    EXPECT_EQ(info.nPage, 1024u);
    GetScrollInfo(page, SB_HORZ, &info);
    EXPECT_EQ(info.nPage, 889u);
    EXPECT_NE(GetWindowLongA(page, GWL_STYLE) & WS_VSCROLL, 0);
}

TEST_F(Page, PageBackgroundIsTheQuizBrush) {
    setQuiz(QuizKind::Text, 1, RevealMode::Comment, 0);
    quiz.backgroundBrush = CreateSolidBrush(RGB(12, 34, 56));
    build();
    HDC dc = GetDC(page);
    INT_PTR brush = pageDialogProc(page, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(page));
    ReleaseDC(page, dc);
    EXPECT_EQ(brush, reinterpret_cast<INT_PTR>(quiz.backgroundBrush));
    DeleteObject(static_cast<HBRUSH>(quiz.backgroundBrush));
}

}  // namespace
