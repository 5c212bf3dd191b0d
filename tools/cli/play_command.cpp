// Playing a quiz as players will see it: a folder built into a temporary program, or a program as it
// is, run in a private temporary folder that is removed afterwards with everything the player wrote.
#include "tools/cli/play_command.h"

#include <chrono>
#include <cstdlib>
#include <istream>
#include <ostream>
#include <system_error>
#include <thread>
#include <vector>

#include "tools/cli/commands.h"
#include "tools/cli/help_texts.h"
#include "tools/cli/program_launch.h"
#include "tools/cli/quiz_commands.h"
#include "tools/cli/tool_location.h"
#include "tools/cli/wine_prefix.h"
#include "tools/pe/pe_resources.h"
#include "tools/quiz_folder/quiz_build.h"
#include "tools/support/cp1252.h"
#include "tools/support/files.h"
#include "tools/support/text.h"
#include "tools/support/translation.h"

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

// Writes program, a quiz program built for playing, as the work folder's program.
bool writeProgram(const fs::path& work, const std::vector<unsigned char>& program, Playing* playing,
                  std::ostream& err) {
    std::string error;
    if (!readProgramBitness(program, &playing->is64Bit, &error)) {
        err << prefixed(PREFIX, fillIn(tr("the program built cannot be played: {1}"), error)) << "\n";
        return false;
    }
    playing->program = work / PROGRAM_NAME;
    if (!writeFileReplacing(playing->program, utf8Path(playing->program), program.data(), program.size(), &error)) {
        err << prefixed(PREFIX, error) << "\n";
        return false;
    }
    return true;
}

// Whether programs of this kind run here; where 32-bit ones do not, *why says so.
bool runsHere(bool is64Bit, const fs::path& work, std::string* why) {
    return is64Bit || runs32BitPrograms(work, why);
}

// Said once, before anything is built: where 32-bit programs do not run, the 64-bit player is used.
// ofProgram: the quiz is a program's, read back, rather than a folder's.
void tellNo32Bit(const std::string& why, bool ofProgram, std::ostream& err) {
    err << prefixed(PREFIX, fillIn(ofProgram ? tr("this machine does not run 32-bit Windows programs: {1}; its quiz is "
                                                  "built over the 64-bit player {2}")
                                             : tr("this machine does not run 32-bit Windows programs: {1}; the quiz is "
                                                  "built over the 64-bit player {2}"),
                                   why, PLAYER_64_NAME))
        << "\n";
}

// Wine's last lines, when the program did not end well: what it said of why.
void passOnWineEnd(const Launch& launch, std::ostream& err) {
    for (const std::string& line : lastLines(launch.wineOutput, 5))
        err << prefixed(PREFIX, fillIn(tr("Wine: {1}"), printable(line))) << "\n";
}

// Prepares the Wine prefix of the program's kind, then starts it and waits.
Launch start(const Playing& playing, const fs::path& work, std::ostream& err) {
    Launch launch;
    if (wasInterrupted()) return launch;
#ifndef _WIN32
    if (!prepareWinePrefix(playing.is64Bit, err, &launch.reason)) return launch;
    if (wasInterrupted()) return launch;
#endif
    const char* opening = playing.is64Bit ? (UNDER_WINE ? tr("opening {1} (64-bit, with Wine); close its window to end")
                                                        : tr("opening {1} (64-bit); close its window to end"))
                                          : (UNDER_WINE ? tr("opening {1} (32-bit, with Wine); close its window to end")
                                                        : tr("opening {1} (32-bit); close its window to end"));
    err << prefixed(PREFIX, fillIn(opening, playing.shown)) << "\n";
    err.flush();
    return launchProgram(playing.program, playing.is64Bit, work);
}

// The exit status for the end of a launch, and the reason on err when it failed; an interruption is
// said once, by runPlay. Wine's own lines are shown only then.
int launchStatus(const Launch& launch, std::ostream& err) {
    if (wasInterrupted()) return TOOL_EXIT_FAILED;
    if (launch.result != LaunchResult::Ended) {
        passOnWineEnd(launch, err);
        err << prefixed(PREFIX, launch.reason) << "\n";
        return TOOL_EXIT_FAILED;
    }
    if (launch.exitStatus != 0) {
        passOnWineEnd(launch, err);
        err << prefixed(PREFIX, fillIn(tr("the quiz program ended with exit status {1}"), launch.exitStatus)) << "\n";
        return TOOL_EXIT_FAILED;
    }
    return TOOL_EXIT_OK;
}

// Plays the quiz folder: checks it, builds it over the player and starts it; where 32-bit programs do
// not run, over the 64-bit player, as said once at the start.
int playFolder(const std::string& name, const std::string* playerName, const fs::path& work, std::istream& in,
               std::ostream& out, std::ostream& err) {
    const QuizFolder folder = quizFolder(name);
    Playing playing;
    playing.shown = printable(folderName(name));
    std::vector<unsigned char> player, program;
    std::string playerShown, why, error;
    const char* defaultPlayer = PLAYER_NAME;
    // Without a 32-bit player where the tool looks, a 64-bit one found there will do.
    if (!playerName && findPlayer(PLAYER_NAME).empty() && !findPlayer(PLAYER_64_NAME).empty())
        defaultPlayer = PLAYER_64_NAME;
    else if (!playerName && !runsHere(false, work, &why)) {
        tellNo32Bit(why, false, err);
        defaultPlayer = PLAYER_64_NAME;
    }
    CheckedQuiz quiz;
    if (!checkForBuilding(PREFIX, folder, tr("not played"), &quiz, err)) return TOOL_EXIT_FAILED;
    playing.summary = quizSummary(quiz.content, quiz.media.size());
    if (!readPlayer(PREFIX, playerName, defaultPlayer, in, &player, &playerShown, err)) return TOOL_EXIT_FAILED;
    bool is64Bit = false;
    if (!readProgramBitness(player, &is64Bit, &error) || !buildQuizProgram(player, quiz, &program, &error)) {
        err << prefixed(PREFIX, fillIn(tr("player {1} cannot carry the quiz: {2}"), playerShown, error)) << "\n";
        return TOOL_EXIT_FAILED;
    }
    if (playerName && !runsHere(is64Bit, work, &why)) {
        err << prefixed(PREFIX, fillIn(tr("this machine does not run 32-bit Windows programs: {1}; name a 64-bit "
                                          "player, or leave --player out"),
                                       why))
            << "\n";
        return TOOL_EXIT_FAILED;
    }
    if (!writeProgram(work, program, &playing, err)) return TOOL_EXIT_FAILED;
    const int status = launchStatus(start(playing, work, err), err);
    if (status == TOOL_EXIT_OK) out << fillIn(tr("played {1}: {2}"), playing.shown, playing.summary) << "\n";
    return status;
}

// Plays a quiz program as it is: in place, or from standard input through the work folder. Where a
// 32-bit one cannot run, its quiz is played over the 64-bit player.
int playProgram(const std::string& name, const fs::path& work, std::istream& in, std::ostream& out,
                std::ostream& err) {
    Playing playing;
    playing.shown = name == "-" ? tr("standard input") : quotedText(name);
    std::vector<unsigned char> image;
    std::string error;
    bool whole = name == "-";
    if (whole) {
        if (!readInputFile(name, in, PROGRAM_MAX_BYTES, "", &image, &error)) {
            err << prefixed(PREFIX, error) << "\n";
            return TOOL_EXIT_FAILED;
        }
    } else {
        // The program runs in the work folder: its own name must not depend on the current one.
        std::error_code ec;
        playing.program = fs::absolute(nativePath(name), ec);
        // The headers are all that is needed, and they come first.
        int64_t size = 0;
        if (ec || !readRegularFile(playing.program, name, PROGRAM_MAX_BYTES, 64 * 1024, &image, &size, &error)) {
            err << prefixed(PREFIX, ec ? fillIn(tr("cannot read {1}: {2}"), quotedText(name), systemMessage(ec)) : error) << "\n";
            return TOOL_EXIT_FAILED;
        }
    }
    if (!readProgramBitness(image, &playing.is64Bit, &error)) {
        err << prefixed(PREFIX, fillIn(tr("{1}: {2}"), playing.shown, error)) << "\n";
        return TOOL_EXIT_FAILED;
    }
    std::string why;
    if (!runsHere(playing.is64Bit, work, &why)) {
        tellNo32Bit(why, true, err);
        std::vector<unsigned char> player, program;
        std::string playerShown;
        int64_t size = 0;
        if (!whole && !readRegularFile(playing.program, name, PROGRAM_MAX_BYTES, PROGRAM_MAX_BYTES, &image, &size, &error)) {
            err << prefixed(PREFIX, error) << "\n";
            return TOOL_EXIT_FAILED;
        }
        if (!readPlayer(PREFIX, nullptr, PLAYER_64_NAME, in, &player, &playerShown, err)) return TOOL_EXIT_FAILED;
        if (!moveQuizProgram(player, image, &program, &error)) {
            err << prefixed(PREFIX, fillIn(tr("{1}: {2}"), playing.shown, error)) << "\n";
            return TOOL_EXIT_FAILED;
        }
        image.swap(program);
        whole = true;
    }
    if (whole && !writeProgram(work, image, &playing, err)) return TOOL_EXIT_FAILED;
    const int status = launchStatus(start(playing, work, err), err);
    if (status == TOOL_EXIT_OK) out << fillIn(tr("played {1}"), playing.shown) << "\n";
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
    err << prefixed(PREFIX, fillIn(tr("cannot remove the temporary folder {1}: {2}"), quotedText(utf8Path(work)),
                                   systemMessage(ec)))
        << "\n";
}

}  // namespace

int runPlay(const Args& args, std::istream& in, std::ostream& out, std::ostream& err) {
    if (wantsHelp(args)) {
        out << tr(PLAY_HELP);
        return TOOL_EXIT_OK;
    }
    std::string name, playerName;
    bool playerGiven = false;
    if (!commandArguments(PREFIX, args, {{"--player", &playerName, &playerGiven}}, tr("one quiz folder DIR or program QUIZ.exe"),
                          &name, err)) {
        return TOOL_EXIT_USAGE;
    }
    std::error_code ec;
    const fs::path path = nativePath(name);
    const bool folder = name != "-" && (fs::is_directory(path, ec) || path.filename() == QUIZ_TOML_NAME);
    if (!folder && playerGiven) {
        usageError(err, PREFIX, tr("--player builds a quiz folder; a quiz program is played as it is"));
        return TOOL_EXIT_USAGE;
    }
#if !defined(_WIN32) && !defined(__APPLE__)
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        err << prefixed(PREFIX, tr("no display to open the quiz on (DISPLAY is not set); run play in a graphical session"))
            << "\n";
        return TOOL_EXIT_FAILED;
    }
#endif
    // From before the folder is made until it is gone, an interruption ends the quiz program, not play.
    holdInterruptions(true);
    fs::path work;
    std::string error;
    if (!makePrivateTemporaryFolder("trivo-play", &work, &error)) {
        holdInterruptions(false);
        err << prefixed(PREFIX, error) << "\n";
        return TOOL_EXIT_FAILED;
    }
    int status = folder ? playFolder(name, playerGiven ? &playerName : nullptr, work, in, out, err)
                        : playProgram(name, work, in, out, err);
    removeWorkFolder(work, err);
    holdInterruptions(false);
    if (wasInterrupted()) {
        err << prefixed(PREFIX, tr("interrupted")) << "\n";
        status = TOOL_EXIT_FAILED;
    }
    return status;
}
