// The one dispatcher from a request's method and path to its handler, and what the handlers share.
#include <cstdio>
#include <system_error>

#include "tools/quiz_folder/media_check.h"
#include "tools/quiz_folder/quiz_check.h"
#include "tools/quiz_folder/quiz_toml.h"
#include "tools/studio/safe_names.h"
#include "tools/studio/studio_routes.h"
#include "tools/support/files.h"

namespace {

// A quiz program holds at most the media limit and the player, as dump reads it.
constexpr int64_t PROGRAM_UPLOAD_MAX_BYTES = MEDIA_TOTAL_MAX_BYTES + 64 * 1024 * 1024;
// Everything else the page sends is a quiz's texts, far smaller.
constexpr int64_t FORM_MAX_BYTES = 1024 * 1024;

// "/api/quiz/NAME/media" split at its slashes, each part decoded; false when one is malformed.
bool pathParts(const std::string& path, std::vector<std::string>* parts) {
    parts->clear();
    std::size_t at = 1;
    while (at <= path.size()) {
        const std::size_t end = path.find('/', at);
        std::string part;
        if (!percentDecoded(path.substr(at, end == std::string::npos ? std::string::npos : end - at), &part))
            return false;
        parts->push_back(part);
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return true;
}

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

int64_t uploadLimitFor(const std::string& path) {
    if (path == "/api/import") return PROGRAM_UPLOAD_MAX_BYTES;
    if (endsWith(path, "/media")) return MEDIA_MAX_BYTES;
    return FORM_MAX_BYTES;
}

std::filesystem::path plainPath(const std::filesystem::path& resolved) {
    const std::string text = utf8Path(resolved);
    if (text.size() > 6 && text.compare(0, 4, "\\\\?\\") == 0 && text[5] == ':') return nativePath(text.substr(4));
    return resolved;
}

StudioResponse jsonResponse(const Json& value, int status) {
    StudioResponse response;
    response.status = status;
    response.body = value.dump(-1, ' ', false, Json::error_handler_t::replace);
    return response;
}

StudioResponse errorResponse(int status, const std::string& message) {
    return jsonResponse(Json{{"error", message}}, status);
}

std::string queryValue(const std::string& query, const std::string& key) {
    std::size_t at = 0;
    while (at <= query.size()) {
        const std::size_t end = query.find('&', at);
        const std::string pair = query.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (pair.compare(0, key.size() + 1, key + "=") == 0) {
            std::string value;
            return percentDecoded(pair.substr(key.size() + 1), &value) ? value : std::string();
        }
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return std::string();
}

std::string jsonText(const Json& object, const char* key) {
    if (!object.is_object()) return std::string();
    const auto found = object.find(key);
    return found != object.end() && found->is_string() ? found->get<std::string>() : std::string();
}

bool quizFolderNamed(const StudioState& state, const std::string& name, std::filesystem::path* folder,
                     StudioResponse* refusal) {
    std::filesystem::path resolved;
    std::string reason;
    std::error_code ec;
    if (!isSafeName(name)) {
        *refusal = errorResponse(403, "Ce nom ne d\xC3\xA9signe pas un dossier de l'espace de travail.");
        return false;
    }
    if (!resolvedPath(state.workspace / nativePath(name), &resolved, &reason) ||
        !std::filesystem::is_regular_file(resolved / QUIZ_TOML_NAME, ec)) {
        *refusal = errorResponse(404, "Ce dossier ne contient pas de quiz.toml.");
        return false;
    }
    // A link to a folder elsewhere would let the browser read and write outside the workspace.
    if (!isInsideFolder(state.workspace, plainPath(resolved))) {
        *refusal = errorResponse(403, "Ce dossier m\xC3\xA8ne hors de l'espace de travail.");
        return false;
    }
    *folder = plainPath(resolved);
    return true;
}

Json problemsJson(const Diagnostics& diagnostics, const std::map<int, std::string>& fields) {
    Json list = Json::array();
    for (const Diagnostic& diagnostic : diagnostics) {
        const auto field = fields.find(diagnostic.line);
        const char* severity = diagnostic.severity == Severity::Error     ? "error"
                               : diagnostic.severity == Severity::Warning ? "warning"
                                                                          : "note";
        list.push_back({{"severity", severity},
                        {"line", diagnostic.line},
                        {"field", field == fields.end() ? std::string() : field->second},
                        {"message", diagnostic.message},
                        {"hint", diagnostic.hint}});
    }
    return list;
}

StudioResponse handleStudioRequest(StudioState* state, const StudioRequest& request) {
    std::vector<std::string> parts;
    if (!pathParts(request.path, &parts)) return errorResponse(400, "Adresse mal form\xC3\xA9" "e.");
    const std::string& method = request.method;
    const bool get = method == "GET" || method == "HEAD";
    const std::size_t n = parts.size();
    if (n >= 1 && parts[0] == "api") {
        if (n == 2 && parts[1] == "quizzes" && get) return listQuizzes(state);
        if (n == 2 && parts[1] == "quizzes" && method == "POST") return createQuiz(state, request);
        if (n == 2 && parts[1] == "import" && method == "POST") return importProgram(state, request);
        if (n == 2 && parts[1] == "quit" && method == "POST") {
            state->quitRequested = true;
            return jsonResponse(Json{{"stopped", true}});
        }
        if (n == 2 && parts[1] == "trial" && get) return trialState(state);
        if (n == 3 && parts[1] == "quiz" && get) return readQuiz(state, parts[2]);
        if (n == 3 && parts[1] == "quiz" && method == "PUT") return saveQuiz(state, parts[2], request);
        if (n == 4 && parts[1] == "quiz" && method == "POST") {
            if (parts[3] == "media") return uploadMedia(state, parts[2], request);
            if (parts[3] == "build") return buildQuiz(state, parts[2], request);
            if (parts[3] == "play") return playQuiz(state, parts[2]);
        }
        return errorResponse(404, "Pas de telle requ\xC3\xAAte.");
    }
    if (n == 3 && parts[0] == "quiz" && get) {
        if (parts[2] == "preview") return previewQuiz(state, parts[1]);
        if (parts[2] == "file") return quizFile(state, parts[1], request, false);
        if (parts[2] == "download") return quizFile(state, parts[1], request, true);
    }
    if (get) return pageFile(request.path);
    return errorResponse(405, "M\xC3\xA9thode refus\xC3\xA9" "e.");
}
