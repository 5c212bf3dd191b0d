// Starting a quiz program and waiting until it ends: directly on Windows, with Wine elsewhere.
#pragma once
#include <filesystem>
#include <string>

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
// Under Wine, a 32-bit program runs with Wine's 32-bit loader; a 64-bit one with the 64-bit loader,
// WINEARCH=win64 and the prefix ~/.wine64 unless WINEPREFIX is set. The loaders are
// /usr/lib/wine/wine and /usr/lib/wine/wine64 unless WINE_LOADER_WIN32 and WINE_LOADER_WIN64 name
// others.
Launch launchProgram(const std::filesystem::path& program, bool is64Bit, const std::filesystem::path& workFolder);

// While held, an interruption (Ctrl-C; outside Windows also a closed terminal or a kill) does not
// end trivo-make: it ends the program launched, if any, and is remembered, so that play still
// cleans up.
void holdInterruptions(bool hold);
bool wasInterrupted();
