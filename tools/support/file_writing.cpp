// Writing all or nothing: a file is replaced only once a new file beside it holds the bytes and
// reads them back, and a folder of files takes its name only once all of them are written so. New
// files and folders get names nobody can guess and are created exclusively, so a crowded or hostile
// folder never makes the tool write through a link or into someone else's file.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ostream>
#include <random>
#include <set>
#include <system_error>

#include "tools/support/file_platform.h"
#include "tools/support/files.h"
#include "tools/support/text.h"
#include "tools/support/translation.h"

namespace fs = std::filesystem;

namespace {

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
    *reason = systemMessage(errno);
    return -1;
}

// Whether the file at path holds exactly these bytes.
bool readsBack(const fs::path& path, const unsigned char* bytes, std::size_t size) {
    const int fd = openToRead(path);
    if (fd < 0) return false;
    unsigned char chunk[65536];
    std::size_t at = 0;
    bool same = true;
    for (;;) {
        const long got = ::read(fd, chunk, sizeof chunk);
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
    ::close(fd);
    return same && at == size;
}

// A folder only the user may enter, beside target.
bool createPrivateFolderBeside(const fs::path& target, fs::path* made, std::string* reason) {
    return makeBeside(target, made, reason, [](const fs::path& name) { return makeFolder(name, true); }) >= 0;
}

// Writes all of bytes to fd; false with errno.
bool writeAll(int fd, const unsigned char* bytes, std::size_t size) {
    while (size > 0) {
        const long wrote = ::write(fd, bytes, std::min<std::size_t>(size, 1u << 30));
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

// Writes bytes to fd and closes it; false with *reason for whichever failed first.
bool writeAndClose(int fd, const unsigned char* bytes, std::size_t size, std::string* reason) {
    const bool written = writeAll(fd, bytes, size);
    const int writeErrno = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) *reason = systemMessage(!written ? writeErrno : errno);
    return written && closed;
}

// Writes bytes into the file just created as fd at path, closes it and reads it back.
bool fillNewFile(int fd, const fs::path& path, const unsigned char* bytes, std::size_t size, std::string* reason) {
    if (!writeAndClose(fd, bytes, size, reason)) return false;
    if (!readsBack(path, bytes, size)) {
        *reason = tr("the file written does not read back the same");
        return false;
    }
    return true;
}

// Creates a new file at path exclusively and fills it; on failure nothing of it is left.
bool createFilled(const fs::path& path, const unsigned char* bytes, std::size_t size, std::string* reason) {
    const int fd = createNewFile(path);
    if (fd < 0) {
        *reason = systemMessage(errno);
        return false;
    }
    if (fillNewFile(fd, path, bytes, size, reason)) return true;
    std::error_code ec;
    fs::remove(path, ec);
    return false;
}

bool writeDevice(const fs::path& path, const unsigned char* bytes, std::size_t size, std::string* reason) {
    const int fd = openDevice(path);
    if (fd < 0) {
        *reason = systemMessage(errno);
        return false;
    }
    return writeAndClose(fd, bytes, size, reason);
}

}  // namespace

bool writeFileReplacing(const fs::path& path, const std::string& shown, const unsigned char* bytes, std::size_t size,
                        std::string* error) {
    const auto failed = [&shown](const std::string& why) {
        return fillIn(tr("cannot write {1}: {2}"), quotedText(shown), why);
    };
    fs::path target;
    int mode = -1;
    std::string reason;
    switch (outputKind(path, &target, &mode)) {
        case OutputKind::Folder: *error = failed(systemMessage(EISDIR)); return false;
        case OutputKind::LinkToNothing: *error = failed(tr("it is a link to a file that does not exist")); return false;
        case OutputKind::Other: *error = failed(tr("it is not a regular file")); return false;
        case OutputKind::Device:
            // A terminal, /dev/null or a pipe: written as it is, never replaced by a file.
            if (writeDevice(target, bytes, size, &reason)) return true;
            *error = failed(reason);
            return false;
        case OutputKind::Missing:
        case OutputKind::Regular: break;
    }
    fs::path temporary;
    const int fd = makeBeside(target, &temporary, &reason, createNewFile);
    if (fd < 0) {
        *error = failed(reason);
        return false;
    }
    // A file replaced keeps its permissions: a program stays executable, a private file private.
    keepPermissions(fd, mode);
    std::error_code ec;
    if (fillNewFile(fd, temporary, bytes, size, &reason)) {
        fs::rename(temporary, target, ec);
        if (!ec) return true;
        reason = systemMessage(ec);
    }
    fs::remove(temporary, ec);
    *error = failed(reason);
    return false;
}

bool writeNewFile(const fs::path& path, const std::string& shown, const unsigned char* bytes, std::size_t size,
                  std::string* error) {
    std::string reason;
    if (createFilled(path, bytes, size, &reason)) return true;
    *error = fillIn(tr("cannot write {1}: {2}"), quotedText(shown), reason);
    return false;
}

bool writeOutputFile(const std::string& name, const unsigned char* bytes, std::size_t size,
                     std::ostream& standardOutput, std::string* error) {
    if (name != "-") return writeFileReplacing(nativePath(name), name, bytes, size, error);
    standardOutput.flush();
    const int previousMode = binaryStandardOutput();
    standardOutput.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));
    standardOutput.flush();
    restoreStandardOutput(previousMode);
    if (!standardOutput) *error = tr("cannot write to standard output");
    return static_cast<bool>(standardOutput);
}

bool makePrivateTemporaryFolder(const std::string& prefix, fs::path* folder, std::string* error) {
    std::error_code ec;
    const fs::path base = fs::temp_directory_path(ec);
    std::string reason = systemMessage(ec);
    if (ec || !createPrivateFolderBeside(base / prefix, folder, &reason)) {
        *error = fillIn(tr("cannot create a temporary folder in {1}: {2}"), quotedText(utf8Path(base)), reason);
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
            *error = fillIn(tr("{1} already exists and is not a folder"), quotedText(shown));
            return false;
        }
        if (!fs::is_empty(folder, ec) || ec) {
            *error = fillIn(tr("{1} already exists and is not empty"), quotedText(shown));
            return false;
        }
    }
    // The temporary folder is made here and now, private to the user until it is complete: nothing
    // in it can come from anyone else, and the clean-up removes only what this run made.
    fs::path temporary;
    std::string reason;
    if (!createPrivateFolderBeside(folder, &temporary, &reason)) {
        *error = fillIn(tr("cannot create {1}: {2}"), quotedText(shown), reason);
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
                ok = makeFolder(parent, false) == 0;
                if (!ok) reason = systemMessage(errno);
                made.insert(parent);
            }
        }
        ok = ok && createFilled(target, file.bytes.data(), file.bytes.size(), &reason);
        if (!ok) {
            *error = fillIn(tr("cannot write {1}: {2}"), quotedText(shown + "/" + file.relativePath), reason);
            break;
        }
    }
    if (ok && check) ok = check(temporary, error);
    // The folder gets the permissions any folder of the user gets.
    if (ok && !openFolderToUser(temporary)) {
        *error = fillIn(tr("cannot create {1}: {2}"), quotedText(shown), systemMessage(errno));
        ok = false;
    }
    if (ok && exists) {
        fs::remove(folder, ec);  // empty, checked above
        if (ec) {
            *error = fillIn(tr("cannot replace {1}: {2}"), quotedText(shown), systemMessage(ec));
            ok = false;
        }
    }
    if (ok) {
        fs::rename(temporary, folder, ec);
        if (ec) {
            *error = fillIn(tr("cannot create {1}: {2}"), quotedText(shown), systemMessage(ec));
            ok = false;
        }
    }
    if (!ok) fs::remove_all(temporary, ec);
    return ok;
}
