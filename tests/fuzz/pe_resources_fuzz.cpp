// Fuzz target: the resource reader on arbitrary bytes, both as a whole program image and as the
// resource section of a small valid program (so that the tree walk is reached from an empty corpus).
// Whatever reads must write back into the same image, and the result must read back the same
// resources, sorted, and take another rewrite. And the bytes as a list of resources to write.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "tools/pe_resources.h"

namespace {

typedef std::vector<uint8_t> Bytes;

void put32(Bytes* b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) (*b)[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

bool sameEntry(const ResourceEntry& a, const ResourceEntry& b) {
    return sameKey(a.type, b.type) && sameKey(a.name, b.name) && a.language == b.language &&
           a.codePage == b.codePage && a.data == b.data;
}

// A PE32 image: headers, one code section at RVA 0x1000 and the given bytes as .rsrc at 0x2000.
Bytes programAround(const uint8_t* tree, size_t size) {
    Bytes image(0x400, 0);
    image[0] = 'M';
    image[1] = 'Z';
    put32(&image, 0x3C, 0x40);
    memcpy(&image[0x40], "PE\0\0", 4);
    put32(&image, 0x44, 0x14C | (2u << 16));  // machine, two sections
    put32(&image, 0x54, 224 | (0x0102u << 16));
    put32(&image, 0x58, 0x10B);
    put32(&image, 0x58 + 32, 0x1000);
    put32(&image, 0x58 + 36, 0x200);
    put32(&image, 0x58 + 60, 0x200);
    put32(&image, 0x58 + 92, 16);
    put32(&image, 0x58 + 96 + 16, 0x2000);
    put32(&image, 0x58 + 96 + 20, static_cast<uint32_t>(size));
    const size_t text = 0x58 + 224, rsrc = text + 40;
    memcpy(&image[text], ".text", 5);
    put32(&image, text + 8, 0x200);
    put32(&image, text + 12, 0x1000);
    put32(&image, text + 16, 0x200);
    put32(&image, text + 20, 0x200);
    memcpy(&image[rsrc], ".rsrc", 5);
    const uint32_t raw = static_cast<uint32_t>((size + 0x1FF) / 0x200 * 0x200);
    put32(&image, rsrc + 8, static_cast<uint32_t>(size));
    put32(&image, rsrc + 12, 0x2000);
    put32(&image, rsrc + 16, raw);
    put32(&image, rsrc + 20, 0x400);
    put32(&image, 0x58 + 56, 0x2000 + (static_cast<uint32_t>(size) + 0xFFF) / 0x1000 * 0x1000);
    image.insert(image.end(), tree, tree + size);
    image.resize(0x400 + raw, 0);
    return image;
}

void check(const Bytes& image) {
    std::vector<ResourceEntry> entries;
    std::string error;
    if (!readPeResources(image, &entries, &error)) {
        if (error.empty() || !entries.empty()) abort();
        return;
    }
    uint64_t total = 0;
    for (const ResourceEntry& entry : entries) total += entry.data.size();
    if (total > image.size()) abort();

    Bytes written;
    if (!writePeResources(image, entries, &written, &error)) {
        if (error.empty() || !written.empty()) abort();
        return;
    }
    std::vector<ResourceEntry> back;
    if (!readPeResources(written, &back, &error) || back.size() != entries.size()) abort();
    for (const ResourceEntry& entry : back) {
        bool found = false;
        for (const ResourceEntry& original : entries) found = found || sameEntry(entry, original);
        if (!found) abort();
    }
    Bytes again;
    std::vector<ResourceEntry> backAgain;
    if (!writePeResources(written, back, &again, &error) || !readPeResources(again, &backAgain, &error) ||
        backAgain.size() != back.size())
        abort();
}

// Resources described by the bytes: per entry a flag byte (bit 0: type is a name, bit 1: name is a
// name), each key as a number (2 bytes) or a length byte and text, a language (2 bytes), a data
// length byte and the data. Written into a program, they must read back exactly.
void checkWritten(const uint8_t* data, size_t size) {
    size_t at = 0;
    auto byte = [&]() -> uint32_t { return at < size ? data[at++] : 0; };
    auto key = [&](bool isName) {
        if (!isName) return numberKey(static_cast<uint16_t>(byte() | (byte() << 8)));
        std::string text;
        for (uint32_t length = byte() % 8; length > 0; --length) text.push_back(static_cast<char>(byte()));
        return stringKey(text);
    };
    std::vector<ResourceEntry> entries;
    while (at < size && entries.size() < 64) {
        ResourceEntry entry;
        const uint32_t flags = byte();
        entry.type = key((flags & 1) != 0);
        entry.name = key((flags & 2) != 0);
        entry.language = static_cast<uint16_t>(byte() | (byte() << 8));
        for (uint32_t length = byte(); length > 0 && at < size; --length) entry.data.push_back(data[at++]);
        entries.push_back(entry);
    }
    const uint8_t emptyTree[16] = {};
    Bytes written;
    std::string error;
    if (!writePeResources(programAround(emptyTree, sizeof emptyTree), entries, &written, &error)) {
        if (error.empty()) abort();
        return;
    }
    std::vector<ResourceEntry> back;
    if (!readPeResources(written, &back, &error) || back.size() != entries.size()) abort();
    for (const ResourceEntry& entry : entries) {
        size_t found = 0;
        for (const ResourceEntry& read : back) found += sameEntry(entry, read) ? 1 : 0;
        if (found != 1) abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    if (size > 1 << 20) return 0;
    check(Bytes(data, data + size));
    check(programAround(data, size));
    checkWritten(data, size);
    return 0;
}
