// Writes the tiny PE32 program of tiny_pe.h (with --64, its PE32+ twin) to the file named on the
// command line, as a stand-in player for the command-line tests of trivo-make build and play.
#include <cstdio>
#include <cstring>
#include <vector>

#include "tests/native/tiny_pe.h"

int main(int argc, char** argv) {
    const bool pe32Plus = argc == 3 && std::strcmp(argv[1], "--64") == 0;
    if (argc != 2 && !pe32Plus) {
        std::fprintf(stderr, "usage: tiny_pe [--64] OUT.exe\n");
        return 2;
    }
    const std::vector<uint8_t> image = tiny_pe::tinyPeImage({'D', 'L', 'G', 0}, pe32Plus);
    std::FILE* file = std::fopen(argv[argc - 1], "wb");
    if (!file) return 1;
    const bool written = std::fwrite(image.data(), 1, image.size(), file) == image.size();
    return std::fclose(file) == 0 && written ? 0 : 1;
}
