// The fixed texts and the colours of the player's labels.
#include "player/labels.h"

#include <cstring>

#include "checking/matcher.h"

const char* const WEBSITE_ADDRESS = "https://trivo.fr";
const char* const CODE_CAPTION = " Code :";
const char* const CODE_UNEARNED = " xxxxxx";
const char* const AUTHOR_CAPTION = "Par :";
const char* const VERSION_CAPTION = "R\xE9" "alis\xE9" " avec la version 2.1";

VerdictColour verdictColour(const char* verdict) {
    if (std::strcmp(verdict, VERDICT_ANAGRAM) == 0) return VerdictColour::Anagram;
    if (std::strcmp(verdict, VERDICT_RIGHT) == 0) return VerdictColour::Right;
    if (std::strcmp(verdict, VERDICT_WRONG) == 0) return VerdictColour::Wrong;
    if (std::strcmp(verdict, VERDICT_UNJUDGED) == 0) return VerdictColour::None;
    return VerdictColour::NearMiss;
}

uint32_t verdictBackground(VerdictColour colour) {
    switch (colour) {
    case VerdictColour::Anagram: return 0x000064FF;   // orange
    case VerdictColour::Right: return 0x0000FF00;     // green
    case VerdictColour::Wrong: return 0x000000FF;     // red
    case VerdictColour::NearMiss: return 0x0026CBFF;  // amber
    case VerdictColour::None:
    default: return 0;
    }
}
