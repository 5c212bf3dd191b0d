// A spreadsheet of questions, as spreadsheets save it (CSV, in UTF-8 or code page 1252, cells
// separated by commas or, as French spreadsheets write them, semicolons), made into a quiz folder's
// files: one question a row, each in the columns its header row names.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "content/quiz.h"
#include "tools/support/files.h"

// A table of questions is text a person or a spreadsheet writes: anything near this size is not one.
constexpr int64_t QUESTION_TABLE_MAX_BYTES = 4 * 1024 * 1024;

// One row of the table, in UTF-8; line: where it starts in the file.
struct QuestionRow {
    int line = 0;
    std::string text, answer, answer2, media, comment;
};

struct QuestionTable {
    std::vector<QuestionRow> rows;    // the rows that hold anything, in order
    bool answer2Column = false;       // a réponse2 / answer2 column holds a second answer somewhere
    std::vector<std::string> unused;  // the header's names of the columns read into nothing
};

// The header names each column: texte or text, réponse or answer, réponse2 or answer2, média or
// media, commentaire or comment, in any letter case and with or without accents. False with *error
// when the bytes are not such a table: no answer column, more rows than a quiz has questions, a
// quote not closed, or bytes that are neither UTF-8 nor code page 1252.
bool readQuestionTable(const std::string& bytes, QuestionTable* table, std::string* error);

// The kind a table asks for when none is given: by the first media file's extension (mp3: audio,
// avi: video, any other: picture), text without media.
QuizKind tableKind(const QuestionTable& table);

// The files of a quiz folder of the given kind and title holding the table's questions: quiz.toml
// and the media, copied from mediaFolder (the table's own folder) into media/. A media file is
// copied only when it is a regular file inside mediaFolder, within the size limits; any other keeps
// its path as written, for check to report.
std::vector<FolderFile> questionTableFiles(const QuestionTable& table, QuizKind kind, const std::string& title,
                                           const std::filesystem::path& mediaFolder);
