// Feeds arbitrary bytes to the loader: as unpacked content, codes and accepted answers, as a packed
// resource, and packed first so that loadQuiz's parsing sees them whole; and as the accepted answers
// of a fixed quiz, every field of which is then judged. No crash, no leak, nothing read past the end.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "checking/score.h"
#include "content/loader.h"
#include "content/lzw.h"
#include "tests/fuzz/fuzz_platform.h"

namespace {

Quiz* freshQuiz() {
    Quiz* quiz = static_cast<Quiz*>(malloc(sizeof(Quiz)));
    initQuiz(quiz);
    return quiz;
}

void dropQuiz(Quiz* quiz) {
    clearQuestions(quiz);
    free(quiz);
}

// The input as the accepted answers of three questions of two slots, behind a header that fits
// them; every field judged with the input's first bytes.
void judgeWithAnswers(const uint8_t* data, int32_t length) {
    Quiz* quiz = freshQuiz();
    quiz->slotsPerQuestion = 2;
    quiz->questionCount = 3;
    for (int q = 0; q < 3; ++q) appendQuestion(quiz, "PARIS", "\xC9T\xC9", "");
    std::vector<unsigned char> answers = {ANSWERS_LAYOUT_VERSION, static_cast<unsigned char>(length > 0 && data[0] & 1), 3, 2};
    answers.insert(answers.end(), data, data + length);
    const std::string typed(reinterpret_cast<const char*>(data), static_cast<std::size_t>(length));
    const char* texts[MAX_SLOTS] = {typed.c_str(), typed.c_str()};
    if (parseAcceptedAnswers(quiz, answers.data(), static_cast<int32_t>(answers.size())))
        for (int f = 1; f <= fieldCount(quiz); ++f) judgeField(quiz, f, texts);
    dropQuiz(quiz);
}

void loadFrom(const unsigned char* packed, int32_t size) {
    g_fuzzResourceBytes = packed;
    g_fuzzResourceSize = size;
    Quiz* quiz = freshQuiz();
    loadQuiz(quiz);
    dropQuiz(quiz);
    g_fuzzResourceBytes = nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > static_cast<size_t>(LZW_MAX_INPUT)) return 0;
    int32_t length = static_cast<int32_t>(size);

    Quiz* quiz = freshQuiz();
    parseQuizContent(quiz, data, length);
    parseScoreCodes(quiz, data, length);
    parseAcceptedAnswers(quiz, data, length);
    dropQuiz(quiz);
    judgeWithAnswers(data, length);

    loadFrom(data, length);

    unsigned char* packed = nullptr;
    int32_t packedLength = 0;
    if (lzwEncode(data, length, &packed, &packedLength) == LzwStatus::Ok) loadFrom(packed, packedLength);
    free(packed);
    return 0;
}
