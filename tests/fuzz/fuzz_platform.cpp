// Silent stand-ins for the platform seam: messages are dropped, brushes are a dummy handle.
#include "fuzz_platform.h"

#include <cstring>

#include "content/platform.h"
#include "content/quiz_format.h"

const unsigned char* g_fuzzResourceBytes = nullptr;
int32_t g_fuzzResourceSize = 0;

namespace {
int dummyBrush;
}

ResourceData platformResource(const char* type, int id) {
    // The same bytes serve as content, codes and accepted answers, so one input reaches every parser
    // through loadQuiz (the answers' header stands where the content's count and slots do).
    if (g_fuzzResourceBytes == nullptr || strcmp(type, QUIZ_PACKED_TYPE) != 0 ||
        (id != RESOURCE_CONTENT_ID && id != RESOURCE_CODES_ID && id != RESOURCE_ANSWERS_ID)) {
        return {false, nullptr, 0};
    }
    return {true, g_fuzzResourceBytes, g_fuzzResourceSize};
}

void platformMessageBox(const char*, const char*) {}

BrushHandle platformSolidBrush(uint32_t) { return &dummyBrush; }
