// Reading and rewriting the resources of a Windows program (PE32 or the 64-bit PE32+) without the
// platform, so that trivo-make can put a quiz into a copy of the player on Linux as on Windows.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A resource type or name: a number, or a string (stored in upper case, as the resource compiler does).
// The text is UTF-8: the file holds UTF-16, and names outside ASCII are kept rather than refused.
struct ResourceKey {
    bool isString = false;
    uint16_t number = 0;
    std::string text;
};

struct ResourceEntry {
    ResourceKey type;
    ResourceKey name;
    uint16_t language = 0;
    uint32_t codePage = 0;
    std::vector<uint8_t> data;
};

ResourceKey numberKey(uint16_t number);
ResourceKey stringKey(const std::string& text);
bool sameKey(const ResourceKey& a, const ResourceKey& b);

// *is64Bit: whether the program image is a 64-bit (PE32+) program rather than a 32-bit (PE32) one.
// False with a message in error when the bytes are not a Windows program.
bool readProgramBitness(const std::vector<uint8_t>& image, bool* is64Bit, std::string* error);

// Every resource of the program image, in the order of its resource directory. False with a
// message in error when the bytes are not a Windows program or its resource section is malformed.
// A program without resources gives an empty list.
bool readPeResources(const std::vector<uint8_t>& image, std::vector<ResourceEntry>* entries, std::string* error);

// The program image with its resources replaced by entries (any order; the directory is sorted as
// the loader requires). False with a message in error when the image cannot take them.
bool writePeResources(const std::vector<uint8_t>& image, const std::vector<ResourceEntry>& entries,
                      std::vector<uint8_t>* result, std::string* error);
