// The command-line conventions shared by trivo-make's commands: --help, usage errors, options.
#pragma once
#include <iosfwd>
#include <string>
#include <vector>

typedef std::vector<std::string> Args;

bool isHelpOption(const std::string& arg);

// "PREFIX: MESSAGE", as every message of a command starts, in the user's language ("PREFIX : MESSAGE"
// in French).
std::string prefixed(const std::string& prefix, const std::string& message);

// "PREFIX: MESSAGE; see 'PREFIX --help'" on err; a MESSAGE that ends in a "did you mean" question
// is printed as it is, since the question already points the way.
void usageError(std::ostream& err, const std::string& prefix, const std::string& message);

// What unknownName names: a command, an option.
enum class NameKind { Command, Option };
// "unknown command 'word'", with "; did you mean 'name'?" when one of names is close to it.
std::string unknownName(NameKind kind, const std::string& word, const std::vector<std::string>& names);
// "needs IN and OUT, got 3 arguments": what a command needs (translated), and how many it was given.
std::string needsArguments(const char* needs, std::size_t given);

// An option that takes a value: "-o OUT", "--player=PLAYER".
struct ValueOption {
    const char* name;  // "-o", "--player"
    std::string* value;
    bool* given;
};

// Splits args into the options' values and the positional arguments. False with *error on an
// unknown option (with the closest known one, --help among them), an option without its value or
// an option given twice.
bool parseArguments(const Args& args, const std::vector<ValueOption>& options, Args* positional,
                    std::string* error);
