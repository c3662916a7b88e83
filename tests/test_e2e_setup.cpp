// End to end: the real setup program under Xvfb, driven by real key presses:
// Escape saves the shown values, the keyboard picks a size and Enter starts the
// game at it, the close box writes nothing, the playlist chooser's answer (or
// its cancel) reaches the playlist box. Keeps a picture of the dialog in the
// build folder.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <thread>

#include "setup_run.h"

namespace {

std::string bytes_of(const bset &s)
{
    return std::string((const char *)&s, sizeof s);
}

// Starts the program and gives its dialog the keyboard.
void open_dialog(setup_run &run, const bset *settings)
{
    ASSERT_TRUE(run.start(settings)) << run.error();
    unsigned long id = run.window();
    ASSERT_NE(id, 0u) << "no dialog; exit code " << run.wait_exit(0);
    ASSERT_TRUE(run.focus(id));
    ASSERT_TRUE(run.wait_still(id));
}

TEST(SetupProgram, EscapeWithoutAFileWritesTheDefaults)
{
    setup_run run;
    open_dialog(run, nullptr);
    std::string dir = std::string(CORVALE_BINARY_DIR) + "/screenshots";
    mkdir(dir.c_str(), 0755);
    EXPECT_TRUE(run.snapshot(run.window(), dir + "/setup_dialog.png"));
    int w = 0, h = 0;
    ASSERT_TRUE(run.window_size(run.window(), &w, &h));
    EXPECT_LE(w, 800);
    EXPECT_LE(h, 560) << "the dialog and its title bar must fit an 800 x 600 screen";

    ASSERT_TRUE(run.key("Escape"));
    EXPECT_EQ(run.wait_exit(30), 0);
    std::string bytes;
    ASSERT_TRUE(run.settings_file(&bytes));
    EXPECT_EQ(bytes, bytes_of(setup_default_record()));
}

TEST(SetupProgram, KeyboardChoiceAndEnterStartTheGameAtThatSize)
{
    setup_run run;
    open_dialog(run, nullptr);
    ASSERT_TRUE(run.key("Down"));   // the drop-down has the focus: 800x600 -> 1024x768
    ASSERT_TRUE(run.key("Tab"));    // "Windowed mode"
    ASSERT_TRUE(run.key("space"));
    ASSERT_TRUE(run.key("Return"));
    EXPECT_EQ(run.wait_exit(30), 1);

    std::string bytes;
    ASSERT_TRUE(run.settings_file(&bytes));
    bset expected = setup_default_record();
    expected.resolution = 3;
    expected.windowed = 1;
    EXPECT_EQ(bytes, bytes_of(expected));

    unsigned long game = run.find_window("Corvale by Halvard Software", 60);
    ASSERT_NE(game, 0u) << "the game did not open its window";
    pid_t pid = run.window_pid(game);
    int w = 0, h = 0;
    EXPECT_TRUE(run.window_size(game, &w, &h));
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 768);
    // The game was started from the scratch game folder, not from ours.
    char exe[4096] = "";
    ssize_t n = readlink(("/proc/" + std::to_string(pid) + "/exe").c_str(), exe, sizeof exe - 1);
    if (n > 0)
        exe[n] = 0;
    EXPECT_EQ(std::string(exe), run.game_dir() + "/corvale");

    ASSERT_TRUE(run.close_window(game));
    auto began = std::chrono::steady_clock::now();
    while (pid > 0 && kill(pid, 0) == 0 &&
           std::chrono::steady_clock::now() - began < std::chrono::seconds(30))
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (pid > 0 && kill(pid, 0) == 0)
        kill(pid, SIGKILL);
}

TEST(SetupProgram, CloseBoxWritesNothing)
{
    setup_run run;
    open_dialog(run, nullptr);
    ASSERT_TRUE(run.key("Down"));
    ASSERT_TRUE(run.close_window(run.window()));
    EXPECT_EQ(run.wait_exit(30), 0);
    std::string bytes;
    EXPECT_FALSE(run.settings_file(&bytes)) << "the close box wrote a settings file";
}

// Tabs from the drop-down to the "..." button (windowed, particles, 16-bit,
// both sliders, the playlist box, then the button), presses it, and types a
// name into the chooser's location box once the chooser has shown its folder.
void open_chooser(setup_run &run, const std::string &name, unsigned long *chooser)
{
    for (int i = 0; i < 7; i++)
        ASSERT_TRUE(run.key("Tab"));
    ASSERT_TRUE(run.key("space"));
    *chooser = run.find_window("Open", 30);
    ASSERT_NE(*chooser, 0u) << "no file chooser";
    ASSERT_TRUE(run.focus(*chooser));
    ASSERT_TRUE(run.wait_still(*chooser));
    ASSERT_TRUE(run.key("ctrl+l"));
    ASSERT_TRUE(run.type(name));
    ASSERT_TRUE(run.wait_still(*chooser));
}

TEST(SetupProgram, CancelledChooserLeavesThePlaylist)
{
    bset start = setup_default_record();
    strcpy(start.playlist, "/home/player/Music/mine.m3u");
    setup_run run;
    open_dialog(run, &start);
    unsigned long chooser = 0;
    open_chooser(run, "sounds/songs/corvale.m3u", &chooser);
    ASSERT_TRUE(run.key("alt+c"));    // the chooser's "Cancel" button
    ASSERT_TRUE(run.wait_gone(chooser));
    ASSERT_TRUE(run.focus(run.window()));
    ASSERT_TRUE(run.key("Escape"));   // the dialog's Save and Exit
    EXPECT_EQ(run.wait_exit(30), 0);
    std::string bytes;
    ASSERT_TRUE(run.settings_file(&bytes));
    EXPECT_EQ(bytes, bytes_of(start));
}

TEST(SetupProgram, ChosenPlaylistArrivesAsAFullPath)
{
    setup_run run;
    open_dialog(run, nullptr);
    // The chooser starts in the program's folder, so a relative name finds the file.
    unsigned long chooser = 0;
    open_chooser(run, "sounds/songs/corvale.m3u", &chooser);
    ASSERT_TRUE(run.key("Return"));
    ASSERT_TRUE(run.wait_gone(chooser));
    ASSERT_TRUE(run.focus(run.window()));
    ASSERT_TRUE(run.key("Escape"));
    EXPECT_EQ(run.wait_exit(30), 0);
    std::string bytes;
    ASSERT_TRUE(run.settings_file(&bytes));
    bset written;
    ASSERT_EQ(bytes.size(), sizeof written);
    memcpy(&written, bytes.data(), sizeof written);
    EXPECT_EQ(std::string(written.playlist), run.game_dir() + "/sounds/songs/corvale.m3u");
}

}  // namespace
