// Where trivo-make looks for its players: beside itself, in the installed layout, in the build tree.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "tools/cli/tool_location.h"

namespace fs = std::filesystem;

namespace {

// Each test lays out the files it needs in a scratch folder of its own.
struct PlayerPlaces : ::testing::Test {
    void SetUp() override {
        char pattern[] = "/tmp/trivo-places-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    void touch(const fs::path& relative) const {
        fs::create_directories((root / relative).parent_path());
        std::ofstream(root / relative) << "MZ";
    }
    fs::path root;
};

TEST_F(PlayerPlaces, InstalledLayoutBesideThenShare) {
    const fs::path tool = root / "bin" / "trivo-make";
    const std::vector<fs::path> places = {root / "bin" / "trivo.exe", root / "share" / "trivo" / "trivo.exe"};
    EXPECT_EQ(playerPlaces(PLAYER_NAME, tool), places);
    EXPECT_EQ(findPlayer(PLAYER_NAME, tool), fs::path());

    touch("share/trivo/trivo.exe");
    touch("share/trivo/trivo64.exe");
    EXPECT_EQ(findPlayer(PLAYER_NAME, tool), root / "share" / "trivo" / "trivo.exe");
    EXPECT_EQ(findPlayer(PLAYER_64_NAME, tool), root / "share" / "trivo" / "trivo64.exe");
    // A copy beside the tool comes first; a folder of the player's name is no player.
    touch("bin/trivo.exe");
    fs::create_directories(root / "bin" / "trivo64.exe");
    EXPECT_EQ(findPlayer(PLAYER_NAME, tool), root / "bin" / "trivo.exe");
    EXPECT_EQ(findPlayer(PLAYER_64_NAME, tool), root / "share" / "trivo" / "trivo64.exe");
}

// At the top of a build tree, the players of the MinGW trees that CMakePresets.json puts beside it,
// each named trivo.exe there; elsewhere those places are not looked at.
TEST_F(PlayerPlaces, BuildTreeFindsTheSiblingMinGwTrees) {
    const fs::path tool = root / "build" / "native" / "trivo-make";
    touch("build/mingw/app/trivo.exe");
    touch("build/mingw64/app/trivo.exe");
    EXPECT_EQ(findPlayer(PLAYER_NAME, tool), fs::path());
    EXPECT_EQ(playerPlaces(PLAYER_NAME, tool).size(), 2u);

    touch("build/native/CMakeCache.txt");
    EXPECT_EQ(playerPlaces(PLAYER_NAME, tool).back(), root / "build" / "mingw" / "app" / "trivo.exe");
    EXPECT_EQ(findPlayer(PLAYER_NAME, tool), root / "build" / "mingw" / "app" / "trivo.exe");
    EXPECT_EQ(findPlayer(PLAYER_64_NAME, tool), root / "build" / "mingw64" / "app" / "trivo.exe");
    // The MinGW tree's own trivo-make.exe finds its tree's player the same way.
    touch("build/mingw/CMakeCache.txt");
    EXPECT_EQ(findPlayer(PLAYER_NAME, root / "build" / "mingw" / "trivo-make.exe"),
              root / "build" / "mingw" / "app" / "trivo.exe");
}

}  // namespace
