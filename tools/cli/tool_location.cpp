// The running program's path: the module file name on Windows, /proc/self/exe on Linux.
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
