// End to end: the level editor from the title screen with real input. Edit
// Levels opens it; a left drag paints a row; the Powerup button and a click
// place a power-up; F2 writes exactly those cells; F1 test-plays the level and
// Escape brings the editor back after the title's fade-in. Screenshots of the
// editor are kept under screenshots/.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>

#include "e2e.h"
#include "rules/rules.h"

namespace {

const int ROW = 6, PUP_ROW = 12, PUP_COL = 9;
const double POWERUP_X = 1.175, POWERUP_Y = -0.725;

class Editor : public ::testing::Test {
protected:
    game_run run;

    void SetUp() override
    {
        ASSERT_TRUE(run.start(windowed_settings(2))) << run.error();
        ASSERT_NE(run.window(), 0u);
    }
    std::string level_file() { return run.player_dir() + "/user_data/l1.raw"; }

    // Mean brightness of the middle of a canvas cell.
    double cell_brightness(int r, int c)
    {
        int sx, sy;
        gui_to_pixel(canvas_cell_x(c), canvas_cell_y(r), &sx, &sy);
        return run.brightness(sx - 8, sy - 3, 16, 6);
    }
    // The editor is up: its bright help line runs along the bottom over a
    // black edge, and the grid's first cell is an empty dark tile.
    bool editor_shown()
    {
        double first = cell_brightness(1, 1);
        return run.brightness(10, 560, 780, 30) > 0.4 && run.brightness(10, 591, 780, 8) < 0.03 &&
               first > 0.1 && first < 0.5;
    }
    void point_gui(double gx, double gy)
    {
        int mx, my;
        mouse_for_gui(gx, gy, &mx, &my);
        ASSERT_TRUE(run.move_to(mx, my));
    }
    // Reads the level file; empty when it is missing.
    std::string read_level()
    {
        std::ifstream f(level_file(), std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    }
};

TEST_F(Editor, PaintSavePlaceAPowerupTestPlayAndComeBack)
{
    ASSERT_TRUE(run.wait_for_title());
    ASSERT_TRUE(run.click_menu(MENU_EDIT));
    bool open = run.wait_until([&] { return editor_shown(); });
    if (!open)
        run.screenshot(screenshot_path("editor_not_open.png"));
    ASSERT_TRUE(open) << "Edit Levels did not open the editor (screenshot editor_not_open.png)";

    // A left drag along the row, one cell at a time: each step waits until
    // the cell under the pointer shows its brick.
    double empty = cell_brightness(ROW, 1);
    point_gui(canvas_cell_x(1), canvas_cell_y(ROW));
    ASSERT_EQ(run.x_command("xdotool mousedown 1"), 0);
    for (int c = 1; c <= 20; c++) {
        point_gui(canvas_cell_x(c), canvas_cell_y(ROW));
        EXPECT_TRUE(run.wait_until([&] { return std::abs(cell_brightness(ROW, c) - empty) > 0.05; }))
            << "cell " << c << " was not painted";
    }
    ASSERT_EQ(run.x_command("xdotool mouseup 1"), 0);
    point_gui(3.0, -1.0);
    run.screenshot(screenshot_path("editor.png"));

    // The power-up layer dims the bricks; a click there places the current power-up.
    double painted = cell_brightness(ROW, 5);
    ASSERT_TRUE(run.click_gui(POWERUP_X, POWERUP_Y));
    ASSERT_TRUE(run.wait_until([&] { return cell_brightness(ROW, 5) < painted - 0.05; }))
        << "the power-up layer did not come on";
    double before = cell_brightness(PUP_ROW, PUP_COL);
    ASSERT_TRUE(run.click_gui(canvas_cell_x(PUP_COL), canvas_cell_y(PUP_ROW)));
    point_gui(3.0, -1.0);
    EXPECT_TRUE(run.wait_until([&] { return std::abs(cell_brightness(PUP_ROW, PUP_COL) - before) > 0.05; }))
        << "no power-up icon appeared";
    run.screenshot(screenshot_path("editor_powerups.png"));

    ASSERT_TRUE(run.press_key("F2"));
    ASSERT_TRUE(run.wait_until([&] { return read_level().size() == sizeof(level_file_record); }))
        << "F2 wrote no level file";
    level_file_record rec;
    memcpy(&rec, read_level().data(), sizeof rec);
    for (int r = 0; r <= 20; r++)
        for (int c = 0; c <= 20; c++) {
            int k = grid_index(r, c);
            bool brick = r == ROW && c >= 1;
            EXPECT_EQ(rec.block[LEVEL_TEXTURES].cells[k], brick ? 1 : 0) << r << "," << c;
            EXPECT_EQ(rec.block[LEVEL_TYPES].cells[k], 1) << r << "," << c;
            EXPECT_EQ(rec.block[LEVEL_POWERUPS].cells[k], r == PUP_ROW && c == PUP_COL ? 1 : 0)
                << r << "," << c;
            if (brick) {
                for (int b : {LEVEL_RED, LEVEL_GREEN, LEVEL_BLUE})
                    EXPECT_EQ(rec.block[b].cells[k], 127) << r << "," << c;
            }
        }

    // "Level saved." is up; its OK sits at the panel's top right.
    ASSERT_TRUE(run.click_gui(4.2 - 0.25 + 0.06, 0.9 - 0.07 - 0.06));
    ASSERT_TRUE(run.press_key("F1"));
    EXPECT_TRUE(run.wait_until([&] { return !editor_shown(); })) << "F1 did not leave the editor";
    // The title slides away over the test game for as many frames as its fade
    // lasts; the game then waits for its launch.
    ASSERT_TRUE(run.wait_frames(FADE_FRAMES + FADE_MARGIN_FRAMES));
    run.screenshot(screenshot_path("editor_test_play.png"));
    ASSERT_TRUE(run.press_key("Escape"));
    EXPECT_TRUE(run.wait_until([&] { return editor_shown(); })) << "the editor did not come back";
    run.screenshot(screenshot_path("editor_after_test.png"));
    EXPECT_EQ(read_level().size(), sizeof(level_file_record));

    ASSERT_TRUE(run.close_window());
    EXPECT_EQ(run.wait_exit(20), 0);
}

}  // namespace
