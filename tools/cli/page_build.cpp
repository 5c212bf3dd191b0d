// The web page of build: films converted, the page made and written whole.
#include "tools/cli/page_build.h"

#include <map>
#include <ostream>
#include <vector>

#include "tools/cli/command_line.h"
#include "tools/quiz_folder/media_format.h"
#include "tools/support/files.h"
#include "tools/support/translation.h"
#include "tools/web_page/film_conversion.h"
#include "tools/web_page/web_page.h"

#ifndef TRIVO_VERSION
#error "TRIVO_VERSION comes from the project's version in the top CMakeLists.txt"
#endif

namespace {

// TRANSLATORS: French writes Ko.
std::string kilobytes(int64_t bytes) { return fillIn(tr("{1} KB"), (bytes + 1023) / 1024); }

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
            err << prefixed(prefix, fillIn(tr("note: {1}, so the films stay AVI, which browsers do not play: the page "
                                              "links each film for the player to open; install ffmpeg to have them "
                                              "play in the page"),
                                           why))
                << "\n";
            return films;
        } else {
            err << prefixed(prefix, fillIn(tr("note: {1}: {2}; the page links this film instead"), media.path, why))
                << "\n";
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
        err << prefixed(prefix, error) << "\n";
        return false;
    }
    *weight = fillIn(tr("a page of {1}, its media {2} in base64"), kilobytes(static_cast<int64_t>(page.size())),
                     kilobytes(pageMediaBase64Size(quiz, films)));
    return true;
}
