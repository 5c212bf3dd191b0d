// The quiz as one web page: the packed resources a quiz program carries, its media,
// and the page's module, script and style sheet (page_files.h), in one HTML file that fetches
// nothing. The quiz's texts are not written into the HTML at all: the page's module reads them from
// the packed content, and the script shows them as text.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tools/quiz_folder/quiz_check.h"

// Whether this trivo-make can write pages; false with *why when it was built without them.
bool quizPagesAvailable(std::string* why);

// The page of a checked quiz. films holds the converted film of each question whose film was
// converted, by its media resource number; any other film is carried as it is, and the page links it.
// generator names the tool in the page. False with *error when the page's files are damaged.
bool quizPage(const CheckedQuiz& quiz, const std::map<int, std::vector<unsigned char>>& films,
              const std::string& generator, std::string* page, std::string* error);

// What the page's media weigh as base64, the form the page carries them in.
int64_t pageMediaBase64Size(const CheckedQuiz& quiz, const std::map<int, std::vector<unsigned char>>& films);
