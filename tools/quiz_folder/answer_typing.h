// Expected answers against what players will type. The player trims only what is typed, folds only
// a to z to capitals and compares everything else byte for byte, so an answer can ask for what no
// keyboard types directly, or for a case or spacing no player will guess.
#pragma once
#include <string>

#include "content/quiz.h"
#include "tools/quiz_folder/diagnostics.h"

// Checks answer (code page 1252, as the player holds it), named name in messages ("question 3:
// answer"), at line. A space at its start or end is an error: nothing typed can ever match it.
// Typographic characters and runs of spaces are warnings that name the form players type and the
// verdict the player's matcher gives it. Accented letters are told once: what each way of typing the
// answer gets, a warning while any of them is a capital, a note once all are in lower case; nothing
// when the quiz ignores accents, since every such typing is then right. Every warning advises the
// same form, so following one leaves no other.
void checkAnswerTyping(const std::string& answer, int line, const std::string& name, Diagnostics* diagnostics,
                       AccentRule accents = AccentRule::Exact);
