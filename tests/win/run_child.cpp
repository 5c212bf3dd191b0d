// The program program_run_test starts: its folder and arguments on standard output, one line on
// standard error, and exit status 3.
#include <direct.h>

#include <cstdio>

int main(int argc, char** argv) {
    char folder[1024] = "";
    _getcwd(folder, sizeof folder);
    std::printf("folder=%s\n", folder);
    for (int i = 1; i < argc; ++i) std::printf("argument=%s\n", argv[i]);
    std::fprintf(stderr, "to the error output\n");
    return 3;
}
