// Starting a quiz program and waiting for it: CreateProcess on Windows; elsewhere Wine's loader,
// called directly as the scripts do (Debian's wine script always starts the 32-bit loader when
// wine32 is installed), with WINELOADER telling Wine's own helpers which loader to start again.
#include "tools/cli/program_launch.h"

#include <system_error>

#include "tools/support/files.h"
#include "tools/support/text.h"

#ifndef _WIN32
#include "tools/cli/wine_prefix.h"
#endif

#ifdef _WIN32
#include <windows.h>

#include <atomic>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

extern char** environ;
#endif

#ifdef _WIN32

namespace {

// The console's control handler runs on a thread of its own.
std::atomic<HANDLE> s_child(nullptr);  // the program waited for
std::atomic<bool> s_interrupted(false);

// Ctrl-C or Ctrl-Break: the program is ended, and the wait with it.
BOOL WINAPI onConsoleControl(DWORD) {
    s_interrupted = true;
    const HANDLE child = s_child;
    if (child) TerminateProcess(child, 1);
    return TRUE;
}

}  // namespace

void holdInterruptions(bool hold) {
    if (hold) s_interrupted = false;
    SetConsoleCtrlHandler(onConsoleControl, hold ? TRUE : FALSE);
}

bool wasInterrupted() { return s_interrupted; }

// 64-bit Windows runs 32-bit programs; trivo-make.exe is itself one or the other.
bool runs32BitPrograms(const std::filesystem::path&, std::string*) { return true; }

Launch launchProgram(const std::filesystem::path& program, bool, const std::filesystem::path& workFolder) {
    Launch launch;
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        workFolder.c_str(), &startup, &process)) {
        const DWORD error = GetLastError();
        // A 64-bit program on a 32-bit Windows.
        const bool foreign = error == ERROR_BAD_EXE_FORMAT || error == ERROR_EXE_MACHINE_TYPE_MISMATCH;
        launch.result = foreign ? LaunchResult::CannotRunHere : LaunchResult::Failed;
        launch.reason = "cannot start " + quotedText(utf8Path(program)) + ": " +
                        std::system_category().message(static_cast<int>(error));
        return launch;
    }
    CloseHandle(process.hThread);
    s_child = process.hProcess;
    // An interruption just before the program started finds it now.
    if (s_interrupted) TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, INFINITE);
    s_child = nullptr;
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hProcess);
    launch.result = LaunchResult::Ended;
    launch.exitStatus = static_cast<int>(status);
    return launch;
}

#else

namespace {

// Wine's output is read back at most this far: its messages, not a flood.
constexpr std::size_t WINE_OUTPUT_LIMIT = 64 * 1024;

const int INTERRUPTIONS[] = {SIGINT, SIGQUIT, SIGTERM, SIGHUP};
struct sigaction s_previous[4];
volatile sig_atomic_t s_child = 0;  // the process waited for, for the signal handler
volatile sig_atomic_t s_interrupted = 0;

// The signal reaches the program too (Ctrl-C reaches the whole foreground group anyway), and is
// remembered.
void onInterruption(int signal) {
    s_interrupted = 1;
    if (s_child > 0) kill(static_cast<pid_t>(s_child), signal);
}

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Why a loader that exec refused cannot start: errno from the child.
Launch execFailure(const std::string& loader, bool is64Bit, int error) {
    Launch launch;
    const std::string which = std::string("Wine's ") + (is64Bit ? "64" : "32") + "-bit loader " + quotedText(loader);
    if (error == ENOENT) {
        // Also an i386 loader whose own loader (/lib/ld-linux.so.2) is not there.
        launch.result = LaunchResult::CannotRunHere;
        launch.reason = which + " is not installed (Debian package " + (is64Bit ? "wine64" : "wine32:i386") + ")";
    } else if (error == ENOEXEC) {
        launch.result = LaunchResult::CannotRunHere;
        launch.reason = "the kernel does not start " + which + ": Exec format error";
    } else {
        launch.reason = "cannot start " + which + ": " + std::strerror(error);
    }
    return launch;
}

}  // namespace

void holdInterruptions(bool hold) {
    struct sigaction handler = {};
    handler.sa_handler = onInterruption;
    sigemptyset(&handler.sa_mask);
    if (hold) s_interrupted = 0;
    for (int i = 0; i < 4; ++i) sigaction(INTERRUPTIONS[i], hold ? &handler : &s_previous[i], hold ? &s_previous[i] : nullptr);
}

bool wasInterrupted() { return s_interrupted != 0; }

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

Spawned spawnAndWait(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
                     const std::filesystem::path& folder, const std::filesystem::path& log) {
    Spawned spawned;
    // Wine's helpers outlive the program and would hold a pipe open: its output goes to a file.
    const int logFile = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW, 0600);
    int report[2] = {-1, -1};
    if (logFile < 0 || ::pipe(report) != 0 || ::fcntl(report[0], F_SETFD, FD_CLOEXEC) != 0 ||
        ::fcntl(report[1], F_SETFD, FD_CLOEXEC) != 0) {
        spawned.error = errno;
        for (int fd : {logFile, report[0], report[1]}) {
            if (fd >= 0) ::close(fd);
        }
        return spawned;
    }
    // Everything the child needs is made before fork: after it, only system calls.
    std::vector<char*> argumentPointers, environmentPointers;
    for (const std::string& argument : arguments) argumentPointers.push_back(const_cast<char*>(argument.c_str()));
    argumentPointers.push_back(nullptr);
    for (const std::string& entry : environment) environmentPointers.push_back(const_cast<char*>(entry.c_str()));
    environmentPointers.push_back(nullptr);
    const std::string folderName = folder.string();

    const pid_t child = ::fork();
    if (child == 0) {
        // The program meets interruptions as any program does.
        struct sigaction byDefault = {};
        byDefault.sa_handler = SIG_DFL;
        sigemptyset(&byDefault.sa_mask);
        for (int signal : INTERRUPTIONS) sigaction(signal, &byDefault, nullptr);
        // One that came before that, and found the handler of play, ends the program before it starts.
        if (s_interrupted) ::_exit(128 + SIGTERM);
        // The child tells the parent why it could not exec: the step (0 before exec, 1 exec) and errno.
        int failure[2] = {0, 0};
        if (::chdir(folderName.c_str()) == 0 && ::dup2(logFile, STDOUT_FILENO) >= 0 &&
            ::dup2(logFile, STDERR_FILENO) >= 0) {
            ::execve(argumentPointers[0], argumentPointers.data(), environmentPointers.data());
            failure[0] = 1;
        }
        failure[1] = errno;
        ssize_t ignored = ::write(report[1], failure, sizeof failure);
        (void)ignored;
        ::_exit(127);
    }
    const int forkErrno = errno;
    ::close(logFile);
    ::close(report[1]);
    if (child < 0) {
        ::close(report[0]);
        spawned.error = forkErrno;
        return spawned;
    }
    s_child = child;
    // An interruption just before the fork finds the program now.
    if (s_interrupted) kill(child, SIGTERM);
    int failure[2] = {0, 0};
    ssize_t got;
    while ((got = ::read(report[0], failure, sizeof failure)) < 0 && errno == EINTR) {
    }
    ::close(report[0]);
    int status = 0;
    pid_t ended;
    while ((ended = ::waitpid(child, &status, 0)) < 0 && errno == EINTR) {
    }
    s_child = 0;
    if (got == static_cast<ssize_t>(sizeof failure)) {
        spawned.execFailed = failure[0] == 1;
        spawned.error = failure[1];
        spawned.chdirFailed = failure[0] == 0;
        return spawned;
    }
    if (ended != child) {
        spawned.error = errno;
        spawned.lost = true;
        return spawned;
    }
    spawned.started = true;
    spawned.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    spawned.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 0;
    return spawned;
}

std::string fileStart(const std::filesystem::path& path) {
    std::vector<unsigned char> output;
    int64_t outputSize = 0;
    std::string ignored;
    readRegularFile(path, "", static_cast<int64_t>(1) << 40, WINE_OUTPUT_LIMIT, &output, &outputSize, &ignored);
    return std::string(output.begin(), output.end());
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
        launch.reason = "cannot start Wine in " + quotedText(workFolder.string()) + ": " + std::strerror(spawned.error);
        return launch;
    }
    if (spawned.lost) {
        launch.reason = std::string("lost Wine's loader: ") + std::strerror(spawned.error);
        return launch;
    }
    if (!spawned.started) {
        launch.reason = std::string("cannot start Wine: ") + std::strerror(spawned.error);
        return launch;
    }
    if (spawned.signal != 0) {
        launch.reason = "Wine's loader ended on signal " + std::to_string(spawned.signal);
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
