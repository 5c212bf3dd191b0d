// The running program's path (the module file name on Windows, /proc/self/exe on Linux) and the
// players found from it.
#include "tools/cli/tool_location.h"

#include <system_error>

#ifdef _WIN32
#include <windows.h>
#include <string>
#endif

std::filesystem::path runningProgramPath() {
#ifdef _WIN32
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, &name[0], static_cast<DWORD>(name.size()));
        if (length == 0) return std::filesystem::path();
        if (length < name.size()) {
            name.resize(length);
            return std::filesystem::path(name);
        }
        // The name was cut: long paths exceed MAX_PATH. Windows paths stop at 32767 characters.
        if (name.size() > 32768) return std::filesystem::path();
        name.resize(name.size() * 2);
    }
#else
    std::error_code ec;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : path;
#endif
}

const char* const PLAYER_NAME = "trivo.exe";
const char* const PLAYER_64_NAME = "trivo64.exe";

std::vector<std::filesystem::path> playerPlaces(const char* name) {
    const std::filesystem::path self = runningProgramPath();
    return {self.empty() ? std::filesystem::path(name) : self.parent_path() / name};
}

std::filesystem::path findPlayer(const char* name) {
    std::error_code ec;
    for (const std::filesystem::path& place : playerPlaces(name)) {
        if (std::filesystem::exists(place, ec)) return place;
    }
    return std::filesystem::path();
}
