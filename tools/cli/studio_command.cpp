// trivo-make studio's command line; the studio itself is tools/studio's, and builds and plays
// through trivo-make's own commands.
#include "tools/cli/studio_command.h"

#include <ostream>

#include "tools/cli/commands.h"
#include "tools/cli/help_texts.h"
#include "tools/cli/quiz_commands.h"
#include "tools/studio/studio.h"
#include "tools/support/files.h"
#include "tools/support/text.h"
#include "tools/support/translation.h"

int runStudio(const Args& args, std::istream&, std::ostream& out, std::ostream& err) {
    const std::string prefix = "trivo-make studio";
    if (wantsHelp(args)) {
        out << tr(STUDIO_HELP);
        return TOOL_EXIT_OK;
    }
    StudioOptions options;
    Args rest;
    for (const std::string& arg : args) {
        if (arg == "--no-browser") options.openBrowser = false;
        else rest.push_back(arg);
    }
    std::string port;
    bool portGiven = false;
    Args positional;
    std::string error;
    if (!parseArguments(rest, {{"--port", &port, &portGiven}}, &positional, &error)) {
        usageError(err, prefix, error);
        return TOOL_EXIT_USAGE;
    }
    if (positional.size() > 1) {
        usageError(err, prefix, fillIn(ntr("needs {1}, got {2} name", "needs {1}, got {2} names", positional.size()),
                                       tr("at most one WORKSPACE"), positional.size()));
        return TOOL_EXIT_USAGE;
    }
    if (portGiven) {
        const bool digits = !port.empty() && port.size() <= 5 && port.find_first_not_of("0123456789") == std::string::npos;
        if (!digits || std::stoi(port) > 65535) {
            usageError(err, prefix, fillIn(tr("--port must be a number from 0 to 65535, not {1}"), quotedText(port)));
            return TOOL_EXIT_USAGE;
        }
        options.port = std::stoi(port);
    }
    options.workspace = positional.empty() ? std::filesystem::path(".") : nativePath(folderName(positional[0]));
    options.command = runTrivoMake;
    // The studio's page is French: the checks it shows there speak French whatever the user's language.
    useLanguage("fr");
    return serveStudio(options, out, err) == 0 ? TOOL_EXIT_OK : TOOL_EXIT_FAILED;
}
