// Trivo Studio: a quiz workspace edited in the browser, served by trivo-make on this machine only.
#pragma once
#include <filesystem>
#include <iosfwd>

#include "tools/studio/studio_http.h"

struct StudioOptions {
    std::filesystem::path workspace;
    int port = 0;              // 0: a free one
    bool openBrowser = true;   // open the default browser on the address
    ToolCommand command = nullptr;  // trivo-make's commands, for build and play
};

// Serves the studio until Ctrl+C or the page's "Quitter"; prints its address on out. Returns the
// exit status: TOOL_EXIT_FAILED (1) when it cannot start, with the reason on err.
int serveStudio(const StudioOptions& options, std::ostream& out, std::ostream& err);
