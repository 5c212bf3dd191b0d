// trivo-make's commands: the dispatch from the command's name to the function that runs it, and the
// tool's own options and help.
#include "tools/cli/commands.h"

#include <ostream>

#include "tools/cli/codec_commands.h"
#include "tools/cli/command_line.h"
#include "tools/cli/help_texts.h"
#include "tools/cli/judge_command.h"
#include "tools/cli/play_command.h"
#include "tools/cli/quiz_commands.h"
#include "tools/cli/studio_command.h"
#include "tools/support/text.h"
#include "tools/support/translation.h"

#ifndef TRIVO_VERSION
#error "TRIVO_VERSION comes from the project's version in the top CMakeLists.txt"
#endif

bool g_standardInputIsTerminal = false;

namespace {

struct Command {
    const char* name;
    int (*run)(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);
};

// In the order of the tool's help.
const Command COMMANDS[] = {
    {"new", runNew},   {"check", runCheck}, {"play", runPlay},   {"build", runBuild},
    {"dump", runDump}, {"studio", runStudio}, {"judge", runJudge}, {"pack", runPack}, {"unpack", runUnpack},
};

const Command* commandNamed(const std::string& name) {
    for (const Command& command : COMMANDS) {
        if (name == command.name) return &command;
    }
    return nullptr;
}

// "unknown command 'chek'; did you mean 'check'?"
std::string unknownCommand(const std::string& name) {
    std::vector<std::string> names = {"help"};
    for (const Command& command : COMMANDS) names.push_back(command.name);
    return unknownName(NameKind::Command, name, names);
}

// trivo-make help [COMMAND]: the tool's help, or the command's own, as COMMAND --help prints it.
int runHelp(const Args& args, std::istream& in, std::ostream& out, std::ostream& err) {
    if (args.empty() || (args.size() == 1 && (isHelpOption(args[0]) || args[0] == "help"))) {
        out << tr(TOOL_HELP);
        return TOOL_EXIT_OK;
    }
    if (args.size() != 1) {
        usageError(err, "trivo-make help", needsArguments(tr("at most one COMMAND"), args.size()));
        return TOOL_EXIT_USAGE;
    }
    const Command* command = commandNamed(args[0]);
    if (!command) {
        usageError(err, "trivo-make help", unknownCommand(args[0]));
        return TOOL_EXIT_USAGE;
    }
    return command->run({"--help"}, in, out, err);
}

}  // namespace

int runTrivoMake(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                 std::ostream& err) {
    if (args.empty()) {
        usageError(err, "trivo-make", tr("no command given"));
        return TOOL_EXIT_USAGE;
    }
    if (isHelpOption(args[0])) {
        out << tr(TOOL_HELP);
        return TOOL_EXIT_OK;
    }
    if (args[0] == "--version" || args[0] == "-V") {
        out << "trivo-make " << TRIVO_VERSION << "\n";
        return TOOL_EXIT_OK;
    }
    const Args rest(args.begin() + 1, args.end());
    if (args[0] == "help") return runHelp(rest, in, out, err);
    if (const Command* command = commandNamed(args[0])) return command->run(rest, in, out, err);
    const bool option = !args[0].empty() && args[0][0] == '-';
    usageError(err, "trivo-make",
               option ? unknownName(NameKind::Option, args[0], {"--help", "--version"}) : unknownCommand(args[0]));
    return TOOL_EXIT_USAGE;
}
