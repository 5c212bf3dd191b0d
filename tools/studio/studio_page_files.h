// The studio page's files, carried inside trivo-make (made from tools/studio/page by
// cmake/TrivoEmbedStudio.cmake): nothing is read from beside the program or fetched from outside.
#pragma once
#include <cstddef>
#include <string>

struct StudioPageFile {
    const char* path;  // "/studio.js"
    const char* contentType;
    const unsigned char* bytes;
    std::size_t size;
};

// The file served at path; null for none.
const StudioPageFile* studioPageFile(const std::string& path);
