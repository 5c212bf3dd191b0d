// The content reader of trivo-make dump on arbitrary unpacked bytes, and its accepted answers reader
// on the same bytes behind a header that fits the content read: neither reads past them, and
// whatever they accept is written as a quiz.toml that reads back, without an error, to the same
// texts and answer lists (quotes, backslashes and control characters escaped as TOML wants them).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/quiz_folder/quiz_content.h"
#include "tools/quiz_folder/quiz_dump.h"
#include "tools/quiz_folder/quiz_toml.h"
#include "tools/support/cp1252.h"

namespace {

void expectText(const SourceText& read, const std::string& cp1252) {
    const TextConversion utf8 = cp1252ToUtf8(cp1252);
    if (!utf8.ok || !read.given || read.value != utf8.text) std::abort();
}


}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<unsigned char> bytes(data, data + size);
    DumpedQuiz quiz;
    std::string error;
    if (!decodeQuizContent(bytes, &quiz.content, &error)) return 0;
    // What was read is written again the same way, but for byte 0 and the zero bytes the player drops.
    const std::vector<unsigned char> again = encodeQuizContent(quiz.content);
    if (again.size() > bytes.size() || again[1] != bytes[1]) std::abort();
    std::vector<unsigned char> answers = {ANSWERS_LAYOUT_VERSION, static_cast<unsigned char>(bytes[0] & 1),
                                          static_cast<unsigned char>(quiz.content.questions.size()),
                                          static_cast<unsigned char>(quiz.content.slots)};
    answers.insert(answers.end(), bytes.begin() + 4, bytes.end());
    if (decodeAcceptedAnswers(answers, &quiz.content, &error) && encodeAcceptedAnswers(quiz.content) != answers &&
        carriesAcceptedAnswers(quiz.content))
        std::abort();
    std::string manifest;
    if (!quizTomlText(quiz, "", &manifest, &error)) return 0;  // a byte code page 1252 leaves undefined
    QuizSource source;
    Diagnostics diagnostics;
    if (!readQuizToml(manifest, &source, &diagnostics) || countErrors(diagnostics) != 0) std::abort();
    expectText(source.title, quiz.content.title);
    expectText(source.author, quiz.content.author);
    expectText(source.description, quiz.content.description);
    if (source.questions.size() != quiz.content.questions.size()) std::abort();
    for (std::size_t i = 0; i < source.questions.size(); ++i) {
        expectText(source.questions[i].answer, quiz.content.questions[i].answer1);
        if (quiz.content.slots == 2)
            expectText(source.questions[i].answer2, quiz.content.questions[i].answer2);
        // Other answers come back as the rest of a list.
        const std::vector<std::string>& others = quiz.content.questions[i].otherAnswers1;
        if (source.questions[i].answerList.items.size() != (others.empty() ? 0 : others.size() + 1)) std::abort();
        for (std::size_t k = 0; k < others.size(); ++k) expectText(source.questions[i].answerList.items[k + 1], others[k]);
    }
    return 0;
}
