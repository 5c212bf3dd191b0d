// Running a program on POSIX systems: fork, then in the child only system calls up to exec, which
// reports its failure through a pipe closed on exec.
#include "tools/support/program_run.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

extern char** environ;

namespace {

const int INTERRUPTIONS[] = {SIGINT, SIGQUIT, SIGTERM, SIGHUP};
struct sigaction s_previous[4];
// Read by the signal handler and, since the studio stops a trial from another thread, by more than
// one thread: atomics that take no lock, which a signal handler may use.
std::atomic<pid_t> s_child(0);  // the process waited for
std::atomic<bool> s_interrupted(false);
static_assert(std::atomic<pid_t>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "the signal handler's state takes no lock");

// The program is ended, and the interruption remembered. SIGTERM whatever came: a Windows program
// under Wine lets SIGINT pass (Ctrl-C reaches the whole foreground group, it too), and would stay open.
void onInterruption(int) {
    s_interrupted = true;
    const pid_t child = s_child;
    if (child > 0) kill(child, SIGTERM);
}

}  // namespace

void holdInterruptions(bool hold) {
    struct sigaction handler = {};
    handler.sa_handler = onInterruption;
    sigemptyset(&handler.sa_mask);
    if (hold) s_interrupted = false;
    for (int i = 0; i < 4; ++i) sigaction(INTERRUPTIONS[i], hold ? &handler : &s_previous[i], hold ? &s_previous[i] : nullptr);
}

bool wasInterrupted() { return s_interrupted; }

void interruptProgram() { onInterruption(SIGTERM); }

bool programMissing(const Spawned& spawned) { return spawned.execFailed && spawned.error == ENOENT; }

Spawned spawnAndWait(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
                     const std::filesystem::path& folder, const std::filesystem::path& log) {
    Spawned spawned;
    // Wine's helpers outlive the program and would hold a pipe open: the output goes to a file.
    const int input = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int logFile = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW, 0600);
    int report[2] = {-1, -1};
    if (input < 0 || logFile < 0 || ::pipe2(report, O_CLOEXEC) != 0) {
        spawned.error = errno;
        for (int fd : {input, logFile, report[0], report[1]}) {
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
    char** const childEnvironment = environment.empty() ? environ : environmentPointers.data();
    const bool searched = arguments[0].find('/') == std::string::npos;
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
        if (::chdir(folderName.c_str()) == 0 && ::dup2(input, STDIN_FILENO) >= 0 &&
            ::dup2(logFile, STDOUT_FILENO) >= 0 && ::dup2(logFile, STDERR_FILENO) >= 0) {
            // A path is started as it is: execvp would hand a file the kernel refuses to the shell.
            environ = childEnvironment;
            if (searched)
                ::execvp(argumentPointers[0], argumentPointers.data());
            else
                ::execve(argumentPointers[0], argumentPointers.data(), childEnvironment);
            failure[0] = 1;
        }
        failure[1] = errno;
        ssize_t ignored = ::write(report[1], failure, sizeof failure);
        (void)ignored;
        ::_exit(127);
    }
    const int forkErrno = errno;
    ::close(input);
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
