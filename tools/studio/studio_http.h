// The studio's requests and answers as plain values, apart from the server that carries them, so
// that every handler is a function of what the browser sent and the workspace.
#pragma once
#include <atomic>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tools/studio/request_guard.h"

struct StudioRequest {
    std::string method;  // "GET", "PUT" ...
    std::string path;    // the target before "?", not decoded
    std::string query;   // after "?", not decoded
    std::string body;
};

struct StudioResponse {
    int status = 200;
    std::string contentType = "application/json";
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;  // more headers: Set-Cookie, Location ...
};

// What trivo-make's commands are, run in-process (runTrivoMake): the studio builds and plays through
// them, as a user would on the command line.
typedef int (*ToolCommand)(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                           std::ostream& err);

struct StudioState {
    std::filesystem::path workspace;  // links resolved
    StudioAccess access;
    ToolCommand command = nullptr;
    std::atomic<bool> quitRequested{false};
    std::function<void()> stop;  // stops the server from any thread
    // The quiz tried from the page: play, on a thread of its own, one at a time (the runner waits for
    // one program), and ended with the studio, so that play still removes its temporary folder.
    std::thread trial;
    std::atomic<bool> trialRunning{false};
    std::mutex trialLock;       // guards the last trial's end:
    int trialStatus = 0;        // play's exit status
    std::string trialMessages;  // what play printed
};

// Uploads above these get 413: a media file as check takes one, a quiz program as dump reads one.
int64_t uploadLimitFor(const std::string& path);

// A resolved path as the file functions take it: on Windows without the "\\?\" prefix that resolving
// gives, under which "/" no longer separates names.
std::filesystem::path plainPath(const std::filesystem::path& resolved);

// Ends the quiz program of a trial, if one runs, and waits until play has cleaned up after it.
void endTrial(StudioState* state);

// Answers one request that passed the guards.
StudioResponse handleStudioRequest(StudioState* state, const StudioRequest& request);
