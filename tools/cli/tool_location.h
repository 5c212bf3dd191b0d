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

// The places a player named name is looked for, in order: beside the running program.
std::vector<std::filesystem::path> playerPlaces(const char* name);

// The first of playerPlaces(name) that exists; empty when none does.
std::filesystem::path findPlayer(const char* name);
