// Helpers for the tests of trivo-make's quiz folders: a scratch folder per test, files in and out,
// and minimal media files that pass the format checks.
#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>


namespace quiz_folder {

inline void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every file under dir, as relative paths with "/", sorted.
inline std::vector<std::string> filesUnder(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(dir, ec);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_regular_file())
            names.push_back(std::filesystem::relative(it->path(), dir).generic_string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Each test gets a scratch folder of its own.
struct ScratchFolder : ::testing::Test {
    void SetUp() override {
        char pattern[] = "/tmp/trivo-quiz-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    std::filesystem::path dir;
};

// Real pictures, as the picture checks decode them: a JPEG of 8 x 6 grey pixels and a GIF of 8 x 6
// red ones.
const char JPEG_BYTES[] =
    "\xFF\xD8\xFF\xE0\x00\x10\x4A\x46\x49\x46\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00\xFF\xDB\x00\x43"
    "\x00\x14\x0E\x0F\x12\x0F\x0D\x14\x12\x10\x12\x17\x15\x14\x18\x1E\x32\x21\x1E\x1C\x1C\x1E\x3D\x2C"
    "\x2E\x24\x32\x49\x40\x4C\x4B\x47\x40\x46\x45\x50\x5A\x73\x62\x50\x55\x6D\x56\x45\x46\x64\x88\x65"
    "\x6D\x77\x7B\x81\x82\x81\x4E\x60\x8D\x97\x8C\x7D\x96\x73\x7E\x81\x7C\xFF\xC0\x00\x0B\x08\x00\x06"
    "\x00\x08\x01\x01\x11\x00\xFF\xC4\x00\x14\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x04\xFF\xC4\x00\x14\x10\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00\x13\xFF\xD9";
const std::string JPEG(JPEG_BYTES, sizeof JPEG_BYTES - 1);
const char GIF_BYTES[] =
    "\x47\x49\x46\x38\x39\x61\x08\x00\x06\x00\xF0\x00\x00\xC0\x30\x30\x00\x00\x00\x21\xF9\x04\x00\x00"
    "\x00\x00\x00\x2C\x00\x00\x00\x00\x08\x00\x06\x00\x00\x02\x06\x84\x8F\xA9\xCB\x7D\x05\x00\x3B";
const std::string GIF(GIF_BYTES, sizeof GIF_BYTES - 1);

// The GIF above on a canvas of width x height: the picture the player shows has that size.
inline std::string gifOfSize(int width, int height) {
    std::string gif = GIF;
    gif[6] = static_cast<char>(width & 0xFF);
    gif[7] = static_cast<char>(width >> 8);
    gif[8] = static_cast<char>(height & 0xFF);
    gif[9] = static_cast<char>(height >> 8);
    return gif;
}

// A PNG of 8 x 6 pixels: its left half opaque red, its right half transparent.
const char PNG_BYTES[] =
    "\x89\x50\x4E\x47\x0D\x0A\x1A\x0A\x00\x00\x00\x0D\x49\x48\x44\x52\x00\x00\x00\x08\x00\x00\x00\x06"
    "\x08\x06\x00\x00\x00\xFE\x05\xDF\xFB\x00\x00\x00\x14\x49\x44\x41\x54\x78\xDA\x63\xF8\xCF\xC0\xF0"
    "\x1F\x19\x83\x11\x32\x1E\x0A\x0A\x00\x71\xDE\x47\xB9\x7D\xA7\x07\x66\x00\x00\x00\x00\x49\x45\x4E"
    "\x44\xAE\x42\x60\x82";
const std::string PNG(PNG_BYTES, sizeof PNG_BYTES - 1);

// A 24-bit BMP of width x height grey pixels.
inline std::string bmpOfSize(int width, int height) {
    const int row = (width * 3 + 3) / 4 * 4;
    const uint32_t size = 54 + static_cast<uint32_t>(row) * static_cast<uint32_t>(height);
    std::string bmp(size, '\x80');
    const auto put = [&](std::size_t at, uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) bmp[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    bmp[0] = 'B', bmp[1] = 'M';
    put(2, size, 4), put(6, 0, 4), put(10, 54, 4), put(14, 40, 4), put(18, static_cast<uint32_t>(width), 4);
    put(22, static_cast<uint32_t>(height), 4), put(26, 1, 2), put(28, 24, 2), put(30, 0, 4), put(34, size - 54, 4);
    put(38, 2835, 4), put(42, 2835, 4), put(46, 0, 4), put(50, 0, 4);
    return bmp;
}

// The first bytes of the other formats, as the checks read them; the rest is filler.
const std::string MP3_ID3 = "ID3\x04 mp3 body";
const std::string MP3_FRAME("\xFF\xF3\x38\xC4 frame body", 15);
const std::string AVI = std::string("RIFF\x10\x00\x00\x00", 8) + "AVI LIST film body";

}  // namespace quiz_folder
