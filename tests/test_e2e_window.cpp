// End to end: the real game's window under Xvfb, and its message boxes on an
// X server with or without core fonts.

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>

#include "e2e.h"

namespace {

// F12 is a real key event through the X server, to the window under the pointer.
TEST(GameWindow, OpensAtTheAskedSizeAndF12EndsTheGame)
{
    game_run run;
    ASSERT_TRUE(run.start(windowed_settings(1))) << run.error();
    unsigned long id = run.window();
    ASSERT_NE(id, 0u) << "no game window; exit code " << run.wait_exit(0);
    int w = 0, h = 0;
    ASSERT_TRUE(run.window_size(&w, &h));
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    ASSERT_TRUE(run.move_to(100, 100));
    ASSERT_EQ(run.x_command("xdotool windowfocus --sync " + std::to_string(id)), 0);
    ASSERT_TRUE(run.press_key("F12"));
    EXPECT_EQ(run.wait_exit(20), 0);
}

// ---- Message boxes ----

// The class of the box the setup program shows for the game.
const char *const GTK_BOX_CLASS = "corvale_setup";
const char *const GAME_TITLE = "Corvale by Halvard Software";

void damage_an_image(const std::string &game_dir)
{
    std::ofstream(game_dir + "/graphics/ball.png", std::ios::binary) << "not an image";
}

// A damaged image stops the start-up with an "ERROR" box: on a server without
// core fonts the setup program shows it, on one with the fonts the set-up
// installs SDL's own box does. A signal to the game while the box waits ends
// the game and takes the box away, even SIGKILL, which the game never sees.
struct box_case {
    const char *name;
    bool builtin_fonts_only;
    int signal;
};

class BoxAtStartUp : public ::testing::TestWithParam<box_case> {};

TEST_P(BoxAtStartUp, IsShownAndEndsWithTheGame)
{
    const box_case &c = GetParam();
    game_run run;
    run.builtin_fonts_only = c.builtin_fonts_only;
    ASSERT_TRUE(run.start(windowed_settings(2), damage_an_image)) << run.error();
    auto box_open = [&] { return run.find_window("ERROR") != 0; };
    ASSERT_TRUE(run.wait_until(box_open)) << "no message box for the damaged image";
    EXPECT_EQ(run.find_window("ERROR", 0, GTK_BOX_CLASS) != 0, c.builtin_fonts_only)
        << (c.builtin_fonts_only ? "SDL drew a box without fonts?" : "SDL's own box failed: are the X fonts installed?");
    ASSERT_EQ(kill(run.pid(), c.signal), 0);
    EXPECT_NE(run.wait_exit(60), -1) << "the game went on waiting for the box";
    EXPECT_TRUE(run.wait_until([&] { return !box_open(); }, 30)) << "the message box stayed on the screen";
}

INSTANTIATE_TEST_SUITE_P(MessageBoxes, BoxAtStartUp,
                         ::testing::Values(box_case{"WithoutFontsInterrupt", true, SIGINT},
                                           box_case{"WithoutFontsKill", true, SIGKILL},
                                           box_case{"WithFontsTerminate", false, SIGTERM},
                                           box_case{"WithFontsHangup", false, SIGHUP},
                                           box_case{"WithFontsKill", false, SIGKILL}),
                         [](const ::testing::TestParamInfo<box_case> &info) { return std::string(info.param.name); });

// A full-screen size the display cannot take asks whether to play in a window,
// also on a server without core fonts. Yes opens the game in a window; No
// says the program will close, and it does.
class FullScreenQuestion : public ::testing::TestWithParam<bool> {};

TEST_P(FullScreenQuestion, AnsweredYesPlaysInAWindowAndNoEndsTheProgram)
{
    const bool yes = GetParam();
    game_run run;
    run.builtin_fonts_only = true;
    bset s = windowed_settings(2);
    s.windowed = 0;  // 800 x 600 full screen, a mode Xvfb's 1280 x 1024 screen lacks
    ASSERT_TRUE(run.start(s)) << run.error();
    unsigned long box = run.find_window(GAME_TITLE, E2E_DEADLINE_S, GTK_BOX_CLASS);
    ASSERT_NE(box, 0u) << "the full-screen question was not shown";
    ASSERT_TRUE(run.key_to_window(box, yes ? "Return" : "Escape"));
    if (yes) {
        ASSERT_NE(run.window(), 0u) << "no game window after Yes; exit code " << run.wait_exit(0);
        int w = 0, h = 0;
        ASSERT_TRUE(run.window_size(&w, &h));
        EXPECT_EQ(w, 800);
        EXPECT_EQ(h, 600);
        ASSERT_TRUE(run.close_window());
        EXPECT_EQ(run.wait_exit(60), 0);
        return;
    }
    unsigned long closing = run.find_window("ERROR", E2E_DEADLINE_S, GTK_BOX_CLASS);
    ASSERT_NE(closing, 0u) << "No did not say that the program will close";
    ASSERT_TRUE(run.key_to_window(closing, "Return"));
    EXPECT_EQ(run.wait_exit(60), 1);
}

INSTANTIATE_TEST_SUITE_P(MessageBoxes, FullScreenQuestion, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool> &info) { return info.param ? "Yes" : "No"; });

}  // namespace
