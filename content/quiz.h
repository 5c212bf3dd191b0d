// The quiz record and its question list: the whole content of the one quiz the program carries.
#pragma once
#include <cstdint>
#include "platform.h"
#include "quiz_format.h"

// Stored as the 32-bit value the content gives; values outside the four are kept as they come.
enum class QuizKind : int32_t { Text = 0, Picture = 1, Audio = 2, Video = 3 };
// The kinds run from 0 to QUIZ_KIND_COUNT - 1.
constexpr int QUIZ_KIND_COUNT = 4;

// What a solved question reveals. Any other value reveals nothing.
enum class RevealMode : int32_t { None = 0, AnswerPicture = 1, Comment = 2 };
// The reveal modes run from 0 to REVEAL_MODE_COUNT - 1.
constexpr int REVEAL_MODE_COUNT = 3;

// How answers are compared: accented letters as they are (the content's own rule), or folded to
// their base letters on both sides. Stored as the accepted answers resource gives it.
enum class AccentRule : int32_t { Exact = 0, Ignore = 1 };

struct Question {
    char answer1[TEXT_SLOT_SIZE];
    char answer2[TEXT_SLOT_SIZE];
    char text[TEXT_SLOT_SIZE];
    char comment[TEXT_SLOT_SIZE];
    Question* prev;
    Question* next;
    // Slot s's answers after answer1 or answer2: otherAnswerCount[s - 1] zero-terminated texts one
    // after the other from otherAnswers[s - 1], inside the record's acceptedTexts. None by default.
    const char* otherAnswers[MAX_SLOTS];
    int32_t otherAnswerCount[MAX_SLOTS];
};

struct Quiz {
    QuizKind kind;
    char title[TEXT_SLOT_SIZE];
    char author[TEXT_SLOT_SIZE];
    char description[TEXT_SLOT_SIZE];
    char caption1[TEXT_SLOT_SIZE];
    char caption2[TEXT_SLOT_SIZE];
    int32_t questionCount;
    int32_t slotsPerQuestion;
    char scoreCodes[MAX_QUESTIONS][TEXT_SLOT_SIZE];
    RevealMode revealMode;
    uint32_t backgroundColour;  // COLORREF, 0x00BBGGRR
    BrushHandle backgroundBrush;
    Question* firstQuestion;
    Question* lastQuestion;
    AccentRule accents;
    char* acceptedTexts;  // the nodes' other answers; null when the quiz has none
};

// The one quiz of the running program; set before any window exists.
extern Quiz* g_quiz;

// Copies a zero-terminated text into a slot, cut to TEXT_MAX_LENGTH bytes and always terminated.
void copyText(char* slot, const char* text);

// Every field zero or empty, no questions, revealMode Comment.
void initQuiz(Quiz* quiz);

// Appends a zero-filled node holding the three texts (comment empty). Returns null, leaving the list
// unchanged, when the node cannot be allocated.
Question* appendQuestion(Quiz* quiz, const char* answer1, const char* answer2, const char* text);

// The node at 0-based position index, or the last node when the list is shorter; null when empty.
Question* questionAt(const Quiz* quiz, int index);

// Frees every node and the other answers they point to, and empties the list.
void clearQuestions(Quiz* quiz);
