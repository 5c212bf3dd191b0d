// Reading quiz.toml with toml++ into a QuizSource. toml++ is header-only here and used by this file
// alone; it is built without exceptions, so a syntax error comes back as a parse result.
#include "tools/manifest.h"

#define TOML_EXCEPTIONS 0
#include <toml++/toml.h>

#include <string_view>

namespace {

int lineOf(const toml::node& node) {
    return static_cast<int>(node.source().begin.line);
}

const char* typeName(const toml::node& node) {
    switch (node.type()) {
        case toml::node_type::string: return "a text";
        case toml::node_type::integer: return "a whole number";
        case toml::node_type::floating_point: return "a number with a fraction";
        case toml::node_type::boolean: return "true or false";
        case toml::node_type::array: return "a list";
        case toml::node_type::table: return "a table";
        case toml::node_type::date: return "a date";
        case toml::node_type::time: return "a time";
        case toml::node_type::date_time: return "a date and time";
        default: return "an empty value";
    }
}

void readText(const toml::node& node, const std::string& name, SourceText* target, Diagnostics* diagnostics) {
    target->given = true;
    target->line = lineOf(node);
    if (!node.is_string()) {
        addError(diagnostics, lineOf(node), name + " must be a text in double quotes, not " + typeName(node));
        target->wrongType = true;
        return;
    }
    target->value = node.as_string()->get();
}

void readInteger(const toml::node& node, const std::string& name, SourceInteger* target,
                 Diagnostics* diagnostics) {
    target->given = true;
    target->line = lineOf(node);
    if (!node.is_integer()) {
        addError(diagnostics, lineOf(node), name + " must be a whole number, not " + typeName(node));
        target->wrongType = true;
        return;
    }
    target->value = node.as_integer()->get();
}

void readTextList(const toml::node& node, const std::string& name, SourceTextList* target,
                  Diagnostics* diagnostics) {
    target->given = true;
    target->line = lineOf(node);
    const toml::array* array = node.as_array();
    if (!array) {
        addError(diagnostics, lineOf(node),
                 name + " must be a list of texts in square brackets, not " + typeName(node));
        target->wrongType = true;
        return;
    }
    for (std::size_t i = 0; i < array->size(); ++i) {
        // A wrong item keeps its place, so later items keep their numbers (code k is for score k).
        SourceText item;
        readText((*array)[i], name + " item " + std::to_string(i + 1), &item, diagnostics);
        target->items.push_back(item);
    }
}

void unknownKey(const toml::key& key, const std::string& where, Diagnostics* diagnostics) {
    addWarning(diagnostics, static_cast<int>(key.source().begin.line),
               "unknown key '" + std::string(key.str()) + "'" + where + " is ignored");
}

bool isQuizKey(std::string_view name) {
    static const char* const KEYS[] = {"kind",     "title",  "author",     "description", "slots",
                                       "captions", "reveal", "background", "codes"};
    for (const char* key : KEYS) {
        if (name == key) return true;
    }
    return false;
}

void readQuestion(const toml::table& table, int number, QuestionSource* question, Diagnostics* diagnostics) {
    question->line = lineOf(table);
    const std::string prefix = "question " + std::to_string(number) + ": ";
    for (const auto& [key, node] : table) {
        const std::string_view name = key.str();
        const std::string label = prefix + std::string(name);
        if (name == "text") {
            readText(node, label, &question->text, diagnostics);
        } else if (name == "answer") {
            readText(node, label, &question->answer, diagnostics);
        } else if (name == "answer2") {
            readText(node, label, &question->answer2, diagnostics);
        } else if (name == "comment") {
            readText(node, label, &question->comment, diagnostics);
        } else if (name == "media") {
            readText(node, label, &question->media, diagnostics);
        } else if (name == "answer_picture") {
            readText(node, label, &question->answerPicture, diagnostics);
        } else if (isQuizKey(name)) {
            // TOML puts every key below a [[questions]] line into that question.
            addWarning(diagnostics, static_cast<int>(key.source().begin.line),
                       "'" + std::string(name) + "' stands below [[questions]], so it belongs to question " +
                           std::to_string(number) + " and is ignored; move it above the first [[questions]]");
        } else {
            unknownKey(key, " in question " + std::to_string(number), diagnostics);
        }
    }
}

void readQuestions(const toml::node& node, QuizSource* source, Diagnostics* diagnostics) {
    source->questionsGiven = true;
    source->questionsLine = lineOf(node);
    const toml::array* array = node.as_array();
    if (!array || !array->is_array_of_tables()) {
        addError(diagnostics, lineOf(node),
                 "questions must be tables, each starting with a line [[questions]]");
        source->questionsWrongType = true;
        return;
    }
    for (std::size_t i = 0; i < array->size(); ++i) {
        QuestionSource question;
        readQuestion(*(*array)[i].as_table(), static_cast<int>(i + 1), &question, diagnostics);
        source->questions.push_back(question);
    }
}

}  // namespace

bool readManifest(const std::string& text, QuizSource* source, Diagnostics* diagnostics) {
    *source = QuizSource();
    toml::parse_result parsed = toml::parse(std::string_view(text), std::string_view(MANIFEST_NAME));
    if (!parsed) {
        const toml::parse_error& error = parsed.error();
        addError(diagnostics, static_cast<int>(error.source().begin.line),
                 "not valid TOML: " + std::string(error.description()));
        return false;
    }
    const toml::table& table = parsed.table();
    for (const auto& [key, node] : table) {
        const std::string_view name = key.str();
        if (name == "kind") {
            readText(node, "kind", &source->kind, diagnostics);
        } else if (name == "title") {
            readText(node, "title", &source->title, diagnostics);
        } else if (name == "author") {
            readText(node, "author", &source->author, diagnostics);
        } else if (name == "description") {
            readText(node, "description", &source->description, diagnostics);
        } else if (name == "slots") {
            readInteger(node, "slots", &source->slots, diagnostics);
        } else if (name == "captions") {
            readTextList(node, "captions", &source->captions, diagnostics);
        } else if (name == "reveal") {
            readText(node, "reveal", &source->reveal, diagnostics);
        } else if (name == "background") {
            readText(node, "background", &source->background, diagnostics);
        } else if (name == "codes") {
            readTextList(node, "codes", &source->codes, diagnostics);
        } else if (name == "questions") {
            readQuestions(node, source, diagnostics);
        } else {
            unknownKey(key, "", diagnostics);
        }
    }
    return true;
}
