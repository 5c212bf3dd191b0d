// Reading and saving a quiz folder's quiz.toml for the studio.
#include "tools/studio/quiz_store.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <vector>

#include "tools/quiz_folder/quiz_toml.h"
#include "tools/support/files.h"
#include "tools/support/translation.h"

namespace {

bool readToml(const std::filesystem::path& folder, std::string* text, std::string* error) {
    std::vector<unsigned char> bytes;
    if (!readFileBytes(folder / QUIZ_TOML_NAME, QUIZ_TOML_NAME, STUDIO_TOML_MAX_BYTES, "", &bytes, error)) return false;
    text->assign(bytes.begin(), bytes.end());
    return true;
}

bool startsWithMark(const std::string& text) {
    return text.compare(0, std::strlen(STUDIO_TOML_MARK), STUDIO_TOML_MARK) == 0;
}

// Copies text to the first free name of quiz.toml.bak, quiz.toml.bak2, ...; *name: the one taken.
bool keepBackup(const std::filesystem::path& folder, const std::string& text, std::string* name, std::string* error) {
    for (int n = 1; n <= 99; ++n) {
        const std::string candidate = std::string(QUIZ_TOML_NAME) + ".bak" + (n == 1 ? "" : std::to_string(n));
        std::error_code ec;
        if (std::filesystem::symlink_status(folder / candidate, ec).type() != std::filesystem::file_type::not_found)
            continue;
        if (!writeNewFile(folder / candidate, candidate, reinterpret_cast<const unsigned char*>(text.data()), text.size(), error))
            return false;
        *name = candidate;
        return true;
    }
    *error = tr("quiz.toml.bak to quiz.toml.bak99 all exist");
    return false;
}

}  // namespace

std::string textVersion(const std::string& text) {
    uint64_t hash = 1469598103934665603ULL;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ULL;
    }
    char out[17];
    std::snprintf(out, sizeof out, "%016llx", static_cast<unsigned long long>(hash));
    return out;
}

bool loadStoredQuiz(const std::filesystem::path& folder, StoredQuiz* stored, std::string* error) {
    std::string text;
    if (!readToml(folder, &text, error)) return false;
    *stored = StoredQuiz();
    stored->version = textVersion(text);
    stored->studioLayout = startsWithMark(text);
    stored->readable = readStudioQuiz(text, &stored->quiz, &stored->diagnostics);
    return true;
}

SaveResult saveStoredQuiz(const std::filesystem::path& folder, const StudioQuiz& quiz, const std::string& baseVersion,
                          bool force) {
    SaveResult result;
    std::string current;
    if (!readToml(folder, &current, &result.error)) return result;
    result.version = textVersion(current);
    if (result.version != baseVersion && !force) {
        result.outcome = SaveOutcome::Conflict;
        return result;
    }
    const std::string text = studioToml(quiz, &result.fields);
    if (text == current) {
        result.outcome = SaveOutcome::Unchanged;
        return result;
    }
    if (!startsWithMark(current) && !keepBackup(folder, current, &result.backup, &result.error)) return result;
    const std::filesystem::path path = folder / QUIZ_TOML_NAME;
    if (!writeFileReplacing(path, QUIZ_TOML_NAME, reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                            &result.error)) {
        return result;
    }
    result.outcome = SaveOutcome::Saved;
    result.version = textVersion(text);
    return result;
}

