// The program runner of trivo-make.exe on Windows, as ffmpeg and the quiz program are started: the
// command line each argument arrives from whole, the folder, the log readable the moment the program
// has ended, and the ways of not starting.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tools/support/files.h"
#include "tools/support/program_run.h"

namespace fs = std::filesystem;

namespace {

fs::path besideThisProgram(const char* name) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path() / name;
}

class ProgramRun : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(makePrivateTemporaryFolder("trivo-run-test", &folder, &error)) << error;
        log = folder / "log.txt";
    }
    // Wine lets go of an ended program's folder and handles a moment after its end is seen.
    void TearDown() override {
        std::error_code ec;
        for (int tries = 0; tries < 40 && (fs::remove_all(folder, ec), ec); ++tries) Sleep(50);
        EXPECT_FALSE(ec) << ec.message();
    }
    fs::path folder, log;
    const std::string child = utf8Path(besideThisProgram("run_child.exe"));
};

TEST_F(ProgramRun, ArgumentsFolderAndLogReachTheProgramAndBack) {
    const Spawned run =
        spawnAndWait({child, "-vf", "scale=trunc(iw/2)*2:trunc(ih/2)*2", "two words"}, {}, folder, log);
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.exitStatus, 3);
    // Read at once, as film conversion reads ffmpeg's last message.
    EXPECT_EQ(fileStart(log), "folder=" + utf8Path(folder) +
                                  "\r\nargument=-vf\r\nargument=scale=trunc(iw/2)*2:trunc(ih/2)*2\r\n"
                                  "argument=two words\r\nto the error output\r\n");
    // Without a log the program shares ours.
    const Spawned unlogged = spawnAndWait({child}, {}, folder, {});
    EXPECT_TRUE(unlogged.started);
    EXPECT_EQ(unlogged.exitStatus, 3);
}

// A name found nowhere is a missing program; an existing log is never written through or over.
TEST_F(ProgramRun, TellsAMissingProgramAndKeepsAnExistingLog) {
    const Spawned missing = spawnAndWait({"trivo-no-such-program"}, {}, folder, log);
    EXPECT_TRUE(programMissing(missing));
    EXPECT_FALSE(missing.started);

    fs::remove(log);
    std::ofstream(log) << "kept";
    const Spawned refused = spawnAndWait({child}, {}, folder, log);
    EXPECT_FALSE(refused.started);
    EXPECT_FALSE(programMissing(refused));
    EXPECT_EQ(fileStart(log), "kept");
}

}  // namespace
