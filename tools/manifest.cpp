// Reading quiz.toml with toml++ into a QuizSource. toml++ is header-only here and used by this file
// alone; it is built without exceptions, so a syntax error comes back as a parse result.
#include "tools/manifest.h"

#define TOML_EXCEPTIONS 0
#include <toml++/toml.h>

#include <algorithm>
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

// The most parts a dotted key or table name may have. toml++ builds one nested table per part and
// recurses through them, so a name of 150,000 parts overflows the stack; no quiz.toml key has more
// than two.
constexpr std::size_t MAX_KEY_PARTS = 32;

bool isBareKeyCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

// The end of the string that starts at text[at] (a quote), and the lines it spans counted in *line.
// Multi-line strings may end in up to two more quotes of their own; a single-line string ends at
// the end of its line if it is not closed (the parser reports that).
std::size_t stringEnd(const std::string& text, std::size_t at, int* line, bool* multiLine) {
    const char quote = text[at];
    const bool escapes = quote == '"';
    *multiLine = text.compare(at, 3, std::string(3, quote)) == 0;
    std::size_t i = at + (*multiLine ? 3 : 1);
    while (i < text.size()) {
        const char c = text[i];
        if (escapes && c == '\\') {
            i += 2;
            continue;
        }
        if (c == '\n') {
            if (!*multiLine) return i;
            ++*line;
        }
        if (c == quote && !*multiLine) return i + 1;
        if (c == quote && text.compare(i, 3, std::string(3, quote)) == 0) {
            std::size_t end = i + 3;
            while (end < text.size() && end < i + 5 && text[end] == quote) ++end;
            return end;
        }
        ++i;
    }
    return i;
}

// The line of the first dotted name (a key, a table header, or anything dotted outside strings and
// comments) of more than MAX_KEY_PARTS parts; 0 when there is none. A tolerant scan that agrees
// with the parser on valid TOML; whatever is not TOML is left to the parser to report.
int deepNameLine(const std::string& text) {
    int line = 1;
    std::size_t parts = 0;  // in the dotted name being read
    bool afterPart = false, afterDot = false;
    const auto part = [&]() {
        parts = afterDot ? parts + 1 : 1;
        afterDot = false;
        afterPart = true;
        return parts > MAX_KEY_PARTS;
    };
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (c == '"' || c == '\'') {
            const int startLine = line;
            bool multiLine = false;
            i = stringEnd(text, i, &line, &multiLine);
            if (multiLine) {
                afterPart = afterDot = false;  // never part of a key
            } else if (part()) {
                return startLine;
            }
        } else if (isBareKeyCharacter(c)) {
            while (i < text.size() && isBareKeyCharacter(text[i])) ++i;
            if (part()) return line;
        } else if (c == '.' && afterPart) {
            afterPart = false;
            afterDot = true;
            ++i;
        } else {
            if (c == '#') i = std::min(text.find('\n', i), text.size());
            if (i < text.size() && text[i] == '\n') ++line;
            afterPart = afterDot = false;
            ++i;
        }
    }
    return 0;
}

}  // namespace

bool readManifest(const std::string& text, QuizSource* source, Diagnostics* diagnostics) {
    *source = QuizSource();
    if (const int line = deepNameLine(text)) {
        addError(diagnostics, line,
                 "a dotted name of more than " + std::to_string(MAX_KEY_PARTS) +
                     " parts, which no quiz.toml needs");
        return false;
    }
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
