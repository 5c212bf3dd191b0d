// The small media files of the starter folders, held in the tool itself.
#pragma once
#include <cstddef>
#include <cstring>

struct StarterMedia {
    const char* name;  // "q1.gif", "a1.gif", "la.mp3", ...
    const unsigned char* bytes;
    std::size_t size;
};

// The file of that name, or null.
const StarterMedia* starterMedia(const char* name);
