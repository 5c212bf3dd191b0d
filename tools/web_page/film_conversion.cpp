// Running ffmpeg on one film, in a private temporary folder: the film in, the MP4 and ffmpeg's
// messages out. posix_spawnp where there is one, CreateProcess on Windows; both search PATH.
#include "tools/web_page/film_conversion.h"

#include <cstdint>
#include <vector>
#include <filesystem>
#include <system_error>

#include "tools/support/cp1252.h"
#include "tools/support/translation.h"
#include "tools/support/files.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>

extern char** environ;
#endif

namespace {

// A film converted is about as large as the film it comes from; this only stops a runaway.
constexpr int64_t FILM_MAX_BYTES = 256 * 1024 * 1024;
// ffmpeg's messages are read back at most this far: the reason, not a flood.
constexpr std::size_t MESSAGE_LIMIT = 2000;

// Widely playable MP4: H.264 in 4:2:0 (even sizes), AAC sound when the film has any, the index at the
// front so a browser can start at once, and no date or tool version written into the file.
const char* const FFMPEG_ARGUMENTS[] = {
    "-nostdin", "-hide_banner", "-loglevel", "error", "-y", "-i", "film.avi", "-map", "0:v:0", "-map", "0:a:0?",
    "-vf", "scale=trunc(iw/2)*2:trunc(ih/2)*2", "-c:v", "libx264", "-preset", "veryfast", "-crf", "26",
    "-pix_fmt", "yuv420p", "-c:a", "aac", "-b:a", "96k", "-movflags", "+faststart", "-map_metadata", "-1",
    "-fflags", "+bitexact", "-flags:v", "+bitexact", "-flags:a", "+bitexact", "film.mp4",
};

enum class Run { Ended, NotFound, Failed };

#ifdef _WIN32

Run runFfmpeg(const std::filesystem::path& folder, const std::filesystem::path& log, int* status, std::string* why) {
    std::wstring commandLine = L"ffmpeg.exe";
    for (const char* argument : FFMPEG_ARGUMENTS) {
        commandLine += L" \"";
        for (const char* c = argument; *c; ++c) commandLine += static_cast<wchar_t>(*c);
        commandLine += L"\"";
    }
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE output = CreateFileW(log.c_str(), GENERIC_WRITE, 0, &inherit, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE input = CreateFileW(L"NUL", GENERIC_READ, 0, &inherit, OPEN_EXISTING, 0, nullptr);
    if (output == INVALID_HANDLE_VALUE || input == INVALID_HANDLE_VALUE) {
        if (output != INVALID_HANDLE_VALUE) CloseHandle(output);
        if (input != INVALID_HANDLE_VALUE) CloseHandle(input);
        *why = tr("cannot prepare ffmpeg's output");
        return Run::Failed;
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = output;
    startup.hStdError = output;
    PROCESS_INFORMATION process = {};
    const BOOL started = CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                        folder.c_str(), &startup, &process);
    const DWORD error = GetLastError();
    CloseHandle(output);
    CloseHandle(input);
    if (!started) {
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return Run::NotFound;
        *why = fillIn(tr("cannot start ffmpeg: {1}"), std::system_category().message(static_cast<int>(error)));
        return Run::Failed;
    }
    CloseHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    *status = static_cast<int>(code);
    return Run::Ended;
}

#else

Run runFfmpeg(const std::filesystem::path& folder, const std::filesystem::path& log, int* status, std::string* why) {
    std::vector<char*> arguments = {const_cast<char*>("ffmpeg")};
    // posix_spawn has no working folder of its own: every file is named by its full path instead.
    std::vector<std::string> full;
    for (const char* argument : FFMPEG_ARGUMENTS) {
        const std::string text = argument;
        full.push_back(text == "film.avi" || text == "film.mp4" ? (folder / text).string() : text);
    }
    for (std::string& argument : full) arguments.push_back(&argument[0]);
    arguments.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t child = 0;
    const int error = posix_spawnp(&child, "ffmpeg", &actions, nullptr, arguments.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error == ENOENT) return Run::NotFound;
    if (error != 0) {
        *why = fillIn(tr("cannot start ffmpeg: {1}"), systemMessage(error));
        return Run::Failed;
    }
    int result = 0;
    pid_t ended;
    while ((ended = waitpid(child, &result, 0)) < 0 && errno == EINTR) {
    }
    // A shell's "command not found" where posix_spawnp runs through one.
    if (ended == child && WIFEXITED(result) && WEXITSTATUS(result) == 127) return Run::NotFound;
    *status = ended == child && WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    return Run::Ended;
}

#endif

// ffmpeg's last message line, for saying why a film gave nothing.
std::string lastMessage(const std::filesystem::path& log) {
    std::vector<unsigned char> bytes;
    int64_t size = 0;
    std::string ignored;
    if (!readRegularFile(log, "", FILM_MAX_BYTES, MESSAGE_LIMIT, &bytes, &size, &ignored)) return std::string();
    std::string text(bytes.begin(), bytes.end());
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    const std::size_t line = text.find_last_of('\n');
    return line == std::string::npos ? text : text.substr(line + 1);
}

}  // namespace

FilmConversion convertFilm(const std::vector<unsigned char>& avi, std::vector<unsigned char>* mp4, std::string* why) {
    std::filesystem::path work;
    if (!makePrivateTemporaryFolder("trivo-film", &work, why)) return FilmConversion::Failed;
    // The folder is this run's own (made with 0700 and a name nobody guesses): the film goes in as a
    // new file, ffmpeg writes beside it.
    const std::filesystem::path folder = work / "film";
    FilmConversion result = FilmConversion::Failed;
    int status = 0;
    if (writeNewFolder(folder, utf8Path(folder), {FolderFile{"film.avi", avi}}, why)) {
        switch (runFfmpeg(folder, work / "ffmpeg.log", &status, why)) {
        case Run::NotFound:
            result = FilmConversion::NoConverter;
            *why = tr("ffmpeg is not installed");
            break;
        case Run::Failed:
            break;
        case Run::Ended:
            if (status == 0 && readFileBytes(folder / "film.mp4", tr("the converted film"), FILM_MAX_BYTES, "", mp4, why)) {
                result = FilmConversion::Converted;
            } else {
                const std::string said = lastMessage(work / "ffmpeg.log");
                *why = said.empty() ? fillIn(tr("ffmpeg failed (status {1})"), status)
                                    : fillIn(tr("ffmpeg failed (status {1}): {2}"), status, printable(said));
            }
            break;
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(work, ec);
    return result;
}
