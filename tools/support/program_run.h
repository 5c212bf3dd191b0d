// Running another program and waiting for it to end, its output into a file: ffmpeg for the web
// page's films, Wine's loader or a quiz program for play. program_run_posix.cpp forks and execs,
// program_run_win32.cpp calls CreateProcess.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

// How a run went.
struct Spawned {
    bool started = false;  // it ran and ended: exitStatus or signal
    int exitStatus = 0;
    int signal = 0;
    bool execFailed = false, chdirFailed = false, lost = false;
    int error = 0;  // when it did not start or was lost: errno, or on Windows GetLastError's code
};

// Starts arguments[0] (a path, or a name looked for in PATH; on Windows ".exe" may be left off) with
// the other arguments, in folder, and waits for it. environment holds "NAME=value" entries; empty
// (always on Windows) is ours. Standard output and error go into the file log, never reached
// through a link (emptied first; on Windows a new file), and standard input comes from nothing; on Windows a program given
// no log (an empty path) shares ours.
Spawned spawnAndWait(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
                     const std::filesystem::path& folder, const std::filesystem::path& log);
// Whether it did not start because there is no program of that name.
bool programMissing(const Spawned& spawned);

// While held, an interruption (Ctrl-C; outside Windows also a closed terminal or a kill) does not
// end trivo-make: it ends the program running, if any, and is remembered, so that play still
// cleans up.
void holdInterruptions(bool hold);
bool wasInterrupted();
// What an interruption does, asked for by the program itself (the studio stopping while a quiz it
// opened runs): from any thread.
void interruptProgram();
