// The commands of trivo-make, callable in-process: UTF-8 arguments and the three standard streams
// come in, the exit status goes out. main() only adapts the platform's command line to this.
#pragma once
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

constexpr int TOOL_EXIT_OK = 0;
constexpr int TOOL_EXIT_FAILED = 1;  // the command ran and failed (codec status, file error)
constexpr int TOOL_EXIT_USAGE = 2;   // the command line or the judge input was not understood

// Input files above this are refused before reading them whole; the codec takes far less anyway.
constexpr int32_t TOOL_MAX_FILE_BYTES = 16 * 1024 * 1024;

// Whether standard input is a terminal, where nobody may be typing: set by main(); judge then asks
// for its lines instead of waiting for them. The in-process runs of the tests set it themselves.
extern bool g_standardInputIsTerminal;

// args: the command line after the program name, in UTF-8. Results, summary lines and help go to
// out, every diagnostic to err as one line starting "trivo-make" or naming the file it is about.
int runTrivoMake(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                 std::ostream& err);
