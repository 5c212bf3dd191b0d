// trivo-make play: a quiz folder or program opened as players will see it. Same shape as every
// command: the arguments after the command's name in, the exit status out.
#pragma once
#include <iosfwd>

#include "tools/cli/command_line.h"

int runPlay(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);
