// The workspace's handlers: the list of its quizzes, a new quiz from a starter, a quiz program
// unpacked into a new folder, and the studio page's own files.
#include <chrono>
#include <ctime>
#include <system_error>

#include "tools/quiz_folder/quiz_check.h"
#include "tools/quiz_folder/quiz_content.h"
#include "tools/quiz_folder/quiz_dump.h"
#include "tools/quiz_folder/quiz_toml.h"
#include "tools/quiz_folder/starter.h"
#include "tools/studio/quiz_store.h"
#include "tools/studio/safe_names.h"
#include "tools/studio/studio_page_files.h"
#include "tools/studio/studio_routes.h"
#include "tools/support/files.h"

namespace {

// The home page lists at most this many folders; a workspace is a teacher's folder of quizzes.
constexpr int LISTED_FOLDERS_MAX = 500;

// "2026-12-09T18:04:00Z" for a file's last change; empty when it cannot be read.
std::string changeTime(const std::filesystem::path& path) {
    std::error_code ec;
    const auto written = std::filesystem::last_write_time(path, ec);
    if (ec) return std::string();
    const auto now = std::chrono::system_clock::now() +
                     std::chrono::duration_cast<std::chrono::system_clock::duration>(
                         written - std::filesystem::file_time_type::clock::now());
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm parts{};
#ifdef _WIN32
    gmtime_s(&parts, &seconds);
#else
    gmtime_r(&seconds, &parts);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

Json quizEntry(const std::filesystem::path& folder, const std::string& name) {
    CheckedQuiz quiz;
    Diagnostics diagnostics;
    checkQuizFolder(folder, &quiz, &diagnostics, MediaReading::FormatOnly);
    StoredQuiz stored;
    std::string error;
    loadStoredQuiz(folder, &stored, &error);
    return Json{{"name", name},
                {"title", stored.quiz.title},
                {"kind", stored.quiz.kind},
                {"questions", stored.quiz.questions.size()},
                {"changed", changeTime(folder / QUIZ_TOML_NAME)},
                {"errors", countErrors(diagnostics)},
                {"warnings", countWarnings(diagnostics)}};
}

// A free name in the workspace: name, or name-2, name-3 ...
std::string freeFolderName(const StudioState& state, const std::string& name) {
    std::error_code ec;
    for (int n = 1; n < 1000; ++n) {
        const std::string candidate = n == 1 ? name : name + "-" + std::to_string(n);
        if (std::filesystem::symlink_status(state.workspace / nativePath(candidate), ec).type() ==
            std::filesystem::file_type::not_found)
            return candidate;
    }
    return std::string();
}

}  // namespace

StudioResponse listQuizzes(StudioState* state) {
    Json quizzes = Json::array();
    std::error_code ec;
    std::vector<std::string> names;
    for (std::filesystem::directory_iterator it(state->workspace, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = utf8Path(it->path().filename());
        std::error_code kind;
        if (isSafeName(name) && it->is_directory(kind) && std::filesystem::is_regular_file(it->path() / QUIZ_TOML_NAME, kind))
            names.push_back(name);
        if (static_cast<int>(names.size()) >= LISTED_FOLDERS_MAX) break;
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        std::filesystem::path folder;
        StudioResponse refusal;
        if (quizFolderNamed(*state, name, &folder, &refusal)) quizzes.push_back(quizEntry(folder, name));
    }
    return jsonResponse(Json{{"workspace", utf8Path(state->workspace)}, {"quizzes", quizzes}});
}

StudioResponse createQuiz(StudioState* state, const StudioRequest& request) {
    const Json form = Json::parse(request.body, nullptr, false);
    const std::string name = jsonText(form, "name");
    QuizKind kind;
    if (!parseKindName(jsonText(form, "kind"), &kind)) return errorResponse(400, "Choisissez le genre du quiz.");
    if (!isSafeName(name))
        return errorResponse(400, "Donnez au dossier un nom simple : lettres, chiffres, tirets, sans / ni \\ ni point au d\xC3\xA9" "but.");
    const std::filesystem::path folder = state->workspace / nativePath(name);
    std::error_code ec;
    if (std::filesystem::symlink_status(folder, ec).type() != std::filesystem::file_type::not_found)
        return errorResponse(409, "Un dossier de ce nom existe d\xC3\xA9j\xC3\xA0.");
    std::string error;
    if (!writeNewFolder(folder, name, starterFiles(kind), &error)) return errorResponse(500, error);
    // The starter, rewritten at once in the studio's layout with the answers per question chosen.
    StoredQuiz stored;
    if (!loadStoredQuiz(folder, &stored, &error)) return errorResponse(500, error);
    const auto slots = form.find("slots");
    stored.quiz.slots = slots != form.end() && slots->is_number_integer() && slots->get<int>() == 2 ? 2 : 1;
    std::map<int, std::string> fields;
    const std::string text = studioToml(stored.quiz, &fields);
    if (!writeFileReplacing(folder / QUIZ_TOML_NAME, QUIZ_TOML_NAME, reinterpret_cast<const unsigned char*>(text.data()),
                            text.size(), &error))
        return errorResponse(500, error);
    return jsonResponse(Json{{"name", name}}, 201);
}

StudioResponse importProgram(StudioState* state, const StudioRequest& request) {
    std::string stem = safeUploadName(queryValue(request.query, "name"));
    const std::size_t dot = stem.rfind('.');
    if (dot != std::string::npos && dot > 0) stem.resize(dot);
    const std::string name = freeFolderName(*state, stem);
    if (name.empty()) return errorResponse(409, "Aucun nom libre pour ce dossier.");
    const std::vector<uint8_t> image(request.body.begin(), request.body.end());
    DumpedQuiz quiz;
    std::string error;
    if (!readQuizProgram(image, &quiz, &error))
        return errorResponse(422, "Ce fichier n'est pas un programme de quiz Trivo : " + error);
    const std::string header = "# Trivo quiz read back from " + safeUploadName(queryValue(request.query, "name")) +
                               " by Trivo Studio.\n\n";
    std::vector<FolderFile> files;
    if (!quizFolderFiles(quiz, header, &files, &error) ||
        !writeNewFolder(state->workspace / nativePath(name), name, files, &error))
        return errorResponse(422, error);
    return jsonResponse(Json{{"name", name}, {"notes", quiz.notes}}, 201);
}

StudioResponse pageFile(const std::string& path) {
    const StudioPageFile* file = studioPageFile(path == "/" ? "/studio.html" : path);
    if (!file) return errorResponse(404, "Pas de telle page.");
    StudioResponse response;
    response.contentType = file->contentType;
    response.body.assign(reinterpret_cast<const char*>(file->bytes), file->size);
    return response;
}
