// Reading a file whole, or its start, without ever reading more than a limit: a regular file's size
// is checked before it is read, and a pipe is read only up to one byte past the limit.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <istream>

#include "tools/support/file_platform.h"
#include "tools/support/files.h"
#include "tools/support/text.h"
#include "tools/support/translation.h"

namespace fs = std::filesystem;

namespace {

std::string sizeText(int64_t bytes) {
    if (bytes >= 1024 * 1024 && bytes % (1024 * 1024) == 0) {
        return fillIn(tr("{1} MB"), bytes / (1024 * 1024));
    }
    return fillIn(tr("{1} bytes"), bytes);
}

// Reads until count bytes are there or the file ends; false on a read error (errno says which).
bool readUpTo(int fd, std::size_t count, std::vector<unsigned char>* bytes) {
    unsigned char chunk[65536];
    while (bytes->size() < count) {
        const long got = ::read(fd, chunk, std::min(sizeof chunk, count - bytes->size()));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) break;
        bytes->insert(bytes->end(), chunk, chunk + got);
    }
    return true;
}

// Opens a file to read it; a folder is refused, and so is anything but a regular file when
// regularOnly. On failure *error names the file as shown.
int openForReading(const fs::path& path, const std::string& shown, bool regularOnly, FileInfo* info,
                   std::string* error) {
    const int fd = openToRead(path);
    if (fd < 0) {
        *error = fillIn(tr("cannot read {1}: {2}"), quotedText(shown), systemMessage(errno));
        return -1;
    }
    std::string why;
    if (!infoOf(fd, info))
        why = systemMessage(errno);
    else if (info->folder)
        why = systemMessage(EISDIR);
    else if (regularOnly && !info->regular)
        why = tr("it is not a regular file");
    if (!why.empty()) {
        ::close(fd);
        *error = fillIn(tr("cannot read {1}: {2}"), quotedText(shown), why);
        return -1;
    }
    // A pipe that is read to its end is read waiting for its writer, as usual.
    if (!info->regular) waitForData(fd);
    return fd;
}

// Reads a file of at most maxBytes (a regular one only when regularOnly), keeping its first readAtMost
// bytes; *size is its whole size. A regular file's size is known before reading, and one over the
// limit is not read; a pipe's only by reading it, up to a byte past the limit.
bool readBounded(const fs::path& path, const std::string& shown, bool regularOnly, int64_t maxBytes,
                 std::size_t readAtMost, const std::string& limitReason, std::vector<unsigned char>* bytes,
                 int64_t* size, std::string* error) {
    bytes->clear();
    FileInfo info;
    const int fd = openForReading(path, shown, regularOnly, &info, error);
    if (fd < 0) return false;
    *size = info.regular ? info.size : 0;
    bool failed = false;
    if (*size <= maxBytes) {
        const uint64_t pastLimit = static_cast<uint64_t>(maxBytes) + 1;
        const std::size_t wanted = readAtMost < pastLimit ? readAtMost : static_cast<std::size_t>(pastLimit);
        if (info.regular) bytes->reserve(static_cast<std::size_t>(std::min<uint64_t>(*size, wanted)));
        failed = !readUpTo(fd, wanted, bytes);
        // The file may have changed since its size was taken: what was read counts.
        if (bytes->size() < wanted) *size = static_cast<int64_t>(bytes->size());
        *size = std::max(*size, static_cast<int64_t>(bytes->size()));
    }
    const int readErrno = errno;
    ::close(fd);
    if (*size > maxBytes || failed) {
        bytes->clear();
        *error = failed ? fillIn(tr("cannot read {1}: {2}"), quotedText(shown), systemMessage(readErrno))
                        : fillIn(tr("{1} is larger than {2}{3}"), quotedText(shown), sizeText(maxBytes), limitReason);
        return false;
    }
    return true;
}

}  // namespace

bool readFileBytes(const fs::path& path, const std::string& shown, int64_t maxBytes, const std::string& limitReason,
                   std::vector<unsigned char>* bytes, std::string* error) {
    int64_t size = 0;
    return readBounded(path, shown, false, maxBytes, SIZE_MAX, limitReason, bytes, &size, error);
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
        *error = standardInput.bad() ? tr("cannot read standard input")
                                     : fillIn(tr("standard input is larger than {1}{2}"), sizeText(maxBytes), limitReason);
        bytes->clear();
        return false;
    }
    return true;
}

bool readRegularFile(const fs::path& path, const std::string& shown, int64_t maxBytes, std::size_t readAtMost,
                     std::vector<unsigned char>* bytes, int64_t* size, std::string* error) {
    return readBounded(path, shown, true, maxBytes, readAtMost, "", bytes, size, error);
}

std::string fileStart(const fs::path& path, std::size_t limit) {
    std::vector<unsigned char> bytes;
    int64_t size = 0;
    std::string ignored;
    readRegularFile(path, "", static_cast<int64_t>(1) << 40, limit, &bytes, &size, &ignored);
    return std::string(bytes.begin(), bytes.end());
}
