// Making Trivo's own Wine prefix: wineboot, Wine's fonts copied in, the registry settings imported,
// and a mark once all of it is done, so that a prefix left half made is made again.
#include "tools/cli/wine_prefix.h"

#ifndef _WIN32
#include <sys/stat.h>

#include <fstream>
#include <ostream>
#include <system_error>
#include <vector>

#include "tools/cli/command_line.h"
#include "tools/cli/program_launch.h"
#include "tools/support/cp1252.h"
#include "tools/support/files.h"
#include "tools/support/text.h"
#include "tools/support/translation.h"

namespace {

namespace fs = std::filesystem;

const char* const READY_MARK = ".trivo-ready";
// Where Debian's wine package keeps the fonts it does not put into a new prefix.
const char* const WINE_FONTS = "/usr/share/wine/fonts";

// No crash dialog: a crash ends the program, and play says so, instead of waiting for a click. The
// dialogs' font as on Windows: Wine maps "MS Shell Dlg" to the wider Tahoma. The scripts' unmanaged
// windows are left out: on a desktop, a window manager gives the quiz its frame.
const char* const REGISTRY =
    "REGEDIT4\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"
    "\"ShowCrashDialog\"=dword:00000000\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n"
    "\"MS Shell Dlg\"=\"MS Sans Serif\"\r\n";

fs::path cacheFolder() {
    const std::string cache = environmentValue("XDG_CACHE_HOME");
    if (!cache.empty() && cache[0] == '/') return fs::path(cache) / "trivo";
    return fs::path(environmentValue("HOME")) / ".cache" / "trivo";
}

// Wine's server, which Wine's own programs leave running: WINESERVER when set, else the one beside
// the loader (Debian's), else the one on the PATH.
std::string wineServer(const std::string& loader) {
    const std::string chosen = environmentValue("WINESERVER");
    if (!chosen.empty()) return chosen;
    const fs::path beside = fs::path(loader).parent_path() / "wineserver";
    std::error_code ec;
    return fs::exists(beside, ec) ? beside.string() : "/usr/bin/wineserver";
}

// One step of the making; false with *why, the step's failure (failed: "Wine could not make the
// prefix ({1}); its log: {2}"), filled with its cause and the log's last line.
bool step(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
          const fs::path& folder, const fs::path& log, const char* failed, std::string* why) {
    const Spawned spawned = spawnAndWait(arguments, environment, folder, log);
    if (spawned.started && spawned.exitStatus == 0 && spawned.signal == 0) return true;
    const std::vector<std::string> lines = lastLines(fileStart(log), 1);
    const std::string last = lines.empty() ? std::string() : lines[0];
    const std::string cause = spawned.started ? fillIn(tr("exit status {1}"), spawned.exitStatus)
                                              : fillIn(tr("cannot start {1}"), quotedText(arguments[0]));
    *why = fillIn(failed, last.empty() ? cause : fillIn(tr("{1}: {2}"), cause, printable(last)), quotedText(log.string()));
    return false;
}

}  // namespace

fs::path winePrefixFor(bool is64Bit) {
    const std::string chosen = environmentValue("WINEPREFIX");
    if (!chosen.empty()) return chosen;
    return cacheFolder() / (is64Bit ? "wine-win64" : "wine-win32");
}

bool prepareWinePrefix(bool is64Bit, std::ostream& err, std::string* why) {
    if (!environmentValue("WINEPREFIX").empty()) return true;
    const fs::path prefix = winePrefixFor(is64Bit);
    std::error_code ec;
    if (fs::exists(prefix / READY_MARK, ec)) return true;
    err << prefixed("trivo-make play", fillIn(tr("preparing Trivo's own Wine prefix {1} for its first start (about 20 s, "
                                                 "once)"),
                                              quotedText(prefix.string())))
        << "\n";
    err.flush();
    // Made anew: whatever is there was left half made. The folders only this user may enter.
    fs::remove_all(prefix, ec);
    const fs::path folder = prefix.parent_path();
    fs::create_directories(folder, ec);
    ::chmod(folder.c_str(), 0700);
    const std::string loader = wineLoader(is64Bit);
    std::vector<std::string> environment = wineEnvironment(is64Bit, prefix);
    environment.push_back("WINEDLLOVERRIDES=mscoree,mshtml=");  // no offer to install Mono or Gecko
    const fs::path log = folder / (prefix.filename().string() + ".log");
    const char* const finishFailed = tr("Wine could not finish the prefix ({1}); its log: {2}");
    if (!step({loader, "wineboot", "-i"}, environment, folder, log,
              tr("Wine could not make the prefix ({1}); its log: {2}"), why) ||
        !step({wineServer(loader), "-w"}, environment, folder, log, finishFailed, why))
        return false;
    const fs::path fonts = prefix / "drive_c" / "windows" / "Fonts";
    fs::create_directories(fonts, ec);
    for (fs::directory_iterator it(WINE_FONTS, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code copyError;
        if (it->is_regular_file(copyError))
            fs::copy_file(it->path(), fonts / it->path().filename(), fs::copy_options::overwrite_existing, copyError);
    }
    std::ofstream(prefix / "drive_c" / "trivo.reg", std::ios::binary) << REGISTRY;
    if (!step({loader, "regedit", "/S", "C:\\trivo.reg"}, environment, folder, log,
              tr("Wine could not take the registry settings ({1}); its log: {2}"), why) ||
        !step({wineServer(loader), "-w"}, environment, folder, log, finishFailed, why))
        return false;
    std::ofstream mark(prefix / READY_MARK);
    if (!mark) {
        *why = fillIn(tr("cannot write {1}"), quotedText((prefix / READY_MARK).string()));
        return false;
    }
    return true;
}

#endif
