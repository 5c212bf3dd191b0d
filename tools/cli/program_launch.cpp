// Starting a quiz program and waiting for it: CreateProcess on Windows; elsewhere Wine's loader,
// called directly as the scripts do (Debian's wine script always starts the 32-bit loader when
// wine32 is installed), with WINELOADER telling Wine's own helpers which loader to start again.
#include "tools/cli/program_launch.h"

#include <system_error>

#include "tools/support/files.h"
#include "tools/support/text.h"
#include "tools/support/translation.h"

#ifndef _WIN32
#include "tools/cli/wine_prefix.h"
#endif

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

extern char** environ;
#endif

#ifdef _WIN32

// 64-bit Windows runs 32-bit programs; trivo-make.exe is itself one or the other.
bool runs32BitPrograms(const std::filesystem::path&, std::string*) { return true; }

Launch launchProgram(const std::filesystem::path& program, bool, const std::filesystem::path& workFolder) {
    const Spawned spawned = spawnAndWait({utf8Path(program)}, {}, workFolder, {});
    Launch launch;
    launch.result = spawned.started ? LaunchResult::Ended : LaunchResult::Failed;
    launch.exitStatus = spawned.exitStatus;
    if (!spawned.started) {
        // A 64-bit program on a 32-bit Windows.
        if (spawned.error == ERROR_BAD_EXE_FORMAT || spawned.error == ERROR_EXE_MACHINE_TYPE_MISMATCH)
            launch.result = LaunchResult::CannotRunHere;
        launch.reason = fillIn(tr("cannot start {1}: {2}"), quotedText(utf8Path(program)),
                               systemMessage(std::error_code(spawned.error, std::system_category())));
    }
    return launch;
}

#else

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

namespace {

// Why a loader that exec refused cannot start: errno from the child.
Launch execFailure(const std::string& loader, bool is64Bit, int error) {
    Launch launch;
    const std::string which = fillIn(is64Bit ? tr("Wine's 64-bit loader {1}") : tr("Wine's 32-bit loader {1}"),
                                     quotedText(loader));
    if (error == ENOENT) {
        // Also an i386 loader whose own loader (/lib/ld-linux.so.2) is not there.
        launch.result = LaunchResult::CannotRunHere;
        launch.reason = fillIn(tr("{1} is not installed (Debian package {2})"), which, is64Bit ? "wine64" : "wine32:i386");
    } else if (error == ENOEXEC) {
        // The kernel's own words, which the messages of Wine and of play quote.
        launch.reason = fillIn(tr("the kernel does not start {1}: Exec format error"), which);
        launch.result = LaunchResult::CannotRunHere;
    } else {
        launch.reason = fillIn(tr("cannot start {1}: {2}"), which, systemMessage(error));
    }
    return launch;
}

}  // namespace

std::string wineLoader(bool is64Bit) {
    const std::string chosen = environmentValue(is64Bit ? "WINE_LOADER_WIN64" : "WINE_LOADER_WIN32");
    if (!chosen.empty()) return chosen;
    return is64Bit ? "/usr/lib/wine/wine64" : "/usr/lib/wine/wine";
}

std::vector<std::string> wineEnvironment(bool is64Bit, const std::filesystem::path& prefix) {
    const std::string loader = wineLoader(is64Bit);
    std::vector<std::string> environment;
    for (char** variable = environ; *variable; ++variable) {
        const std::string entry = *variable;
        const std::string name = entry.substr(0, entry.find('='));
        if (name == "WINELOADER" || name == "WINEARCH" || name == "WINEPREFIX") continue;
        environment.push_back(entry);
    }
    environment.push_back("WINELOADER=" + loader);
    environment.push_back("WINEPREFIX=" + prefix.string());
    // A prefix made by the user keeps the architecture it was made with.
    if (environmentValue("WINEPREFIX").empty()) environment.push_back(std::string("WINEARCH=") + (is64Bit ? "win64" : "win32"));
    // Wine's notes on what it does not implement and its debugging lines are not the author's.
    if (std::getenv("WINEDEBUG") == nullptr) environment.push_back("WINEDEBUG=-all");
    return environment;
}

bool runs32BitPrograms(const std::filesystem::path& workFolder, std::string* why) {
    const std::string loader = wineLoader(false);
    const std::filesystem::path log = workFolder / "wine-probe.txt";
    // Starting the loader is the test: the kernel or a missing i386 runtime refuses it at once.
    const Spawned probe = spawnAndWait({loader, "--version"}, wineEnvironment(false, workFolder / "probe"), workFolder, log);
    const std::string output = fileStart(log);
    ::unlink(log.c_str());
    Launch refused;
    if (probe.execFailed) refused = execFailure(loader, false, probe.error);
    // A loader started through a script or a shell reports the kernel's refusal so.
    else if (probe.started && probe.exitStatus == 126 && output.find("Exec format error") != std::string::npos)
        refused = execFailure(loader, false, ENOEXEC);
    if (refused.result != LaunchResult::CannotRunHere) return true;
    *why = refused.reason;
    return false;
}

Launch launchProgram(const std::filesystem::path& program, bool is64Bit, const std::filesystem::path& workFolder) {
    const std::string loader = wineLoader(is64Bit);
    const std::filesystem::path logPath = workFolder / "wine-output.txt";
    const Spawned spawned = spawnAndWait({loader, program.string()}, wineEnvironment(is64Bit, winePrefixFor(is64Bit)),
                                         workFolder, logPath);
    Launch launch;
    launch.wineOutput = fileStart(logPath);
    ::unlink(logPath.c_str());
    if (spawned.execFailed) return execFailure(loader, is64Bit, spawned.error);
    if (spawned.chdirFailed) {
        launch.reason = fillIn(tr("cannot start Wine in {1}: {2}"), quotedText(workFolder.string()), systemMessage(spawned.error));
        return launch;
    }
    if (spawned.lost) {
        launch.reason = fillIn(tr("lost Wine's loader: {1}"), systemMessage(spawned.error));
        return launch;
    }
    if (!spawned.started) {
        launch.reason = fillIn(tr("cannot start Wine: {1}"), systemMessage(spawned.error));
        return launch;
    }
    if (spawned.signal != 0) {
        launch.reason = fillIn(tr("Wine's loader ended on signal {1}"), spawned.signal);
        return launch;
    }
    // A loader started through a script or a shell reports the kernel's refusal so.
    if (spawned.exitStatus == 126 && launch.wineOutput.find("Exec format error") != std::string::npos) {
        Launch refused = execFailure(loader, is64Bit, ENOEXEC);
        refused.wineOutput = launch.wineOutput;
        return refused;
    }
    launch.result = LaunchResult::Ended;
    launch.exitStatus = spawned.exitStatus;
    return launch;
}

#endif
