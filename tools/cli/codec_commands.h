// trivo-make pack and unpack: a file through the player's LZW codec. Same shape as every command:
// the arguments after the command's name in, the exit status out.
#pragma once
#include <iosfwd>

#include "tools/cli/command_line.h"

int runPack(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);
int runUnpack(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);
