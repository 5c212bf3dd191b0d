// Reading a quiz program back into a quiz folder: quiz.toml and its media, which build again to
// the same content, codes and media bytes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/quiz_folder/quiz_check.h"
#include "tools/support/files.h"

struct DumpedQuiz {
    QuizContent content;
    std::vector<QuizMediaFile> media;  // path: where the folder keeps it ("media/q1.jpg")
    std::vector<std::string> notes;    // resources left out, with the reason
};

// Unpacks the quiz a program carries. False with *error when it carries none or it is malformed.
// Texts a quiz folder could not hold as they are stored are made as the player shows them (cut to
// 259 bytes; control characters in answers and line breaks in codes as spaces), with a note each.
// Accepted answers the player would ignore are left out with a note, and so is an answer a field
// accepts twice.
bool readQuizProgram(const std::vector<uint8_t>& image, DumpedQuiz* quiz, std::string* error);

// quiz.toml for the quiz, naming its media by their paths, with answer lists and the accent rule
// where the quiz has them. False with *error when a text holds a
// byte that code page 1252 leaves undefined (it has no character to write).
bool quizTomlText(const DumpedQuiz& quiz, const std::string& header, std::string* text, std::string* error);

// A TOML basic string: quotes, backslashes and control characters escaped, the rest as it is.
std::string tomlString(const std::string& utf8);

// Whether the folder written checks without an error and reads back to this very quiz (texts,
// codes, media); false with *error saying why not.
bool folderHoldsQuiz(const std::filesystem::path& folder, const DumpedQuiz& quiz, std::string* error);

// The folder's files: quiz.toml and the media.
bool quizFolderFiles(const DumpedQuiz& quiz, const std::string& header, std::vector<FolderFile>* files,
                     std::string* error);
