// The default browser: ShellExecute on Windows, xdg-open elsewhere (open on macOS).
#include "tools/studio/browser_open.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>

bool openBrowser(const std::string& url) {
    // The address is ASCII: 127.0.0.1, a port and hexadecimal digits.
    return reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32;
}
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

bool openBrowser(const std::string& url) {
#ifdef __APPLE__
    const char* opener = "open";
#else
    const char* opener = "xdg-open";
#endif
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The browser's own messages would mix with the studio's address and log.
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::string address = url;
    char* arguments[] = {const_cast<char*>(opener), &address[0], nullptr};
    pid_t pid = 0;
    const bool started = posix_spawnp(&pid, opener, &actions, nullptr, arguments, environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    return started;
}
#endif
