// Reading a .mo file in place: the header, a binary search of its sorted messages, and the plural
// rule of its header evaluated as the C expression it is.
#include "tools/support/mo_catalogue.h"

#include <cstdlib>
#include <cstring>

namespace {

const uint32_t MO_MAGIC = 0x950412de;

uint32_t word(const MoCatalogue& c, std::size_t offset) {
    const unsigned char* b = c.bytes + offset;
    return c.bigEndian ? (uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3])
                       : (uint32_t(b[3]) << 24 | uint32_t(b[2]) << 16 | uint32_t(b[1]) << 8 | b[0]);
}

// The string of entry index of the table at table: its bytes and length, when it lies within the
// catalogue and ends with its terminator.
bool entry(const MoCatalogue& c, uint32_t table, uint32_t index, const char** text, uint32_t* length) {
    const uint64_t at = uint64_t(table) + 8 * uint64_t(index);
    if (at + 8 > c.size) return false;
    *length = word(c, at);
    const uint32_t offset = word(c, at + 4);
    if (uint64_t(offset) + *length >= c.size || c.bytes[offset + *length] != '\0') return false;
    *text = reinterpret_cast<const char*>(c.bytes + offset);
    return true;
}

// The index of message among the originals, or -1.
long find(const MoCatalogue& c, const char* message) {
    uint32_t low = 0, high = c.count;
    while (low < high) {
        const uint32_t middle = low + (high - low) / 2;
        const char* original;
        uint32_t length;
        if (!entry(c, c.originals, middle, &original, &length)) return -1;
        // A plural message is "singular\0plural": it sorts by its singular.
        const int order = std::strcmp(message, original);
        if (order == 0) return static_cast<long>(middle);
        if (order < 0) high = middle;
        else low = middle + 1;
    }
    return -1;
}

// The plural rule's grammar, lowest precedence first: ?:, ||, &&, == !=, < > <= >=, + -, * / %, !.
struct RuleReader {
    const char* p;
    uint64_t n;
    int depth;
    bool ok;
};

void skipSpaces(RuleReader* r) {
    while (*r->p == ' ' || *r->p == '\t' || *r->p == '\n') ++r->p;
}

bool take(RuleReader* r, const char* token) {
    skipSpaces(r);
    const std::size_t length = std::strlen(token);
    if (std::strncmp(r->p, token, length) != 0) return false;
    // "<" is not the start of "<=", nor "=" of "==", nor "!" of "!=".
    if (length == 1 && (*token == '<' || *token == '>' || *token == '!') && r->p[1] == '=') return false;
    r->p += length;
    return true;
}

uint64_t conditional(RuleReader* r);

uint64_t primary(RuleReader* r) {
    // A hostile rule nests without end: the reading stops well before the stack does.
    if (++r->depth > 64) {
        r->ok = false;
        return 0;
    }
    uint64_t value = 0;
    skipSpaces(r);
    if (take(r, "!")) {
        value = !primary(r);
    } else if (take(r, "(")) {
        value = conditional(r);
        if (!take(r, ")")) r->ok = false;
    } else if (*r->p == 'n') {
        ++r->p;
        value = r->n;
    } else if (*r->p >= '0' && *r->p <= '9') {
        while (*r->p >= '0' && *r->p <= '9') value = value * 10 + static_cast<uint64_t>(*r->p++ - '0');
    } else {
        r->ok = false;
    }
    --r->depth;
    return value;
}

uint64_t product(RuleReader* r) {
    uint64_t value = primary(r);
    for (;;) {
        if (take(r, "*")) value *= primary(r);
        else if (take(r, "/")) { const uint64_t d = primary(r); value = d ? value / d : 0; }
        else if (take(r, "%")) { const uint64_t d = primary(r); value = d ? value % d : 0; }
        else return value;
    }
}

uint64_t sum(RuleReader* r) {
    uint64_t value = product(r);
    for (;;) {
        if (take(r, "+")) value += product(r);
        else if (take(r, "-")) value -= product(r);
        else return value;
    }
}

uint64_t comparison(RuleReader* r) {
    uint64_t value = sum(r);
    for (;;) {
        if (take(r, "<=")) value = value <= sum(r);
        else if (take(r, ">=")) value = value >= sum(r);
        else if (take(r, "<")) value = value < sum(r);
        else if (take(r, ">")) value = value > sum(r);
        else return value;
    }
}

uint64_t equality(RuleReader* r) {
    uint64_t value = comparison(r);
    for (;;) {
        if (take(r, "==")) value = value == comparison(r);
        else if (take(r, "!=")) value = value != comparison(r);
        else return value;
    }
}

uint64_t conjunction(RuleReader* r) {
    uint64_t value = equality(r);
    while (take(r, "&&")) value = equality(r) && value;
    return value;
}

uint64_t disjunction(RuleReader* r) {
    uint64_t value = conjunction(r);
    while (take(r, "||")) value = conjunction(r) || value;
    return value;
}

uint64_t conditional(RuleReader* r) {
    if (++r->depth > 64) {
        r->ok = false;
        return 0;
    }
    const uint64_t condition = disjunction(r);
    uint64_t value = condition;
    if (take(r, "?")) {
        const uint64_t yes = conditional(r);
        if (!take(r, ":")) r->ok = false;
        const uint64_t no = conditional(r);
        value = condition ? yes : no;
    }
    --r->depth;
    return value;
}

// "nplurals=2; plural=(n > 1);" in the header's Plural-Forms line.
void readPluralForms(const char* header, MoCatalogue* c) {
    const char* line = std::strstr(header, "Plural-Forms:");
    if (!line) return;
    const char* end = std::strchr(line, '\n');
    const std::string forms(line, end ? static_cast<std::size_t>(end - line) : std::strlen(line));
    const std::size_t count = forms.find("nplurals=");
    const std::size_t rule = forms.find("plural=", count == std::string::npos ? 0 : count + 9);
    if (count == std::string::npos || rule == std::string::npos) return;
    c->pluralForms = static_cast<uint32_t>(std::strtoul(forms.c_str() + count + 9, nullptr, 10));
    const std::size_t ruleEnd = forms.find(';', rule);
    c->pluralRule = forms.substr(rule + 7, ruleEnd == std::string::npos ? std::string::npos : ruleEnd - rule - 7);
}

}  // namespace

long pluralFormIndex(const std::string& rule, uint64_t n) {
    RuleReader reader{rule.c_str(), n, 0, true};
    const uint64_t index = conditional(&reader);
    skipSpaces(&reader);
    return reader.ok && *reader.p == '\0' && index < 1000 ? static_cast<long>(index) : -1;
}

bool openMoCatalogue(const unsigned char* bytes, std::size_t size, MoCatalogue* catalogue) {
    *catalogue = MoCatalogue();
    if (size < 28 || size > 0x7fffffff) return false;
    catalogue->bytes = bytes;
    catalogue->size = size;
    if (word(*catalogue, 0) != MO_MAGIC) {
        catalogue->bigEndian = true;
        if (word(*catalogue, 0) != MO_MAGIC) {
            *catalogue = MoCatalogue();
            return false;
        }
    }
    catalogue->count = word(*catalogue, 8);
    catalogue->originals = word(*catalogue, 12);
    catalogue->translations = word(*catalogue, 16);
    for (uint32_t table : {catalogue->originals, catalogue->translations}) {
        if (uint64_t(table) + 8 * uint64_t(catalogue->count) > size) {
            *catalogue = MoCatalogue();
            return false;
        }
    }
    const char* original;
    const char* header;
    uint32_t length;
    // The header is the translation of the empty message, the first of the sorted ones.
    if (catalogue->count > 0 && entry(*catalogue, catalogue->originals, 0, &original, &length) && length == 0 &&
        entry(*catalogue, catalogue->translations, 0, &header, &length))
        readPluralForms(header, catalogue);
    return true;
}

const char* moTranslation(const MoCatalogue& catalogue, const char* message) {
    const long index = find(catalogue, message);
    const char* text;
    uint32_t length;
    if (index < 0 || !entry(catalogue, catalogue.translations, static_cast<uint32_t>(index), &text, &length))
        return nullptr;
    return length > 0 ? text : nullptr;
}

const char* moPluralTranslation(const MoCatalogue& catalogue, const char* singular, uint64_t count) {
    const long index = find(catalogue, singular);
    const char* text;
    uint32_t length;
    if (index < 0 || !entry(catalogue, catalogue.translations, static_cast<uint32_t>(index), &text, &length))
        return nullptr;
    const long form = catalogue.pluralRule.empty() ? (count != 1) : pluralFormIndex(catalogue.pluralRule, count);
    if (form < 0 || static_cast<uint32_t>(form) >= catalogue.pluralForms) return nullptr;
    // The forms follow one another, each ended by its terminator, within the translation's length.
    const char* end = text + length;
    for (long k = 0; k < form; ++k) {
        text += std::strlen(text) + 1;
        if (text >= end) return nullptr;
    }
    return *text ? text : nullptr;
}
