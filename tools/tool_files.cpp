// File reading and writing for trivo-make's commands.
#include "tools/tool_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "tools/cp1252.h"

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

std::string quoted(const std::string& name) {
    return "'" + name + "'";
}

namespace {

std::FILE* openBinary(const std::filesystem::path& path, bool forWriting) {
#ifdef _WIN32
    return _wfopen(path.c_str(), forWriting ? L"wb" : L"rb");
#else
    return std::fopen(path.c_str(), forWriting ? "wb" : "rb");
#endif
}

std::string sizeText(int64_t bytes) {
    if (bytes >= 1024 * 1024 && bytes % (1024 * 1024) == 0) {
        return std::to_string(bytes / (1024 * 1024)) + " MB";
    }
    return std::to_string(bytes) + " bytes";
}

bool writeOneFile(const std::filesystem::path& path, const unsigned char* bytes, std::size_t size,
                  std::string* reason) {
    std::FILE* file = openBinary(path, true);
    if (!file) {
        *reason = std::strerror(errno);
        return false;
    }
    const bool written = size == 0 || std::fwrite(bytes, 1, size, file) == size;
    const int writeErrno = errno;
    const bool closed = std::fclose(file) == 0;
    const int closeErrno = errno;
    if (!written || !closed) {
        *reason = std::strerror(!written ? writeErrno : closeErrno);
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        return false;
    }
    return true;
}

}  // namespace

bool readFileBytes(const std::filesystem::path& path, const std::string& shown, int64_t maxBytes,
                   const std::string& limitReason, std::vector<unsigned char>* bytes, std::string* error) {
    std::FILE* file = openBinary(path, false);
    if (!file) {
        *error = "cannot read " + quoted(shown) + ": " + std::strerror(errno);
        return false;
    }
    bytes->clear();
    unsigned char chunk[65536];
    bool tooLarge = false;
    for (;;) {
        const std::size_t got = std::fread(chunk, 1, sizeof chunk, file);
        bytes->insert(bytes->end(), chunk, chunk + got);
        if (static_cast<int64_t>(bytes->size()) > maxBytes) {
            tooLarge = true;
            break;
        }
        if (got < sizeof chunk) break;
    }
    const bool failed = std::ferror(file) != 0;
    const int readErrno = errno;
    std::fclose(file);
    if (tooLarge) {
        bytes->clear();
        *error = quoted(shown) + " is larger than " + sizeText(maxBytes) + limitReason;
        return false;
    }
    if (failed) {
        bytes->clear();
        *error = "cannot read " + quoted(shown) + ": " + std::strerror(readErrno);
        return false;
    }
    return true;
}

std::filesystem::path temporaryBeside(const std::filesystem::path& target) {
    for (int attempt = 0;; ++attempt) {
        std::filesystem::path candidate = target;
        candidate += attempt == 0 ? std::string(".tmp") : ".tmp" + std::to_string(attempt);
        std::error_code ec;
        const std::filesystem::file_status status = std::filesystem::symlink_status(candidate, ec);
        // none: the status cannot be read (no such folder, no access); opening it will say why.
        const bool taken = status.type() != std::filesystem::file_type::not_found &&
                           status.type() != std::filesystem::file_type::none;
        if (!taken || attempt == 1000) return candidate;
    }
}

bool writeFileReplacing(const std::filesystem::path& path, const std::string& shown,
                        const unsigned char* bytes, std::size_t size, std::string* error) {
    std::error_code ec;
    const std::filesystem::path temporary = temporaryBeside(path);
    std::string reason;
    if (!writeOneFile(temporary, bytes, size, &reason)) {
        *error = "cannot write " + quoted(shown) + ": " + reason;
        return false;
    }
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        *error = "cannot write " + quoted(shown) + ": " + ec.message();
        return false;
    }
    return true;
}

bool writeNewFolder(const std::filesystem::path& folder, const std::string& shown,
                    const std::vector<FolderFile>& files, std::string* error) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::symlink_status(folder, ec);
    const bool exists = status.type() != std::filesystem::file_type::not_found &&
                        status.type() != std::filesystem::file_type::none;
    if (exists) {
        if (status.type() != std::filesystem::file_type::directory) {
            *error = quoted(shown) + " already exists and is not a folder";
            return false;
        }
        if (!std::filesystem::is_empty(folder, ec) || ec) {
            *error = quoted(shown) + " already exists and is not empty";
            return false;
        }
    }
    const std::filesystem::path temporary = temporaryBeside(folder);
    std::filesystem::create_directory(temporary, ec);
    if (ec) {
        *error = "cannot create " + quoted(shown) + ": " + ec.message();
        return false;
    }
    std::string reason;
    bool ok = true;
    for (const FolderFile& file : files) {
        const std::filesystem::path target = temporary / nativePath(file.relativePath);
        std::filesystem::create_directories(target.parent_path(), ec);
        if (ec) {
            reason = ec.message();
            ok = false;
        } else if (!writeOneFile(target, file.bytes.data(), file.bytes.size(), &reason)) {
            ok = false;
        }
        if (!ok) {
            *error = "cannot write " + quoted(shown + "/" + file.relativePath) + ": " + reason;
            break;
        }
    }
    if (ok && exists) {
        std::filesystem::remove(folder, ec);  // empty, checked above
        if (ec) {
            *error = "cannot replace " + quoted(shown) + ": " + ec.message();
            ok = false;
        }
    }
    if (ok) {
        std::filesystem::rename(temporary, folder, ec);
        if (ec) {
            *error = "cannot create " + quoted(shown) + ": " + ec.message();
            ok = false;
        }
    }
    if (!ok) {
        std::error_code ignored;
        std::filesystem::remove_all(temporary, ignored);
    }
    return ok;
}
