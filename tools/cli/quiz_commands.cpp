// The quiz folder commands: a starter folder, its check, the quiz program built from it, and the
// way back from a quiz program to a folder.
#include "tools/cli/quiz_commands.h"

#include <ostream>
#include <system_error>

#include "tools/cli/commands.h"
#include "tools/cli/help_texts.h"
#include "tools/cli/page_build.h"
#include "tools/cli/tool_location.h"
#include "tools/quiz_folder/quiz_build.h"
#include "tools/quiz_folder/quiz_check.h"
#include "tools/quiz_folder/question_table.h"
#include "tools/quiz_folder/quiz_dump.h"
#include "tools/quiz_folder/quiz_program_check.h"
#include "tools/quiz_folder/starter.h"
#include "tools/support/cp1252.h"
#include "tools/support/files.h"
#include "tools/support/text.h"
#include "tools/support/translation.h"
#include "tools/web_page/web_page.h"

bool wantsHelp(const Args& args) {
    for (const std::string& arg : args) {
        if (isHelpOption(arg)) return true;
    }
    return false;
}

QuizFolder quizFolder(const std::string& arg) {
    std::string shown = arg;
    std::filesystem::path path = nativePath(arg);
    std::error_code ec;
    // quiz.toml itself named instead of its folder.
    if (path.filename() == QUIZ_TOML_NAME && std::filesystem::is_regular_file(path, ec)) {
        path = path.parent_path();
        shown = shown.substr(0, shown.size() - std::string(QUIZ_TOML_NAME).size());
        if (path.empty()) path = ".";
    }
    while (shown.size() > 1 && (shown.back() == '/' || shown.back() == '\\')) shown.pop_back();
    if (shown.empty() || shown == "." || shown == "./") return QuizFolder{path, QUIZ_TOML_NAME};
    return QuizFolder{path, printable(shown) + "/" + QUIZ_TOML_NAME};
}

std::string quizSummary(const QuizContent& content, std::size_t mediaCount) {
    const std::size_t questions = content.questions.size();
    return fillIn(tr("{1}, {2}, {3}"), kindQuizWords(content.kind),
                  fillIn(ntr("{1} question", "{1} questions", questions), questions),
                  fillIn(ntr("{1} media file", "{1} media files", mediaCount), mediaCount));
}

bool checkForBuilding(const std::string& prefix, const QuizFolder& folder, const char* outcome, CheckedQuiz* quiz,
                      std::ostream& err) {
    Diagnostics diagnostics;
    const bool ok = checkQuizFolder(folder.path, quiz, &diagnostics);
    printDiagnostics(diagnostics, folder.tomlShown, err);
    if (!ok) {
        err << prefixed(prefix, fillIn(tr("{1}: {2}; {3}"), folder.tomlShown, diagnosticsSummary(diagnostics), outcome))
            << "\n";
    }
    return ok;
}

bool readPlayer(const std::string& prefix, const std::string* named, const char* defaultName, std::istream& in,
                std::vector<unsigned char>* player, std::string* shown, std::ostream& err) {
    std::string error;
    if (named) {
        *shown = *named == "-" ? tr("standard input") : quotedText(*named);
        if (readInputFile(*named, in, PROGRAM_MAX_BYTES, "", player, &error)) return true;
    } else {
        const std::filesystem::path found = findPlayer(defaultName);
        if (found.empty()) {
            std::string places;
            for (const std::filesystem::path& place : playerPlaces(defaultName))
                places += (places.empty() ? "" : ", ") + quotedText(utf8Path(place));
            err << prefixed(prefix, fillIn(playerPlaces(defaultName).size() == 1
                                               ? tr("no player: {1} does not exist; name one with --player PLAYER.exe")
                                               : tr("no player: {1}: none of these exists; name one with --player PLAYER.exe"),
                                           places))
                << "\n";
            return false;
        }
        *shown = quotedText(utf8Path(found));
        if (readFileBytes(found, utf8Path(found), PROGRAM_MAX_BYTES, "", player, &error)) return true;
    }
    err << prefixed(prefix, fillIn(tr("player: {1}"), error)) << "\n";
    return false;
}

bool commandArguments(const std::string& prefix, const Args& args, const std::vector<ValueOption>& options,
                      const char* needs, std::string* name, std::ostream& err) {
    Args positional;
    std::string error;
    if (!parseArguments(args, options, &positional, &error)) {
        usageError(err, prefix, error);
        return false;
    }
    if (positional.size() != 1) {
        // TRANSLATORS: {1} is what the command needs ("one quiz folder DIR"), {2} how many names it got.
        usageError(err, prefix, fillIn(ntr("needs {1}, got {2} name", "needs {1}, got {2} names", positional.size()),
                                       needs, positional.size()));
        return false;
    }
    *name = positional[0];
    return true;
}

namespace {

// The file called as the folder, with extension, beside it ("mon-quiz" gives "mon-quiz.exe"; the current
// folder "." gives "../NAME.exe"), as messages show it.
std::string besideFolder(const std::filesystem::path& folder, const char* extension) {
    std::filesystem::path named = folder.lexically_normal();
    if (!named.empty() && named.filename().empty()) named = named.parent_path();  // "dir/"
    if (named.empty() || named.filename() == "." || named.filename() == "..") {
        std::error_code ec;
        const std::filesystem::path absolute = std::filesystem::weakly_canonical(std::filesystem::absolute(named, ec), ec);
        return utf8Path((named / ".." / absolute.filename()).lexically_normal()) + extension;
    }
    return utf8Path(named) + extension;
}

// What a program written under a name without ".exe" is, since Windows tells programs by that ending.
std::string programNameNote(const std::string& output) {
    std::error_code ec;
    const std::filesystem::path path = nativePath(output);
    if (output == "-" || !std::filesystem::is_regular_file(path, ec)) return std::string();
    std::string extension = utf8Path(path.extension());
    for (char& c : extension) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    if (extension == ".exe") return std::string();
    return fillIn(tr(" (a Windows program: Windows starts it only under a name ending in .exe, such as {1})"),
                  printable(utf8Path(path.filename()) + ".exe"));
}

// What a new folder's author does next: first check it, unless new found it clean.
void nextSteps(const std::string& shown, bool checked, std::ostream& out) {
    out << tr("then") << "\n";
    if (!checked) out << "  trivo-make check " << shown << "\n";
    out << "  trivo-make play " << shown << "\n"
        << "  trivo-make build " << shown << "\n";
}

// new DIR --from TABLE: the folder of a spreadsheet's questions, then its check.
int newFromTable(const std::string& prefix, const std::string& folder, const std::string& tableName,
                 const QuizKind* kind, std::istream& in, std::ostream& out, std::ostream& err) {
    std::vector<unsigned char> bytes;
    std::string error;
    const std::string tableShown = tableName == "-" ? tr("standard input") : quotedText(tableName);
    QuestionTable table;
    if (!readInputFile(tableName, in, QUESTION_TABLE_MAX_BYTES, tr("; a table of 90 questions is far smaller"), &bytes,
                       &error)) {
        err << prefixed(prefix, error) << "\n";
        return TOOL_EXIT_FAILED;
    }
    if (!readQuestionTable(std::string(bytes.begin(), bytes.end()), &table, &error)) {
        err << prefixed(prefix, fillIn(tr("{1}: {2}"), tableShown, error)) << "\n";
        return TOOL_EXIT_FAILED;
    }
    const QuizKind chosen = kind ? *kind : tableKind(table);
    // Media are named from where the table is.
    std::filesystem::path mediaFolder = tableName == "-" ? "." : nativePath(tableName).parent_path();
    if (mediaFolder.empty()) mediaFolder = ".";
    const std::string title = utf8Path(nativePath(folder).filename());
    if (!writeNewFolder(nativePath(folder), folder,
                        questionTableFiles(table, chosen, title.empty() || title == "." ? "Mon quiz" : title, mediaFolder),
                        &error)) {
        err << prefixed(prefix, error) << "\n";
        return TOOL_EXIT_FAILED;
    }
    const std::string shown = printable(folder);
    for (const std::string& column : table.unused)
        err << prefixed(prefix, fillIn(tr("note: {1}: the column {2} is not used"), tableShown, quotedText(column)))
            << "\n";
    out << fillIn(ntr("wrote {1}: {2} of {3} question from {4}", "wrote {1}: {2} of {3} questions from {4}",
                      table.rows.size()),
                  shown, aKindQuizWords(chosen), table.rows.size(), tableShown)
        << "\n";
    // What the author meets next: the folder's check, as check prints it.
    const QuizFolder written = quizFolder(folder);
    CheckedQuiz quiz;
    Diagnostics diagnostics;
    const bool ok = checkQuizFolder(written.path, &quiz, &diagnostics, MediaReading::FormatOnly);
    printDiagnostics(diagnostics, written.tomlShown, err);
    out << fillIn(tr("{1}: {2}"), written.tomlShown, diagnosticsSummary(diagnostics)) << "\n";
    nextSteps(shown, ok, out);
    return ok ? TOOL_EXIT_OK : TOOL_EXIT_FAILED;
}

}  // namespace

int runNew(const Args& args, std::istream& in, std::ostream& out, std::ostream& err) {
    const std::string prefix = "trivo-make new";
    if (wantsHelp(args)) {
        out << tr(NEW_HELP);
        return TOOL_EXIT_OK;
    }
    std::string folder, kindText, tableName;
    bool kindGiven = false, tableGiven = false;
    if (!commandArguments(prefix, args, {{"--kind", &kindText, &kindGiven}, {"--from", &tableName, &tableGiven}},
                          tr("one folder name DIR"), &folder, err)) {
        return TOOL_EXIT_USAGE;
    }
    QuizKind kind = QuizKind::Text;
    if (!kindGiven && !tableGiven) {
        usageError(err, prefix, tr("needs --kind text, picture, audio or video, or --from CSV"));
        return TOOL_EXIT_USAGE;
    }
    if (kindGiven && !parseKindName(kindText, &kind)) {
        const std::string likely = likelyKindName(kindText);
        usageError(err, prefix,
                   likely.empty() ? fillIn(tr("--kind must be text, picture, audio or video, not {1}"), quotedText(kindText))
                                  : fillIn(tr("--kind must be text, picture, audio or video, not {1}; did you mean {2}?"),
                                           quotedText(kindText), quotedText(likely)));
        return TOOL_EXIT_USAGE;
    }
    folder = folderName(folder);
    if (tableGiven) return newFromTable(prefix, folder, tableName, kindGiven ? &kind : nullptr, in, out, err);
    std::string error;
    if (!writeNewFolder(nativePath(folder), folder, starterFiles(kind), &error)) {
        err << prefixed(prefix, error) << "\n";
        return TOOL_EXIT_FAILED;
    }
    const std::string shown = printable(folder);
    out << fillIn(tr("wrote {1}: {2} of 3 questions to make your own; "), shown, aKindQuizWords(kind));
    nextSteps(shown, false, out);
    return TOOL_EXIT_OK;
}

int runCheck(const Args& args, std::istream&, std::ostream& out, std::ostream& err) {
    const std::string prefix = "trivo-make check";
    if (wantsHelp(args)) {
        out << tr(CHECK_HELP);
        return TOOL_EXIT_OK;
    }
    std::string name;
    if (!commandArguments(prefix, args, {}, tr("one quiz folder DIR"), &name, err)) return TOOL_EXIT_USAGE;
    const QuizFolder folder = quizFolder(name);
    CheckedQuiz quiz;
    Diagnostics diagnostics;
    const bool ok = checkQuizFolder(folder.path, &quiz, &diagnostics, MediaReading::FormatOnly);
    printDiagnostics(diagnostics, folder.tomlShown, err);
    if (ok) {
        out << fillIn(tr("{1}: {2} ({3})"), folder.tomlShown, diagnosticsSummary(diagnostics),
                      quizSummary(quiz.content, quiz.media.size()));
    } else {
        out << fillIn(tr("{1}: {2}"), folder.tomlShown, diagnosticsSummary(diagnostics));
    }
    out << "\n";
    return ok ? TOOL_EXIT_OK : TOOL_EXIT_FAILED;
}

namespace {

enum class BuildFormat { Program, Page };

// The format of build's output: --format's word, or else OUT's extension (.html and .htm make a page,
// anything else a program). A word that contradicts the extension is refused rather than guessed at.
bool buildFormat(const std::string& prefix, const std::string& output, const std::string* word, BuildFormat* format,
                 std::ostream& err) {
    std::string extension = utf8Path(nativePath(output).extension());
    for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    const bool pageName = extension == ".html" || extension == ".htm";
    if (!word) {
        *format = pageName ? BuildFormat::Page : BuildFormat::Program;
        return true;
    }
    if (*word != "web" && *word != "exe") {
        usageError(err, prefix, fillIn(tr("--format must be web or exe, not {1}"), quotedText(*word)));
        return false;
    }
    *format = *word == "web" ? BuildFormat::Page : BuildFormat::Program;
    if ((pageName && *format == BuildFormat::Program) || (extension == ".exe" && *format == BuildFormat::Page)) {
        usageError(err, prefix, fillIn(tr("--format {1} does not go with {2}; name it {3}"), *word, quotedText(output),
                                       *format == BuildFormat::Page ? "OUT.html" : "OUT.exe"));
        return false;
    }
    return true;
}

// A quiz program named where the folder goes: its quiz, checked as the folder dump would write.
bool checkProgramForBuilding(const std::string& prefix, const std::string& name, CheckedQuiz* quiz, std::ostream& err) {
    std::vector<unsigned char> image;
    std::string error;
    Diagnostics diagnostics;
    const std::string shown = quotedText(name);
    if (!readFileBytes(nativePath(name), name, PROGRAM_MAX_BYTES, "", &image, &error)) {
        err << prefixed(prefix, error) << "\n";
        return false;
    }
    if (checkQuizProgram(image, quiz, &diagnostics, &error)) return true;
    if (diagnostics.empty()) {
        err << prefixed(prefix, fillIn(tr("{1}: {2}; nothing written"), shown, error)) << "\n";
        return false;
    }
    printDiagnostics(diagnostics, printable(name), err);
    err << prefixed(prefix, fillIn(tr("{1}: {2}; nothing written"), shown, diagnosticsSummary(diagnostics))) << "\n";
    return false;
}

}  // namespace

int runBuild(const Args& args, std::istream& in, std::ostream& out, std::ostream& err) {
    const std::string prefix = "trivo-make build";
    if (wantsHelp(args)) {
        out << tr(BUILD_HELP);
        return TOOL_EXIT_OK;
    }
    std::string name, output, playerName, formatWord;
    bool outputGiven = false, playerGiven = false, formatGiven = false;
    if (!commandArguments(prefix, args,
                          {{"-o", &output, &outputGiven}, {"--player", &playerName, &playerGiven},
                           {"--format", &formatWord, &formatGiven}},
                          tr("one quiz folder DIR or program QUIZ.exe"), &name, err)) {
        return TOOL_EXIT_USAGE;
    }
    // A quiz program in place of the folder: converted, or built again over another player.
    std::error_code ec;
    const std::filesystem::path path = nativePath(name);
    const bool program = name != "-" && path.filename() != QUIZ_TOML_NAME && std::filesystem::is_regular_file(path, ec);
    if (!outputGiven) {
        // Beside the folder, named after it; a program read has no folder to name the output after.
        if (program) {
            usageError(err, prefix, tr("needs -o OUT.exe or -o OUT.html to build a quiz program again"));
            return TOOL_EXIT_USAGE;
        }
        output = besideFolder(quizFolder(name).path, formatGiven && formatWord == "web" ? ".html" : ".exe");
    }
    BuildFormat format;
    if (!buildFormat(prefix, output, formatGiven ? &formatWord : nullptr, &format, err)) return TOOL_EXIT_USAGE;
    if (format == BuildFormat::Page && playerGiven) {
        usageError(err, prefix, tr("--player builds a program; a web page needs no player"));
        return TOOL_EXIT_USAGE;
    }
    std::string error;
    if (format == BuildFormat::Page && !quizPagesAvailable(&error)) {
        err << prefixed(prefix, fillIn(tr("{1}; build a program (-o OUT.exe) instead"), error)) << "\n";
        return TOOL_EXIT_FAILED;
    }

    CheckedQuiz quiz;
    if (program) {
        if (!checkProgramForBuilding(prefix, name, &quiz, err)) return TOOL_EXIT_FAILED;
        quiz.sources.push_back(path);
    } else if (!checkForBuilding(prefix, quizFolder(name), tr("nothing written"), &quiz, err)) {
        return TOOL_EXIT_FAILED;
    }

    // Written over quiz.toml, a media file or the program read, the output would destroy the very
    // quiz it carries.
    for (const std::filesystem::path& source : quiz.sources) {
        if (output != "-" && sameFile(nativePath(output), source)) {
            err << prefixed(prefix, fillIn(tr("{1} is one of the quiz's own files; nothing written"), quotedText(output)))
                << "\n";
            return TOOL_EXIT_FAILED;
        }
    }
    // The output itself may be what standard output carries.
    std::ostream& report = output == "-" ? err : out;
    const std::string summary = quizSummary(quiz.content, quiz.media.size());
    if (format == BuildFormat::Page) {
        std::string weight;
        if (!writeQuizPageFile(prefix, quiz, output, out, err, &weight)) return TOOL_EXIT_FAILED;
        report << fillIn(tr("wrote {1}: {2}; {3}"), printable(output), summary, weight) << "\n";
        return TOOL_EXIT_OK;
    }
    std::vector<unsigned char> player, built;
    std::string playerShown;
    if (!readPlayer(prefix, playerGiven ? &playerName : nullptr, PLAYER_NAME, in, &player, &playerShown, err))
        return TOOL_EXIT_FAILED;
    if (!buildQuizProgram(player, quiz, &built, &error)) {
        err << prefixed(prefix, fillIn(tr("player {1} cannot carry the quiz: {2}"), playerShown, error)) << "\n";
        return TOOL_EXIT_FAILED;
    }
    if (!writeOutputFile(output, built.data(), built.size(), out, &error)) {
        err << prefixed(prefix, error) << "\n";
        return TOOL_EXIT_FAILED;
    }
    report << fillIn(tr("wrote {1}{2}: {3}"), printable(output), programNameNote(output), summary) << "\n";
    return TOOL_EXIT_OK;
}

int runDump(const Args& args, std::istream& in, std::ostream& out, std::ostream& err) {
    const std::string prefix = "trivo-make dump";
    if (wantsHelp(args)) {
        out << tr(DUMP_HELP);
        return TOOL_EXIT_OK;
    }
    std::string name, output;
    bool outputGiven = false;
    if (!commandArguments(prefix, args, {{"-o", &output, &outputGiven}}, tr("one quiz program QUIZ.exe"), &name,
                          err)) {
        return TOOL_EXIT_USAGE;
    }
    if (!outputGiven) {
        usageError(err, prefix, tr("needs -o DIR, the quiz folder to write"));
        return TOOL_EXIT_USAGE;
    }
    const std::string shownName = name == "-" ? tr("standard input") : quotedText(name);
    std::vector<unsigned char> image;
    std::string error;
    if (!readInputFile(name, in, PROGRAM_MAX_BYTES, "", &image, &error)) {
        err << prefixed(prefix, error) << "\n";
        return TOOL_EXIT_FAILED;
    }
    DumpedQuiz quiz;
    if (!readQuizProgram(image, &quiz, &error)) {
        err << prefixed(prefix, fillIn(tr("{1}: {2}"), shownName, error)) << "\n";
        return TOOL_EXIT_FAILED;
    }
    const std::string source = name == "-" ? "standard input" : printable(utf8Path(nativePath(name).filename()));
    const std::string header =
        "# Trivo quiz read back from " + source +
        " by trivo-make dump.\n# Build it again with: trivo-make build FOLDER -o QUIZ.exe\n\n";
    std::vector<FolderFile> files;
    output = folderName(output);
    if (!quizFolderFiles(quiz, header, &files, &error)) {
        err << prefixed(prefix, fillIn(tr("{1}: {2}"), shownName, error)) << "\n";
        return TOOL_EXIT_FAILED;
    }
    // A folder that would not check or build again is no way back: it is not written.
    const auto holdsQuiz = [&](const std::filesystem::path& written, std::string* why) {
        if (folderHoldsQuiz(written, quiz, why)) return true;
        *why = fillIn(tr("{1}: {2}"), shownName, *why);
        return false;
    };
    if (!writeNewFolder(nativePath(output), output, files, &error, holdsQuiz)) {
        err << prefixed(prefix, error) << "\n";
        return TOOL_EXIT_FAILED;
    }
    for (const std::string& note : quiz.notes) err << prefixed(prefix, fillIn(tr("note: {1}"), note)) << "\n";
    out << fillIn(tr("wrote {1}: {2}"), printable(output), quizSummary(quiz.content, quiz.media.size())) << "\n";
    return TOOL_EXIT_OK;
}
