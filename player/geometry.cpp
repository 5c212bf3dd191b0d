// Question positions on the page and the page's extents, from the question number and quiz settings;
// the identifiers of the controls and resources of questions and answer fields.
#include "player/geometry.h"

#include "player/ids.h"

namespace {

// Row height of a Picture or Video quiz: a comment line under each picture needs 60 more pixels.
int gridRowHeight(RevealMode revealMode) {
    return revealMode == RevealMode::Comment ? 390 : 330;
}

}  // namespace

int textRowY(int q) {
    return 25 * q - 15;
}

int audioRowY(int q) {
    return (q - 1) / 3 * 80 + 20;
}

int gridColumnX(int q, int slots) {
    return (q - 1) % 3 * 290 + (slots == 2 ? 90 : 0);
}

int gridRowBaseY(int q, RevealMode revealMode) {
    return (q - 1) / 3 * gridRowHeight(revealMode) + 280;
}

int pageExtentWidth(int slots) {
    return slots == 2 ? 980 : 890;
}

int pageExtentHeight(QuizKind kind, int questionCount, RevealMode revealMode) {
    const int n = questionCount;
    switch (kind) {
    case QuizKind::Picture:
    case QuizKind::Video:
        return (n + 2) / 3 * gridRowHeight(revealMode) + 25;
    case QuizKind::Audio:
        return audioRowY(n + 3);
    case QuizKind::Text:
    default:
        // An unknown kind lays out no questions; the extent only has to be a sane size.
        return 25 * n + 25;
    }
}

int answerId(int q, int s, int slots) { return answerIdOfField(fieldNumber(q, s, slots)); }

FieldSlot fieldSlotOf(int answerIdentifier, int slots) { return fieldSlot(fieldOfAnswerId(answerIdentifier), slots); }

int answerIdOfField(int f) { return ID_ANSWER_BASE + f; }
int fieldOfAnswerId(int answerIdentifier) { return answerIdentifier - ID_ANSWER_BASE; }
int verdictId(int answerIdentifier) { return answerIdentifier + (ID_VERDICT_BASE - ID_ANSWER_BASE); }
int fieldOfVerdictId(int verdictIdentifier) { return verdictIdentifier - ID_VERDICT_BASE; }

int commentId(int q) { return ID_COMMENT_BASE + q; }
int pictureId(int q) { return ID_PICTURE_BASE + q; }
int playButtonId(int q) { return ID_PLAY_BASE + q; }
int stopButtonId(int q) { return ID_STOP_BASE + q; }
int videoHostId(int q) { return ID_VIDEO_HOST_BASE + q; }
int questionOfComment(int commentIdentifier) { return commentIdentifier - ID_COMMENT_BASE; }
int questionOfPlayButton(int buttonIdentifier) { return buttonIdentifier - ID_PLAY_BASE; }
int questionOfStopButton(int buttonIdentifier) { return buttonIdentifier - ID_STOP_BASE; }

int mediaResourceId(int q) { return IMG_MEDIA_BASE + q; }
int answerPictureResourceId(int q) { return IMG_ANSWER_BASE + q; }
int questionOfMediaResource(int resourceId) { return resourceId - IMG_MEDIA_BASE; }
