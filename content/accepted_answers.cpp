// The accepted answers resource (layout in quiz_format.h): every field's answers after the content's
// own, and the quiz's accent rule, attached to the quiz's nodes only when the whole resource holds.
#include <cstdlib>
#include <cstring>

#include "loader.h"

namespace {

int nodeCount(const Quiz* quiz) {
    int count = 0;
    for (const Question* node = quiz->firstQuestion; node != nullptr; node = node->next) ++count;
    return count;
}

// Walks the fields after the 4-byte header. Without texts, only checks the layout; with texts (as
// large as the resource, enough for every answer and its terminator), also copies each answer there
// and points the nodes at them. Returns false at the first byte that departs from the layout.
bool walkFields(Quiz* quiz, const unsigned char* bytes, int32_t size, char* texts) {
    const int slots = quiz->slotsPerQuestion;
    int32_t position = 4;
    int32_t written = 0;
    Question* node = quiz->firstQuestion;
    for (int q = 0; q < quiz->questionCount; ++q, node = node->next) {
        for (int s = 0; s < slots; ++s) {
            if (position >= size) return false;
            const int count = bytes[position++];
            if (count >= ANSWERS_PER_FIELD) return false;
            if (texts != nullptr) {
                node->otherAnswers[s] = texts + written;
                node->otherAnswerCount[s] = count;
            }
            for (int k = 0; k < count; ++k) {
                const int32_t start = position;
                while (position < size && bytes[position] != FIELD_SEPARATOR) {
                    if (bytes[position] == 0) return false;
                    ++position;
                }
                const int32_t length = position - start;
                if (position >= size || length < 1 || length > TEXT_MAX_LENGTH) return false;
                ++position;  // the separator
                if (texts != nullptr) {
                    std::memcpy(texts + written, bytes + start, static_cast<size_t>(length));
                    texts[written + length] = '\0';
                }
                written += length + 1;
            }
        }
    }
    return position == size;
}

}  // namespace

bool parseAcceptedAnswers(Quiz* quiz, const unsigned char* bytes, int32_t size) {
    // The resource must describe this very quiz: its count and slots as the content gave them, every
    // question with its node.
    if (bytes == nullptr || size < 4 || quiz->acceptedTexts != nullptr) return false;
    if (bytes[0] != ANSWERS_LAYOUT_VERSION || bytes[1] > static_cast<int>(AccentRule::Ignore)) return false;
    const int slots = quiz->slotsPerQuestion;
    if (slots < 1 || slots > MAX_SLOTS || bytes[2] != quiz->questionCount || bytes[3] != slots ||
        nodeCount(quiz) != quiz->questionCount) {
        return false;
    }
    if (!walkFields(quiz, bytes, size, nullptr)) return false;
    char* texts = static_cast<char*>(std::malloc(static_cast<size_t>(size)));
    if (texts == nullptr) return false;
    walkFields(quiz, bytes, size, texts);
    quiz->acceptedTexts = texts;
    quiz->accents = static_cast<AccentRule>(bytes[1]);
    return true;
}
