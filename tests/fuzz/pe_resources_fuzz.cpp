// Fuzz target: the resource reader and writer on arbitrary program images, as trivo-make build uses
// them. Whatever reads is built into a quiz program (its own resources kept, every quiz resource
// replaced by a quiz's), rebuilt with another quiz and with the first again, and every program
// written must read back with exactly the resources meant for it: a fault of the writer is a
// finding, not only a crash. The images: the bytes as they are, the bytes as the resource section of
// a small program, and a program laid out from the bytes (up to 96 sections, PE32 or PE32+, data
// inside the section table, directories past the sections, an overlay and a certificate), which
// reaches hostile layouts from an empty corpus; a few such layouts seed an empty corpus. And the
// bytes as a list of resources to write.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tools/pe/pe_resources.h"
#include "tools/quiz_folder/quiz_build.h"

namespace {

typedef std::vector<uint8_t> Bytes;

void put16(Bytes* b, size_t at, uint32_t v) {
    (*b)[at] = static_cast<uint8_t>(v);
    (*b)[at + 1] = static_cast<uint8_t>(v >> 8);
}

void put32(Bytes* b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) (*b)[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

bool sameEntry(const ResourceEntry& a, const ResourceEntry& b) {
    return sameKey(a.type, b.type) && sameKey(a.name, b.name) && a.language == b.language &&
           a.codePage == b.codePage && a.data == b.data;
}

// The program reads back with exactly these resources, each once.
void expectResources(const Bytes& program, const std::vector<ResourceEntry>& meant) {
    std::vector<ResourceEntry> back;
    std::string error;
    if (!readPeResources(program, &back, &error) || back.size() != meant.size()) std::abort();
    for (const ResourceEntry& entry : meant) {
        size_t found = 0;
        for (const ResourceEntry& read : back) found += sameEntry(entry, read) ? 1 : 0;
        if (found != 1) std::abort();
    }
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

// A program laid out by the first bytes: flags, section count, where the resources and a stray
// directory are, the header size; the rest fills the sections and the overlay. Its resource
// section holds one resource (type 5, name 1001), so that reading it succeeds and the writer meets
// the layout. With dataInTable the data starts right after the headers' first 0x200 to 0x800 bytes,
// inside a long section table.
Bytes programLaidOut(const uint8_t* data, size_t size) {
    uint8_t p[8] = {};
    memcpy(p, data, size < sizeof p ? size : sizeof p);
    const bool plus = (p[0] & 1) != 0, dataInTable = (p[0] & 2) != 0, strayDirectory = (p[0] & 4) != 0;
    const bool overlay = (p[0] & 8) != 0, certificate = (p[0] & 16) != 0, virtualOnly = (p[0] & 32) != 0;
    const uint32_t count = 1 + p[1] % 96;
    const uint32_t rsrcIndex = (p[0] & 64) != 0 ? p[2] % count : count - 1;
    const uint32_t optionalSize = plus ? 240 : 224, directories = 0x58 + (plus ? 112 : 96);
    const uint32_t tableEnd = 0x58 + optionalSize + 40 * count;
    const uint32_t aligned = (tableEnd + 0x1FF) / 0x200 * 0x200;
    const uint32_t headers = dataInTable ? 0x200 * (1 + p[3] % 4) : aligned;
    Bytes image(std::max(headers, aligned), 0);
    image[0] = 'M';
    image[1] = 'Z';
    put32(&image, 0x3C, 0x40);
    memcpy(&image[0x40], "PE\0\0", 4);
    put16(&image, 0x44, plus ? 0x8664 : 0x14C);
    put16(&image, 0x46, count);
    put16(&image, 0x54, optionalSize);
    put16(&image, 0x58, plus ? 0x20B : 0x10B);
    put32(&image, 0x58 + 32, 0x1000);
    put32(&image, 0x58 + 36, 0x200);
    put32(&image, 0x58 + 56, 0x1000 * (count + 1));
    put32(&image, 0x58 + 60, headers);
    put32(&image, directories - 4, 16);
    // Section headers first; the data after them, over the table where it starts inside it.
    std::vector<uint32_t> rawAt(count, 0);
    uint32_t next = headers;
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t header = 0x58 + optionalSize + 40 * i;
        const bool resources = i == rsrcIndex;
        const bool raw = !virtualOnly || resources;
        memcpy(&image[header], resources ? ".rsrc" : ".data", 5);
        put32(&image, header + 8, 0x200);
        put32(&image, header + 12, 0x1000 * (i + 1));
        put32(&image, header + 16, raw ? 0x200 : 0);
        put32(&image, header + 20, raw ? next : 0);
        put32(&image, header + 36, 0x40000040);
        if (raw) rawAt[i] = next;
        if (raw) next += 0x200;
    }
    image.resize(std::max<size_t>(image.size(), next), 0);
    const uint8_t tree[] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 5,    0, 0,    0, 24, 0, 0, 0x80,
                            0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0xE9, 3, 0,    0, 48, 0, 0, 0x80,
                            0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0x0C, 4, 0,    0, 72, 0, 0, 0,
                            0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 'D',  'L', 'G', 0};
    size_t filler = 8;
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t at = rawAt[i], rva = 0x1000 * (i + 1);
        if (at == 0) continue;
        if (i == rsrcIndex) {
            memcpy(&image[at], tree, sizeof tree);
            put32(&image, at + 72, rva + 88);
            put32(&image, directories + 16, rva);
            put32(&image, directories + 20, sizeof tree);
        } else {
            for (uint32_t k = 0; k < 0x200 && filler < size; ++k) image[at + k] = data[filler++];
        }
    }
    if (strayDirectory) {
        const uint32_t directory = p[4] % 16 == 2 ? 5 : p[4] % 16;
        put32(&image, directories + 8 * directory, 0x1000 * (count + 1 + p[5] % 8) + 0x10 * p[6]);
        put32(&image, directories + 8 * directory + 4, 0x10 + 0x100 * p[7]);
    }
    if (overlay) {
        const size_t start = image.size();
        if (filler < size) image.insert(image.end(), data + filler, data + size);
        image.resize(std::max<size_t>(image.size(), start + 64), 0);
        put32(&image, 0x44 + 8, static_cast<uint32_t>(start));  // a symbol table in the overlay
        if (certificate) {
            put32(&image, directories + 32, static_cast<uint32_t>(start + 32));
            put32(&image, directories + 36, 32);
        }
    }
    return image;
}

// What build puts in: the packed content and codes and one picture, marked with n.
std::vector<ResourceEntry> withQuiz(const std::vector<ResourceEntry>& kept, uint8_t n) {
    std::vector<ResourceEntry> entries = kept;
    const uint16_t language = kept.empty() ? 0 : kept.front().language;
    const struct {
        const char* type;
        uint16_t id;
        size_t size;
    } quiz[] = {{"PATCH", 104, 300}, {"PATCH", 105, 40}, {"IMG", 401, 1000}};
    for (const auto& item : quiz) {
        ResourceEntry entry;
        entry.type = stringKey(item.type);
        entry.name = numberKey(item.id);
        entry.language = language;
        entry.data.assign(item.size, n);
        entries.push_back(entry);
    }
    return entries;
}

void check(const Bytes& image) {
    std::vector<ResourceEntry> entries;
    std::string error;
    if (!readPeResources(image, &entries, &error)) {
        if (error.empty() || !entries.empty()) std::abort();
        return;
    }
    uint64_t total = 0;
    for (const ResourceEntry& entry : entries) total += entry.data.size();
    if (total > image.size()) std::abort();

    std::vector<ResourceEntry> kept;
    for (const ResourceEntry& entry : entries)
        if (!isQuizResource(entry)) kept.push_back(entry);
    const std::vector<ResourceEntry> first = withQuiz(kept, 1), second = withQuiz(kept, 2);
    Bytes written;
    if (!writePeResources(image, first, &written, &error)) {
        if (error.empty() || !written.empty()) std::abort();
        return;
    }
    expectResources(written, first);
    // A program the tool wrote always takes another quiz of the same size, and the first one again
    // gives the same bytes: a rebuild never grows or breaks it.
    Bytes rebuilt, again;
    if (!writePeResources(written, second, &rebuilt, &error)) std::abort();
    expectResources(rebuilt, second);
    if (!writePeResources(rebuilt, first, &again, &error) || again != written) std::abort();
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
        if (error.empty()) std::abort();
        return;
    }
    expectResources(written, entries);
}

// Layouts that once made the writer overflow its buffer, write a header into its own resources, or
// place resources over what a directory names: 96 sections, data inside the section table, a
// directory past every section, PE32+, the resources in a middle section with an overlay and a
// certificate.
const std::vector<std::vector<uint8_t>> SEEDS = {
    {0x00, 95}, {0x22, 95}, {0x03, 2}, {0x04, 2, 0, 0, 1, 0, 0, 0x20}, {0x05, 3, 0, 0, 5},
    {0x5D, 4, 1, 0, 6, 1, 0, 0}, {0x22, 40, 0, 1}, {0x7F, 95, 30, 3, 12, 7, 0xFF, 0xFF}};

}  // namespace

// An empty corpus folder named on the command line is given the seed layouts.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    for (int i = 1; i < *argc; ++i) {
        const char* folder = (*argv)[i];
        struct stat info;
        if (folder[0] == '-' || stat(folder, &info) != 0 || !S_ISDIR(info.st_mode)) continue;
        DIR* listing = opendir(folder);
        int entries = 0;
        for (dirent* entry; listing != nullptr && (entry = readdir(listing)) != nullptr;) entries += entry->d_name[0] != '.';
        if (listing != nullptr) closedir(listing);
        for (size_t s = 0; entries == 0 && s < SEEDS.size(); ++s) {
            const std::string name = std::string(folder) + "/seed-layout-" + std::to_string(s);
            if (std::FILE* file = std::fopen(name.c_str(), "wbx")) {
                std::fwrite(SEEDS[s].data(), 1, SEEDS[s].size(), file);
                std::fclose(file);
            }
        }
        break;
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    if (size > 1 << 20) return 0;
    check(Bytes(data, data + size));
    check(programAround(data, size));
    check(programLaidOut(data, size));
    checkWritten(data, size);
    return 0;
}
