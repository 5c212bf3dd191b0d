// File reading and writing for trivo-make's commands: UTF-8 names on every platform, size limits
// checked before a file is read whole, and output written through a temporary file so that a
// failure never leaves a partial result behind.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// The file system's name for a UTF-8 name (on Windows it goes through UTF-16, since the narrow
// functions would read it in the ANSI code page).
std::filesystem::path nativePath(const std::string& utf8);
// The UTF-8 form of a path, for messages and for names written into quiz.toml.
std::string utf8Path(const std::filesystem::path& path);

// 'name', for messages.
std::string quoted(const std::string& name);

// Reads a whole file of at most maxBytes. On failure *error says why, naming the file as shown;
// limitReason ends the message about a file that is too large ("; the codec takes ...").
bool readFileBytes(const std::filesystem::path& path, const std::string& shown, int64_t maxBytes,
                   const std::string& limitReason, std::vector<unsigned char>* bytes, std::string* error);

// A name beside target that is not taken yet (target.tmp, target.tmp1, ...).
std::filesystem::path temporaryBeside(const std::filesystem::path& target);

// Writes bytes to a temporary file beside path and renames it over path at the end: on failure
// nothing is left behind and an existing file is kept intact. *error names the file as shown.
bool writeFileReplacing(const std::filesystem::path& path, const std::string& shown,
                        const unsigned char* bytes, std::size_t size, std::string* error);

// One file of a folder being written: its path inside the folder (forward slashes) and its bytes.
struct FolderFile {
    std::string relativePath;
    std::vector<unsigned char> bytes;
};

// Creates folder with these files, all or nothing: they are written into a temporary folder beside
// it, which is renamed to folder at the end. An existing folder must be empty (it is replaced);
// one with anything in it is refused, so nothing of the user's is overwritten.
bool writeNewFolder(const std::filesystem::path& folder, const std::string& shown,
                    const std::vector<FolderFile>& files, std::string* error);
