// trivo-make: code page 1252 conversion and the commands run in-process.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <iconv.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tools/cli/commands.h"
#include "tools/support/cp1252.h"

namespace {

const unsigned char UNDEFINED_BYTES[] = {0x81, 0x8D, 0x8F, 0x90, 0x9D};

bool isUndefined(int byte) {
    for (unsigned char b : UNDEFINED_BYTES) {
        if (b == byte) return true;
    }
    return false;
}

// glibc's own CP1252 table, as an independent reference. Empty with ok == false when it refuses.
std::string iconvCp1252ToUtf8(unsigned char byte, bool* ok) {
    iconv_t cd = iconv_open("UTF-8", "CP1252");
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
    char in[1] = {static_cast<char>(byte)};
    char out[8];
    char* inPtr = in;
    char* outPtr = out;
    size_t inLeft = 1, outLeft = sizeof out;
    *ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1);
    iconv_close(cd);
    return *ok ? std::string(out, outPtr) : std::string();
}

std::string utf8Of(uint32_t codePoint) {
    std::string text;
    appendUtf8(codePoint, &text);
    return text;
}

// ---- Code page 1252 ----------------------------------------------------------------------------

TEST(Cp1252Table, EveryDefinedByteMatchesReferenceAndRoundTrips) {
    int defined = 0;
    for (int byte = 0; byte < 256; ++byte) {
        SCOPED_TRACE(byte);
        bool referenceOk = false;
        const std::string reference =
            iconvCp1252ToUtf8(static_cast<unsigned char>(byte), &referenceOk);
        const TextConversion toUtf8 = cp1252ToUtf8(std::string(1, static_cast<char>(byte)));
        ASSERT_EQ(toUtf8.ok, !isUndefined(byte));
        ASSERT_EQ(referenceOk, toUtf8.ok);
        if (!toUtf8.ok) continue;
        ++defined;
        EXPECT_EQ(toUtf8.text, reference);
        const TextConversion back = utf8ToCp1252(toUtf8.text);
        ASSERT_TRUE(back.ok) << back.error;
        EXPECT_EQ(back.text, std::string(1, static_cast<char>(byte)));
    }
    EXPECT_EQ(defined, 251);
}

TEST(Cp1252Table, TypographicCharactersMapToTheirBytes) {
    // right quote, oe ligature, a grave, euro sign, ellipsis
    const TextConversion sentence =
        utf8ToCp1252("l\xE2\x80\x99\xC5\x93uvre \xC3\xA0 5 \xE2\x82\xAC\xE2\x80\xA6");
    ASSERT_TRUE(sentence.ok);
    EXPECT_EQ(sentence.text, "l\x92\x9Cuvre \xE0 5 \x80\x85");
    EXPECT_EQ(cp1252ToUtf8(sentence.text).text,
              "l\xE2\x80\x99\xC5\x93uvre \xC3\xA0 5 \xE2\x82\xAC\xE2\x80\xA6");
}

TEST(Cp1252Table, ExactlyTheCodePageCharactersConvertAndNeverToAnUndefinedByte) {
    std::set<unsigned char> bytes;
    int converted = 0;
    for (uint32_t codePoint = 0; codePoint <= 0x10FFFF; ++codePoint) {
        if (codePoint >= 0xD800 && codePoint <= 0xDFFF) continue;
        const TextConversion result = utf8ToCp1252(utf8Of(codePoint));
        if (!result.ok) continue;
        ++converted;
        ASSERT_EQ(result.text.size(), 1u) << codePoint;
        bytes.insert(static_cast<unsigned char>(result.text[0]));
    }
    EXPECT_EQ(converted, 251);
    EXPECT_EQ(bytes.size(), 251u);
    for (unsigned char b : UNDEFINED_BYTES) EXPECT_EQ(bytes.count(b), 0u) << int(b);
}

TEST(Cp1252Table, UndefinedBytesAreRefusedByName) {
    const TextConversion result = cp1252ToUtf8("ab\x81");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.text, "");
    EXPECT_EQ(result.error, "byte 0x81 at offset 2 is undefined in code page 1252");
    EXPECT_EQ(cp1252ToUtf8("\x9D").error, "byte 0x9D at offset 0 is undefined in code page 1252");
}

TEST(Cp1252Errors, CharactersOutsideTheCodePageAreNamed) {
    const struct {
        const char* utf8;
        const char* error;
    } cases[] = {
        {"\xE4\xB8\xAD", "U+4E2D '\xE4\xB8\xAD' at offset 0 is not in code page 1252"},
        {"\xF0\x9F\x98\x80", "U+1F600 '\xF0\x9F\x98\x80' at offset 0 is not in code page 1252"},
        {"e\xCC\x81",
         "U+0301 '\xCC\x81' at offset 1 is not in code page 1252"},  // decomposed e acute
        // The first and last code point of each sequence length that is outside the code page.
        {"\xDF\xBF", "U+07FF '\xDF\xBF' at offset 0 is not in code page 1252"},
        {"\xE0\xA0\x80", "U+0800 '\xE0\xA0\x80' at offset 0 is not in code page 1252"},
        {"\xEF\xBF\xBF", "U+FFFF '\xEF\xBF\xBF' at offset 0 is not in code page 1252"},
        {"\xF0\x90\x80\x80", "U+10000 '\xF0\x90\x80\x80' at offset 0 is not in code page 1252"},
        {"\xF4\x8F\xBF\xBF", "U+10FFFF '\xF4\x8F\xBF\xBF' at offset 0 is not in code page 1252"},
        // The C1 controls share numbers with the code page's 0x80-0x9F bytes but are not its
        // characters.
        {"\xC2\x81", "U+0081 at offset 0 is not in code page 1252"},
        {"\xC2\x9C", "U+009C at offset 0 is not in code page 1252"},
    };
    for (const auto& c : cases) {
        const TextConversion result = utf8ToCp1252(c.utf8);
        EXPECT_FALSE(result.ok) << c.utf8;
        EXPECT_EQ(result.text, "");
        EXPECT_EQ(result.error, c.error);
    }
}

TEST(Cp1252Errors, MalformedUtf8IsRefusedWithTheByteAndOffset) {
    const struct {
        std::string utf8;
        const char* error;
    } cases[] = {
        {"abc\xFF", "invalid UTF-8 byte 0xFF at offset 3"},
        {"\x80", "invalid UTF-8 byte 0x80 at offset 0"},              // stray continuation
        {"\xC0\xAF", "invalid UTF-8 byte 0xC0 at offset 0"},          // overlong '/'
        {"\xE0\x80\xAF", "invalid UTF-8 byte 0x80 at offset 1"},      // overlong, 3 bytes
        {"\xF0\x8F\xBF\xBF", "invalid UTF-8 byte 0x8F at offset 1"},  // overlong, 4 bytes
        {"\xED\xA0\x80", "invalid UTF-8 byte 0xA0 at offset 1"},      // surrogate
        {"\xF4\x90\x80\x80", "invalid UTF-8 byte 0x90 at offset 1"},  // above U+10FFFF
        {"\xC3(", "invalid UTF-8 byte 0x28 at offset 1"},
        {"x\xC3", "incomplete UTF-8 sequence at offset 1 (lead byte 0xC3)"},
        {"\xE2\x82", "incomplete UTF-8 sequence at offset 0 (lead byte 0xE2)"},
        {std::string("a\0\xFE", 3), "invalid UTF-8 byte 0xFE at offset 2"},
    };
    for (const auto& c : cases) {
        const TextConversion result = utf8ToCp1252(c.utf8);
        EXPECT_FALSE(result.ok) << c.error;
        EXPECT_EQ(result.text, "");
        EXPECT_EQ(result.error, c.error);
    }
}

// ---- Commands in-process -----------------------------------------------------------------------

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

ToolRun run(const std::vector<std::string>& args, const std::string& input = std::string()) {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = runTrivoMake(args, in, out, err);
    return ToolRun{status, out.str(), err.str()};
}

const char* const SIMILAR_UTF8 =
    "yade lid\xC3\xA9"
    "e\n";

TEST(JudgeArguments, PrintsTheMatcherVerdictInUtf8) {
    const struct {
        const char* expected;
        const char* typed;
        const char* verdict;
    } cases[] = {
        {"TOUR EIFFEL", "tour eif", "Trop court\n"},
        {"Paris", "  paris  ", "BRAVO\n"},
        {"Paris", "   ", "?\n"},
        {"ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMXYZ", SIMILAR_UTF8},
        // Accented letters are not folded: e acute against E acute stays two edits.
        {"\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89", "Presque\n"},
        {"\xC3\x89T\xC3\x89", "\xC3\x89t\xC3\x89", "BRAVO\n"},
    };
    for (const auto& c : cases) {
        const ToolRun r = run({"judge", c.expected, c.typed});
        EXPECT_EQ(r.status, TOOL_EXIT_OK) << c.expected << " / " << c.typed;
        EXPECT_EQ(r.out, c.verdict) << c.expected << " / " << c.typed;
        EXPECT_EQ(r.err, "");
    }
}

TEST(JudgeArguments, JudgesCodePageBytesNotUtf8Bytes) {
    // One character each in code page 1252: one edit. As UTF-8 bytes it would be three.
    EXPECT_EQ(run({"judge", "\xE2\x82\xACuro", "euro"}).out, "Quasiment\n");
    EXPECT_EQ(run({"judge", "\xC5\x93uvre", "\xC5\x92UVRE"}).out, "Quasiment\n");
}

TEST(JudgeArguments, JudgesOnlyTheFirst259Characters) {
    const std::string a259(259, 'A'), a300(300, 'A');
    EXPECT_EQ(run({"judge", a300, a259}).out, "BRAVO\n");
    EXPECT_EQ(run({"judge", a259, a300}).out, "BRAVO\n");
    // The cut counts code page characters, not UTF-8 bytes.
    std::string accents;
    for (int i = 0; i < 259; ++i) accents += "\xC3\xA9";
    EXPECT_EQ(run({"judge", accents, accents + "X"}).out, "BRAVO\n");
    EXPECT_EQ(run({"judge", accents.substr(0, 2 * 258) + "X", accents}).out, "Quasiment\n");
}

TEST(JudgeArguments, UnconvertibleTextIsAUsageErrorNamingIt) {
    ToolRun r = run({"judge", "\xE4\xB8\xAD", "x"});
    EXPECT_EQ(r.status, TOOL_EXIT_USAGE);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err,
              "trivo-make judge: expected answer: U+4E2D '\xE4\xB8\xAD' at offset 0 is not in code "
              "page 1252\n");

    r = run({"judge", "Paris", "Pa\xFFris"});
    EXPECT_EQ(r.status, TOOL_EXIT_USAGE);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "trivo-make judge: typed answer: invalid UTF-8 byte 0xFF at offset 2\n");
}

TEST(JudgeArguments, HelpOptionOnlyAlone) {
    // With two arguments "-h" is an answer like any other.
    const ToolRun r = run({"judge", "-h", "-h"});
    EXPECT_EQ(r.status, TOOL_EXIT_OK);
    EXPECT_EQ(r.out, "BRAVO\n");
}

TEST(JudgeLines, OneVerdictPerLine) {
    const ToolRun r = run({"judge"},
                          "TOUR EIFFEL\ttour eif\r\n"
                          "Paris\tparis\n"
                          "\xC3\xA9t\xC3\xA9\t\xC3\x89T\xC3\x89\n"
                          "Paris\t\n"
                          "ABCDEFGHIJKLMNOP\tABCDEFGHIJKLMXYZ");  // no newline at the end
    EXPECT_EQ(r.status, TOOL_EXIT_OK);
    EXPECT_EQ(r.out, std::string("Trop court\nBRAVO\nPresque\n?\n") + SIMILAR_UTF8);
    EXPECT_EQ(r.err, "");
}

TEST(JudgeLines, ByteOrderMarkAndEmptyInput) {
    ToolRun r = run({"judge"}, "\xEF\xBB\xBFParis\tParis\r\n");
    EXPECT_EQ(r.status, TOOL_EXIT_OK);
    EXPECT_EQ(r.out, "BRAVO\n");
    r = run({"judge"}, "");
    EXPECT_EQ(r.status, TOOL_EXIT_OK);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
}

TEST(JudgeLines, MalformedLinesStopWithTheLineNumber) {
    const std::string noTab =
        " has no TAB between the expected and the typed answer; see 'trivo-make judge --help'\n";
    const struct {
        std::string input, out, err;
    } cases[] = {
        {"Paris\tParis\nParis Paris\nx\tx\n", "BRAVO\n", "trivo-make judge: line 2" + noTab},
        {"\n", "", "trivo-make judge: line 1" + noTab},
        {"a\tb\tc\n", "",
         "trivo-make judge: line 1 has more than one TAB between the expected and the typed "
         "answer; see "
         "'trivo-make judge --help'\n"},
        {"a\ta\nb\tb\nParis\tx\xE4\xB8\xAD\n", "BRAVO\nBRAVO\n",
         "trivo-make judge: line 3, typed answer: U+4E2D '\xE4\xB8\xAD' at offset 1 is not in code "
         "page 1252\n"},
        {std::string("Paris\tPar\0is\n", 13), "",
         "trivo-make judge: line 1, typed answer: U+0000 (NUL) at offset 3 cannot be judged\n"},
        // Only the first line may start with a byte order mark.
        {"a\ta\n\xEF\xBB\xBFParis\tParis\n", "BRAVO\n",
         "trivo-make judge: line 2, expected answer: U+FEFF '\xEF\xBB\xBF' at offset 0 is not in "
         "code page 1252\n"},
        // A line is never held whole past a few kilobytes, even one that never ends.
        {"Paris\tparis\n" + std::string(9000, 'x') + "\tx\n", "BRAVO\n",
         "trivo-make judge: line 2 is longer than 8192 bytes; a line holds two answers of at most 259 "
         "characters each; see 'trivo-make judge --help'\n"},
    };
    for (const auto& c : cases) {
        const ToolRun r = run({"judge"}, c.input);
        EXPECT_EQ(r.status, TOOL_EXIT_USAGE) << c.err;
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, c.err);
    }
}

TEST(Usage, HelpGoesToStandardOutput) {
    ToolRun r = run({"--help"});
    EXPECT_EQ(r.status, TOOL_EXIT_OK);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.rfind("trivo-make: authoring tool for Trivo quizzes.\n", 0), 0u);
    for (const char* command : {"  pack IN OUT", "  unpack IN OUT", "  judge EXPECTED TYPED"}) {
        EXPECT_NE(r.out.find(command), std::string::npos) << command;
    }
    EXPECT_EQ(run({"-h"}).out, r.out);

    const struct {
        const char* command;
        const char* firstLine;
    } commands[] = {
        {"pack", "Usage: trivo-make pack IN OUT\n"},
        {"unpack", "Usage: trivo-make unpack IN OUT\n"},
        {"judge", "Usage: trivo-make judge EXPECTED TYPED\n"},
    };
    for (const auto& c : commands) {
        for (const char* option : {"--help", "-h"}) {
            r = run({c.command, option});
            EXPECT_EQ(r.status, TOOL_EXIT_OK) << c.command << " " << option;
            EXPECT_EQ(r.err, "");
            EXPECT_EQ(r.out.rfind(c.firstLine, 0), 0u) << r.out;
        }
    }
}

TEST(Usage, ErrorsExitTwoAndPointToHelp) {
    const struct {
        std::vector<std::string> args;
        const char* err;
    } cases[] = {
        {{}, "trivo-make: no command given; see 'trivo-make --help'\n"},
        {{"frobnicate"}, "trivo-make: unknown command 'frobnicate'; see 'trivo-make --help'\n"},
        {{"--version"}, "trivo-make: unknown option '--version'; see 'trivo-make --help'\n"},
        {{"pack"},
         "trivo-make pack: needs IN and OUT, got 0 arguments; see 'trivo-make pack --help'\n"},
        {{"pack", "a"},
         "trivo-make pack: needs IN and OUT, got 1 argument; see 'trivo-make pack --help'\n"},
        {{"judge", "Paris"},
         "trivo-make judge: needs EXPECTED and TYPED (or no argument, to read lines), got 1 "
         "argument; see "
         "'trivo-make judge --help'\n"},
        {{"unpack", "a", "b", "c"},
         "trivo-make unpack: needs IN and OUT, got 3 arguments; see 'trivo-make unpack --help'\n"},
    };
    for (const auto& c : cases) {
        const ToolRun r = run(c.args);
        EXPECT_EQ(r.status, TOOL_EXIT_USAGE) << c.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.err);
    }
}

// ---- pack and unpack on files ------------------------------------------------------------------

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> filesIn(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Each test gets a scratch folder of its own.
struct CodecFiles : ::testing::Test {
    void SetUp() override {
        char pattern[] = "/tmp/trivo-tool-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    std::string path(const char* name) const { return (dir / name).string(); }
    std::filesystem::path dir;
};

const std::string PACKED_ABC("\x30\x98\x8C\x70\x00", 5);
// a, b, c as 9-bit literals then code 400, beyond the dictionary's next entry (261).
const std::string CORRUPT_STREAM("\x30\x98\x8C\x79\x00", 5);

TEST_F(CodecFiles, PackWritesTheStreamAndUnpackRestoresIt) {
    writeFile(path("in"), "abc");
    writeFile(path("out"), "previous contents");
    writeFile(path("out.tmp"), "a file of the user's");
    ToolRun r = run({"pack", path("in"), path("out")});
    EXPECT_EQ(r.status, TOOL_EXIT_OK);
    EXPECT_EQ(r.out + r.err, "");
    EXPECT_EQ(readFile(path("out")), PACKED_ABC);
    EXPECT_EQ(readFile(path("out.tmp")),
              "a file of the user's");  // the temporary took another name
    // IN may be OUT: it is read whole before anything is written.
    ASSERT_EQ(run({"unpack", path("out"), path("out")}).status, TOOL_EXIT_OK);
    EXPECT_EQ(readFile(path("out")), "abc");

    std::string text;
    for (int i = 0; i < 1500; ++i)
        text += "Quelle est la capitale de la France ?\r\n" + std::to_string(i % 7);
    ASSERT_EQ(text.size(), 60000u);
    writeFile(path("text"), text);
    ASSERT_EQ(run({"pack", path("text"), path("text.lzw")}).status, TOOL_EXIT_OK);
    EXPECT_LT(readFile(path("text.lzw")).size(), text.size() / 4);
    r = run({"unpack", path("text.lzw"), path("text.out")});
    EXPECT_EQ(r.status, TOOL_EXIT_OK);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(readFile(path("text.out")), text);
    EXPECT_EQ(filesIn(dir),
              (std::vector<std::string>{"in", "out", "out.tmp", "text", "text.lzw", "text.out"}));
}

TEST_F(CodecFiles, CodecFailureWritesNothingAndNamesTheStatus) {
    writeFile(path("bad"), CORRUPT_STREAM);
    writeFile(path("empty"), "");
    writeFile(path("big"), std::string(65536, 'x'));
    writeFile(path("huge"), "");
    std::filesystem::resize_file(path("huge"), TOOL_MAX_FILE_BYTES + 1);
    const struct {
        const char* command;
        const char* in;
        std::string err;
    } cases[] = {
        {"unpack", "bad", "trivo-make unpack: BadStream after 2 bytes\n"},
        {"pack", "empty", "trivo-make pack: NoInput\n"},
        {"unpack", "empty", "trivo-make unpack: NoInput after 0 bytes\n"},
        {"pack", "big",
         "trivo-make pack: NoMemory ('" + path("big") +
             "' has 65536 bytes; the codec takes at most 65535)\n"},
        {"unpack", "huge",
         "trivo-make unpack: '" + path("huge") +
             "' is larger than 16 MB; the codec takes at most 65535 bytes\n"},
    };
    for (const auto& c : cases) {
        const ToolRun r = run({c.command, path(c.in), path("out")});
        EXPECT_EQ(r.status, TOOL_EXIT_FAILED) << c.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.err);
    }
    EXPECT_EQ(filesIn(dir), (std::vector<std::string>{"bad", "big", "empty", "huge"}));
    // An existing OUT is left as it was.
    writeFile(path("out"), "old");
    EXPECT_EQ(run({"unpack", path("bad"), path("out")}).status, TOOL_EXIT_FAILED);
    EXPECT_EQ(readFile(path("out")), "old");
    // The largest input the codec takes goes through.
    writeFile(path("max"), std::string(65535, 'x'));
    EXPECT_EQ(run({"pack", path("max"), path("max.lzw")}).status, TOOL_EXIT_OK);
}

// Outputs that are not plain files: a link's file is written and the link stays, a pipe or device
// is written as it is, standard output is "-"; a link leading nowhere is refused.
TEST_F(CodecFiles, OutputsThatAreNotPlainFilesAreWrittenInPlace) {
    writeFile(path("in"), "abc");
    writeFile(path("target"), "old");
    std::filesystem::create_symlink("target", path("link"));
    std::filesystem::create_symlink("/dev/null", path("null"));
    std::filesystem::create_symlink("nowhere", path("dangling"));
    // As /dev/stdout is when standard output is a pipe: a link to a pipe, with no path to resolve to.
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    std::filesystem::create_symlink("/proc/self/fd/" + std::to_string(pipeEnds[1]), path("stdout"));
    for (const char* out : {"link", "null", "stdout"}) {
        const ToolRun r = run({"pack", path("in"), path(out)});
        EXPECT_EQ(r.status, TOOL_EXIT_OK) << out << ": " << r.err;
        EXPECT_TRUE(std::filesystem::is_symlink(path(out))) << out;
    }
    EXPECT_EQ(readFile(path("target")), PACKED_ABC);
    char piped[16] = {};
    EXPECT_EQ(read(pipeEnds[0], piped, sizeof piped), 5);
    EXPECT_EQ(std::string(piped, 5), PACKED_ABC);
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    ToolRun r = run({"pack", path("in"), "-"});
    EXPECT_EQ(r.status, TOOL_EXIT_OK);
    EXPECT_EQ(r.out, PACKED_ABC);
    r = run({"pack", path("in"), path("dangling")});
    EXPECT_EQ(r.status, TOOL_EXIT_FAILED);
    EXPECT_EQ(r.err, "trivo-make pack: cannot write '" + path("dangling") +
                         "': it is a link to a file that does not exist\n");
    EXPECT_EQ(std::filesystem::read_symlink(path("dangling")), "nowhere");
    EXPECT_EQ(filesIn(dir), (std::vector<std::string>{"dangling", "in", "link", "null", "stdout", "target"}));
}

TEST_F(CodecFiles, AReplacedFileKeepsItsPermissions) {
    writeFile(path("in"), "abc");
    writeFile(path("out"), "old");
    ASSERT_EQ(chmod(path("out").c_str(), 0751), 0);
    ASSERT_EQ(run({"pack", path("in"), path("out")}).status, TOOL_EXIT_OK);
    struct stat info;
    ASSERT_EQ(stat(path("out").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0751u);
}

TEST_F(CodecFiles, FileErrorsNameTheFileAndTheReason) {
    writeFile(path("in"), "abc");
    std::filesystem::create_directory(path("sub"));
    const struct {
        std::string in, out, err;
    } cases[] = {
        {path("missing"), path("out"),
         "cannot read '" + path("missing") + "': No such file or directory"},
        {dir.string(), path("out"), "cannot read '" + dir.string() + "': Is a directory"},
        {path("in"), path("no/dir"),
         "cannot write '" + path("no/dir") + "': No such file or directory"},
        {path("in"), path("sub"), "cannot write '" + path("sub") + "': Is a directory"},
    };
    for (const auto& c : cases) {
        const ToolRun r = run({"pack", c.in, c.out});
        EXPECT_EQ(r.status, TOOL_EXIT_FAILED) << c.err;
        EXPECT_EQ(r.err, "trivo-make pack: " + c.err + "\n");
    }
    EXPECT_EQ(filesIn(dir), (std::vector<std::string>{"in", "sub"}));
}

}  // namespace
