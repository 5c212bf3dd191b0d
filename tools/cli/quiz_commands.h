// trivo-make's quiz folder commands: new, check, build and dump. Same shape as every command:
// the arguments after the command's name in, the exit status out. Below them, the steps that play
// shares with build.
#pragma once
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "tools/cli/command_line.h"
#include "tools/quiz_folder/quiz_check.h"

int runNew(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);
int runCheck(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);
int runBuild(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);
int runDump(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);

// A program file is held in memory while it is read; the player is far smaller, and a quiz
// program holds at most the media limit and the player.
constexpr int64_t PROGRAM_MAX_BYTES = MEDIA_TOTAL_MAX_BYTES + 64 * 1024 * 1024;

bool wantsHelp(const Args& args);

// Reads the arguments of a command that takes one name and value options; prints the usage error
// ("needs NEEDS, got 2 names").
bool commandArguments(const std::string& prefix, const Args& args, const std::vector<ValueOption>& options,
                      const char* needs, std::string* name, std::ostream& err);

// A quiz folder named on the command line (or its quiz.toml): its path, and its quiz.toml as
// messages show it.
struct QuizFolder {
    std::filesystem::path path;
    std::string tomlShown;
};
QuizFolder quizFolder(const std::string& arg);

// "picture quiz, 3 questions, 6 media files"
std::string quizSummary(const QuizContent& content, std::size_t mediaCount);

// Checks the folder with its media read whole, as for building; its problems go to err, and when
// one is an error, a last line "PREFIX: ...: N errors, N warnings; OUTCOME" ("nothing written").
bool checkForBuilding(const std::string& prefix, const QuizFolder& folder, const char* outcome, CheckedQuiz* quiz,
                      std::ostream& err);

// Reads the player named on the command line (named; "-" is standard input) or, when named is
// null, the one called defaultName where trivo-make looks for players. *shown: the player as
// messages show it. On failure the reason is printed on err.
bool readPlayer(const std::string& prefix, const std::string* named, const char* defaultName, std::istream& in,
                std::vector<unsigned char>* player, std::string* shown, std::ostream& err);
