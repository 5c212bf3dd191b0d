// Starting a quiz program and waiting until it ends: directly on Windows, with Wine elsewhere.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "tools/support/program_run.h"

enum class LaunchResult {
    Ended,          // the program ran and ended; exitStatus is its status
    CannotRunHere,  // this machine does not run programs of its kind (no Wine loader for them, or
                    // the kernel refuses that loader: "Exec format error")
    Failed,         // anything else kept it from running to its end
};

struct Launch {
    LaunchResult result = LaunchResult::Failed;
    int exitStatus = 0;
    std::string reason;      // when not Ended: why, in one line
    std::string wineOutput;  // what Wine wrote while the program ran (at most its first 64 KB)
};

// Starts program (a 64-bit one when is64Bit) with workFolder as its current folder, where the player
// writes its answers and temporary media and where Wine's output is logged, and waits for it.
// Under Wine, a program runs with the loader of its kind, in the prefix of winePrefixFor
// (wine_prefix.h), which prepareWinePrefix has made ready.
Launch launchProgram(const std::filesystem::path& program, bool is64Bit, const std::filesystem::path& workFolder);

// Whether 32-bit Windows programs run here: always on Windows; under Wine, tried by starting Wine's
// 32-bit loader in workFolder, since a kernel may refuse all 32-bit programs. *why: why not.
bool runs32BitPrograms(const std::filesystem::path& workFolder, std::string* why);

#ifndef _WIN32
// The value of an environment variable; empty when it is not set.
std::string environmentValue(const char* name);
// Wine's loaders: /usr/lib/wine/wine and /usr/lib/wine/wine64 unless WINE_LOADER_WIN32 and
// WINE_LOADER_WIN64 name others.
std::string wineLoader(bool is64Bit);
// The environment of a Wine program: ours, with WINELOADER naming the loader (Debian's wine script
// always starts the 32-bit one), the prefix, WINEARCH for a prefix of Trivo's own, and Wine's debugging
// lines off unless WINEDEBUG asks for them.
std::vector<std::string> wineEnvironment(bool is64Bit, const std::filesystem::path& prefix);
#endif
