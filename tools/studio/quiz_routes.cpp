// One quiz's handlers: read and saved (checked at each save by check's own code), its media
// uploaded and shown, its preview (the quiz's web page), its two builds and its trial.
#include <chrono>
#include <sstream>
#include <system_error>
#include <thread>

#include "player/geometry.h"
#include "tools/quiz_folder/media_check.h"
#include "tools/quiz_folder/picture_check.h"
#include "tools/quiz_folder/picture_fitting.h"
#include "tools/quiz_folder/quiz_check.h"
#include "tools/quiz_folder/quiz_content.h"
#include "tools/quiz_folder/quiz_toml.h"
#include "tools/studio/quiz_store.h"
#include "tools/studio/safe_names.h"
#include "tools/studio/studio_routes.h"
#include "tools/support/files.h"
#include "tools/support/program_run.h"
#include "tools/web_page/web_page.h"

namespace {

// The media folder's files are counted up to this many, for the total the uploads may reach.
constexpr int MEDIA_FILES_COUNTED_MAX = 10000;
// More questions than a quiz may hold are kept, so that check says so; this bounds what is read.
constexpr std::size_t QUESTIONS_READ_MAX = 200;

const char* const MEDIA_FOLDER = "media";

// The strings of the array at key, the empty ones left out; at most a quiz's worth.
std::vector<std::string> jsonTexts(const Json& object, const char* key) {
    std::vector<std::string> texts;
    const auto found = object.find(key);
    if (found == object.end() || !found->is_array()) return texts;
    for (const Json& item : *found) {
        if (item.is_string() && !item.get<std::string>().empty() && texts.size() < QUESTIONS_READ_MAX)
            texts.push_back(item.get<std::string>());
    }
    return texts;
}

Json quizJson(const StudioQuiz& quiz) {
    Json questions = Json::array();
    for (const StudioQuestion& q : quiz.questions) {
        questions.push_back({{"text", q.text}, {"answer", q.answer}, {"answer2", q.answer2}, {"media", q.media},
                             {"answerPicture", q.answerPicture}, {"comment", q.comment},
                             {"otherAnswers", q.otherAnswers}, {"otherAnswers2", q.otherAnswers2}});
    }
    return Json{{"kind", quiz.kind}, {"title", quiz.title}, {"author", quiz.author},
                {"description", quiz.description}, {"slots", quiz.slots}, {"caption1", quiz.caption1},
                {"caption2", quiz.caption2}, {"reveal", quiz.reveal}, {"background", quiz.background},
                {"accents", quiz.accents},
                {"codes", quiz.codes}, {"questions", questions}};
}

StudioQuiz quizOfJson(const Json& json) {
    StudioQuiz quiz;
    quiz.kind = jsonText(json, "kind");
    quiz.title = jsonText(json, "title");
    quiz.author = jsonText(json, "author");
    quiz.description = jsonText(json, "description");
    const auto slots = json.find("slots");
    quiz.slots = slots != json.end() && slots->is_number_integer() && slots->get<int>() == 2 ? 2 : 1;
    quiz.caption1 = jsonText(json, "caption1");
    quiz.caption2 = jsonText(json, "caption2");
    quiz.reveal = jsonText(json, "reveal");
    quiz.background = jsonText(json, "background");
    quiz.accents = jsonText(json, "accents");
    const auto codes = json.find("codes");
    if (codes != json.end() && codes->is_array()) {
        for (const Json& code : *codes) {
            if (quiz.codes.size() >= QUESTIONS_READ_MAX) break;
            quiz.codes.push_back(code.is_string() ? code.get<std::string>() : std::string());
        }
    }
    const auto questions = json.find("questions");
    if (questions != json.end() && questions->is_array()) {
        for (const Json& q : *questions) {
            if (quiz.questions.size() >= QUESTIONS_READ_MAX) break;
            quiz.questions.push_back(StudioQuestion{jsonText(q, "text"), jsonText(q, "answer"), jsonText(q, "answer2"),
                                                    jsonText(q, "media"), jsonText(q, "answerPicture"),
                                                    jsonText(q, "comment"), jsonTexts(q, "otherAnswers"),
                                                    jsonTexts(q, "otherAnswers2")});
        }
    }
    return quiz;
}

// The problems of the quiz as the studio writes it: the text is read and checked as check reads and
// checks a quiz.toml, so that every problem has the line, and so the field, it would have on disk.
Json checkedProblems(const StudioQuiz& quiz, const std::filesystem::path& folder, Json* counts) {
    std::map<int, std::string> fields;
    const std::string text = studioToml(quiz, &fields);
    QuizSource source;
    Diagnostics diagnostics;
    if (readQuizToml(text, &source, &diagnostics)) {
        CheckedQuiz checked;
        checkQuizSource(source, folder, &checked, &diagnostics, MediaReading::FormatOnly);
    }
    *counts = Json{{"errors", countErrors(diagnostics)}, {"warnings", countWarnings(diagnostics)},
                   {"notes", countNotes(diagnostics)}};
    return problemsJson(diagnostics, fields);
}

PictureBackground backgroundOf(const std::string& colour) {
    PictureBackground white = {255, 255, 255};
    if (colour.size() != 7 || colour[0] != '#') return white;
    unsigned value = 0;
    for (std::size_t i = 1; i < 7; ++i) {
        const char c = colour[i];
        const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (digit < 0) return white;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return {static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 8),
            static_cast<unsigned char>(value)};
}

// What the files of media/ weigh together, links not followed.
int64_t mediaFolderBytes(const std::filesystem::path& media) {
    int64_t total = 0;
    int counted = 0;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(media, ec), end; !ec && it != end && counted < MEDIA_FILES_COUNTED_MAX;
         it.increment(ec), ++counted) {
        std::error_code size;
        if (it->is_regular_file(size) && !it->is_symlink(size)) total += static_cast<int64_t>(it->file_size(size));
    }
    return total;
}

// name in media/, or name-2, name-3 ... before its extension: an upload never replaces a file.
std::string freeMediaName(const std::filesystem::path& media, const std::string& name) {
    const std::size_t dot = name.rfind('.');
    const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);
    std::error_code ec;
    for (int n = 1; n < 1000; ++n) {
        const std::string candidate = n == 1 ? name : stem + "-" + std::to_string(n) + extension;
        if (std::filesystem::symlink_status(media / candidate, ec).type() == std::filesystem::file_type::not_found)
            return candidate;
    }
    return std::string();
}

std::string withJpegExtension(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    return (dot == std::string::npos ? name : name.substr(0, dot)) + ".jpg";
}

// A picture fitted as build fits it; *note says what was done, empty when it is kept as it is.
void fitUpload(std::string* bytes, std::string* name, PictureBackground background, std::string* note) {
    const unsigned char* data = reinterpret_cast<const unsigned char*>(bytes->data());
    const PictureFacts facts = checkPicture(data, bytes->size());
    if (facts.state != PictureState::Good) return;  // the check below says what is wrong with it
    if (pictureFitFor(data, bytes->size(), facts.width, facts.height).fit == PictureFit::AsItIs) return;
    FittedPicture fitted;
    if (!fitPicture(data, bytes->size(), background, &fitted)) return;
    const std::string size = std::to_string(fitted.width) + " \xC3\x97 " + std::to_string(fitted.height);
    *note = fitted.fit == PictureFit::Converted
                ? "Image convertie en JPEG de " + size + " pixels, ce que le lecteur affiche."
                : "Image de " + std::to_string(facts.width) + " \xC3\x97 " + std::to_string(facts.height) +
                      " pixels r\xC3\xA9" "duite \xC3\xA0 " + size + " pixels, la taille o\xC3\xB9 le lecteur l'affiche, en JPEG.";
    bytes->assign(fitted.jpeg.begin(), fitted.jpeg.end());
    *name = withJpegExtension(*name);
}

// A path of the folder as quiz.toml names its files ("media/q1.jpg"), each part a safe name, that
// leads to a regular file inside the folder. Empty when it does not.
std::filesystem::path fileInFolder(const std::filesystem::path& folder, const std::string& path) {
    std::filesystem::path joined = folder;
    std::size_t at = 0;
    while (true) {
        const std::size_t slash = path.find('/', at);
        const std::string part = path.substr(at, slash == std::string::npos ? std::string::npos : slash - at);
        if (!isSafeName(part)) return std::filesystem::path();
        joined /= nativePath(part);
        if (slash == std::string::npos) break;
        at = slash + 1;
    }
    std::filesystem::path resolved;
    std::string reason;
    std::error_code ec;
    if (!resolvedPath(joined, &resolved, &reason) || !isInsideFolder(folder, plainPath(resolved)) ||
        !std::filesystem::is_regular_file(resolved, ec))
        return std::filesystem::path();
    return plainPath(resolved);
}

const char* contentTypeOf(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    if (extension == "jpg" || extension == "jpeg") return "image/jpeg";
    if (extension == "gif") return "image/gif";
    if (extension == "png") return "image/png";
    if (extension == "bmp") return "image/bmp";
    if (extension == "mp3") return "audio/mpeg";
    if (extension == "avi") return "video/x-msvideo";
    if (extension == "html") return "text/html; charset=utf-8";
    return "application/octet-stream";
}

StudioResponse htmlMessage(const std::string& message) {
    StudioResponse response;
    response.contentType = "text/html; charset=utf-8";
    response.body = "<!DOCTYPE html><html lang=\"fr\"><meta charset=\"utf-8\"><title>Aper\xC3\xA7u</title>"
                    "<body style=\"font-family:sans-serif;color:#444;padding:1em\"><p>" + message + "</p></body></html>";
    return response;
}

// The folder of the quiz name and its quiz.toml as stored; false with the response that refuses it.
bool storedQuizNamed(const StudioState& state, const std::string& name, std::filesystem::path* folder,
                     StoredQuiz* stored, StudioResponse* refusal) {
    if (!quizFolderNamed(state, name, folder, refusal)) return false;
    std::string error;
    if (loadStoredQuiz(*folder, stored, &error)) return true;
    *refusal = errorResponse(500, error);
    return false;
}

}  // namespace

StudioResponse readQuiz(StudioState* state, const std::string& name) {
    std::filesystem::path folder;
    StoredQuiz stored;
    StudioResponse refusal;
    if (!storedQuizNamed(*state, name, &folder, &stored, &refusal)) return refusal;
    if (!stored.readable) {
        return jsonResponse(Json{{"name", name}, {"readable", false}, {"version", stored.version},
                                 {"problems", problemsJson(stored.diagnostics, {})}});
    }
    Json counts;
    const Json problems = checkedProblems(stored.quiz, folder, &counts);
    return jsonResponse(Json{{"name", name}, {"readable", true}, {"version", stored.version},
                             {"studioLayout", stored.studioLayout}, {"quiz", quizJson(stored.quiz)},
                             {"problems", problems}, {"counts", counts}});
}

StudioResponse saveQuiz(StudioState* state, const std::string& name, const StudioRequest& request) {
    std::filesystem::path folder;
    StudioResponse refusal;
    if (!quizFolderNamed(*state, name, &folder, &refusal)) return refusal;
    const Json form = Json::parse(request.body, nullptr, false);
    if (!form.is_object() || !form.contains("quiz") || !form["quiz"].is_object())
        return errorResponse(400, "Le quiz envoy\xC3\xA9 ne se lit pas.");
    const StudioQuiz quiz = quizOfJson(form["quiz"]);
    const bool force = form.contains("force") && form["force"].is_boolean() && form["force"].get<bool>();
    const SaveResult saved = saveStoredQuiz(folder, quiz, jsonText(form, "base"), force);
    if (saved.outcome == SaveOutcome::Conflict)
        return jsonResponse(Json{{"conflict", true}, {"version", saved.version}}, 409);
    if (saved.outcome == SaveOutcome::Failed)
        return errorResponse(500, "quiz.toml n'a pas \xC3\xA9t\xC3\xA9 enregistr\xC3\xA9 : " + saved.error);
    Json counts;
    const Json problems = checkedProblems(quiz, folder, &counts);
    return jsonResponse(Json{{"version", saved.version}, {"saved", saved.outcome == SaveOutcome::Saved},
                             {"backup", saved.backup}, {"problems", problems}, {"counts", counts}});
}

StudioResponse uploadMedia(StudioState* state, const std::string& name, const StudioRequest& request) {
    std::filesystem::path folder;
    StoredQuiz stored;
    StudioResponse refusal;
    if (!storedQuizNamed(*state, name, &folder, &stored, &refusal)) return refusal;
    QuizKind kind = QuizKind::Text;
    parseKindName(stored.quiz.kind, &kind);
    const bool picture = queryValue(request.query, "role") == "picture" || kind == QuizKind::Picture || kind == QuizKind::Text;
    const std::filesystem::path media = folder / MEDIA_FOLDER;
    std::error_code ec;
    const auto type = std::filesystem::symlink_status(media, ec).type();
    if (type == std::filesystem::file_type::not_found) std::filesystem::create_directory(media, ec);
    if (std::filesystem::symlink_status(media, ec).type() != std::filesystem::file_type::directory)
        return errorResponse(409, "media n'est pas un dossier du quiz.");
    if (mediaFolderBytes(media) + static_cast<int64_t>(request.body.size()) > MEDIA_TOTAL_MAX_BYTES)
        return errorResponse(413, "Les m\xC3\xA9" "dias du quiz d\xC3\xA9passeraient " + std::to_string(MEDIA_TOTAL_MAX_BYTES >> 20) +
                                      " Mo, ce qu'un programme de quiz peut porter.");
    std::string bytes = request.body, fileName = safeUploadName(queryValue(request.query, "name")), note;
    if (picture) fitUpload(&bytes, &fileName, backgroundOf(stored.quiz.background), &note);
    fileName = freeMediaName(media, fileName);
    if (fileName.empty()) return errorResponse(409, "Aucun nom libre dans media/.");
    const unsigned char* data = reinterpret_cast<const unsigned char*>(bytes.data());
    std::string error;
    if (!writeNewFile(media / fileName, "media/" + fileName, data, bytes.size(), &error))
        return errorResponse(500, "Fichier non enregistr\xC3\xA9 : " + error);
    // The file checked as check checks the media it names; refused with check's reason.
    // As check reads it: its folder resolved the way the media paths are.
    MediaSources sources{folder, std::filesystem::path(), MediaReading::FormatOnly};
    resolvedPath(folder, &sources.resolvedFolder, &error);
    SourceText field;
    field.given = true;
    field.value = std::string(MEDIA_FOLDER) + "/" + fileName;
    CheckedQuiz checked;
    Diagnostics diagnostics;
    checkMediaFile(&sources, field, "media", mediaRuleFor(picture ? QuizKind::Picture : kind), 1, &checked, &diagnostics);
    if (countErrors(diagnostics) > 0) {
        std::filesystem::remove(media / fileName, ec);
        std::string reasons;
        for (const Diagnostic& d : diagnostics)
            if (d.severity == Severity::Error) reasons += (reasons.empty() ? "" : " ") + d.message;
        return errorResponse(422, "Fichier refus\xC3\xA9 : " + reasons);
    }
    return jsonResponse(Json{{"path", field.value}, {"note", note}}, 201);
}

StudioResponse quizFile(StudioState* state, const std::string& name, const StudioRequest& request, bool download) {
    std::filesystem::path folder;
    StudioResponse refusal;
    if (!quizFolderNamed(*state, name, &folder, &refusal)) return refusal;
    const std::string path = queryValue(request.query, "path");
    // Downloads are the two builds only, beside quiz.toml.
    if (download && path != name + ".exe" && path != name + ".html") return errorResponse(403, "Fichier refus\xC3\xA9.");
    const std::filesystem::path file = fileInFolder(folder, path);
    if (file.empty()) return errorResponse(404, "Pas de tel fichier dans le dossier du quiz.");
    std::vector<unsigned char> bytes;
    std::string error;
    if (!readFileBytes(file, path, download ? MEDIA_TOTAL_MAX_BYTES + (64 << 20) : MEDIA_MAX_BYTES, "", &bytes, &error))
        return errorResponse(404, error);
    StudioResponse response;
    response.contentType = download ? "application/octet-stream" : contentTypeOf(path);
    response.body.assign(bytes.begin(), bytes.end());
    if (download) response.headers.push_back({"Content-Disposition", "attachment; filename=\"" + path + "\""});
    return response;
}

StudioResponse previewQuiz(StudioState* state, const std::string& name) {
    std::filesystem::path folder;
    StudioResponse refusal;
    if (!quizFolderNamed(*state, name, &folder, &refusal)) return refusal;
    std::string why;
    if (!quizPagesAvailable(&why)) return htmlMessage("Pas d'aper\xC3\xA7u : " + why + ".");
    CheckedQuiz quiz;
    Diagnostics diagnostics;
    if (!checkQuizFolder(folder, &quiz, &diagnostics, MediaReading::Whole)) {
        return htmlMessage("L'aper\xC3\xA7u revient d\xC3\xA8s que le quiz n'a plus d'erreur (" +
                           std::to_string(countErrors(diagnostics)) + " maintenant).");
    }
    StudioResponse response;
    response.contentType = "text/html; charset=utf-8";
    if (!quizPage(quiz, {}, "Trivo Studio", &response.body, &why)) return htmlMessage(why);
    return response;
}

StudioResponse buildQuiz(StudioState* state, const std::string& name, const StudioRequest& request) {
    std::filesystem::path folder;
    StudioResponse refusal;
    if (!quizFolderNamed(*state, name, &folder, &refusal)) return refusal;
    const std::string format = queryValue(request.query, "format");
    if (format != "exe" && format != "html") return errorResponse(400, "Format inconnu.");
    const std::string file = name + "." + format;
    std::istringstream in;
    std::ostringstream out, err;
    const int status = state->command({"build", utf8Path(folder), "-o", utf8Path(folder / nativePath(file))}, in, out, err);
    return jsonResponse(Json{{"ok", status == 0}, {"file", status == 0 ? file : std::string()},
                             {"messages", out.str() + err.str()}},
                        status == 0 ? 200 : 422);
}

StudioResponse playQuiz(StudioState* state, const std::string& name) {
    std::filesystem::path folder;
    StudioResponse refusal;
    if (!quizFolderNamed(*state, name, &folder, &refusal)) return refusal;
    if (state->trialRunning) {
        return errorResponse(409, "Un essai est d\xC3\xA9j\xC3\xA0 ouvert : fermez sa fen\xC3\xAAtre avant d'en ouvrir un autre.");
    }
    if (state->trial.joinable()) state->trial.join();  // the last one, ended
    // play waits until the program is closed: it runs beside the server, as it would in a terminal.
    // Ctrl-C meanwhile reaches play, which ends the program; the studio then stops as the line it
    // printed says.
    state->trialRunning = true;
    const std::string path = utf8Path(folder);
    state->trial = std::thread([state, path] {
        std::istringstream in;
        std::ostringstream out, err;
        const int status = state->command({"play", path}, in, out, err);
        if (wasInterrupted() && state->stop) state->stop();
        {
            std::lock_guard<std::mutex> hold(state->trialLock);
            state->trialStatus = status;
            state->trialMessages = out.str() + err.str();
        }
        state->trialRunning = false;
    });
    return jsonResponse(Json{{"started", true}}, 202);
}

StudioResponse trialState(StudioState* state) {
    const bool running = state->trialRunning;
    std::lock_guard<std::mutex> hold(state->trialLock);
    return jsonResponse(Json{{"running", running},
                             {"status", running ? 0 : state->trialStatus},
                             {"messages", running ? std::string() : state->trialMessages}});
}

void endTrial(StudioState* state) {
    // Again until play is done: an interruption that comes before play holds them is not seen.
    while (state->trialRunning) {
        interruptProgram();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (state->trial.joinable()) state->trial.join();
}
