// Checking the quiz a program carries, through a folder written as dump writes it.
#include "tools/quiz_folder/quiz_program_check.h"

#include <filesystem>
#include <system_error>

#include "tools/quiz_folder/quiz_dump.h"
#include "tools/support/files.h"

bool checkQuizProgram(const std::vector<uint8_t>& image, CheckedQuiz* quiz, Diagnostics* diagnostics,
                      std::string* error) {
    DumpedQuiz dumped;
    std::vector<FolderFile> files;
    if (!readQuizProgram(image, &dumped, error) || !quizFolderFiles(dumped, "", &files, error)) return false;
    std::filesystem::path work;
    if (!makePrivateTemporaryFolder("trivo-build", &work, error)) return false;
    const std::filesystem::path folder = work / "quiz";
    bool read = writeNewFolder(folder, utf8Path(folder), files, error);
    bool checked = read && checkQuizFolder(folder, quiz, diagnostics);
    quiz->sources.clear();
    std::error_code ec;
    std::filesystem::remove_all(work, ec);
    return checked;
}
