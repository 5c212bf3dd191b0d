// Entry point of every Windows test program: GoogleTest's usual main, with stdout and stderr
// unbuffered so that the lines written before a crash or a hang under Wine reach the log.
#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    setvbuf(stderr, nullptr, _IONBF, 0);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
