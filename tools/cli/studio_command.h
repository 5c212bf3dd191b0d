// trivo-make studio: Trivo Studio served for a workspace (tools/studio). Same shape as every
// command: the arguments after the command's name in, the exit status out.
#pragma once
#include <iosfwd>

#include "tools/cli/command_line.h"

int runStudio(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);
