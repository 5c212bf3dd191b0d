// The byte layout of a quiz's content and score codes, both ways.
#include "tools/quiz_folder/quiz_content.h"

#include <memory>

#include "checking/accepted_answers.h"
#include "content/loader.h"
#include "tools/support/text.h"
#include "tools/support/translation.h"

namespace {

void appendField(std::vector<unsigned char>* bytes, const std::string& text) {
    bytes->insert(bytes->end(), text.begin(), text.end());
    bytes->push_back(FIELD_SEPARATOR);
}

struct ContentReader {
    const std::vector<unsigned char>& bytes;
    std::size_t position;
};

bool readByte(ContentReader* reader, const char* what, unsigned char* value, std::string* error) {
    if (reader->position >= reader->bytes.size()) {
        *error = fillIn(tr("the content ends before {1}"), what);
        return false;
    }
    *value = reader->bytes[reader->position++];
    return true;
}

// A field up to its "|". Zero bytes are dropped, as the player drops them.
bool readField(ContentReader* reader, const std::string& what, std::string* text, std::string* error) {
    text->clear();
    while (reader->position < reader->bytes.size()) {
        const unsigned char byte = reader->bytes[reader->position++];
        if (byte == FIELD_SEPARATOR) return true;
        if (byte != 0) text->push_back(static_cast<char>(byte));
    }
    *error = fillIn(tr("the content ends inside {1} (no \"|\" after it)"), what);
    return false;
}

const char* const KIND_NAMES[QUIZ_KIND_COUNT] = {"text", "picture", "audio", "video"};
const char* const REVEAL_NAMES[REVEAL_MODE_COUNT] = {"none", "picture", "comment"};
const char* const ACCENTS_NAMES[] = {"exact", "ignore"};
constexpr int ACCENTS_RULE_COUNT = 2;

// The name of an enum value, "?" for a value without one.
const char* nameAt(const char* const* names, int count, int index) {
    return index >= 0 && index < count ? names[index] : "?";
}

// The enum value named name, or -1.
int indexOfName(const char* const* names, int count, const std::string& name) {
    for (int i = 0; i < count; ++i)
        if (name == names[i]) return i;
    return -1;
}

}  // namespace

const char* kindName(QuizKind kind) { return nameAt(KIND_NAMES, QUIZ_KIND_COUNT, static_cast<int>(kind)); }

bool parseKindName(const std::string& name, QuizKind* kind) {
    const int index = indexOfName(KIND_NAMES, QUIZ_KIND_COUNT, name);
    if (index >= 0) *kind = static_cast<QuizKind>(index);
    return index >= 0;
}

std::string likelyKindName(const std::string& word) {
    // The words authors use for them, in English and in French.
    static const struct {
        const char* word;
        QuizKind kind;
    } OTHER_WORDS[] = {
        {"texte", QuizKind::Text},      {"txt", QuizKind::Text},        {"question", QuizKind::Text},
        {"image", QuizKind::Picture},   {"img", QuizKind::Picture},     {"photo", QuizKind::Picture},
        {"pic", QuizKind::Picture},     {"jpeg", QuizKind::Picture},    {"jpg", QuizKind::Picture},
        {"png", QuizKind::Picture},     {"gif", QuizKind::Picture},     {"dessin", QuizKind::Picture},
        {"sound", QuizKind::Audio},     {"son", QuizKind::Audio},       {"sonore", QuizKind::Audio},
        {"mp3", QuizKind::Audio},       {"musique", QuizKind::Audio},   {"music", QuizKind::Audio},
        {"film", QuizKind::Video},      {"movie", QuizKind::Video},     {"avi", QuizKind::Video},
        {"vid\xC3\xA9o", QuizKind::Video}, {"clip", QuizKind::Video},
    };
    std::string lower;
    for (char c : word) lower.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c);
    // "images", "photos": the word without a plural s too.
    const std::string singular = lower.size() > 3 && lower.back() == 's' ? lower.substr(0, lower.size() - 1) : lower;
    for (const auto& other : OTHER_WORDS) {
        if (lower == other.word || singular == other.word) return kindName(other.kind);
    }
    std::vector<std::string> names(KIND_NAMES, KIND_NAMES + QUIZ_KIND_COUNT);
    const std::string closest = closestName(lower, names);
    return closest.empty() ? closestName(singular, names) : closest;
}

const char* kindQuizWords(QuizKind kind) {
    switch (kind) {
        case QuizKind::Picture: return tr("picture quiz");
        case QuizKind::Audio: return tr("audio quiz");
        case QuizKind::Video: return tr("video quiz");
        default: return tr("text quiz");
    }
}

const char* aKindQuizWords(QuizKind kind) {
    switch (kind) {
        case QuizKind::Picture: return tr("a picture quiz");
        case QuizKind::Audio: return tr("an audio quiz");
        case QuizKind::Video: return tr("a video quiz");
        default: return tr("a text quiz");
    }
}

const char* revealName(RevealMode reveal) {
    return nameAt(REVEAL_NAMES, REVEAL_MODE_COUNT, static_cast<int>(reveal));
}

bool parseRevealName(const std::string& name, RevealMode* reveal) {
    const int index = indexOfName(REVEAL_NAMES, REVEAL_MODE_COUNT, name);
    if (index >= 0) *reveal = static_cast<RevealMode>(index);
    return index >= 0;
}

const char* accentsName(AccentRule accents) {
    return nameAt(ACCENTS_NAMES, ACCENTS_RULE_COUNT, static_cast<int>(accents));
}

bool parseAccentsName(const std::string& name, AccentRule* accents) {
    const int index = indexOfName(ACCENTS_NAMES, ACCENTS_RULE_COUNT, name);
    if (index >= 0) *accents = static_cast<AccentRule>(index);
    return index >= 0;
}

std::vector<unsigned char> encodeQuizContent(const QuizContent& quiz) {
    std::vector<unsigned char> bytes;
    bytes.push_back(carriesAcceptedAnswers(quiz) ? CONTENT_FORMAT_WITH_ANSWERS : CONTENT_FORMAT_VERSION);
    bytes.push_back(static_cast<unsigned char>(static_cast<int>(quiz.kind) + 1));
    bytes.push_back(static_cast<unsigned char>(quiz.questions.size()));
    bytes.push_back(static_cast<unsigned char>(quiz.slots));
    appendField(&bytes, quiz.title);
    appendField(&bytes, quiz.author);
    appendField(&bytes, quiz.description);
    appendField(&bytes, quiz.caption1);
    appendField(&bytes, quiz.caption2);
    for (const QuestionContent& question : quiz.questions) {
        appendField(&bytes, question.answer1);
        if (quiz.slots == 2) appendField(&bytes, question.answer2);
        appendField(&bytes, question.text);
    }
    bytes.push_back(static_cast<unsigned char>(quiz.reveal));
    if (quiz.reveal == RevealMode::Comment) {
        for (const QuestionContent& question : quiz.questions) appendField(&bytes, question.comment);
    }
    bytes.push_back(quiz.red);
    bytes.push_back(quiz.green);
    bytes.push_back(quiz.blue);
    return bytes;
}

std::vector<unsigned char> encodeScoreCodes(const QuizContent& quiz) {
    std::vector<unsigned char> bytes;
    for (std::size_t k = 0; k < quiz.questions.size(); ++k) {
        if (k < quiz.codes.size()) bytes.insert(bytes.end(), quiz.codes[k].begin(), quiz.codes[k].end());
        bytes.push_back('\r');
        bytes.push_back('\n');
    }
    return bytes;
}

bool carriesAcceptedAnswers(const QuizContent& quiz) {
    if (quiz.accents != AccentRule::Exact) return true;
    for (const QuestionContent& question : quiz.questions) {
        if (!question.otherAnswers1.empty() || (quiz.slots == 2 && !question.otherAnswers2.empty())) return true;
    }
    return false;
}

std::vector<unsigned char> encodeAcceptedAnswers(const QuizContent& quiz) {
    std::vector<unsigned char> bytes;
    if (!carriesAcceptedAnswers(quiz)) return bytes;
    bytes.push_back(ANSWERS_LAYOUT_VERSION);
    bytes.push_back(static_cast<unsigned char>(quiz.accents));
    bytes.push_back(static_cast<unsigned char>(quiz.questions.size()));
    bytes.push_back(static_cast<unsigned char>(quiz.slots));
    for (const QuestionContent& question : quiz.questions) {
        for (int s = 1; s <= quiz.slots && s <= MAX_SLOTS; ++s) {
            const std::vector<std::string>& others = s == 1 ? question.otherAnswers1 : question.otherAnswers2;
            bytes.push_back(static_cast<unsigned char>(others.size()));
            for (const std::string& answer : others) appendField(&bytes, answer);
        }
    }
    return bytes;
}

bool decodeAcceptedAnswers(const std::vector<unsigned char>& bytes, QuizContent* quiz, std::string* error) {
    // Read by the player's own parser, so that the tool keeps exactly what the player would use.
    const auto release = [](Quiz* record) {
        clearQuestions(record);
        delete record;
    };
    std::unique_ptr<Quiz, decltype(release)> record(new Quiz, release);
    initQuiz(record.get());
    record->kind = quiz->kind;
    record->slotsPerQuestion = quiz->slots;
    record->questionCount = static_cast<int32_t>(quiz->questions.size());
    for (const QuestionContent& question : quiz->questions) {
        if (!appendQuestion(record.get(), question.answer1.c_str(), question.answer2.c_str(), question.text.c_str())) {
            *error = tr("there is no memory to read them");
            return false;
        }
    }
    if (!parseAcceptedAnswers(record.get(), bytes.data(), static_cast<int32_t>(bytes.size()))) {
        *error = tr("they do not follow their layout or do not fit the quiz's questions");
        return false;
    }
    quiz->accents = record->accents;
    const Question* node = record->firstQuestion;
    for (QuestionContent& question : quiz->questions) {
        for (int s = 1; s <= quiz->slots; ++s) {
            std::vector<std::string>* others = s == 1 ? &question.otherAnswers1 : &question.otherAnswers2;
            others->clear();
            for (int k = 1; k < acceptedAnswerCount(node, s); ++k) others->push_back(acceptedAnswer(node, s, k));
        }
        node = node->next;
    }
    return true;
}

bool decodeQuizContent(const std::vector<unsigned char>& bytes, QuizContent* quiz, std::string* error) {
    *quiz = QuizContent();
    ContentReader reader{bytes, 0};
    unsigned char version = 0, kind = 0, count = 0, slots = 0;
    // Byte 0 is not read by the player: any value is accepted (older tools wrote 0).
    if (!readByte(&reader, tr("its format byte"), &version, error) ||
        !readByte(&reader, tr("its kind byte"), &kind, error) ||
        !readByte(&reader, tr("its question count"), &count, error) ||
        !readByte(&reader, tr("its slot count"), &slots, error)) {
        return false;
    }
    if (kind < 1 || kind > QUIZ_KIND_COUNT) {
        *error = fillIn(tr("kind byte {1} is not 1 (text) to 4 (video)"), kind);
        return false;
    }
    if (count > MAX_QUESTIONS) {
        *error = std::to_string(count) + " questions; a quiz holds at most " + std::to_string(MAX_QUESTIONS);
        return false;
    }
    if (slots != 1 && slots != 2) {
        *error = fillIn(tr("slot count {1} is not 1 or 2"), slots);
        return false;
    }
    quiz->kind = static_cast<QuizKind>(kind - 1);
    quiz->slots = slots;
    if (!readField(&reader, tr("the title"), &quiz->title, error) ||
        !readField(&reader, tr("the author"), &quiz->author, error) ||
        !readField(&reader, tr("the description"), &quiz->description, error) ||
        !readField(&reader, fillIn(tr("caption {1}"), 1), &quiz->caption1, error) ||
        !readField(&reader, fillIn(tr("caption {1}"), 2), &quiz->caption2, error)) {
        return false;
    }
    quiz->questions.resize(count);
    for (int q = 0; q < count; ++q) {
        QuestionContent& question = quiz->questions[q];
        const int number = static_cast<int>(q + 1);
        if (!readField(&reader, fillIn(tr("the answer of question {1}"), number), &question.answer1, error)) return false;
        if (slots == 2 && !readField(&reader, fillIn(tr("the second answer of question {1}"), number), &question.answer2,
                                     error)) {
            return false;
        }
        if (!readField(&reader, fillIn(tr("the text of question {1}"), number), &question.text, error)) return false;
    }
    unsigned char reveal = 0;
    if (!readByte(&reader, tr("its reveal byte"), &reveal, error)) return false;
    if (reveal >= REVEAL_MODE_COUNT) {
        *error = fillIn(tr("reveal byte {1} is not 0 (none), 1 (picture) or 2 (comment)"), reveal);
        return false;
    }
    quiz->reveal = static_cast<RevealMode>(reveal);
    if (quiz->reveal == RevealMode::Comment) {
        for (int q = 0; q < count; ++q) {
            if (!readField(&reader, fillIn(tr("the comment of question {1}"), q + 1),
                           &quiz->questions[q].comment, error)) {
                return false;
            }
        }
    }
    if (!readByte(&reader, tr("its page colour"), &quiz->red, error) ||
        !readByte(&reader, tr("its page colour"), &quiz->green, error) ||
        !readByte(&reader, tr("its page colour"), &quiz->blue, error)) {
        return false;
    }
    if (reader.position != bytes.size()) {
        *error = std::to_string(bytes.size() - reader.position) + " unexpected bytes after the page colour";
        return false;
    }
    return true;
}

bool decodeScoreCodes(const std::vector<unsigned char>& bytes, int count, QuizContent* quiz,
                      std::string* error) {
    quiz->codes.clear();
    std::size_t position = 0;
    for (int k = 1; k <= count; ++k) {
        std::string code;
        while (position < bytes.size() && bytes[position] != '\r') {
            code.push_back(static_cast<char>(bytes[position++]));
        }
        if (position + 1 >= bytes.size() || bytes[position + 1] != '\n') {
            *error = fillIn(tr("the score codes end before the end of line {1} of {2}"), k, count);
            return false;
        }
        position += 2;
        quiz->codes.push_back(code);
    }
    if (position != bytes.size()) {
        *error = std::to_string(bytes.size() - position) + " unexpected bytes after score code " +
                 std::to_string(count);
        return false;
    }
    return true;
}
