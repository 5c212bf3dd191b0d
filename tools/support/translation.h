// trivo-make's messages in the user's language. Each message is written whole, in English, with its
// values as numbered places ({1}, {2}, ...), so that a translator can reorder them; xgettext finds
// the messages by the marks below (po/CMakeLists.txt names them), and po/LANG.po translates them.
// GNU gettext reads the catalogues on Linux; on Windows they are carried inside the program.
#pragma once
#include <cstdint>
#include <string>
#include <system_error>
#include <type_traits>
#include <vector>

// The message in the user's language, or the message itself when it has no translation.
const char* tr(const char* message);
// The form of a message about count things: ntr("{1} error", "{1} errors", n).
const char* ntr(const char* singular, const char* plural, uint64_t count);
// Marks a message held in a table, translated with tr() where it is shown.
#define N_(message) message

// pattern with each {N} replaced by the Nth value (from 1); a place without a value stays as it is.
std::string fillPattern(const char* pattern, const std::vector<std::string>& values);
inline std::string fillText(const std::string& value) { return value; }
inline std::string fillText(const char* value) { return value; }
template <class Number, class = std::enable_if_t<std::is_integral<Number>::value>>
std::string fillText(Number value) { return std::to_string(value); }
// fillIn(tr("{1} is not a folder"), name): a message with its values in their places.
template <class... Values>
std::string fillIn(const char* pattern, const Values&... values) {
    return fillPattern(pattern, {fillText(values)...});
}

// The system's message for an errno value in the user's language: the common ones are translated
// here (their English is glibc's), since the system's own translations may not be installed.
std::string systemMessage(int code);
// The same for an error code of the standard library or, on Windows, of the system (its common
// codes said as errno's, the others in the system's words).
std::string systemMessage(const std::error_code& code);

// Chooses the language, the way GNU programs do: LANGUAGE (a list, "fr:en"), unless LC_ALL,
// LC_MESSAGES or LANG, the first one set, says C or POSIX; then that locale's language ("fr_BE.UTF-8"
// is fr_BE, then fr). On Windows, without any of them, the user's interface language. program, the
// running program's path (the system's name for it), says where the catalogues are: share/locale/ beside a program at the top
// of a build tree (CMakeCache.txt beside it), else ../share/locale/ from it, as the packages install
// them. Nothing is translated before this is called, nor when no catalogue of the language exists.
void startTranslation(const std::string& program);

// From now on, messages in language ("fr") whatever the user's, where its catalogue is found: for a
// part of the tool whose own pages speak that language (the studio).
void useLanguage(const char* language);

// The languages the environment asks for, most wanted first ("fr_BE", "fr"); empty for English, or
// for C and POSIX. getValue reads one variable (nullptr: not set).
std::vector<std::string> wantedLanguages(const char* (*getValue)(const char* name));
