// What the player's labels show besides the quiz's own texts: the fixed texts of the header and the
// colours of the header and of the page's labels. Platform-free, so the web page shows the same.
#pragma once
#include <cstdint>

// The project's site, opened by the header link; short enough to fit the 115-pixel link label.
extern const char* const WEBSITE_ADDRESS;
// The header's fixed labels and the version label at the bottom right (code page 1252).
extern const char* const CODE_CAPTION;     // " Code :"
extern const char* const CODE_UNEARNED;    // " xxxxxx", until the first score is written
extern const char* const AUTHOR_CAPTION;   // "Par :"
extern const char* const VERSION_CAPTION;  // "Réalisé avec la version 2.1"

// Colours, COLORREF 0x00BBGGRR.
constexpr uint32_t HEADER_BACKGROUND = 0x00FF8080;   // the header's boxes and labels
constexpr uint32_t LINK_TEXT = 0x00FF3232;           // the website link
constexpr uint32_t VERSION_TEXT = 0x00000000;
constexpr uint32_t VERSION_BACKGROUND = 0x00C8D0D4;
constexpr uint32_t QUESTION_TEXT_BACKGROUND = 0x00C0FFFF;  // a Text quiz's question line: pale yellow
constexpr uint32_t LABEL_TEXT = 0x00000000;          // every coloured label's text

// A verdict label's colour follows the word it shows.
enum class VerdictColour { None, Anagram, Right, Wrong, NearMiss };
// "?" (not yet judged) keeps the platform's colours; "Anagramme", "BRAVO" and "FAUX" have their own;
// any other text is a near miss.
VerdictColour verdictColour(const char* verdict);
// The background of a verdict colour (None has none: 0).
uint32_t verdictBackground(VerdictColour colour);
