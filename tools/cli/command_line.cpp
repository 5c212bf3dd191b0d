// trivo-make's command-line conventions.
#include "tools/cli/command_line.h"

#include <ostream>

#include "tools/support/text.h"
#include "tools/support/translation.h"

bool isHelpOption(const std::string& arg) {
    return arg == "--help" || arg == "-h";
}

std::string prefixed(const std::string& prefix, const std::string& message) {
    // TRANSLATORS: a command's name, then its message ("trivo-make build: ...").
    return fillIn(tr("{1}: {2}"), prefix, message);
}

void usageError(std::ostream& err, const std::string& prefix, const std::string& message) {
    // A question mark ends the French question as the English one, after its space.
    if (message.empty() || message.back() != '?') {
        err << prefixed(prefix, fillIn(tr("{1}; see {2}"), message, quotedText(prefix + " --help"))) << "\n";
    } else {
        err << prefixed(prefix, message) << "\n";
    }
}

std::string unknownName(NameKind kind, const std::string& word, const std::vector<std::string>& names) {
    const std::string closest = closestName(word, names);
    const bool command = kind == NameKind::Command;
    if (closest.empty())
        return fillIn(command ? tr("unknown command {1}") : tr("unknown option {1}"), quotedText(word));
    return fillIn(command ? tr("unknown command {1}; did you mean {2}?") : tr("unknown option {1}; did you mean {2}?"),
                  quotedText(word), quotedText(closest));
}

std::string needsArguments(const char* needs, std::size_t given) {
    // TRANSLATORS: {1} is what the command needs ("IN and OUT"), {2} how many arguments it got.
    return fillIn(ntr("needs {1}, got {2} argument", "needs {1}, got {2} arguments", given), needs, given);
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
            *error = unknownName(NameKind::Option, name, names);
            return false;
        }
        if (*option->given) {
            *error = fillIn(tr("option {1} is given twice"), quotedText(name));
            return false;
        }
        if (equals != std::string::npos) {
            *option->value = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            *option->value = args[++i];
        } else {
            *error = fillIn(tr("option {1} needs a value"), quotedText(name));
            return false;
        }
        *option->given = true;
    }
    return true;
}
