// Page geometry, each question's boxes, page extents, answer identifiers and the shared identifier
// numbers.
#include <gtest/gtest.h>

#include <ostream>
#include <limits>
#include <vector>

#include "player/geometry.h"
#include "player/ids.h"

TEST(GeometryRows, QuestionPositions) {
    EXPECT_EQ(10, textRowY(1));
    EXPECT_EQ(2235, textRowY(90));

    EXPECT_EQ(20, audioRowY(1));
    EXPECT_EQ(20, audioRowY(3));
    EXPECT_EQ(100, audioRowY(4));

    // Question 3 ends the first row in the third column; question 4 starts the next row.
    EXPECT_EQ(0, gridColumnX(1, 1));
    EXPECT_EQ(580, gridColumnX(3, 1));
    EXPECT_EQ(670, gridColumnX(3, 2));
    EXPECT_EQ(0, gridColumnX(4, 1));
    EXPECT_EQ(90, gridColumnX(4, 2));

    EXPECT_EQ(280, gridRowBaseY(3, RevealMode::Comment));
    EXPECT_EQ(670, gridRowBaseY(4, RevealMode::Comment));
    EXPECT_EQ(280, gridRowBaseY(3, RevealMode::AnswerPicture));
    EXPECT_EQ(610, gridRowBaseY(4, RevealMode::AnswerPicture));
    EXPECT_EQ(610, gridRowBaseY(4, static_cast<RevealMode>(7)));
    EXPECT_EQ(29 * 390 + 280, gridRowBaseY(90, RevealMode::Comment));
}

std::ostream& operator<<(std::ostream& out, const Box& b) {
    return out << "(" << b.x << ", " << b.y << ", " << b.width << ", " << b.height << ")";
}

const Box NONE = {0, 0, 0, 0};

// Each kind's controls of one question, in the order the page makes them.
TEST(GeometryBoxes, OneSlotQuestionOfEachKind) {
    const QuestionBoxes text = questionBoxes(QuizKind::Text, 1, RevealMode::Comment, 1);
    EXPECT_EQ((std::vector<Box>{{50, 10, 550, 20}, {30, 13, 19, 17}, {615, 10, 100, 20}, {720, 9, 90, 21}, NONE,
                                NONE}),
              (std::vector<Box>{text.text, text.number, text.fields[0], text.verdicts[0], text.fields[1],
                                text.picture}));

    const QuestionBoxes picture = questionBoxes(QuizKind::Picture, 1, RevealMode::Comment, 4);
    EXPECT_EQ((std::vector<Box>{{30, 410, 260, 260}, {30, 726, 260, 65}, {10, 682, 19, 17}, {30, 680, 260, 20},
                                {30, 699, 260, 21}, NONE}),
              (std::vector<Box>{picture.picture, picture.comment, picture.number, picture.fields[0],
                                picture.verdicts[0], picture.answerPicture}));
    // An answer picture is centred 10 pixels left of the question picture; no comment then.
    const QuestionBoxes revealing = questionBoxes(QuizKind::Picture, 1, RevealMode::AnswerPicture, 2);
    EXPECT_EQ((std::vector<Box>{{310, 20, 260, 260}, NONE}),
              (std::vector<Box>{revealing.answerPicture, revealing.comment}));

    // The first column's number starts left of the page.
    const QuestionBoxes video = questionBoxes(QuizKind::Video, 1, RevealMode::None, 1);
    EXPECT_EQ((std::vector<Box>{{15, 240, 20, 20}, {15, 260, 20, 20}, {15, 30, 200, 150}, {-10, 244, 19, 17},
                                {35, 259, 230, 21}}),
              (std::vector<Box>{video.play, video.stop, video.videoHost, video.number, video.verdicts[0]}));

    const QuestionBoxes unknown = questionBoxes(static_cast<QuizKind>(9), 1, RevealMode::Comment, 1);
    EXPECT_EQ((std::vector<Box>{NONE, NONE}), (std::vector<Box>{unknown.number, unknown.fields[0]}));
}

TEST(GeometryBoxes, TwoSlotFieldsCaptionsAndCentredPictures) {
    const QuestionBoxes picture = questionBoxes(QuizKind::Picture, 2, RevealMode::Comment, 1);
    EXPECT_EQ((std::vector<Box>{{120, 290, 190, 21}, {315, 291, 60, 17}, {120, 310, 190, 21}, {315, 311, 60, 17},
                                {3, 292, 95, 20}, {3, 312, 95, 20}}),
              (std::vector<Box>{picture.fields[0], picture.verdicts[0], picture.fields[1], picture.verdicts[1],
                                slotCaptionBox(QuizKind::Picture, RevealMode::Comment, 1, 1),
                                slotCaptionBox(QuizKind::Picture, RevealMode::Comment, 1, 2)}));
    // Text and Video rows give captions no height.
    const QuestionBoxes audio = questionBoxes(QuizKind::Audio, 2, RevealMode::None, 1);
    EXPECT_EQ((std::vector<Box>{{140, 20, 170, 21}, {140, 40, 170, 21}, {3, 45, 95, 20}, {3, 20, 95, 20}}),
              (std::vector<Box>{audio.fields[0], audio.fields[1],
                                slotCaptionBox(QuizKind::Audio, RevealMode::None, 1, 2),
                                slotCaptionBox(QuizKind::Video, RevealMode::None, 7, 2)}));

    EXPECT_EQ((Box{30, 52, 260, 195}), centredPicture(Box{30, 20, 260, 260}, 260, 195));
    EXPECT_EQ((Box{94, 20, 131, 260}), centredPicture(Box{30, 20, 260, 260}, 131, 260));
}

// Two-slot Text: the fields side by side, under captions repeated above every third question, so
// that no control covers another, even over 90 questions, and every field is 100 pixels wide or more.
TEST(GeometryBoxes, TwoSlotTextQuestionsOverlapNothing) {
    const QuestionBoxes first = questionBoxes(QuizKind::Text, 2, RevealMode::None, 1);
    EXPECT_EQ((std::vector<Box>{{50, 30, 360, 20}, {30, 33, 19, 17}, {420, 30, 120, 20}, {545, 29, 65, 21},
                                {620, 30, 120, 20}, {745, 29, 65, 21}, {420, 8, 190, 20}, {620, 8, 190, 20}}),
              (std::vector<Box>{first.text, first.number, first.fields[0], first.verdicts[0], first.fields[1],
                                first.verdicts[1], slotCaptionBox(QuizKind::Text, RevealMode::None, 1, 1),
                                slotCaptionBox(QuizKind::Text, RevealMode::None, 1, 2)}));
    const int count = 90;
    std::vector<Box> boxes;
    for (int q = 1; q <= count; ++q) {
        const QuestionBoxes b = questionBoxes(QuizKind::Text, 2, RevealMode::None, q);
        for (const Box& box : {b.text, b.number, b.fields[0], b.verdicts[0], b.fields[1], b.verdicts[1]})
            boxes.push_back(box);
        EXPECT_GE(b.fields[0].width, 100);
        EXPECT_GE(b.fields[1].width, 100);
        if (q % 3 == 1) {
            for (int s = 1; s <= 2; ++s) boxes.push_back(slotCaptionBox(QuizKind::Text, RevealMode::None, q, s));
        }
    }
    const int width = pageExtentWidth(2), height = pageExtentHeight(QuizKind::Text, 2, count, RevealMode::None);
    EXPECT_EQ(25 * count + 25 + 20 * 30, height);  // 20 below the last row, as with one slot
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const Box& a = boxes[i];
        EXPECT_TRUE(a.x >= 0 && a.y >= 0 && a.x + a.width <= width && a.y + a.height <= height) << a;
        // As wide as a one-slot Text row, which the window shows without scrolling.
        EXPECT_LE(a.x + a.width, 810) << a;
        for (std::size_t j = i + 1; j < boxes.size(); ++j) {
            const Box& b = boxes[j];
            const bool apart = a.x + a.width <= b.x || b.x + b.width <= a.x || a.y + a.height <= b.y ||
                               b.y + b.height <= a.y;
            EXPECT_TRUE(apart) << a << " and " << b;
        }
    }
    // One-slot Text keeps its single row.
    EXPECT_EQ(775, pageExtentHeight(QuizKind::Text, 1, 30, RevealMode::None));
}

// Scaled by the smaller ratio, up or down, and cut toward zero.
TEST(GeometryBoxes, FittedPictureSizes) {
    int w = 0, h = 0;
    fittedPictureSize(496, 372, 260, 260, &w, &h);
    EXPECT_EQ((std::vector<int>{260, 194}), (std::vector<int>{w, h}));
    fittedPictureSize(50, 100, 260, 260, &w, &h);
    EXPECT_EQ((std::vector<int>{130, 260}), (std::vector<int>{w, h}));
}

// The sizes are the x87's, computed with integers: where long double is the x87's own format, every
// picture up to 700 x 700 and a spread of large ones come out as long double gives them.
TEST(GeometryBoxes, FittedPictureSizesAreTheX87s) {
    if (std::numeric_limits<long double>::digits != 64) GTEST_SKIP() << "long double is not the x87's here";
    const auto x87 = [](int width, int height, int box) {
        const long double across = static_cast<long double>(box) / width;
        const long double down = static_cast<long double>(box) / height;
        const long double scale = across < down ? across : down;
        return std::vector<int>{static_cast<int>(width * scale), static_cast<int>(height * scale)};
    };
    int differing = 0;
    for (int width = 1; width <= 700; ++width) {
        for (int height = 1; height <= 700; ++height) {
            int w = 0, h = 0;
            fittedPictureSize(width, height, 260, 260, &w, &h);
            if ((std::vector<int>{w, h}) != x87(width, height, 260)) ++differing;
        }
    }
    for (int width = 1; width < 60000; width += 37) {
        int w = 0, h = 0;
        fittedPictureSize(width, 60001 - width, 260, 260, &w, &h);
        if ((std::vector<int>{w, h}) != x87(width, 60001 - width, 260)) ++differing;
    }
    EXPECT_EQ(0, differing);
}

TEST(GeometryExtents, WidthAndHeightPerKind) {
    EXPECT_EQ(890, pageExtentWidth(1));
    EXPECT_EQ(980, pageExtentWidth(2));

    EXPECT_EQ(6655, pageExtentHeight(QuizKind::Picture, 1, 51, RevealMode::Comment));
    EXPECT_EQ(5635, pageExtentHeight(QuizKind::Picture, 1, 51, RevealMode::AnswerPicture));
    EXPECT_EQ(685, pageExtentHeight(QuizKind::Video, 1, 4, static_cast<RevealMode>(-1)));
    EXPECT_EQ(805, pageExtentHeight(QuizKind::Video, 1, 4, RevealMode::Comment));
    EXPECT_EQ(180, pageExtentHeight(QuizKind::Audio, 1, 4, RevealMode::Comment));
    EXPECT_EQ(775, pageExtentHeight(QuizKind::Text, 1, 30, RevealMode::Comment));

    // An empty quiz still has a small page.
    EXPECT_EQ(25, pageExtentHeight(QuizKind::Text, 1, 0, RevealMode::Comment));
    EXPECT_EQ(25, pageExtentHeight(QuizKind::Picture, 1, 0, RevealMode::Comment));
    EXPECT_EQ(25, pageExtentHeight(QuizKind::Video, 1, 0, RevealMode::AnswerPicture));
    EXPECT_EQ(20, pageExtentHeight(QuizKind::Audio, 1, 0, RevealMode::Comment));

    // An unknown kind is sized like a Text quiz.
    EXPECT_EQ(125, pageExtentHeight(static_cast<QuizKind>(9), 1, 4, RevealMode::Comment));
}

TEST(GeometryIdentifiers, AnswerIdsRunWithoutGapsAndMapBack) {
    for (int slots = 1; slots <= 2; ++slots) {
        int next = 4001;
        for (int q = 1; q <= 90; ++q) {
            for (int s = 1; s <= slots; ++s) {
                const int id = answerId(q, s, slots);
                ASSERT_EQ(next, id) << "q " << q << " s " << s << " slots " << slots;
                ++next;
                const FieldSlot back = fieldSlotOf(id, slots);
                EXPECT_EQ(q, back.question) << id;
                EXPECT_EQ(s, back.slot) << id;
            }
        }
        EXPECT_EQ(4000 + 90 * slots + 1, next);
    }
    // With two slots an odd identifier is slot 1, an even one slot 2.
    EXPECT_EQ(2, fieldSlotOf(4004, 2).question);
    EXPECT_EQ(2, fieldSlotOf(4004, 2).slot);
    EXPECT_EQ(2, fieldSlotOf(4003, 2).question);
    EXPECT_EQ(1, fieldSlotOf(4003, 2).slot);

    // A slot count below one is read as one rather than dividing by zero.
    EXPECT_EQ(4005, answerId(5, 1, 0));
    EXPECT_EQ(5, fieldSlotOf(4005, 0).question);
    EXPECT_EQ(1, fieldSlotOf(4005, 0).slot);
    EXPECT_EQ(7, fieldSlotOf(4007, -3).question);
    EXPECT_EQ(1, fieldSlotOf(4007, -3).slot);
}

TEST(GeometryIdentifiers, FieldVerdictAndQuestionControlsMapBothWays) {
    // Field 4 of a two-slot quiz (question 2, slot 2) and its verdict label.
    EXPECT_EQ(4004, answerIdOfField(4));
    EXPECT_EQ(5004, verdictId(4004));
    EXPECT_EQ(4, fieldOfVerdictId(5004));
    EXPECT_EQ(2, fieldSlotOf(answerIdOfField(4), 2).question);
    // Question 90's controls and media; the version label (8000) belongs to no question.
    EXPECT_EQ((std::vector<int>{8090, 9090, 6090, 7090, 9990, 490, 10490}),
              (std::vector<int>{commentId(90), pictureId(90), playButtonId(90), stopButtonId(90), videoHostId(90),
                                mediaResourceId(90), answerPictureResourceId(90)}));
    EXPECT_EQ(0, questionOfComment(ID_VERSION_LABEL));
    for (int q = 1; q <= 90; ++q) {
        EXPECT_EQ(q, fieldOfAnswerId(answerIdOfField(q)));
        EXPECT_EQ(q, questionOfComment(commentId(q)));
        EXPECT_EQ(q, questionOfPlayButton(playButtonId(q)));
        EXPECT_EQ(q, questionOfStopButton(stopButtonId(q)));
        EXPECT_EQ(q, questionOfMediaResource(mediaResourceId(q)));
    }
}

TEST(GeometryIdentifiers, SharedNumbers) {
    EXPECT_EQ(1, ID_HEADER_BOX1);
    EXPECT_EQ(2, ID_HEADER_BOX2);
    EXPECT_EQ(3, ID_HEADER_BOX3);
    EXPECT_EQ(4, ID_HEADER_BOX4);
    EXPECT_EQ(150, ID_SCORE);
    EXPECT_EQ(151, ID_CODE_LABEL);
    EXPECT_EQ(153, ID_QUESTION_NUMBER);
    EXPECT_EQ(154, ID_WEBSITE_LINK);
    EXPECT_EQ(156, ID_SLOT_CAPTION);
    EXPECT_EQ(157, ID_CODE_VALUE);
    EXPECT_EQ(3000, ID_QUESTION_TEXT);
    EXPECT_EQ(4000, ID_ANSWER_BASE);
    EXPECT_EQ(ID_ANSWER_BASE + 1000, ID_VERDICT_BASE);
    EXPECT_EQ(6000, ID_PLAY_BASE);
    EXPECT_EQ(7000, ID_STOP_BASE);
    EXPECT_EQ(8000, ID_VERSION_LABEL);
    EXPECT_EQ(8000, ID_COMMENT_BASE);
    EXPECT_EQ(9000, ID_PICTURE_BASE);
    EXPECT_EQ(9900, ID_VIDEO_HOST_BASE);
    EXPECT_EQ(400, IMG_MEDIA_BASE);
    EXPECT_EQ(10400, IMG_ANSWER_BASE);
    EXPECT_EQ(1001, IDD_PAGE);
    EXPECT_EQ(1003, IDC_LINK_CURSOR);
    EXPECT_EQ(1004, IDI_PLAY);
    EXPECT_EQ(1005, IDI_STOP);
}
