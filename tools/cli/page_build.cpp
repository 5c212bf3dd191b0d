// The web page of build: films converted, the page made and written whole.
#include "tools/cli/page_build.h"

#include <map>
#include <ostream>
#include <vector>

#include "tools/quiz_folder/media_format.h"
#include "tools/support/files.h"
#include "tools/web_page/film_conversion.h"
#include "tools/web_page/web_page.h"

#ifndef TRIVO_VERSION
#error "TRIVO_VERSION comes from the project's version in the top CMakeLists.txt"
#endif

namespace {

std::string kilobytes(int64_t bytes) { return std::to_string((bytes + 1023) / 1024) + " KB"; }

// Each AVI film as MP4, by its resource number. Without ffmpeg the films stay as they are, and one
// note says so; a film ffmpeg cannot convert gets a note of its own.
std::map<int, std::vector<unsigned char>> convertedFilms(const std::string& prefix, const CheckedQuiz& quiz,
                                                         std::ostream& err) {
    std::map<int, std::vector<unsigned char>> films;
    for (const QuizMediaFile& media : quiz.media) {
        if (mediaFormat(media.bytes) != MediaFormat::Avi) continue;
        std::vector<unsigned char> mp4;
        std::string why;
        const FilmConversion result = convertFilm(media.bytes, &mp4, &why);
        if (result == FilmConversion::Converted) {
            films[media.resourceId] = std::move(mp4);
        } else if (result == FilmConversion::NoConverter) {
            err << prefix << ": note: " << why << ", so the films stay AVI, which browsers do not play: "
                << "the page links each film for the player to open; install ffmpeg to have them play in the page\n";
            return films;
        } else {
            err << prefix << ": note: " << media.path << ": " << why << "; the page links this film instead\n";
        }
    }
    return films;
}

}  // namespace

bool writeQuizPageFile(const std::string& prefix, const CheckedQuiz& quiz, const std::string& output,
                       std::ostream& out, std::ostream& err, std::string* weight) {
    std::string page, error;
    const std::map<int, std::vector<unsigned char>> films = convertedFilms(prefix, quiz, err);
    if (!quizPage(quiz, films, std::string("trivo-make ") + TRIVO_VERSION, &page, &error) ||
        !writeOutputFile(output, reinterpret_cast<const unsigned char*>(page.data()), page.size(), out, &error)) {
        err << prefix << ": " << error << "\n";
        return false;
    }
    *weight = "a page of " + kilobytes(static_cast<int64_t>(page.size())) + ", its media " +
              kilobytes(pageMediaBase64Size(quiz, films)) + " in base64";
    return true;
}
