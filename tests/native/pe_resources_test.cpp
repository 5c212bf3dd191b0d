// Resources of a PE32 or PE32+ program: reading hand-made trees, writing and reading back, placement of the
// new section, header fields, damaged and hostile images, and the real player when it is built.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "player/ids.h"
#include "tools/pe/pe_resources.h"

namespace {

using Bytes = std::vector<uint8_t>;

// ---- A small PE32 (or PE32+) image, built here independently of the code under test ------------------------

constexpr uint32_t COFF = 0x44;
constexpr uint32_t OPT = 0x58;
constexpr uint32_t SECTION_TABLE = OPT + 224;
constexpr uint32_t FILE_ALIGN = 0x200;
constexpr uint32_t SECTION_ALIGN = 0x1000;
constexpr uint32_t RSRC_FLAGS = 0x40000040;

void put16(Bytes& b, std::size_t at, uint32_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void put32(Bytes& b, std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
// at() so that a wrong offset in a test fails the test instead of crashing it.
uint32_t get16(const Bytes& b, std::size_t at) { return b.at(at) | (b.at(at + 1) << 8); }
uint32_t get32(const Bytes& b, std::size_t at) { return get16(b, at) | (get16(b, at + 2) << 16); }

struct SectionLayout {
    std::string name;
    Bytes raw;  // at most 0x1000 bytes: section i lies at RVA 0x1000 * (i + 1)
    uint32_t characteristics = RSRC_FLAGS;
};

struct ImageLayout {
    std::vector<SectionLayout> sections;
    int resourceSection = -1;  // the section whose start data directory 2 names
    Bytes overlay;
    bool symbolsInOverlay = false;  // the COFF symbol table pointer names the overlay's start
    uint32_t certificateSize = 0;   // the overlay's last bytes are a certificate (data directory 4)
    uint16_t magic = 0x10B;  // 0x20B: PE32+, whose data directories start 16 bytes later
    uint32_t directoryCount = 16;
};

// Where the data directories start in the optional header.
uint32_t directoryBase(uint16_t magic) { return magic == 0x20B ? 112 : 96; }

uint32_t sectionRva(int index) { return SECTION_ALIGN * static_cast<uint32_t>(index + 1); }

uint32_t sectionHeader(int index) { return SECTION_TABLE + 40 * static_cast<uint32_t>(index); }

Bytes makeImage(const ImageLayout& layout) {
    Bytes image(FILE_ALIGN, 0);
    image[0] = 'M';
    image[1] = 'Z';
    put32(image, 0x3C, 0x40);
    std::memcpy(&image[0x40], "PE\0\0", 4);
    const bool plus = layout.magic == 0x20B;
    const uint32_t directories = OPT + directoryBase(layout.magic);
    const uint32_t table = directories + 16 * 8;
    put16(image, COFF, plus ? 0x8664 : 0x14C);
    put16(image, COFF + 2, static_cast<uint32_t>(layout.sections.size()));
    put16(image, COFF + 16, table - OPT);
    put16(image, COFF + 18, plus ? 0x0022 : 0x0102);
    put16(image, OPT, layout.magic);
    put32(image, OPT + 16, 0x1000);
    put32(image, plus ? OPT + 24 : OPT + 28, 0x400000);
    put32(image, OPT + 32, SECTION_ALIGN);
    put32(image, OPT + 36, FILE_ALIGN);
    put16(image, OPT + 40, 4);
    put16(image, OPT + 48, 4);
    put32(image, OPT + 56, SECTION_ALIGN * static_cast<uint32_t>(layout.sections.size() + 1));
    put32(image, OPT + 60, FILE_ALIGN);
    put16(image, OPT + 68, 2);
    put32(image, directories - 4, layout.directoryCount);
    uint32_t initialised = 0;
    for (std::size_t i = 0; i < layout.sections.size(); ++i) {
        const SectionLayout& s = layout.sections[i];
        const uint32_t header = table + 40 * static_cast<uint32_t>(i);
        std::memcpy(&image[header], s.name.data(), std::min<std::size_t>(8, s.name.size()));
        const uint32_t rawSize = static_cast<uint32_t>((s.raw.size() + FILE_ALIGN - 1) / FILE_ALIGN * FILE_ALIGN);
        put32(image, header + 8, static_cast<uint32_t>(s.raw.size()));
        put32(image, header + 12, sectionRva(static_cast<int>(i)));
        put32(image, header + 16, rawSize);
        put32(image, header + 20, static_cast<uint32_t>(image.size()));
        put32(image, header + 36, s.characteristics);
        if (s.characteristics & 0x40) initialised += rawSize;
        image.insert(image.end(), s.raw.begin(), s.raw.end());
        image.resize(image.size() + rawSize - s.raw.size(), 0);
    }
    put32(image, OPT + 8, initialised);
    if (layout.resourceSection >= 0) {
        put32(image, directories + 16, sectionRva(layout.resourceSection));
        put32(image, directories + 20, static_cast<uint32_t>(layout.sections[layout.resourceSection].raw.size()));
    }
    if (layout.symbolsInOverlay) {
        put32(image, COFF + 8, static_cast<uint32_t>(image.size()));
        put32(image, COFF + 12, 1);
    }
    if (layout.certificateSize != 0) {
        put32(image, directories + 32, static_cast<uint32_t>(image.size() + layout.overlay.size() - layout.certificateSize));
        put32(image, directories + 36, layout.certificateSize);
    }
    image.insert(image.end(), layout.overlay.begin(), layout.overlay.end());
    return image;
}

Bytes pattern(std::size_t size, uint32_t seed) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        seed = seed * 1103515245u + 12345u;
        bytes[i] = static_cast<uint8_t>(seed >> 16);
    }
    return bytes;
}

SectionLayout codeSection() { return SectionLayout{".text", pattern(0x300, 1), 0x60000020}; }
SectionLayout dataSection() { return SectionLayout{".data", pattern(0x150, 2), 0xC0000040}; }

// A resource tree written out by hand, offsets counted from its root:
//   0x00 root: "PATCH" -> 0x20, 3 -> 0x40
//   0x20 PATCH: 104 -> 0x58, 105 -> 0x70      0x40 type 3: 1 -> 0x88
//   0x58 104: 1036 -> data 0xA0    0x70 105: 1036 -> data 0xB0    0x88 1: 0 -> data 0xC0
//   0xA0, 0xB0, 0xC0 data entries; 0xD0 the name "PATCH"; 0xE0 "xyz"; 0xE8 01 02 03 04.
constexpr uint32_t HAND_ROOT_ENTRY_3 = 0x18;
constexpr uint32_t HAND_NAME_104_ENTRY = 0x68;
constexpr uint32_t HAND_DATA_104 = 0xA0;
constexpr uint32_t HAND_NAME_TEXT = 0xD0;

void handDirectory(Bytes& tree, uint32_t at, uint32_t named, uint32_t ids) {
    put16(tree, at + 12, named);
    put16(tree, at + 14, ids);
}
void handEntry(Bytes& tree, uint32_t at, uint32_t name, uint32_t target) {
    put32(tree, at, name);
    put32(tree, at + 4, target);
}
void handData(Bytes& tree, uint32_t at, uint32_t rva, uint32_t size, uint32_t codePage) {
    put32(tree, at, rva);
    put32(tree, at + 4, size);
    put32(tree, at + 8, codePage);
}

Bytes handTree(uint32_t rva) {
    Bytes tree(0xEC, 0);
    handDirectory(tree, 0x00, 1, 1);
    handEntry(tree, 0x10, 0x80000000 | HAND_NAME_TEXT, 0x80000020);
    handEntry(tree, HAND_ROOT_ENTRY_3, 3, 0x80000040);
    handDirectory(tree, 0x20, 0, 2);
    handEntry(tree, 0x30, 104, 0x80000058);
    handEntry(tree, 0x38, 105, 0x80000070);
    handDirectory(tree, 0x40, 0, 1);
    handEntry(tree, 0x50, 1, 0x80000088);
    handDirectory(tree, 0x58, 0, 1);
    handEntry(tree, HAND_NAME_104_ENTRY, 1036, HAND_DATA_104);
    handDirectory(tree, 0x70, 0, 1);
    handEntry(tree, 0x80, 1036, 0xB0);
    handDirectory(tree, 0x88, 0, 1);
    handEntry(tree, 0x98, 0, 0xC0);
    handData(tree, HAND_DATA_104, rva + 0xE0, 3, 1252);
    handData(tree, 0xB0, rva + 0xE8, 0, 0);
    handData(tree, 0xC0, rva + 0xE8, 4, 0);
    const char* name = "PATCH";
    put16(tree, HAND_NAME_TEXT, 5);
    for (int i = 0; i < 5; ++i) put16(tree, HAND_NAME_TEXT + 2 + 2 * i, static_cast<uint8_t>(name[i]));
    std::memcpy(&tree[0xE0], "xyz", 3);
    const uint8_t icon[] = {1, 2, 3, 4};
    std::memcpy(&tree[0xE8], icon, 4);
    return tree;
}

// Code, data and the hand-made tree as the last section (its file offset is 0x800).
ImageLayout handImageLayout() {
    ImageLayout layout;
    layout.sections = {codeSection(), dataSection(), SectionLayout{".rsrc", handTree(sectionRva(2))}};
    layout.resourceSection = 2;
    return layout;
}
constexpr uint32_t HAND_RSRC_FILE_OFFSET = 0x800;

ResourceEntry entry(const ResourceKey& type, const ResourceKey& name, uint16_t language, const Bytes& data,
                    uint32_t codePage = 0) {
    ResourceEntry e;
    e.type = type;
    e.name = name;
    e.language = language;
    e.codePage = codePage;
    e.data = data;
    return e;
}

Bytes text(const char* s) { return Bytes(s, s + std::strlen(s)); }

std::string describe(const ResourceEntry& e) {
    auto key = [](const ResourceKey& k) { return k.isString ? "\"" + k.text + "\"" : std::to_string(k.number); };
    return key(e.type) + "/" + key(e.name) + "/" + std::to_string(e.language) + " cp" + std::to_string(e.codePage) +
           " " + std::to_string(e.data.size()) + " bytes";
}

// Entries compared field by field, in order, with readable failures.
void expectEntries(const std::vector<ResourceEntry>& expected, const std::vector<ResourceEntry>& actual) {
    ASSERT_EQ(expected.size(), actual.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(describe(expected[i]), describe(actual[i]));
        EXPECT_EQ(expected[i].type.isString, actual[i].type.isString);
        EXPECT_EQ(expected[i].name.isString, actual[i].name.isString);
        EXPECT_TRUE(expected[i].data == actual[i].data);
    }
}

std::vector<ResourceEntry> handEntries() {
    return {entry(stringKey("PATCH"), numberKey(104), 1036, text("xyz"), 1252),
            entry(stringKey("PATCH"), numberKey(105), 1036, {}),
            entry(numberKey(3), numberKey(1), 0, {1, 2, 3, 4})};
}

std::vector<ResourceEntry> readOk(const Bytes& image) {
    std::vector<ResourceEntry> entries;
    std::string error;
    EXPECT_TRUE(readPeResources(image, &entries, &error)) << error;
    EXPECT_EQ("", error);
    return entries;
}

Bytes writeOk(const Bytes& image, const std::vector<ResourceEntry>& entries) {
    Bytes result;
    std::string error;
    EXPECT_TRUE(writePeResources(image, entries, &result, &error)) << error;
    return result;
}

std::string readError(const Bytes& image) {
    std::vector<ResourceEntry> entries;
    std::string error;
    EXPECT_FALSE(readPeResources(image, &entries, &error));
    EXPECT_TRUE(entries.empty());
    return error;
}

std::string writeError(const Bytes& image, const std::vector<ResourceEntry>& entries) {
    Bytes result;
    std::string error;
    EXPECT_FALSE(writePeResources(image, entries, &result, &error));
    EXPECT_TRUE(result.empty());
    return error;
}

// The CheckSum algorithm as documented: all 16-bit words but the field's own, summed in 64 bits,
// the carries folded in at the end, plus the length.
uint32_t referenceChecksum(const Bytes& image) {
    const std::size_t field = get32(image, 0x3C) + 24 + 64;
    uint64_t sum = 0;
    for (std::size_t i = 0; i < image.size(); i += 2) {
        if (i == field || i == field + 2) continue;
        sum += image[i] | (i + 1 < image.size() ? image[i + 1] << 8 : 0);
    }
    while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<uint32_t>(sum + image.size());
}

uint32_t sectionCount(const Bytes& image) { return get16(image, COFF + 2); }
uint32_t resourceRva(const Bytes& image) { return get32(image, OPT + 96 + 16); }
uint32_t resourceSize(const Bytes& image) { return get32(image, OPT + 96 + 20); }

// ---- Keys ------------------------------------------------------------------------------------------

TEST(ResourceKeys, StringKeysAreUpperCasedInAsciiOnly) {
    EXPECT_EQ("IMG", stringKey("img").text);
    EXPECT_TRUE(stringKey("img").isString);
    EXPECT_EQ("R\xC3\xA9SUM\xC3\xA9_2", stringKey("R\xC3\xA9sum\xC3\xA9_2").text);
    EXPECT_FALSE(numberKey(104).isString);
    EXPECT_EQ(104, numberKey(104).number);
}

TEST(ResourceKeys, SameKeyComparesNumbersAndNamesIgnoringAsciiCase) {
    EXPECT_TRUE(sameKey(numberKey(104), numberKey(104)));
    EXPECT_FALSE(sameKey(numberKey(104), numberKey(105)));
    EXPECT_TRUE(sameKey(stringKey("IMG"), stringKey("img")));
    ResourceKey lower;
    lower.isString = true;
    lower.text = "img";
    EXPECT_TRUE(sameKey(lower, stringKey("IMG")));
    EXPECT_FALSE(sameKey(stringKey("IMG"), stringKey("IMGS")));
    EXPECT_FALSE(sameKey(stringKey("104"), numberKey(104)));
}

// ---- Reading a tree written by hand -----------------------------------------------------------------

TEST(ReadResources, HandMadeTreeGivesEveryResourceInDirectoryOrder) {
    expectEntries(handEntries(), readOk(makeImage(handImageLayout())));
}

TEST(ReadResources, ProgramWithoutResourcesGivesEmptyList) {
    ImageLayout layout;
    layout.sections = {codeSection(), dataSection()};
    EXPECT_TRUE(readOk(makeImage(layout)).empty());
    layout.directoryCount = 2;  // no slot for the resource table at all
    EXPECT_TRUE(readOk(makeImage(layout)).empty());
}

TEST(ReadResources, RefusesWhatIsNotAWindowsProgram) {
    Bytes image = makeImage(handImageLayout());
    Bytes notMz = image;
    notMz[0] = 'Z';
    EXPECT_EQ("not a Windows program (no MZ header)", readError(notMz));
    EXPECT_EQ("not a Windows program (no MZ header)", readError(Bytes{'M', 'Z'}));
    EXPECT_EQ("not a Windows program (no MZ header)", readError(Bytes()));
    Bytes farHeader = image;
    put32(farHeader, 0x3C, 0xFFFFFFF0);
    EXPECT_EQ("not a Windows program (no PE header)", readError(farHeader));
    Bytes noSignature = image;
    noSignature[0x41] = 'X';
    EXPECT_EQ("not a Windows program (no PE header)", readError(noSignature));
    ImageLayout layout = handImageLayout();
    layout.magic = 0x107;
    EXPECT_EQ("not a Windows program (optional header magic 0x107)", readError(makeImage(layout)));
    Bytes tooManySections = image;
    put16(tooManySections, COFF + 2, 97);
    EXPECT_EQ("the program's headers are damaged: 97 sections", readError(tooManySections));
    Bytes shortOptional = image;
    put16(shortOptional, COFF + 16, 60);
    EXPECT_EQ("the program's headers are damaged: optional header of 60 bytes", readError(shortOptional));
}

// What play needs to choose Wine's loader: the program's bitness, from its optional header's magic.
TEST(ReadResources, ProgramBitnessComesFromTheMagic) {
    ImageLayout layout = handImageLayout();
    bool is64Bit = true;
    std::string error;
    EXPECT_TRUE(readProgramBitness(makeImage(layout), &is64Bit, &error)) << error;
    EXPECT_FALSE(is64Bit);
    layout.magic = 0x20B;
    EXPECT_TRUE(readProgramBitness(makeImage(layout), &is64Bit, &error)) << error;
    EXPECT_TRUE(is64Bit);
    EXPECT_FALSE(readProgramBitness(text("#!/bin/sh\n"), &is64Bit, &error));
    EXPECT_EQ("not a Windows program (no MZ header)", error);
}

TEST(ReadResources, EveryTruncationFailsCleanlyUntilTheTreeIsWhole) {
    const Bytes image = makeImage(handImageLayout());
    const std::size_t treeEnd = HAND_RSRC_FILE_OFFSET + 0xEC;
    for (std::size_t length = 0; length <= image.size(); ++length) {
        SCOPED_TRACE(length);
        const Bytes cut(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(length));
        std::vector<ResourceEntry> entries;
        std::string error;
        const bool ok = readPeResources(cut, &entries, &error);
        ASSERT_EQ(length >= treeEnd, ok) << error;
        if (ok) {
            expectEntries(handEntries(), entries);
        } else {
            ASSERT_FALSE(error.empty());
        }
    }
}

Bytes damagedHandImage(void (*damage)(Bytes& tree)) {
    ImageLayout layout = handImageLayout();
    damage(layout.sections[2].raw);
    return makeImage(layout);
}

TEST(ReadResources, DamagedTreesNameWhatIsWrong) {
    EXPECT_EQ("resource section is damaged: directory at offset 0x0 is reached twice (a loop)",
              readError(damagedHandImage([](Bytes& t) { handEntry(t, HAND_ROOT_ENTRY_3, 3, 0x80000000); })));
    EXPECT_EQ("resource section is damaged: directory at offset 0x20 is reached twice (a loop)",
              readError(damagedHandImage([](Bytes& t) { handEntry(t, 0x50, 1, 0x80000020); })));
    EXPECT_EQ("resource section is damaged: directory at offset 0x0 claims 65536 entries, more than the section holds",
              readError(damagedHandImage([](Bytes& t) { handDirectory(t, 0, 1, 0xFFFF); })));
    EXPECT_EQ("resource section is damaged: directory at offset 0x7FFFFFFF lies outside the section",
              readError(damagedHandImage([](Bytes& t) { handEntry(t, HAND_ROOT_ENTRY_3, 3, 0xFFFFFFFF); })));
    EXPECT_EQ("resource section is damaged: name at offset 0x7FFF0000 lies outside the section",
              readError(damagedHandImage([](Bytes& t) { put32(t, 0x10, 0xFFFF0000); })));
    EXPECT_EQ("resource section is damaged: name at offset 0xD0 runs past the end of the section",
              readError(damagedHandImage([](Bytes& t) { put16(t, HAND_NAME_TEXT, 0x4000); })));
    EXPECT_EQ("resource section is damaged: name at offset 0xD0 is not valid UTF-16",
              readError(damagedHandImage([](Bytes& t) { put16(t, HAND_NAME_TEXT + 4, 0xD800); })));
    EXPECT_EQ("resource section is damaged: name at offset 0xD0 is not valid UTF-16",
              readError(damagedHandImage([](Bytes& t) { put16(t, HAND_NAME_TEXT + 2, 0xDC00); })));
    EXPECT_EQ("resource section is damaged: type 3 points to data instead of a directory",
              readError(damagedHandImage([](Bytes& t) { handEntry(t, HAND_ROOT_ENTRY_3, 3, 0xC0); })));
    EXPECT_EQ("resource section is damaged: resource PATCH 104 has a language given by name",
              readError(damagedHandImage([](Bytes& t) { put32(t, HAND_NAME_104_ENTRY, 0x800000D0); })));
    EXPECT_EQ("resource section is damaged: resource PATCH 104 (language 1036) points to a fourth directory level",
              readError(damagedHandImage([](Bytes& t) { handEntry(t, HAND_NAME_104_ENTRY, 1036, 0x80000088); })));
    EXPECT_EQ("resource section is damaged: data entry of resource PATCH 104 (language 1036) lies outside the section",
              readError(damagedHandImage([](Bytes& t) { handEntry(t, HAND_NAME_104_ENTRY, 1036, 0x7FFFFFF8); })));
    EXPECT_EQ("resource section is damaged: data of resource PATCH 104 (language 1036) lies outside the file",
              readError(damagedHandImage([](Bytes& t) { put32(t, HAND_DATA_104, 0x7FFFFFF0); })));
    EXPECT_EQ("resource section is damaged: data of resource PATCH 104 (language 1036) lies outside the file",
              readError(damagedHandImage([](Bytes& t) { put32(t, HAND_DATA_104 + 4, 0x200); })));
    EXPECT_EQ("resource section is damaged: its resources add up to more than the file",
              readError(damagedHandImage([](Bytes& t) { put32(t, HAND_DATA_104 + 4, 0xFFFFFFFF); })));
}

TEST(ReadResources, OverlappingDirectoriesAreRefused) {
    // 4000 name directories 8 bytes apart, each read as a header and one language entry that lie
    // over its neighbours': their sizes add up to more than the section, which no sound tree does.
    const uint32_t names = 4000;
    const uint32_t typeDirectory = 0x18;
    const uint32_t overlapping = typeDirectory + 16 + 8 * names;
    const uint32_t dataEntry = 0x10000;
    Bytes tree(dataEntry + 16, 0);
    handDirectory(tree, 0, 0, 1);
    handEntry(tree, 0x10, 1, 0x80000000 | typeDirectory);
    handDirectory(tree, typeDirectory, 0, names);
    for (uint32_t i = 0; i < names; ++i)
        handEntry(tree, typeDirectory + 16 + 8 * i, i, 0x80000000 | (overlapping + 8 * i));
    // Every 8 bytes: language 0 -> the data entry; as a header's counts that reads 0 named, 1 numbered.
    for (uint32_t i = 0; i < names + 2; ++i) handEntry(tree, overlapping + 8 * i, 0, dataEntry);
    ImageLayout layout;
    layout.sections = {codeSection(), SectionLayout{".rsrc", tree}};
    layout.resourceSection = 1;
    EXPECT_EQ("resource section is damaged: its directories overlap", readError(makeImage(layout)));
}

TEST(ReadResources, ResourceDirectoryOutsideEverySection) {
    Bytes image = makeImage(handImageLayout());
    put32(image, OPT + 96 + 16, 0x9000);
    EXPECT_EQ("resource section is damaged: its directory (RVA 0x9000) lies outside the file", readError(image));
}

// ---- Writing ---------------------------------------------------------------------------------------

// Code and data: headers up to 0x200, .text up to 0x600, .data up to 0x800.
ImageLayout plainLayout() {
    ImageLayout layout;
    layout.sections = {codeSection(), dataSection()};
    return layout;
}
constexpr uint32_t PLAIN_END = 0x800;

TEST(WriteResources, OneResourceGivesExactSectionAndHeaders) {
    const Bytes image = makeImage(plainLayout());
    const Bytes result = writeOk(image, {entry(numberKey(10), numberKey(1), 0, text("abc"), 1252)});
    ASSERT_EQ(PLAIN_END + 0x200, result.size());  // the new section takes 0x200 bytes
    EXPECT_EQ(3u, sectionCount(result));
    const uint32_t header = sectionHeader(2);
    EXPECT_EQ(0, std::memcmp(&result[header], ".rsrc\0\0\0", 8));
    EXPECT_EQ(0x5Bu, get32(result, header + 8));
    EXPECT_EQ(0x3000u, get32(result, header + 12));
    EXPECT_EQ(0x200u, get32(result, header + 16));
    EXPECT_EQ(PLAIN_END, get32(result, header + 20));
    EXPECT_EQ(RSRC_FLAGS, get32(result, header + 36));
    EXPECT_EQ(0x3000u, resourceRva(result));
    EXPECT_EQ(0x5Bu, resourceSize(result));
    EXPECT_EQ(0x4000u, get32(result, OPT + 56));                  // SizeOfImage
    EXPECT_EQ(get32(image, OPT + 8) + 0x200, get32(result, OPT + 8));  // SizeOfInitializedData
    EXPECT_EQ(referenceChecksum(result), get32(result, OPT + 64));
    EXPECT_NE(0u, get32(result, OPT + 64));

    // Root 0x00 -> type 10 at 0x18 -> name 1 at 0x30 -> language 0: data entry 0x48 -> data 0x58.
    Bytes expected(0x200, 0);
    handDirectory(expected, 0x00, 0, 1);
    handEntry(expected, 0x10, 10, 0x80000018);
    handDirectory(expected, 0x18, 0, 1);
    handEntry(expected, 0x28, 1, 0x80000030);
    handDirectory(expected, 0x30, 0, 1);
    handEntry(expected, 0x40, 0, 0x48);
    handData(expected, 0x48, 0x3058, 3, 1252);
    std::memcpy(&expected[0x58], "abc", 3);
    EXPECT_TRUE(Bytes(result.begin() + PLAIN_END, result.end()) == expected);
    // Everything before the new section is the original but for the edited header fields.
    Bytes before(result.begin(), result.begin() + PLAIN_END);
    for (uint32_t field : {COFF + 2, OPT + 8, OPT + 56, OPT + 64, OPT + 96 + 16, OPT + 96 + 20}) {
        put32(before, field, get32(image, field));
    }
    std::fill(before.begin() + header, before.begin() + header + 40, 0);
    put16(before, COFF + 2, 2);
    EXPECT_TRUE(before == Bytes(image.begin(), image.end()));
}

TEST(WriteResources, NamesAreStoredAsUpperCaseUtf16Once) {
    const Bytes result = writeOk(makeImage(plainLayout()), {entry(stringKey("img"), stringKey("img"), 0, text("p"))});
    // Root, type and name directories (0x18 each), one data entry, then the single stored name.
    const std::size_t names = PLAIN_END + 3 * 0x18 + 0x10;
    EXPECT_EQ(0x80000000u | (names - PLAIN_END), get32(result, PLAIN_END + 0x10));
    EXPECT_EQ(0x80000000u | (names - PLAIN_END), get32(result, PLAIN_END + 0x18 + 0x10));
    EXPECT_EQ(3u, get16(result, names));
    EXPECT_EQ(uint32_t{'I'}, get16(result, names + 2));
    EXPECT_EQ(uint32_t{'M'}, get16(result, names + 4));
    EXPECT_EQ(uint32_t{'G'}, get16(result, names + 6));
}

TEST(WriteResources, RoundTripSortsNamesFirstThenNumbersAndLanguages) {
    const Bytes big = pattern(100 * 1024, 7);
    std::vector<ResourceEntry> given = {
        entry(numberKey(3), numberKey(2), 1036, text("icon 2 fr")),
        entry(stringKey("PATCH"), numberKey(105), 0, {}),
        entry(numberKey(14), numberKey(1004), 1033, text("group 1004")),
        entry(numberKey(3), numberKey(2), 0, text("icon 2 neutral")),
        entry(stringKey("IMG"), numberKey(401), 0, big, 1252),
        entry(numberKey(14), stringKey("a"), 1033, text("group A")),
        entry(stringKey("PATCH"), numberKey(104), 0, text("content")),
        entry(numberKey(3), numberKey(1), 1033, text("icon 1")),
        entry(numberKey(3), numberKey(2), 1033, text("icon 2 us")),
        entry(stringKey("PATCHES"), stringKey("Z"), 7, text("z")),
        entry(stringKey("PATCH"), stringKey("README"), 0, text("text")),
    };
    const std::vector<ResourceEntry> sorted = {
        entry(stringKey("IMG"), numberKey(401), 0, big, 1252),
        entry(stringKey("PATCH"), stringKey("README"), 0, text("text")),
        entry(stringKey("PATCH"), numberKey(104), 0, text("content")),
        entry(stringKey("PATCH"), numberKey(105), 0, {}),
        entry(stringKey("PATCHES"), stringKey("Z"), 7, text("z")),
        entry(numberKey(3), numberKey(1), 1033, text("icon 1")),
        entry(numberKey(3), numberKey(2), 0, text("icon 2 neutral")),
        entry(numberKey(3), numberKey(2), 1033, text("icon 2 us")),
        entry(numberKey(3), numberKey(2), 1036, text("icon 2 fr")),
        entry(numberKey(14), stringKey("A"), 1033, text("group A")),
        entry(numberKey(14), numberKey(1004), 1033, text("group 1004")),
    };
    const Bytes result = writeOk(makeImage(plainLayout()), given);
    expectEntries(sorted, readOk(result));
    // The first resource's data entry, followed from the root: data on an 8-byte boundary.
    const uint32_t base = resourceRva(result);
    const std::size_t root = PLAIN_END;
    const uint32_t firstType = get32(result, root + 0x14) & 0x7FFFFFFF;
    const uint32_t firstName = get32(result, root + firstType + 0x14) & 0x7FFFFFFF;
    const uint32_t dataEntry = get32(result, root + firstName + 0x14);
    EXPECT_EQ(0u, (get32(result, root + dataEntry) - base) % 8);
    EXPECT_EQ(100u * 1024, get32(result, root + dataEntry + 4));
    EXPECT_EQ(1252u, get32(result, root + dataEntry + 8));
}

TEST(WriteResources, EmptyListLeavesAnEmptyRootDirectory) {
    const Bytes result = writeOk(makeImage(handImageLayout()), {});
    EXPECT_TRUE(readOk(result).empty());
    EXPECT_EQ(16u, resourceSize(result));
    EXPECT_EQ(3u, sectionCount(result));
}

TEST(WriteResources, NamesOutsideAsciiSurviveUnchanged) {
    const std::string name = "CH\xC3\x82TEAU\xF0\x9F\x8F\xB0";  // U+00C2 and U+1F3F0 (two UTF-16 units)
    const Bytes result = writeOk(makeImage(plainLayout()), {entry(stringKey("img"), stringKey(name), 0, text("x"))});
    const std::vector<ResourceEntry> back = readOk(result);
    ASSERT_EQ(1u, back.size());
    EXPECT_EQ("IMG", back[0].type.text);
    EXPECT_EQ(name, back[0].name.text);
}

TEST(WriteResources, LastResourceSectionIsRebuiltInPlace) {
    const Bytes image = makeImage(handImageLayout());
    const std::vector<ResourceEntry> entries = {entry(stringKey("PATCH"), numberKey(104), 0, pattern(0x900, 3)),
                                                entry(stringKey("IMG"), numberKey(401), 0, pattern(0x10, 4))};
    const Bytes result = writeOk(image, entries);
    EXPECT_EQ(3u, sectionCount(result));
    const uint32_t header = sectionHeader(2);
    EXPECT_EQ(0x3000u, get32(result, header + 12));
    EXPECT_EQ(HAND_RSRC_FILE_OFFSET, get32(result, header + 20));
    const uint32_t size = resourceSize(result);
    EXPECT_EQ(size, get32(result, header + 8));
    EXPECT_EQ((size + 0x1FF) / 0x200 * 0x200, get32(result, header + 16));
    EXPECT_EQ(HAND_RSRC_FILE_OFFSET + get32(result, header + 16), result.size());
    EXPECT_EQ(0x3000u + (size + 0xFFF) / 0x1000 * 0x1000, get32(result, OPT + 56));
    EXPECT_EQ(get32(image, OPT + 8) - 0x200 + get32(result, header + 16), get32(result, OPT + 8));
    EXPECT_TRUE(std::equal(image.begin() + 0x200, image.begin() + HAND_RSRC_FILE_OFFSET, result.begin() + 0x200));
    expectEntries({entries[1], entries[0]}, readOk(result));
    // The same resources once more give the same bytes.
    EXPECT_TRUE(writeOk(result, entries) == result);
}

TEST(WriteResources, MiddleResourceSectionStaysAndANewOneIsAdded) {
    ImageLayout layout;
    layout.sections = {codeSection(), SectionLayout{".rsrc", handTree(sectionRva(1))}, dataSection()};
    layout.resourceSection = 1;
    const Bytes image = makeImage(layout);
    expectEntries(handEntries(), readOk(image));

    std::vector<ResourceEntry> entries = handEntries();
    entries.push_back(entry(stringKey("IMG"), numberKey(401), 0, pattern(0x2345, 9)));
    const Bytes result = writeOk(image, entries);
    EXPECT_EQ(4u, sectionCount(result));
    const uint32_t header = sectionHeader(3);
    EXPECT_EQ(0x4000u, get32(result, header + 12));
    EXPECT_EQ(image.size(), get32(result, header + 20));
    EXPECT_EQ(0x4000u, resourceRva(result));
    EXPECT_EQ(0x4000u + (resourceSize(result) + 0xFFF) / 0x1000 * 0x1000, get32(result, OPT + 56));
    EXPECT_TRUE(std::equal(image.begin() + 0x200, image.end(), result.begin() + 0x200));
    // The stale section keeps its bytes under another name, so that no tool takes it for the resources.
    EXPECT_EQ(0, std::memcmp(&result[sectionHeader(1)], ".oldrsrc", 8));
    EXPECT_EQ(0, std::memcmp(&result[sectionHeader(3)], ".rsrc\0\0\0", 8));
    expectEntries({entries[3], entries[0], entries[1], entries[2]}, readOk(result));

    // Written again, the new section is the last one and is rebuilt where it is: same bytes.
    EXPECT_TRUE(writeOk(result, entries) == result);
    // Other resources and then the first ones again come back to the same program too.
    const Bytes other = writeOk(result, {entry(numberKey(5), numberKey(1001), 1036, pattern(0x5000, 5))});
    EXPECT_EQ(4u, sectionCount(other));
    EXPECT_TRUE(writeOk(other, entries) == result);
}

TEST(WriteResources, ResourcesInAnotherSectionAreNotOverwritten) {
    // The tree starts inside .data (not at a section of its own): a new section is added.
    ImageLayout layout;
    Bytes data = pattern(0x40, 5);
    const Bytes tree = handTree(sectionRva(1) + 0x40);
    data.insert(data.end(), tree.begin(), tree.end());
    layout.sections = {codeSection(), SectionLayout{".data", data, 0xC0000040}};
    const Bytes image = [&] {
        Bytes b = makeImage(layout);
        put32(b, OPT + 96 + 16, sectionRva(1) + 0x40);
        return b;
    }();
    expectEntries(handEntries(), readOk(image));
    const Bytes result = writeOk(image, {entry(numberKey(1), numberKey(1), 0, text("one"))});
    EXPECT_EQ(3u, sectionCount(result));
    EXPECT_TRUE(std::equal(image.begin() + 0x200, image.end(), result.begin() + 0x200));
}

TEST(WriteResources, OverlayAndSymbolTableFollowTheNewSection) {
    ImageLayout layout = plainLayout();
    layout.overlay = text("SYMBOLS AND STRINGS OF THE COFF SYMBOL TABLE");
    layout.symbolsInOverlay = true;
    const Bytes image = makeImage(layout);
    const Bytes result = writeOk(image, {entry(numberKey(1), numberKey(1), 0, pattern(0x250, 1))});
    const uint32_t newOverlay = PLAIN_END + 0x400;
    ASSERT_EQ(newOverlay + layout.overlay.size(), result.size());
    EXPECT_TRUE(Bytes(result.begin() + newOverlay, result.end()) == layout.overlay);
    EXPECT_EQ(newOverlay, get32(result, COFF + 8));
    EXPECT_EQ(1u, get32(result, COFF + 12));
    // In place the second time: the overlay moves with the section's new size.
    const Bytes again = writeOk(result, {entry(numberKey(1), numberKey(1), 0, pattern(0x10, 1))});
    ASSERT_EQ(PLAIN_END + 0x200 + layout.overlay.size(), again.size());
    EXPECT_TRUE(Bytes(again.begin() + PLAIN_END + 0x200, again.end()) == layout.overlay);
    EXPECT_EQ(PLAIN_END + 0x200, get32(again, COFF + 8));
    EXPECT_EQ(referenceChecksum(again), get32(again, OPT + 64));
}

TEST(WriteResources, CertificateIsDroppedWithItsBytes) {
    ImageLayout layout = plainLayout();
    layout.overlay = text("payload|CERTIFICATE");
    layout.certificateSize = 11;
    const Bytes image = makeImage(layout);
    const Bytes result = writeOk(image, {entry(numberKey(1), numberKey(1), 0, text("a"))});
    EXPECT_EQ(0u, get32(result, OPT + 96 + 32));
    EXPECT_EQ(0u, get32(result, OPT + 96 + 36));
    EXPECT_EQ("payload|", std::string(result.end() - 8, result.end()));
    EXPECT_EQ(PLAIN_END + 0x200 + 8, result.size());
}

// A 64-bit program takes resources as a 32-bit one does: the same sections, with the data
// directories (resources, certificate) 16 bytes further into the optional header.
TEST(WriteResources, Pe32PlusProgramsAreReadAndRewrittenAlike) {
    for (const bool middle : {false, true}) {
        SCOPED_TRACE(middle ? "resources in a middle section" : "resources in the last section");
        ImageLayout layout;
        layout.magic = 0x20B;
        const int rsrc = middle ? 1 : 2;
        layout.sections = {codeSection(), dataSection()};
        layout.sections.insert(layout.sections.begin() + rsrc, SectionLayout{".rsrc", handTree(sectionRva(rsrc))});
        layout.resourceSection = rsrc;
        layout.overlay = text("payload|CERTIFICATE");
        layout.certificateSize = 11;
        const Bytes image = makeImage(layout);
        const uint32_t directories = OPT + 112;
        expectEntries(handEntries(), readOk(image));

        std::vector<ResourceEntry> entries = handEntries();
        entries.push_back(entry(stringKey("IMG"), numberKey(401), 0, pattern(0x1234, 7)));
        const Bytes result = writeOk(image, entries);
        expectEntries({entries[3], entries[0], entries[1], entries[2]}, readOk(result));
        const uint32_t newRva = middle ? 0x4000u : 0x3000u;
        EXPECT_EQ(newRva, get32(result, directories + 16));
        EXPECT_EQ(0u, get32(result, directories + 32));  // the certificate is dropped
        EXPECT_EQ(0u, get32(result, directories + 36));
        // The PE32 places of those fields are the PE32+ image base and stack sizes: untouched.
        for (uint32_t field : {OPT + 24u, OPT + 28u, OPT + 72u, OPT + 76u, OPT + 80u, OPT + 84u, OPT + 96u, OPT + 108u})
            EXPECT_EQ(get32(image, field), get32(result, field)) << "offset " << field - OPT;
        EXPECT_EQ(referenceChecksum(result), get32(result, OPT + 64));
        EXPECT_TRUE(writeOk(result, entries) == result);
    }
}

TEST(WriteResources, RefusesDuplicatesAndEmptyNames) {
    const Bytes image = makeImage(plainLayout());
    ResourceKey lower;
    lower.isString = true;
    lower.text = "img";
    EXPECT_EQ("resource img 401 (language 0) is given twice",
              writeError(image, {entry(stringKey("IMG"), numberKey(401), 0, text("a")),
                                 entry(lower, numberKey(401), 0, text("b"))}));
    EXPECT_EQ("resource 3 1 (language 1036) is given twice",
              writeError(image, {entry(numberKey(3), numberKey(1), 1036, text("a")),
                                 entry(numberKey(3), numberKey(2), 1036, text("b")),
                                 entry(numberKey(3), numberKey(1), 1036, text("c"))}));
    EXPECT_EQ("a resource type or name cannot be an empty text",
              writeError(image, {entry(stringKey(""), numberKey(1), 0, text("a"))}));
    EXPECT_EQ("resource name \"A\\xFF\" is not valid UTF-8: ",
              writeError(image, {entry(stringKey("A\xFF"), numberKey(1), 0, text("a"))})
                  .substr(0, std::string("resource name \"A\\xFF\" is not valid UTF-8: ").size()));
}

TEST(WriteResources, RefusesImagesThatCannotTakeANewSection) {
    // Five sections fill the table up to the first section's data: no room for a sixth header.
    ImageLayout full;
    for (int i = 0; i < 5; ++i) full.sections.push_back(dataSection());
    const std::vector<ResourceEntry> one = {entry(numberKey(1), numberKey(1), 0, text("a"))};
    EXPECT_EQ("no room in the program's headers for another section", writeError(makeImage(full), one));
    // The same with the tree as the last section: rebuilt in place, no new header needed.
    full.sections.back() = SectionLayout{".rsrc", handTree(sectionRva(4))};
    full.resourceSection = 4;
    EXPECT_EQ(5u, sectionCount(writeOk(makeImage(full), one)));

    Bytes busy = makeImage(plainLayout());
    busy[sectionHeader(2) + 10] = 0xAA;  // data kept after the section table
    EXPECT_EQ("no free room in the program's headers for another section", writeError(busy, one));

    ImageLayout noSlot = plainLayout();
    noSlot.directoryCount = 2;
    EXPECT_EQ("the program's header has no slot for a resource table", writeError(makeImage(noSlot), one));

    Bytes badAlignment = makeImage(plainLayout());
    put32(badAlignment, OPT + 36, 0x300);
    EXPECT_EQ("the program's headers are damaged: file alignment 0x300, section alignment 0x1000",
              writeError(badAlignment, one));

    // PE32+ headers are 16 bytes longer: four sections already leave no room for a fifth header.
    ImageLayout wide;
    wide.magic = 0x20B;
    for (int i = 0; i < 4; ++i) wide.sections.push_back(dataSection());
    EXPECT_EQ("no room in the program's headers for another section", writeError(makeImage(wide), one));
    wide.sections.pop_back();
    EXPECT_EQ(4u, sectionCount(writeOk(makeImage(wide), one)));
}

// Headers and section data that overlap: the header of the rebuilt or new section would be written
// into a section's data, or past the end of the program written.
TEST(WriteResources, SectionDataInsideTheSectionTableIsRefused) {
    const std::vector<ResourceEntry> one = {entry(numberKey(1), numberKey(1), 0, text("a"))};
    Bytes codeInTable = makeImage(handImageLayout());
    put32(codeInTable, sectionHeader(0) + 20, 0x100);
    EXPECT_EQ("the program's headers are damaged: the data of section .text starts inside the section table",
              writeError(codeInTable, one));

    // 96 sections, the last one the resources, whose data starts right after the headers, inside the
    // table: rebuilt in place, its header would land far past the short program written.
    ImageLayout layout = handImageLayout();
    Bytes crowded = makeImage(layout);
    crowded.resize(0x2000, 0);
    put16(crowded, COFF + 2, 96);
    for (int i = 0; i < 96; ++i) std::memset(&crowded[sectionHeader(i)], 0, 40);
    std::memcpy(&crowded[sectionHeader(95)], ".rsrc", 5);
    for (const uint32_t field : {8u, 16u}) put32(crowded, sectionHeader(95) + field, 0x1000);
    put32(crowded, sectionHeader(95) + 12, sectionRva(95));
    put32(crowded, sectionHeader(95) + 20, FILE_ALIGN);
    put32(crowded, OPT + 96 + 16, sectionRva(95));
    EXPECT_EQ("the program's headers are damaged: headers of 0x200 bytes for a section table ending at 0x1038",
              writeError(crowded, one));
    put32(crowded, OPT + 60, 0x1038);
    EXPECT_EQ("the program's headers are damaged: the data of section .rsrc starts inside the section table",
              writeError(crowded, one));
}

// A directory (here the imports) naming an address past every section: the new section goes past it,
// so that the directory never points into the resources and the program takes another rebuild.
TEST(WriteResources, DirectoriesPastEverySectionStayOutsideTheNewSection) {
    for (const uint16_t magic : {uint16_t{0x10B}, uint16_t{0x20B}}) {
        SCOPED_TRACE(magic);
        ImageLayout layout = plainLayout();
        layout.magic = magic;
        Bytes image = makeImage(layout);
        const uint32_t imports = OPT + directoryBase(magic) + 8;
        put32(image, imports, 0x3000);
        put32(image, imports + 4, 0x1800);
        const std::vector<ResourceEntry> entries = {entry(stringKey("PATCH"), numberKey(104), 0, pattern(0x300, 1))};
        const Bytes result = writeOk(image, entries);
        EXPECT_EQ(0x5000u, get32(result, OPT + directoryBase(magic) + 16));
        EXPECT_EQ(0x3000u, get32(result, imports));
        expectEntries(entries, readOk(result));
        EXPECT_TRUE(writeOk(result, entries) == result);
        // A rebuilt last section must not grow over such a directory either: a new one is added.
        Bytes after = result;
        put32(after, imports, 0x7000);
        const Bytes again = writeOk(after, {entry(stringKey("IMG"), numberKey(401), 0, pattern(0x5000, 2))});
        EXPECT_EQ(4u, sectionCount(again));
        EXPECT_EQ(0x9000u, get32(again, OPT + directoryBase(magic) + 16));
    }
}

TEST(WriteResources, TruncatedProgramsAreRefused) {
    const Bytes image = makeImage(handImageLayout());
    const std::vector<ResourceEntry> one = {entry(numberKey(1), numberKey(1), 0, text("a"))};
    for (std::size_t length = 0; length < image.size(); length += 7) {
        SCOPED_TRACE(length);
        const Bytes cut(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(length));
        ASSERT_FALSE(writeError(cut, one).empty());
    }
    const Bytes cut(image.begin(), image.end() - 1);
    EXPECT_EQ("the program is truncated: section .rsrc ends past the end of the file", writeError(cut, one));
}

// ---- The real player, when its path is given ----------------------------------------------------------

bool hasResource(const std::vector<ResourceEntry>& entries, const ResourceKey& type, const ResourceKey& name) {
    return std::any_of(entries.begin(), entries.end(),
                       [&](const ResourceEntry& e) { return sameKey(e.type, type) && sameKey(e.name, name); });
}

// Set TRIVO_PLAYER_EXE to the MinGW build's app/trivo.exe to check against what windres and ld make.
TEST(RealPlayer, ReadsAndRewritesThePlayersResources) {
    const char* path = std::getenv("TRIVO_PLAYER_EXE");
    if (path == nullptr || *path == '\0') GTEST_SKIP() << "TRIVO_PLAYER_EXE is not set";
    std::ifstream file(path, std::ios::binary);
    ASSERT_TRUE(file.good()) << path;
    const Bytes image((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // ld fills in the checksum: our reference agrees with it.
    ASSERT_GT(image.size(), 0x400u);
    EXPECT_EQ(referenceChecksum(image), get32(image, get32(image, 0x3C) + 24 + 64));

    const std::vector<ResourceEntry> player = readOk(image);
    EXPECT_TRUE(hasResource(player, numberKey(5), numberKey(IDD_PAGE)));
    EXPECT_TRUE(hasResource(player, numberKey(12), numberKey(IDC_LINK_CURSOR)));
    EXPECT_TRUE(hasResource(player, numberKey(14), numberKey(IDI_PLAY)));
    EXPECT_TRUE(hasResource(player, numberKey(14), numberKey(IDI_STOP)));
    EXPECT_TRUE(hasResource(player, numberKey(14), stringKey("A")));
    auto ofType = [&](uint16_t type) {
        return std::count_if(player.begin(), player.end(),
                             [&](const ResourceEntry& e) { return sameKey(e.type, numberKey(type)); });
    };
    EXPECT_GE(ofType(3), 3);  // at least one image for each of the three icons
    EXPECT_EQ(1, ofType(1));  // the cursor's image

    std::vector<ResourceEntry> quiz = player;
    quiz.push_back(entry(stringKey("PATCH"), numberKey(104), 1036, pattern(3000, 1)));
    quiz.push_back(entry(stringKey("PATCH"), numberKey(105), 1036, pattern(200, 2)));
    quiz.push_back(entry(stringKey("IMG"), numberKey(401), 1036, pattern(50000, 3)));
    const Bytes result = writeOk(image, quiz);
    const std::vector<ResourceEntry> back = readOk(result);
    ASSERT_EQ(quiz.size(), back.size());
    for (const ResourceEntry& e : quiz) {
        SCOPED_TRACE(describe(e));
        EXPECT_EQ(1, std::count_if(back.begin(), back.end(), [&](const ResourceEntry& b) {
                      return sameKey(b.type, e.type) && sameKey(b.name, e.name) && b.language == e.language &&
                             b.data == e.data && b.codePage == e.codePage;
                  }));
    }
    EXPECT_EQ(referenceChecksum(result), get32(result, get32(result, 0x3C) + 24 + 64));
    EXPECT_TRUE(writeOk(result, quiz) == result);
    const char* out = std::getenv("TRIVO_PLAYER_OUT");
    if (out != nullptr && *out != '\0') {
        std::ofstream(out, std::ios::binary).write(reinterpret_cast<const char*>(result.data()),
                                                   static_cast<std::streamsize>(result.size()));
    }
}

}  // namespace
