// The page's quiz and its answer fields, for the script: loading, texts and colours, judging, F1 and
// the score, each through the player's own functions (page_exports.h says what each export does).
#include "web/page_exports.h"

#include <cstdio>
#include <cstring>

#include "checking/matcher.h"
#include "checking/score.h"
#include "content/loader.h"
#include "content/quiz.h"
#include "player/geometry.h"
#include "player/labels.h"
#include "web/platform_web.h"

namespace {

constexpr int MAX_FIELDS = MAX_QUESTIONS * MAX_SLOTS;

// What the Windows page holds in its controls: the fields' texts and verdict labels, the comment
// labels and the pictures revealed.
struct PageFields {
    char texts[MAX_FIELDS][TEXT_SLOT_SIZE];
    const char* verdicts[MAX_FIELDS];
    bool refilled[MAX_FIELDS];
    bool commentShown[MAX_QUESTIONS];
    bool answerPictureShown[MAX_QUESTIONS];
};

// The numbers of trivoText and trivoColour; web/page.js names them in the same order.
enum PageText {
    TEXT_TITLE, TEXT_AUTHOR, TEXT_DESCRIPTION, TEXT_CAPTION1, TEXT_CAPTION2, TEXT_WEBSITE,
    TEXT_CODE_CAPTION, TEXT_AUTHOR_CAPTION, TEXT_VERSION, PAGE_TEXTS
};
enum PageColour {
    COLOUR_BACKGROUND, COLOUR_HEADER, COLOUR_LINK, COLOUR_VERSION_TEXT, COLOUR_VERSION_BACKGROUND,
    COLOUR_QUESTION_TEXT, COLOUR_LABEL_TEXT, COLOUR_ANAGRAM, COLOUR_RIGHT, COLOUR_WRONG, COLOUR_NEAR_MISS,
    PAGE_COLOURS
};

Quiz g_pageQuiz;
PageFields g_fields;
int g_fieldCount = 0;
char g_input[TEXT_SLOT_SIZE];
char g_scoreText[32];
char g_identity[17];

bool validField(int f) { return f >= 1 && f <= g_fieldCount; }
bool validQuestion(int q) { return q >= 1 && q <= g_pageQuiz.questionCount; }

// FNV-1a, 64 bits, over both resources: a quiz changed in any byte is another quiz.
uint64_t hashBytes(uint64_t hash, const unsigned char* bytes, int32_t size) {
    for (int32_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 0x100000001B3ULL;
    return hash;
}

int scoreNow() {
    return scoreFromVerdicts(g_fields.verdicts, g_fieldCount, g_pageQuiz.slotsPerQuestion);
}

// The question of field f and the texts of its slots, as judgeField takes them.
void questionTexts(int f, const char* texts[MAX_SLOTS]) {
    const int slots = g_pageQuiz.slotsPerQuestion;
    const int first = fieldNumber(fieldSlot(f, slots).question, 1, slots);
    for (int s = 0; s < MAX_SLOTS; ++s) texts[s] = s < slots ? g_fields.texts[first - 1 + s] : "";
}

}  // namespace

PAGE_EXPORT int trivoLoad(const unsigned char* content, int32_t contentSize, const unsigned char* codes,
                          int32_t codesSize, const unsigned char* answers, int32_t answersSize) {
    clearQuestions(&g_pageQuiz);
    initQuiz(&g_pageQuiz);
    g_quiz = &g_pageQuiz;
    setPageResources(content, contentSize, codes, codesSize, answers, answersSize);
    loadQuiz(&g_pageQuiz);

    uint64_t hash = hashBytes(0xCBF29CE484222325ULL, content, contentSize > 0 ? contentSize : 0);
    const unsigned char separator = 0xFF;
    hash = hashBytes(hash, &separator, 1);
    hash = hashBytes(hash, codes, codesSize > 0 ? codesSize : 0);
    // Pages of quizzes without accepted answers keep the identity, and the answers, they always had.
    if (answersSize >= 0) {
        hash = hashBytes(hash, &separator, 1);
        hash = hashBytes(hash, answers, answersSize);
    }
    std::snprintf(g_identity, sizeof g_identity, "%016llx", static_cast<unsigned long long>(hash));

    g_fields = PageFields{};
    g_fieldCount = trivoLaidOut() ? fieldCount(&g_pageQuiz) : 0;
    if (g_fieldCount > MAX_FIELDS) g_fieldCount = MAX_FIELDS;
    for (const char*& verdict : g_fields.verdicts) verdict = VERDICT_UNJUDGED;
    return g_fieldCount;
}

PAGE_EXPORT const char* trivoMessages() { return pageMessages(); }
PAGE_EXPORT const char* trivoIdentity() { return g_identity; }

PAGE_EXPORT int trivoKind() { return static_cast<int>(g_pageQuiz.kind); }
PAGE_EXPORT int trivoSlots() { return g_pageQuiz.slotsPerQuestion; }
PAGE_EXPORT int trivoQuestionCount() { return g_pageQuiz.questionCount; }
PAGE_EXPORT int trivoRevealMode() { return static_cast<int>(g_pageQuiz.revealMode); }
PAGE_EXPORT int trivoFieldCount() { return g_fieldCount; }

PAGE_EXPORT int trivoLaidOut() { return questionsLaidOut(g_pageQuiz.kind, g_pageQuiz.slotsPerQuestion); }

PAGE_EXPORT const char* trivoText(int which) {
    switch (which) {
    case TEXT_TITLE: return g_pageQuiz.title;
    case TEXT_AUTHOR: return g_pageQuiz.author;
    case TEXT_DESCRIPTION: return g_pageQuiz.description;
    case TEXT_CAPTION1: return g_pageQuiz.caption1;
    case TEXT_CAPTION2: return g_pageQuiz.caption2;
    case TEXT_WEBSITE: return WEBSITE_ADDRESS;
    case TEXT_CODE_CAPTION: return CODE_CAPTION;
    case TEXT_AUTHOR_CAPTION: return AUTHOR_CAPTION;
    case TEXT_VERSION: return VERSION_CAPTION;
    default: return "";
    }
}

PAGE_EXPORT uint32_t trivoColour(int which) {
    switch (which) {
    case COLOUR_BACKGROUND: return g_pageQuiz.backgroundColour;
    case COLOUR_HEADER: return HEADER_BACKGROUND;
    case COLOUR_LINK: return LINK_TEXT;
    case COLOUR_VERSION_TEXT: return VERSION_TEXT;
    case COLOUR_VERSION_BACKGROUND: return VERSION_BACKGROUND;
    case COLOUR_QUESTION_TEXT: return QUESTION_TEXT_BACKGROUND;
    case COLOUR_LABEL_TEXT: return LABEL_TEXT;
    case COLOUR_ANAGRAM: return verdictBackground(VerdictColour::Anagram);
    case COLOUR_RIGHT: return verdictBackground(VerdictColour::Right);
    case COLOUR_WRONG: return verdictBackground(VerdictColour::Wrong);
    case COLOUR_NEAR_MISS: return verdictBackground(VerdictColour::NearMiss);
    default: return 0;
    }
}

PAGE_EXPORT const char* trivoQuestionText(int q) {
    const Question* node = validQuestion(q) ? questionAt(&g_pageQuiz, q - 1) : nullptr;
    return node != nullptr ? node->text : "";
}

PAGE_EXPORT char* trivoInput() { return g_input; }

PAGE_EXPORT void trivoSetField(int f) {
    g_input[TEXT_MAX_LENGTH] = '\0';
    if (validField(f)) copyText(g_fields.texts[f - 1], g_input);
}

PAGE_EXPORT const char* trivoFieldText(int f) { return validField(f) ? g_fields.texts[f - 1] : ""; }

PAGE_EXPORT void trivoJudge(int f) {
    if (!validField(f)) return;
    const char* texts[MAX_SLOTS];
    questionTexts(f, texts);
    const FieldJudgement judgement = judgeField(&g_pageQuiz, f, texts);
    const int q = fieldSlot(f, g_pageQuiz.slotsPerQuestion).question;
    if (judgement.reveal && g_pageQuiz.revealMode == RevealMode::AnswerPicture) g_fields.answerPictureShown[q - 1] = true;
    if (judgement.reveal && g_pageQuiz.revealMode == RevealMode::Comment) g_fields.commentShown[q - 1] = true;
    if (judgement.clearComment) g_fields.commentShown[q - 1] = false;
    g_fields.verdicts[f - 1] = judgement.verdict;
}

// As the Windows page does it: every field not yet "BRAVO" gets the text and is judged as the focus
// passes through it, in field order, and last the field itself once the focus comes back.
PAGE_EXPORT void trivoTryEverywhere(int f) {
    if (!validField(f)) return;
    char typed[TEXT_SLOT_SIZE];
    copyText(typed, g_fields.texts[f - 1]);
    bool refilled[MAX_FIELDS] = {};
    for (int k = 1; k <= g_fieldCount; ++k) {
        if (std::strcmp(g_fields.verdicts[k - 1], VERDICT_RIGHT) == 0) continue;
        copyText(g_fields.texts[k - 1], typed);
        refilled[k - 1] = true;
    }
    for (int k = 1; k <= g_fieldCount; ++k) {
        if (!refilled[k - 1]) continue;
        trivoJudge(k);
        if (k != f) g_fields.refilled[k - 1] = true;
    }
    trivoJudge(f);
}

PAGE_EXPORT int trivoTakeRefilled(int f) {
    if (!validField(f) || !g_fields.refilled[f - 1]) return 0;
    g_fields.refilled[f - 1] = false;
    return 1;
}

PAGE_EXPORT const char* trivoVerdict(int f) { return validField(f) ? g_fields.verdicts[f - 1] : VERDICT_UNJUDGED; }
PAGE_EXPORT int trivoVerdictColour(int f) { return static_cast<int>(verdictColour(trivoVerdict(f))); }

PAGE_EXPORT const char* trivoComment(int q) {
    if (!validQuestion(q) || !g_fields.commentShown[q - 1]) return "";
    const Question* node = questionAt(&g_pageQuiz, q - 1);
    return node != nullptr ? node->comment : "";
}

PAGE_EXPORT int trivoAnswerPictureShown(int q) { return validQuestion(q) && g_fields.answerPictureShown[q - 1]; }

PAGE_EXPORT const char* trivoScoreText() {
    scoreText(g_scoreText, sizeof g_scoreText, scoreNow(), g_pageQuiz.questionCount);
    return g_scoreText;
}

// A quiz without fields never writes its header: the code keeps the text it starts with.
PAGE_EXPORT const char* trivoScoreCode() {
    return g_fieldCount > 0 ? scoreCode(&g_pageQuiz, scoreNow()) : CODE_UNEARNED;
}

PAGE_EXPORT const char* trivoMatch(const char* expected, const char* typed) { return matchAnswer(expected, typed); }
