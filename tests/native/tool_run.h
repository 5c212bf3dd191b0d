// trivo-make run in-process, as the tests of its commands run it: the arguments and standard input
// in, the exit status and what it wrote on standard output and standard error out.
#pragma once
#include <sstream>
#include <string>
#include <vector>

#include "tools/cli/commands.h"

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

inline ToolRun run(const std::vector<std::string>& args, const std::string& input = std::string()) {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = runTrivoMake(args, in, out, err);
    return ToolRun{status, out.str(), err.str()};
}
