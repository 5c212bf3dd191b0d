// Where the running trivo-make is, to find the player beside it.
#pragma once
#include <filesystem>

// The full path of the running program; empty when the system cannot say.
std::filesystem::path runningProgramPath();
