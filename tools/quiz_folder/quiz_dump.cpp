// A quiz program read back into quiz.toml and media files.
#include "tools/quiz_folder/quiz_dump.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "checking/accepted_answers.h"
#include "content/loader.h"
#include "content/lzw.h"
#include "content/quiz_format.h"
#include "tools/quiz_folder/media_format.h"
#include "tools/quiz_folder/quiz_build.h"
#include "tools/support/cp1252.h"
#include "tools/support/translation.h"

namespace {

const ResourceEntry* findResource(const std::vector<ResourceEntry>& entries, const char* type, int id) {
    for (const ResourceEntry& entry : entries) {
        if (sameKey(entry.type, stringKey(type)) &&
            sameKey(entry.name, numberKey(static_cast<uint16_t>(id)))) {
            return &entry;
        }
    }
    return nullptr;
}

bool unpack(const ResourceEntry& entry, const std::string& what, std::vector<unsigned char>* bytes,
            std::string* error) {
    if (entry.data.size() > static_cast<std::size_t>(LZW_MAX_INPUT)) {
        *error = fillIn(tr("{1} is {2} bytes packed; the player unpacks at most {3}"), what, entry.data.size(),
                        LZW_MAX_INPUT);
        return false;
    }
    static const unsigned char noBytes[1] = {0};
    unsigned char* output = nullptr;
    int32_t outputLength = 0;
    const LzwStatus status = lzwDecode(entry.data.empty() ? noBytes : entry.data.data(),
                                       static_cast<int32_t>(entry.data.size()), &output, &outputLength);
    if (status == LzwStatus::Ok) bytes->assign(output, output + outputLength);
    std::free(output);
    if (status != LzwStatus::Ok) {
        *error = fillIn(tr("{1} does not unpack: {2}"), what, lzwStatusName(status));
        return false;
    }
    return true;
}

bool utf8Text(const std::string& cp1252, const std::string& what, std::string* utf8, std::string* error) {
    const TextConversion converted = cp1252ToUtf8(cp1252);
    if (!converted.ok) {
        *error = fillIn(tr("{1}: {2}"), what, converted.error);
        return false;
    }
    *utf8 = converted.text;
    return true;
}

void addMedia(const std::vector<ResourceEntry>& entries, int id, const std::string& stem, DumpedQuiz* quiz) {
    const ResourceEntry* entry = findResource(entries, QUIZ_MEDIA_TYPE, id);
    if (!entry) return;
    const MediaFormat format = mediaFormat(entry->data);
    quiz->media.push_back(QuizMediaFile{id, "media/" + stem + "." + mediaExtension(format), entry->data});
}

const QuizMediaFile* mediaOf(const DumpedQuiz& quiz, int id) {
    for (const QuizMediaFile& media : quiz.media) {
        if (media.resourceId == id) return &media;
    }
    return nullptr;
}

std::string colourText(const QuizContent& content) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", content.red, content.green, content.blue);
    return text;
}

// A text as the player holds it: the first 259 bytes of a longer one. A stored text may run on; the
// folder written must hold what the player shows, or it would not check.
void cutAsThePlayer(std::string* text, const std::string& what, std::vector<std::string>* notes) {
    if (text->size() <= static_cast<std::size_t>(TEXT_MAX_LENGTH)) return;
    notes->push_back(fillIn(tr("{1} is cut to its first {2} of {3} bytes, as the player holds it"), what, TEXT_MAX_LENGTH,
                            text->size()));
    text->resize(TEXT_MAX_LENGTH);
}

// Characters a folder cannot hold in this text become spaces: control characters in an answer (no
// one can type them), line breaks in a score code (the header shows it on one line).
void spaceOut(std::string* text, bool answer, const std::string& what, std::vector<std::string>* notes) {
    bool changed = false;
    for (char& c : *text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (answer ? byte < 0x20 : (byte == '\r' || byte == '\n')) {
            c = ' ';
            changed = true;
        }
    }
    if (changed)
        notes->push_back(fillIn(answer ? tr("{1}: its control characters, which no one can type, are spaces")
                                       : tr("{1}: its line breaks are spaces, as the header shows one line"),
                                what));
}

// An answer with spaces at its ends can never be matched, and check refuses it: they are left out,
// so the folder still comes back (an answer of spaces only stays, and is refused).
void trimAnswer(std::string* answer, const std::string& what, std::vector<std::string>* notes) {
    const std::size_t first = answer->find_first_not_of(' ');
    if (first == std::string::npos || (first == 0 && answer->back() != ' ')) return;
    *answer = answer->substr(first, answer->find_last_not_of(' ') - first + 1);
    notes->push_back(fillIn(tr("{1}: the spaces at its ends are left out, as no typed answer could match them"), what));
}

// A slot's other answers as a folder can hold them: like the first, and each once as the player
// compares them (a second copy changes no verdict, and check refuses it).
void fitOtherAnswers(const std::string& first, std::vector<std::string>* others, AccentRule accents,
                     const std::string& what, std::vector<std::string>* notes) {
    std::vector<std::string> kept, forms;
    char form[FOLDED_SIZE];
    comparisonForm(first.c_str(), accents, form);
    forms.push_back(form);
    for (std::size_t k = 0; k < others->size(); ++k) {
        std::string answer = (*others)[k];
        const std::string name = fillIn(tr("{1} item {2}"), what, k + 2);
        spaceOut(&answer, true, name, notes);
        trimAnswer(&answer, name, notes);
        comparisonForm(answer.c_str(), accents, form);
        if (std::find(forms.begin(), forms.end(), form) != forms.end()) {
            notes->push_back(fillIn(tr("{1} is left out: the same answer comes before it"), name));
            continue;
        }
        forms.push_back(form);
        kept.push_back(answer);
    }
    *others = kept;
}

void fitForAFolder(QuizContent* content, std::vector<std::string>* notes) {
    cutAsThePlayer(&content->title, tr("the title"), notes);
    cutAsThePlayer(&content->author, tr("the author"), notes);
    cutAsThePlayer(&content->description, tr("the description"), notes);
    cutAsThePlayer(&content->caption1, fillIn(tr("caption {1}"), 1), notes);
    cutAsThePlayer(&content->caption2, fillIn(tr("caption {1}"), 2), notes);
    for (std::size_t i = 0; i < content->questions.size(); ++i) {
        QuestionContent& question = content->questions[i];
        const std::string where = fillIn(tr("question {1}"), i + 1);
        const auto key = [&where](const char* name) { return fillIn(tr("{1}: {2}"), where, name); };
        cutAsThePlayer(&question.answer1, key("answer"), notes);
        spaceOut(&question.answer1, true, key("answer"), notes);
        trimAnswer(&question.answer1, key("answer"), notes);
        cutAsThePlayer(&question.answer2, key("answer2"), notes);
        spaceOut(&question.answer2, true, key("answer2"), notes);
        trimAnswer(&question.answer2, key("answer2"), notes);
        fitOtherAnswers(question.answer1, &question.otherAnswers1, content->accents, key("answer"), notes);
        fitOtherAnswers(question.answer2, &question.otherAnswers2, content->accents, key("answer2"), notes);
        cutAsThePlayer(&question.text, key("text"), notes);
        cutAsThePlayer(&question.comment, key("comment"), notes);
    }
    for (std::size_t k = 0; k < content->codes.size(); ++k) {
        const std::string what = fillIn(tr("code {1}"), k + 1);
        cutAsThePlayer(&content->codes[k], what, notes);
        spaceOut(&content->codes[k], false, what, notes);
    }
}

}  // namespace

bool readQuizProgram(const std::vector<uint8_t>& image, DumpedQuiz* quiz, std::string* error) {
    *quiz = DumpedQuiz();
    std::vector<ResourceEntry> entries;
    if (!readPeResources(image, &entries, error)) return false;
    const std::string contentName = std::string(QUIZ_PACKED_TYPE) + " " + std::to_string(RESOURCE_CONTENT_ID);
    const std::string codesName = std::string(QUIZ_PACKED_TYPE) + " " + std::to_string(RESOURCE_CODES_ID);
    const ResourceEntry* content = findResource(entries, QUIZ_PACKED_TYPE, RESOURCE_CONTENT_ID);
    if (!content) {
        *error = fillIn(tr("it carries no quiz (no {1} resource)"), contentName);
        return false;
    }
    std::vector<unsigned char> bytes;
    if (!unpack(*content, fillIn(tr("the quiz content ({1})"), contentName), &bytes, error)) return false;
    if (!decodeQuizContent(bytes, &quiz->content, error)) {
        *error = fillIn(tr("the quiz content ({1}) is malformed: {2}"), contentName, *error);
        return false;
    }
    const int count = static_cast<int>(quiz->content.questions.size());
    const ResourceEntry* codes = findResource(entries, QUIZ_PACKED_TYPE, RESOURCE_CODES_ID);
    if (!codes) {
        quiz->notes.push_back(fillIn(tr("the program has no score codes ({1}): quiz.toml has none"), codesName));
    } else {
        if (!unpack(*codes, fillIn(tr("the score codes ({1})"), codesName), &bytes, error)) return false;
        if (!decodeScoreCodes(bytes, count, &quiz->content, error)) {
            *error = fillIn(tr("the score codes ({1}) are malformed: {2}"), codesName, *error);
            return false;
        }
    }

    // The player ignores accepted answers it cannot use, and so does the folder: it then plays as
    // the program does.
    const std::string answersName = std::string(QUIZ_PACKED_TYPE) + " " + std::to_string(RESOURCE_ANSWERS_ID);
    if (const ResourceEntry* answers = findResource(entries, QUIZ_PACKED_TYPE, RESOURCE_ANSWERS_ID)) {
        std::string why;
        if (!unpack(*answers, tr("the resource"), &bytes, &why) || !decodeAcceptedAnswers(bytes, &quiz->content, &why))
            quiz->notes.push_back(
                fillIn(tr("the accepted answers ({1}) are left out, as the player ignores them: {2}"), answersName, why));
    }

    fitForAFolder(&quiz->content, &quiz->notes);

    const bool questionMedia = quiz->content.kind != QuizKind::Text;
    const bool answerPictures =
        quiz->content.kind == QuizKind::Picture && quiz->content.reveal == RevealMode::AnswerPicture;
    for (int q = 1; q <= count; ++q) {
        if (questionMedia) addMedia(entries, mediaResourceId(q), "q" + std::to_string(q), quiz);
        if (answerPictures) addMedia(entries, answerPictureResourceId(q), "a" + std::to_string(q), quiz);
    }
    for (const ResourceEntry& entry : entries) {
        if (!sameKey(entry.type, stringKey(QUIZ_MEDIA_TYPE))) continue;
        const int id = entry.name.isString ? -1 : entry.name.number;
        bool used = false;
        for (const QuizMediaFile& media : quiz->media) used = used || media.resourceId == id;
        if (!used) {
            const std::string name = entry.name.isString ? printable(entry.name.text) : std::to_string(id);
            quiz->notes.push_back(fillIn(tr("{1} {2} is left out: the quiz never shows it"), QUIZ_MEDIA_TYPE, name));
        }
    }
    return true;
}

std::string tomlString(const std::string& utf8) {
    std::string out = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\t': out += "\\t"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(c));
                    out += escaped;
                } else {
                    out.push_back(static_cast<char>(c));
                }
        }
    }
    return out + "\"";
}

namespace {

// key = "first", or key = ["first", "second", ...] when the slot accepts other answers.
bool answerLine(const std::string& key, const std::string& first, const std::vector<std::string>& others,
                const std::string& question, std::string* out, std::string* error) {
    std::string value;
    const std::string name = fillIn(tr("{1}: {2}"), question, key);
    if (!utf8Text(first, name, &value, error)) return false;
    std::string line = tomlString(value);
    for (std::size_t k = 0; k < others.size(); ++k) {
        if (!utf8Text(others[k], fillIn(tr("{1} item {2}"), name, k + 2), &value, error)) return false;
        line += ", " + tomlString(value);
    }
    *out += key + " = " + (others.empty() ? line : "[" + line + "]") + "\n";
    return true;
}

}  // namespace

bool quizTomlText(const DumpedQuiz& quiz, const std::string& header, std::string* text, std::string* error) {
    const QuizContent& content = quiz.content;
    std::string title, author, description, caption1, caption2;
    if (!utf8Text(content.title, tr("the title"), &title, error) ||
        !utf8Text(content.author, tr("the author"), &author, error) ||
        !utf8Text(content.description, tr("the description"), &description, error) ||
        !utf8Text(content.caption1, fillIn(tr("caption {1}"), 1), &caption1, error) ||
        !utf8Text(content.caption2, fillIn(tr("caption {1}"), 2), &caption2, error)) {
        return false;
    }
    std::string out = header;
    out += "kind = " + tomlString(kindName(content.kind)) + "\n";
    out += "title = " + tomlString(title) + "\n";
    out += "author = " + tomlString(author) + "\n";
    out += "description = " + tomlString(description) + "\n";
    out += "slots = " + std::to_string(content.slots) + "\n";
    out += "captions = [" + tomlString(caption1) + ", " + tomlString(caption2) + "]\n";
    out += "reveal = " + tomlString(revealName(content.reveal)) + "\n";
    out += "background = " + tomlString(colourText(content)) + "\n";
    if (content.accents != AccentRule::Exact) out += "accents = " + tomlString(accentsName(content.accents)) + "\n";
    if (!content.codes.empty() || content.questions.empty()) {
        out += "# codes[k - 1] is shown for a score of k.\ncodes = [\n";
        for (std::size_t k = 0; k < content.codes.size(); ++k) {
            std::string code;
            if (!utf8Text(content.codes[k], fillIn(tr("code {1}"), k + 1), &code, error)) return false;
            out += "    " + tomlString(code) + ",\n";
        }
        out += "]\n";
    }
    for (std::size_t i = 0; i < content.questions.size(); ++i) {
        const QuestionContent& question = content.questions[i];
        const int q = static_cast<int>(i + 1);
        const std::string label = fillIn(tr("question {1}"), q);
        const auto where = [&label](const char* key) { return fillIn(tr("{1}: {2}"), label, key); };
        std::string value;
        out += "\n[[questions]]\n";
        if (!question.text.empty()) {
            if (!utf8Text(question.text, where("text"), &value, error)) return false;
            out += "text = " + tomlString(value) + "\n";
        }
        if (!answerLine("answer", question.answer1, question.otherAnswers1, label, &out, error)) return false;
        if (content.slots == 2 &&
            !answerLine("answer2", question.answer2, question.otherAnswers2, label, &out, error)) {
            return false;
        }
        if (content.reveal == RevealMode::Comment && !question.comment.empty()) {
            if (!utf8Text(question.comment, where("comment"), &value, error)) return false;
            out += "comment = " + tomlString(value) + "\n";
        }
        if (const QuizMediaFile* media = mediaOf(quiz, mediaResourceId(q))) {
            out += "media = " + tomlString(media->path) + "\n";
        }
        if (const QuizMediaFile* picture = mediaOf(quiz, answerPictureResourceId(q))) {
            out += "answer_picture = " + tomlString(picture->path) + "\n";
        }
    }
    *text = out;
    return true;
}

bool folderHoldsQuiz(const std::filesystem::path& folder, const DumpedQuiz& quiz, std::string* error) {
    CheckedQuiz checked;
    Diagnostics diagnostics;
    if (!checkQuizFolder(folder, &checked, &diagnostics, MediaReading::AsStored)) {
        for (const Diagnostic& diagnostic : diagnostics) {
            if (diagnostic.severity != Severity::Error) continue;
            const int more = countErrors(diagnostics) - 1;
            *error = more > 0 ? fillIn(tr("its quiz would not make a folder that checks: {1} (and {2} more)"),
                                       diagnostic.message, more)
                              : fillIn(tr("its quiz would not make a folder that checks: {1}"), diagnostic.message);
            break;
        }
        return false;
    }
    bool same = encodeQuizContent(checked.content) == encodeQuizContent(quiz.content) &&
                encodeScoreCodes(checked.content) == encodeScoreCodes(quiz.content) &&
                encodeAcceptedAnswers(checked.content) == encodeAcceptedAnswers(quiz.content) &&
                checked.media.size() == quiz.media.size();
    for (std::size_t i = 0; same && i < quiz.media.size(); ++i)
        same = checked.media[i].resourceId == quiz.media[i].resourceId && checked.media[i].bytes == quiz.media[i].bytes;
    if (!same) *error = tr("the folder written does not read back to its quiz");
    return same;
}

bool quizFolderFiles(const DumpedQuiz& quiz, const std::string& header, std::vector<FolderFile>* files,
                     std::string* error) {
    std::string manifest;
    if (!quizTomlText(quiz, header, &manifest, error)) return false;
    files->clear();
    files->push_back(FolderFile{QUIZ_TOML_NAME, std::vector<unsigned char>(manifest.begin(), manifest.end())});
    for (const QuizMediaFile& media : quiz.media) files->push_back(FolderFile{media.path, media.bytes});
    return true;
}
