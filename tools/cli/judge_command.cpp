// Judging answers with the player's matcher, from the command line or line by line.
#include "tools/cli/judge_command.h"

#include <istream>
#include <ostream>

#include "checking/matcher.h"
#include "content/quiz_format.h"
#include "tools/cli/commands.h"
#include "tools/cli/help_texts.h"
#include "tools/support/cp1252.h"
#include "tools/support/text.h"

namespace {

// Turns a UTF-8 text into the code page 1252 bytes the player would hold. what names the text in
// the error ("typed answer", "line 3, expected answer").
bool toPlayerText(const std::string& utf8, const std::string& what, std::string* text,
                  std::string* error) {
    // The matcher works on zero-terminated strings: a NUL would silently end the text early.
    const std::size_t nul = utf8.find('\0');
    if (nul != std::string::npos) {
        *error = what + ": U+0000 (NUL) at offset " + std::to_string(nul) + " cannot be judged";
        return false;
    }
    TextConversion converted = utf8ToCp1252(utf8);
    if (!converted.ok) {
        *error = what + ": " + converted.error;
        return false;
    }
    *text = converted.text;
    // The player judges at most a text slot's worth of an answer, typed or expected.
    if (text->size() > static_cast<std::size_t>(TEXT_MAX_LENGTH)) text->resize(TEXT_MAX_LENGTH);
    return true;
}

// Judges one pair and prints the verdict in UTF-8. Returns an exit status.
int judgeOne(const std::string& expectedUtf8, const std::string& typedUtf8,
             const std::string& where, std::ostream& out, std::ostream& err) {
    std::string expected, typed, error;
    if (!toPlayerText(expectedUtf8, where + "expected answer", &expected, &error) ||
        !toPlayerText(typedUtf8, where + "typed answer", &typed, &error)) {
        err << "trivo-make judge: " << error << "\n";
        return TOOL_EXIT_USAGE;
    }
    const TextConversion verdict = cp1252ToUtf8(matchAnswer(expected.c_str(), typed.c_str()));
    if (!verdict.ok) {
        err << "trivo-make judge: verdict: " << verdict.error << "\n";
        return TOOL_EXIT_FAILED;
    }
    out << verdict.text << "\n";
    return TOOL_EXIT_OK;
}

// A judge line holds two answers of at most 259 characters each, a few bytes each in UTF-8: far
// less than this. A longer line, or one that never ends (/dev/zero), is refused, not held whole.
constexpr std::size_t JUDGE_LINE_LIMIT = 8192;

// Reads a line without its line feed; false at the end of the input. *tooLong when the line goes on
// past the limit: the rest of it is left unread.
bool readJudgeLine(std::istream& in, std::string* line, bool* tooLong) {
    line->clear();
    *tooLong = false;
    bool any = false;
    for (int c; (c = in.get()) != std::istream::traits_type::eof();) {
        any = true;
        if (c == '\n') return true;
        if (line->size() == JUDGE_LINE_LIMIT) {
            *tooLong = true;
            return true;
        }
        line->push_back(static_cast<char>(c));
    }
    return any;
}

int judgeLines(std::istream& in, std::ostream& out, std::ostream& err) {
    std::string line;
    long lineNumber = 0;
    bool tooLong = false;
    while (readJudgeLine(in, &line, &tooLong)) {
        ++lineNumber;
        if (tooLong) {
            usageError(err, "trivo-make judge",
                       "line " + std::to_string(lineNumber) + " is longer than " + std::to_string(JUDGE_LINE_LIMIT) +
                           " bytes; a line holds two answers of at most " + std::to_string(TEXT_MAX_LENGTH) +
                           " characters each");
            return TOOL_EXIT_USAGE;
        }
        const std::string where = "line " + std::to_string(lineNumber) + ", ";
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // Notepad and other Windows editors start UTF-8 files with a byte order mark.
        if (lineNumber == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos || line.find('\t', tab + 1) != std::string::npos) {
            usageError(err, "trivo-make judge",
                       "line " + std::to_string(lineNumber) +
                           (tab == std::string::npos ? " has no TAB" : " has more than one TAB") +
                           " between the expected and the typed answer");
            return TOOL_EXIT_USAGE;
        }
        const int status = judgeOne(line.substr(0, tab), line.substr(tab + 1), where, out, err);
        if (status != TOOL_EXIT_OK) return status;
    }
    if (in.bad()) {
        err << "trivo-make judge: cannot read standard input after line " << lineNumber << "\n";
        return TOOL_EXIT_FAILED;
    }
    return TOOL_EXIT_OK;
}

}  // namespace

int runJudge(const Args& args, std::istream& in, std::ostream& out, std::ostream& err) {
    if (args.size() == 1 && isHelpOption(args[0])) {
        out << JUDGE_HELP;
        return TOOL_EXIT_OK;
    }
    if (args.empty()) return judgeLines(in, out, err);
    if (args.size() != 2) {
        usageError(err, "trivo-make judge",
                   "needs EXPECTED and TYPED (or no argument, to read lines), got " + plural(args.size(), "argument"));
        return TOOL_EXIT_USAGE;
    }
    return judgeOne(args[0], args[1], "", out, err);
}
