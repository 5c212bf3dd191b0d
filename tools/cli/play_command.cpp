// Playing a quiz as players will see it: a folder built into a temporary program, or a program as it
// is, run in a private temporary folder that is removed afterwards with everything the player wrote.
#include "tools/cli/play_command.h"

#include <chrono>
#include <cstdlib>
#include <istream>
#include <ostream>
#include <system_error>
#include <thread>

#include "tools/cli/commands.h"
#include "tools/cli/help_texts.h"
#include "tools/cli/program_launch.h"
#include "tools/cli/quiz_commands.h"
#include "tools/cli/tool_location.h"
#include "tools/pe/pe_resources.h"
#include "tools/quiz_folder/quiz_build.h"
#include "tools/support/cp1252.h"
#include "tools/support/files.h"
#include "tools/support/text.h"

namespace {

namespace fs = std::filesystem;

const char* const PREFIX = "trivo-make play";
// The temporary program's name; the player saves its answers as quiz.txt beside it.
const char* const PROGRAM_NAME = "quiz.exe";

#ifdef _WIN32
const bool UNDER_WINE = false;
#else
const bool UNDER_WINE = true;
#endif

// What is played: the program's path and kind, and how messages name it.
struct Playing {
    fs::path program;
    bool is64Bit = false;
    std::string shown;    // "mon-quiz", "'quiz.exe'"
    std::string summary;  // "picture quiz, 3 questions, 6 media files" for a folder; empty for a program
};

// Builds the checked quiz over the player into the work folder's program.
bool buildInto(const fs::path& work, const CheckedQuiz& quiz, const std::vector<unsigned char>& player,
               const std::string& playerShown, Playing* playing, std::ostream& err) {
    std::vector<unsigned char> program;
    std::string error;
    if (!buildQuizProgram(player, quiz, &program, &error) ||
        !readProgramBitness(player, &playing->is64Bit, &error)) {
        err << PREFIX << ": player " << playerShown << " cannot carry the quiz: " << error << "\n";
        return false;
    }
    playing->program = work / PROGRAM_NAME;
    if (!writeFileReplacing(playing->program, utf8Path(playing->program), program.data(), program.size(), &error)) {
        err << PREFIX << ": " << error << "\n";
        return false;
    }
    return true;
}

// Wine's own messages, passed on line by line; they come from a program and may hold anything.
void passOnWineOutput(const Launch& launch, std::ostream& err) {
    std::size_t start = 0;
    while (start < launch.wineOutput.size()) {
        std::size_t end = launch.wineOutput.find('\n', start);
        if (end == std::string::npos) end = launch.wineOutput.size();
        std::string line = launch.wineOutput.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) err << printable(line) << "\n";
        start = end + 1;
    }
}

Launch start(const Playing& playing, const fs::path& work, std::ostream& err) {
    if (wasInterrupted()) return Launch();
    err << PREFIX << ": opening " << playing.shown << " (" << (playing.is64Bit ? "64" : "32") << "-bit"
        << (UNDER_WINE ? ", with Wine" : "") << "); close its window to end\n";
    err.flush();
    const Launch launch = launchProgram(playing.program, playing.is64Bit, work);
    passOnWineOutput(launch, err);
    return launch;
}

// The exit status for the end of a launch, and the reason on err when it failed; an interruption is
// said once, by runPlay.
int launchStatus(const Launch& launch, std::ostream& err) {
    if (wasInterrupted()) return TOOL_EXIT_FAILED;
    if (launch.result != LaunchResult::Ended) {
        err << PREFIX << ": " << launch.reason << "\n";
        return TOOL_EXIT_FAILED;
    }
    if (launch.exitStatus != 0) {
        err << PREFIX << ": the quiz program ended with exit status " << launch.exitStatus << "\n";
        return TOOL_EXIT_FAILED;
    }
    return TOOL_EXIT_OK;
}

// Plays the quiz folder: checks it, builds it over the player and starts it; where 32-bit programs do
// not run, builds it over the 64-bit player and starts that.
int playFolder(const std::string& name, const std::string* playerName, const fs::path& work, std::istream& in,
               std::ostream& out, std::ostream& err) {
    const QuizFolder folder = quizFolder(name);
    CheckedQuiz quiz;
    if (!checkForBuilding(PREFIX, folder, "not played", &quiz, err)) return TOOL_EXIT_FAILED;
    // Without a 32-bit player where the tool looks, a 64-bit one found there will do.
    const char* defaultPlayer =
        findPlayer(PLAYER_NAME).empty() && !findPlayer(PLAYER_64_NAME).empty() ? PLAYER_64_NAME : PLAYER_NAME;
    std::vector<unsigned char> player;
    std::string playerShown;
    Playing playing;
    playing.shown = printable(folderName(name));
    playing.summary = quizSummary(quiz.content, quiz.media.size());
    if (!readPlayer(PREFIX, playerName, defaultPlayer, in, &player, &playerShown, err) ||
        !buildInto(work, quiz, player, playerShown, &playing, err)) {
        return TOOL_EXIT_FAILED;
    }
    Launch launch = start(playing, work, err);
    if (launch.result == LaunchResult::CannotRunHere && !playing.is64Bit && !playerName) {
        err << PREFIX << ": " << launch.reason << "; trying the 64-bit player\n";
        if (!readPlayer(PREFIX, nullptr, PLAYER_64_NAME, in, &player, &playerShown, err) ||
            !buildInto(work, quiz, player, playerShown, &playing, err)) {
            return TOOL_EXIT_FAILED;
        }
        launch = start(playing, work, err);
    }
    const int status = launchStatus(launch, err);
    if (status == TOOL_EXIT_OK) out << "played " << playing.shown << ": " << playing.summary << "\n";
    return status;
}

// Plays a quiz program as it is: in place, or from standard input through the work folder.
int playProgram(const std::string& name, const fs::path& work, std::istream& in, std::ostream& out,
                std::ostream& err) {
    Playing playing;
    playing.shown = name == "-" ? "standard input" : quotedText(name);
    std::vector<unsigned char> image;
    std::string error;
    if (name == "-") {
        playing.program = work / PROGRAM_NAME;
        if (!readInputFile(name, in, PROGRAM_MAX_BYTES, "", &image, &error) ||
            !writeFileReplacing(playing.program, utf8Path(playing.program), image.data(), image.size(), &error)) {
            err << PREFIX << ": " << error << "\n";
            return TOOL_EXIT_FAILED;
        }
    } else {
        // The program runs in the work folder: its own name must not depend on the current one.
        std::error_code ec;
        playing.program = fs::absolute(nativePath(name), ec);
        // The headers are all that is needed, and they come first.
        int64_t size = 0;
        if (ec || !readRegularFile(playing.program, name, PROGRAM_MAX_BYTES, 64 * 1024, &image, &size, &error)) {
            err << PREFIX << ": " << (ec ? "cannot read " + quotedText(name) + ": " + ec.message() : error) << "\n";
            return TOOL_EXIT_FAILED;
        }
    }
    if (!readProgramBitness(image, &playing.is64Bit, &error)) {
        err << PREFIX << ": " << playing.shown << ": " << error << "\n";
        return TOOL_EXIT_FAILED;
    }
    Launch launch = start(playing, work, err);
    if (launch.result == LaunchResult::CannotRunHere && !playing.is64Bit)
        launch.reason += "; to play it here, dump it to a folder and play the folder, which uses the 64-bit player";
    const int status = launchStatus(launch, err);
    if (status == TOOL_EXIT_OK) out << "played " << playing.shown << "\n";
    return status;
}

// Removes the work folder; a program that has just ended may hold its files for a moment on Windows.
void removeWorkFolder(const fs::path& work, std::ostream& err) {
    std::error_code ec;
    for (int attempt = 0; attempt < 10; ++attempt) {
        fs::remove_all(work, ec);
        if (!ec) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    err << PREFIX << ": cannot remove the temporary folder " << quotedText(utf8Path(work)) << ": " << ec.message()
        << "\n";
}

}  // namespace

int runPlay(const Args& args, std::istream& in, std::ostream& out, std::ostream& err) {
    if (wantsHelp(args)) {
        out << PLAY_HELP;
        return TOOL_EXIT_OK;
    }
    std::string name, playerName;
    bool playerGiven = false;
    if (!commandArguments(PREFIX, args, {{"--player", &playerName, &playerGiven}}, "one quiz folder DIR or program QUIZ.exe",
                          &name, err)) {
        return TOOL_EXIT_USAGE;
    }
    std::error_code ec;
    const fs::path path = nativePath(name);
    const bool folder = name != "-" && (fs::is_directory(path, ec) || path.filename() == QUIZ_TOML_NAME);
    if (!folder && playerGiven) {
        usageError(err, PREFIX, "--player builds a quiz folder; a quiz program is played as it is");
        return TOOL_EXIT_USAGE;
    }
#if !defined(_WIN32) && !defined(__APPLE__)
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        err << PREFIX << ": no display to open the quiz on (DISPLAY is not set); run play in a graphical session\n";
        return TOOL_EXIT_FAILED;
    }
#endif
    // From before the folder is made until it is gone, an interruption ends the quiz program, not play.
    holdInterruptions(true);
    fs::path work;
    std::string error;
    if (!makePrivateTemporaryFolder("trivo-play", &work, &error)) {
        holdInterruptions(false);
        err << PREFIX << ": " << error << "\n";
        return TOOL_EXIT_FAILED;
    }
    int status = folder ? playFolder(name, playerGiven ? &playerName : nullptr, work, in, out, err)
                        : playProgram(name, work, in, out, err);
    removeWorkFolder(work, err);
    holdInterruptions(false);
    if (wasInterrupted()) {
        err << PREFIX << ": interrupted\n";
        status = TOOL_EXIT_FAILED;
    }
    return status;
}
