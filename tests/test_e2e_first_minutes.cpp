// End to end: a new player's and level designer's first minutes. Typed
// punctuation and capitals reach a set's texts exactly; the file name of a set
// that comes with the game is refused and that set stays as it was; in a
// window 1100 x 720 the pointer follows the mouse and the menu works.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "e2e.h"

namespace {

// Toolbar and panel buttons (centres, GUI units).
const double CREATE_X = 3.625, CREATE_Y = -1.445;
const double MESSAGE_OK_X = 4.01, MESSAGE_OK_Y = 0.77;   // "Level saved.", "Level set created."
const int CHANGE_FRAMES = 60;

class FirstMinutesE2E : public ::testing::Test {
protected:
    game_run run;

    void SetUp() override
    {
        ASSERT_TRUE(run.start(windowed_settings(2))) << run.error();
        ASSERT_NE(run.window(), 0u) << "exit code " << run.wait_exit(0);
    }
    double gui_brightness(double x1, double y1, double x2, double y2)
    {
        int l, t, r, b;
        gui_to_pixel(x1, y1, &l, &t);
        gui_to_pixel(x2, y2, &r, &b);
        return run.brightness(l, t, r - l, b - t);
    }
    // Clicks a GUI point; true once the picture of a GUI rectangle changes.
    bool click_changes(double gx, double gy, double x1, double y1, double x2, double y2)
    {
        double before = gui_brightness(x1, y1, x2, y2);
        return run.click_gui(gx, gy) &&
               run.wait_until_or_frames(
                   [&] { return std::abs(gui_brightness(x1, y1, x2, y2) - before) > 0.03; },
                   CHANGE_FRAMES);
    }
};

TEST_F(FirstMinutesE2E, TypedTextsAreKeptExactlyAndAShippedSetsNameIsRefused)
{
    const std::string data = run.player_dir();
    const std::string shipped = read_file(run.game_dir() + "/level_sets/default.bls");
    ASSERT_GT(shipped.size(), 784u);
    ASSERT_TRUE(run.wait_for_title());
    double title = run.brightness(150, 100, 500, 120);
    ASSERT_TRUE(run.click_menu(MENU_EDIT));
    ASSERT_TRUE(run.wait_until_or_frames(
        [&] { return std::abs(run.brightness(150, 100, 500, 120) - title) > 0.03; }, CHANGE_FRAMES))
        << "the editor did not open";

    // One brick, saved as level 1.
    ASSERT_TRUE(run.click_gui(canvas_cell_x(4), canvas_cell_y(4)));
    ASSERT_TRUE(run.press_key("F2"));
    ASSERT_TRUE(run.wait_until([&] { return read_file(data + "/user_data/l1.raw").size() == 10584; }));
    EXPECT_TRUE(click_changes(MESSAGE_OK_X, MESSAGE_OK_Y, 1.9, 0.85, 4.1, 0.7));

    ASSERT_TRUE(click_changes(CREATE_X, CREATE_Y, 1.5, 0.85, 4.5, 0.5)) << "no name entry";
    ASSERT_TRUE(run.type_text("Zed, Ace. Co-op 9") && run.press_key("Return"));
    ASSERT_TRUE(run.type_text("One level; made fast!") && run.press_key("Return"));
    ASSERT_TRUE(run.type_text("Ann O'Brien") && run.press_key("Return"));

    // The name of a set that comes with the game: refused, the entry stays.
    ASSERT_TRUE(run.type_text("default") && run.press_key("Return"));
    ASSERT_TRUE(run.wait_frames(CHANGE_FRAMES));
    EXPECT_TRUE(run.screenshot(screenshot_path("editor_shipped_name_refused.png")));
    EXPECT_EQ(read_file(data + "/level_sets/default.bls"), "") << "the player's set would hide the game's";

    for (int n = 0; n < 7; n++)
        ASSERT_TRUE(run.press_key("BackSpace"));
    ASSERT_TRUE(run.type_text("zedset") && run.press_key("Return"));
    std::string set;
    ASSERT_TRUE(run.wait_until([&] {
        set = read_file(data + "/level_sets/zedset.bls");
        return set.size() >= 784;
    })) << "no set was written under the second name";
    EXPECT_EQ(std::string(set.c_str() + 8), "Zed, Ace. Co-op 9");
    EXPECT_EQ(std::string(set.c_str() + 263), "Ann O'Brien");
    EXPECT_EQ(std::string(set.c_str() + 518), "One level; made fast!");
    EXPECT_EQ(read_file(run.game_dir() + "/level_sets/default.bls"), shipped);

    ASSERT_TRUE(run.close_window());
    EXPECT_EQ(run.wait_exit(20), 0);
}

// A window of a size the pointer table leaves out: the pointer must follow
// the mouse, so the menu's Help opens and its Cancel closes it.
TEST_F(FirstMinutesE2E, At1100By720ThePointerFollowsTheMouse)
{
    ASSERT_TRUE(run.wait_for_title());
    ASSERT_EQ(run.x_command("xdotool windowsize " + std::to_string(run.window()) + " 1100 720"), 0);
    int w = 0, h = 0;
    ASSERT_TRUE(run.wait_until([&] { return run.window_size(&w, &h) && w == 1100 && h == 720; }));
    ASSERT_TRUE(run.wait_frames(10));

    // At 1100 x 720 the pointer moves 0.9 / 1280 x 8 GUI units per pixel, and
    // the 45-degree view shows GUI y 2.07 .. -2.07 over the window's height.
    const double step = 0.9 / 1280 * 8, half_h = 5.0 * 0.41421356, half_w = half_h * 1100 / 720;
    auto mouse = [&](double gx, double gy, int *mx, int *my) {
        *mx = (int)((gx - 0.25) / step + 0.5);
        *my = (int)((2.0 - gy) / step + 0.5);
    };
    auto area = [&](double x1, double y1, double x2, double y2) {
        int l = (int)((x1 - 3 + half_w) / (2 * half_w) * 1100), t = (int)((half_h - y1) / (2 * half_h) * 720);
        int r = (int)((x2 - 3 + half_w) / (2 * half_w) * 1100), b = (int)((half_h - y2) / (2 * half_h) * 720);
        return run.brightness(l, t, r - l, b - t);
    };
    auto inside_help = [&] { return area(0.8, 1.0, 2.0, 0.3); };
    double before = inside_help();
    int mx, my;
    mouse(1.675 + 0.5 * 4 + 0.125, -0.425, &mx, &my);   // the Help icon
    ASSERT_TRUE(run.click_at(mx, my));
    EXPECT_TRUE(run.wait_until_or_frames([&] { return std::abs(inside_help() - before) > 0.03; },
                                         CHANGE_FRAMES))
        << "Help did not open: the pointer did not reach its icon";
    EXPECT_TRUE(run.screenshot(screenshot_path("help_1100x720.png")));
    double open = inside_help();
    mouse(5.3 - 0.25 + 0.06, 1.55 - 0.07 - 0.06, &mx, &my);   // the help panel's Cancel
    ASSERT_TRUE(run.click_at(mx, my));
    EXPECT_TRUE(run.wait_until_or_frames([&] { return std::abs(inside_help() - open) > 0.03; },
                                         CHANGE_FRAMES))
        << "Cancel did not close Help";
    ASSERT_TRUE(run.close_window());
    EXPECT_EQ(run.wait_exit(20), 0);
}

}  // namespace
