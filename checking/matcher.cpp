// The answer matcher: normalises the typed and expected answers and walks the verdict ladder.
#include "checking/matcher.h"

#include <cstdint>
#include <cstring>

#include "content/quiz_format.h"

const char* const VERDICT_UNJUDGED = "?";
const char* const VERDICT_RIGHT = "BRAVO";
const char* const VERDICT_ANAGRAM = "Anagramme";
const char* const VERDICT_ONE_EDIT = "Quasiment";
const char* const VERDICT_TWO_EDITS = "Presque";
const char* const VERDICT_TOO_LONG = "Trop long";
const char* const VERDICT_TOO_SHORT = "Trop court";
const char* const VERDICT_NEARLY_HALF = "pas loin";
const char* const VERDICT_SIMILAR = "yade lid\xE9" "e";
const char* const VERDICT_WRONG = "FAUX";

namespace {

// Answers live in text slots: anything longer is judged on its first TEXT_MAX_LENGTH bytes.
// Length of a text as the matcher sees it: null is empty, and the count stops at TEXT_MAX_LENGTH.
int boundedLength(const char* text) {
    if (text == nullptr) return 0;
    int n = 0;
    while (n < TEXT_MAX_LENGTH && text[n] != '\0') ++n;
    return n;
}

void copyBounded(char* buffer, const char* text) {
    int n = boundedLength(text);
    if (n > 0) std::memcpy(buffer, text, static_cast<size_t>(n));
    buffer[n] = '\0';
}

}  // namespace

void trimSpaces(char* text) {
    if (text == nullptr) return;
    int len = static_cast<int>(std::strlen(text));
    // Trailing run first; the walk stops at index 1, so an all-space text keeps one leading space
    // for the second step to remove.
    for (int i = len - 1; i >= 1 && text[i] == ' '; --i) {
        text[i] = '\0';
        len = i;
    }
    int lead = 0;
    while (text[lead] == ' ') ++lead;
    if (lead > 0) std::memmove(text, text + lead, static_cast<size_t>(len - lead + 1));
}

void upperAscii(char* text) {
    if (text == nullptr) return;
    // Only a-z fold: accented letters of code page 1252 keep their case and stay distinct.
    for (char* p = text; *p != '\0'; ++p) {
        if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 0x20);
    }
}

void sortLetters(char* text) {
    if (text == nullptr) return;
    // Insertion sort on unsigned byte values; only the identity of two sorted texts matters.
    for (int i = 1; text[i - 1] != '\0' && text[i] != '\0'; ++i) {
        unsigned char key = static_cast<unsigned char>(text[i]);
        int j = i;
        while (j > 0 && static_cast<unsigned char>(text[j - 1]) > key) {
            text[j] = text[j - 1];
            --j;
        }
        text[j] = static_cast<char>(key);
    }
}

int editDistance(const char* a, const char* b) {
    const int lenA = boundedLength(a);
    const int lenB = boundedLength(b);
    if (lenA == 0) return lenB;
    if (lenB == 0) return lenA;
    // Two rolling rows of the (lenA + 1) x (lenB + 1) table; rows run over a, columns over b.
    int32_t rows[2][TEXT_SLOT_SIZE];
    int32_t* prev = rows[0];
    int32_t* cur = rows[1];
    for (int j = 0; j <= lenB; ++j) prev[j] = j;
    for (int i = 1; i <= lenA; ++i) {
        cur[0] = i;
        for (int j = 1; j <= lenB; ++j) {
            int32_t best = prev[j] + 1;
            if (cur[j - 1] + 1 < best) best = cur[j - 1] + 1;
            int32_t diagonal = prev[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            if (diagonal < best) best = diagonal;
            cur[j] = best;
        }
        int32_t* swap = prev;
        prev = cur;
        cur = swap;
    }
    return prev[lenB];
}

int containment(const char* expected, const char* typed) {
    const int lenE = boundedLength(expected);
    const int lenT = boundedLength(typed);
    const char* s = expected;
    const char* t = typed;
    int n = lenE;
    int m = lenT;
    int sign = 1;
    if (lenT < lenE) {
        s = typed;
        t = expected;
        n = lenT;
        m = lenE;
        sign = -1;
    }
    if (n == 0) return sign;
    // Single forward scan: after a partial match the scan resumes at the byte that differed, never
    // earlier, so a start inside the matched part is not retried (ABAC is missed in ABABACX).
    // Verdicts given to stored answers depend on this.
    int i = 0;
    while (i < m) {
        while (i < m && t[i] != s[0]) ++i;
        if (i >= m) break;
        int k = 0;
        while (k < n && i < m && s[k] == t[i]) {
            ++k;
            ++i;
        }
        if (k == n) return 2 * sign;
    }
    return 0;
}

const char* matchAnswer(const char* expected, const char* typed) {
    char e[TEXT_SLOT_SIZE];
    char t[TEXT_SLOT_SIZE];
    copyBounded(e, expected);
    copyBounded(t, typed);
    // Only the typed answer is trimmed: an expected answer stored with a trailing space never
    // matches exactly, as in existing quizzes.
    trimSpaces(t);
    upperAscii(t);
    upperAscii(e);

    if (t[0] == '\0') return VERDICT_UNJUDGED;
    const int d = editDistance(e, t);
    if (d == 0) return VERDICT_RIGHT;

    // Before the distance rungs, so two swapped letters read as an anagram rather than two slips.
    char sortedE[TEXT_SLOT_SIZE];
    char sortedT[TEXT_SLOT_SIZE];
    std::memcpy(sortedE, e, sizeof e);
    std::memcpy(sortedT, t, sizeof t);
    sortLetters(sortedE);
    sortLetters(sortedT);
    if (std::strcmp(sortedE, sortedT) == 0) return VERDICT_ANAGRAM;

    if (d == 1) return VERDICT_ONE_EDIT;
    if (d == 2) return VERDICT_TWO_EDITS;

    const int lenE = static_cast<int>(std::strlen(e));
    const int lenT = static_cast<int>(std::strlen(t));
    const int c = containment(e, t);
    if (c == -2) {
        // A piece of the expected answer: judged by how much of it was typed, never by similarity.
        // Strict ratio tests in integers: more than 70 %, then more than 50 %.
        if (lenE <= 9) return VERDICT_WRONG;
        if (10 * lenT > 7 * lenE) return VERDICT_TOO_SHORT;
        if (2 * lenT > lenE) return VERDICT_NEARLY_HALF;
        return VERDICT_WRONG;
    }
    if (c == 2) return VERDICT_TOO_LONG;

    // More than 80 % alike over the longer length.
    const int longer = lenT < lenE ? lenE : lenT;
    if (5 * d < longer) return VERDICT_SIMILAR;
    return VERDICT_WRONG;
}
