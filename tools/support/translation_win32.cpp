// Translation on Windows: the catalogue carried inside the program, chosen by LANGUAGE, LC_ALL,
// LC_MESSAGES or LANG when one is set, else by the user's interface language.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "tools/support/embedded_catalogues.h"
#include "tools/support/mo_catalogue.h"
#include "tools/support/translation.h"

namespace {

MoCatalogue g_catalogue;  // empty until startTranslation finds one: every message stays English

const char* environmentValue(const char* name) { return std::getenv(name); }

// "fr" for a French Windows, as the .po files are named.
std::string interfaceLanguage() {
    const LANGID language = GetUserDefaultUILanguage();
    char iso[16];
    if (GetLocaleInfoA(MAKELCID(language, SORT_DEFAULT), LOCALE_SISO639LANGNAME, iso, sizeof iso) == 0)
        return std::string();
    return iso;
}

}  // namespace

const char* tr(const char* message) {
    const char* translated = g_catalogue.bytes ? moTranslation(g_catalogue, message) : nullptr;
    return translated ? translated : message;
}

const char* ntr(const char* singular, const char* plural, uint64_t count) {
    const char* translated = g_catalogue.bytes ? moPluralTranslation(g_catalogue, singular, count) : nullptr;
    return translated ? translated : count == 1 ? singular : plural;
}

void useLanguage(const char* language) {
    for (std::size_t i = 0; i < EMBEDDED_CATALOGUE_COUNT; ++i) {
        if (std::string(language) == EMBEDDED_CATALOGUES[i].language)
            openMoCatalogue(EMBEDDED_CATALOGUES[i].bytes, EMBEDDED_CATALOGUES[i].size, &g_catalogue);
    }
}

void startTranslation(const std::string&) {
    std::vector<std::string> languages = wantedLanguages(environmentValue);
    const char* locale = nullptr;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (!locale && environmentValue(name) && *environmentValue(name)) locale = environmentValue(name);
    }
    if (!locale && languages.empty()) languages.push_back(interfaceLanguage());
    for (const std::string& language : languages) {
        for (std::size_t i = 0; i < EMBEDDED_CATALOGUE_COUNT; ++i) {
            const EmbeddedCatalogue& c = EMBEDDED_CATALOGUES[i];
            if (language == c.language) {
                openMoCatalogue(c.bytes, c.size, &g_catalogue);
                return;
            }
        }
    }
}
