// File reading and writing for trivo-make's commands.
#include "tools/support/files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <ostream>
#include <random>
#include <set>
#include <system_error>

#include "tools/support/cp1252.h"
#include "tools/support/text.h"

#ifdef _WIN32
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

std::filesystem::path nativePath(const std::string& utf8) {
#ifdef _WIN32
    std::wstring wide;
    std::size_t offset = 0;
    while (offset < utf8.size()) {
        uint32_t codePoint = 0;
        std::string ignored;
        if (!decodeUtf8Char(utf8, &offset, &codePoint, &ignored)) {
            // Cannot name an existing file; the open then fails with its reason.
            codePoint = 0xFFFD;
            ++offset;
        }
        if (codePoint >= 0x10000) {
            wide.push_back(static_cast<wchar_t>(0xD800 + ((codePoint - 0x10000) >> 10)));
            wide.push_back(static_cast<wchar_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF)));
        } else {
            wide.push_back(static_cast<wchar_t>(codePoint));
        }
    }
    return std::filesystem::path(wide);
#else
    return std::filesystem::path(utf8);
#endif
}

std::string utf8Path(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::wstring wide = path.wstring();
    std::string utf8;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        uint32_t codePoint = static_cast<uint16_t>(wide[i]);
        if (codePoint >= 0xD800 && codePoint < 0xDC00 && i + 1 < wide.size()) {
            const uint32_t low = static_cast<uint16_t>(wide[i + 1]);
            if (low >= 0xDC00 && low < 0xE000) {
                codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (codePoint >= 0xD800 && codePoint < 0xE000) codePoint = 0xFFFD;  // a lone surrogate
        appendUtf8(codePoint, &utf8);
    }
    return utf8;
#else
    return path.string();
#endif
}

namespace {

bool isSeparator(char c) {
#ifdef _WIN32
    return c == '/' || c == '\\';
#else
    return c == '/';
#endif
}

// ---- The platform's file calls, on descriptors ----------------------------------------------------

#ifdef _WIN32
typedef struct _stat64 FileInfo;
// _O_EXCL makes the runtime create with CREATE_NEW: an existing file or link is never opened.
const int READ_FLAGS = _O_RDONLY;
const int CREATE_FLAGS = _O_WRONLY | _O_CREAT | _O_EXCL;
const int DEVICE_FLAGS = _O_WRONLY;
const int NEW_FILE_MODE = _S_IREAD | _S_IWRITE;

int openNative(const fs::path& path, int flags, int mode = 0) {
    return _wopen(path.c_str(), flags | _O_BINARY | _O_NOINHERIT, mode);
}
int infoOf(int fd, FileInfo* info) { return _fstat64(fd, info); }
long readSome(int fd, unsigned char* buffer, std::size_t size) {
    return _read(fd, buffer, static_cast<unsigned>(size));
}
long writeSome(int fd, const unsigned char* bytes, std::size_t size) {
    return _write(fd, bytes, static_cast<unsigned>(size));
}
int closeNative(int fd) { return _close(fd); }
int makeFolder(const fs::path& path, int) { return _wmkdir(path.c_str()); }
bool isRegular(const FileInfo& info) { return (info.st_mode & _S_IFMT) == _S_IFREG; }
bool isFolder(const FileInfo& info) { return (info.st_mode & _S_IFMT) == _S_IFDIR; }

std::string systemText(DWORD code) { return std::system_category().message(static_cast<int>(code)); }

// A handle on an existing file or folder (links followed) that asks for no access, so that it
// opens whatever the sharing mode of others; INVALID_HANDLE_VALUE when there is none.
HANDLE openExisting(const fs::path& path) {
    return CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

bool finalPath(HANDLE handle, fs::path* path) {
    std::wstring name(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(handle, &name[0], static_cast<DWORD>(name.size()), 0);
    if (length >= name.size()) {
        name.resize(length + 1);
        length = GetFinalPathNameByHandleW(handle, &name[0], static_cast<DWORD>(name.size()), 0);
    }
    if (length == 0 || length >= name.size()) return false;
    name.resize(length);
    *path = fs::path(name);
    return true;
}
#else
typedef struct stat FileInfo;
// A FIFO is opened without waiting for its writer, so that one named where a regular file is
// wanted is refused instead of blocking the tool forever.
const int READ_FLAGS = O_RDONLY | O_NOCTTY | O_NONBLOCK;
// O_EXCL: an existing file, or a link of that name, is never opened or followed.
const int CREATE_FLAGS = O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY;
const int DEVICE_FLAGS = O_WRONLY | O_NOCTTY;
const int NEW_FILE_MODE = 0666;  // less the user's umask, as for any file the user makes

int openNative(const fs::path& path, int flags, int mode = 0) { return ::open(path.c_str(), flags | O_CLOEXEC, mode); }
int infoOf(int fd, FileInfo* info) { return ::fstat(fd, info); }
long readSome(int fd, unsigned char* buffer, std::size_t size) { return ::read(fd, buffer, size); }
long writeSome(int fd, const unsigned char* bytes, std::size_t size) { return ::write(fd, bytes, size); }
int closeNative(int fd) { return ::close(fd); }
int makeFolder(const fs::path& path, int mode) { return ::mkdir(path.c_str(), static_cast<mode_t>(mode)); }
bool isRegular(const FileInfo& info) { return S_ISREG(info.st_mode); }
bool isFolder(const FileInfo& info) { return S_ISDIR(info.st_mode); }
#endif

std::string sizeText(int64_t bytes) {
    if (bytes >= 1024 * 1024 && bytes % (1024 * 1024) == 0) {
        return std::to_string(bytes / (1024 * 1024)) + " MB";
    }
    return std::to_string(bytes) + " bytes";
}

// Reads until count bytes are there or the file ends; false on a read error (errno says which).
bool readUpTo(int fd, std::size_t count, std::vector<unsigned char>* bytes) {
    unsigned char chunk[65536];
    while (bytes->size() < count) {
        const long got = readSome(fd, chunk, std::min(sizeof chunk, count - bytes->size()));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) break;
        bytes->insert(bytes->end(), chunk, chunk + got);
    }
    return true;
}

bool writeAll(int fd, const unsigned char* bytes, std::size_t size) {
    while (size > 0) {
        const long wrote = writeSome(fd, bytes, std::min<std::size_t>(size, 1u << 30));
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) {
            if (wrote == 0) errno = EIO;
            return false;
        }
        bytes += wrote;
        size -= static_cast<std::size_t>(wrote);
    }
    return true;
}

// Opens a file to read it; a folder is refused, and so is anything but a regular file when
// regularOnly. On failure *error names the file as shown.
int openForReading(const fs::path& path, const std::string& shown, bool regularOnly, FileInfo* info,
                   std::string* error) {
    const int fd = openNative(path, READ_FLAGS);
    if (fd < 0) {
        *error = "cannot read " + quotedText(shown) + ": " + std::strerror(errno);
        return -1;
    }
    std::string why;
    if (infoOf(fd, info) != 0)
        why = std::strerror(errno);
    else if (isFolder(*info))
        why = std::strerror(EISDIR);
    else if (regularOnly && !isRegular(*info))
        why = "it is not a regular file";
    if (!why.empty()) {
        closeNative(fd);
        *error = "cannot read " + quotedText(shown) + ": " + why;
        return -1;
    }
#ifndef _WIN32
    // A pipe that is read to its end is read waiting for its writer, as usual.
    if (!isRegular(*info)) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
#endif
    return fd;
}

// A name beside target that nobody can guess, so that no file or link of that name can be put there
// in advance; exclusive creation refuses one that is there anyway.
fs::path temporaryBeside(const fs::path& target) {
    static std::random_device source;
    static const char LETTERS[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string suffix = ".tmp";
    for (int i = 0; i < 12; ++i) suffix.push_back(LETTERS[source() % 36]);
    fs::path candidate = target;
    candidate += suffix;
    return candidate;
}

// Makes a new temporary file or folder beside target through make (which fails with EEXIST when
// the name is taken); the result of make, negative with *reason on failure.
template <typename Make>
int makeBeside(const fs::path& target, fs::path* made, std::string* reason, Make make) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        *made = temporaryBeside(target);
        const int result = make(*made);
        if (result >= 0) return result;
        if (errno != EEXIST) break;
    }
    *reason = std::strerror(errno);
    return -1;
}

// Whether the file at path holds exactly these bytes.
bool readsBack(const fs::path& path, const unsigned char* bytes, std::size_t size) {
    const int fd = openNative(path, READ_FLAGS);
    if (fd < 0) return false;
    unsigned char chunk[65536];
    std::size_t at = 0;
    bool same = true;
    for (;;) {
        const long got = readSome(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            same = same && got == 0;
            break;
        }
        const std::size_t count = static_cast<std::size_t>(got);
        if (count > size - at || std::memcmp(chunk, bytes + at, count) != 0) {
            same = false;
            break;
        }
        at += count;
    }
    closeNative(fd);
    return same && at == size;
}

// Writes bytes into the file just created as fd at path, closes it and reads it back.
bool fillNewFile(int fd, const fs::path& path, const unsigned char* bytes, std::size_t size, std::string* reason) {
    const bool written = writeAll(fd, bytes, size);
    const int writeErrno = errno;
    const bool closed = closeNative(fd) == 0;
    if (!written || !closed) {
        *reason = std::strerror(!written ? writeErrno : errno);
        return false;
    }
    if (!readsBack(path, bytes, size)) {
        *reason = "the file written does not read back the same";
        return false;
    }
    return true;
}

bool writeDevice(const fs::path& path, const unsigned char* bytes, std::size_t size, std::string* reason) {
    const int fd = openNative(path, DEVICE_FLAGS);
    if (fd < 0) {
        *reason = std::strerror(errno);
        return false;
    }
    const bool written = writeAll(fd, bytes, size);
    const int writeErrno = errno;
    const bool closed = closeNative(fd) == 0;
    if (!written || !closed) *reason = std::strerror(!written ? writeErrno : errno);
    return written && closed;
}

// What an output's name holds.
enum class OutputKind { Missing, Regular, Folder, Device, LinkToNothing, Other };

// *target is where a regular file is replaced: the name itself, or the file its links lead to, so
// that a link is never replaced by a file. *mode: the permissions a replaced file keeps, or -1.
OutputKind outputKind(const fs::path& path, fs::path* target, int* mode) {
    *target = path;
    *mode = -1;
#ifdef _WIN32
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
#else
    struct stat name, information;
    if (::lstat(path.c_str(), &name) != 0) return OutputKind::Missing;  // creating it says why
    if (::stat(path.c_str(), &information) != 0) return OutputKind::LinkToNothing;
    // A device or pipe is written through its name, links and all (/dev/stdout on a pipe has no
    // path to resolve to).
    if (S_ISCHR(information.st_mode) || S_ISFIFO(information.st_mode)) return OutputKind::Device;
    if (S_ISDIR(information.st_mode)) return OutputKind::Folder;
    if (!S_ISREG(information.st_mode)) return OutputKind::Other;
    if (S_ISLNK(name.st_mode)) {
        char* real = ::realpath(path.c_str(), nullptr);
        if (real == nullptr) return OutputKind::LinkToNothing;
        *target = real;
        std::free(real);
    }
    *mode = static_cast<int>(information.st_mode & 0777);
    return OutputKind::Regular;
#endif
}

}  // namespace

std::string folderName(const std::string& name) {
    std::string folder = name;
    // "C:\" stays: without its separator it would name the current folder of drive C.
    while (folder.size() > 1 && isSeparator(folder.back()) && folder[folder.size() - 2] != ':') folder.pop_back();
    return folder;
}

bool readFileBytes(const fs::path& path, const std::string& shown, int64_t maxBytes, const std::string& limitReason,
                   std::vector<unsigned char>* bytes, std::string* error) {
    bytes->clear();
    FileInfo info;
    const int fd = openForReading(path, shown, false, &info, error);
    if (fd < 0) return false;
    // A regular file's size is known before reading; a pipe's only by reading it.
    bool tooLarge = isRegular(info) && info.st_size > maxBytes;
    bool failed = false;
    if (!tooLarge) {
        if (isRegular(info)) bytes->reserve(static_cast<std::size_t>(info.st_size));
        failed = !readUpTo(fd, static_cast<std::size_t>(maxBytes) + 1, bytes);
        tooLarge = static_cast<int64_t>(bytes->size()) > maxBytes;
    }
    const int readErrno = errno;
    closeNative(fd);
    if (tooLarge || failed) {
        bytes->clear();
        *error = tooLarge ? quotedText(shown) + " is larger than " + sizeText(maxBytes) + limitReason
                          : "cannot read " + quotedText(shown) + ": " + std::strerror(readErrno);
        return false;
    }
    return true;
}

bool readInputFile(const std::string& name, std::istream& standardInput, int64_t maxBytes,
                   const std::string& limitReason, std::vector<unsigned char>* bytes, std::string* error) {
    if (name != "-") return readFileBytes(nativePath(name), name, maxBytes, limitReason, bytes, error);
    bytes->clear();
    char chunk[65536];
    while (standardInput && static_cast<int64_t>(bytes->size()) <= maxBytes) {
        standardInput.read(chunk, static_cast<std::streamsize>(
                                      std::min<int64_t>(sizeof chunk, maxBytes + 1 - static_cast<int64_t>(bytes->size()))));
        bytes->insert(bytes->end(), chunk, chunk + standardInput.gcount());
    }
    if (static_cast<int64_t>(bytes->size()) > maxBytes || standardInput.bad()) {
        *error = standardInput.bad() ? "cannot read standard input"
                                     : "standard input is larger than " + sizeText(maxBytes) + limitReason;
        bytes->clear();
        return false;
    }
    return true;
}

bool readRegularFile(const fs::path& path, const std::string& shown, int64_t maxBytes, std::size_t readAtMost,
                     std::vector<unsigned char>* bytes, int64_t* size, std::string* error) {
    bytes->clear();
    FileInfo info;
    const int fd = openForReading(path, shown, true, &info, error);
    if (fd < 0) return false;
    *size = info.st_size;
    bool failed = false;
    if (*size <= maxBytes) {
        const std::size_t wanted = static_cast<std::size_t>(std::min<int64_t>(static_cast<int64_t>(readAtMost), maxBytes + 1));
        bytes->reserve(static_cast<std::size_t>(std::min<int64_t>(*size, static_cast<int64_t>(wanted))));
        failed = !readUpTo(fd, wanted, bytes);
        // The file may have changed since its size was taken: what was read counts.
        if (bytes->size() < wanted) *size = static_cast<int64_t>(bytes->size());
        *size = std::max(*size, static_cast<int64_t>(bytes->size()));
    }
    const int readErrno = errno;
    closeNative(fd);
    if (*size > maxBytes || failed) {
        bytes->clear();
        *error = failed ? "cannot read " + quotedText(shown) + ": " + std::strerror(readErrno)
                        : quotedText(shown) + " is larger than " + sizeText(maxBytes);
        return false;
    }
    return true;
}

bool resolvedPath(const fs::path& path, fs::path* resolved, std::string* reason) {
#ifdef _WIN32
    const HANDLE handle = openExisting(path);
    if (handle == INVALID_HANDLE_VALUE) {
        *reason = systemText(GetLastError());
        return false;
    }
    const bool found = finalPath(handle, resolved);
    if (!found) *reason = systemText(GetLastError());
    CloseHandle(handle);
    return found;
#else
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr) {
        *reason = std::strerror(errno);
        return false;
    }
    *resolved = real;
    std::free(real);
    return true;
#endif
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

bool sameFile(const fs::path& a, const fs::path& b) {
#ifdef _WIN32
    BY_HANDLE_FILE_INFORMATION information[2];
    const fs::path* paths[2] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
        const HANDLE handle = openExisting(*paths[i]);
        if (handle == INVALID_HANDLE_VALUE) return false;
        const bool known = GetFileInformationByHandle(handle, &information[i]);
        CloseHandle(handle);
        if (!known) return false;
    }
    return information[0].dwVolumeSerialNumber == information[1].dwVolumeSerialNumber &&
           information[0].nFileIndexHigh == information[1].nFileIndexHigh &&
           information[0].nFileIndexLow == information[1].nFileIndexLow;
#else
    struct stat first, second;
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
#endif
}

bool writeFileReplacing(const fs::path& path, const std::string& shown, const unsigned char* bytes, std::size_t size,
                        std::string* error) {
    const std::string failed = "cannot write " + quotedText(shown) + ": ";
    fs::path target;
    int mode = -1;
    std::string reason;
    switch (outputKind(path, &target, &mode)) {
        case OutputKind::Folder: *error = failed + std::strerror(EISDIR); return false;
        case OutputKind::LinkToNothing: *error = failed + "it is a link to a file that does not exist"; return false;
        case OutputKind::Other: *error = failed + "it is not a regular file"; return false;
        case OutputKind::Device:
            // A terminal, /dev/null or a pipe: written as it is, never replaced by a file.
            if (writeDevice(target, bytes, size, &reason)) return true;
            *error = failed + reason;
            return false;
        case OutputKind::Missing:
        case OutputKind::Regular: break;
    }
    fs::path temporary;
    const int fd = makeBeside(target, &temporary, &reason,
                              [](const fs::path& name) { return openNative(name, CREATE_FLAGS, NEW_FILE_MODE); });
    if (fd < 0) {
        *error = failed + reason;
        return false;
    }
#ifndef _WIN32
    // A file replaced keeps its permissions: a program stays executable, a private file private.
    if (mode >= 0) ::fchmod(fd, static_cast<mode_t>(mode));
#endif
    std::error_code ec;
    if (fillNewFile(fd, temporary, bytes, size, &reason)) {
        fs::rename(temporary, target, ec);
        if (!ec) return true;
        reason = ec.message();
    }
    fs::remove(temporary, ec);
    *error = failed + reason;
    return false;
}

bool writeOutputFile(const std::string& name, const unsigned char* bytes, std::size_t size,
                     std::ostream& standardOutput, std::string* error) {
    if (name != "-") return writeFileReplacing(nativePath(name), name, bytes, size, error);
#ifdef _WIN32
    // In text mode every byte 0x0A would gain a carriage return.
    standardOutput.flush();
    std::fflush(stdout);
    const int previousMode = _setmode(_fileno(stdout), _O_BINARY);
#endif
    standardOutput.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));
    standardOutput.flush();
#ifdef _WIN32
    if (previousMode != -1) _setmode(_fileno(stdout), previousMode);
#endif
    if (!standardOutput) *error = "cannot write to standard output";
    return static_cast<bool>(standardOutput);
}

bool makePrivateTemporaryFolder(const std::string& prefix, fs::path* folder, std::string* error) {
    std::error_code ec;
    const fs::path base = fs::temp_directory_path(ec);
    std::string reason = ec.message();
    if (ec || makeBeside(base / prefix, folder, &reason, [](const fs::path& name) { return makeFolder(name, 0700); }) < 0) {
        *error = "cannot create a temporary folder in " + quotedText(utf8Path(base)) + ": " + reason;
        return false;
    }
    return true;
}

bool writeNewFolder(const fs::path& folder, const std::string& shown, const std::vector<FolderFile>& files,
                    std::string* error, const FolderCheck& check) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(folder, ec);
    const bool exists = status.type() != fs::file_type::not_found && status.type() != fs::file_type::none;
    if (exists) {
        if (status.type() != fs::file_type::directory) {
            *error = quotedText(shown) + " already exists and is not a folder";
            return false;
        }
        if (!fs::is_empty(folder, ec) || ec) {
            *error = quotedText(shown) + " already exists and is not empty";
            return false;
        }
    }
    // The temporary folder is made here and now, private to the user until it is complete: nothing
    // in it can come from anyone else, and the clean-up removes only what this run made.
    fs::path temporary;
    std::string reason;
    if (makeBeside(folder, &temporary, &reason, [](const fs::path& name) { return makeFolder(name, 0700); }) < 0) {
        *error = "cannot create " + quotedText(shown) + ": " + reason;
        return false;
    }
    std::set<fs::path> made = {temporary};
    bool ok = true;
    for (const FolderFile& file : files) {
        const fs::path target = temporary / nativePath(file.relativePath);
        for (fs::path parent = temporary; ok;) {
            const fs::path relative = target.parent_path().lexically_relative(parent);
            if (relative.empty() || relative == ".") break;
            parent /= *relative.begin();
            if (made.count(parent) == 0) {
                ok = makeFolder(parent, 0777) == 0;
                if (!ok) reason = std::strerror(errno);
                made.insert(parent);
            }
        }
        const int fd = ok ? openNative(target, CREATE_FLAGS, NEW_FILE_MODE) : -1;
        if (ok && fd < 0) reason = std::strerror(errno);
        ok = fd >= 0 && fillNewFile(fd, target, file.bytes.data(), file.bytes.size(), &reason);
        if (!ok) {
            *error = "cannot write " + quotedText(shown + "/" + file.relativePath) + ": " + reason;
            break;
        }
    }
    if (ok && check) ok = check(temporary, error);
#ifndef _WIN32
    if (ok) {
        // The folder gets the permissions any folder of the user gets.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ok = ::chmod(temporary.c_str(), 0777 & ~mask) == 0;
        if (!ok) *error = "cannot create " + quotedText(shown) + ": " + std::strerror(errno);
    }
#endif
    if (ok && exists) {
        fs::remove(folder, ec);  // empty, checked above
        if (ec) {
            *error = "cannot replace " + quotedText(shown) + ": " + ec.message();
            ok = false;
        }
    }
    if (ok) {
        fs::rename(temporary, folder, ec);
        if (ec) {
            *error = "cannot create " + quotedText(shown) + ": " + ec.message();
            ok = false;
        }
    }
    if (!ok) fs::remove_all(temporary, ec);
    return ok;
}
