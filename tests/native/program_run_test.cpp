// The program runner that film conversion and play share: where the program runs, what reaches its
// log, and how each way of not starting is told apart.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tools/support/files.h"
#include "tools/support/program_run.h"

namespace fs = std::filesystem;

class ProgramRun : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(makePrivateTemporaryFolder("trivo-run-test", &folder, &error)) << error;
        log = folder / "log.txt";
    }
    void TearDown() override { fs::remove_all(folder); }
    fs::path folder, log;
};

// A name is looked for in PATH; the program runs in the folder given, with the environment given,
// reads nothing, and its output and errors, in order, replace what the log held.
TEST_F(ProgramRun, RunsInTheFolderWithItsEnvironmentIntoTheLog) {
    std::ofstream(log) << "left from before\n";
    const Spawned run = spawnAndWait({"sh", "-c", "pwd; echo \"$CHOSEN\" >&2; cat; exit 3"},
                                     {"PATH=/usr/bin:/bin", "CHOSEN=given"}, folder, log);
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.exitStatus, 3);
    EXPECT_EQ(run.signal, 0);
    EXPECT_EQ(fileStart(log), fs::canonical(folder).string() + "\ngiven\n");
    // No environment given: ours.
    setenv("TRIVO_RUN_TEST", "ours", 1);
    EXPECT_TRUE(spawnAndWait({"sh", "-c", "printf %s \"$TRIVO_RUN_TEST\"; kill -TERM $$"}, {}, folder, log).started);
    EXPECT_EQ(fileStart(log), "ours");
    EXPECT_EQ(spawnAndWait({"sh", "-c", "kill -TERM $$"}, {}, folder, log).signal, SIGTERM);
}

// A name found nowhere is a missing program; a path the kernel refuses is not handed to the shell
// (which would run it as a script); a folder that cannot be entered is told apart from both; a log
// that is a link is never written through.
TEST_F(ProgramRun, TellsEachWayOfNotStartingApart) {
    const Spawned missing = spawnAndWait({"trivo-no-such-program"}, {}, folder, log);
    EXPECT_TRUE(programMissing(missing));
    EXPECT_FALSE(missing.started);

    const fs::path garbage = folder / "garbage";
    std::ofstream(garbage) << "echo ran > ran.txt\n";
    fs::permissions(garbage, fs::perms::owner_all);
    const Spawned refused = spawnAndWait({garbage.string()}, {}, folder, log);
    EXPECT_TRUE(refused.execFailed);
    EXPECT_EQ(refused.error, ENOEXEC);
    EXPECT_FALSE(programMissing(refused));
    EXPECT_FALSE(fs::exists(folder / "ran.txt"));

    const Spawned nowhere = spawnAndWait({"/bin/true"}, {}, folder / "none", log);
    EXPECT_TRUE(nowhere.chdirFailed);
    EXPECT_FALSE(nowhere.execFailed);

    const fs::path target = folder / "target.txt";
    std::ofstream(target) << "kept\n";
    fs::remove(log);
    fs::create_symlink(target, log);
    EXPECT_FALSE(spawnAndWait({"/bin/true"}, {}, folder, log).started);
    EXPECT_EQ(fileStart(target), "kept\n");
}

// While interruptions are held, Ctrl-C ends the program waited for even when it lets SIGINT pass, as
// a Windows program under Wine does, and is remembered.
TEST_F(ProgramRun, AnInterruptionEndsEvenAProgramThatLetsCtrlCPass) {
    holdInterruptions(true);
    std::thread interrupter([this] {
        for (int i = 0; i < 200 && !fs::exists(folder / "started"); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ::kill(::getpid(), SIGINT);
    });
    const Spawned run = spawnAndWait({"sh", "-c", "trap '' INT; touch started; exec sleep 20"}, {}, folder, log);
    interrupter.join();
    holdInterruptions(false);
    EXPECT_TRUE(wasInterrupted());
    EXPECT_EQ(run.signal, SIGTERM);
}
