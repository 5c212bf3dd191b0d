// The platform seam for the console tool: no resources of its own, messages on standard error.
#include <cstdio>
#include <string>

#include "content/platform.h"
#include "tools/support/cp1252.h"

namespace {

// The portable code's texts are code page 1252; the console expects UTF-8. A byte the code page
// leaves undefined is shown by its value rather than dropped.
std::string consoleText(const char* cp1252) {
    std::string utf8;
    for (const char* p = cp1252; *p; ++p) {
        const TextConversion one = cp1252ToUtf8(std::string(1, *p));
        if (one.ok) {
            utf8 += one.text;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X",
                          static_cast<unsigned>(static_cast<unsigned char>(*p)));
            utf8 += escaped;
        }
    }
    return utf8;
}

}  // namespace

ResourceData platformResource(const char*, int) { return ResourceData{false, nullptr, 0}; }

void platformMessageBox(const char* text, const char* caption) {
    std::fprintf(stderr, "%s: %s\n", consoleText(caption ? caption : "").c_str(),
                 consoleText(text ? text : "").c_str());
}

// The tool draws nothing.
BrushHandle platformSolidBrush(uint32_t) { return nullptr; }
