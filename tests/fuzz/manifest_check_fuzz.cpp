// Fuzz target: the quiz.toml reader and the checks of trivo-make check on arbitrary bytes, in a small
// quiz folder with media of every kind (pictures that decode, large, cut short or not pictures at
// all), a folder and a link leading out of it to name. Nothing may
// crash, loop or recurse without bound; a quiz that checks clean packs to content (and accepted
// answers) that unpack to the same quiz, and its quiz.toml as dump writes it reads back without an
// error.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "content/lzw.h"
#include "tools/quiz_folder/quiz_check.h"
#include "tools/quiz_folder/quiz_content.h"
#include "tools/quiz_folder/quiz_dump.h"
#include "tools/quiz_folder/quiz_toml.h"

namespace {

std::filesystem::path g_folder;

void removeFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(g_folder, ignored);
}

void writeFile(const std::string& name, const std::string& bytes) {
    std::ofstream(g_folder / name, std::ios::binary) << bytes;
}

std::vector<unsigned char> unpacked(const std::vector<unsigned char>& packed) {
    unsigned char* output = nullptr;
    int32_t length = 0;
    if (lzwDecode(packed.data(), static_cast<int32_t>(packed.size()), &output, &length) != LzwStatus::Ok) std::abort();
    std::vector<unsigned char> bytes(output, output + length);
    std::free(output);
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char pattern[] = "/tmp/trivo-manifest-fuzz-XXXXXX";
    if (mkdtemp(pattern) == nullptr) std::abort();
    g_folder = pattern;
    std::atexit(removeFolder);
    std::filesystem::create_directory(g_folder / "media");
    // Pictures that decode (one far larger than its box), one cut short, and one that is not a picture.
    const std::string gif("GIF89a\x08\x00\x06\x00\xF0\x00\x00\xC0\x30\x30\x00\x00\x00\x2C\x00\x00\x00\x00"
                          "\x08\x00\x06\x00\x00\x02\x06\x84\x8F\xA9\xCB\x7D\x05\x00\x3B",
                          39);
    std::string big = gif;
    big[7] = big[9] = 0x10;  // 4104 x 4102 pixels
    writeFile("q.jpg", std::string("\xFF\xD8\xFF\xE0", 4) + "jpeg");
    writeFile("media/q.gif", gif);
    writeFile("big.gif", big);
    writeFile("cut.gif", gif.substr(0, 30));
    writeFile("s.mp3", "ID3\x04 mp3");
    writeFile("f.avi", std::string("RIFF\x10\x00\x00\x00", 8) + "AVI LIST");
    writeFile("empty.gif", "");
    std::filesystem::create_symlink("/etc/passwd", g_folder / "out.gif");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QuizSource source;
    Diagnostics diagnostics;
    if (!readQuizToml(std::string(reinterpret_cast<const char*>(data), size), &source, &diagnostics)) {
        if (countErrors(diagnostics) == 0) std::abort();
        return 0;
    }
    CheckedQuiz quiz;
    const bool readCleanly = countErrors(diagnostics) == 0;
    if (!checkQuizSource(source, g_folder, &quiz, &diagnostics) || !readCleanly) return 0;
    if (countErrors(diagnostics) != 0 || quiz.content.questions.empty() ||
        quiz.content.questions.size() > static_cast<std::size_t>(MAX_QUESTIONS))
        std::abort();

    // What the program carries is the quiz checked, accepted answers only when it needs them.
    if (unpacked(quiz.packedContent) != encodeQuizContent(quiz.content) ||
        unpacked(quiz.packedCodes) != encodeScoreCodes(quiz.content) ||
        quiz.packedAnswers.empty() == carriesAcceptedAnswers(quiz.content) ||
        (!quiz.packedAnswers.empty() && unpacked(quiz.packedAnswers) != encodeAcceptedAnswers(quiz.content)))
        std::abort();
    // Read back as dump reads a program: the content, then its accepted answers, which bring its
    // version byte with them.
    DumpedQuiz dumped;
    std::string error;
    if (!decodeQuizContent(encodeQuizContent(quiz.content), &dumped.content, &error) ||
        (carriesAcceptedAnswers(quiz.content) &&
         !decodeAcceptedAnswers(encodeAcceptedAnswers(quiz.content), &dumped.content, &error)) ||
        encodeQuizContent(dumped.content) != encodeQuizContent(quiz.content) ||
        encodeAcceptedAnswers(dumped.content) != encodeAcceptedAnswers(quiz.content))
        std::abort();
    // The way back: dump's quiz.toml of it reads back clean.
    dumped.content.codes = quiz.content.codes;
    std::string manifest;
    if (!quizTomlText(dumped, "", &manifest, &error)) std::abort();
    QuizSource back;
    Diagnostics backDiagnostics;
    if (!readQuizToml(manifest, &back, &backDiagnostics) || countErrors(backDiagnostics) != 0 ||
        back.questions.size() != quiz.content.questions.size())
        std::abort();
    return 0;
}
