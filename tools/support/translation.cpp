// The placeholders of translated messages and the language the environment asks for: the same on
// every platform.
#include "tools/support/translation.h"

#include <cerrno>
#include <cstring>

std::string fillPattern(const char* pattern, const std::vector<std::string>& values) {
    std::string text;
    for (const char* p = pattern; *p; ++p) {
        const std::size_t place = p[0] == '{' && p[1] >= '1' && p[1] <= '9' && p[2] == '}' ? p[1] - '1' : values.size();
        if (place < values.size()) {
            text += values[place];
            p += 2;
        } else {
            text += *p;
        }
    }
    return text;
}

std::string systemMessage(int code) {
    switch (code) {
        case ENOENT: return tr("No such file or directory");
        case EACCES: return tr("Permission denied");
        case EEXIST: return tr("File exists");
        case ENOTDIR: return tr("Not a directory");
        case EISDIR: return tr("Is a directory");
        case ENOSPC: return tr("No space left on device");
        case EROFS: return tr("Read-only file system");
        case ELOOP: return tr("Too many levels of symbolic links");
        case ENAMETOOLONG: return tr("File name too long");
        case ENOTEMPTY: return tr("Directory not empty");
        default: return std::strerror(code);
    }
}

std::string systemMessage(const std::error_code& code) {
#ifdef _WIN32
    // Windows' own codes for the same failures (winerror.h), said as on every platform.
    if (code.category() != std::generic_category()) {
        switch (code.value()) {
            case 2: case 3: return systemMessage(ENOENT);  // file, path not found
            case 5: return systemMessage(EACCES);
            case 80: case 183: return systemMessage(EEXIST);
            case 112: return systemMessage(ENOSPC);
            case 145: return systemMessage(ENOTEMPTY);
            case 206: return systemMessage(ENAMETOOLONG);
            case 267: return systemMessage(ENOTDIR);
            default: return code.message();
        }
    }
#endif
    return systemMessage(code.value());
}

namespace {

// "fr_BE.UTF-8@euro" is asked as fr_BE, then fr; "C", "POSIX" and "C.UTF-8" ask for none.
void addLocale(const std::string& locale, std::vector<std::string>* languages) {
    const std::string name = locale.substr(0, locale.find_first_of(".@"));
    if (name.empty() || name == "C" || name == "POSIX") return;
    languages->push_back(name);
    const std::size_t territory = name.find('_');
    if (territory != std::string::npos) languages->push_back(name.substr(0, territory));
}

}  // namespace

std::vector<std::string> wantedLanguages(const char* (*getValue)(const char* name)) {
    std::string locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = getValue(name);
        if (value && *value) {
            locale = value;
            break;
        }
    }
    std::vector<std::string> languages;
    const std::string plain = locale.substr(0, locale.find_first_of(".@"));
    if (plain == "C" || plain == "POSIX") return languages;  // LANGUAGE is not read then, as gettext does
    const char* list = getValue("LANGUAGE");
    for (std::string rest = list ? list : ""; !rest.empty();) {
        const std::size_t colon = rest.find(':');
        addLocale(rest.substr(0, colon), &languages);
        rest = colon == std::string::npos ? std::string() : rest.substr(colon + 1);
    }
    addLocale(locale, &languages);
    return languages;
}
