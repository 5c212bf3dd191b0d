// The file platform on POSIX systems: descriptors with close-on-exec, permissions from the user's
// umask, and names that are the UTF-8 bytes themselves.
#include "tools/support/file_platform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/support/files.h"
#include "tools/support/translation.h"

namespace fs = std::filesystem;

std::filesystem::path nativePath(const std::string& utf8) { return std::filesystem::path(utf8); }

std::string utf8Path(const std::filesystem::path& path) { return path.string(); }

int openToRead(const fs::path& path) { return ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC); }

void waitForData(int fd) { ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK); }

// 0666 less the user's umask, as for any file the user makes.
int createNewFile(const fs::path& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
}

int openDevice(const fs::path& path) { return ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC); }

bool infoOf(int fd, FileInfo* info) {
    struct stat status;
    if (::fstat(fd, &status) != 0) return false;
    info->regular = S_ISREG(status.st_mode);
    info->folder = S_ISDIR(status.st_mode);
    info->size = status.st_size;
    return true;
}


int makeFolder(const fs::path& path, bool privateToUser) { return ::mkdir(path.c_str(), privateToUser ? 0700 : 0777); }

bool openFolderToUser(const fs::path& folder) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return ::chmod(folder.c_str(), 0777 & ~mask) == 0;
}

void keepPermissions(int fd, int mode) {
    if (mode >= 0) ::fchmod(fd, static_cast<mode_t>(mode));
}

bool isSeparator(char c) { return c == '/'; }

OutputKind outputKind(const fs::path& path, fs::path* target, int* mode) {
    *target = path;
    *mode = -1;
    struct stat name, information;
    if (::lstat(path.c_str(), &name) != 0) return OutputKind::Missing;  // creating it says why
    if (::stat(path.c_str(), &information) != 0) return OutputKind::LinkToNothing;
    // A device or pipe is written through its name, links and all (/dev/stdout on a pipe has no
    // path to resolve to).
    if (S_ISCHR(information.st_mode) || S_ISFIFO(information.st_mode)) return OutputKind::Device;
    if (S_ISDIR(information.st_mode)) return OutputKind::Folder;
    if (!S_ISREG(information.st_mode)) return OutputKind::Other;
    std::string ignored;
    if (S_ISLNK(name.st_mode) && !resolvedPath(path, target, &ignored)) return OutputKind::LinkToNothing;
    *mode = static_cast<int>(information.st_mode & 0777);
    return OutputKind::Regular;
}

bool resolvedPath(const fs::path& path, fs::path* resolved, std::string* reason) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr) {
        *reason = systemMessage(errno);
        return false;
    }
    *resolved = real;
    std::free(real);
    return true;
}

int binaryStandardOutput() { return -1; }
void restoreStandardOutput(int) {}
