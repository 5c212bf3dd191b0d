// Where the running trivo-make is, and where it finds the players it builds quizzes over.
#pragma once
#include <filesystem>
#include <vector>

// The player every quiz program is built over unless told otherwise: 32-bit, it runs on every
// Windows. The 64-bit one is for the machines that run no 32-bit code (Linux kernels without it).
extern const char* const PLAYER_NAME;     // "trivo.exe"
extern const char* const PLAYER_64_NAME;  // "trivo64.exe"

// The full path of the running program; empty when the system cannot say.
std::filesystem::path runningProgramPath();

// The places a player named name is looked for from the program at program, in order:
//   beside it                    the Windows archive, or a copy put there by hand;
//   ../share/trivo/ from it      the installed layout (bin/trivo-make, share/trivo/trivo.exe);
//   the MinGW build tree         when program is at the top of a CMake build tree (CMakeCache.txt
//                                beside it), the player the sibling tree of CMakePresets.json builds:
//                                ../mingw/app/trivo.exe, or ../mingw64/app/trivo.exe for trivo64.exe.
// Relative to the program, so that no path of the machine that built it is kept in it.
std::vector<std::filesystem::path> playerPlaces(const char* name,
                                                const std::filesystem::path& program = runningProgramPath());

// The first of playerPlaces(name, program) that exists; empty when none does.
std::filesystem::path findPlayer(const char* name, const std::filesystem::path& program = runningProgramPath());
