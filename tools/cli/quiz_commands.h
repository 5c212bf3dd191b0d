// trivo-make's quiz folder commands: new, check, build and dump. Same shape as every command:
// the arguments after the command's name in, the exit status out.
#pragma once
#include <iosfwd>

#include "tools/cli/command_line.h"

int runNew(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);
int runCheck(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);
int runBuild(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);
int runDump(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);
