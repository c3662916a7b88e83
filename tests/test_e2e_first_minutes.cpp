// End to end: a new player's and level designer's first minutes. Typed
// punctuation and capitals reach a set's texts exactly; the file name of a set
// that comes with the game is refused and that set stays as it was; in a
// window 1100 x 720 the pointer follows the mouse and the menu works; Escape
// steps back through every screen; leaving the editor with changes asks
// first; and the mended layouts are photographed at 800 x 600 and 1280 x 1024.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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
        return run.gui_brightness(x1, y1, x2, y2);
    }
    bool click_changes(double gx, double gy, double x1, double y1, double x2, double y2)
    {
        return run.click_changes(gx, gy, x1, y1, x2, y2, CHANGE_FRAMES);
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
    // The title keeps its 4:3 shape: black bars at the sides, the picture between.
    EXPECT_LT(run.brightness(0, 200, 60, 300), 0.02) << "the title is stretched over the sides";
    EXPECT_GT(area(1.0, 1.3, 5.0, 0.7), 0.2);
    // The pixels where Help's panel lies; the panel is open or closed when
    // most of them differ from a picture taken before.
    auto help_pixels = [&] { return run.grab(300, 200, 500, 250); };
    auto changed = [&](const std::vector<unsigned char> &from) {
        std::vector<unsigned char> now = help_pixels();
        size_t differ = 0;
        for (size_t k = 0; k < now.size() && k < from.size(); k++)
            differ += std::abs(now[k] - from[k]) > 40;
        return !now.empty() && differ > now.size() / 4;
    };
    std::vector<unsigned char> before = help_pixels();
    int mx, my;
    mouse(1.675 + 0.5 * 4 + 0.125, -0.425, &mx, &my);   // the Help icon
    ASSERT_TRUE(run.click_at(mx, my));
    EXPECT_TRUE(run.wait_until([&] { return changed(before); }))
        << "Help did not open: the pointer did not reach its icon";
    EXPECT_TRUE(run.screenshot(screenshot_path("help_1100x720.png")));
    std::vector<unsigned char> open = help_pixels();
    mouse(5.3 - 0.25 + 0.06, 1.55 - 0.07 - 0.06, &mx, &my);   // the help panel's Cancel
    ASSERT_TRUE(run.click_at(mx, my));
    EXPECT_TRUE(run.wait_until([&] { return changed(open); }))
        << "Cancel did not close Help";
    ASSERT_TRUE(run.close_window());
    EXPECT_EQ(run.wait_exit(20), 0);
}

// Escape closes the screen over the title, one per press; in the editor with
// changes it asks first: Escape there is Cancel, Discard leaves the file as it
// was, and after F12 Save writes the level and ends the game.
TEST_F(FirstMinutesE2E, EscapeStepsBackThroughEachScreenAndUnsavedWorkIsAskedAbout)
{
    const std::string level1 = run.player_dir() + "/user_data/l1.raw";
    ASSERT_TRUE(run.wait_for_title());
    // The logo is covered by the help page, the score table and the browser;
    // the play options cover the band under it.
    auto logo = [&] { return gui_brightness(1.0, 1.3, 5.0, 0.7); };
    auto middle = [&] { return gui_brightness(1.5, 0.4, 4.5, 0.0); };
    const double title = middle(), title_logo = logo();
    for (menu_icon icon : {MENU_HELP, MENU_SCORES, MENU_LOAD, MENU_PLAY}) {
        auto seen = [&] { return icon == MENU_PLAY ? middle() - title : logo() - title_logo; };
        ASSERT_TRUE(run.click_menu(icon));
        ASSERT_TRUE(run.wait_until_or_frames([&] { return std::abs(seen()) > 0.03; }, CHANGE_FRAMES))
            << "screen " << icon << " did not open";
        ASSERT_TRUE(run.press_key("Escape"));
        EXPECT_TRUE(run.wait_until_or_frames([&] { return std::abs(seen()) < 0.01; }, CHANGE_FRAMES))
            << "Escape did not close screen " << icon;
    }

    auto question = [&] { return gui_brightness(1.5, 0.85, 4.5, 0.5) > 0.6; };
    ASSERT_TRUE(run.click_menu(MENU_EDIT));
    ASSERT_TRUE(run.wait_until_or_frames([&] { return std::abs(middle() - title) > 0.03; },
                                         CHANGE_FRAMES));
    ASSERT_TRUE(run.click_gui(canvas_cell_x(10), canvas_cell_y(10)));
    ASSERT_TRUE(run.press_key("Escape"));
    ASSERT_TRUE(run.wait_until_or_frames(question, CHANGE_FRAMES)) << "leaving did not ask";
    EXPECT_TRUE(run.screenshot(screenshot_path("editor_unsaved_question.png")));
    ASSERT_TRUE(run.press_key("Escape"));
    EXPECT_TRUE(run.wait_until_or_frames([&] { return !question(); }, CHANGE_FRAMES))
        << "Escape did not cancel the question";
    ASSERT_TRUE(run.press_key("Escape"));
    ASSERT_TRUE(run.wait_until_or_frames(question, CHANGE_FRAMES));
    ASSERT_TRUE(run.click_gui(4.15, 0.77));   // Discard
    EXPECT_TRUE(run.wait_until_or_frames([&] { return std::abs(middle() - title) < 0.01; },
                                         CHANGE_FRAMES))
        << "Discard did not leave for the title";
    EXPECT_EQ(read_file(level1), "") << "Discard wrote the level";

    ASSERT_TRUE(run.click_menu(MENU_EDIT));
    ASSERT_TRUE(run.wait_until_or_frames([&] { return std::abs(middle() - title) > 0.03; },
                                         CHANGE_FRAMES));
    ASSERT_TRUE(run.click_gui(canvas_cell_x(10), canvas_cell_y(10)));
    ASSERT_TRUE(run.press_key("F12"));
    ASSERT_TRUE(run.wait_until_or_frames(question, CHANGE_FRAMES)) << "F12 did not ask";
    EXPECT_EQ(run.wait_exit(0), -1) << "F12 quit before the answer";
    ASSERT_TRUE(run.click_gui(4.28, 0.77));   // Save
    EXPECT_EQ(run.wait_exit(60), 0);
    std::string level = read_file(level1);
    ASSERT_EQ(level.size(), 10584u) << "Save did not write the level";
    int32_t tex = 0;
    memcpy(&tex, &level[(10 * 21 + 10) * 4], 4);
    EXPECT_NE(tex, 0);
}

// The mended layouts, photographed at 800 x 600 (resolution 2) and 1280 x
// 1024 (resolution 7): the editor with its unsaved mark and colour values,
// the overwrite question, the unsaved-changes question, the help page and the
// play options with Continue off. At 1280 x 1024 the 4:3 view sits 32 pixels
// down and the pointer moves 1 / 1280 x 8 GUI units per pixel.
class LayoutShots : public ::testing::TestWithParam<int> {};

TEST_P(LayoutShots, PanelsAtThisSize)
{
    const int resolution = GetParam();
    const bool large = resolution == 7;
    const int w = large ? 1280 : 800, top = large ? 32 : 0, shown = large ? 960 : 600;
    const double step = (large ? 1.0 / 1280 : 0.7 / 800) * 8;
    const double half_h = 5.0 * 0.41421356, half_w = half_h * 4 / 3;
    const std::string size = large ? "1280x1024" : "800x600";
    game_run run;
    ASSERT_TRUE(run.start(windowed_settings(resolution))) << run.error();
    ASSERT_NE(run.window(), 0u);
    auto area = [&](double x1, double y1, double x2, double y2) {
        int l = (int)((x1 - 3 + half_w) / (2 * half_w) * w), t = top + (int)((half_h - y1) / (2 * half_h) * shown);
        int r = (int)((x2 - 3 + half_w) / (2 * half_w) * w), b = top + (int)((half_h - y2) / (2 * half_h) * shown);
        return run.brightness(l, t, r - l, b - t);
    };
    auto click = [&](double gx, double gy) {
        return run.click_at((int)((gx - 0.25) / step + 0.5), (int)((2.0 - gy) / step + 0.5));
    };
    auto shot = [&](const char *name) {
        EXPECT_TRUE(run.screenshot(screenshot_path((std::string(name) + "_" + size + ".png").c_str())));
    };
    auto changes = [&](double x1, double y1, double x2, double y2, double before) {
        return run.wait_until_or_frames([&] { return std::abs(area(x1, y1, x2, y2) - before) > 0.03; },
                                        CHANGE_FRAMES);
    };
    // The title is up once its logo is lit and the fade has had its frames.
    ASSERT_TRUE(run.wait_until([&] { return area(1.0, 1.3, 5.0, 0.7) > 0.2; })) << "no title";
    ASSERT_TRUE(run.wait_frames(FADE_FRAMES + FADE_MARGIN_FRAMES));
    shot("title");
    std::filesystem::create_directories(run.player_dir() + "/level_sets");
    std::ofstream(run.player_dir() + "/level_sets/mine.bls") << "old";

    // Play options without a saved game: Continue plainly off.
    double middle = area(1.5, 0.4, 4.5, 0.0);
    ASSERT_TRUE(click(1.675 + 0.125, -0.425));
    ASSERT_TRUE(changes(1.5, 0.4, 4.5, 0.0, middle));
    EXPECT_LT(area(3.45, 0.25, 3.7, 0.0), 0.6 * area(4.15, 0.25, 4.4, 0.0)) << "Continue is not plainly off";
    shot("options");
    ASSERT_TRUE(run.press_key("Escape"));
    ASSERT_TRUE(run.wait_frames(10));

    ASSERT_TRUE(click(1.675 + 0.5 * 4 + 0.125, -0.425));   // Help
    ASSERT_TRUE(changes(1.5, 0.4, 4.5, 0.0, middle));
    shot("help");
    ASSERT_TRUE(run.press_key("Escape"));
    ASSERT_TRUE(run.wait_frames(10));

    ASSERT_TRUE(click(1.675 + 0.5 * 2 + 0.125, -0.425));   // Edit Levels
    ASSERT_TRUE(changes(1.5, 0.4, 4.5, 0.0, middle));
    ASSERT_TRUE(click(canvas_cell_x(2), canvas_cell_y(2)));
    ASSERT_TRUE(run.wait_frames(10));
    shot("editor_unsaved");
    double dialog = area(1.5, 0.85, 4.5, 0.5);
    ASSERT_TRUE(click(CREATE_X, CREATE_Y));
    ASSERT_TRUE(changes(1.5, 0.85, 4.5, 0.5, dialog));
    for (const char *answer : {"Mine", "Mine again", "Me", "mine"})
        ASSERT_TRUE(run.type_text(answer) && run.press_key("Return"));
    ASSERT_TRUE(run.wait_frames(20));
    shot("overwrite_question");
    ASSERT_TRUE(run.press_key("Escape"));   // Cancel: the file-name entry again
    ASSERT_TRUE(run.press_key("Escape"));   // the entries close
    ASSERT_TRUE(run.press_key("Escape"));   // leaving asks
    ASSERT_TRUE(run.wait_frames(20));
    shot("unsaved_question");
    ASSERT_TRUE(run.close_window());
    EXPECT_EQ(run.wait_exit(20), 0);
}

INSTANTIATE_TEST_SUITE_P(FirstMinutesE2E, LayoutShots, ::testing::Values(2, 7));

}  // namespace
