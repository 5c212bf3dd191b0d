// File reading and writing for trivo-make's commands: UTF-8 names on every platform, size limits
// checked before a file is read, and output written through a temporary file of its own, created
// exclusively, so that a failure never leaves a partial result behind and a crowded or hostile
// folder never makes the tool write through a link or into someone else's file.
//
// Names are file_names.cpp's (those that depend on the platform, file_platform_*.cpp's), reading is
// file_reading.cpp's, writing file_writing.cpp's; all of them reach the system through
// file_platform.h.
#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

// The file system's name for a UTF-8 name (on Windows it goes through UTF-16, since the narrow
// functions would read it in the ANSI code page).
std::filesystem::path nativePath(const std::string& utf8);
// The UTF-8 form of a path, for messages and for names written into quiz.toml.
std::string utf8Path(const std::filesystem::path& path);

// A folder named on the command line, without the separators that may end it ("out/" is "out");
// a name made only of separators (the root) is kept.
std::string folderName(const std::string& name);

// Reads a whole file of at most maxBytes: a regular file, or a pipe or device read to its end. On
// failure *error says why, naming the file as shown; limitReason ends the message about a file
// that is too large ("; the codec takes ...").
bool readFileBytes(const std::filesystem::path& path, const std::string& shown, int64_t maxBytes,
                   const std::string& limitReason, std::vector<unsigned char>* bytes, std::string* error);

// The same for an input named on the command line, where "-" is standard input, read to its end.
bool readInputFile(const std::string& name, std::istream& standardInput, int64_t maxBytes,
                   const std::string& limitReason, std::vector<unsigned char>* bytes, std::string* error);

// Reads a regular file of at most maxBytes, but only its first readAtMost bytes; *size is the
// file's whole size. Anything else (a folder, a pipe that might never end, a device) is refused,
// and so is a file over the limit, before any of it is read.
bool readRegularFile(const std::filesystem::path& path, const std::string& shown, int64_t maxBytes,
                     std::size_t readAtMost, std::vector<unsigned char>* bytes, int64_t* size,
                     std::string* error);

// The first limit bytes of a regular file as text, for the messages a program wrote into it; empty
// when it cannot be read.
std::string fileStart(const std::filesystem::path& path, std::size_t limit = 64 * 1024);

// The absolute path of an existing file or folder with every link resolved; false with *reason
// when it cannot be found.
bool resolvedPath(const std::filesystem::path& path, std::filesystem::path* resolved, std::string* reason);

// For a path inside folder (UTF-8, with "/") that names nothing: the same path with the letter case
// of its names as they are on disk, when only case keeps it from naming something (as on Windows,
// where names ignore case); empty otherwise. A to Z and the accented letters of Latin-1 count; at
// most a few thousand entries of each folder are looked at.
std::string pathDifferingInCase(const std::filesystem::path& folder, const std::string& path);

// Whether a and b are the same existing file, whatever the names (links, hard links) lead to it.
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// Writes bytes to path, as shown in messages. A regular file (or a link to one: the file it names)
// is replaced only once a temporary file beside it holds the bytes and reads them back, and keeps
// its permissions; a character device or a pipe is written directly; a folder, a link leading
// nowhere and anything else are refused. On failure nothing is left behind and an existing file
// is intact.
bool writeFileReplacing(const std::filesystem::path& path, const std::string& shown,
                        const unsigned char* bytes, std::size_t size, std::string* error);

// Writes bytes to a new file at path, made exclusively (never over anything, never through a link)
// and read back; on failure nothing is left behind.
bool writeNewFile(const std::filesystem::path& path, const std::string& shown, const unsigned char* bytes,
                  std::size_t size, std::string* error);

// The same for an output named on the command line, where "-" is standard output.
bool writeOutputFile(const std::string& name, const unsigned char* bytes, std::size_t size,
                     std::ostream& standardOutput, std::string* error);

// Makes a new folder in the system's temporary folder, named prefix and characters nobody can guess,
// that only this user may enter: what is put there can come from no one else. False with *error.
bool makePrivateTemporaryFolder(const std::string& prefix, std::filesystem::path* folder, std::string* error);

// One file of a folder being written: its path inside the folder (forward slashes) and its bytes.
struct FolderFile {
    std::string relativePath;
    std::vector<unsigned char> bytes;
};

// Checks a folder just written, before it takes its name; false with *error to give it up.
typedef std::function<bool(const std::filesystem::path& written, std::string* error)> FolderCheck;

// Creates folder with these files, all or nothing: they are written into a new temporary folder
// beside it, read back, checked by check (when given), and the temporary folder is renamed to
// folder at the end. An existing folder must be empty (it is replaced); one with anything in it,
// or anything else of that name, is refused, so nothing of the user's is overwritten.
bool writeNewFolder(const std::filesystem::path& folder, const std::string& shown,
                    const std::vector<FolderFile>& files, std::string* error, const FolderCheck& check = {});
