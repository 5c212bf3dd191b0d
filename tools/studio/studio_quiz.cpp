// The studio's quiz: read through quiz_toml (the same reader as check), written in one fixed layout.
#include "tools/studio/studio_quiz.h"

#include "tools/quiz_folder/quiz_dump.h"
#include "tools/quiz_folder/quiz_toml.h"

const char* const STUDIO_TOML_MARK = "# Trivo quiz, written by Trivo Studio (trivo-make studio); it may be edited here too.";

namespace {

// Appends "key = value" on a line of its own, naming the field it holds.
struct Layout {
    std::string text;
    int line = 1;
    std::map<int, std::string>* fields;

    void add(const std::string& lineText, const std::string& field = std::string()) {
        if (!field.empty()) (*fields)[line] = field;
        text += lineText + "\n";
        ++line;
    }
    void key(const char* name, const std::string& value, const std::string& field) {
        add(std::string(name) + " = " + tomlString(value), field);
    }
};

std::string value(const SourceText& text) { return text.wrongType ? std::string() : text.value; }

// An answer as quiz.toml writes it: one text, or the list of every accepted one.
std::string answerValue(const std::string& first, const std::vector<std::string>& others) {
    if (others.empty()) return tomlString(first);
    std::string list = "[" + tomlString(first);
    for (const std::string& other : others) list += ", " + tomlString(other);
    return list + "]";
}

// An answer read back: the first of a list in *first, the rest in *others.
void readAnswer(const SourceText& answer, const SourceTextList& list, std::string* first, std::vector<std::string>* others) {
    *first = value(answer);
    if (!list.given || list.wrongType) return;
    for (std::size_t i = 1; i < list.items.size(); ++i) others->push_back(value(list.items[i]));
}

}  // namespace

std::string studioToml(const StudioQuiz& quiz, std::map<int, std::string>* fields) {
    fields->clear();
    Layout out{std::string(), 1, fields};
    out.add(STUDIO_TOML_MARK);
    out.key("kind", quiz.kind, "kind");
    out.key("title", quiz.title, "title");
    if (!quiz.author.empty()) out.key("author", quiz.author, "author");
    if (!quiz.description.empty()) out.key("description", quiz.description, "description");
    out.add("slots = " + std::to_string(quiz.slots), "slots");
    if (!quiz.caption1.empty() || !quiz.caption2.empty())
        out.add("captions = [" + tomlString(quiz.caption1) + ", " + tomlString(quiz.caption2) + "]", "caption1");
    out.key("reveal", quiz.reveal, "reveal");
    if (!quiz.background.empty()) out.key("background", quiz.background, "background");
    if (!quiz.accents.empty()) out.key("accents", quiz.accents, "accents");
    // codes[k - 1] is shown for a score of k: one a line, so that each code's problem names its field.
    out.add("codes = [", "codes");
    for (std::size_t k = 0; k < quiz.codes.size(); ++k)
        out.add("  " + tomlString(quiz.codes[k]) + ",", "code-" + std::to_string(k + 1));
    out.add("]", "codes");
    const bool media = quiz.kind != "text";
    for (std::size_t i = 0; i < quiz.questions.size(); ++i) {
        const StudioQuestion& question = quiz.questions[i];
        const std::string q = "q-" + std::to_string(i + 1);
        out.add("");
        out.add("[[questions]]", q);
        // What the kind needs is always written, so that its problem (empty, missing file) has a line.
        if (!media || !question.text.empty()) out.key("text", question.text, q + "-text");
        if (media || !question.media.empty()) out.key("media", question.media, q + "-media");
        out.add("answer = " + answerValue(question.answer, question.otherAnswers), q + "-answer");
        if (quiz.slots == 2 || !question.answer2.empty() || !question.otherAnswers2.empty())
            out.add("answer2 = " + answerValue(question.answer2, question.otherAnswers2), q + "-answer2");
        if (!question.answerPicture.empty()) out.key("answer_picture", question.answerPicture, q + "-picture");
        if (!question.comment.empty()) out.key("comment", question.comment, q + "-comment");
    }
    return out.text;
}

bool readStudioQuiz(const std::string& text, StudioQuiz* quiz, Diagnostics* diagnostics) {
    QuizSource source;
    if (!readQuizToml(text, &source, diagnostics)) return false;
    *quiz = StudioQuiz();
    if (source.kind.given) quiz->kind = value(source.kind);
    quiz->title = value(source.title);
    quiz->author = value(source.author);
    quiz->description = value(source.description);
    if (source.slots.given && !source.slots.wrongType && (source.slots.value == 1 || source.slots.value == 2))
        quiz->slots = static_cast<int>(source.slots.value);
    if (!source.captions.wrongType) {
        if (source.captions.items.size() > 0) quiz->caption1 = value(source.captions.items[0]);
        if (source.captions.items.size() > 1) quiz->caption2 = value(source.captions.items[1]);
    }
    if (source.reveal.given) quiz->reveal = value(source.reveal);
    quiz->background = value(source.background);
    quiz->accents = value(source.accents);
    if (!source.codes.wrongType)
        for (const SourceText& code : source.codes.items) quiz->codes.push_back(value(code));
    for (const QuestionSource& given : source.questions) {
        StudioQuestion question;
        question.text = value(given.text);
        readAnswer(given.answer, given.answerList, &question.answer, &question.otherAnswers);
        readAnswer(given.answer2, given.answer2List, &question.answer2, &question.otherAnswers2);
        question.media = value(given.media);
        question.answerPicture = value(given.answerPicture);
        question.comment = value(given.comment);
        quiz->questions.push_back(question);
    }
    return true;
}
