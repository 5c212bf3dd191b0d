// Trivo's own Wine prefixes, one for 32-bit and one for 64-bit programs, made once under the user's
// cache folder ($XDG_CACHE_HOME/trivo, else ~/.cache/trivo) and set up as the project's scripts set
// theirs: Wine's own fonts in the prefix and MS Sans Serif for "MS Shell Dlg", without which the
// header's labels come out cut, and no crash dialog. Not on Windows.
#pragma once
#include <filesystem>
#include <iosfwd>
#include <string>

// The prefix programs of this kind run in: WINEPREFIX when the user names one, else Trivo's own.
std::filesystem::path winePrefixFor(bool is64Bit);

// Makes Trivo's own prefix for programs of this kind unless it is ready, saying so on err first (it
// takes some 20 s, once); a prefix the user names is used as it is. False with *why.
bool prepareWinePrefix(bool is64Bit, std::ostream& err, std::string* why);
