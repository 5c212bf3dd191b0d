// trivo-make's commands run in-process: judge, help and usage errors, pack and unpack with their
// files.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/native/tool_run.h"

namespace {

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

// Several accepted answers separated by "|", and --accents as quiz.toml's accents.
TEST(JudgeArguments, SeveralAnswersAndIgnoredAccents) {
    EXPECT_EQ(run({"judge", "AIX EN PROVENCE|AIX-EN-PROVENCE", "aix-en-provence"}).out, "BRAVO\n");
    EXPECT_EQ(run({"judge", "PARIS|LUTECE", "lutce"}).out, "Quasiment\n");
    EXPECT_EQ(run({"judge", "--accents", "ignore"}, "SAINT-\xC3\x89TIENNE\tsaint-etienne\n").out, "BRAVO\n");
    ToolRun r = run({"judge", "--accents=sans", "a", "a"});
    EXPECT_EQ(r.err, "trivo-make judge: --accents takes exact or ignore, not 'sans'; see 'trivo-make judge --help'\n");
    r = run({"judge", "a|b|c|d|e|f|g|h|i|j|k|l|m|n|o|p|q", "a"});
    EXPECT_EQ(r.err, "trivo-make judge: expected answer: 17 answers separated by \"|\"; a field accepts at most 16\n");
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

// A line that cannot be judged is reported with its number and leaves an empty output line, so
// that output line N still answers input line N; the other lines are judged, and the exit status
// says that one was not.
TEST(JudgeLines, MalformedLinesAreReportedAndTheOthersJudged) {
    const std::string noTab =
        " has no TAB between the expected and the typed answer; see 'trivo-make judge --help'\n";
    const struct {
        std::string input, out, err;
    } cases[] = {
        {"Paris\tParis\nParis Paris\nx\tx\n", "BRAVO\n\nBRAVO\n", "trivo-make judge: line 2" + noTab},
        {"\n", "\n", "trivo-make judge: line 1" + noTab},
        {"a\tb\tc\nPARIS\tparsi\n", "\nAnagramme\n",
         "trivo-make judge: line 1 has more than one TAB between the expected and the typed "
         "answer; see 'trivo-make judge --help'\n"},
        {"a\ta\nb\tb\nParis\tx\xE4\xB8\xAD\n", "BRAVO\nBRAVO\n\n",
         "trivo-make judge: line 3, typed answer: U+4E2D '\xE4\xB8\xAD' at offset 1 is not in code "
         "page 1252\n"},
        {std::string("Paris\tPar\0is\n", 13), "\n",
         "trivo-make judge: line 1, typed answer: U+0000 (NUL) at offset 3 cannot be judged\n"},
        // Only the first line may start with a byte order mark.
        {"a\ta\n\xEF\xBB\xBFParis\tParis\n", "BRAVO\n\n",
         "trivo-make judge: line 2, expected answer: U+FEFF '\xEF\xBB\xBF' at offset 0 is not in "
         "code page 1252\n"},
        // A line is never held whole past a few kilobytes: the rest of it is skipped, not judged.
        {"Paris\tparis\n" + std::string(9000, 'x') + "\tx\nRome\tROME", "BRAVO\n\nBRAVO\n",
         "trivo-make judge: line 2 is longer than 8192 bytes; a line holds two answers of at most 259 "
         "characters each; see 'trivo-make judge --help'\n"},
        {"a\tb\tc\nParis\t\n\nx\n", "\n?\n\n\n",
         "trivo-make judge: line 1 has more than one TAB between the expected and the typed answer; see "
         "'trivo-make judge --help'\n"
         "trivo-make judge: line 3" + noTab + "trivo-make judge: line 4" + noTab},
    };
    for (const auto& c : cases) {
        const ToolRun r = run({"judge"}, c.input);
        EXPECT_EQ(r.status, TOOL_EXIT_USAGE) << c.err;
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, c.err);
    }
}

// --tsv puts each verdict beside its two texts; a line that cannot be judged gives no row.
TEST(JudgeLines, TsvRowsNameTheirAnswers) {
    ToolRun r = run({"judge", "--tsv"}, "TOUR EIFFEL\ttour eif\r\nno tab\n\xC3\xA9t\xC3\xA9\t\n");
    EXPECT_EQ(r.status, TOOL_EXIT_USAGE);
    EXPECT_EQ(r.out, "TOUR EIFFEL\ttour eif\tTrop court\n\xC3\xA9t\xC3\xA9\t\t?\n");
    EXPECT_EQ(r.err, "trivo-make judge: line 2 has no TAB between the expected and the typed answer; see "
                     "'trivo-make judge --help'\n");
    // Two arguments make one row; a TAB or an escape in them cannot break the columns.
    r = run({"judge", "--tsv", "Pa\tris", "\x1B[2J"});
    EXPECT_EQ(r.status, TOOL_EXIT_OK);
    EXPECT_EQ(r.out, "Pa\\x09ris\t\\x1B[2J\tFAUX\n");
    r = run({"judge", "--tvs", "a", "b"});
    EXPECT_EQ(r.status, TOOL_EXIT_USAGE);
    EXPECT_EQ(r.err, "trivo-make judge: unknown option '--tvs'; did you mean '--tsv'?\n");
    // After --, and with a single dash, answers that look like options are judged.
    EXPECT_EQ(run({"judge", "--", "--tsv", "--TSV"}).out, "BRAVO\n");
    EXPECT_EQ(run({"judge", "-5", "-5"}).out, "BRAVO\n");
}

// With no argument on a terminal, judge says how to use it rather than wait; - reads the typist's
// lines all the same, up to a line of Ctrl-Z (how a Windows console ends its input).
TEST(JudgeLines, ATerminalGetsUsageUnlessDashIsGiven) {
    g_standardInputIsTerminal = true;
    ToolRun r = run({"judge"}, "Paris\tParis\n");
    EXPECT_EQ(r.status, TOOL_EXIT_USAGE);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "trivo-make judge: give EXPECTED and TYPED, or a LIST of lines EXPECTED<TAB>TYPED (- to type "
                     "them here); see 'trivo-make judge --help'\n");
    r = run({"judge", "-"}, "Paris\tParis\r\n\x1A\r\nRome\tx\n");
    g_standardInputIsTerminal = false;
    EXPECT_EQ(r.status, TOOL_EXIT_OK);
    EXPECT_EQ(r.out, "BRAVO\n");
    EXPECT_EQ(r.err, "");
}

TEST(Usage, HelpGoesToStandardOutput) {
    ToolRun r = run({"--help"});
    EXPECT_EQ(r.status, TOOL_EXIT_OK);
    EXPECT_EQ(r.err, "");
    // The GNU shape help2man reads: the usage lines first.
    EXPECT_EQ(r.out.rfind("Usage: trivo-make COMMAND [ARGUMENT]...\n", 0), 0u);
    for (const char* command : {"  pack IN OUT", "  unpack IN OUT", "  judge EXPECTED TYPED"}) {
        EXPECT_NE(r.out.find(command), std::string::npos) << command;
    }
    EXPECT_EQ(run({"-h"}).out, r.out);
    EXPECT_EQ(run({"help"}).out, r.out);

    const struct {
        const char* command;
        const char* firstLine;
    } commands[] = {
        {"pack", "Usage: trivo-make pack IN OUT\n"},
        {"unpack", "Usage: trivo-make unpack IN OUT\n"},
        {"judge", "Usage: trivo-make judge "},
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

// help COMMAND is COMMAND --help; every command's help has its options, examples and exit codes.
TEST(Usage, EveryCommandsHelpHasOptionsExamplesAndExitStatus) {
    const std::string tool = run({"--help"}).out;
    for (const char* command : {"new", "check", "play", "build", "dump", "judge", "pack", "unpack"}) {
        SCOPED_TRACE(command);
        EXPECT_NE(tool.find(std::string("\n  ") + command + " "), std::string::npos);
        const ToolRun r = run({"help", command});
        EXPECT_EQ(r.status, TOOL_EXIT_OK);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out, run({command, "--help"}).out);
        EXPECT_EQ(r.out.rfind(std::string("Usage: trivo-make ") + command + " ", 0), 0u);
        std::size_t at = 0;
        for (const char* section : {"\nOptions:\n  ", "\nExamples:\n  ", "\nExit status:\n  0  "}) {
            at = r.out.find(section, at);
            EXPECT_NE(at, std::string::npos) << section;
        }
    }
    const ToolRun r = run({"help", "chek"});
    EXPECT_EQ(r.status, TOOL_EXIT_USAGE);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "trivo-make help: unknown command 'chek'; did you mean 'check'?\n");
}

TEST(Usage, VersionIsTheProjectsVersion) {
    for (const char* option : {"--version", "-V"}) {
        const ToolRun r = run({option});
        EXPECT_EQ(r.status, TOOL_EXIT_OK);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out, std::string("trivo-make ") + PROJECT_VERSION + "\n");
    }
}

TEST(Usage, ErrorsExitTwoAndPointToHelp) {
    const struct {
        std::vector<std::string> args;
        const char* err;
    } cases[] = {
        {{}, "trivo-make: no command given; see 'trivo-make --help'\n"},
        {{"frobnicate"}, "trivo-make: unknown command 'frobnicate'; see 'trivo-make --help'\n"},
        {{"--verbose"}, "trivo-make: unknown option '--verbose'; see 'trivo-make --help'\n"},
        {{"pack"},
         "trivo-make pack: needs IN and OUT, got 0 arguments; see 'trivo-make pack --help'\n"},
        {{"pack", "a"},
         "trivo-make pack: needs IN and OUT, got 1 argument; see 'trivo-make pack --help'\n"},
        {{"judge", "Paris", "Rome", "Lyon"},
         "trivo-make judge: needs EXPECTED and TYPED, or one LIST, got 3 arguments; see 'trivo-make judge --help'\n"},
        {{"unpack", "a", "b", "c"},
         "trivo-make unpack: needs IN and OUT, got 3 arguments; see 'trivo-make unpack --help'\n"},
        {{"play"},
         "trivo-make play: needs one quiz folder DIR or program QUIZ.exe, got 0 names; see 'trivo-make play --help'\n"},
        // A close name is suggested instead.
        {{"chek", "quiz"}, "trivo-make: unknown command 'chek'; did you mean 'check'?\n"},
        {{"--verison"}, "trivo-make: unknown option '--verison'; did you mean '--version'?\n"},
        {{"build", "quiz", "--plyer", "p.exe"}, "trivo-make build: unknown option '--plyer'; did you mean '--player'?\n"},
        {{"new", "quiz", "--kinds", "text"}, "trivo-make new: unknown option '--kinds'; did you mean '--kind'?\n"},
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

// "-" is standard input where a file is read, as it is standard output where one is written.
TEST_F(CodecFiles, DashIsStandardInputAndOutput) {
    ToolRun r = run({"pack", "-", "-"}, "abc");
    EXPECT_EQ(r.status, TOOL_EXIT_OK);
    EXPECT_EQ(r.out, PACKED_ABC);
    ASSERT_EQ(run({"unpack", "-", path("out")}, PACKED_ABC).status, TOOL_EXIT_OK);
    EXPECT_EQ(readFile(path("out")), "abc");
    r = run({"pack", "-", path("big")}, std::string(65536, 'x'));
    EXPECT_EQ(r.status, TOOL_EXIT_FAILED);
    EXPECT_EQ(r.err, "trivo-make pack: NoMemory (standard input has 65536 bytes; the codec takes at most 65535)\n");
    // Standard input is never held whole past the limit.
    r = run({"unpack", "-", path("huge")}, std::string(TOOL_MAX_FILE_BYTES + 1, 'x'));
    EXPECT_EQ(r.status, TOOL_EXIT_FAILED);
    EXPECT_EQ(r.err, "trivo-make unpack: standard input is larger than 16 MB; the codec takes at most 65535 bytes\n");
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{"out"});
}

// judge LIST reads its lines from the file, - from standard input.
TEST_F(CodecFiles, JudgeReadsAListFile) {
    writeFile(path("answers.tsv"), "\xEF\xBB\xBFPARIS\tparsi\r\nROME\trome\r\n");
    ToolRun r = run({"judge", "--tsv", path("answers.tsv")}, "unread\tstandard input\n");
    EXPECT_EQ(r.status, TOOL_EXIT_OK);
    EXPECT_EQ(r.out, "PARIS\tparsi\tAnagramme\nROME\trome\tBRAVO\n");
    EXPECT_EQ(run({"judge", "-"}, "ROME\tROM\n").out, "Quasiment\n");
    r = run({"judge", path("missing")});
    EXPECT_EQ(r.status, TOOL_EXIT_FAILED);
    EXPECT_EQ(r.err, "trivo-make judge: cannot read '" + path("missing") + "': No such file or directory\n");
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
