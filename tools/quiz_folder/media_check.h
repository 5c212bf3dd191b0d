// Checking the media files a quiz.toml names: inside the folder, within the limits, of the format
// its kind asks for, and pictures that decode whole at a sensible size.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>

#include "content/quiz.h"
#include "tools/quiz_folder/diagnostics.h"
#include "tools/quiz_folder/media_format.h"
#include "tools/quiz_folder/quiz_check.h"
#include "tools/quiz_folder/quiz_toml.h"

// What a question's media must be in a quiz of this kind.
struct MediaRule {
    const char* description;  // "a JPEG, GIF, PNG or BMP picture", with how the format is told when that helps
    const char* shortName;    // "an MP3 sound"
    MediaKind kind;
    MediaFormat first, second;
};

MediaRule mediaRuleFor(QuizKind kind);

// Whether path (links resolved) lies inside folder (links resolved), below it: a media file from
// anywhere else would put the user's own files into the program the user then shares.
bool isInsideFolder(const std::filesystem::path& folder, const std::filesystem::path& path);

// Where the media are read from and how much of them, and what they add up to so far.
struct MediaSources {
    std::filesystem::path folder;          // as given
    std::filesystem::path resolvedFolder;  // with every link resolved; empty when it cannot be
    MediaReading reading;
    int64_t total = 0;
    bool overTotal = false;  // once over the limit, no more media are read
};

// Reads one media file named by the manifest (field, named name in messages) and checks it; adds it
// to the quiz as resource resourceId when it may be carried.
void checkMediaFile(MediaSources* sources, const SourceText& field, const std::string& name, const MediaRule& rule,
                    int resourceId, CheckedQuiz* quiz, Diagnostics* diagnostics);
