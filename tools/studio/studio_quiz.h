// The quiz as the studio edits it: plain UTF-8 values, read from quiz.toml and written back in the
// studio's own layout, with the line of every field so that check's problems land beside their field.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "tools/quiz_folder/diagnostics.h"

struct StudioQuestion {
    std::string text, answer, answer2, media, answerPicture, comment;
    // More answers accepted in each slot: with any, the slot is written as a list, answer first.
    std::vector<std::string> otherAnswers, otherAnswers2;
};

struct StudioQuiz {
    std::string kind = "text";  // the manifest's word: text, picture, audio or video
    std::string title, author, description;
    int slots = 1;
    std::string caption1, caption2;
    std::string reveal = "none";
    std::string background;  // "#RRGGBB"; empty: not written (a white page)
    std::string accents;     // "exact" or "ignore"; empty: not written
    std::vector<std::string> codes;
    std::vector<StudioQuestion> questions;
};

// The first line of every quiz.toml the studio writes: a file without it was written by someone
// else, and is kept as quiz.toml.bak before the studio first writes over it.
extern const char* const STUDIO_TOML_MARK;

// The studio's layout: one key a line, each code on a line of its own. *fields gets the page's name
// of the field each line holds ("title", "code-2", "q-3-answer", "q-3" for a question's header).
std::string studioToml(const StudioQuiz& quiz, std::map<int, std::string>* fields);

// quiz.toml read into the studio's values. False when the text is not TOML at all, with its problems
// in diagnostics; values of the wrong type are read as empty (check reports them).
bool readStudioQuiz(const std::string& text, StudioQuiz* quiz, Diagnostics* diagnostics);
