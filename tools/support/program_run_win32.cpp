// Running a program on Windows: CreateProcess, which looks for a name without a path in PATH, and
// a console control handler that ends the program waited for.
#include "tools/support/program_run.h"

#include <windows.h>

#include <atomic>

#include "tools/support/files.h"

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

void interruptProgram() { onConsoleControl(CTRL_C_EVENT); }

bool programMissing(const Spawned& spawned) {
    return spawned.execFailed && (spawned.error == ERROR_FILE_NOT_FOUND || spawned.error == ERROR_PATH_NOT_FOUND);
}

// No Windows name holds a double quote, nor does any argument given here.
Spawned spawnAndWait(const std::vector<std::string>& arguments, const std::vector<std::string>&,
                     const std::filesystem::path& folder, const std::filesystem::path& log) {
    Spawned spawned;
    std::wstring commandLine;
    for (const std::string& argument : arguments)
        commandLine += (commandLine.empty() ? L"\"" : L" \"") + nativePath(argument).wstring() + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    const bool logged = !log.empty();
    if (logged) {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = CreateFileW(L"NUL", GENERIC_READ, 0, &inherit, OPEN_EXISTING, 0, nullptr);
        // Shared: under Wine the program's copy of the handle outlives it briefly, and the log is read
        // and removed as soon as the program ends.
        startup.hStdOutput = CreateFileW(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         &inherit, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        startup.hStdError = startup.hStdOutput;
    }
    PROCESS_INFORMATION process = {};
    const bool prepared = !logged || (startup.hStdInput != INVALID_HANDLE_VALUE && startup.hStdOutput != INVALID_HANDLE_VALUE);
    const BOOL started = prepared && CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, logged, CREATE_NO_WINDOW,
                                                    nullptr, folder.c_str(), &startup, &process);
    spawned.error = static_cast<int>(GetLastError());
    for (HANDLE handle : {startup.hStdInput, startup.hStdOutput}) {
        if (logged && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
    if (!started) {
        spawned.execFailed = prepared;
        return spawned;
    }
    CloseHandle(process.hThread);
    s_child = process.hProcess;
    // An interruption just before the program started finds it now.
    if (s_interrupted) TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, INFINITE);
    s_child = nullptr;
    DWORD status = 1;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hProcess);
    spawned.started = true;
    spawned.exitStatus = static_cast<int>(status);
    return spawned;
}
