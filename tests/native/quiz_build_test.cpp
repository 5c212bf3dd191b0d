// trivo-make new, build and dump as a user runs them (in-process): starter folders, the resources
// of a built program, rebuilding over a quiz program, the way back with dump for every sample quiz
// folder, and failures that must leave nothing behind.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "content/lzw.h"
#include "tests/native/quiz_folder_support.h"
#include "tests/native/tiny_pe.h"
#include "tests/native/tool_run.h"
#include "tools/pe/pe_resources.h"
#include "tools/quiz_folder/quiz_build.h"
#include "tools/quiz_folder/quiz_check.h"
#include "tools/quiz_folder/quiz_content.h"
#include "tools/quiz_folder/quiz_dump.h"
#include "tools/quiz_folder/starter.h"

namespace {

using namespace quiz_folder;
using Bytes = std::vector<uint8_t>;

// The quiz resources of a program: "PATCH 104", "IMG 401", ... with their bytes.
std::map<std::string, Bytes> quizResourcesOf(const Bytes& image) {
    std::vector<ResourceEntry> entries;
    std::string error;
    EXPECT_TRUE(readPeResources(image, &entries, &error)) << error;
    std::map<std::string, Bytes> found;
    for (const ResourceEntry& entry : entries) {
        if (!entry.type.isString) continue;
        const std::string name = entry.type.text + " " +
                                 (entry.name.isString ? entry.name.text : std::to_string(entry.name.number));
        EXPECT_EQ(found.count(name), 0u) << name << " twice";
        found[name] = entry.data;
    }
    return found;
}

std::vector<std::string> namesOf(const std::map<std::string, Bytes>& resources) {
    std::vector<std::string> names;
    for (const auto& resource : resources) names.push_back(resource.first);
    return names;
}

Bytes unpacked(const Bytes& packed) {
    unsigned char* output = nullptr;
    int32_t length = 0;
    const LzwStatus status = lzwDecode(packed.data(), static_cast<int32_t>(packed.size()), &output, &length);
    EXPECT_EQ(status, LzwStatus::Ok);
    Bytes bytes(output, output + (status == LzwStatus::Ok ? length : 0));
    std::free(output);
    return bytes;
}

Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Bytes packedBytes(const Bytes& plain) {
    unsigned char* output = nullptr;
    int32_t length = 0;
    EXPECT_EQ(lzwEncode(plain.data(), static_cast<int32_t>(plain.size()), &output, &length), LzwStatus::Ok);
    Bytes bytes(output, output + length);
    std::free(output);
    return bytes;
}

// The tiny player carrying content, as PATCH 104 and 105, and these IMG resources (name, bytes).
Bytes programOf(const QuizContent& content, const std::vector<std::pair<ResourceKey, Bytes>>& media = {}) {
    std::vector<ResourceEntry> entries(2);
    entries[0].type = entries[1].type = stringKey("PATCH");
    entries[0].name = numberKey(104);
    entries[0].data = packedBytes(encodeQuizContent(content));
    entries[1].name = numberKey(105);
    entries[1].data = packedBytes(encodeScoreCodes(content));
    for (const auto& item : media) {
        entries.emplace_back();
        entries.back().type = stringKey("IMG");
        entries.back().name = item.first;
        entries.back().data = item.second;
    }
    Bytes program;
    std::string error;
    EXPECT_TRUE(writePeResources(tiny_pe::tinyPeImage(), entries, &program, &error)) << error;
    return program;
}

// The comments of a starter quiz.toml are in French, like the quiz they start: none of their words
// is one of the English words that any English comment of it would hold.
void expectFrenchComments(const std::string& manifest) {
    const std::set<std::string> english = {"the", "and", "of", "is", "are", "with", "only", "each", "shown",
                                           "inside", "this", "to", "when", "what", "per", "its", "once"};
    std::istringstream lines(manifest);
    int words = 0;
    for (std::string line; std::getline(lines, line);) {
        // A comment starts a line, or follows a value after spaces; "#RRGGBB" is in a string.
        const std::size_t hash = line.compare(0, 1, "#") == 0 ? 0 : line.find("   # ");
        if (hash == std::string::npos) continue;
        std::string word;
        for (const char c : line.substr(hash) + " ") {
            if (std::isalpha(static_cast<unsigned char>(c)) || c == '\'') {
                word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                continue;
            }
            if (!word.empty()) ++words;
            EXPECT_EQ(english.count(word), 0u) << "English in: " << line;
            word.clear();
        }
    }
    EXPECT_GT(words, 200);
}

struct QuizPrograms : ScratchFolder {
    void SetUp() override {
        ScratchFolder::SetUp();
        const Bytes player = tiny_pe::tinyPeImage();
        writeFile(dir / "player.exe", std::string(player.begin(), player.end()));
    }
    ToolRun build(const std::string& folder, const std::string& output, const std::string& player = "") {
        return run({"build", folder, "-o", output, "--player", player.empty() ? path("player.exe") : player});
    }
    Bytes programBytes(const std::string& name) { return bytesOf(readFile(dir / name)); }
    void writeProgram(const std::string& name, const Bytes& program) {
        writeFile(dir / name, std::string(program.begin(), program.end()));
    }
    // A picture quiz of count questions, each with its picture and answer picture.
    void writePictureQuiz(const std::string& folder, int count) {
        std::string manifest = "kind = \"picture\"\ntitle = \"Quiz " + std::to_string(count) +
                               "\"\nreveal = \"picture\"\ncodes = [";
        for (int q = 1; q <= count; ++q) manifest += "\"C" + std::to_string(q) + "\", ";
        manifest += "]\n";
        for (int q = 1; q <= count; ++q) {
            const std::string n = std::to_string(q);
            manifest += "[[questions]]\nanswer = \"R" + n + "\"\nmedia = \"q" + n +
                        ".gif\"\nanswer_picture = \"a" + n + ".jpg\"\n";
            writeFile(dir / folder / ("q" + n + ".gif"), GIF + n);
            writeFile(dir / folder / ("a" + n + ".jpg"), JPEG + n);
        }
        writeFile(dir / folder / "quiz.toml", manifest);
    }
};

TEST_F(QuizPrograms, StarterFoldersOfEveryKindCheckCleanAndBuild) {
    const struct {
        const char* kind;
        std::vector<std::string> files;
        std::vector<std::string> resources;
    } cases[] = {
        {"text", {"quiz.toml"}, {"PATCH 104", "PATCH 105"}},
        {"picture",
         {"media/a1.gif", "media/a2.gif", "media/a3.gif", "media/q1.gif", "media/q2.gif", "media/q3.gif",
          "quiz.toml"},
         {"IMG 10401", "IMG 10402", "IMG 10403", "IMG 401", "IMG 402", "IMG 403", "PATCH 104", "PATCH 105"}},
        {"audio",
         {"media/q1.mp3", "media/q2.mp3", "media/q3.mp3", "quiz.toml"},
         {"IMG 401", "IMG 402", "IMG 403", "PATCH 104", "PATCH 105"}},
        {"video",
         {"media/q1.avi", "media/q2.avi", "media/q3.avi", "quiz.toml"},
         {"IMG 401", "IMG 402", "IMG 403", "PATCH 104", "PATCH 105"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        const std::string folder = path(c.kind);
        ToolRun r = run({"new", folder, "--kind", c.kind});
        EXPECT_EQ(r.status, TOOL_EXIT_OK);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out.rfind("wrote " + folder + ": a", 0), 0u) << r.out;
        EXPECT_EQ(filesUnder(folder), c.files);

        expectFrenchComments(readFile(dir / c.kind / "quiz.toml"));

        r = run({"check", folder});
        EXPECT_EQ(r.status, TOOL_EXIT_OK);
        EXPECT_EQ(r.out, folder + "/quiz.toml: 0 errors, 0 warnings (" + c.kind + " quiz, 3 questions, " +
                             std::to_string(c.files.size() - 1) + " media file" +
                             (c.files.size() == 2 ? "" : "s") + ")\n");

        const std::string program = path(std::string(c.kind) + ".exe");
        r = build(folder, program);
        EXPECT_EQ(r.status, TOOL_EXIT_OK) << r.err;
        EXPECT_EQ(r.err, "");
        const std::map<std::string, Bytes> resources =
            quizResourcesOf(programBytes(std::string(c.kind) + ".exe"));
        EXPECT_EQ(namesOf(resources), c.resources);
        // The codes of the starters, one line each.
        EXPECT_EQ(unpacked(resources.at("PATCH 105")), bytesOf("BRONZE\r\nARGENT\r\nOR\r\n"));
        if (std::string(c.kind) != "text") {
            EXPECT_EQ(resources.at("IMG 402"),
                      bytesOf(readFile(dir / c.kind / c.files[c.files.size() == 7 ? 4 : 1])));
        }
    }
    // The starter film is a well-formed AVI: RIFF size, 4 frames of 32 x 24 pixels.
    const Bytes film = starterFilm(0xD6, 0x28, 0x28);
    ASSERT_GT(film.size(), 12u);
    EXPECT_EQ(std::string(film.begin(), film.begin() + 4), "RIFF");
    EXPECT_EQ(film[4] | (film[5] << 8) | (film[6] << 16) | (film[7] << 24),
              static_cast<int>(film.size() - 8));
    EXPECT_EQ(std::string(film.begin() + 8, film.begin() + 12), "AVI ");
    EXPECT_EQ(film.size(), 9544u);
}

TEST_F(QuizPrograms, TheProgramKeepsThePlayersOwnResourcesAndAddsTheQuizInTheirLanguage) {
    writePictureQuiz("quiz", 2);
    const ToolRun r = build(path("quiz"), path("quiz.exe"));
    ASSERT_EQ(r.status, TOOL_EXIT_OK) << r.err;
    EXPECT_EQ(r.out, "wrote " + path("quiz.exe") + ": picture quiz, 2 questions, 4 media files\n");
    std::vector<ResourceEntry> entries;
    std::string error;
    ASSERT_TRUE(readPeResources(programBytes("quiz.exe"), &entries, &error)) << error;
    ASSERT_EQ(entries.size(), 7u);
    int own = 0;
    for (const ResourceEntry& entry : entries) {
        EXPECT_EQ(entry.language, tiny_pe::OWN_LANGUAGE);
        if (!entry.type.isString) {
            ++own;
            EXPECT_EQ(entry.type.number, tiny_pe::OWN_TYPE);
            EXPECT_EQ(entry.name.number, tiny_pe::OWN_NAME);
            EXPECT_EQ(entry.data, bytesOf(std::string("DLG\0", 4)));
        }
    }
    EXPECT_EQ(own, 1);
    const std::map<std::string, Bytes> resources = quizResourcesOf(programBytes("quiz.exe"));
    EXPECT_EQ(resources.at("IMG 401"), bytesOf(GIF + "1"));
    EXPECT_EQ(resources.at("IMG 10402"), bytesOf(JPEG + "2"));
    EXPECT_EQ(unpacked(resources.at("PATCH 104")),
              bytesOf(std::string("\x01\x02\x02\x01Quiz 2|||||R1||R2||\x01\xFF\xFF\xFF", 27)));
    EXPECT_EQ(unpacked(resources.at("PATCH 105")), bytesOf("C1\r\nC2\r\n"));
}

TEST_F(QuizPrograms, RebuildingOverAQuizProgramReplacesTheWholeQuiz) {
    writePictureQuiz("five", 5);
    writePictureQuiz("three", 3);
    ASSERT_EQ(build(path("five"), path("five.exe")).status, TOOL_EXIT_OK);
    const std::map<std::string, Bytes> before = quizResourcesOf(programBytes("five.exe"));
    EXPECT_EQ(before.count("IMG 405"), 1u);
    EXPECT_EQ(before.count("IMG 10405"), 1u);

    // The quiz program is the player, and the output: it is read whole before it is replaced.
    const ToolRun r = build(path("three"), path("five.exe"), path("five.exe"));
    ASSERT_EQ(r.status, TOOL_EXIT_OK) << r.err;
    const std::map<std::string, Bytes> after = quizResourcesOf(programBytes("five.exe"));
    EXPECT_EQ(namesOf(after), (std::vector<std::string>{"IMG 10401", "IMG 10402", "IMG 10403", "IMG 401",
                                                        "IMG 402", "IMG 403", "PATCH 104", "PATCH 105"}));
    EXPECT_EQ(unpacked(after.at("PATCH 105")), bytesOf("C1\r\nC2\r\nC3\r\n"));
    EXPECT_EQ(unpacked(after.at("PATCH 104"))[2], 3);
    std::vector<ResourceEntry> entries;
    std::string error;
    ASSERT_TRUE(readPeResources(programBytes("five.exe"), &entries, &error));
    EXPECT_EQ(entries.size(), 9u);  // the player's own resource is still there, once
    EXPECT_EQ(filesUnder(dir).size(), filesUnder(dir / "five").size() + filesUnder(dir / "three").size() + 2);
}

// Where 32-bit programs do not run, play moves a 32-bit program's quiz, every resource as it is, into
// the 64-bit player, whose own resources it keeps.
TEST_F(QuizPrograms, AQuizMovesIntoAnotherPlayerWhole) {
    writePictureQuiz("five", 5);
    ASSERT_EQ(build(path("five"), path("five.exe")).status, TOOL_EXIT_OK);
    const Bytes quizProgram = programBytes("five.exe");
    const Bytes player64 = tiny_pe::tinyPeImage({'O', 'W', 'N', '6', '4'}, true);
    Bytes moved;
    std::string error;
    ASSERT_TRUE(moveQuizProgram(player64, quizProgram, &moved, &error)) << error;
    EXPECT_EQ(quizResourcesOf(moved), quizResourcesOf(quizProgram));
    bool is64Bit = false;
    ASSERT_TRUE(readProgramBitness(moved, &is64Bit, &error));
    EXPECT_TRUE(is64Bit);
    std::vector<ResourceEntry> entries;
    ASSERT_TRUE(readPeResources(moved, &entries, &error));
    EXPECT_EQ(entries.size(), quizResourcesOf(quizProgram).size() + 1);  // and the player's own
    EXPECT_FALSE(moveQuizProgram(player64, player64, &moved, &error));
    EXPECT_EQ(error, "it carries no quiz");
}

// Builds a folder, dumps the program, checks and builds the dumped folder: the same content, codes and
// media bytes come out.
void expectRoundTrip(QuizPrograms* test, const std::filesystem::path& folder, const std::string& name) {
    SCOPED_TRACE(folder.string());
    ToolRun r = test->build(folder.string(), test->path(name + ".exe"));
    ASSERT_EQ(r.status, TOOL_EXIT_OK) << r.err;
    r = run({"dump", test->path(name + ".exe"), "-o", test->path(name + "-dump")});
    ASSERT_EQ(r.status, TOOL_EXIT_OK) << r.err;
    EXPECT_EQ(r.err, "");
    r = test->build(test->path(name + "-dump"), test->path(name + "-again.exe"));
    ASSERT_EQ(r.status, TOOL_EXIT_OK) << r.err;
    const std::map<std::string, Bytes> first = quizResourcesOf(test->programBytes(name + ".exe"));
    const std::map<std::string, Bytes> again = quizResourcesOf(test->programBytes(name + "-again.exe"));
    EXPECT_EQ(namesOf(first), namesOf(again));
    for (const auto& resource : first) {
        EXPECT_TRUE(again.count(resource.first) && again.at(resource.first) == resource.second)
            << resource.first;
    }
    // And the content is what the folder says, byte for byte.
    CheckedQuiz quiz;
    Diagnostics diagnostics;
    ASSERT_TRUE(checkQuizFolder(folder, &quiz, &diagnostics));
    EXPECT_EQ(unpacked(again.at("PATCH 104")), encodeQuizContent(quiz.content));
    EXPECT_EQ(unpacked(again.at("PATCH 105")), encodeScoreCodes(quiz.content));
    for (const QuizMediaFile& media : quiz.media) {
        EXPECT_EQ(again.at("IMG " + std::to_string(media.resourceId)), media.bytes) << media.path;
    }
}

TEST_F(QuizPrograms, EverySampleQuizFolderComesBackFromItsProgram) {
    int folders = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(TRIVO_SOURCE_DIR) / "examples")) {
        if (!std::filesystem::exists(entry.path() / "quiz.toml")) continue;
        expectRoundTrip(this, entry.path(), entry.path().filename().string());
        ++folders;
    }
    expectRoundTrip(this, std::filesystem::path(TRIVO_SOURCE_DIR) / "tests/win/quizzes/video-exit",
                    "video-exit");
    EXPECT_GE(folders, 1);
}

TEST_F(QuizPrograms, EveryStarterAndAwkwardTextsComeBack) {
    for (const char* kind : {"text", "picture", "audio", "video"}) {
        ASSERT_EQ(run({"new", path(std::string("new-") + kind), "--kind", kind}).status, TOOL_EXIT_OK);
        expectRoundTrip(this, dir / (std::string("new-") + kind), kind);
    }
    writeFile(dir / "awkward/q1.jpg", JPEG);
    writeFile(dir / "awkward/q2.gif", GIF);
    writeFile(dir / "awkward/quiz.toml",
              "kind = \"picture\"\ntitle = \"Guillemets \\\" et barre \\\\ oblique\"\n"
              "author = \"\xC3\x89quipe \xE2\x82\xAC\"\ndescription = \"\"\nslots = 2\n"
              "captions = [\"Un\", \"Deux\"]\nreveal = \"comment\"\nbackground = \"#0a0B0c\"\n"
              "codes = [\"A|B\", \"\"]\n"
              "[[questions]]\ntext = \"Tab\\tici\"\nanswer = \"C'EST\"\nanswer2 = \"\xC3\x89T\xC3\x89\"\n"
              "media = \"q1.jpg\"\ncomment = \"Bravo \\\"toi\\\"\"\n"
              "[[questions]]\nanswer = \"X\"\nanswer2 = \"Y\"\nmedia = \"q2.gif\"\n");
    expectRoundTrip(this, dir / "awkward", "awkward");
    const std::string dumped = readFile(dir / "awkward-dump/quiz.toml");
    EXPECT_NE(dumped.find("title = \"Guillemets \\\" et barre \\\\ oblique\"\n"), std::string::npos)
        << dumped;
    EXPECT_NE(dumped.find("background = \"#0A0B0C\"\n"), std::string::npos);
    EXPECT_NE(dumped.find("text = \"Tab\\tici\"\n"), std::string::npos);
    EXPECT_EQ(filesUnder(dir / "awkward-dump"),
              (std::vector<std::string>{"media/q1.jpg", "media/q2.gif", "quiz.toml"}));
}

TEST_F(QuizPrograms, DumpWritesTheManifestAndNamesMediaAfterTheirBytes) {
    writePictureQuiz("quiz", 2);
    ASSERT_EQ(build(path("quiz"), path("quiz.exe")).status, TOOL_EXIT_OK);
    const ToolRun r = run({"dump", path("quiz.exe"), "-o", path("back")});
    ASSERT_EQ(r.status, TOOL_EXIT_OK);
    EXPECT_EQ(r.out, "wrote " + path("back") + ": picture quiz, 2 questions, 4 media files\n");
    EXPECT_EQ(filesUnder(dir / "back"),
              (std::vector<std::string>{"media/a1.jpg", "media/a2.jpg", "media/q1.gif", "media/q2.gif",
                                        "quiz.toml"}));
    EXPECT_EQ(readFile(dir / "back/quiz.toml"),
              "# Trivo quiz read back from quiz.exe by trivo-make dump.\n"
              "# Build it again with: trivo-make build FOLDER -o QUIZ.exe\n"
              "\n"
              "kind = \"picture\"\n"
              "title = \"Quiz 2\"\n"
              "author = \"\"\n"
              "description = \"\"\n"
              "slots = 1\n"
              "captions = [\"\", \"\"]\n"
              "reveal = \"picture\"\n"
              "background = \"#FFFFFF\"\n"
              "# codes[k - 1] is shown for a score of k.\n"
              "codes = [\n"
              "    \"C1\",\n"
              "    \"C2\",\n"
              "]\n"
              "\n"
              "[[questions]]\n"
              "answer = \"R1\"\n"
              "media = \"media/q1.gif\"\n"
              "answer_picture = \"media/a1.jpg\"\n"
              "\n"
              "[[questions]]\n"
              "answer = \"R2\"\n"
              "media = \"media/q2.gif\"\n"
              "answer_picture = \"media/a2.jpg\"\n");
    EXPECT_EQ(readFile(dir / "back/media/a2.jpg"), JPEG + "2");
}

TEST_F(QuizPrograms, DumpLeavesOutMediaTheQuizNeverShowsAndSaysSo) {
    std::vector<ResourceEntry> entries;
    const auto add = [&](const char* type, uint16_t id, const Bytes& data) {
        ResourceEntry entry;
        entry.type = stringKey(type);
        entry.name = numberKey(id);
        entry.data = data;
        entries.push_back(entry);
    };
    QuizContent content;
    content.kind = QuizKind::Text;
    content.title = "T";
    content.questions = {{"A", "", "Q", ""}};
    content.codes = {"C"};
    add("PATCH", 104, packedBytes(encodeQuizContent(content)));
    add("PATCH", 105, packedBytes(encodeScoreCodes(content)));
    add("IMG", 401, bytesOf(GIF));  // a text quiz shows no media
    add("IMG", 402, bytesOf(GIF));
    Bytes program;
    std::string error;
    ASSERT_TRUE(writePeResources(tiny_pe::tinyPeImage(), entries, &program, &error)) << error;
    writeFile(dir / "text.exe", std::string(program.begin(), program.end()));
    const ToolRun r = run({"dump", path("text.exe"), "-o", path("back")});
    EXPECT_EQ(r.status, TOOL_EXIT_OK);
    EXPECT_EQ(r.err,
              "trivo-make dump: note: IMG 401 is left out: the quiz never shows it\n"
              "trivo-make dump: note: IMG 402 is left out: the quiz never shows it\n");
    EXPECT_EQ(filesUnder(dir / "back"), (std::vector<std::string>{"quiz.toml"}));
}

// Texts a program may store but a quiz folder cannot hold are written as the player shows them,
// and said so, so that the folder checks and builds; a quiz no folder can hold is not written.
TEST_F(QuizPrograms, DumpWritesTextsAsThePlayerHoldsThemSoTheFolderChecks) {
    QuizContent content;
    content.slots = 2;
    content.title = std::string(300, 'T');
    content.questions = {{"A\nB", std::string(270, 'b'), "Q", ""}, {"\tC", "D", "Q", ""}};
    content.codes = {"UN\nDEUX", std::string(300, 'c')};
    writeProgram("odd.exe", programOf(content));
    ToolRun r = run({"dump", path("odd.exe"), "-o", path("back")});
    EXPECT_EQ(r.status, TOOL_EXIT_OK);
    const std::string note = "trivo-make dump: note: ";
    const std::string cut = " of 300 bytes, as the player holds it\n";
    EXPECT_EQ(r.err, note + "the title is cut to its first 259" + cut + note +
                         "question 1: answer: its control characters, which no one can type, are spaces\n" + note +
                         "question 1: answer2 is cut to its first 259 of 270 bytes, as the player holds it\n" +
                         note + "question 2: answer: its control characters, which no one can type, are spaces\n" +
                         note + "question 2: answer: the spaces at its ends are left out, as no typed answer could "
                         "match them\n" +
                         note + "code 1: its line breaks are spaces, as the header shows one line\n" + note +
                         "code 2 is cut to its first 259" + cut);
    EXPECT_EQ(run({"check", path("back")}).status, TOOL_EXIT_OK);
    EXPECT_NE(readFile(dir / "back/quiz.toml").find("answer = \"A B\"\n"), std::string::npos);
    EXPECT_NE(readFile(dir / "back/quiz.toml").find("answer = \"C\"\n"), std::string::npos);

    content.questions[1].answer1.clear();
    writeProgram("empty.exe", programOf(content));
    r = run({"dump", path("empty.exe"), "-o", path("none")});
    EXPECT_EQ(r.status, TOOL_EXIT_FAILED);
    EXPECT_EQ(r.err, "trivo-make dump: '" + path("empty.exe") +
                         "': its quiz would not make a folder that checks: question 2: answer is empty: no typed "
                         "answer can ever match it\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "none"));
}

// "-" reads the player or the program from standard input, as -o - writes the program there.
TEST_F(QuizPrograms, DashReadsThePlayerOrTheProgramFromStandardInput) {
    writePictureQuiz("quiz", 1);
    const Bytes player = tiny_pe::tinyPeImage();
    ToolRun r = run({"build", path("quiz"), "-o", "-", "--player", "-"}, std::string(player.begin(), player.end()));
    ASSERT_EQ(r.status, TOOL_EXIT_OK) << r.err;
    EXPECT_EQ(r.err, "wrote -: picture quiz, 1 question, 2 media files\n");
    r = run({"dump", "-", "-o", path("back")}, r.out);
    ASSERT_EQ(r.status, TOOL_EXIT_OK) << r.err;
    EXPECT_EQ(readFile(dir / "back/quiz.toml").rfind("# Trivo quiz read back from standard input by trivo-make dump.\n", 0),
              0u);
    EXPECT_EQ(readFile(dir / "back/media/q1.gif"), GIF + "1");
    r = run({"dump", "-", "-o", path("none")}, "MZ");
    EXPECT_EQ(r.status, TOOL_EXIT_FAILED);
    EXPECT_EQ(r.err, "trivo-make dump: standard input: not a Windows program (no MZ header)\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "none"));
}

// Names from the file system, a program or a quiz.toml reach the terminal and quiz.toml escaped: a
// line break, an escape sequence or a byte that is not UTF-8 never comes out as it is.
TEST_F(QuizPrograms, StrangersNamesArePrintedAndWrittenEscaped) {
    writePictureQuiz("quiz", 1);
    const std::string evil = "evil\n\x1B[2J\xFF.exe", shown = "evil\\x0A\\x1B[2J\\xFF.exe";
    ToolRun r = build(path("quiz"), path(evil));
    EXPECT_EQ(r.out, "wrote " + path(shown) + ": picture quiz, 1 question, 2 media files\n");
    r = run({"dump", path(evil), "-o", path("back")});
    EXPECT_EQ(r.status, TOOL_EXIT_OK);
    EXPECT_EQ(readFile(dir / "back/quiz.toml").rfind("# Trivo quiz read back from " + shown + " by trivo-make dump.\n", 0),
              0u);

    writeFile(dir / "quiz/quiz.toml", "kind = \"picture\"\ntitle = \"T\"\ncodes = [\"1\"]\n"
                                      "[[questions]]\nanswer = \"A\"\nmedia = \"\\u001B[2J\\u0085.gif\"\n");
    r = run({"check", path("quiz")});
    EXPECT_EQ(r.err, path("quiz") + "/quiz.toml:6: error: question 1: media: cannot read '\\x1B[2J\\u0085.gif': No such "
                     "file or directory\n");
    EXPECT_EQ(r.out, path("quiz") + "/quiz.toml: 1 error, 0 warnings\n");

    QuizContent content;
    content.title = "T";
    content.questions = {{"A", "", "Q", ""}};
    writeProgram("named.exe", programOf(content, {{stringKey("\x1B]0;x\x07"), bytesOf(GIF)}}));
    r = run({"dump", path("named.exe"), "-o", path("named")});
    EXPECT_EQ(r.err, "trivo-make dump: note: IMG \\x1B]0;X\\x07 is left out: the quiz never shows it\n");
}

TEST_F(QuizPrograms, BuildFailuresLeaveNoOutput) {
    writePictureQuiz("quiz", 1);
    writeFile(dir / "broken/quiz.toml",
              "kind = \"picture\"\ntitle = \"T\"\ncodes = [\"A\"]\n[[questions]]\nanswer = \"A\"\nmedia = "
              "\"gone.jpg\"\n");
    writeFile(dir / "not-a-program.exe", "MZ but nothing else");
    writeFile(dir / "kept.exe", "the user's file");
    const struct {
        std::string folder, output, player, err;
    } cases[] = {
        {path("broken"), path("out.exe"), path("player.exe"),
         path("broken") +
             "/quiz.toml:6: error: question 1: media: cannot read 'gone.jpg': No such file or directory\n"
             "trivo-make build: " +
             path("broken") + "/quiz.toml: 1 error, 0 warnings; nothing written\n"},
        {path("broken"), path("kept.exe"), path("player.exe"),
         path("broken") +
             "/quiz.toml:6: error: question 1: media: cannot read 'gone.jpg': No such file or directory\n"
             "trivo-make build: " +
             path("broken") + "/quiz.toml: 1 error, 0 warnings; nothing written\n"},
        {path("quiz"), path("no/such/folder/out.exe"), path("player.exe"),
         "trivo-make build: cannot write '" + path("no/such/folder/out.exe") +
             "': No such file or directory\n"},
        {path("quiz"), path("out.exe"), path("missing.exe"),
         "trivo-make build: player: cannot read '" + path("missing.exe") + "': No such file or directory\n"},
    };
    for (const auto& c : cases) {
        const ToolRun r = build(c.folder, c.output, c.player);
        EXPECT_EQ(r.status, TOOL_EXIT_FAILED);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.err);
    }
    // A player that is no program: the message names it and the reader's reason.
    ToolRun r = build(path("quiz"), path("out.exe"), path("not-a-program.exe"));
    EXPECT_EQ(r.status, TOOL_EXIT_FAILED);
    EXPECT_EQ(r.err.rfind(
                  "trivo-make build: player '" + path("not-a-program.exe") + "' cannot carry the quiz: ", 0),
              0u)
        << r.err;
    r = build(path("quiz"), path("kept.exe"), path("not-a-program.exe"));
    EXPECT_EQ(r.status, TOOL_EXIT_FAILED);
    EXPECT_EQ(readFile(dir / "kept.exe"), "the user's file");
    // Without --player the player is looked for where the tool looks, which in the tests has none.
    r = run({"build", path("quiz"), "-o", path("out.exe")});
    EXPECT_EQ(r.status, TOOL_EXIT_FAILED);
    EXPECT_NE(r.err.find("trivo.exe': none of these exists; name one with --player PLAYER.exe\n"), std::string::npos)
        << r.err;
    // Nothing was written: no output, no temporary file.
    std::vector<std::string> files = filesUnder(dir);
    files.erase(std::remove_if(files.begin(), files.end(),
                               [](const std::string& f) { return f.find('/') != std::string::npos; }),
                files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"kept.exe", "not-a-program.exe", "player.exe"}));
}

TEST_F(QuizPrograms, DumpFailuresLeaveNoFolder) {
    writePictureQuiz("quiz", 1);
    ASSERT_EQ(build(path("quiz"), path("quiz.exe")).status, TOOL_EXIT_OK);
    writeFile(dir / "full/anything", "x");
    // A PATCH 104 that is no packed stream.
    std::vector<ResourceEntry> entries;
    ResourceEntry content;
    content.type = stringKey("PATCH");
    content.name = numberKey(104);
    content.data = bytesOf(std::string("\x30\x98\x8C\x79\x00", 5));
    entries.push_back(content);
    Bytes corrupt;
    std::string error;
    ASSERT_TRUE(writePeResources(tiny_pe::tinyPeImage(), entries, &corrupt, &error)) << error;
    writeFile(dir / "corrupt.exe", std::string(corrupt.begin(), corrupt.end()));
    const struct {
        std::string program, output, err;
    } cases[] = {
        {path("player.exe"), path("out"),
         "trivo-make dump: '" + path("player.exe") + "': it carries no quiz (no PATCH 104 resource)\n"},
        {path("corrupt.exe"), path("out"),
         "trivo-make dump: '" + path("corrupt.exe") +
             "': the quiz content (PATCH 104) does not unpack: BadStream\n"},
        {path("missing.exe"), path("out"),
         "trivo-make dump: cannot read '" + path("missing.exe") + "': No such file or directory\n"},
        {path("quiz.exe"), path("full"),
         "trivo-make dump: '" + path("full") + "' already exists and is not empty\n"},
        {path("quiz.exe"), path("quiz.exe"),
         "trivo-make dump: '" + path("quiz.exe") + "' already exists and is not a folder\n"},
        {path("quiz.exe"), path("no/such/out"),
         "trivo-make dump: cannot create '" + path("no/such/out") + "': No such file or directory\n"},
    };
    for (const auto& c : cases) {
        const ToolRun r = run({"dump", c.program, "-o", c.output});
        EXPECT_EQ(r.status, TOOL_EXIT_FAILED);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.err);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "out"));
    EXPECT_EQ(filesUnder(dir / "full"), (std::vector<std::string>{"anything"}));
    // An empty folder is taken.
    std::filesystem::create_directory(dir / "empty");
    EXPECT_EQ(run({"dump", path("quiz.exe"), "-o", path("empty")}).status, TOOL_EXIT_OK);
    EXPECT_EQ(filesUnder(dir / "empty").size(), 3u);
    // new refuses a folder in use the same way.
    const ToolRun r = run({"new", path("full"), "--kind", "text"});
    EXPECT_EQ(r.status, TOOL_EXIT_FAILED);
    EXPECT_EQ(r.err, "trivo-make new: '" + path("full") + "' already exists and is not empty\n");
}

// A crowded or hostile folder: every name the tool used to try for its temporary output taken by a
// link to someone else's file, and a foreign folder where dump used to put its files.
TEST_F(QuizPrograms, TemporaryNamesTakenByOthersAreLeftAlone) {
    writePictureQuiz("quiz", 1);
    writeFile(dir / "theirs", "someone else's file");
    for (int i = 0; i <= 1000; ++i)
        std::filesystem::create_symlink(dir / "theirs", dir / ("out.exe.tmp" + (i == 0 ? "" : std::to_string(i))));
    ASSERT_EQ(build(path("quiz"), path("out.exe")).status, TOOL_EXIT_OK);
    EXPECT_EQ(readFile(dir / "theirs"), "someone else's file");
    EXPECT_FALSE(std::filesystem::is_symlink(dir / "out.exe"));
    EXPECT_EQ(quizResourcesOf(programBytes("out.exe")).size(), 4u);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "out.exe.tmp1000"));

    writeFile(dir / "back.tmp/theirs.txt", "kept");
    ASSERT_EQ(run({"dump", path("out.exe"), "-o", path("back")}).status, TOOL_EXIT_OK);
    EXPECT_EQ(filesUnder(dir / "back"), (std::vector<std::string>{"media/a1.jpg", "media/q1.gif", "quiz.toml"}));
    EXPECT_EQ(filesUnder(dir / "back.tmp"), (std::vector<std::string>{"theirs.txt"}));
}

// The program written over quiz.toml or a media file would destroy the quiz it carries, whatever
// name (a link, a hard link) leads to that file.
TEST_F(QuizPrograms, BuildRefusesToWriteOverItsOwnQuiz) {
    writePictureQuiz("quiz", 1);
    const std::string manifest = readFile(dir / "quiz/quiz.toml");
    std::filesystem::create_symlink(dir / "quiz/q1.gif", dir / "link.exe");
    std::filesystem::create_hard_link(dir / "quiz/a1.jpg", dir / "hard.exe");
    for (const std::string& output : {path("quiz/quiz.toml"), path("quiz/q1.gif"), path("link.exe"), path("hard.exe")}) {
        const ToolRun r = build(path("quiz"), output);
        EXPECT_EQ(r.status, TOOL_EXIT_FAILED) << output;
        EXPECT_EQ(r.err, "trivo-make build: '" + output + "' is one of the quiz's own files; nothing written\n");
    }
    EXPECT_EQ(readFile(dir / "quiz/quiz.toml"), manifest);
    EXPECT_EQ(readFile(dir / "quiz/q1.gif"), GIF + "1");
    EXPECT_EQ(readFile(dir / "quiz/a1.jpg"), JPEG + "1");
}

TEST_F(QuizPrograms, FolderNamesMayEndWithASlash) {
    ToolRun r = run({"new", path("made") + "/", "--kind", "text"});
    EXPECT_EQ(r.status, TOOL_EXIT_OK) << r.err;
    ASSERT_EQ(build(path("made") + "/", path("made.exe")).status, TOOL_EXIT_OK);
    r = run({"dump", path("made.exe"), "-o", path("back") + "//"});
    EXPECT_EQ(r.status, TOOL_EXIT_OK) << r.err;
    EXPECT_EQ(r.out, "wrote " + path("back") + ": text quiz, 3 questions, 0 media files\n");
    EXPECT_EQ(filesUnder(dir / "back"), (std::vector<std::string>{"quiz.toml"}));
}

TEST(QuizCommandLine, UsageErrorsAndHelp) {
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"new", "dir"},
         "trivo-make new: needs --kind text, picture, audio or video, or --from CSV; see 'trivo-make new --help'\n"},
        {{"new", "dir", "--kind", "quiz"},
         "trivo-make new: --kind must be text, picture, audio or video, not 'quiz'; see 'trivo-make new "
         "--help'\n"},
        {{"new", "--kind", "text"},
         "trivo-make new: needs one folder name DIR, got 0 names; see 'trivo-make new --help'\n"},
        {{"new", "a", "b", "--kind=text"},
         "trivo-make new: needs one folder name DIR, got 2 names; see 'trivo-make new --help'\n"},
        {{"new", "a", "--kind"},
         "trivo-make new: option '--kind' needs a value; see 'trivo-make new --help'\n"},
        {{"check"},
         "trivo-make check: needs one quiz folder DIR, got 0 names; see 'trivo-make check --help'\n"},
        {{"check", "a", "-o", "x"}, "trivo-make check: unknown option '-o'; see 'trivo-make check --help'\n"},
        {{"build", "dir", "-o", "quiz", "--format", "html"},
         "trivo-make build: --format must be web or exe, not 'html'; see 'trivo-make build --help'\n"},
        {{"build", "dir", "-o", "quiz.HTM", "--format", "exe"},
         "trivo-make build: --format exe does not go with 'quiz.HTM'; name it OUT.exe; see 'trivo-make build "
         "--help'\n"},
        {{"build", "dir", "-o", "quiz.html", "--player", "trivo.exe"},
         "trivo-make build: --player builds a program; a web page needs no player; see 'trivo-make build "
         "--help'\n"},
        {{"build", "dir", "-o", "a.exe", "-o", "b.exe"},
         "trivo-make build: option '-o' is given twice; see 'trivo-make build --help'\n"},
        {{"build", "dir", "-o", "a.exe", "--player"},
         "trivo-make build: option '--player' needs a value; see 'trivo-make build --help'\n"},
        {{"dump", "quiz.exe"},
         "trivo-make dump: needs -o DIR, the quiz folder to write; see 'trivo-make dump --help'\n"},
        {{"dump", "-o", "dir"},
         "trivo-make dump: needs one quiz program QUIZ.exe, got 0 names; see 'trivo-make dump --help'\n"},
    };
    for (const auto& c : cases) {
        const ToolRun r = run(c.args);
        EXPECT_EQ(r.status, TOOL_EXIT_USAGE) << c.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.err);
    }
    const struct {
        const char* command;
        const char* usage;
    } helps[] = {
        {"new", "Usage: trivo-make new DIR --kind KIND\n"},
        {"check", "Usage: trivo-make check DIR\n"},
        {"build", "Usage: trivo-make build DIR [-o OUT.exe] [--player PLAYER.exe]\n"},
        {"dump", "Usage: trivo-make dump QUIZ.exe -o DIR\n"},
    };
    for (const auto& h : helps) {
        const ToolRun r = run({h.command, "--help"});
        EXPECT_EQ(r.status, TOOL_EXIT_OK);
        EXPECT_EQ(r.out.rfind(h.usage, 0), 0u) << r.out;
        EXPECT_EQ(r.err, "");
    }
    const ToolRun r = run({"--help"});
    EXPECT_NE(r.out.find("  build DIR [-o OUT.exe] build the quiz program OUT.exe (DIR.exe) from DIR\n"),
              std::string::npos);
}

}  // namespace

// Answer lists and the accent rule travel in PATCH 106 and come back through dump; every sample quiz
// carries only what quiz programs always carried.
TEST_F(QuizPrograms, AcceptedAnswersTravelInTheirOwnResource) {
    writeFile(dir / "villes/quiz.toml",
              "kind = \"text\"\ntitle = \"V\"\nslots = 2\naccents = \"ignore\"\ncodes = [\"A\"]\n[[questions]]\n"
              "text = \"Q\"\nanswer = [\"AIX EN PROVENCE\", \"AIX\"]\nanswer2 = \"Rh\xC3\xB4ne\"\n");
    expectRoundTrip(this, dir / "villes", "villes");
    EXPECT_EQ(namesOf(quizResourcesOf(programBytes("villes.exe"))),
              (std::vector<std::string>{"PATCH 104", "PATCH 105", "PATCH 106"}));
    EXPECT_NE(readFile(dir / "villes-dump/quiz.toml").find("accents = \"ignore\"\n"), std::string::npos);

    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(TRIVO_SOURCE_DIR) / "examples")) {
        if (!std::filesystem::exists(entry.path() / "quiz.toml")) continue;
        ASSERT_EQ(build(entry.path().string(), path("sample.exe")).status, TOOL_EXIT_OK);
        const std::map<std::string, Bytes> sample = quizResourcesOf(programBytes("sample.exe"));
        EXPECT_EQ(sample.count("PATCH 106"), 0u) << entry.path();
        EXPECT_EQ(unpacked(sample.at("PATCH 104"))[0], 1) << entry.path();
    }
}
