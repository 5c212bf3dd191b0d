// Counting and quoting in messages.
#include "tools/support/text.h"

#include "tools/support/cp1252.h"

std::string plural(int64_t count, const std::string& noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string quotedText(const std::string& text, char quote) {
    return quote + printable(text) + quote;
}
