// Small text helpers for trivo-make's messages.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// 'text' between the quote marks of the user's language (a file, a command, a key: « text » in
// French), or "text" with quote '"' (a value as quiz.toml writes it, in any language), made
// printable: the text may come from anyone.
std::string quotedText(const std::string& text, char quote = '\'');

// The value of a hexadecimal digit, either case; -1 for any other character.
int hexDigit(char c);

// The last count lines of text that are not empty, without their line ends (\n or \r\n), oldest first:
// what a program said last in its output.
std::vector<std::string> lastLines(const std::string& text, std::size_t count);

// A path written the Windows way (media\q1.jpg) written with "/": each run of backslashes made one.
std::string forwardSlashes(const std::string& path);

// The name of names closest to word, for a "did you mean ...?" hint: within two edits (a letter
// added, removed or replaced, or two neighbours swapped), ignoring ASCII case, and closer than half
// the word's length; empty when none is that close. Ties go to the earlier name.
std::string closestName(const std::string& word, const std::vector<std::string>& names);
