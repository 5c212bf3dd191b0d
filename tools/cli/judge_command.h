// trivo-make judge: the verdict the player shows for a typed answer. Same shape as every command:
// the arguments after the command's name in, the exit status out.
#pragma once
#include <iosfwd>

#include "tools/cli/command_line.h"

int runJudge(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);
