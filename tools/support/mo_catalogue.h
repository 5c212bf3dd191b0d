// A compiled message catalogue (GNU gettext's .mo file) read in place, for a program that carries
// its catalogues inside itself: every offset and length is checked against the bytes before use.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

struct MoCatalogue {
    const unsigned char* bytes = nullptr;
    std::size_t size = 0;
    bool bigEndian = false;
    uint32_t count = 0;         // messages
    uint32_t originals = 0;     // offset of the table of the messages, sorted
    uint32_t translations = 0;  // offset of the table of their translations
    std::string pluralRule;     // the "plural=" expression of its header; empty: n != 1
    uint32_t pluralForms = 2;
};

// False when bytes are not a catalogue whose tables lie within them.
bool openMoCatalogue(const unsigned char* bytes, std::size_t size, MoCatalogue* catalogue);
// The translation of message, or nullptr when the catalogue has none (or an empty one).
const char* moTranslation(const MoCatalogue& catalogue, const char* message);
// The form for count of the message whose singular is singular, or nullptr.
const char* moPluralTranslation(const MoCatalogue& catalogue, const char* singular, uint64_t count);
// The index of the plural form for n under a gettext plural rule ("(n > 1)",
// "n%10==1 && n%100!=11 ? 0 : 1"); -1 when the rule cannot be read.
long pluralFormIndex(const std::string& rule, uint64_t n);
