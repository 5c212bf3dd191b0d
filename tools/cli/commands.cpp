// trivo-make's commands: the dispatch, pack and unpack with the player's LZW codec, judge answers
// with its matcher. The quiz folder commands are in quiz_commands.cpp.
#include "tools/cli/commands.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <istream>
#include <ostream>
#include <system_error>

#include "checking/matcher.h"
#include "content/lzw.h"
#include "content/quiz_format.h"
#include "tools/cli/command_line.h"
#include "tools/support/cp1252.h"
#include "tools/cli/quiz_commands.h"
#include "tools/support/files.h"

namespace {

const char* const TOOL_HELP =
    "trivo-make: authoring tool for Trivo quizzes.\n"
    "\n"
    "Usage: trivo-make COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  new DIR --kind KIND    write a starter quiz folder (text, picture, audio or video)\n"
    "  check DIR              check a quiz folder and report every problem\n"
    "  build DIR -o OUT.exe   build the quiz program OUT.exe from a quiz folder\n"
    "  dump QUIZ.exe -o DIR   read a quiz program back into a quiz folder\n"
    "  pack IN OUT            pack the file IN with the player's LZW packer into OUT\n"
    "  unpack IN OUT          unpack the packed file IN into OUT\n"
    "  judge EXPECTED TYPED   print the verdict the player shows for TYPED\n"
    "  judge                  the same for each line EXPECTED<TAB>TYPED of standard input\n"
    "\n"
    "Run 'trivo-make COMMAND --help' for the details of a command.\n"
    "Exit status: 0 on success, 1 when the command fails, 2 on a usage error.\n";

const char* const PACK_HELP =
    "Usage: trivo-make pack IN OUT\n"
    "\n"
    "Packs the file IN with the LZW packer the player's PATCH resources use and writes OUT\n"
    "(- for standard output).\n"
    "The codec takes at most 65535 input bytes. On failure nothing is written, the status\n"
    "(NoInput, NoMemory, WriteFailed) is printed on standard error and the exit status is 1.\n";

const char* const UNPACK_HELP =
    "Usage: trivo-make unpack IN OUT\n"
    "\n"
    "Unpacks the packed file IN as the player does and writes OUT (- for standard output).\n"
    "On failure nothing is written; standard error names the status (NoInput, BadStream,\n"
    "NoMemory) and how many bytes were unpacked before it, and the exit status is 1.\n";

const char* const JUDGE_HELP =
    "Usage: trivo-make judge EXPECTED TYPED\n"
    "       trivo-make judge < LINES\n"
    "\n"
    "Prints the verdict word the player shows beside an answer field when TYPED is typed and\n"
    "EXPECTED is the expected answer: ?, BRAVO, Anagramme, Quasiment, Presque, Trop long,\n"
    "Trop court, pas loin, yade lid\xC3\xA9"
    "e or FAUX.\n"
    "Without arguments, reads lines EXPECTED<TAB>TYPED (exactly one TAB) from standard input\n"
    "and prints one verdict per line.\n"
    "Texts are UTF-8 and must consist of characters of Windows code page 1252, which the\n"
    "player uses; like the player, only their first 259 characters are judged.\n";

// ---- Files -----------------------------------------------------------------------------------

bool readWholeFile(const std::string& name, std::vector<unsigned char>* bytes, std::string* error) {
    return readFileBytes(nativePath(name), name, TOOL_MAX_FILE_BYTES,
                         "; the codec takes at most " + std::to_string(LZW_MAX_INPUT) + " bytes",
                         bytes, error);
}

// ---- pack and unpack ---------------------------------------------------------------------------

int runCodecCommand(const char* command, bool packing, const Args& args, std::ostream& out,
                    std::ostream& err) {
    const std::string prefix = std::string("trivo-make ") + command;
    if (args.size() == 1 && isHelpOption(args[0])) {
        out << (packing ? PACK_HELP : UNPACK_HELP);
        return TOOL_EXIT_OK;
    }
    if (args.size() != 2) {
        usageError(err, prefix,
                   "needs IN and OUT, got " + std::to_string(args.size()) + " argument" +
                       (args.size() == 1 ? "" : "s"));
        return TOOL_EXIT_USAGE;
    }
    std::vector<unsigned char> input;
    std::string error;
    if (!readWholeFile(args[0], &input, &error)) {
        err << prefix << ": " << error << "\n";
        return TOOL_EXIT_FAILED;
    }
    // The codec checks the length itself (NoInput, NoMemory); it only needs a valid pointer.
    static const unsigned char noBytes[1] = {0};
    const unsigned char* inputBytes = input.empty() ? noBytes : input.data();
    const int32_t inputLength = static_cast<int32_t>(input.size());
    unsigned char* output = nullptr;
    int32_t outputLength = 0;
    const LzwStatus status = packing ? lzwEncode(inputBytes, inputLength, &output, &outputLength)
                                     : lzwDecode(inputBytes, inputLength, &output, &outputLength);
    if (status != LzwStatus::Ok) {
        std::free(output);
        err << prefix << ": " << lzwStatusName(status);
        if (!packing) err << " after " << outputLength << (outputLength == 1 ? " byte" : " bytes");
        if (inputLength > LZW_MAX_INPUT) {
            err << " (" << quoted(args[0]) << " has " << inputLength
                << " bytes; the codec takes at most " << LZW_MAX_INPUT << ")";
        }
        err << "\n";
        return TOOL_EXIT_FAILED;
    }
    const bool written = writeOutputFile(args[1], output, static_cast<std::size_t>(outputLength), out, &error);
    std::free(output);
    if (!written) {
        err << prefix << ": " << error << "\n";
        return TOOL_EXIT_FAILED;
    }
    return TOOL_EXIT_OK;
}

int runPack(const Args& args, std::istream&, std::ostream& out, std::ostream& err) {
    return runCodecCommand("pack", true, args, out, err);
}

int runUnpack(const Args& args, std::istream&, std::ostream& out, std::ostream& err) {
    return runCodecCommand("unpack", false, args, out, err);
}

// ---- judge -------------------------------------------------------------------------------------

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

int runJudge(const Args& args, std::istream& in, std::ostream& out, std::ostream& err) {
    if (args.size() == 1 && isHelpOption(args[0])) {
        out << JUDGE_HELP;
        return TOOL_EXIT_OK;
    }
    if (args.empty()) return judgeLines(in, out, err);
    if (args.size() != 2) {
        usageError(err, "trivo-make judge",
                   "needs EXPECTED and TYPED (or no argument, to read lines), got " +
                       std::to_string(args.size()) + " argument" + (args.size() == 1 ? "" : "s"));
        return TOOL_EXIT_USAGE;
    }
    return judgeOne(args[0], args[1], "", out, err);
}

// ---- Dispatch ----------------------------------------------------------------------------------

struct Command {
    const char* name;
    int (*run)(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);
};

const Command COMMANDS[] = {
    {"new", runNew},
    {"check", runCheck},
    {"build", runBuild},
    {"dump", runDump},
    {"pack", runPack},
    {"unpack", runUnpack},
    {"judge", runJudge},
};

}  // namespace

int runTrivoMake(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                 std::ostream& err) {
    if (args.empty()) {
        usageError(err, "trivo-make", "no command given");
        return TOOL_EXIT_USAGE;
    }
    if (isHelpOption(args[0])) {
        out << TOOL_HELP;
        return TOOL_EXIT_OK;
    }
    for (const Command& command : COMMANDS) {
        if (args[0] == command.name) {
            return command.run(Args(args.begin() + 1, args.end()), in, out, err);
        }
    }
    const bool option = !args[0].empty() && args[0][0] == '-';
    usageError(err, "trivo-make",
               std::string(option ? "unknown option " : "unknown command ") + quoted(args[0]));
    return TOOL_EXIT_USAGE;
}
