// The compiled catalogues a Windows trivo-make carries inside itself, one per language of po/ (made
// by cmake/TrivoCatalogues.cmake), since it ships as one file beside the player.
#pragma once
#include <cstddef>

struct EmbeddedCatalogue {
    const char* language;  // "fr", as the .po file is named
    const unsigned char* bytes;
    std::size_t size;
};

extern const EmbeddedCatalogue EMBEDDED_CATALOGUES[];
extern const std::size_t EMBEDDED_CATALOGUE_COUNT;
