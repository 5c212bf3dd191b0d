// Translation through GNU gettext (libintl is part of glibc), with the catalogues found from the
// program's place.
#include <libintl.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "tools/support/translation.h"

namespace {

const char* const DOMAIN_NAME = "trivo-make";

const char* environmentValue(const char* name) { return std::getenv(name); }

}  // namespace

const char* tr(const char* message) { return dgettext(DOMAIN_NAME, message); }

const char* ntr(const char* singular, const char* plural, uint64_t count) {
    return dngettext(DOMAIN_NAME, singular, plural, static_cast<unsigned long>(count));
}

void useLanguage(const char* language) {
    // gettext reads LANGUAGE under any locale but C; setting the locale again drops what it cached.
    setenv("LANGUAGE", language, 1);
    const char* set = std::setlocale(LC_MESSAGES, nullptr);
    const std::string current = set ? set : "C";
    std::setlocale(LC_MESSAGES, current == "C" || current == "POSIX" ? "C.UTF-8" : current.c_str());
}

void startTranslation(const std::string& programPath) {
    const std::filesystem::path program(programPath);
    if (!program.empty()) {  // else gettext's own place
        const std::filesystem::path folder = program.parent_path();
        std::error_code ec;
        const std::filesystem::path catalogues = std::filesystem::is_regular_file(folder / "CMakeCache.txt", ec)
                                                     ? folder / "share" / "locale"
                                                     : (folder / ".." / "share" / "locale").lexically_normal();
        bindtextdomain(DOMAIN_NAME, catalogues.string().c_str());
    }
    // Every text trivo-make writes is UTF-8, whatever the locale's own character set.
    bind_textdomain_codeset(DOMAIN_NAME, "UTF-8");
    // Only the messages follow the locale: numbers and texts written into files stay as they are.
    if (!std::setlocale(LC_MESSAGES, "")) {
        // The locale is not generated on this machine (a fresh one has C and C.UTF-8 only), which
        // would leave gettext in English: the language asked for is then given to it directly, under
        // a locale that is not C, the one under which gettext reads LANGUAGE.
        std::string languages;
        for (const std::string& language : wantedLanguages(environmentValue))
            languages += (languages.empty() ? "" : ":") + language;
        if (languages.empty() || !std::setlocale(LC_MESSAGES, "C.UTF-8")) return;
        setenv("LANGUAGE", languages.c_str(), 1);
    }
}
