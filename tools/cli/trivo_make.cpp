// trivo-make's entry point: chooses the language of its messages, then hands the command line, in
// UTF-8, and the standard streams to the commands.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "tools/cli/commands.h"
#include "tools/cli/tool_location.h"
#include "tools/support/translation.h"

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

// A console shows what is written to it in its code page, which cannot hold every character of the
// messages: the UTF-8 text goes to it as UTF-16 instead, each complete character once it is whole.
struct ConsoleBuffer : std::streambuf {
    HANDLE console = nullptr;
    std::string pending;

    int overflow(int c) override {
        if (c != traits_type::eof()) pending.push_back(static_cast<char>(c));
        if (c == '\n' || pending.size() >= 4096) writeWhole();
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        pending.append(text, static_cast<std::size_t>(count));
        if (pending.size() >= 4096 || pending.find('\n') != std::string::npos) writeWhole();
        return count;
    }
    int sync() override {
        writeWhole();
        return 0;
    }
    // Writes pending up to its last whole UTF-8 character, keeping the bytes of one begun.
    void writeWhole() {
        std::size_t start = pending.size();
        while (start > 0 && (static_cast<unsigned char>(pending[start - 1]) & 0xC0) == 0x80) --start;
        std::size_t end = pending.size();
        if (start > 0) {
            const unsigned char lead = static_cast<unsigned char>(pending[start - 1]);
            const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            if (start - 1 + length > pending.size()) end = start - 1;  // its last character is not whole yet
        }
        if (end == 0) return;
        const int size = MultiByteToWideChar(CP_UTF8, 0, pending.data(), static_cast<int>(end), nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(size), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, pending.data(), static_cast<int>(end), &wide[0], size);
        DWORD written = 0;
        WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        pending.erase(0, end);
    }
};

ConsoleBuffer g_consoleOut, g_consoleErr;
std::streambuf* g_standardOut = nullptr;  // the streams' own buffers, put back before the exit
std::streambuf* g_standardErr = nullptr;

// Standard output and error go through a ConsoleBuffer where they are a console; files and pipes get
// the UTF-8 bytes.
void writeConsolesAsUnicode() {
    DWORD mode = 0;
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE), err = GetStdHandle(STD_ERROR_HANDLE);
    if (GetConsoleMode(out, &mode)) {
        g_consoleOut.console = out;
        g_standardOut = std::cout.rdbuf(&g_consoleOut);
    }
    if (GetConsoleMode(err, &mode)) {
        g_consoleErr.console = err;
        g_standardErr = std::cerr.rdbuf(&g_consoleErr);
    }
}

// The streams are flushed once more after the ConsoleBuffers are gone: they get their own back.
void stopWritingConsoles() {
    std::cout.flush();
    std::cerr.flush();
    if (g_standardOut) std::cout.rdbuf(g_standardOut);
    if (g_standardErr) std::cerr.rdbuf(g_standardErr);
}

}  // namespace
#else
#include <unistd.h>
#endif

int main(int argc, char** argv) {
    startTranslation(runningProgramPath().string());
    std::vector<std::string> args;
#ifdef _WIN32
    if (!utf8Arguments(&args)) args.assign(argv + 1, argv + argc);
    writeConsolesAsUnicode();
    // The platform seam's messages are written in UTF-8 with stdio: the console shows them right with
    // its output code page set so. The user's code page is put back at the end, as it outlives this
    // program.
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
    std::cerr.flush();
    std::fflush(stdout);
#ifdef _WIN32
    stopWritingConsoles();
    if (previousOutputCodePage != 0) SetConsoleOutputCP(previousOutputCodePage);
#endif
    return status;
}
