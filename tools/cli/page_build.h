// build's other output: the quiz as one web page, its films converted first where ffmpeg is found.
#pragma once
#include <iosfwd>
#include <string>

#include "tools/quiz_folder/quiz_check.h"

// Writes the page of the checked quiz to output ("-" for standard output); notes about its films and
// any failure go to err, each line starting with prefix. *weight says what the page and its media
// weigh ("a page of 120 KB, its media 98 KB in base64"). False when nothing was written.
bool writeQuizPageFile(const std::string& prefix, const CheckedQuiz& quiz, const std::string& output,
                       std::ostream& out, std::ostream& err, std::string* weight);
