// trivo-make's commands: the dispatch from the command's name to the function that runs it.
#include "tools/cli/commands.h"

#include <ostream>

#include "tools/cli/codec_commands.h"
#include "tools/cli/command_line.h"
#include "tools/cli/help_texts.h"
#include "tools/cli/judge_command.h"
#include "tools/cli/quiz_commands.h"
#include "tools/support/text.h"

namespace {

struct Command {
    const char* name;
    int (*run)(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);
};

const Command COMMANDS[] = {
    {"new", runNew},
    {"check", runCheck},
    {"build", runBuild},
    {"dump", runDump},
    {"pack", runPack},
    {"unpack", runUnpack},
    {"judge", runJudge},
};

}  // namespace

int runTrivoMake(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                 std::ostream& err) {
    if (args.empty()) {
        usageError(err, "trivo-make", "no command given");
        return TOOL_EXIT_USAGE;
    }
    if (isHelpOption(args[0])) {
        out << TOOL_HELP;
        return TOOL_EXIT_OK;
    }
    for (const Command& command : COMMANDS) {
        if (args[0] == command.name) {
            return command.run(Args(args.begin() + 1, args.end()), in, out, err);
        }
    }
    const bool option = !args[0].empty() && args[0][0] == '-';
    usageError(err, "trivo-make",
               std::string(option ? "unknown option " : "unknown command ") + quotedText(args[0]));
    return TOOL_EXIT_USAGE;
}
