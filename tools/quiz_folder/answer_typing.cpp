// Expected answers against what players will type, judged by the player's own matcher.
#include "tools/quiz_folder/answer_typing.h"

#include <vector>

#include "checking/accepted_answers.h"
#include "tools/support/cp1252.h"
#include "tools/support/text.h"
#include "tools/support/translation.h"

namespace {

// Characters of code page 1252 that keyboards do not type directly (word processors put them in),
// and what players type instead. An empty plain form: players leave the character out, as they do
// quotation marks around an answer.
struct PlainForm {
    unsigned char byte;
    const char* plain;
    const char* name;  // how a message names a character that cannot be seen; null: shown as it is
};
const PlainForm PLAIN_FORMS[] = {
    {0x82, "'", nullptr},   {0x84, "", nullptr},    {0x85, "...", nullptr}, {0x88, "^", nullptr},
    {0x8B, "", nullptr},    {0x8C, "OE", nullptr},  {0x91, "'", nullptr},   {0x92, "'", nullptr},
    {0x93, "", nullptr},    {0x94, "", nullptr},    {0x96, "-", nullptr},   {0x97, "-", nullptr},
    {0x98, "~", nullptr},   {0x99, "", nullptr},    {0x9B, "", nullptr},    {0x9C, "oe", nullptr},
    {0xA0, " ", N_("a non-breaking space")},            {0xA9, "", nullptr},    {0xAB, "", nullptr},
    {0xAD, "", N_("a soft hyphen")},                {0xAE, "", nullptr},    {0xB4, "'", nullptr},
    {0xBB, "", nullptr},    {0xBC, "1/4", nullptr}, {0xBD, "1/2", nullptr}, {0xBE, "3/4", nullptr},
    {0xC6, "AE", nullptr},  {0xD7, "x", nullptr},   {0xE6, "ae", nullptr},
};

const PlainForm* plainFormOf(unsigned char byte) {
    for (const PlainForm& form : PLAIN_FORMS) {
        if (form.byte == byte) return &form;
    }
    return nullptr;
}

// The capital of a lower-case accented letter, or 0 for any other byte.
unsigned char accentedCapital(unsigned char byte) {
    switch (byte) {
        case 0x9A: return 0x8A;  // s caron
        case 0x9E: return 0x8E;  // z caron
        case 0xFF: return 0x9F;  // y diaeresis
        default: break;
    }
    // a grave to thorn, except the division sign; sharp s (0xDF) has no capital in the code page.
    if (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7) return static_cast<unsigned char>(byte - 0x20);
    return 0;
}

// The lower case of a capital accented letter, or 0 for any other byte.
unsigned char accentedSmall(unsigned char byte) {
    switch (byte) {
        case 0x8A: return 0x9A;
        case 0x8E: return 0x9E;
        case 0x9F: return 0xFF;
        default: break;
    }
    if (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7) return static_cast<unsigned char>(byte + 0x20);
    return 0;
}

std::string utf8Of(const std::string& cp1252) {
    const TextConversion converted = cp1252ToUtf8(cp1252);
    return converted.ok ? converted.text : cp1252;
}

std::string quoted(const std::string& cp1252) {
    return quotedText(utf8Of(cp1252), '"');
}

// text without spaces at its ends and with every run of spaces inside it made one space.
std::string singleSpaced(const std::string& text) {
    std::string result;
    for (char c : text) {
        if (c == ' ' && (result.empty() || result.back() == ' ')) continue;
        result.push_back(c);
    }
    if (!result.empty() && result.back() == ' ') result.pop_back();
    return result;
}

// "’", "’ and «", "’, « and a non-breaking space": each character once, in order.
std::string listed(const std::vector<std::string>& items) {
    std::string text = items.empty() ? std::string() : items[0];
    for (std::size_t i = 1; i < items.size(); ++i)
        text = fillIn(i + 1 == items.size() ? tr("{1} and {2}") : tr("{1}, {2}"), text, items[i]);
    return text;
}

void addUnique(std::vector<std::string>* items, const std::string& item) {
    for (const std::string& existing : *items) {
        if (existing == item) return;
    }
    items->push_back(item);
}

// The verdict word the player gives typed for answer, in UTF-8.
std::string verdictOf(const std::string& answer, const std::string& typed, AccentRule accents) {
    return utf8Of(matchWithAccents(answer.c_str(), typed.c_str(), accents));
}

// Whether a character and a plain form are the same answer once accents are folded.
bool foldsAlike(unsigned char byte, const char* plain) {
    const char text[2] = {static_cast<char>(byte), '\0'};
    char folded[FOLDED_SIZE], plainFolded[FOLDED_SIZE];
    foldAccents(text, folded, FOLDED_SIZE);
    foldAccents(plain, plainFolded, FOLDED_SIZE);
    return std::string(folded) == plainFolded;
}

// Letters of code page 1252 in small and capital case: a to z and the accented letters.
unsigned char smallOf(unsigned char byte) {
    if (byte >= 'A' && byte <= 'Z') return static_cast<unsigned char>(byte + 0x20);
    const unsigned char small = accentedSmall(byte);
    return small ? small : byte;
}

unsigned char capitalOf(unsigned char byte) {
    if (byte >= 'a' && byte <= 'z') return static_cast<unsigned char>(byte - 0x20);
    const unsigned char capital = accentedCapital(byte);
    return capital ? capital : byte;
}

// The letter an accented letter is written with when the accent is left out, in its own case; 0 for
// thorn, which has none, and for any other byte.
unsigned char unaccented(unsigned char byte) {
    // 0xC0 to 0xFF; '.': none (the multiplication and division signs, AE, thorn, sharp s).
    static const char PLAIN[] = "AAAAAA.CEEEEIIIIDNOOOOO.OUUUUY..aaaaaa.ceeeeiiiidnooooo.ouuuuy.y";
    if (byte == 0x8A) return 'S';
    if (byte == 0x9A) return 's';
    if (byte == 0x8E) return 'Z';
    if (byte == 0x9E) return 'z';
    if (byte == 0x9F) return 'Y';
    if (byte < 0xC0) return 0;
    const char plain = PLAIN[byte - 0xC0];
    return plain == '.' ? 0 : static_cast<unsigned char>(plain);
}

// The ways players may type an answer with accented letters: as written, all in small letters, each
// word with a capital, all in capitals, and without the accents. Each once.
std::vector<std::string> accentTypings(const std::string& text) {
    std::string small, titled, capitals, plain;
    bool wordStart = true;
    for (unsigned char byte : text) {
        small.push_back(static_cast<char>(smallOf(byte)));
        titled.push_back(static_cast<char>(wordStart ? capitalOf(byte) : smallOf(byte)));
        capitals.push_back(static_cast<char>(capitalOf(byte)));
        const unsigned char letter = unaccented(smallOf(byte));
        plain.push_back(static_cast<char>(letter ? letter : smallOf(byte)));
        wordStart = byte == ' ' || byte == '-';
    }
    std::vector<std::string> typings;
    for (const std::string& typing : {text, small, titled, capitals, plain}) addUnique(&typings, typing);
    return typings;
}

// '"ÉVREUX" and "Évreux" get "BRAVO"; "évreux" and "evreux" get "Quasiment"': the typings
// grouped by the verdict the player gives them, "BRAVO" first.
std::string typingVerdicts(const std::string& answer, const std::vector<std::string>& typings) {
    std::vector<std::string> verdicts;
    std::vector<std::vector<std::string>> groups;
    for (const std::string& typing : typings) {
        const std::string verdict = verdictOf(answer, typing, AccentRule::Exact);
        std::size_t k = 0;
        while (k < verdicts.size() && verdicts[k] != verdict) ++k;
        if (k == verdicts.size()) {
            verdicts.insert(verdict == "BRAVO" ? verdicts.begin() : verdicts.end(), verdict);
            groups.insert(verdict == "BRAVO" ? groups.begin() : groups.end(), std::vector<std::string>());
            k = verdict == "BRAVO" ? 0 : verdicts.size() - 1;
        }
        groups[k].push_back(quoted(typing));
    }
    std::string text;
    for (std::size_t k = 0; k < groups.size(); ++k) {
        const std::string group =
            fillIn(ntr("{1} gets \"{2}\"", "{1} get \"{2}\"", groups[k].size()), listed(groups[k]), verdicts[k]);
        // TRANSLATORS: two groups of typings, each with its verdict.
        text = k == 0 ? group : fillIn(tr("{1}; {2}"), text, group);
    }
    return text;
}

}  // namespace

void checkAnswerTyping(const std::string& answer, int line, const std::string& name, Diagnostics* diagnostics,
                       AccentRule accents) {
    const std::string shown = name + " " + quoted(answer);
    const std::size_t first = answer.find_first_not_of(' ');
    if (!answer.empty() && first == std::string::npos) {
        addError(diagnostics, line, fillIn(tr("{1} is only spaces: no typed answer can ever match it"), shown));
        return;
    }
    if (!answer.empty() && (answer.front() == ' ' || answer.back() == ' ')) {
        addError(diagnostics, line,
                 fillIn(answer.front() == ' ' ? tr("{1} starts with a space, and the player trims only what is typed, so "
                                                   "no typed answer can ever match it: write {2}")
                                              : tr("{1} ends with a space, and the player trims only what is typed, so "
                                                   "no typed answer can ever match it: write {2}"),
                        shown, quoted(answer.substr(first, answer.find_last_not_of(' ') - first + 1))));
        return;  // what players type is measured against the answer once it can be matched at all
    }

    std::vector<std::string> typographic;
    std::string plain;
    bool accented = false, capitalAccents = false;
    for (unsigned char byte : answer) {
        const PlainForm* form = plainFormOf(byte);
        // Where accents are ignored, a letter like œ is its plain form (oe) already.
        if (form && !(accents == AccentRule::Ignore && foldsAlike(byte, form->plain)))
            addUnique(&typographic, form->name ? tr(form->name) : utf8Of(std::string(1, static_cast<char>(byte))));
        if (!form && (accentedCapital(byte) || accentedSmall(byte))) accented = true;
        if (!form && accentedSmall(byte)) capitalAccents = true;
        plain += form ? std::string(form->plain) : std::string(1, static_cast<char>(byte));
    }
    // What players type: the characters keyboards have, one space between words.
    const std::string typed = singleSpaced(plain);
    // The one form every piece of advice names, so that following any of them leaves nothing to warn
    // about: typed so, and in lower case when it has capital accented letters, as keyboards type them
    // (unless accents are ignored, and with them their case).
    const bool accentsCount = accents != AccentRule::Ignore;
    std::string advised;
    for (unsigned char byte : typed)
        advised.push_back(static_cast<char>(capitalAccents && accentsCount ? smallOf(byte) : byte));
    const std::string write = quoted(advised);
    if (!typographic.empty()) {
        const std::string verdict = verdictOf(answer, typed, accents);
        if (verdict != "BRAVO") {
            addWarning(diagnostics, line,
                       fillIn(tr("{1} holds {2}, which keyboards do not type: a player who types {3} gets \"{4}\"; "
                                 "write {5}"),
                              shown, listed(typographic), quoted(typed), verdict, write));
        }
    }
    if (answer.find("  ") != std::string::npos) {
        const std::string verdict = verdictOf(answer, singleSpaced(answer), accents);
        if (verdict != "BRAVO") {
            addWarning(diagnostics, line,
                       fillIn(tr("{1} has several spaces in a row: a player who types {2} gets \"{3}\"; write {4}"),
                              shown, quoted(singleSpaced(answer)), verdict, write));
        }
    }
    // Every accented form fails some typing, since the player folds only a to z: said once, with what
    // each typing gets. Capital accented letters are the form keyboards make hardest to type.
    if (accented && accentsCount) {
        const std::string verdicts = typingVerdicts(answer, accentTypings(typed));
        if (capitalAccents) {
            addWarning(diagnostics, line,
                       fillIn(tr("{1} has accented letters, and the player folds only a to z: {2}; write {3}, with "
                                 "accented letters in lower case as keyboards type them"),
                              shown, verdicts, write));
        } else {
            addNote(diagnostics, line,
                    fillIn(tr("{1} has accented letters, and the player folds only a to z: {2}"), shown, verdicts));
        }
    }
}
