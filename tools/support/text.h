// Small text helpers for trivo-make's messages.
#pragma once
#include <cstdint>
#include <string>

// "1 question", "3 questions": the count, then the noun with an s unless the count is 1.
std::string plural(int64_t count, const std::string& noun);

// 'text' between quote marks (a file, a command, a key), or "text" with quote '"' (a value as
// quiz.toml writes it), made printable: the text may come from anyone.
std::string quotedText(const std::string& text, char quote = '\'');
