// Checking a quiz folder against everything the player can hold and show, and turning it into the
// program's form on the way: code page 1252 texts, the packed resources and the media bytes.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/quiz_folder/diagnostics.h"
#include "tools/quiz_folder/quiz_content.h"
#include "tools/quiz_folder/quiz_toml.h"

// A media file the quiz program carries: IMG 400 + q (the question's media) or 10400 + q (its
// answer picture).
struct QuizMediaFile {
    int resourceId;
    std::string path;  // as written in quiz.toml
    std::vector<unsigned char> bytes;
};

struct CheckedQuiz {
    QuizContent content;
    std::vector<QuizMediaFile> media;          // in question order, each question's media first
    std::vector<std::filesystem::path> sources;  // the files read: quiz.toml, then the media, links resolved
    std::vector<unsigned char> packedContent;  // PATCH 104
    std::vector<unsigned char> packedCodes;    // PATCH 105
    std::vector<unsigned char> packedAnswers;  // PATCH 106; empty when the quiz carries none
};

// Media files above these are refused: Windows maps the whole program into the 2 GB of a 32-bit
// process, and the tool holds every file in memory while it builds.
constexpr int64_t MEDIA_MAX_BYTES = 64 * 1024 * 1024;         // one file
constexpr int64_t MEDIA_TOTAL_MAX_BYTES = 256 * 1024 * 1024;  // all of a quiz's files

// How much of each media file is read: what its format check needs (for check alone; the media
// then hold only their first bytes), all of it with the pictures made fit for the player
// (picture_fitting.h), to build the program, or all of it as the files hold it (what dump reads back).
enum class MediaReading { FormatOnly, Whole, AsStored };

// Checks folder/quiz.toml and the media it names: regular files inside the folder, links
// included. Every problem found goes into diagnostics; returns true when none of them is an error,
// *quiz then holds the whole quiz.
bool checkQuizFolder(const std::filesystem::path& folder, CheckedQuiz* quiz, Diagnostics* diagnostics,
                     MediaReading reading = MediaReading::Whole);

// The same for a manifest already read; media paths are taken relative to folder.
bool checkQuizSource(const QuizSource& source, const std::filesystem::path& folder, CheckedQuiz* quiz,
                     Diagnostics* diagnostics, MediaReading reading = MediaReading::Whole);
