// Fills the quiz record from the packed content and score codes; their layout is in quiz_format.h.
#include "loader.h"

#include <cstdlib>
#include <cstring>

#include "lzw.h"
#include "platform.h"

namespace {

const char* const MESSAGE_CAPTION = "Trivo";

// Every text the loader shows, in code page 1252.
enum LoaderMessage {
    MSG_CONTENT_NOT_FOUND,
    MSG_CONTENT_EMPTY,
    MSG_CONTENT_UNPACK,
    MSG_CONTENT_INCOMPLETE,
    MSG_CODES_NOT_FOUND,
    MSG_CODES_EMPTY,
    MSG_CODES_UNPACK,
};
const char* const LOADER_MESSAGES[] = {
    "Erreur dans le fichier",
    "Reponses non trouv\xE9" "es",
    "Erreur dans le d\xE9" "cryptage des reponses",
    "Contenu du quiz incomplet",
    "Codes non trouv\xE9" "s.",
    "Codes non renseign\xE9" "s.",
    "Erreur dans le d\xE9" "cryptage des codes",
};

void showMessage(LoaderMessage message) { platformMessageBox(LOADER_MESSAGES[message], MESSAGE_CAPTION); }

const unsigned char CARRIAGE_RETURN = 0x0D;

// A read position in an unpacked buffer; nothing is ever read at or past size.
struct ByteReader {
    const unsigned char* bytes;
    int32_t size;
    int32_t position;
};

bool readByte(ByteReader* reader, unsigned char* value) {
    if (reader->position >= reader->size) return false;
    *value = reader->bytes[reader->position++];
    return true;
}

// Reads one field into a slot: zero bytes add nothing, bytes past the slot's 259 are skipped.
// Returns false when the data ends before the separator; the slot then keeps the bytes it had.
bool readField(ByteReader* reader, char* slot) {
    int length = 0;
    bool closed = false;
    unsigned char byte;
    while (readByte(reader, &byte)) {
        if (byte == FIELD_SEPARATOR) {
            closed = true;
            break;
        }
        if (byte != 0 && length < TEXT_MAX_LENGTH) slot[length++] = static_cast<char>(byte);
    }
    slot[length] = '\0';
    return closed;
}

// Parses what follows the header; stops at the first field or byte the data does not hold.
// announced is the header's question count, kept is how many of them the record can hold.
bool parseBody(Quiz* quiz, ByteReader* reader, int announced, int kept, int* appended) {
    char* headerFields[] = {quiz->title, quiz->author, quiz->description, quiz->caption1, quiz->caption2};
    for (char* field : headerFields) {
        if (!readField(reader, field)) return false;
    }

    // Questions beyond the kept ones are still read, so that the bytes after them are found in place.
    for (int j = 0; j < announced; ++j) {
        char answer1[TEXT_SLOT_SIZE];
        char answer2[TEXT_SLOT_SIZE] = "";
        char text[TEXT_SLOT_SIZE];
        if (!readField(reader, answer1)) return false;
        if (quiz->slotsPerQuestion == 2 && !readField(reader, answer2)) return false;
        if (!readField(reader, text)) return false;
        // A node that cannot be allocated is skipped; the questions after it still load.
        if (j < kept && appendQuestion(quiz, answer1, answer2, text) != nullptr) ++*appended;
    }

    unsigned char reveal;
    if (!readByte(reader, &reveal)) return false;
    quiz->revealMode = static_cast<RevealMode>(reveal);
    if (quiz->revealMode == RevealMode::Comment) {
        for (int j = 0; j < announced; ++j) {
            char comment[TEXT_SLOT_SIZE];
            bool closed = readField(reader, comment);
            Question* question = j < kept ? questionAt(quiz, j) : nullptr;
            if (question != nullptr) copyText(question->comment, comment);
            if (!closed) return false;
        }
    }

    unsigned char red, green, blue;
    if (!readByte(reader, &red) || !readByte(reader, &green) || !readByte(reader, &blue)) return false;
    quiz->backgroundColour = static_cast<uint32_t>(red) | static_cast<uint32_t>(green) << 8 |
                             static_cast<uint32_t>(blue) << 16;
    quiz->backgroundBrush = platformSolidBrush(quiz->backgroundColour);
    return true;
}

}  // namespace

bool parseQuizContent(Quiz* quiz, const unsigned char* bytes, int32_t size) {
    ByteReader reader = {bytes, size, 0};
    // Without the whole header there is nothing to interpret; the record keeps its initial state.
    if (size < 4) return false;
    // Kind and slot count are stored as they come (kind byte 0 gives -1). The player lays out only the
    // four kinds with one or two slots; for any other value it shows the header over a page without
    // question controls. Only a slot count of 2 brings an answer2 field.
    quiz->kind = static_cast<QuizKind>(static_cast<int32_t>(bytes[1]) - 1);
    int announced = bytes[2];
    quiz->slotsPerQuestion = bytes[3];
    reader.position = 4;

    // More than the record can hold: the first 90 are kept, quietly.
    int kept = announced < MAX_QUESTIONS ? announced : MAX_QUESTIONS;
    quiz->questionCount = kept;
    int appended = 0;
    bool complete = parseBody(quiz, &reader, announced, kept, &appended);
    // Content cut short counts only the questions it fully holds.
    if (!complete) quiz->questionCount = appended;
    return complete;
}

bool parseScoreCodes(Quiz* quiz, const unsigned char* bytes, int32_t size) {
    ByteReader reader = {bytes, size, 0};
    int lines = quiz->questionCount;
    if (lines > MAX_QUESTIONS) lines = MAX_QUESTIONS;
    for (int k = 0; k < lines; ++k) {
        char* code = quiz->scoreCodes[k];
        int length = 0;
        bool ended = false;
        unsigned char byte;
        while (readByte(&reader, &byte)) {
            if (byte == CARRIAGE_RETURN) {
                ended = true;
                break;
            }
            // A code holds any byte but CR, stored as it comes; a line too long keeps its first 259.
            if (length < TEXT_MAX_LENGTH) code[length++] = static_cast<char>(byte);
        }
        code[length] = '\0';
        // Codes cut short keep what was read; the remaining scores simply reveal nothing.
        if (!ended) return false;
        // The byte after CR (the LF) is not looked at.
        if (reader.position < reader.size) ++reader.position;
    }
    return true;
}

void buildDemoQuiz(Quiz* quiz) {
    copyText(quiz->title, "Nom du trivo");
    copyText(quiz->author, "Createur trivo");
    copyText(quiz->description, "Explications du trivo");
    copyText(quiz->caption1, "Pr\xE9" "nom - Nom");
    copyText(quiz->caption2, "Manga / Anime");
    quiz->slotsPerQuestion = 1;
    // Thirty announced but two held: the lookups for questions 3 to 30 resolve to the second node.
    quiz->questionCount = 30;
    quiz->revealMode = RevealMode::AnswerPicture;
    quiz->kind = QuizKind::Picture;
    appendQuestion(quiz, "lune", "titi", "titi");
    appendQuestion(quiz, "grivol", "plouf", "titi");
}

namespace {

// Unpacks a resource; false (with nothing to free) on any codec failure.
bool unpack(const ResourceData& resource, unsigned char** output, int32_t* outputLength) {
    *output = nullptr;
    *outputLength = 0;
    LzwStatus status = lzwDecode(resource.bytes, resource.size, output, outputLength);
    if (status == LzwStatus::Ok && *output != nullptr) return true;
    free(*output);
    *output = nullptr;
    return false;
}

void loadScoreCodes(Quiz* quiz) {
    ResourceData codes = platformResource(QUIZ_PACKED_TYPE, RESOURCE_CODES_ID);
    if (!codes.found) {
        showMessage(MSG_CODES_NOT_FOUND);
        return;
    }
    if (codes.size <= 0) {
        showMessage(MSG_CODES_EMPTY);
        return;
    }
    unsigned char* bytes;
    int32_t size;
    if (!unpack(codes, &bytes, &size)) {
        showMessage(MSG_CODES_UNPACK);
        return;
    }
    parseScoreCodes(quiz, bytes, size);
    free(bytes);
}

// Optional, and said nowhere: without the resource, or with one that cannot be used, every field
// accepts the content's answer alone, with accents counted, as in a quiz made before it existed.
void loadAcceptedAnswers(Quiz* quiz) {
    ResourceData answers = platformResource(QUIZ_PACKED_TYPE, RESOURCE_ANSWERS_ID);
    unsigned char* bytes;
    int32_t size;
    if (!answers.found || answers.size <= 0 || !unpack(answers, &bytes, &size)) return;
    parseAcceptedAnswers(quiz, bytes, size);
    free(bytes);
}

}  // namespace

void loadQuiz(Quiz* quiz) {
    ResourceData content = platformResource(QUIZ_PACKED_TYPE, RESOURCE_CONTENT_ID);
    if (!content.found) {
        // Reported, then treated as empty: the demo quiz still opens.
        showMessage(MSG_CONTENT_NOT_FOUND);
        content.size = 0;
    }
    if (content.size <= 0) {
        showMessage(MSG_CONTENT_EMPTY);
        buildDemoQuiz(quiz);
        return;
    }

    unsigned char* bytes;
    int32_t size;
    if (!unpack(content, &bytes, &size)) {
        showMessage(MSG_CONTENT_UNPACK);
        return;
    }
    bool complete = parseQuizContent(quiz, bytes, size);
    free(bytes);
    // Incomplete content is still shown; the codes that follow load as usual.
    if (!complete) showMessage(MSG_CONTENT_INCOMPLETE);
    // Answers beside content cut short could belong to questions it does not hold.
    if (complete) loadAcceptedAnswers(quiz);

    loadScoreCodes(quiz);
}
