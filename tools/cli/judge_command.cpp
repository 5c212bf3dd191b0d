// Judging answers with the player's rules, from the command line or line by line.
#include "tools/cli/judge_command.h"

#include <algorithm>
#include <istream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "checking/accepted_answers.h"
#include "content/quiz_format.h"
#include "tools/cli/commands.h"
#include "tools/cli/help_texts.h"
#include "tools/quiz_folder/quiz_content.h"
#include "tools/support/cp1252.h"
#include "tools/support/files.h"
#include "tools/support/text.h"
#include "tools/support/translation.h"

namespace {

const char* const PREFIX = "trivo-make judge";

// Turns a UTF-8 text into the code page 1252 bytes the player would hold. what names the text in
// the error ("typed answer", "line 3, expected answer").
bool toPlayerText(const std::string& utf8, const std::string& what, std::string* text,
                  std::string* error) {
    // The matcher works on zero-terminated strings: a NUL would silently end the text early.
    const std::size_t nul = utf8.find('\0');
    if (nul != std::string::npos) {
        *error = fillIn(tr("{1}: U+0000 (NUL) at offset {2} cannot be judged"), what, nul);
        return false;
    }
    TextConversion converted = utf8ToCp1252(utf8);
    if (!converted.ok) {
        *error = fillIn(tr("{1}: {2}"), what, converted.error);
        return false;
    }
    *text = converted.text;
    // The player judges at most a text slot's worth of an answer, typed or expected.
    if (text->size() > static_cast<std::size_t>(TEXT_MAX_LENGTH)) text->resize(TEXT_MAX_LENGTH);
    return true;
}

// How messages name a text of the pair of line lineNumber of a list (0: of the command line).
std::string textName(long lineNumber, const std::string& what) {
    return lineNumber == 0 ? what : fillIn(tr("line {1}, {2}"), lineNumber, what);
}

// The answers a field accepts, written one after the other with the separator that no answer can
// hold ("AIX|AIX-EN-PROVENCE"), in the player's code page; false with *error when one cannot be.
bool toExpectedAnswers(const std::string& utf8, long lineNumber, std::vector<std::string>* answers,
                       std::string* error) {
    std::vector<std::string> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = utf8.find(FIELD_SEPARATOR, start);
        parts.push_back(utf8.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    if (parts.size() > static_cast<std::size_t>(ANSWERS_PER_FIELD)) {
        *error = fillIn(tr("{1}: {2} answers separated by \"|\"; a field accepts at most {3}"),
                        textName(lineNumber, tr("expected answer")), parts.size(), ANSWERS_PER_FIELD);
        return false;
    }
    answers->clear();
    for (std::size_t k = 0; k < parts.size(); ++k) {
        const std::string what = parts.size() > 1 ? fillIn(tr("expected answer {1}"), k + 1) : tr("expected answer");
        std::string answer;
        if (!toPlayerText(parts[k], textName(lineNumber, what), &answer, error)) return false;
        answers->push_back(answer);
    }
    return true;
}

// The verdict the player shows for typed in a field that accepts these answers.
const char* fieldVerdict(const std::vector<std::string>& answers, const std::string& typed, AccentRule accents) {
    Question node{};
    copyText(node.answer1, answers[0].c_str());
    // The others one after the other, each ended by a zero byte, as the loader leaves them.
    std::string others;
    for (std::size_t k = 1; k < answers.size(); ++k) others += answers[k] + '\0';
    node.otherAnswers[0] = others.c_str();
    node.otherAnswerCount[0] = static_cast<int32_t>(answers.size() - 1);
    return judgeAnswer(&node, 1, accents, typed.c_str());
}

// The verdict for one pair, in UTF-8; false with *error (and *status) when it cannot be judged.
// lineNumber: of the pair in a list, 0 for the command line's.
bool verdictOf(const std::string& expectedUtf8, const std::string& typedUtf8, AccentRule accents, long lineNumber,
               std::string* verdict, std::string* error, int* status) {
    std::vector<std::string> expected;
    std::string typed;
    *status = TOOL_EXIT_USAGE;
    if (!toExpectedAnswers(expectedUtf8, lineNumber, &expected, error) ||
        !toPlayerText(typedUtf8, textName(lineNumber, tr("typed answer")), &typed, error)) {
        return false;
    }
    const TextConversion converted = cp1252ToUtf8(fieldVerdict(expected, typed, accents));
    if (!converted.ok) {
        *error = fillIn(tr("verdict: {1}"), converted.error);
        *status = TOOL_EXIT_FAILED;
        return false;
    }
    *verdict = converted.text;
    return true;
}

// The verdict alone, or with --tsv the row EXPECTED<TAB>TYPED<TAB>VERDICT, the texts made safe to
// print (a TAB in an argument is escaped, so every row keeps three columns).
void printVerdict(const std::string& expected, const std::string& typed, const std::string& verdict, bool tsv,
                  std::ostream& out) {
    if (tsv) out << printable(expected) << "\t" << printable(typed) << "\t";
    out << verdict << "\n";
}

// A judge line holds two answers of at most 259 characters each, a few bytes each in UTF-8: far
// less than this. A longer line, or one that never ends (/dev/zero), is never held whole.
constexpr std::size_t JUDGE_LINE_LIMIT = 8192;

// Reads a line without its line feed; false at the end of the input. *tooLong when the line goes on
// past the limit: the rest of it is read and dropped.
bool readJudgeLine(std::istream& in, std::string* line, bool* tooLong) {
    line->clear();
    *tooLong = false;
    bool any = false;
    for (int c; (c = in.get()) != std::istream::traits_type::eof();) {
        any = true;
        if (c == '\n') return true;
        if (line->size() == JUDGE_LINE_LIMIT) {
            *tooLong = true;
            continue;
        }
        line->push_back(static_cast<char>(c));
    }
    return any;
}

// What is wrong with line lineNumber as a pair of answers; empty when it is one.
std::string lineProblem(const std::string& line, long lineNumber, bool tooLong) {
    if (tooLong) {
        return fillIn(tr("line {1} is longer than {2} bytes; a line holds two answers of at most {3} characters each"),
                      lineNumber, JUDGE_LINE_LIMIT, TEXT_MAX_LENGTH);
    }
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) return fillIn(tr("line {1} has no TAB between the expected and the typed answer"), lineNumber);
    if (line.find('\t', tab + 1) != std::string::npos)
        return fillIn(tr("line {1} has more than one TAB between the expected and the typed answer"), lineNumber);
    return "";
}

// Judges every line of in; a line that cannot be judged is reported and leaves an empty output line
// (no row with --tsv), so that the other lines are judged and keep their places.
int judgeLines(std::istream& in, bool tsv, AccentRule accents, std::ostream& out, std::ostream& err) {
    std::string line;
    long lineNumber = 0;
    bool tooLong = false;
    int status = TOOL_EXIT_OK;
    while (readJudgeLine(in, &line, &tooLong)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // Notepad and other Windows editors start UTF-8 files with a byte order mark.
        if (lineNumber == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
        // A Windows console in binary mode gives Ctrl-Z as a byte: the typist's end of input.
        if (line == "\x1A") break;
        const std::string problem = lineProblem(line, lineNumber, tooLong);
        std::string verdict, error;
        int lineStatus = TOOL_EXIT_USAGE;
        if (!problem.empty()) {
            usageError(err, PREFIX, problem);
        } else {
            const std::size_t tab = line.find('\t');
            const std::string expected = line.substr(0, tab), typed = line.substr(tab + 1);
            if (verdictOf(expected, typed, accents, lineNumber, &verdict, &error, &lineStatus)) {
                printVerdict(expected, typed, verdict, tsv, out);
                continue;
            }
            err << prefixed(PREFIX, error) << "\n";
        }
        if (!tsv) out << "\n";
        status = std::max(status, lineStatus);
    }
    if (in.bad()) {
        err << prefixed(PREFIX, fillIn(tr("cannot read the lines after line {1}"), lineNumber)) << "\n";
        return TOOL_EXIT_FAILED;
    }
    return status;
}

}  // namespace

int runJudge(const Args& args, std::istream& in, std::ostream& out, std::ostream& err) {
    if (args.size() == 1 && isHelpOption(args[0])) {
        out << tr(JUDGE_HELP);
        return TOOL_EXIT_OK;
    }
    // Answers may start with a dash ("-5"); only words of two dashes are options.
    Args rest = args;
    bool tsv = false;
    AccentRule accents = AccentRule::Exact;
    while (!rest.empty() && rest[0].size() > 2 && rest[0].compare(0, 2, "--") == 0) {
        const std::string option = rest[0];
        rest.erase(rest.begin());
        if (option == "--tsv") {
            tsv = true;
            continue;
        }
        if (option != "--accents" && option.compare(0, 10, "--accents=") != 0) {
            usageError(err, PREFIX, unknownName(NameKind::Option, option, {"--tsv", "--accents", "--help"}));
            return TOOL_EXIT_USAGE;
        }
        std::string rule;
        if (option != "--accents") {
            rule = option.substr(10);
        } else if (!rest.empty()) {
            rule = rest[0];
            rest.erase(rest.begin());
        }
        if (!parseAccentsName(rule, &accents)) {
            usageError(err, PREFIX, fillIn(tr("--accents takes exact or ignore, not {1}"), quotedText(rule)));
            return TOOL_EXIT_USAGE;
        }
    }
    if (!rest.empty() && rest[0] == "--") rest.erase(rest.begin());

    if (rest.size() == 2) {
        std::string verdict, error;
        int status = TOOL_EXIT_OK;
        if (!verdictOf(rest[0], rest[1], accents, 0, &verdict, &error, &status)) {
            err << prefixed(PREFIX, error) << "\n";
            return status;
        }
        printVerdict(rest[0], rest[1], verdict, tsv, out);
        return TOOL_EXIT_OK;
    }
    if (rest.size() > 2) {
        usageError(err, PREFIX, needsArguments(tr("EXPECTED and TYPED, or one LIST"), rest.size()));
        return TOOL_EXIT_USAGE;
    }
    if (rest.empty() && g_standardInputIsTerminal) {
        usageError(err, PREFIX,
                   tr("give EXPECTED and TYPED, or a LIST of lines EXPECTED<TAB>TYPED (- to type them here)"));
        return TOOL_EXIT_USAGE;
    }
    if (rest.empty() || rest[0] == "-") return judgeLines(in, tsv, accents, out, err);
    std::vector<unsigned char> bytes;
    std::string error;
    if (!readInputFile(rest[0], in, TOOL_MAX_FILE_BYTES, "", &bytes, &error)) {
        err << prefixed(PREFIX, error) << "\n";
        return TOOL_EXIT_FAILED;
    }
    std::istringstream lines(std::string(bytes.begin(), bytes.end()));
    return judgeLines(lines, tsv, accents, out, err);
}
