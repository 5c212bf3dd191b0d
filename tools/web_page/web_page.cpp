// Writing the quiz page: the template's four places filled with the policy, the style sheet, the
// embedded bytes and the script.
#include "tools/web_page/web_page.h"

#include "content/quiz_format.h"
#include "tools/quiz_folder/media_format.h"
#include "tools/web_page/base64.h"
#include "tools/support/translation.h"
#include "tools/web_page/page_files.h"

namespace {

std::string fileText(const PageFile& file) { return std::string(reinterpret_cast<const char*>(file.bytes), file.size); }

// Nothing may leave the page: no request of any kind, only the page's own script and style sheet
// (by their hashes), the module compiled from the page's bytes, and media from the page's memory.
std::string pagePolicy() {
    return "default-src 'none'; script-src 'sha256-" + base64OfHex(PAGE_SCRIPT_SHA256) +
           "' 'wasm-unsafe-eval'; style-src 'sha256-" + base64OfHex(PAGE_STYLE_SHA256) +
           "'; img-src blob:; media-src blob:; base-uri 'none'; form-action 'none'";
}

const char* mediaType(const std::vector<unsigned char>& bytes) {
    switch (mediaFormat(bytes)) {
    case MediaFormat::Jpeg: return "image/jpeg";
    case MediaFormat::Gif: return "image/gif";
    case MediaFormat::Mp3: return "audio/mpeg";
    case MediaFormat::Avi: return "video/x-msvideo";
    default: return "application/octet-stream";
    }
}

// Bytes the script reads back, under an id it knows; base64 holds no character that could end the
// element.
void appendBytes(const std::string& id, const char* type, const std::vector<unsigned char>& bytes, std::string* out) {
    *out += "<script type=\"application/octet-stream\" id=\"" + id + "\" data-type=\"" + type + "\">";
    appendBase64(bytes.data(), bytes.size(), out);
    *out += "</script>\n";
}

// The page's name for a media resource: "trivo-media-Q" for question q's picture, sound or film,
// "trivo-answer-Q" for its answer picture; empty for a resource of no question.
std::string mediaId(const CheckedQuiz& quiz, int resourceId) {
    for (int q = 1; q <= static_cast<int>(quiz.content.questions.size()); ++q) {
        if (resourceId == mediaResourceId(q)) return "trivo-media-" + std::to_string(q);
        if (resourceId == answerPictureResourceId(q)) return "trivo-answer-" + std::to_string(q);
    }
    return std::string();
}

// Replaces the first marker at or after *from, and moves *from past what it put there.
bool replaceNext(std::string* text, std::size_t* from, const std::string& marker, const std::string& value) {
    const std::size_t at = text->find(marker, *from);
    if (at == std::string::npos) return false;
    text->replace(at, marker.size(), value);
    *from = at + value.size();
    return true;
}

}  // namespace

bool quizPagesAvailable(std::string* why) {
    if (PAGE_FILES_BUILT) return true;
    *why = tr("this trivo-make was built without the web page (emscripten was not found when it was built)");
    return false;
}

int64_t pageMediaBase64Size(const CheckedQuiz& quiz, const std::map<int, std::vector<unsigned char>>& films) {
    int64_t total = 0;
    for (const QuizMediaFile& media : quiz.media) {
        const auto film = films.find(media.resourceId);
        const std::size_t size = film != films.end() ? film->second.size() : media.bytes.size();
        total += static_cast<int64_t>((size + 2) / 3 * 4);
    }
    return total;
}

bool quizPage(const CheckedQuiz& quiz, const std::map<int, std::vector<unsigned char>>& films,
              const std::string& generator, std::string* page, std::string* error) {
    std::string data;
    data.reserve(static_cast<std::size_t>(pageMediaBase64Size(quiz, films)) + PAGE_WASM.size * 2);
    appendBytes("trivo-wasm", "application/wasm", std::vector<unsigned char>(PAGE_WASM.bytes, PAGE_WASM.bytes + PAGE_WASM.size),
                &data);
    appendBytes("trivo-content", "application/octet-stream", quiz.packedContent, &data);
    appendBytes("trivo-codes", "application/octet-stream", quiz.packedCodes, &data);
    if (!quiz.packedAnswers.empty())
        appendBytes("trivo-answers", "application/octet-stream", quiz.packedAnswers, &data);
    for (const QuizMediaFile& media : quiz.media) {
        const std::string id = mediaId(quiz, media.resourceId);
        if (id.empty()) continue;
        const auto film = films.find(media.resourceId);
        if (film != films.end())
            appendBytes(id, "video/mp4", film->second, &data);
        else
            appendBytes(id, mediaType(media.bytes), media.bytes, &data);
    }
    *page = fileText(PAGE_TEMPLATE);
    // The markers stand in the template in this order; what is put in is never searched again.
    std::size_t from = 0;
    const bool filled = replaceNext(page, &from, "@POLICY@", pagePolicy()) &&
                        replaceNext(page, &from, "@GENERATOR@", generator) &&
                        replaceNext(page, &from, "@STYLE@", fileText(PAGE_STYLE)) &&
                        replaceNext(page, &from, "@DATA@", data) && replaceNext(page, &from, "@SCRIPT@", fileText(PAGE_SCRIPT));
    if (!filled) {
        page->clear();
        *error = tr("the web page's template is damaged");
    }
    return filled;
}
