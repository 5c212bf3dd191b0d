// The platform seam in the browser: resources from the page's own bytes, message boxes as lines the
// page shows, and no brushes (the page paints its colours itself).
#include "web/platform_web.h"

#include <cstring>

#include "content/platform.h"
#include "content/quiz_format.h"

namespace {

ResourceData g_content = {false, nullptr, 0};
ResourceData g_codes = {false, nullptr, 0};
ResourceData g_answers = {false, nullptr, 0};
// The loader shows a handful of messages at the most, each a line.
char g_messages[1024] = "";

ResourceData resourceOf(const unsigned char* bytes, int32_t size) {
    if (size < 0) return ResourceData{false, nullptr, 0};
    return ResourceData{true, bytes, size};
}

void appendMessage(const char* text) {
    const size_t used = std::strlen(g_messages);
    std::strncat(g_messages, text, sizeof g_messages - used - 1);
}

}  // namespace

void setPageResources(const unsigned char* content, int32_t contentSize, const unsigned char* codes,
                      int32_t codesSize, const unsigned char* answers, int32_t answersSize) {
    g_content = resourceOf(content, contentSize);
    g_codes = resourceOf(codes, codesSize);
    g_answers = resourceOf(answers, answersSize);
    g_messages[0] = '\0';
}

const char* pageMessages() { return g_messages; }

ResourceData platformResource(const char* type, int id) {
    if (std::strcmp(type, QUIZ_PACKED_TYPE) != 0) return ResourceData{false, nullptr, 0};
    if (id == RESOURCE_CONTENT_ID) return g_content;
    if (id == RESOURCE_CODES_ID) return g_codes;
    if (id == RESOURCE_ANSWERS_ID) return g_answers;
    return ResourceData{false, nullptr, 0};
}

void platformMessageBox(const char* text, const char* caption) {
    appendMessage(caption);
    appendMessage(": ");
    appendMessage(text);
    appendMessage("\n");
}

BrushHandle platformSolidBrush(uint32_t) { return nullptr; }
