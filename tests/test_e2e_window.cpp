// End to end: the real game under Xvfb opens its window at the size the
// settings ask for, and ends on the close box and on F12.

#include <gtest/gtest.h>


#include "e2e.h"

namespace {

void expect_window_size(int resolution, int width, int height)
{
    game_run run;
    ASSERT_TRUE(run.start(windowed_settings(resolution))) << run.error();
    ASSERT_NE(run.window(), 0u) << "no game window; exit code " << run.wait_exit(0);
    int w = 0, h = 0;
    ASSERT_TRUE(run.window_size(&w, &h));
    EXPECT_EQ(w, width);
    EXPECT_EQ(h, height);
    ASSERT_TRUE(run.close_window());
    EXPECT_EQ(run.wait_exit(20), 0);
}

TEST(GameWindow, Windowed800x600HasThatClientArea)
{
    expect_window_size(2, 800, 600);
}

TEST(GameWindow, Windowed640x480HasThatClientArea)
{
    expect_window_size(1, 640, 480);
}

TEST(GameWindow, F12EndsTheGame)
{
    game_run run;
    ASSERT_TRUE(run.start(windowed_settings(1))) << run.error();
    unsigned long id = run.window();
    ASSERT_NE(id, 0u);
    // Real key events through the X server, to the window under the pointer.
    ASSERT_TRUE(run.move_to(100, 100));
    ASSERT_EQ(run.x_command("xdotool windowfocus --sync " + std::to_string(id)), 0);
    ASSERT_TRUE(run.press_key("F12"));
    EXPECT_EQ(run.wait_exit(20), 0);
}

// Resizing the window by hand: the picture follows it and fills the new
// client area instead of staying at its old size in a corner.
TEST(GameWindow, ResizedWindowIsFilledByThePicture)
{
    game_run run;
    ASSERT_TRUE(run.start(windowed_settings(1))) << run.error();
    unsigned long id = run.window();
    ASSERT_NE(id, 0u);
    // The title has faded in when the middle of the picture is lit.
    ASSERT_TRUE(run.wait_until([&] { return run.brightness(200, 100, 240, 120) > 0.2; })) << "no title";
    ASSERT_EQ(run.x_command("xdotool windowsize " + std::to_string(id) + " 1000 750"), 0);
    int w = 0, h = 0;
    ASSERT_TRUE(run.wait_until([&] { return run.window_size(&w, &h) && w == 1000 && h == 750; }))
        << "the window stayed " << w << "x" << h;
    // The title picture reaches the new right and bottom edges.
    EXPECT_TRUE(run.wait_until([&] { return run.brightness(700, 520, 290, 220) > 0.05; }))
        << "the lower right of the resized window stays dark";
    run.screenshot(screenshot_path("resized_window.png"));
    ASSERT_TRUE(run.close_window());
    EXPECT_EQ(run.wait_exit(20), 0);
}

}  // namespace
