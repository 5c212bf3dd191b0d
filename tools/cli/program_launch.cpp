// Starting a quiz program and waiting for it: CreateProcess on Windows; elsewhere Wine's loader,
// called directly as the scripts do (Debian's wine script always starts the 32-bit loader when
// wine32 is installed), with WINELOADER telling Wine's own helpers which loader to start again.
#include "tools/cli/program_launch.h"

#include <system_error>

#include "tools/support/files.h"
#include "tools/support/text.h"

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
volatile sig_atomic_t s_child = 0;  // the loader waited for, for the signal handler
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

std::string loaderOf(bool is64Bit) {
    const std::string chosen = environmentValue(is64Bit ? "WINE_LOADER_WIN64" : "WINE_LOADER_WIN32");
    if (!chosen.empty()) return chosen;
    return is64Bit ? "/usr/lib/wine/wine64" : "/usr/lib/wine/wine";
}

// The environment of the loader: ours, with WINELOADER naming it, and for a 64-bit program a 64-bit
// prefix of its own, since a 32-bit one cannot take it.
std::vector<std::string> wineEnvironment(const std::string& loader, bool is64Bit) {
    const bool prefixGiven = !environmentValue("WINEPREFIX").empty();
    const bool debugGiven = std::getenv("WINEDEBUG") != nullptr;
    std::vector<std::string> environment;
    for (char** variable = environ; *variable; ++variable) {
        const std::string entry = *variable;
        const std::string name = entry.substr(0, entry.find('='));
        if (name == "WINELOADER" || (is64Bit && name == "WINEARCH")) continue;
        environment.push_back(entry);
    }
    environment.push_back("WINELOADER=" + loader);
    if (is64Bit) {
        environment.push_back("WINEARCH=win64");
        const std::string home = environmentValue("HOME");
        if (!prefixGiven && !home.empty()) environment.push_back("WINEPREFIX=" + home + "/.wine64");
    }
    // What Debian's wine script sets: Wine's notes about what it does not implement are left out.
    if (!debugGiven) environment.push_back("WINEDEBUG=fixme-all");
    return environment;
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

Launch launchProgram(const std::filesystem::path& program, bool is64Bit, const std::filesystem::path& workFolder) {
    const std::string loader = loaderOf(is64Bit);
    const std::filesystem::path logPath = workFolder / "wine-output.txt";
    Launch launch;
    // Wine's helpers outlive the program and would hold a pipe open: its output goes to a file.
    const int log = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0600);
    int report[2] = {-1, -1};
    if (log < 0 || ::pipe(report) != 0 || ::fcntl(report[0], F_SETFD, FD_CLOEXEC) != 0 ||
        ::fcntl(report[1], F_SETFD, FD_CLOEXEC) != 0) {
        launch.reason = std::string("cannot start Wine: ") + std::strerror(errno);
        for (int fd : {log, report[0], report[1]}) {
            if (fd >= 0) ::close(fd);
        }
        return launch;
    }
    // Everything the child needs is made before fork: after it, only system calls.
    const std::vector<std::string> environment = wineEnvironment(loader, is64Bit);
    std::vector<char*> environmentPointers;
    for (const std::string& entry : environment) environmentPointers.push_back(const_cast<char*>(entry.c_str()));
    environmentPointers.push_back(nullptr);
    const std::string programName = program.string();
    char* const arguments[] = {const_cast<char*>(loader.c_str()), const_cast<char*>(programName.c_str()), nullptr};
    const std::string folder = workFolder.string();

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
        if (::chdir(folder.c_str()) == 0 && ::dup2(log, STDOUT_FILENO) >= 0 && ::dup2(log, STDERR_FILENO) >= 0) {
            ::execve(loader.c_str(), arguments, environmentPointers.data());
            failure[0] = 1;
        }
        failure[1] = errno;
        ssize_t ignored = ::write(report[1], failure, sizeof failure);
        (void)ignored;
        ::_exit(127);
    }
    const int forkErrno = errno;
    ::close(log);
    ::close(report[1]);
    if (child < 0) {
        ::close(report[0]);
        launch.reason = std::string("cannot start Wine: ") + std::strerror(forkErrno);
        return launch;
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
    const bool waited = ended == child;

    std::vector<unsigned char> output;
    int64_t outputSize = 0;
    std::string ignored;
    readRegularFile(logPath, "", static_cast<int64_t>(1) << 40, WINE_OUTPUT_LIMIT, &output, &outputSize, &ignored);
    launch.wineOutput.assign(output.begin(), output.end());
    // The next start in this folder (the 64-bit player after the 32-bit one) logs anew.
    ::unlink(logPath.c_str());

    if (got == static_cast<ssize_t>(sizeof failure)) {
        if (failure[0] == 1) return execFailure(loader, is64Bit, failure[1]);
        launch.reason = "cannot start Wine in " + quotedText(folder) + ": " + std::strerror(failure[1]);
        return launch;
    }
    if (!waited) {
        launch.reason = std::string("lost Wine's loader: ") + std::strerror(errno);
        return launch;
    }
    if (WIFSIGNALED(status)) {
        launch.reason = "Wine's loader ended on signal " + std::to_string(WTERMSIG(status));
        return launch;
    }
    const int exitStatus = WEXITSTATUS(status);
    // A loader started through a script or a shell reports the kernel's refusal so.
    if (exitStatus == 126 && launch.wineOutput.find("Exec format error") != std::string::npos) {
        Launch refused = execFailure(loader, is64Bit, ENOEXEC);
        refused.wineOutput = launch.wineOutput;
        return refused;
    }
    launch.result = LaunchResult::Ended;
    launch.exitStatus = exitStatus;
    return launch;
}

#endif
