// trivo-make's commands: pack and unpack with the player's LZW codec, judge answers with its
// matcher.
#include "tools/commands.h"

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
#include "tools/cp1252.h"

namespace {

// The player's text slots are 260-byte buffers: an expected answer holds at most 259 characters and
// a typed answer is read from its field with the same bound, so it never judges more than this.
constexpr std::size_t PLAYER_TEXT_LIMIT = 259;

typedef std::vector<std::string> Args;

const char* const TOOL_HELP =
    "trivo-make: authoring tool for Trivo quizzes.\n"
    "\n"
    "Usage: trivo-make COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
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
    "Packs the file IN with the LZW packer the player's PATCH resources use and writes OUT.\n"
    "The codec takes at most 65535 input bytes. On failure nothing is written, the status\n"
    "(NoInput, NoMemory, WriteFailed) is printed on standard error and the exit status is 1.\n";

const char* const UNPACK_HELP =
    "Usage: trivo-make unpack IN OUT\n"
    "\n"
    "Unpacks the packed file IN as the player does and writes OUT.\n"
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

void usageError(std::ostream& err, const std::string& prefix, const std::string& message) {
    err << prefix << ": " << message << "; see '" << prefix << " --help'\n";
}

bool isHelpOption(const std::string& arg) { return arg == "--help" || arg == "-h"; }

// ---- Files -----------------------------------------------------------------------------------

// Command-line names arrive in UTF-8 on both sides; Windows' narrow file functions would read them
// in the ANSI code page instead, so there the name goes through UTF-16.
std::filesystem::path nativePath(const std::string& utf8) {
#ifdef _WIN32
    std::wstring wide;
    std::size_t offset = 0;
    while (offset < utf8.size()) {
        uint32_t codePoint = 0;
        std::string ignored;
        if (!decodeUtf8Char(utf8, &offset, &codePoint, &ignored)) {
            codePoint =
                0xFFFD;  // cannot name an existing file; the open then fails with its reason
            ++offset;
        }
        if (codePoint >= 0x10000) {
            wide.push_back(static_cast<wchar_t>(0xD800 + ((codePoint - 0x10000) >> 10)));
            wide.push_back(static_cast<wchar_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF)));
        } else {
            wide.push_back(static_cast<wchar_t>(codePoint));
        }
    }
    return std::filesystem::path(wide);
#else
    return std::filesystem::path(utf8);
#endif
}

std::FILE* openBinary(const std::filesystem::path& path, bool forWriting) {
#ifdef _WIN32
    return _wfopen(path.c_str(), forWriting ? L"wb" : L"rb");
#else
    return std::fopen(path.c_str(), forWriting ? "wb" : "rb");
#endif
}

std::string quoted(const std::string& name) { return "'" + name + "'"; }

// Reads the whole file, refusing one above TOOL_MAX_FILE_BYTES. On failure *error is the message.
bool readWholeFile(const std::string& name, std::vector<unsigned char>* bytes, std::string* error) {
    std::FILE* file = openBinary(nativePath(name), false);
    if (!file) {
        *error = "cannot read " + quoted(name) + ": " + std::strerror(errno);
        return false;
    }
    bytes->clear();
    unsigned char chunk[65536];
    bool tooLarge = false;
    for (;;) {
        const std::size_t got = std::fread(chunk, 1, sizeof chunk, file);
        bytes->insert(bytes->end(), chunk, chunk + got);
        if (bytes->size() > static_cast<std::size_t>(TOOL_MAX_FILE_BYTES)) {
            tooLarge = true;
            break;
        }
        if (got < sizeof chunk) break;
    }
    const bool failed = std::ferror(file) != 0;
    const int readErrno = errno;
    std::fclose(file);
    if (tooLarge) {
        *error = quoted(name) + " is larger than " +
                 std::to_string(TOOL_MAX_FILE_BYTES / (1024 * 1024)) +
                 " MB; the codec takes at most " + std::to_string(LZW_MAX_INPUT) + " bytes";
        return false;
    }
    if (failed) {
        *error = "cannot read " + quoted(name) + ": " + std::strerror(readErrno);
        return false;
    }
    return true;
}

// A name beside the target that is not taken yet, so a stale file of the user's is never clobbered.
std::filesystem::path temporaryBeside(const std::filesystem::path& target) {
    for (int attempt = 0;; ++attempt) {
        std::filesystem::path candidate = target;
        candidate += attempt == 0 ? std::string(".tmp") : ".tmp" + std::to_string(attempt);
        std::error_code ec;
        const std::filesystem::file_status status = std::filesystem::symlink_status(candidate, ec);
        // none: the status cannot be read (no such folder, no access); opening it will say why.
        const bool taken = status.type() != std::filesystem::file_type::not_found &&
                           status.type() != std::filesystem::file_type::none;
        if (!taken || attempt == 1000) return candidate;
    }
}

// Writes OUT through a temporary file renamed over it at the end, so a failure never leaves a
// partial or empty OUT behind and an existing OUT is kept intact.
bool writeWholeFile(const std::string& name, const unsigned char* bytes, std::size_t size,
                    std::string* error) {
    const std::filesystem::path target = nativePath(name);
    const std::filesystem::path temporary = temporaryBeside(target);
    std::FILE* file = openBinary(temporary, true);
    if (!file) {
        *error = "cannot write " + quoted(name) + ": " + std::strerror(errno);
        return false;
    }
    const bool written = size == 0 || std::fwrite(bytes, 1, size, file) == size;
    const int writeErrno = errno;
    const bool closed = std::fclose(file) == 0;
    const int closeErrno = errno;
    std::error_code ec;
    if (!written || !closed) {
        std::filesystem::remove(temporary, ec);
        *error = "cannot write " + quoted(name) + ": " +
                 std::strerror(!written ? writeErrno : closeErrno);
        return false;
    }
    std::filesystem::rename(temporary, target, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        *error = "cannot write " + quoted(name) + ": " + ec.message();
        return false;
    }
    return true;
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
    const bool written =
        writeWholeFile(args[1], output, static_cast<std::size_t>(outputLength), &error);
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
    if (text->size() > PLAYER_TEXT_LIMIT) text->resize(PLAYER_TEXT_LIMIT);
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

int judgeLines(std::istream& in, std::ostream& out, std::ostream& err) {
    std::string line;
    long lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
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
