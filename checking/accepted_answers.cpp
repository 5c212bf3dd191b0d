// Several accepted answers and accents ignored, on top of the matcher.
#include "checking/accepted_answers.h"

#include <cstring>

#include "checking/matcher.h"
#include "checking/score.h"

namespace {

// Bytes 0xC0 to 0xFF without their accents, as capitals; null for the two signs among them.
const char* const LATIN_LETTERS[64] = {
    "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I",  "I",  "I", "I",   // À to Ï
    "D", "N", "O", "O", "O", "O", "O",  nullptr, "O", "U", "U", "U", "U", "Y", "TH", "SS",  // Ð to ß
    "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I",  "I",  "I", "I",   // à to ï
    "D", "N", "O", "O", "O", "O", "O",  nullptr, "O", "U", "U", "U", "U", "Y", "TH", "Y",   // ð to ÿ
};

// The folded form of one byte, or null when it stays as it is.
const char* foldedLetter(unsigned char byte) {
    switch (byte) {
        case 0x83: return "F";                // ƒ
        case 0x8A: case 0x9A: return "S";     // Š š
        case 0x8C: case 0x9C: return "OE";    // Œ œ
        case 0x8E: case 0x9E: return "Z";     // Ž ž
        case 0x9F: return "Y";                // Ÿ
        default: break;
    }
    if (byte >= 0xC0) return LATIN_LETTERS[byte - 0xC0];
    return nullptr;
}

int slotIndex(int slot) { return slot == 2 ? 1 : 0; }

}  // namespace

void foldAccents(const char* text, char* out, int size) {
    if (size <= 0) return;
    int n = 0;
    for (int i = 0; text != nullptr && i < TEXT_MAX_LENGTH && text[i] != '\0'; ++i) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        const char* letter = foldedLetter(byte);
        char single[2] = {static_cast<char>(byte >= 'a' && byte <= 'z' ? byte - 0x20 : byte), '\0'};
        if (letter == nullptr) letter = single;
        const int length = static_cast<int>(std::strlen(letter));
        if (n + length > size - 1) break;
        std::memcpy(out + n, letter, static_cast<size_t>(length));
        n += length;
    }
    out[n] = '\0';
}

void comparisonForm(const char* text, AccentRule accents, char* out) {
    if (accents == AccentRule::Ignore) {
        foldAccents(text, out, FOLDED_SIZE);
        return;
    }
    copyText(out, text);
    upperAscii(out);
}

int acceptedAnswerCount(const Question* node, int slot) {
    if (node == nullptr) return 1;
    const int others = node->otherAnswerCount[slotIndex(slot)];
    // The loader never attaches more; a count beyond it is not followed.
    if (others < 0 || others >= ANSWERS_PER_FIELD || node->otherAnswers[slotIndex(slot)] == nullptr) return 1;
    return 1 + others;
}

const char* acceptedAnswer(const Question* node, int slot, int k) {
    if (k <= 0 || k >= acceptedAnswerCount(node, slot)) return expectedAnswer(node, slot);
    const char* text = node->otherAnswers[slotIndex(slot)];
    for (int i = 1; i < k; ++i) text += std::strlen(text) + 1;
    return text;
}

int verdictRank(const char* verdict) {
    // The order in which the ladder tries its rungs; "?" (nothing typed) is the same for every answer.
    const char* const LADDER[] = {VERDICT_UNJUDGED,  VERDICT_RIGHT,     VERDICT_ANAGRAM,
                                  VERDICT_ONE_EDIT,  VERDICT_TWO_EDITS, VERDICT_TOO_LONG,
                                  VERDICT_TOO_SHORT, VERDICT_NEARLY_HALF, VERDICT_SIMILAR,
                                  VERDICT_WRONG};
    const int rungs = static_cast<int>(sizeof LADDER / sizeof LADDER[0]);
    for (int rank = 0; rank < rungs; ++rank)
        if (std::strcmp(verdict, LADDER[rank]) == 0) return rank;
    return rungs;
}

const char* matchWithAccents(const char* expected, const char* typed, AccentRule accents) {
    if (accents != AccentRule::Ignore) return matchAnswer(expected, typed);
    char foldedExpected[FOLDED_SIZE];
    char foldedTyped[FOLDED_SIZE];
    foldAccents(expected, foldedExpected, FOLDED_SIZE);
    foldAccents(typed, foldedTyped, FOLDED_SIZE);
    return matchAnswer(foldedExpected, foldedTyped);
}

const char* judgeAnswer(const Question* node, int slot, AccentRule accents, const char* typed) {
    const char* best = nullptr;
    for (int k = 0; k < acceptedAnswerCount(node, slot); ++k) {
        const char* verdict = matchWithAccents(acceptedAnswer(node, slot, k), typed, accents);
        if (best == nullptr || verdictRank(verdict) < verdictRank(best)) best = verdict;
        if (std::strcmp(best, VERDICT_RIGHT) == 0) break;
    }
    return best;
}

bool holdsAcceptedAnswer(const Question* node, int slot, AccentRule accents, const char* typed) {
    char text[FOLDED_SIZE];
    comparisonForm(typed, accents, text);
    for (int k = 0; k < acceptedAnswerCount(node, slot); ++k) {
        char answer[FOLDED_SIZE];
        comparisonForm(acceptedAnswer(node, slot, k), accents, answer);
        if (std::strcmp(text, answer) == 0) return true;
    }
    return false;
}
