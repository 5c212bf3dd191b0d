// Safe names for what the browser names.
#include "tools/studio/safe_names.h"

#include <cctype>

#include "tools/support/text.h"

namespace {

bool isReservedOnWindows(const std::string& name) {
    std::string stem = name.substr(0, name.find('.'));
    for (char& c : stem) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL") return true;
    return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
           stem[3] >= '1' && stem[3] <= '9';
}

}  // namespace

bool isSafeName(const std::string& name) {
    if (name.empty() || name.size() > 80 || name[0] == '.' || name.back() == '.' || name.back() == ' ') return false;
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7F) return false;
        switch (c) {
        case '/': case '\\': case ':': case '*': case '?': case '"': case '<': case '>': case '|': return false;
        default: break;
        }
    }
    return !isReservedOnWindows(name);
}

std::string safeUploadName(const std::string& given) {
    const std::size_t slash = given.find_last_of("/\\");
    const std::string last = slash == std::string::npos ? given : given.substr(slash + 1);
    const std::size_t dot = last.find_last_of('.');
    std::string stem = dot == std::string::npos ? last : last.substr(0, dot);
    std::string extension = dot == std::string::npos ? std::string() : last.substr(dot + 1);
    std::string kept;
    for (unsigned char c : stem) {
        const bool plain = std::isalnum(c) || c == '_' || c == '-';
        if (plain && c < 0x80) {
            kept.push_back(static_cast<char>(c));
        } else if (!kept.empty() && kept.back() != '-') {
            kept.push_back('-');
        }
    }
    while (!kept.empty() && (kept.back() == '-' || kept.front() == '-')) {
        if (kept.back() == '-') kept.pop_back();
        if (!kept.empty() && kept.front() == '-') kept.erase(0, 1);
    }
    if (kept.size() > 60) kept.resize(60);
    std::string suffix;
    for (unsigned char c : extension) {
        if (c < 0x80 && std::isalnum(c) && suffix.size() < 8) suffix.push_back(static_cast<char>(std::tolower(c)));
    }
    if (kept.empty()) kept = "fichier";
    std::string name = suffix.empty() ? kept : kept + "." + suffix;
    if (isReservedOnWindows(name)) name = "fichier-" + name;
    return name;
}

bool percentDecoded(const std::string& text, std::string* decoded) {
    decoded->clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            decoded->push_back(text[i]);
            continue;
        }
        if (i + 2 >= text.size()) return false;
        const int high = hexDigit(text[i + 1]), low = hexDigit(text[i + 2]);
        if (high < 0 || low < 0 || (high == 0 && low == 0)) return false;
        decoded->push_back(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return true;
}
