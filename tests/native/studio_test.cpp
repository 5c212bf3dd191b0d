// Trivo Studio's own logic, without a browser: its layout of quiz.toml read back by check's reader
// with every problem on its field's line, saves that keep every version of the author's file, names
// from the browser made safe, uploads fitted or refused as check and build would, and the trial of a
// quiz: one at a time, ended with the studio.
#include <gtest/gtest.h>

#include <csignal>
#include <sstream>

#include "quiz_folder_support.h"
#include "tools/quiz_folder/quiz_check.h"
#include "tools/quiz_folder/quiz_toml.h"
#include "tools/studio/quiz_store.h"
#include "tools/studio/safe_names.h"
#include "tools/studio/studio_http.h"
#include "tools/studio/studio_quiz.h"
#include "tools/support/program_run.h"

using namespace quiz_folder;

namespace {

StudioQuiz twoSlotQuiz() {
    StudioQuiz quiz;
    quiz.kind = "text";
    quiz.title = "Capitales \"d'Europe\"";
    quiz.author = "Mme Martin";
    quiz.description = "Tapez la capitale,\npuis Tab.";
    quiz.slots = 2;
    quiz.caption1 = "Pays";
    quiz.caption2 = "Capitale";
    quiz.reveal = "comment";
    quiz.background = "#E8F0FF";
    quiz.codes = {"UN", "DEUX"};
    quiz.accents = "ignore";
    quiz.questions = {{"France", "france", "paris", "", "", "Sur la Seine", {}, {"Lutece"}},
                      {"Italie", "italie", "Rome", "", "", "", {"Italia", "Repubblica \"italiana\""}, {}}};
    return quiz;
}

// The problems check finds in the quiz as the studio writes it, each as "FIELD: severity".
std::vector<std::string> problemFields(const StudioQuiz& quiz, const std::filesystem::path& folder) {
    std::map<int, std::string> fields;
    QuizSource source;
    Diagnostics diagnostics;
    EXPECT_TRUE(readQuizToml(studioToml(quiz, &fields), &source, &diagnostics));
    CheckedQuiz checked;
    checkQuizSource(source, folder, &checked, &diagnostics, MediaReading::FormatOnly);
    std::vector<std::string> found;
    for (const Diagnostic& d : diagnostics) {
        if (d.severity == Severity::Note) continue;
        found.push_back((fields.count(d.line) ? fields[d.line] : "?") + (d.severity == Severity::Error ? ": error" : ": warning"));
    }
    return found;
}

// A stand-in for play: it holds interruptions and waits for a program as play does, and says whether
// that program ran to its end.
std::filesystem::path s_trialLog;
bool s_trialRanToItsEnd = false;
int sleepingPlay(const std::vector<std::string>&, std::istream&, std::ostream&, std::ostream&) {
    holdInterruptions(true);
    const Spawned run = spawnAndWait({"sleep", "30"}, {}, s_trialLog.parent_path(), s_trialLog);
    holdInterruptions(false);
    s_trialRanToItsEnd = run.started && run.signal == 0 && run.exitStatus == 0;
    return 0;
}

int failingPlay(const std::vector<std::string>&, std::istream&, std::ostream&, std::ostream& err) {
    err << "trivo-make play: no display\n";
    return 1;
}

}  // namespace

TEST(StudioToml, ReadsBackEveryValueItWrites) {
    std::map<int, std::string> fields;
    const std::string text = studioToml(twoSlotQuiz(), &fields);
    EXPECT_EQ(text.rfind(STUDIO_TOML_MARK, 0), 0u);
    StudioQuiz back;
    Diagnostics diagnostics;
    ASSERT_TRUE(readStudioQuiz(text, &back, &diagnostics));
    EXPECT_TRUE(diagnostics.empty());
    const StudioQuiz quiz = twoSlotQuiz();
    EXPECT_EQ(back.title, quiz.title);
    EXPECT_EQ(back.description, quiz.description);
    EXPECT_EQ(back.slots, 2);
    EXPECT_EQ(back.caption2, "Capitale");
    EXPECT_EQ(back.reveal, "comment");
    EXPECT_EQ(back.background, "#E8F0FF");
    EXPECT_EQ(back.codes, quiz.codes);
    ASSERT_EQ(back.questions.size(), 2u);
    EXPECT_EQ(back.questions[0].answer2, "paris");
    EXPECT_EQ(back.questions[0].comment, "Sur la Seine");
    EXPECT_EQ(back.questions[1].text, "Italie");
    EXPECT_EQ(back.accents, "ignore");
    // Answers written as lists come back as lists, first answer first.
    EXPECT_EQ(back.questions[0].otherAnswers, std::vector<std::string>{});
    EXPECT_EQ(back.questions[0].otherAnswers2, std::vector<std::string>{"Lutece"});
    EXPECT_EQ(back.questions[1].answer, "italie");
    EXPECT_EQ(back.questions[1].otherAnswers, quiz.questions[1].otherAnswers);
}

TEST_F(ScratchFolder, StudioTomlPutsEachProblemOnItsFieldsLine) {
    StudioQuiz quiz = twoSlotQuiz();
    quiz.reveal = "none";  // comments are revealed in picture quizzes only
    quiz.accents = "";     // accents count, so a capital accent warns
    quiz.questions[0].comment = "";
    EXPECT_EQ(problemFields(quiz, dir), std::vector<std::string>{});
    quiz.questions[1].answer = "Italie";    // capital letter: fine; the accents are what warn
    quiz.questions[1].answer2 = "Évreux";   // a capital accent
    quiz.questions[0].text = "";            // a text question with no text
    quiz.codes[1] = "A\nB";                 // a code is one line of the codes' resource
    quiz.background = "bleu";
    const std::vector<std::string> found = problemFields(quiz, dir);
    for (const char* expected : {"q-2-answer2: warning", "q-1-text: error", "code-2: error", "background: error"})
        EXPECT_NE(std::find(found.begin(), found.end(), expected), found.end()) << expected;
    EXPECT_EQ(std::count(found.begin(), found.end(), "?: error"), 0) << ::testing::PrintToString(found);
}

TEST_F(ScratchFolder, SavesKeepEveryVersionOfTheAuthorsFile) {
    const std::string foreign = "# my own comments\nkind = \"text\"\ntitle = \"Mien\"\n";
    writeFile(dir / "quiz.toml", foreign);
    StoredQuiz stored;
    std::string error;
    ASSERT_TRUE(loadStoredQuiz(dir, &stored, &error));
    EXPECT_FALSE(stored.studioLayout);
    StudioQuiz quiz = stored.quiz;
    quiz.title = "Le mien";

    SaveResult first = saveStoredQuiz(dir, quiz, stored.version, false);
    ASSERT_EQ(first.outcome, SaveOutcome::Saved);
    EXPECT_EQ(first.backup, "quiz.toml.bak");
    EXPECT_EQ(readFile(dir / "quiz.toml.bak"), foreign);
    EXPECT_EQ(first.version, textVersion(readFile(dir / "quiz.toml")));

    // From the old version again (another tab): refused, the file left as it is.
    const std::string afterFirst = readFile(dir / "quiz.toml");
    quiz.author = "Autre onglet";
    EXPECT_EQ(saveStoredQuiz(dir, quiz, stored.version, false).outcome, SaveOutcome::Conflict);
    EXPECT_EQ(readFile(dir / "quiz.toml"), afterFirst);
    const SaveResult forced = saveStoredQuiz(dir, quiz, stored.version, true);
    EXPECT_EQ(forced.outcome, SaveOutcome::Saved);
    EXPECT_EQ(forced.backup, "") << "the studio's own file needs no copy";
    EXPECT_EQ(saveStoredQuiz(dir, quiz, forced.version, false).outcome, SaveOutcome::Unchanged);

    // Someone else's file again: an earlier copy is never replaced.
    writeFile(dir / "quiz.toml", "kind = \"text\"\ntitle = \"Encore\"\n");
    ASSERT_TRUE(loadStoredQuiz(dir, &stored, &error));
    EXPECT_EQ(saveStoredQuiz(dir, quiz, stored.version, false).backup, "quiz.toml.bak2");
    EXPECT_EQ(readFile(dir / "quiz.toml.bak"), foreign);
    EXPECT_EQ(readFile(dir / "quiz.toml.bak2"), "kind = \"text\"\ntitle = \"Encore\"\n");
}

TEST(StudioNames, OnlyPlainNamesPass) {
    for (const char* name : {"mon-quiz", "Drapeaux du monde", "\xC3\xA9t\xC3\xA9", "q1.jpg"}) EXPECT_TRUE(isSafeName(name)) << name;
    for (const char* name : {"", ".", "..", ".cache", "a/b", "a\\b", "C:", "x.", "x ", "CON", "com1.txt", "nul.png",
                             "a\tb", "a*b"})
        EXPECT_FALSE(isSafeName(name)) << name;
    EXPECT_EQ(safeUploadName("../../Mon Drapeau.PNG"), "Mon-Drapeau.png");
    EXPECT_EQ(safeUploadName("C:\\Users\\eve\\photo.jpeg"), "photo.jpeg");
    EXPECT_EQ(safeUploadName("..."), "fichier");
    EXPECT_EQ(safeUploadName("nul.png"), "fichier-nul.png");
    EXPECT_EQ(safeUploadName(".htaccess"), "fichier.htaccess");
    std::string decoded;
    EXPECT_TRUE(percentDecoded("%2e%2E%2fa+b", &decoded));
    EXPECT_EQ(decoded, "../a+b");
    for (const char* bad : {"%zz", "%00", "%4", "a%"}) EXPECT_FALSE(percentDecoded(bad, &decoded)) << bad;
}

TEST_F(ScratchFolder, UploadsAreFittedAsBuildFitsThemOrRefusedWithChecksReason) {
    writeFile(dir / "images/quiz.toml", std::string(STUDIO_TOML_MARK) + "\nkind = \"picture\"\ntitle = \"T\"\n");
    writeFile(dir / "sons/quiz.toml", std::string(STUDIO_TOML_MARK) + "\nkind = \"audio\"\ntitle = \"T\"\n");
    StudioState state;
    state.workspace = std::filesystem::canonical(dir);
    const auto upload = [&](const char* quiz, const char* name, const std::string& bytes) {
        return handleStudioRequest(&state, {"POST", std::string("/api/quiz/") + quiz + "/media", std::string("name=") + name, bytes});
    };
    StudioResponse bmp = upload("images", "carte.bmp", bmpOfSize(300, 200));
    EXPECT_EQ(bmp.status, 201) << bmp.body;
    EXPECT_NE(bmp.body.find("\"path\":\"media/carte.jpg\""), std::string::npos) << bmp.body;
    EXPECT_NE(bmp.body.find("260 \xC3\x97 173"), std::string::npos) << bmp.body;
    EXPECT_EQ(readFile(dir / "images/media/carte.jpg").substr(0, 3), "\xFF\xD8\xFF");
    // A GIF the player shows as it is stays a GIF, and a second upload of a name takes a new one.
    EXPECT_NE(upload("images", "a.gif", GIF).body.find("media/a.gif"), std::string::npos);
    EXPECT_NE(upload("images", "a.gif", GIF).body.find("media/a-2.gif"), std::string::npos);
    EXPECT_EQ(readFile(dir / "images/media/a.gif"), GIF);

    const std::string wav = std::string("RIFF\x24\x00\x00\x00WAVEfmt \x10\x00\x00\x00", 20) + std::string(24, '\0');
    StudioResponse refused = upload("sons", "cri.wav", wav);
    EXPECT_EQ(refused.status, 422);
    EXPECT_NE(refused.body.find("not an MP3 sound"), std::string::npos) << refused.body;
    EXPECT_FALSE(std::filesystem::exists(dir / "sons/media/cri.wav"));
}

TEST_F(ScratchFolder, ATrialIsOneAtATimeAndEndsWithTheStudio) {
    writeFile(dir / "quiz/quiz.toml", std::string(STUDIO_TOML_MARK) + "\nkind = \"text\"\ntitle = \"T\"\n");
    s_trialLog = dir / "trial.log";
    StudioState state;
    state.workspace = std::filesystem::canonical(dir);
    state.command = sleepingPlay;
    bool stopped = false;
    state.stop = [&stopped] { stopped = true; };
    const auto play = [&state] { return handleStudioRequest(&state, {"POST", "/api/quiz/quiz/play", "", ""}).status; };
    const auto trial = [&state] {
        const std::string body = handleStudioRequest(&state, {"GET", "/api/trial", "", ""}).body;
        return body.substr(1);  // without the "{"
    };
    for (int round = 0; round < 2; ++round) {
        s_trialRanToItsEnd = true;
        stopped = false;
        EXPECT_EQ(play(), 202);
        // A second window would share the one program play waits for.
        EXPECT_EQ(play(), 409);
        EXPECT_NE(trial().find("\"running\":true"), std::string::npos) << trial();
        endTrial(&state);
        EXPECT_FALSE(state.trialRunning);
        EXPECT_FALSE(s_trialRanToItsEnd) << "round " << round << ": the program was left to run";
        // Ended as by Ctrl-C, which stops the studio too.
        EXPECT_TRUE(stopped);
    }
    // A trial that cannot open says why, for the page to show.
    state.command = failingPlay;
    EXPECT_EQ(play(), 202);
    endTrial(&state);
    EXPECT_EQ(trial(), "\"messages\":\"trivo-make play: no display\\n\",\"running\":false,\"status\":1}");
}
