// The content reader of trivo-make dump on arbitrary unpacked bytes: it never reads past them, and
// whatever it accepts is written as a quiz.toml that reads back, without an error, to the same texts
// (quotes, backslashes and control characters escaped as TOML wants them).
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
    }
    return 0;
}
