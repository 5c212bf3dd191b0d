// Counting and quoting in messages.
#include "tools/support/text.h"

#include <algorithm>
#include <cstddef>

#include "tools/support/cp1252.h"
#include "tools/support/translation.h"

std::string quotedText(const std::string& text, char quote) {
    // TRANSLATORS: a file, a command or a key named in a message; French writes « {1} ».
    if (quote == '\'') return fillIn(tr("'{1}'"), printable(text));
    return quote + printable(text) + quote;
}

namespace {

// Optimal string alignment distance (edits plus swaps of neighbours), ASCII case ignored.
std::size_t editDistance(const std::string& a, const std::string& b) {
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t cost = lower(a[i - 1]) == lower(b[j - 1]) ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && lower(a[i - 1]) == lower(b[j - 2]) && lower(a[i - 2]) == lower(b[j - 1]))
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[a.size()][b.size()];
}

}  // namespace

std::string forwardSlashes(const std::string& path) {
    std::string result;
    for (char c : path) {
        if (c != '\\') result.push_back(c);
        else if (result.empty() || result.back() != '/') result.push_back('/');
    }
    return result;
}

std::string closestName(const std::string& word, const std::vector<std::string>& names) {
    // Names are short; a long word from a stranger is not worth a table.
    if (word.empty() || word.size() > 64) return "";
    std::string best;
    std::size_t bestDistance = 3;
    for (const std::string& name : names) {
        const std::size_t distance = editDistance(word, name);
        if (distance < bestDistance && 2 * distance < word.size()) {
            best = name;
            bestDistance = distance;
        }
    }
    return best;
}

std::vector<std::string> lastLines(const std::string& text, std::size_t count) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
        start = end + 1;
    }
    if (lines.size() > count) lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(count));
    return lines;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
