// Names of files and folders that do not depend on the platform: a folder named on the command
// line, whether two names lead to one file, and a path that names nothing but for the letter case
// of its names.
#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>

#include "tools/support/file_platform.h"
#include "tools/support/files.h"

namespace fs = std::filesystem;

std::string folderName(const std::string& name) {
    std::string folder = name;
    // "C:\" stays: without its separator it would name the current folder of drive C.
    while (folder.size() > 1 && isSeparator(folder.back()) && folder[folder.size() - 2] != ':') folder.pop_back();
    return folder;
}

// Compared by volume and file number on Windows, device and inode elsewhere.
bool sameFile(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    return fs::equivalent(a, b, ec);
}

namespace {

// A UTF-8 name with A to Z and the capitals of Latin-1 (but the multiplication sign) made small.
std::string caseFolded(const std::string& name) {
    std::string folded = name;
    for (std::size_t i = 0; i < folded.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(folded[i]);
        if (c >= 'A' && c <= 'Z') folded[i] = static_cast<char>(c + 0x20);
        const unsigned char next = i + 1 < folded.size() ? static_cast<unsigned char>(folded[i + 1]) : 0;
        if (c == 0xC3 && next >= 0x80 && next <= 0x9E && next != 0x97) folded[++i] = static_cast<char>(next + 0x20);
    }
    return folded;
}

// Entries of a folder looked at for a name in another case: a folder from a stranger may hold
// millions.
const int MAX_ENTRIES_COMPARED = 4096;

}  // namespace

std::string pathDifferingInCase(const fs::path& folder, const std::string& path) {
    fs::path current = folder;
    std::string found;
    bool differs = false;
    for (std::size_t start = 0; start <= path.size();) {
        const std::size_t slash = std::min(path.find('/', start), path.size());
        std::string name = path.substr(start, slash - start);
        std::error_code ec;
        if (!name.empty() && name != "." && name != ".." && !fs::exists(fs::symlink_status(current / nativePath(name), ec))) {
            const std::string wanted = caseFolded(name);
            name.clear();
            int compared = 0;
            for (fs::directory_iterator it(current, ec), end; !ec && it != end && compared < MAX_ENTRIES_COMPARED;
                 it.increment(ec), ++compared) {
                const std::string candidate = utf8Path(it->path().filename());
                if (caseFolded(candidate) == wanted) {
                    name = candidate;
                    break;
                }
            }
            if (name.empty()) return std::string();
            differs = true;
        }
        current /= nativePath(name);
        found += (start == 0 ? "" : "/") + name;
        start = slash + 1;
    }
    return differs ? found : std::string();
}

