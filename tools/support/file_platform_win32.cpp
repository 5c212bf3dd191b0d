// The file platform on Windows: the runtime's descriptors opened through wide names, names in UTF-16
// converted from and to UTF-8, links and identities through file handles.
#include "tools/support/file_platform.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <system_error>

#include "tools/support/files.h"
#include "tools/support/translation.h"

namespace fs = std::filesystem;

// Without MB_ERR_INVALID_CHARS, bytes that are no UTF-8 become U+FFFD, and a lone surrogate of a
// name read from the disk becomes U+FFFD the other way: such a name opens nothing, and the open
// says why. UTF-8 takes at least as many bytes as UTF-16 units, and at most three a unit.
std::filesystem::path nativePath(const std::string& utf8) {
    std::wstring wide(utf8.size(), L'\0');
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0],
                                           static_cast<int>(wide.size()));
    wide.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return std::filesystem::path(wide);
}

std::string utf8Path(const std::filesystem::path& path) {
    const std::wstring& wide = path.native();
    std::string utf8(wide.size() * 3, '\0');
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &utf8[0],
                                           static_cast<int>(utf8.size()), nullptr, nullptr);
    utf8.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return utf8;
}

namespace {

int openNative(const fs::path& path, int flags, int mode = 0) {
    return _wopen(path.c_str(), flags | _O_BINARY | _O_NOINHERIT, mode);
}

std::string systemText(DWORD code) { return systemMessage(std::error_code(static_cast<int>(code), std::system_category())); }

// A handle on an existing file or folder (links followed) that asks for no access, so that it
// opens whatever the sharing mode of others; INVALID_HANDLE_VALUE when there is none.
HANDLE openExisting(const fs::path& path) {
    return CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// Room for the longest path Windows names (32767 characters and the terminating null).
bool finalPath(HANDLE handle, fs::path* path) {
    std::wstring name(32768, L'\0');
    const DWORD length = GetFinalPathNameByHandleW(handle, &name[0], static_cast<DWORD>(name.size()), 0);
    if (length == 0 || length >= name.size()) return false;
    name.resize(length);
    *path = fs::path(name);
    return true;
}

}  // namespace

// A pipe is never opened in a way that waits for its writer.
int openToRead(const fs::path& path) { return openNative(path, _O_RDONLY); }
void waitForData(int) {}

// _O_EXCL makes the runtime create with CREATE_NEW: an existing file or link is never opened.
int createNewFile(const fs::path& path) {
    return openNative(path, _O_WRONLY | _O_CREAT | _O_EXCL, _S_IREAD | _S_IWRITE);
}

int openDevice(const fs::path& path) { return openNative(path, _O_WRONLY); }

bool infoOf(int fd, FileInfo* info) {
    struct _stat64 status;
    if (_fstat64(fd, &status) != 0) return false;
    info->regular = (status.st_mode & _S_IFMT) == _S_IFREG;
    info->folder = (status.st_mode & _S_IFMT) == _S_IFDIR;
    info->size = status.st_size;
    return true;
}

// Windows has no mode bits: a new folder takes the access rules of the folder it is made in.
int makeFolder(const fs::path& path, bool) { return _wmkdir(path.c_str()); }
bool openFolderToUser(const fs::path&) { return true; }
void keepPermissions(int, int) {}

bool isSeparator(char c) { return c == '/' || c == '\\'; }

OutputKind outputKind(const fs::path& path, fs::path* target, int* mode) {
    *target = path;
    *mode = -1;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const HANDLE handle = openExisting(path);
    if (handle == INVALID_HANDLE_VALUE) {
        const bool link = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        return link ? OutputKind::LinkToNothing : OutputKind::Missing;
    }
    OutputKind kind = OutputKind::Other;
    BY_HANDLE_FILE_INFORMATION information;
    const DWORD type = GetFileType(handle);
    if (type == FILE_TYPE_CHAR || type == FILE_TYPE_PIPE) {
        kind = OutputKind::Device;
    } else if (type == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &information)) {
        kind = (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? OutputKind::Folder
                                                                               : OutputKind::Regular;
        if (kind == OutputKind::Regular && attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && !finalPath(handle, target))
            kind = OutputKind::LinkToNothing;
    }
    CloseHandle(handle);
    return kind;
}

bool resolvedPath(const fs::path& path, fs::path* resolved, std::string* reason) {
    const HANDLE handle = openExisting(path);
    if (handle == INVALID_HANDLE_VALUE) {
        *reason = systemText(GetLastError());
        return false;
    }
    const bool found = finalPath(handle, resolved);
    if (!found) *reason = systemText(GetLastError());
    CloseHandle(handle);
    return found;
}

int binaryStandardOutput() {
    std::fflush(stdout);
    return _setmode(_fileno(stdout), _O_BINARY);
}

void restoreStandardOutput(int previousMode) {
    if (previousMode != -1) _setmode(_fileno(stdout), previousMode);
}
