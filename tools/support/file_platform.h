// The platform's side of trivo-make's file handling: opening descriptors (read, written and closed
// with the POSIX calls, which MinGW's runtime has too), what a name leads to, folders and
// permissions. file_platform_posix.cpp and file_platform_win32.cpp each implement it, and with it
// the naming functions of files.h that differ by platform; apart from the program runner's files
// (program_run_*.cpp), no other file of tools/support knows which platform it runs on. Calls that
// fail return -1 or false with errno set.
#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>

// What an open descriptor leads to.
struct FileInfo {
    bool regular = false;
    bool folder = false;
    int64_t size = 0;
};

// Opens a file to read it. A FIFO is opened without waiting for its writer, so that one named where
// a regular file is wanted is refused instead of blocking the tool forever; waitForData makes the
// descriptor of a pipe that is to be read to its end wait for its writer again.
int openToRead(const std::filesystem::path& path);
void waitForData(int fd);
// Creates a new file that the user may read and write, exclusively: an existing file, or a link of
// that name, is never opened or followed.
int createNewFile(const std::filesystem::path& path);
// Opens a device or pipe to write to it as it is.
int openDevice(const std::filesystem::path& path);
bool infoOf(int fd, FileInfo* info);

// Makes a folder, one only the user may enter when privateToUser; -1 when it exists already.
int makeFolder(const std::filesystem::path& path, bool privateToUser);
// Gives a private folder the permissions any new folder of the user gets.
bool openFolderToUser(const std::filesystem::path& folder);
// Gives a new file the permissions mode of the file it replaces (outputKind's; -1 for none).
void keepPermissions(int fd, int mode);

// Whether c separates the names of a path.
bool isSeparator(char c);

// What an output's name holds.
enum class OutputKind { Missing, Regular, Folder, Device, LinkToNothing, Other };
// *target is where a regular file is replaced: the name itself, or the file its links lead to, so
// that a link is never replaced by a file. *mode: the permissions a replaced file keeps, or -1.
OutputKind outputKind(const std::filesystem::path& path, std::filesystem::path* target, int* mode);

// Standard output in binary mode while bytes are written to it (in text mode every byte 0x0A would
// gain a carriage return), and back in its previous mode.
int binaryStandardOutput();
void restoreStandardOutput(int previousMode);
