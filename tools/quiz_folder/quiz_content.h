// The quiz as the program carries it, and the byte layout of its packed resources: the content
// (PATCH 104), the score codes (PATCH 105) and the accepted answers (PATCH 106), before packing.
// Texts here are code page 1252.
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

// Byte 0 of the content; the player skips it, trivo-make writes this value, or the next one for a
// quiz that also carries accepted answers.
constexpr unsigned char CONTENT_FORMAT_VERSION = 1;
constexpr unsigned char CONTENT_FORMAT_WITH_ANSWERS = 2;

// The manifest's words for the accent rules: "exact" and "ignore". Parsing returns false for any other.
const char* accentsName(AccentRule accents);
bool parseAccentsName(const std::string& name, AccentRule* accents);

struct QuestionContent {
    std::string answer1;
    std::string answer2;  // stored only in two-slot quizzes
    std::string text;
    std::string comment;  // stored only with RevealMode::Comment
    // The answers each slot accepts after answer1 and answer2, in the author's order.
    std::vector<std::string> otherAnswers1 = {};
    std::vector<std::string> otherAnswers2 = {};  // two-slot quizzes only
};

// The values a manifest gets for the keys it leaves out: one answer slot, nothing revealed (the
// player's own start value, comment lines, would show empty labels when no comment is written), and
// a white page.
struct QuizContent {
    QuizKind kind = QuizKind::Text;
    int slots = 1;
    RevealMode reveal = RevealMode::None;
    unsigned char red = 255, green = 255, blue = 255;  // page colour
    AccentRule accents = AccentRule::Exact;
    std::string title, author, description, caption1, caption2;
    std::vector<QuestionContent> questions;
    std::vector<std::string> codes;  // codes[k - 1]: the code for a score of k
};

// The content in the layout of content/quiz_format.h, with CONTENT_FORMAT_VERSION in byte 0
// (CONTENT_FORMAT_WITH_ANSWERS when it carries accepted answers). The caller has made sure no text
// holds the field separator and the counts fit their bytes.
std::vector<unsigned char> encodeQuizContent(const QuizContent& quiz);
// One line per question: codes[k - 1] then CR LF; a missing code gives an empty line.
std::vector<unsigned char> encodeScoreCodes(const QuizContent& quiz);
// Whether the quiz needs the accepted answers resource: a field accepts more than one answer, or
// accents are ignored. Quizzes without either carry only what quizzes always carried.
bool carriesAcceptedAnswers(const QuizContent& quiz);
// The accepted answers in the layout of content/quiz_format.h; empty when the quiz carries none.
// The caller has made sure each list fits its count byte and no answer holds the separator.
std::vector<unsigned char> encodeAcceptedAnswers(const QuizContent& quiz);

// The reverse, for reading a quiz program back. Stricter than the player, which reads what it can:
// false with *error naming the first thing that does not follow the layout.
bool decodeQuizContent(const std::vector<unsigned char>& bytes, QuizContent* quiz, std::string* error);
// Reads the count lines of score codes into quiz->codes.
bool decodeScoreCodes(const std::vector<unsigned char>& bytes, int count, QuizContent* quiz,
                      std::string* error);
// Reads the accepted answers of the quiz already decoded into its questions and accent rule. False
// with *error, and quiz unchanged, where the player would ignore them.
bool decodeAcceptedAnswers(const std::vector<unsigned char>& bytes, QuizContent* quiz, std::string* error);
