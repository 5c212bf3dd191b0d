// The running program's path (the module file name on Windows, /proc/self/exe on Linux) and the
// players found from it.
#include "tools/cli/tool_location.h"

#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
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

std::vector<std::filesystem::path> playerPlaces(const char* name, const std::filesystem::path& program) {
    if (program.empty()) return {std::filesystem::path(name)};
    const std::filesystem::path dir = program.parent_path();
    std::vector<std::filesystem::path> places = {dir / name, (dir / ".." / "share" / "trivo" / name).lexically_normal()};
    std::error_code ec;
    if (std::filesystem::is_regular_file(dir / "CMakeCache.txt", ec)) {
        // The trees of CMakePresets.json sit side by side; each names its player trivo.exe.
        const char* tree = std::string(name) == PLAYER_64_NAME ? "mingw64" : "mingw";
        places.push_back((dir / ".." / tree / "app" / "trivo.exe").lexically_normal());
    }
    return places;
}

std::filesystem::path findPlayer(const char* name, const std::filesystem::path& program) {
    std::error_code ec;
    for (const std::filesystem::path& place : playerPlaces(name, program)) {
        if (std::filesystem::is_regular_file(place, ec)) return place;
    }
    return std::filesystem::path();
}
