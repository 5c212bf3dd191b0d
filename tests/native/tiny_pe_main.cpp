// Writes the tiny PE32 program of tiny_pe.h to the file named on the command line, as a stand-in
// player for the command-line tests of trivo-make build.
#include <cstdio>
#include <vector>

#include "tests/native/tiny_pe.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tiny_pe OUT.exe\n");
        return 2;
    }
    const std::vector<uint8_t> image = tiny_pe::tinyPeImage();
    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file) return 1;
    const bool written = std::fwrite(image.data(), 1, image.size(), file) == image.size();
    return std::fclose(file) == 0 && written ? 0 : 1;
}
