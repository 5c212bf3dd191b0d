// quiz.toml read into plain values with the line each one stands on. Only the TOML syntax and the
// type of each value are checked here; what the values mean is checked by quiz_check.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/quiz_folder/diagnostics.h"

// The file of a quiz folder that describes the quiz.
constexpr const char* QUIZ_TOML_NAME = "quiz.toml";

// A string value of quiz.toml, UTF-8 as written. A value of another type counts as given (it is
// not missing) but wrongType: its error is reported once, when it is read, and nothing else is
// checked about it.
struct SourceText {
    bool given = false;
    bool wrongType = false;
    std::string value;
    int line = 0;          // 0 when not given
    int column = 0;        // of its opening quote, in characters; 0 when not known
    std::string written;   // as written in quiz.toml, from quote to quote; empty when not known
};

struct SourceInteger {
    bool given = false;
    bool wrongType = false;
    int64_t value = 0;
    int line = 0;
};

// An array of strings (captions, codes).
struct SourceTextList {
    bool given = false;
    bool wrongType = false;
    int line = 0;
    std::vector<SourceText> items;
};

// One [[questions]] table.
struct QuestionSource {
    int line = 0;  // the line of its [[questions]] header
    SourceText text;
    SourceText answer;   // the expected answer, or the first of a list of them
    SourceText answer2;
    // An answer written as a list (answer = ["AIX", "AIX-EN-PROVENCE"]): every item in order, the
    // first one also in answer (given without a value when the list is empty). Not given when the
    // answer is one text.
    SourceTextList answerList;
    SourceTextList answer2List;
    SourceText comment;
    SourceText media;
    SourceText answerPicture;  // answer_picture
};

struct QuizSource {
    SourceText kind;
    SourceText title;
    SourceText author;
    SourceText description;
    SourceInteger slots;
    SourceTextList captions;
    SourceText reveal;
    SourceText background;
    SourceText accents;
    SourceTextList codes;
    bool questionsGiven = false;
    bool questionsWrongType = false;
    int questionsLine = 0;
    std::vector<QuestionSource> questions;
};

// Reads the text of quiz.toml (UTF-8). Syntax errors, values of the wrong type and unknown keys are
// added to diagnostics with their lines. Returns false when the text is not TOML at all; the
// source then holds nothing.
bool readQuizToml(const std::string& text, QuizSource* source, Diagnostics* diagnostics);
