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

// The first bytes of each format, as the checks read them; the rest is filler.
const std::string JPEG("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00 jpeg body", 20);
const std::string GIF = "GIF89a gif body";
const std::string MP3_ID3 = "ID3\x04 mp3 body";
const std::string MP3_FRAME("\xFF\xF3\x38\xC4 frame body", 15);
const std::string AVI = std::string("RIFF\x10\x00\x00\x00", 8) + "AVI LIST film body";

}  // namespace quiz_folder
