// Running ffmpeg on one film, in a private temporary folder: the film in, the MP4 and ffmpeg's
// messages out.
#include "tools/web_page/film_conversion.h"

#include <cstdint>
#include <filesystem>
#include <system_error>

#include "tools/support/cp1252.h"
#include "tools/support/translation.h"
#include "tools/support/files.h"
#include "tools/support/program_run.h"

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

// ffmpeg's last message line, for saying why a film gave nothing.
std::string lastMessage(const std::filesystem::path& log) {
    std::string text = fileStart(log, MESSAGE_LIMIT);
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
    if (writeNewFolder(folder, utf8Path(folder), {FolderFile{"film.avi", avi}}, why)) {
        std::vector<std::string> arguments = {"ffmpeg"};
        arguments.insert(arguments.end(), std::begin(FFMPEG_ARGUMENTS), std::end(FFMPEG_ARGUMENTS));
        const Spawned run = spawnAndWait(arguments, {}, folder, work / "ffmpeg.log");
        if (programMissing(run)) {
            result = FilmConversion::NoConverter;
            *why = tr("ffmpeg is not installed");
        } else if (!run.started) {
            *why = fillIn(tr("cannot start ffmpeg: {1}"), systemMessage(std::error_code(run.error, std::system_category())));
        } else if (run.exitStatus == 0 && run.signal == 0 &&
                   readFileBytes(folder / "film.mp4", tr("the converted film"), FILM_MAX_BYTES, "", mp4, why)) {
            result = FilmConversion::Converted;
        } else {
            const int status = run.signal == 0 ? run.exitStatus : -1;
            const std::string said = lastMessage(work / "ffmpeg.log");
            *why = said.empty() ? fillIn(tr("ffmpeg failed (status {1})"), status)
                                : fillIn(tr("ffmpeg failed (status {1}): {2}"), status, printable(said));
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(work, ec);
    return result;
}
