// Feeds arbitrary bytes to the loader: as unpacked content and codes, as a packed resource, and
// packed first so that loadQuiz's parsing sees them whole. No crash, no leak, nothing read past the end.
#include <cstdint>
#include <cstdlib>

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
    dropQuiz(quiz);

    loadFrom(data, length);

    unsigned char* packed = nullptr;
    int32_t packedLength = 0;
    if (lzwEncode(data, length, &packed, &packedLength) == LzwStatus::Ok) loadFrom(packed, packedLength);
    free(packed);
    return 0;
}
