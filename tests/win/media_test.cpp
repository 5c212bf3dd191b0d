// Question media on the real platform: pictures decoded and scaled, media files written, sounds
// started and stopped by the page's buttons.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "content/quiz.h"
#include "player/ids.h"
#include "player/media.h"
#include "player/platform_win32.h"
#include "player/window_state.h"
#include "tests/win/controls.h"
#include "tests/win/message_boxes.h"

namespace {

std::string resourceBytes(int id) {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), "IMG");
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
    return std::string(bytes, SizeofResource(nullptr, found));
}

class Media : public ::testing::Test {
protected:
    void SetUp() override {
        g_resourceModule = nullptr;
        g_instance = GetModuleHandleA(nullptr);
    }
};

TEST_F(Media, PicturesAreScaledToFitTheirBoxWithTruncatedSizes) {
    struct Case {
        int id;
        LONG width, height;
    } cases[] = {{401, 260, 195}, {402, 260, 26}, {403, 260, 130}, {404, 260, 260}, {405, 260, 194}};
    for (const Case& c : cases) {
        HBITMAP picture = loadResourcePicture(GetModuleHandleA(nullptr), c.id, "IMG", 260, 260);
        ASSERT_NE(picture, nullptr) << c.id;
        SIZE size = bitmapSize(picture);
        EXPECT_EQ(size.cx, c.width) << c.id;
        EXPECT_EQ(size.cy, c.height) << c.id;
        DeleteObject(picture);
    }
    // A smaller box scales down by the tighter side.
    HBITMAP small = loadResourcePicture(GetModuleHandleA(nullptr), 401, "img", 100, 50);
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(bitmapSize(small).cx, 66);
    EXPECT_EQ(bitmapSize(small).cy, 50);
    DeleteObject(small);
}

TEST_F(Media, ScalingKeepsThePicture) {
    // The 1000 x 100 picture is plain green (0x008000) with a yellow disc in its middle.
    HBITMAP picture = loadResourcePicture(GetModuleHandleA(nullptr), 402, "IMG", 260, 260);
    ASSERT_NE(picture, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, picture);
    COLORREF corner = GetPixel(dc, 3, 3);
    COLORREF middle = GetPixel(dc, 130, 13);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(picture);
    EXPECT_LE(GetRValue(corner), 8);
    EXPECT_NEAR(GetGValue(corner), 128, 8);
    EXPECT_LE(GetBValue(corner), 8);
    EXPECT_GE(GetRValue(middle), 200);
    EXPECT_GE(GetGValue(middle), 200);
}

TEST_F(Media, AnythingButAPictureGivesNothing) {
    EXPECT_EQ(loadResourcePicture(GetModuleHandleA(nullptr), 406, "IMG", 260, 260), nullptr);  // text
    EXPECT_EQ(loadResourcePicture(GetModuleHandleA(nullptr), 499, "IMG", 260, 260), nullptr);  // missing
    EXPECT_EQ(decodePicture(nullptr, 0), nullptr);
    std::string truncated = resourceBytes(401).substr(0, 40);
    EXPECT_EQ(decodePicture(truncated.data(), static_cast<DWORD>(truncated.size())), nullptr);
    EXPECT_EQ(scaleBitmapToBox(nullptr, 260, 260), nullptr);
}

TEST_F(Media, MediaFilesAreWrittenInTheCurrentDirectory) {
    DeleteFileA("trivo.mp3");
    DeleteFileA("trivo7.avi");
    EXPECT_EQ(extractMediaFile(407, MEDIA_AUDIO), 1);
    EXPECT_EQ(fileBytes("trivo.mp3"), resourceBytes(407));
    EXPECT_EQ(extractMediaFile(407, MEDIA_VIDEO), 1);
    EXPECT_EQ(fileBytes("trivo7.avi"), resourceBytes(407));
    DeleteFileA("trivo.mp3");
    DeleteFileA("trivo7.avi");
}

TEST_F(Media, MissingMediaIsReportedOnce) {
    startCatchingMessageBoxes();
    EXPECT_EQ(extractMediaFile(498, MEDIA_AUDIO), 0);
    EXPECT_EQ(extractMediaFile(498, MEDIA_VIDEO), 0);
    std::vector<CaughtBox> boxes = stopCatchingMessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, "Information");
    EXPECT_EQ(boxes[0].text, "Impossible de localiser le fichier audio.");
    EXPECT_EQ(boxes[1].text, "Impossible de localiser le fichier vid\xE9o.");
    EXPECT_FALSE(fileExists("trivo.mp3"));
    EXPECT_FALSE(fileExists("trivo98.avi"));
}

TEST_F(Media, SoundButtonsOfAnAudioQuiz) {
    Quiz* quiz = static_cast<Quiz*>(calloc(1, sizeof(Quiz)));
    initQuiz(quiz);
    quiz->kind = QuizKind::Audio;
    g_quiz = quiz;
    HWND page = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, g_instance,
                                nullptr);
    ASSERT_NE(page, nullptr);

    // Stop with nothing playing deletes nothing.
    HANDLE kept = CreateFileA("trivo.mp3", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(kept);
    onMediaCommand(page, ID_STOP_BASE + 1);
    EXPECT_TRUE(fileExists("trivo.mp3"));

    // Play question 8: its sound (resource 408) is written and an MCI window plays it.
    startCatchingMessageBoxes();
    onMediaCommand(page, ID_PLAY_BASE + 8);
    EXPECT_EQ(fileBytes("trivo.mp3"), resourceBytes(408));
    HWND player = FindWindowExA(page, nullptr, nullptr, nullptr);
    EXPECT_NE(player, nullptr);
    // Never shown, also while it plays (the page itself is visible here).
    EXPECT_EQ(GetWindowLongA(player, GWL_STYLE) & WS_VISIBLE, 0);
    // Any stop button closes it and deletes the file.
    onMediaCommand(page, ID_STOP_BASE + 3);
    EXPECT_FALSE(fileExists("trivo.mp3"));
    EXPECT_FALSE(IsWindow(player));
    // Commands outside the button ranges do nothing.
    onMediaCommand(page, ID_PLAY_BASE + 91);
    onMediaCommand(page, ID_PLAY_BASE);
    EXPECT_FALSE(fileExists("trivo.mp3"));
    stopCatchingMessageBoxes();

    DestroyWindow(page);
    g_quiz = nullptr;
    free(quiz);
}

}  // namespace
