// The quiz as the program carries it, and the byte layout of its two packed resources: the content
// (PATCH 104) and the score codes (PATCH 105), before packing. Texts here are code page 1252.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "content/quiz.h"

// The manifest's words for the kinds and reveal modes: "text", "picture", "audio", "video" and
// "none", "picture", "comment". Parsing returns false for any other word.
const char* kindName(QuizKind kind);
bool parseKindName(const std::string& name, QuizKind* kind);
// The kind's name a word that is none most likely means ("image" or "photo": "picture", "son":
// "audio", "vdeo": "video"); empty when none is close.
std::string likelyKindName(const std::string& word);
// The kind in the user's language, as messages name it: "picture quiz", and with its article, "a
// picture quiz" (French: "quiz d'images", "un quiz d'images").
const char* kindQuizWords(QuizKind kind);
const char* aKindQuizWords(QuizKind kind);
const char* revealName(RevealMode reveal);
bool parseRevealName(const std::string& name, RevealMode* reveal);

// Byte 0 of the content; the player skips it, trivo-make writes this value.
constexpr unsigned char CONTENT_FORMAT_VERSION = 1;

struct QuestionContent {
    std::string answer1;
    std::string answer2;  // stored only in two-slot quizzes
    std::string text;
    std::string comment;  // stored only with RevealMode::Comment
};

// The values a manifest gets for the keys it leaves out: one answer slot, nothing revealed (the
// player's own start value, comment lines, would show empty labels when no comment is written), and
// a white page.
struct QuizContent {
    QuizKind kind = QuizKind::Text;
    int slots = 1;
    RevealMode reveal = RevealMode::None;
    unsigned char red = 255, green = 255, blue = 255;  // page colour
    std::string title, author, description, caption1, caption2;
    std::vector<QuestionContent> questions;
    std::vector<std::string> codes;  // codes[k - 1]: the code for a score of k
};

// The content in the layout of content/quiz_format.h, with CONTENT_FORMAT_VERSION in byte 0. The
// caller has made sure no text holds the field separator and the counts fit their bytes.
std::vector<unsigned char> encodeQuizContent(const QuizContent& quiz);
// One line per question: codes[k - 1] then CR LF; a missing code gives an empty line.
std::vector<unsigned char> encodeScoreCodes(const QuizContent& quiz);

// The reverse, for reading a quiz program back. Stricter than the player, which reads what it can:
// false with *error naming the first thing that does not follow the layout.
bool decodeQuizContent(const std::vector<unsigned char>& bytes, QuizContent* quiz, std::string* error);
// Reads the count lines of score codes into quiz->codes.
bool decodeScoreCodes(const std::vector<unsigned char>& bytes, int count, QuizContent* quiz,
                      std::string* error);
