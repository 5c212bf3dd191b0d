// Putting a checked quiz into a copy of the player: its resources PATCH 104 and 105 (the packed
// content and score codes), PATCH 106 (the accepted answers, when it has them) and IMG 400 + q and
// 10400 + q (the media), in place of any quiz the player file already carries.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "content/quiz_format.h"
#include "tools/pe/pe_resources.h"
#include "tools/quiz_folder/quiz_check.h"

// Every PATCH and IMG resource belongs to the quiz a program carries.
bool isQuizResource(const ResourceEntry& entry);

// The quiz's resources, all in one language.
std::vector<ResourceEntry> quizResources(const CheckedQuiz& quiz, uint16_t language);

// The program image: the player's own resources (dialog, icons, cursor, ...) kept, every quiz
// resource it had dropped, the quiz's added. False with *error when the player is not a Windows
// program or cannot take the resources.
bool buildQuizProgram(const std::vector<uint8_t>& player, const CheckedQuiz& quiz,
                      std::vector<uint8_t>* program, std::string* error);

// The quiz a quiz program carries, every quiz resource as it is, put into another player (the 64-bit
// one where 32-bit programs do not run). False with *error when the program carries no quiz.
bool moveQuizProgram(const std::vector<uint8_t>& player, const std::vector<uint8_t>& quizProgram,
                     std::vector<uint8_t>* program, std::string* error);
