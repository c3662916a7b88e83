// Installing: `cmake --install` into a scratch DESTDIR gives the files a
// desktop needs, accepted by the desktop's own validators, and a game that
// runs from a folder it cannot write, keeps the player's files in the XDG data
// folder, and fails its start with a non-zero status.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "command.h"
#include "e2e.h"
#include "rules/savegame.h"

namespace fs = std::filesystem;

namespace {

std::string root;   // the DESTDIR of this run; the prefix inside it is /usr

std::string at(const std::string &path)
{
    return root + "/usr/" + path;
}

// Every file below folder with its size and modification time.
std::map<std::string, std::string> snapshot(const std::string &folder)
{
    std::map<std::string, std::string> files;
    for (const auto &e : fs::recursive_directory_iterator(folder)) {
        std::string stamp = std::to_string(e.last_write_time().time_since_epoch().count());
        files[e.path().string()] = e.is_regular_file() ? std::to_string(e.file_size()) + "@" + stamp : stamp;
    }
    return files;
}

class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char dir[] = "/tmp/corvale-install-XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        root = dir;
        std::string log;
        ASSERT_EQ(run_command("DESTDIR='" + root + "' cmake --install '" CORVALE_BINARY_DIR "' --prefix /usr", &log), 0)
            << log;
        // The game's folder as a package leaves it: nobody may write there.
        ASSERT_EQ(run_command("chmod -R a-w '" + at("share/games/corvale") + "'"), 0);
    }
    static void TearDownTestSuite()
    {
        run_command("chmod -R u+w '" + root + "' && rm -rf '" + root + "'");
    }
};

// Width, height and colour type of a PNG file, from its header.
bool png_header(const std::string &path, int *w, int *h, int *colour)
{
    std::ifstream f(path, std::ios::binary);
    unsigned char b[26] = {};
    if (!f.read((char *)b, sizeof b))
        return false;
    *w = b[16] << 24 | b[17] << 16 | b[18] << 8 | b[19];
    *h = b[20] << 24 | b[21] << 16 | b[22] << 8 | b[23];
    *colour = b[25];
    return true;
}

TEST_F(Installed, TheDesktopFindsTheGameItsIconManualAndMetadata)
{
    for (const char *file : {"games/corvale", "share/applications/corvale.desktop",
                             "share/man/man6/corvale.6", "share/doc/corvale/index.html",
                             "share/metainfo/io.github.corvale.Corvale.metainfo.xml",
                             "share/games/corvale/level_sets/default.bls",
                             "share/games/corvale/graphics/icon.png",
                             "share/games/corvale/sounds/songs/corvale.m3u"})
        EXPECT_TRUE(fs::is_regular_file(at(file))) << file;
    EXPECT_FALSE(fs::exists(at("share/games/corvale/corvale"))) << "the program belongs in games/";
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        std::string dim = std::to_string(size) + "x" + std::to_string(size);
        int w = 0, h = 0, colour = 0;
        ASSERT_TRUE(png_header(at("share/icons/hicolor/" + dim + "/apps/corvale.png"), &w, &h, &colour)) << dim;
        EXPECT_EQ(w, size);
        EXPECT_EQ(h, size);
        EXPECT_EQ(colour, 6) << dim << " icon without transparency";
    }

    std::string out;
    for (const auto &e : fs::directory_iterator(at("share/applications"))) {
        EXPECT_EQ(run_command("desktop-file-validate '" + e.path().string() + "'", &out), 0) << out;
        EXPECT_EQ(out, "") << e.path();
    }
    // Each entry starts its installed program by the full path below the
    // prefix, found inside the DESTDIR.
    for (const char *program : {"corvale", "corvale_setup"}) {
        std::ifstream entry(at(std::string("share/applications/") + program + ".desktop"));
        std::string line, exec, wm_class;
        while (std::getline(entry, line)) {
            if (line.rfind("Exec=", 0) == 0)
                exec = line.substr(5);
            if (line.rfind("StartupWMClass=", 0) == 0)
                wm_class = line.substr(15);
        }
        EXPECT_EQ(exec, std::string("/usr/games/") + program);
        EXPECT_TRUE(fs::is_regular_file(root + exec)) << exec;
        if (std::string(program) == "corvale") {
            EXPECT_EQ(wm_class, "corvale");
        }
    }
    EXPECT_EQ(run_command("appstreamcli validate --no-net '" +
                    at("share/metainfo/io.github.corvale.Corvale.metainfo.xml") + "'", &out), 0) << out;
}

// Without a display the game names the display it could not open, with
// SDL's reason, in a few lines free of the sound library's chatter, and fails.
TEST_F(Installed, WithoutADisplayTheGameNamesItInFewLinesAndFails)
{
    std::string out;
    int rc = run_command("cd / && env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY=:7391 XDG_CONFIG_HOME='" +
                         root + "/config' XDG_DATA_HOME='" + root + "/data' '" + at("games/corvale") + "'", &out);
    EXPECT_NE(rc, 0) << out;
    EXPECT_NE(out.find("Corvale: cannot open the display ':7391' ("), std::string::npos) << out;
    EXPECT_NE(out.find("Failed To Register The Window Class."), std::string::npos) << out;
    EXPECT_EQ(out.find("ALSA lib"), std::string::npos) << "sound library chatter:\n" << out;
    EXPECT_EQ(out.find("AL lib"), std::string::npos) << "sound library chatter:\n" << out;
}

TEST_F(Installed, TheGamePlaysFromItsReadOnlyFolderAndSavesInTheDataFolder)
{
    const auto before = snapshot(at("share/games/corvale"));
    game_run run;
    ASSERT_TRUE(run.start_program(windowed_settings(2), at("games/corvale"))) << run.error();
    unsigned long win = run.window(60);
    ASSERT_NE(win, 0u) << "no window; exit status " << run.wait_exit(0);
    EXPECT_NE(run.x_output("xprop -id " + std::to_string(win) + " WM_CLASS").find("\"corvale\""),
              std::string::npos) << "window class";
    EXPECT_EQ(run.x_output("xprop -id " + std::to_string(win) + " _NET_WM_ICON").rfind("_NET_WM_ICON(CARDINAL)", 0),
              0u) << "no window icon";

    // Play from the title, Play in the options, launch the ball, then hold
    // Escape until the game has written its save.
    const std::string save = run.player_dir() + "/level_sets/corvale.sav";
    ASSERT_TRUE(run.open_play_options()) << "the play options did not open";
    ASSERT_TRUE(run.click_gui(OPTIONS_PLAY_X, OPTIONS_BUTTONS_Y));
    ASSERT_TRUE(run.wait_frames(FADE_FRAMES + FADE_MARGIN_FRAMES));
    ASSERT_TRUE(run.click_at(345, 400));
    ASSERT_TRUE(run.press_key("Escape", [&] { return fs::exists(save); }));
    ASSERT_TRUE(fs::exists(save)) << "Escape during play saved nothing in " << run.player_dir();
    saved_game g;
    std::ifstream f(save, std::ios::binary);
    ASSERT_TRUE(f.read((char *)&g, sizeof g));
    EXPECT_STREQ(g.set_name, "default.bls");
    EXPECT_EQ(g.level, 1);

    ASSERT_TRUE(run.close_window());
    EXPECT_EQ(run.wait_exit(30), 0);
    EXPECT_EQ(snapshot(at("share/games/corvale")), before) << "the game wrote into its own folder";
}

}  // namespace
