// trivo-make's entry point: hands the command line, in UTF-8, and the standard streams to the
// commands.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "tools/cli/commands.h"

#ifdef _WIN32
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

namespace {

std::string utf8FromWide(const wchar_t* wide) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return std::string();
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, &text[0], size, nullptr, nullptr);
    text.resize(static_cast<std::size_t>(size - 1));  // the terminator
    return text;
}

// The runtime builds argv in the ANSI code page, which turns every character outside it into '?';
// the wide command line keeps them all.
bool utf8Arguments(std::vector<std::string>* args) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return false;
    for (int i = 1; i < count; ++i) args->push_back(utf8FromWide(wide[i]));
    LocalFree(wide);
    return true;
}

}  // namespace
#else
#include <unistd.h>
#endif

int main(int argc, char** argv) {
    std::vector<std::string> args;
#ifdef _WIN32
    if (!utf8Arguments(&args)) args.assign(argv + 1, argv + argc);
    // Verdicts and messages are written in UTF-8; the console shows them right only with its output
    // code page set so. The user's code page is put back at the end, as it outlives this program.
    const UINT previousOutputCodePage = GetConsoleOutputCP();
    SetConsoleOutputCP(CP_UTF8);
    // Judge lines strip their own CR, and in text mode a stray Ctrl-Z byte would end the input.
    _setmode(_fileno(stdin), _O_BINARY);
    // _isatty would also say so of NUL; only a console has a console mode.
    DWORD consoleMode = 0;
    g_standardInputIsTerminal = GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &consoleMode) != 0;
#else
    args.assign(argv + 1, argv + argc);
    g_standardInputIsTerminal = isatty(STDIN_FILENO) != 0;
#endif
    const int status = runTrivoMake(args, std::cin, std::cout, std::cerr);
    std::cout.flush();
    std::fflush(stdout);
#ifdef _WIN32
    if (previousOutputCodePage != 0) SetConsoleOutputCP(previousOutputCodePage);
#endif
    return status;
}
