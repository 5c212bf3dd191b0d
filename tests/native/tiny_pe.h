// A tiny but well-formed PE32 program image (or its 64-bit PE32+ twin) for the tool's tests, built
// here byte by byte and independently of the code under test: headers, a one-instruction code
// section, and a resource section with one resource of the program's own (a dialog, type 5, id
// 1001, language 0x040C), standing in for the player's dialog template, icons and cursor.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace tiny_pe {

constexpr uint32_t DOS_SIZE = 0x40;
constexpr uint32_t COFF = DOS_SIZE + 4;
constexpr uint32_t OPTIONAL = COFF + 20;
constexpr uint32_t SECTIONS = OPTIONAL + 224;
// PE32+: a longer optional header (64-bit image base and stack and heap sizes), directories at 112.
constexpr uint32_t SECTIONS_64 = OPTIONAL + 240;
constexpr uint32_t FILE_ALIGNMENT = 0x200;
constexpr uint32_t SECTION_ALIGNMENT = 0x1000;
constexpr uint32_t TEXT_RVA = 0x1000;
constexpr uint32_t RSRC_RVA = 0x2000;
constexpr uint16_t OWN_TYPE = 5;     // RT_DIALOG
constexpr uint16_t OWN_NAME = 1001;  // the page's dialog template
constexpr uint16_t OWN_LANGUAGE = 0x040C;

inline void put16(std::vector<uint8_t>* b, std::size_t at, uint32_t v) {
    (*b)[at] = static_cast<uint8_t>(v);
    (*b)[at + 1] = static_cast<uint8_t>(v >> 8);
}

inline void put32(std::vector<uint8_t>* b, std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) (*b)[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

inline void sectionHeader(std::vector<uint8_t>* image, uint32_t table, int index, const char* name,
                          uint32_t virtualSize, uint32_t rva, uint32_t rawSize, uint32_t rawOffset,
                          uint32_t characteristics) {
    const uint32_t at = table + 40 * static_cast<uint32_t>(index);
    std::memcpy(&(*image)[at], name, std::strlen(name));
    put32(image, at + 8, virtualSize);
    put32(image, at + 12, rva);
    put32(image, at + 16, rawSize);
    put32(image, at + 20, rawOffset);
    put32(image, at + 36, characteristics);
}

// The resource section: root (type 5) -> name 1001 -> language 0x040C -> data entry -> ownData.
inline std::vector<uint8_t> resourceSection(const std::vector<uint8_t>& ownData) {
    std::vector<uint8_t> section(88 + ownData.size(), 0);
    const auto directory = [&](uint32_t at, uint32_t id, uint32_t target) {
        put16(&section, at + 14, 1);  // one entry with a numeric id
        put32(&section, at + 16, id);
        put32(&section, at + 20, target);
    };
    directory(0, OWN_TYPE, 0x80000000u | 24);
    directory(24, OWN_NAME, 0x80000000u | 48);
    directory(48, OWN_LANGUAGE, 72);  // a leaf: the data entry
    put32(&section, 72, RSRC_RVA + 88);
    put32(&section, 76, static_cast<uint32_t>(ownData.size()));
    std::copy(ownData.begin(), ownData.end(), section.begin() + 88);
    return section;
}

// The image, with ownData as the bytes of its one resource; a PE32+ one when pe32Plus.
inline std::vector<uint8_t> tinyPeImage(const std::vector<uint8_t>& ownData = {'D', 'L', 'G', 0},
                                        bool pe32Plus = false) {
    const std::vector<uint8_t> rsrc = resourceSection(ownData);
    const uint32_t rsrcRaw =
        static_cast<uint32_t>((rsrc.size() + FILE_ALIGNMENT - 1) / FILE_ALIGNMENT * FILE_ALIGNMENT);
    std::vector<uint8_t> image(2 * FILE_ALIGNMENT + rsrcRaw, 0);
    image[0] = 'M';
    image[1] = 'Z';
    put32(&image, 0x3C, DOS_SIZE);
    std::memcpy(&image[DOS_SIZE], "PE\0\0", 4);
    put16(&image, COFF, pe32Plus ? 0x8664 : 0x14C);               // x86-64 or i386
    put16(&image, COFF + 2, 2);                                     // sections
    put16(&image, COFF + 16, pe32Plus ? 240 : 224);                 // optional header size
    put16(&image, COFF + 18, pe32Plus ? 0x0022 : 0x0102);           // executable, 64- or 32-bit
    put16(&image, OPTIONAL, pe32Plus ? 0x20B : 0x10B);              // PE32+ or PE32
    put32(&image, OPTIONAL + 4, FILE_ALIGNMENT);  // code size
    put32(&image, OPTIONAL + 8, rsrcRaw);         // initialised data size
    put32(&image, OPTIONAL + 16, TEXT_RVA);       // entry point
    put32(&image, OPTIONAL + 20, TEXT_RVA);       // base of code
    if (pe32Plus) {
        put32(&image, OPTIONAL + 28, 0x1);  // image base 0x100000000, 64-bit
    } else {
        put32(&image, OPTIONAL + 24, RSRC_RVA);  // base of data
        put32(&image, OPTIONAL + 28, 0x400000);  // image base
    }
    put32(&image, OPTIONAL + 32, SECTION_ALIGNMENT);
    put32(&image, OPTIONAL + 36, FILE_ALIGNMENT);
    put16(&image, OPTIONAL + 40, 4);                             // operating system version
    put16(&image, OPTIONAL + 48, 4);                             // subsystem version
    put32(&image, OPTIONAL + 56, RSRC_RVA + SECTION_ALIGNMENT);  // image size
    put32(&image, OPTIONAL + 60, FILE_ALIGNMENT);                // headers size
    put16(&image, OPTIONAL + 68, 2);                             // Windows GUI
    // Stack reserve and commit, heap reserve and commit: 4 bytes each in PE32, 8 in PE32+.
    const uint32_t sizes = pe32Plus ? 8 : 4;
    put32(&image, OPTIONAL + 72, 0x100000);
    put32(&image, OPTIONAL + 72 + sizes, 0x1000);
    put32(&image, OPTIONAL + 72 + 2 * sizes, 0x100000);
    put32(&image, OPTIONAL + 72 + 3 * sizes, 0x1000);
    const uint32_t directories = pe32Plus ? 112 : 96;
    put32(&image, OPTIONAL + directories - 4, 16);  // data directories
    put32(&image, OPTIONAL + directories + 8 * 2, RSRC_RVA);  // the resource directory
    put32(&image, OPTIONAL + directories + 8 * 2 + 4, static_cast<uint32_t>(rsrc.size()));
    const uint32_t table = pe32Plus ? SECTIONS_64 : SECTIONS;
    sectionHeader(&image, table, 0, ".text", 1, TEXT_RVA, FILE_ALIGNMENT, FILE_ALIGNMENT, 0x60000020);
    sectionHeader(&image, table, 1, ".rsrc", static_cast<uint32_t>(rsrc.size()), RSRC_RVA, rsrcRaw,
                  2 * FILE_ALIGNMENT, 0x40000040);
    image[FILE_ALIGNMENT] = 0xC3;  // ret
    std::memcpy(&image[2 * FILE_ALIGNMENT], rsrc.data(), rsrc.size());
    return image;
}

}  // namespace tiny_pe
