// The player's data folder: which folder the environment chooses, that reading
// makes no folder, and how the folders above a player file are made for
// writing, or why they could not be.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "paths.h"
#include "player_folder.h"
#include "rules/rules.h"
#include "rules/savegame.h"
#include "rules/scores.h"

namespace fs = std::filesystem;

namespace {

class PlayerFolder : public ::testing::Test {
protected:
    scratch_dir tmp;
    const std::string scratch = tmp.path();

    void SetUp() override
    {
        setenv("HOME", (scratch + "/home").c_str(), 1);
        setenv("XDG_DATA_HOME", (scratch + "/data").c_str(), 1);
    }
};

TEST_F(PlayerFolder, FollowsAnAbsoluteXdgDataHomeAndMakesTheFoldersAboveAFileOnlyWhenAsked)
{
    EXPECT_EQ(std::string(player_dir()), scratch + "/data/corvale");
    // A relative or empty value is not a valid base folder: use the default.
    for (const char *bad : {"relative/data", ""}) {
        setenv("XDG_DATA_HOME", bad, 1);
        EXPECT_EQ(std::string(player_dir()), scratch + "/home/.local/share/corvale") << bad;
    }
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(std::string(player_dir()), scratch + "/home/.local/share/corvale");
    SetUp();
    player_dir();   // naming the folder makes nothing
    EXPECT_EQ(player_file("user_data/l1.raw"), scratch + "/data/corvale/user_data/l1.raw");
    // Looking for the player's files makes nothing either: who only plays the
    // shipped sets finds no new folders.
    save_check();
    readscores();
    EXPECT_EQ(set_file_path("mine.bls"), "level_sets/mine.bls");
    EXPECT_FALSE(fs::exists(scratch + "/data"));

    std::string error = "stale";
    std::string path = player_path("level_sets/corvale.sav", &error);
    EXPECT_EQ(path, scratch + "/data/corvale/level_sets/corvale.sav");
    EXPECT_EQ(error, "");
    EXPECT_TRUE(fs::is_directory(scratch + "/data/corvale/level_sets"));
    EXPECT_FALSE(fs::exists(path));
    std::ofstream(player_path("user_data/l1.raw")) << "x";
    EXPECT_TRUE(fs::is_regular_file(scratch + "/data/corvale/user_data/l1.raw"));
}

TEST_F(PlayerFolder, NamesTheFolderItCouldNotMake)
{
    // A file where the data folder should be.
    std::ofstream(scratch + "/data") << "not a folder";
    std::string error;
    std::string path = player_path("level_sets/corvale.sav", &error);
    EXPECT_EQ(path, scratch + "/data/corvale/level_sets/corvale.sav");
    EXPECT_NE(error.find(scratch + "/data"), std::string::npos) << error;
    EXPECT_NE(error.find("Not a directory"), std::string::npos) << error;

    // A base folder the player may not write into.
    if (geteuid() != 0) {
        fs::remove(scratch + "/data");
        fs::create_directory(scratch + "/data");
        chmod((scratch + "/data").c_str(), 0500);
        player_path("user_data/l1.raw", &error);
        EXPECT_NE(error.find(scratch + "/data/corvale"), std::string::npos) << error;
        EXPECT_NE(error.find("Permission denied"), std::string::npos) << error;
        chmod((scratch + "/data").c_str(), 0700);
    }
}

}  // namespace
