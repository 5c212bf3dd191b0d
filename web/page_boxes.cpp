// The page's geometry, for the script: each question's boxes, the slot captions, where a picture
// shows once the browser knows its size, and the page's extents, all from player/geometry.
#include "web/page_exports.h"

#include "content/quiz.h"
#include "player/geometry.h"

namespace {

void putBox(const Box& box, int32_t* out) {
    out[0] = box.x;
    out[1] = box.y;
    out[2] = box.width;
    out[3] = box.height;
}

QuestionBoxes boxesOf(int q) {
    if (g_quiz == nullptr || q < 1 || q > g_quiz->questionCount) return QuestionBoxes{};
    return questionBoxes(g_quiz->kind, g_quiz->slotsPerQuestion, g_quiz->revealMode, q);
}

}  // namespace

PAGE_EXPORT void trivoBoxes(int q, int32_t* out) {
    const QuestionBoxes boxes = boxesOf(q);
    const Box all[] = {boxes.text,   boxes.picture,   boxes.answerPicture, boxes.comment,
                       boxes.play,   boxes.stop,      boxes.videoHost,     boxes.number,
                       boxes.fields[0], boxes.fields[1], boxes.verdicts[0], boxes.verdicts[1]};
    for (const Box& box : all) {
        putBox(box, out);
        out += 4;
    }
}

PAGE_EXPORT void trivoCaptionBox(int q, int s, int32_t* out) {
    putBox(g_quiz != nullptr ? slotCaptionBox(g_quiz->kind, g_quiz->revealMode, q, s) : Box{}, out);
}

PAGE_EXPORT void trivoPictureBox(int q, int answer, int width, int height, int32_t* out) {
    const QuestionBoxes boxes = boxesOf(q);
    const Box& box = answer ? boxes.answerPicture : boxes.picture;
    int fittedWidth = box.width, fittedHeight = box.height;
    if (width > 0 && height > 0) fittedPictureSize(width, height, box.width, box.height, &fittedWidth, &fittedHeight);
    putBox(centredPicture(box, fittedWidth, fittedHeight), out);
}

PAGE_EXPORT int trivoPageWidth() { return g_quiz != nullptr ? pageExtentWidth(g_quiz->slotsPerQuestion) : 0; }

PAGE_EXPORT int trivoPageHeight() {
    return g_quiz != nullptr ? pageExtentHeight(g_quiz->kind, g_quiz->slotsPerQuestion, g_quiz->questionCount, g_quiz->revealMode) : 0;
}
