// trivo-make's command-line conventions.
#include "tools/cli/command_line.h"

#include <ostream>

#include "tools/support/text.h"

bool isHelpOption(const std::string& arg) {
    return arg == "--help" || arg == "-h";
}

void usageError(std::ostream& err, const std::string& prefix, const std::string& message) {
    err << prefix << ": " << message;
    if (message.empty() || message.back() != '?') err << "; see '" << prefix << " --help'";
    err << "\n";
}

std::string unknownName(const std::string& what, const std::string& word, const std::vector<std::string>& names) {
    const std::string closest = closestName(word, names);
    return "unknown " + what + " " + quotedText(word) +
           (closest.empty() ? "" : "; did you mean " + quotedText(closest) + "?");
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
            std::vector<std::string> names = {"--help"};
            for (const ValueOption& candidate : options) names.push_back(candidate.name);
            *error = unknownName("option", name, names);
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
