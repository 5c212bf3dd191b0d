// The starter folder of 'trivo-make new': a commented quiz.toml of the chosen kind with three
// questions, and the small media it names, which checks and builds as it is.
#pragma once
#include <vector>

#include "content/quiz.h"
#include "tools/support/files.h"

std::vector<FolderFile> starterFiles(QuizKind kind);

// A tiny uncompressed AVI film (32 x 24 pixels, 24-bit, four frames at two per second): a white
// square crossing a background of the given colour.
std::vector<unsigned char> starterFilm(unsigned char red, unsigned char green, unsigned char blue);
