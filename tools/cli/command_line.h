// The command-line conventions shared by trivo-make's commands: --help, usage errors, options.
#pragma once
#include <iosfwd>
#include <string>
#include <vector>

typedef std::vector<std::string> Args;

bool isHelpOption(const std::string& arg);

// "PREFIX: MESSAGE; see 'PREFIX --help'" on err.
void usageError(std::ostream& err, const std::string& prefix, const std::string& message);

// An option that takes a value: "-o OUT", "--player=PLAYER".
struct ValueOption {
    const char* name;  // "-o", "--player"
    std::string* value;
    bool* given;
};

// Splits args into the options' values and the positional arguments. False with *error on an
// unknown option, an option without its value or an option given twice.
bool parseArguments(const Args& args, const std::vector<ValueOption>& options, Args* positional,
                    std::string* error);
