// A quiz folder's quiz.toml as the studio reads and saves it: every save atomic, none over a file
// that changed since the page read it unless the author chose so, and a file the studio did not
// write kept as quiz.toml.bak before the studio first writes over it.
#pragma once
#include <filesystem>
#include <map>
#include <string>

#include "tools/quiz_folder/diagnostics.h"
#include "tools/studio/studio_quiz.h"

// quiz.toml is read whole, within this: a quiz of 90 questions is some tens of kilobytes.
constexpr int64_t STUDIO_TOML_MAX_BYTES = 1024 * 1024;

struct StoredQuiz {
    std::string version;     // of the file's bytes; what the next save must start from
    bool studioLayout = false;  // the file begins with STUDIO_TOML_MARK
    bool readable = false;   // TOML at all; otherwise quiz holds nothing and diagnostics say why
    StudioQuiz quiz;
    Diagnostics diagnostics;  // of reading it as TOML only
};

// A short fingerprint of a file's bytes (FNV-1a, 64 bits, in hexadecimal).
std::string textVersion(const std::string& text);

// Reads folder/quiz.toml. False with *error when it cannot be read at all.
bool loadStoredQuiz(const std::filesystem::path& folder, StoredQuiz* stored, std::string* error);

enum class SaveOutcome { Saved, Unchanged, Conflict, Failed };

struct SaveResult {
    SaveOutcome outcome = SaveOutcome::Failed;
    std::string version;             // of the file now on disk (after the save, or the other one)
    std::string backup;              // the name a file of someone else's was kept under; empty: none
    std::string error;               // for Failed
    std::map<int, std::string> fields;  // each line's field in the file written (studioToml)
};

// Writes the quiz in the studio's layout over folder/quiz.toml, when the file on disk is still the
// one of baseVersion (or force). The old file, when the studio did not write it, is first copied to
// quiz.toml.bak (or .bak2, .bak3 ...: an earlier copy is never replaced).
SaveResult saveStoredQuiz(const std::filesystem::path& folder, const StudioQuiz& quiz, const std::string& baseVersion,
                          bool force);

