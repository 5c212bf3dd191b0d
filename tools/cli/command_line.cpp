// trivo-make's command-line conventions.
#include "tools/cli/command_line.h"

#include <ostream>

#include "tools/support/text.h"

bool isHelpOption(const std::string& arg) {
    return arg == "--help" || arg == "-h";
}

void usageError(std::ostream& err, const std::string& prefix, const std::string& message) {
    err << prefix << ": " << message << "; see '" << prefix << " --help'\n";
}

bool parseArguments(const Args& args, const std::vector<ValueOption>& options, Args* positional,
                    std::string* error) {
    positional->clear();
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // "-" alone is a name, as "--" ends the options.
        if (arg.size() < 2 || arg[0] != '-') {
            positional->push_back(arg);
            continue;
        }
        if (arg == "--") {
            positional->insert(positional->end(), args.begin() + static_cast<long>(i) + 1, args.end());
            return true;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const ValueOption* option = nullptr;
        for (const ValueOption& candidate : options) {
            if (name == candidate.name) option = &candidate;
        }
        if (!option) {
            *error = "unknown option " + quotedText(name);
            return false;
        }
        if (*option->given) {
            *error = "option " + quotedText(name) + " is given twice";
            return false;
        }
        if (equals != std::string::npos) {
            *option->value = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            *option->value = args[++i];
        } else {
            *error = "option " + quotedText(name) + " needs a value";
            return false;
        }
        *option->given = true;
    }
    return true;
}
