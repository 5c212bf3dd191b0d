// The starter folder of 'trivo-make new': a commented quiz.toml of the chosen kind with three
// questions, and the small media it names, which checks and builds as it is.
#pragma once
#include <string>
#include <vector>

#include "content/quiz.h"
#include "tools/support/files.h"

std::vector<FolderFile> starterFiles(QuizKind kind);

// A quiz.toml to write, in UTF-8: a starter's, or the questions of a spreadsheet (question_table.h).
struct DraftQuestion {
    std::string text, answer, answer2, media, answerPicture, comment;  // empty: not written
};
struct QuizDraft {
    QuizKind kind = QuizKind::Text;
    std::string title, description;
    int slots = 1;
    std::string reveal = "none";
    std::vector<std::string> codes;
    std::vector<DraftQuestion> questions;
};

// The draft's quiz.toml, commented in French like the quiz: what each key does and what it takes.
// answer2 is written with two slots only.
std::string draftToml(const QuizDraft& draft);

// A tiny uncompressed AVI film (32 x 24 pixels, 24-bit, four frames at two per second): a white
// square crossing a background of the given colour.
std::vector<unsigned char> starterFilm(unsigned char red, unsigned char green, unsigned char blue);
