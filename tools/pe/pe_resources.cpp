// Reading and rewriting the resources of a Windows program image (PE32 or PE32+), byte by byte with
// every offset checked: the image comes from the user and may be anything. Layout notes (Microsoft
// PE/COFF format):
//   DOS header "MZ", its field e_lfanew at 0x3C gives the "PE\0\0" signature, followed by the
//   20-byte COFF file header, the optional header (magic 0x10B for PE32, 0x20B for the 64-bit
//   PE32+) ending in the data directories, then one 40-byte header per section. Every field this
//   file touches sits at the same offset in both kinds, except the directory count and table, which
//   PE32+ moves 16 bytes further (its image base and stack sizes are 64-bit).
//   Data directory 2 gives the resource tree: three levels of directories (type, name, language),
//   each a 16-byte header and 8-byte entries, named entries first; the leaves are 16-byte data
//   entries (RVA, size, code page). Offsets inside the tree count from its root; data is an RVA.
#include "tools/pe/pe_resources.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#include "tools/support/cp1252.h"
#include "tools/support/little_endian.h"
#include "tools/support/text.h"
#include "tools/support/translation.h"

namespace {

constexpr uint32_t DOS_LFANEW_OFFSET = 0x3C;
constexpr uint32_t COFF_HEADER_SIZE = 20;
// The optional header up to its data directories.
constexpr uint32_t PE32_FIXED_OPTIONAL_SIZE = 96;
constexpr uint32_t PE32_PLUS_FIXED_OPTIONAL_SIZE = 112;
constexpr uint16_t PE32_MAGIC = 0x10B;
constexpr uint16_t PE32_PLUS_MAGIC = 0x20B;
constexpr uint32_t SECTION_HEADER_SIZE = 40;
constexpr uint32_t MAX_SECTIONS = 96;  // the Windows loader refuses more
constexpr uint32_t DIRECTORY_RESOURCE = 2;
constexpr uint32_t DIRECTORY_CERTIFICATE = 4;
constexpr uint32_t MAX_DIRECTORIES = 16;

// Offsets inside the COFF file header and the optional header (the same in PE32 and PE32+, except
// the directory count, which sits just before the directories: 92 in PE32, 108 in PE32+).
constexpr uint32_t COFF_SECTION_COUNT = 2;
constexpr uint32_t COFF_SYMBOL_TABLE = 8;
constexpr uint32_t COFF_SYMBOL_COUNT = 12;
constexpr uint32_t COFF_OPTIONAL_SIZE = 16;
constexpr uint32_t OPT_INITIALIZED_DATA = 8;
constexpr uint32_t OPT_SECTION_ALIGNMENT = 32;
constexpr uint32_t OPT_FILE_ALIGNMENT = 36;
constexpr uint32_t OPT_SIZE_OF_IMAGE = 56;
constexpr uint32_t OPT_SIZE_OF_HEADERS = 60;
constexpr uint32_t OPT_CHECKSUM = 64;
// Offsets inside a section header; its name comes first, 8 bytes padded with zeros.
constexpr uint32_t SECTION_NAME_SIZE = 8;
constexpr uint32_t SECTION_VIRTUAL_SIZE = 8;
constexpr uint32_t SECTION_VIRTUAL_ADDRESS = 12;
constexpr uint32_t SECTION_RAW_SIZE = 16;
constexpr uint32_t SECTION_RAW_POINTER = 20;
constexpr uint32_t SECTION_CHARACTERISTICS = 36;

constexpr uint32_t RESOURCE_DIRECTORY_SIZE = 16;
constexpr uint32_t RESOURCE_ENTRY_SIZE = 8;
constexpr uint32_t RESOURCE_DATA_ENTRY_SIZE = 16;
constexpr uint32_t HIGH_BIT = 0x80000000u;
// Initialised data, readable: what resource compilers give .rsrc.
constexpr uint32_t RSRC_CHARACTERISTICS = 0x40000040u;
// Resource data starts on 8-byte boundaries, as resource compilers place it.
constexpr uint32_t RESOURCE_DATA_ALIGNMENT = 8;
// Far above any quiz, and low enough that every offset and RVA computed below fits in 32 bits.
constexpr uint64_t MAX_RESOURCE_BYTES = 0x40000000u;
// The highest end a program image may reach (the Windows loader refuses images of 2 GB and more).
constexpr uint64_t MAX_IMAGE_END = 0x80000000u;

struct PeSection {
    std::size_t headerOffset = 0;
    std::string name;
    uint32_t virtualSize = 0;
    uint32_t virtualAddress = 0;
    uint32_t rawSize = 0;
    uint32_t rawPointer = 0;
};

struct PeHeaders {
    std::size_t coffOffset = 0;
    std::size_t optionalOffset = 0;
    std::size_t sectionTableOffset = 0;
    uint32_t sectionAlignment = 0;
    uint32_t fileAlignment = 0;
    uint32_t sizeOfHeaders = 0;
    uint32_t fixedOptionalSize = 0;  // where the data directories start in the optional header
    uint32_t directoryCount = 0;     // data directories the optional header really holds
    std::vector<PeSection> sections;
};

std::string hex(uint64_t value) {
    char text[24];
    snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
    return text;
}

bool fail(std::string* error, const std::string& message) {
    if (error != nullptr) *error = message;
    return false;
}

bool damaged(std::string* error, const std::string& detail) {
    return fail(error, fillIn(tr("resource section is damaged: {1}"), detail));
}

std::size_t directoryOffset(const PeHeaders& pe, uint32_t index) {
    return pe.optionalOffset + pe.fixedOptionalSize + 8 * static_cast<std::size_t>(index);
}

// The RVA and size of data directory index, or zeros when the header does not hold it.
void readDirectoryEntry(const std::vector<uint8_t>& image, const PeHeaders& pe, uint32_t index,
                        uint32_t* rva, uint32_t* size) {
    *rva = 0;
    *size = 0;
    if (index >= pe.directoryCount) return;
    *rva = get32(image, directoryOffset(pe, index));
    *size = get32(image, directoryOffset(pe, index) + 4);
}

// Everything up to and including the section table, checked against the file's length.
bool parseHeaders(const std::vector<uint8_t>& image, PeHeaders* pe, std::string* error) {
    if (image.size() < 64 || image[0] != 'M' || image[1] != 'Z')
        return fail(error, tr("not a Windows program (no MZ header)"));
    const uint64_t signature = get32(image, DOS_LFANEW_OFFSET);
    if (signature + 4 + COFF_HEADER_SIZE > image.size() || image[signature] != 'P' || image[signature + 1] != 'E' ||
        image[signature + 2] != 0 || image[signature + 3] != 0)
        return fail(error, tr("not a Windows program (no PE header)"));
    pe->coffOffset = static_cast<std::size_t>(signature + 4);
    pe->optionalOffset = pe->coffOffset + COFF_HEADER_SIZE;
    const uint32_t optionalSize = get16(image, pe->coffOffset + COFF_OPTIONAL_SIZE);
    if (pe->optionalOffset + 2 > image.size()) return fail(error, tr("the program is truncated inside its headers"));
    const uint16_t magic = get16(image, pe->optionalOffset);
    if (magic == PE32_MAGIC)
        pe->fixedOptionalSize = PE32_FIXED_OPTIONAL_SIZE;
    else if (magic == PE32_PLUS_MAGIC)
        pe->fixedOptionalSize = PE32_PLUS_FIXED_OPTIONAL_SIZE;
    else
        return fail(error, fillIn(tr("not a Windows program (optional header magic {1})"), hex(magic)));
    if (optionalSize < pe->fixedOptionalSize)
        return fail(error, fillIn(tr("the program's headers are damaged: optional header of {1} bytes"), optionalSize));
    if (pe->optionalOffset + optionalSize > image.size())
        return fail(error, tr("the program is truncated inside its headers"));

    pe->sectionAlignment = get32(image, pe->optionalOffset + OPT_SECTION_ALIGNMENT);
    pe->fileAlignment = get32(image, pe->optionalOffset + OPT_FILE_ALIGNMENT);
    pe->sizeOfHeaders = get32(image, pe->optionalOffset + OPT_SIZE_OF_HEADERS);
    // The count field may claim more directories than the header has room for: believe the room.
    const uint32_t claimed = get32(image, pe->optionalOffset + pe->fixedOptionalSize - 4);
    pe->directoryCount = std::min({claimed, (optionalSize - pe->fixedOptionalSize) / 8, MAX_DIRECTORIES});

    const uint32_t count = get16(image, pe->coffOffset + COFF_SECTION_COUNT);
    if (count > MAX_SECTIONS)
        return fail(error, fillIn(tr("the program's headers are damaged: {1} sections"), count));
    pe->sectionTableOffset = pe->optionalOffset + optionalSize;
    if (pe->sectionTableOffset + static_cast<uint64_t>(count) * SECTION_HEADER_SIZE > image.size())
        return fail(error, tr("the program is truncated inside its section table"));
    pe->sections.clear();
    for (uint32_t i = 0; i < count; ++i) {
        PeSection section;
        section.headerOffset = pe->sectionTableOffset + i * SECTION_HEADER_SIZE;
        const char* name = reinterpret_cast<const char*>(&image[section.headerOffset]);
        section.name.assign(name, std::find(name, name + SECTION_NAME_SIZE, '\0'));
        section.virtualSize = get32(image, section.headerOffset + SECTION_VIRTUAL_SIZE);
        section.virtualAddress = get32(image, section.headerOffset + SECTION_VIRTUAL_ADDRESS);
        section.rawSize = get32(image, section.headerOffset + SECTION_RAW_SIZE);
        section.rawPointer = get32(image, section.headerOffset + SECTION_RAW_POINTER);
        pe->sections.push_back(section);
    }
    return true;
}

uint64_t alignUp(uint64_t value, uint32_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

// The section's span in memory as the loader maps it: its virtual size rounded up to the section
// alignment, or its raw size when the virtual size is zero.
uint64_t virtualSpan(const PeSection& section, uint32_t sectionAlignment) {
    if (section.virtualSize == 0) return section.rawSize;
    const bool usable = sectionAlignment != 0 && (sectionAlignment & (sectionAlignment - 1)) == 0;
    return usable ? alignUp(section.virtualSize, sectionAlignment) : section.virtualSize;
}

// The bytes at the section's start that come from the file: the loader copies no more raw data
// than the section's span.
uint64_t fileBackedBytes(const PeSection& section, std::size_t fileSize, uint32_t sectionAlignment) {
    if (section.rawPointer >= fileSize) return 0;
    return std::min({uint64_t{section.rawSize}, uint64_t{fileSize - section.rawPointer},
                     virtualSpan(section, sectionAlignment)});
}

// The file offset of length bytes at rva, when one section's file data holds them all.
bool rvaToFile(const PeHeaders& pe, std::size_t fileSize, uint32_t rva, uint64_t length, std::size_t* offset) {
    for (const PeSection& section : pe.sections) {
        if (rva < section.virtualAddress) continue;
        const uint64_t into = rva - section.virtualAddress;
        const uint64_t available = fileBackedBytes(section, fileSize, pe.sectionAlignment);
        if (into < available && length <= available - into) {
            *offset = static_cast<std::size_t>(section.rawPointer + into);
            return true;
        }
    }
    return false;
}

// ---- Reading the resource tree ------------------------------------------------------------------

struct TreeReader {
    const std::vector<uint8_t>* image = nullptr;
    std::size_t root = 0;  // file offset of the root directory
    uint64_t size = 0;     // bytes from the root to the end of its section's data in the file
    std::set<uint32_t> visited;
    uint64_t directoryBytes = 0;
    uint64_t dataBytes = 0;
};

struct RawEntry {
    uint32_t name;    // high bit: offset of a name string; else the number in the low word
    uint32_t target;  // high bit: offset of a subdirectory; else offset of a data entry
};

bool inTree(const TreeReader& tree, uint32_t offset, uint64_t length) {
    return offset <= tree.size && length <= tree.size - offset;
}

// One directory's entries. A directory reached twice means the tree loops or shares branches;
// and since directories never overlap in a sound tree, their bytes cannot add up to more than the
// section: both bounds keep a hostile tree from making the walk long or the list huge.
bool readTreeDirectory(TreeReader* tree, uint32_t offset, std::vector<RawEntry>* entries, std::string* error) {
    if (!inTree(*tree, offset, RESOURCE_DIRECTORY_SIZE))
        return damaged(error, fillIn(tr("directory at offset {1} lies outside the section"), hex(offset)));
    if (!tree->visited.insert(offset).second)
        return damaged(error, fillIn(tr("directory at offset {1} is reached twice (a loop)"), hex(offset)));
    const std::size_t at = tree->root + offset;
    const uint64_t count = static_cast<uint64_t>(get16(*tree->image, at + 12)) + get16(*tree->image, at + 14);
    const uint64_t bytes = RESOURCE_DIRECTORY_SIZE + count * RESOURCE_ENTRY_SIZE;
    if (!inTree(*tree, offset, bytes))
        return damaged(error, fillIn(tr("directory at offset {1} claims {2} entries, more than the section holds"),
                                     hex(offset), count));
    tree->directoryBytes += bytes;
    if (tree->directoryBytes > tree->size) return damaged(error, tr("its directories overlap"));
    entries->clear();
    for (uint64_t i = 0; i < count; ++i) {
        const std::size_t entry = static_cast<std::size_t>(at + RESOURCE_DIRECTORY_SIZE + i * RESOURCE_ENTRY_SIZE);
        entries->push_back(RawEntry{get32(*tree->image, entry), get32(*tree->image, entry + 4)});
    }
    return true;
}

// Names are UTF-16 in the file. They are kept as UTF-8, so that a name outside ASCII survives a
// read and write unchanged instead of being refused or turned into question marks.
bool readTreeKey(const TreeReader& tree, uint32_t field, ResourceKey* key, std::string* error) {
    *key = ResourceKey();
    if ((field & HIGH_BIT) == 0) {
        // The loader reads the number as the low word of the field.
        key->number = static_cast<uint16_t>(field);
        return true;
    }
    const uint32_t offset = field & ~HIGH_BIT;
    if (!inTree(tree, offset, 2)) return damaged(error, fillIn(tr("name at offset {1} lies outside the section"), hex(offset)));
    const uint32_t length = get16(*tree.image, tree.root + offset);
    if (!inTree(tree, offset, 2 + 2 * static_cast<uint64_t>(length)))
        return damaged(error, fillIn(tr("name at offset {1} runs past the end of the section"), hex(offset)));
    key->isString = true;
    const std::size_t text = tree.root + offset + 2;
    for (uint32_t i = 0; i < length; ++i) {
        uint32_t unit = get16(*tree.image, text + 2 * i);
        if (unit >= 0xDC00 && unit <= 0xDFFF)
            return damaged(error, fillIn(tr("name at offset {1} is not valid UTF-16"), hex(offset)));
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            const uint32_t low = i + 1 < length ? get16(*tree.image, text + 2 * (i + 1)) : 0;
            if (low < 0xDC00 || low > 0xDFFF)
                return damaged(error, fillIn(tr("name at offset {1} is not valid UTF-16"), hex(offset)));
            unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            ++i;
        }
        appendUtf8(unit, &key->text);
    }
    return true;
}

// Names come from the program and may hold anything: they are escaped for the messages.
std::string keyText(const ResourceKey& key) {
    return key.isString ? printable(key.text) : std::to_string(key.number);
}

std::string resourceText(const ResourceKey& type, const ResourceKey& name, uint16_t language) {
    return fillIn(tr("resource {1} {2} (language {3})"), keyText(type), keyText(name), language);
}

bool readTreeData(TreeReader* tree, const PeHeaders& pe, uint32_t offset, ResourceEntry* entry, std::string* error) {
    if (!inTree(*tree, offset, RESOURCE_DATA_ENTRY_SIZE))
        return damaged(error, fillIn(tr("data entry of {1} lies outside the section"),
                                     resourceText(entry->type, entry->name, entry->language)));
    const std::size_t at = tree->root + offset;
    const uint32_t rva = get32(*tree->image, at);
    const uint32_t size = get32(*tree->image, at + 4);
    entry->codePage = get32(*tree->image, at + 8);
    if (size == 0) return true;  // nothing to read, wherever it points
    // Sound resources never share bytes, so together they fit in the file: this bounds the memory
    // a hostile tree can make us copy.
    tree->dataBytes += size;
    if (tree->dataBytes > tree->image->size()) return damaged(error, tr("its resources add up to more than the file"));
    std::size_t data = 0;
    if (!rvaToFile(pe, tree->image->size(), rva, size, &data))
        return damaged(error, fillIn(tr("data of {1} lies outside the file"),
                                     resourceText(entry->type, entry->name, entry->language)));
    entry->data.assign(tree->image->begin() + data, tree->image->begin() + data + size);
    return true;
}

// ---- Building a resource section ------------------------------------------------------------------

// A key as it is written: names as UTF-16 in upper case.
struct WriteKey {
    bool isString = false;
    uint16_t number = 0;
    std::u16string units;
};

bool keyLess(const WriteKey& a, const WriteKey& b) {
    // Named entries come first, in ordinal order of their UTF-16 units (the loader upper-cases the
    // name it looks for and searches them with an ordinal comparison); then numbers, ascending.
    if (a.isString != b.isString) return a.isString;
    if (a.isString) return a.units < b.units;
    return a.number < b.number;
}

bool keyEqual(const WriteKey& a, const WriteKey& b) {
    return a.isString == b.isString && (a.isString ? a.units == b.units : a.number == b.number);
}

// Names are upper-cased in ASCII as resource compilers store them, since the loader finds names
// only in upper case; characters outside ASCII are written as given.
bool toWriteKey(const ResourceKey& key, WriteKey* out, std::string* error) {
    *out = WriteKey();
    out->isString = key.isString;
    if (!key.isString) {
        out->number = key.number;
        return true;
    }
    if (key.text.empty()) return fail(error, tr("a resource type or name cannot be an empty text"));
    std::size_t offset = 0;
    while (offset < key.text.size()) {
        uint32_t codePoint = 0;
        std::string why;
        if (!decodeUtf8Char(key.text, &offset, &codePoint, &why))
            return fail(error, fillIn(tr("resource name {1} is not valid UTF-8: {2}"), quotedText(key.text, '"'), why));
        if (codePoint >= 'a' && codePoint <= 'z') codePoint -= 'a' - 'A';
        if (codePoint >= 0x10000) {
            out->units.push_back(static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10)));
            out->units.push_back(static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF)));
        } else {
            out->units.push_back(static_cast<char16_t>(codePoint));
        }
    }
    if (out->units.size() > 0xFFFF)
        return fail(error, fillIn(tr("resource name {1} is too long"), quotedText(key.text.substr(0, 40) + "...", '"')));
    return true;
}

struct WriteItem {
    WriteKey type;
    WriteKey name;
    uint16_t language = 0;
    const ResourceEntry* entry = nullptr;
};

bool itemLess(const WriteItem& a, const WriteItem& b) {
    if (!keyEqual(a.type, b.type)) return keyLess(a.type, b.type);
    if (!keyEqual(a.name, b.name)) return keyLess(a.name, b.name);
    return a.language < b.language;
}

// A run of sorted items sharing a key: one directory entry at its level.
struct Group {
    std::size_t first = 0;
    std::size_t count = 0;
};

std::vector<Group> groupsOf(const std::vector<WriteItem>& items, std::size_t first, std::size_t count,
                            bool byType) {
    std::vector<Group> groups;
    for (std::size_t i = first; i < first + count; ++i) {
        const WriteKey& key = byType ? items[i].type : items[i].name;
        const WriteKey* previous = groups.empty() ? nullptr
                                                  : (byType ? &items[groups.back().first].type
                                                            : &items[groups.back().first].name);
        if (previous != nullptr && keyEqual(*previous, key)) {
            ++groups.back().count;
        } else {
            groups.push_back(Group{i, 1});
        }
    }
    return groups;
}

uint64_t directoryBytes(std::size_t entries) {
    return RESOURCE_DIRECTORY_SIZE + RESOURCE_ENTRY_SIZE * static_cast<uint64_t>(entries);
}

struct TreeWriter {
    std::vector<uint8_t> bytes;
    std::map<std::u16string, uint32_t> names;  // name text to its offset; equal names are stored once
};

uint32_t keyField(const TreeWriter& tree, const WriteKey& key) {
    return key.isString ? (HIGH_BIT | tree.names.at(key.units)) : key.number;
}

// A directory's header and entries; subdirectory targets get the high bit.
template <typename KeyOf, typename TargetOf>
void writeDirectory(TreeWriter* tree, uint32_t offset, std::size_t count, KeyOf keyOf, TargetOf targetOf) {
    std::size_t named = 0;
    for (std::size_t i = 0; i < count; ++i) named += keyOf(i).isString ? 1 : 0;
    put16(&tree->bytes, offset + 12, static_cast<uint32_t>(named));
    put16(&tree->bytes, offset + 14, static_cast<uint32_t>(count - named));
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = offset + RESOURCE_DIRECTORY_SIZE + i * RESOURCE_ENTRY_SIZE;
        put32(&tree->bytes, entry, keyField(*tree, keyOf(i)));
        put32(&tree->bytes, entry + 4, targetOf(i));
    }
}

// The section's bytes for sorted, distinct items, to be placed at sectionRva. Layout: the root,
// every type directory, every name directory, the data entries, the names, then the data.
bool buildResourceSection(const std::vector<WriteItem>& items, uint32_t sectionRva, std::vector<uint8_t>* out,
                          std::string* error) {
    const std::vector<Group> types = groupsOf(items, 0, items.size(), true);
    std::vector<std::vector<Group>> namesOfType;
    for (const Group& type : types) namesOfType.push_back(groupsOf(items, type.first, type.count, false));

    // The directory headers count named and numbered entries in 16 bits each.
    auto tooMany = [](const std::vector<Group>& groups) { return groups.size() > 0xFFFF; };
    if (tooMany(types)) return fail(error, tr("too many resource types (at most 65535)"));
    for (std::size_t t = 0; t < types.size(); ++t) {
        if (tooMany(namesOfType[t])) return fail(error, tr("too many resources of one type (at most 65535)"));
        for (const Group& name : namesOfType[t])
            if (name.count > 0xFFFF) return fail(error, tr("too many languages of one resource (at most 65535)"));
    }

    uint64_t offset = directoryBytes(types.size());
    std::vector<uint32_t> typeDirectory, nameDirectory;
    for (std::size_t t = 0; t < types.size(); ++t) {
        typeDirectory.push_back(static_cast<uint32_t>(offset));
        offset += directoryBytes(namesOfType[t].size());
    }
    for (std::size_t t = 0; t < types.size(); ++t) {
        for (const Group& name : namesOfType[t]) {
            nameDirectory.push_back(static_cast<uint32_t>(offset));
            offset += directoryBytes(name.count);
        }
    }
    const uint64_t dataEntries = offset;
    offset += RESOURCE_DATA_ENTRY_SIZE * static_cast<uint64_t>(items.size());

    TreeWriter tree;
    for (const WriteItem& item : items) {
        for (const WriteKey* key : {&item.type, &item.name}) {
            if (!key->isString || tree.names.count(key->units) != 0) continue;
            tree.names[key->units] = static_cast<uint32_t>(offset);
            offset += 2 + 2 * static_cast<uint64_t>(key->units.size());
        }
    }
    std::vector<uint32_t> dataOffset;
    for (const WriteItem& item : items) {
        offset = alignUp(offset, RESOURCE_DATA_ALIGNMENT);
        dataOffset.push_back(static_cast<uint32_t>(offset));
        offset += item.entry->data.size();
        if (offset > MAX_RESOURCE_BYTES) return fail(error, tr("the resources add up to more than 1 GB"));
    }

    tree.bytes.assign(static_cast<std::size_t>(offset), 0);
    writeDirectory(&tree, 0, types.size(), [&](std::size_t t) { return items[types[t].first].type; },
                   [&](std::size_t t) { return HIGH_BIT | typeDirectory[t]; });
    std::size_t nameIndex = 0;
    for (std::size_t t = 0; t < types.size(); ++t) {
        const std::vector<Group>& names = namesOfType[t];
        writeDirectory(&tree, typeDirectory[t], names.size(),
                       [&](std::size_t n) { return items[names[n].first].name; },
                       [&](std::size_t n) { return HIGH_BIT | nameDirectory[nameIndex + n]; });
        for (const Group& name : names) {
            writeDirectory(&tree, nameDirectory[nameIndex], name.count,
                           [&](std::size_t l) {
                               WriteKey language;
                               language.number = items[name.first + l].language;
                               return language;
                           },
                           [&](std::size_t l) {
                               return static_cast<uint32_t>(dataEntries + RESOURCE_DATA_ENTRY_SIZE * (name.first + l));
                           });
            ++nameIndex;
        }
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::size_t entry = static_cast<std::size_t>(dataEntries + RESOURCE_DATA_ENTRY_SIZE * i);
        put32(&tree.bytes, entry, sectionRva + dataOffset[i]);
        put32(&tree.bytes, entry + 4, static_cast<uint32_t>(items[i].entry->data.size()));
        put32(&tree.bytes, entry + 8, items[i].entry->codePage);
        std::copy(items[i].entry->data.begin(), items[i].entry->data.end(), tree.bytes.begin() + dataOffset[i]);
    }
    for (const auto& name : tree.names) {
        put16(&tree.bytes, name.second, static_cast<uint32_t>(name.first.size()));
        for (std::size_t i = 0; i < name.first.size(); ++i) put16(&tree.bytes, name.second + 2 + 2 * i, name.first[i]);
    }
    *out = std::move(tree.bytes);
    return true;
}

// ---- Writing the program image --------------------------------------------------------------------

bool isPowerOfTwo(uint32_t value) {
    return value != 0 && (value & (value - 1)) == 0;
}

// Validate: the headers must have a slot for the resource table, sound alignments, and a section
// table that a new section header can be written into.
bool checkHeadersForWriting(const std::vector<uint8_t>& image, const PeHeaders& pe, std::string* error) {
    if (pe.directoryCount <= DIRECTORY_RESOURCE)
        return fail(error, tr("the program's header has no slot for a resource table"));
    if (!isPowerOfTwo(pe.fileAlignment) || pe.fileAlignment > 0x10000 || !isPowerOfTwo(pe.sectionAlignment) ||
        pe.sectionAlignment < pe.fileAlignment)
        return fail(error, fillIn(tr("the program's headers are damaged: file alignment {1}, section alignment {2}"),
                                  hex(pe.fileAlignment), hex(pe.sectionAlignment)));
    // A section header is written into the table: the table must lie within the headers and before
    // every section's data, or that header would land in (or past) the data written after it.
    const uint64_t tableEnd = pe.sectionTableOffset + pe.sections.size() * uint64_t{SECTION_HEADER_SIZE};
    if (pe.sizeOfHeaders > image.size() || pe.sizeOfHeaders < tableEnd)
        return fail(error, fillIn(tr("the program's headers are damaged: headers of {1} bytes for a section table "
                                     "ending at {2}"),
                                  hex(pe.sizeOfHeaders), hex(tableEnd)));
    for (const PeSection& section : pe.sections) {
        if (section.rawSize != 0 && section.rawPointer < tableEnd)
            return fail(error, fillIn(tr("the program's headers are damaged: the data of section {1} starts inside the "
                                         "section table"),
                                      printable(section.name)));
    }
    return true;
}

// Where the program's contents end, in the file and in memory.
struct ImageExtent {
    uint64_t rawEnd = 0;      // the end of the last section's data in the file (the headers' at least)
    uint64_t firstRaw = 0;    // where the first section's data starts in the file
    uint64_t virtualEnd = 0;  // past every section and everything a directory points to, aligned
};

// Validate, then measure: every section is copied as it is, so each must be whole in the file.
bool measureImage(const std::vector<uint8_t>& image, const PeHeaders& pe, ImageExtent* extent, std::string* error) {
    extent->rawEnd = pe.sizeOfHeaders;
    extent->virtualEnd = alignUp(pe.sizeOfHeaders, pe.sectionAlignment);
    extent->firstRaw = pe.sizeOfHeaders;
    for (const PeSection& section : pe.sections) {
        if (section.rawSize != 0) {
            const uint64_t rawEnd = static_cast<uint64_t>(section.rawPointer) + section.rawSize;
            if (rawEnd > image.size())
                return fail(error, fillIn(tr("the program is truncated: section {1} ends past the end of the file"),
                                          printable(section.name)));
            extent->rawEnd = std::max(extent->rawEnd, rawEnd);
            extent->firstRaw = std::min<uint64_t>(extent->firstRaw, section.rawPointer);
        }
        extent->virtualEnd = std::max(
            extent->virtualEnd,
            alignUp(section.virtualAddress + virtualSpan(section, pe.sectionAlignment), pe.sectionAlignment));
    }
    // What the loader finds through the other directories (imports, relocations, ...) may lie past
    // every section: a new section placed there would cover it, and the next rebuild would find a
    // directory inside the resources. The certificate's address is a file offset, not an RVA.
    for (uint32_t d = 0; d < pe.directoryCount; ++d) {
        if (d == DIRECTORY_RESOURCE || d == DIRECTORY_CERTIFICATE) continue;
        uint32_t rva = 0, size = 0;
        readDirectoryEntry(image, pe, d, &rva, &size);
        if (rva != 0)
            extent->virtualEnd =
                std::max(extent->virtualEnd, alignUp(uint64_t{rva} + std::max(size, 1u), pe.sectionAlignment));
    }
    return true;
}

// Order: the entries as the directory holds them, sorted; a resource given twice is refused.
bool orderedItems(const std::vector<ResourceEntry>& entries, std::vector<WriteItem>* items, std::string* error) {
    items->clear();
    for (const ResourceEntry& entry : entries) {
        WriteItem item;
        if (!toWriteKey(entry.type, &item.type, error) || !toWriteKey(entry.name, &item.name, error)) return false;
        if (entry.data.size() > MAX_RESOURCE_BYTES)
            return fail(error, fillIn(tr("{1} is larger than 1 GB"), resourceText(entry.type, entry.name, entry.language)));
        item.language = entry.language;
        item.entry = &entry;
        items->push_back(item);
    }
    std::stable_sort(items->begin(), items->end(), itemLess);
    for (std::size_t i = 1; i < items->size(); ++i) {
        if (!itemLess((*items)[i - 1], (*items)[i])) {
            const ResourceEntry& twice = *(*items)[i].entry;
            return fail(error, fillIn(tr("{1} is given twice"), resourceText(twice.type, twice.name, twice.language)));
        }
    }
    return true;
}

// Where the new resource section goes.
struct Placement {
    uint32_t oldRva = 0;     // the resource table the program had, 0 for none
    int replaced = -1;       // the section rebuilt in place, or -1 for a section added after all others
    uint64_t rva = 0;        // the new section's address in memory
    uint64_t raw = 0;        // and in the file
    uint64_t keptBytes = 0;  // the image's bytes kept as they are, from its start
};

// The index of a last section that holds exactly the resource tree and nothing the loader reads
// besides, or -1.
int replaceableSection(const std::vector<uint8_t>& image, const PeHeaders& pe, uint32_t oldRva) {
    if (pe.sections.empty()) return -1;
    const PeSection& last = pe.sections.back();
    if (last.name != ".rsrc" || oldRva == 0 || oldRva != last.virtualAddress || last.rawSize == 0) return -1;
    if (last.rawPointer < pe.sizeOfHeaders) return -1;
    for (std::size_t i = 0; i + 1 < pe.sections.size(); ++i) {
        const PeSection& other = pe.sections[i];
        if (other.virtualAddress + virtualSpan(other, pe.sectionAlignment) > last.virtualAddress) return -1;
        if (other.rawSize != 0 && static_cast<uint64_t>(other.rawPointer) + other.rawSize > last.rawPointer)
            return -1;
    }
    // Nothing else the loader reads may live in it or after it, where a larger section would
    // reach (the certificate's address is a file offset).
    for (uint32_t d = 0; d < pe.directoryCount; ++d) {
        if (d == DIRECTORY_RESOURCE || d == DIRECTORY_CERTIFICATE) continue;
        uint32_t rva = 0, size = 0;
        readDirectoryEntry(image, pe, d, &rva, &size);
        if (rva != 0 && rva >= last.virtualAddress) return -1;
    }
    return static_cast<int>(pe.sections.size()) - 1;
}

// Place: a last section that holds exactly the resource tree is rebuilt in place, so rewriting a
// program does not grow it each time. Otherwise the new section is added after all others and the
// old one stays, unreferenced: sections after it (relocations, debug data) cannot move, since code
// and tables refer to their addresses.
bool placeSection(const std::vector<uint8_t>& image, const PeHeaders& pe, const ImageExtent& extent,
                  Placement* placement, std::string* error) {
    uint32_t oldSize = 0;
    readDirectoryEntry(image, pe, DIRECTORY_RESOURCE, &placement->oldRva, &oldSize);
    placement->replaced = replaceableSection(image, pe, placement->oldRva);
    if (placement->replaced >= 0) {
        const PeSection& old = pe.sections[static_cast<std::size_t>(placement->replaced)];
        placement->rva = old.virtualAddress;
        placement->raw = old.rawPointer;
        placement->keptBytes = old.rawPointer;
    } else {
        const uint64_t headerEnd = pe.sectionTableOffset + (pe.sections.size() + 1) * uint64_t{SECTION_HEADER_SIZE};
        if (pe.sections.size() >= MAX_SECTIONS || headerEnd > std::min<uint64_t>(pe.sizeOfHeaders, extent.firstRaw))
            return fail(error, tr("no room in the program's headers for another section"));
        // Some linkers keep data (bound imports) after the section table: never write over it.
        for (uint64_t i = headerEnd - SECTION_HEADER_SIZE; i < headerEnd; ++i)
            if (image[static_cast<std::size_t>(i)] != 0)
                return fail(error, tr("no free room in the program's headers for another section"));
        placement->rva = extent.virtualEnd;
        placement->raw = alignUp(extent.rawEnd, pe.fileAlignment);
        placement->keptBytes = extent.rawEnd;
    }
    if (placement->rva >= MAX_IMAGE_END) return fail(error, tr("the program is too large to take its resources"));
    return true;
}

// The new section's bytes and what follows them in the file.
struct Layout {
    std::vector<uint8_t> section;
    uint64_t sectionRawSize = 0;  // the section's bytes in the file, aligned
    uint64_t imageEnd = 0;        // SizeOfImage with the section
    // The overlay: bytes past the last section (MinGW's symbol table, an appended payload), and
    // where they move to.
    uint64_t overlayStart = 0, overlayEnd = 0, newOverlayStart = 0;
};

// Lay out: the resource section built for its address, and the overlay moved behind it, so
// readers that find it from the file's end still do. A certificate is dropped: the signature no
// longer matches, and it must not be left pointing into other data.
bool layOut(const std::vector<uint8_t>& image, const PeHeaders& pe, const ImageExtent& extent,
            const std::vector<WriteItem>& items, const Placement& placement, Layout* layout, std::string* error) {
    if (!buildResourceSection(items, static_cast<uint32_t>(placement.rva), &layout->section, error)) return false;
    layout->sectionRawSize = alignUp(layout->section.size(), pe.fileAlignment);
    layout->imageEnd = alignUp(placement.rva + layout->section.size(), pe.sectionAlignment);
    if (layout->imageEnd > MAX_IMAGE_END) return fail(error, tr("the program with its resources would exceed 2 GB"));
    layout->overlayStart = extent.rawEnd;
    layout->overlayEnd = image.size();
    uint32_t certificateOffset = 0, certificateSize = 0;
    readDirectoryEntry(image, pe, DIRECTORY_CERTIFICATE, &certificateOffset, &certificateSize);
    if (certificateOffset != 0 && certificateOffset >= layout->overlayStart && certificateOffset < layout->overlayEnd)
        layout->overlayEnd = certificateOffset;
    layout->newOverlayStart = placement.raw + layout->sectionRawSize;
    if (layout->newOverlayStart + (layout->overlayEnd - layout->overlayStart) > MAX_IMAGE_END)
        return fail(error, tr("the program with its resources would exceed 2 GB"));
    return true;
}

// Assemble: the bytes kept, the new section, then the overlay.
void assembleImage(const std::vector<uint8_t>& image, const Placement& placement, const Layout& layout,
                   std::vector<uint8_t>* result) {
    result->assign(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(placement.keptBytes));
    result->resize(static_cast<std::size_t>(placement.raw), 0);
    result->insert(result->end(), layout.section.begin(), layout.section.end());
    result->resize(static_cast<std::size_t>(layout.newOverlayStart), 0);
    result->insert(result->end(), image.begin() + static_cast<std::ptrdiff_t>(layout.overlayStart),
                   image.begin() + static_cast<std::ptrdiff_t>(layout.overlayEnd));
}

// Patch the headers, 1: the new section's header. A new one gets its name and flags, and an old
// .rsrc left behind is renamed: tools that look for resources by section name (objdump) would
// show the stale ones.
void patchSectionTable(const PeHeaders& pe, const Placement& placement, const Layout& layout,
                       std::vector<uint8_t>* result) {
    std::size_t header;
    if (placement.replaced >= 0) {
        header = pe.sections[static_cast<std::size_t>(placement.replaced)].headerOffset;
    } else {
        header = pe.sectionTableOffset + pe.sections.size() * SECTION_HEADER_SIZE;
        const char name[SECTION_NAME_SIZE] = {'.', 'r', 's', 'r', 'c', 0, 0, 0};
        std::fill(result->begin() + header, result->begin() + header + SECTION_HEADER_SIZE, 0);
        std::copy(name, name + SECTION_NAME_SIZE, result->begin() + header);
        put32(result, header + SECTION_CHARACTERISTICS, RSRC_CHARACTERISTICS);
        put16(result, pe.coffOffset + COFF_SECTION_COUNT, static_cast<uint32_t>(pe.sections.size() + 1));
        for (const PeSection& old : pe.sections) {
            if (old.name != ".rsrc" || placement.oldRva < old.virtualAddress ||
                placement.oldRva - old.virtualAddress >= virtualSpan(old, pe.sectionAlignment))
                continue;
            const char stale[SECTION_NAME_SIZE] = {'.', 'o', 'l', 'd', 'r', 's', 'r', 'c'};
            std::copy(stale, stale + SECTION_NAME_SIZE, result->begin() + old.headerOffset);
        }
    }
    put32(result, header + SECTION_VIRTUAL_SIZE, static_cast<uint32_t>(layout.section.size()));
    put32(result, header + SECTION_VIRTUAL_ADDRESS, static_cast<uint32_t>(placement.rva));
    put32(result, header + SECTION_RAW_SIZE, static_cast<uint32_t>(layout.sectionRawSize));
    put32(result, header + SECTION_RAW_POINTER, static_cast<uint32_t>(placement.raw));
}

// Patch the headers, 2: the optional header's sizes, the resource table's slot, and the
// certificate's, emptied.
void patchOptionalHeader(const std::vector<uint8_t>& image, const PeHeaders& pe, const Placement& placement,
                         const Layout& layout, std::vector<uint8_t>* result) {
    // An informational sum of the initialised sections' raw sizes, kept consistent.
    int64_t initialisedData = get32(image, pe.optionalOffset + OPT_INITIALIZED_DATA);
    if (placement.replaced >= 0) initialisedData -= pe.sections[static_cast<std::size_t>(placement.replaced)].rawSize;
    initialisedData = std::min<int64_t>(
        std::max<int64_t>(initialisedData + static_cast<int64_t>(layout.sectionRawSize), 0), 0xFFFFFFFF);
    put32(result, pe.optionalOffset + OPT_INITIALIZED_DATA, static_cast<uint32_t>(initialisedData));
    put32(result, pe.optionalOffset + OPT_SIZE_OF_IMAGE, static_cast<uint32_t>(layout.imageEnd));
    put32(result, directoryOffset(pe, DIRECTORY_RESOURCE), static_cast<uint32_t>(placement.rva));
    put32(result, directoryOffset(pe, DIRECTORY_RESOURCE) + 4, static_cast<uint32_t>(layout.section.size()));
    if (pe.directoryCount > DIRECTORY_CERTIFICATE) {
        put32(result, directoryOffset(pe, DIRECTORY_CERTIFICATE), 0);
        put32(result, directoryOffset(pe, DIRECTORY_CERTIFICATE) + 4, 0);
    }
}

// Patch the headers, 3: the COFF symbol table follows the overlay it lives in; one that pointed
// into bytes now gone is cleared rather than left pointing at something else.
void patchSymbolTable(const std::vector<uint8_t>& image, const PeHeaders& pe, const Placement& placement,
                      const Layout& layout, std::vector<uint8_t>* result) {
    const uint32_t symbols = get32(image, pe.coffOffset + COFF_SYMBOL_TABLE);
    if (symbols == 0) return;
    if (symbols >= layout.overlayStart && symbols < layout.overlayEnd) {
        put32(result, pe.coffOffset + COFF_SYMBOL_TABLE,
              static_cast<uint32_t>(symbols - layout.overlayStart + layout.newOverlayStart));
    } else if (symbols >= placement.keptBytes) {
        put32(result, pe.coffOffset + COFF_SYMBOL_TABLE, 0);
        put32(result, pe.coffOffset + COFF_SYMBOL_COUNT, 0);
    }
}

// Checksum: the CheckSum field's algorithm, 16-bit little-endian words summed with the carries
// folded back in, plus the file's length; the field itself counts as zero.
void writeChecksum(std::vector<uint8_t>* image, std::size_t checksumOffset) {
    put32(image, checksumOffset, 0);
    uint64_t sum = 0;
    const std::size_t size = image->size();
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        sum += get16(*image, i);
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    if (size % 2 != 0) sum += (*image)[size - 1];
    sum = (sum & 0xFFFF) + (sum >> 16);
    sum = (sum & 0xFFFF) + (sum >> 16);
    put32(image, checksumOffset, static_cast<uint32_t>(sum + size));
}

}  // namespace

bool readProgramBitness(const std::vector<uint8_t>& image, bool* is64Bit, std::string* error) {
    PeHeaders pe;
    if (!parseHeaders(image, &pe, error)) return false;
    *is64Bit = pe.fixedOptionalSize == PE32_PLUS_FIXED_OPTIONAL_SIZE;
    return true;
}

ResourceKey numberKey(uint16_t number) {
    ResourceKey key;
    key.number = number;
    return key;
}

// Only a to z are upper-cased, as resource compilers do; other characters are kept as given.
ResourceKey stringKey(const std::string& text) {
    ResourceKey key;
    key.isString = true;
    key.text = text;
    for (char& c : key.text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return key;
}

// Names compare without regard to ASCII case: the loader finds "img" and "IMG" alike.
bool sameKey(const ResourceKey& a, const ResourceKey& b) {
    if (a.isString != b.isString) return false;
    if (!a.isString) return a.number == b.number;
    return stringKey(a.text).text == stringKey(b.text).text;
}

bool readPeResources(const std::vector<uint8_t>& image, std::vector<ResourceEntry>* result, std::string* error) {
    result->clear();
    // Filled apart and handed over only when the whole tree is sound: no partial list on failure.
    std::vector<ResourceEntry> list;
    std::vector<ResourceEntry>* entries = &list;
    PeHeaders pe;
    if (!parseHeaders(image, &pe, error)) return false;
    uint32_t rootRva = 0, rootSize = 0;
    readDirectoryEntry(image, pe, DIRECTORY_RESOURCE, &rootRva, &rootSize);
    if (rootRva == 0) return true;  // a program without resources

    // The tree may use the rest of the section's data from its root on. The directory's size
    // field is not trusted: linkers fill it in differently and the loader ignores it.
    TreeReader tree;
    tree.image = &image;
    bool found = false;
    for (const PeSection& section : pe.sections) {
        if (rootRva < section.virtualAddress) continue;
        const uint64_t into = rootRva - section.virtualAddress;
        const uint64_t available = fileBackedBytes(section, image.size(), pe.sectionAlignment);
        if (into < available) {
            tree.root = static_cast<std::size_t>(section.rawPointer + into);
            tree.size = available - into;
            found = true;
            break;
        }
    }
    if (!found) return damaged(error, fillIn(tr("its directory (RVA {1}) lies outside the file"), hex(rootRva)));

    // Three levels: type, name, language. A fixed depth: no recursion for a hostile tree to abuse.
    std::vector<RawEntry> types, names, languages;
    if (!readTreeDirectory(&tree, 0, &types, error)) return false;
    for (const RawEntry& type : types) {
        ResourceEntry entry;
        if (!readTreeKey(tree, type.name, &entry.type, error)) return false;
        if ((type.target & HIGH_BIT) == 0)
            return damaged(error, fillIn(tr("type {1} points to data instead of a directory"), keyText(entry.type)));
        if (!readTreeDirectory(&tree, type.target & ~HIGH_BIT, &names, error)) return false;
        for (const RawEntry& name : names) {
            if (!readTreeKey(tree, name.name, &entry.name, error)) return false;
            if ((name.target & HIGH_BIT) == 0)
                return damaged(error, fillIn(tr("resource {1} {2} points to data instead of a language directory"),
                                             keyText(entry.type), keyText(entry.name)));
            if (!readTreeDirectory(&tree, name.target & ~HIGH_BIT, &languages, error)) return false;
            for (const RawEntry& language : languages) {
                if ((language.name & HIGH_BIT) != 0)
                    return damaged(error, fillIn(tr("resource {1} {2} has a language given by name"), keyText(entry.type),
                                                 keyText(entry.name)));
                entry.language = static_cast<uint16_t>(language.name);
                if ((language.target & HIGH_BIT) != 0)
                    return damaged(error, fillIn(tr("{1} points to a fourth directory level"),
                                                 resourceText(entry.type, entry.name, entry.language)));
                entry.data.clear();
                if (!readTreeData(&tree, pe, language.target, &entry, error)) return false;
                entries->push_back(entry);
            }
        }
    }
    result->swap(list);
    return true;
}

bool writePeResources(const std::vector<uint8_t>& image, const std::vector<ResourceEntry>& entries,
                      std::vector<uint8_t>* result, std::string* error) {
    result->clear();
    PeHeaders pe;
    ImageExtent extent;
    std::vector<WriteItem> items;
    Placement placement;
    Layout layout;
    if (!parseHeaders(image, &pe, error) || !checkHeadersForWriting(image, pe, error) ||
        !measureImage(image, pe, &extent, error) || !orderedItems(entries, &items, error) ||
        !placeSection(image, pe, extent, &placement, error) ||
        !layOut(image, pe, extent, items, placement, &layout, error))
        return false;
    assembleImage(image, placement, layout, result);
    patchSectionTable(pe, placement, layout, result);
    patchOptionalHeader(image, pe, placement, layout, result);
    patchSymbolTable(image, pe, placement, layout, result);
    writeChecksum(result, pe.optionalOffset + OPT_CHECKSUM);
    return true;
}
