// End to end: a new player's and level designer's first minutes, in a resized
// window; the mended layouts are photographed at 800 x 600 and 1280 x 1024.

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "e2e_test.h"
#include "rules/rules.h"

namespace {

// Toolbar and panel buttons (centres, GUI units).
const double CREATE_X = 3.625, CREATE_Y = -1.445;
const double POWERUP_X = 1.175, POWERUP_Y = -0.725;
const int CHANGE_FRAMES = 60;

class FirstMinutesE2E : public GameTest {
protected:
    // Mean brightness of the middle of an editor canvas cell.
    double cell_brightness(int r, int c)
    {
        int sx, sy;
        run.view.pixel(cell_centre_x(c), cell_centre_y(r), &sx, &sy);
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
};

// A window of a size the pointer table leaves out: the picture follows the
// resized window, and the pointer must follow the mouse, so the menu's Help
// opens and its Cancel closes it.
TEST_F(FirstMinutesE2E, At1100By720ThePictureFillsTheWindowAndThePointerFollowsTheMouse)
{
    ASSERT_TRUE(run.wait_for_title());
    ASSERT_EQ(run.x_command("xdotool windowsize " + std::to_string(run.window()) + " 1100 720"), 0);
    int w = 0, h = 0;
    ASSERT_TRUE(run.wait_until([&] { return run.window_size(&w, &h) && w == 1100 && h == 720; }));
    ASSERT_TRUE(run.wait_frames(10));
    run.view = {1100, 720, 0.9 / 1280 * 8};

    // The title keeps its 4:3 shape: black bars at the sides, the picture
    // between, down to the new bottom edge.
    EXPECT_LT(run.brightness(0, 200, 60, 300), 0.02) << "the title is stretched over the sides";
    EXPECT_GT(run.gui_brightness(1.0, 1.3, 5.0, 0.7), 0.2);
    EXPECT_TRUE(run.wait_until([&] { return run.brightness(800, 500, 220, 210) > 0.05; }))
        << "the lower right of the resized picture stays dark";
    // The pixels where Help's panel lies; the panel is open or closed when
    // most of them differ from a picture taken before.
    auto help_pixels = [&] { return run.grab(300, 200, 500, 250); };
    std::vector<unsigned char> before = help_pixels();
    ASSERT_TRUE(run.click_gui(1.675 + 0.5 * 4 + 0.125, -0.425));   // the Help icon
    EXPECT_TRUE(run.wait_until([&] { return share_changed(help_pixels(), before) > 0.25; }))
        << "Help did not open: the pointer did not reach its icon";
    EXPECT_TRUE(run.screenshot(screenshot_path("help_1100x720.png")));
    std::vector<unsigned char> open = help_pixels();
    ASSERT_TRUE(run.click_gui(5.3 - 0.25 + 0.06, 1.55 - 0.07 - 0.06));   // the help panel's Cancel
    EXPECT_TRUE(run.wait_until([&] { return share_changed(help_pixels(), open) > 0.25; }))
        << "Cancel did not close Help";
    ASSERT_TRUE(run.close_window());
    EXPECT_EQ(run.wait_exit(20), 0);
}

// Escape closes each screen over the title. In the editor a drag paints a row,
// the power-up layer takes a power-up, F2 writes exactly those cells, F1
// test-plays and Escape comes back; F12 with a change asks, and Save writes it.
TEST_F(FirstMinutesE2E, EscapeStepsBackTheEditorSavesAndTestPlaysAndUnsavedWorkIsAskedAbout)
{
    const std::string level1 = run.player_dir() + "/user_data/l1.raw";
    ASSERT_TRUE(run.wait_for_title());
    // The logo is covered by the help page, the score table and the browser;
    // the play options cover the band under it.
    auto logo = [&] { return run.gui_brightness(1.0, 1.3, 5.0, 0.7); };
    auto middle = [&] { return run.gui_brightness(1.5, 0.4, 4.5, 0.0); };
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

    ASSERT_TRUE(run.click_menu(MENU_EDIT));
    bool open = run.wait_until([&] { return editor_shown(); });
    if (!open)
        run.screenshot(screenshot_path("editor_not_open.png"));
    ASSERT_TRUE(open) << "Edit Levels did not open the editor (screenshot editor_not_open.png)";
    // A left drag along row 6, one cell at a time: each step waits until the
    // cell under the pointer shows its brick.
    const int ROW = 6, PUP_ROW = 12, PUP_COL = 9;
    double empty = cell_brightness(ROW, 1);
    ASSERT_TRUE(run.point_gui(cell_centre_x(1), cell_centre_y(ROW)));
    ASSERT_EQ(run.x_command("xdotool mousedown 1"), 0);
    for (int c = 1; c <= 20; c++) {
        ASSERT_TRUE(run.point_gui(cell_centre_x(c), cell_centre_y(ROW)));
        EXPECT_TRUE(run.wait_until([&] { return std::abs(cell_brightness(ROW, c) - empty) > 0.05; }))
            << "cell " << c << " was not painted";
    }
    ASSERT_EQ(run.x_command("xdotool mouseup 1"), 0);
    ASSERT_TRUE(run.point_gui(3.0, -1.0));
    run.screenshot(screenshot_path("editor.png"));

    // The power-up layer dims the bricks; a click there places the current power-up.
    double painted = cell_brightness(ROW, 5);
    ASSERT_TRUE(run.click_gui(POWERUP_X, POWERUP_Y));
    ASSERT_TRUE(run.wait_until([&] { return cell_brightness(ROW, 5) < painted - 0.05; }))
        << "the power-up layer did not come on";
    double before = cell_brightness(PUP_ROW, PUP_COL);
    ASSERT_TRUE(run.click_gui(cell_centre_x(PUP_COL), cell_centre_y(PUP_ROW)));
    ASSERT_TRUE(run.point_gui(3.0, -1.0));
    EXPECT_TRUE(run.wait_until([&] { return std::abs(cell_brightness(PUP_ROW, PUP_COL) - before) > 0.05; }))
        << "no power-up icon appeared";
    run.screenshot(screenshot_path("editor_powerups.png"));

    ASSERT_TRUE(run.press_key("F2"));
    ASSERT_TRUE(run.wait_until([&] { return file_bytes(level1).size() == sizeof(level_file_record); }))
        << "F2 wrote no level file";
    const std::string saved = file_bytes(level1);
    level_file_record rec;
    memcpy(&rec, saved.data(), sizeof rec);
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

    // "Level saved." is up; its OK sits at the panel's top right. The title
    // slides away over the test game for as many frames as its fade lasts.
    ASSERT_TRUE(run.click_gui(4.2 - 0.25 + 0.06, 0.9 - 0.07 - 0.06));
    ASSERT_TRUE(run.press_key("F1"));
    EXPECT_TRUE(run.wait_until([&] { return !editor_shown(); })) << "F1 did not leave the editor";
    ASSERT_TRUE(run.wait_frames(FADE_FRAMES + FADE_MARGIN_FRAMES));
    run.screenshot(screenshot_path("editor_test_play.png"));
    ASSERT_TRUE(run.press_key("Escape"));
    EXPECT_TRUE(run.wait_until([&] { return editor_shown(); })) << "the editor did not come back";
    run.screenshot(screenshot_path("editor_after_test.png"));
    EXPECT_EQ(file_bytes(level1), saved);

    // Leaving with a change asks first; after F12, Save writes the level and
    // ends the game.
    auto question = [&] { return run.gui_brightness(1.5, 0.85, 4.5, 0.5) > 0.6; };
    ASSERT_TRUE(run.click_gui(cell_centre_x(10), cell_centre_y(10)));
    ASSERT_TRUE(run.press_key("F12"));
    ASSERT_TRUE(run.wait_until_or_frames(question, CHANGE_FRAMES)) << "F12 did not ask";
    EXPECT_TRUE(run.screenshot(screenshot_path("editor_unsaved_question.png")));
    EXPECT_EQ(run.wait_exit(0), -1) << "F12 quit before the answer";
    ASSERT_TRUE(run.click_gui(4.28, 0.77));   // Save
    EXPECT_EQ(run.wait_exit(60), 0);
    std::string level = file_bytes(level1);
    ASSERT_EQ(level.size(), 10584u) << "Save did not write the level";
    EXPECT_NE(int_at(level, (10 * 21 + 10) * 4), 0);
}

// The mended layouts, photographed at 800 x 600 (resolution 2) and 1280 x
// 1024 (resolution 7): the editor with its unsaved mark and colour values,
// the overwrite question, the unsaved-changes question, the help page and the
// play options with Continue off. At 1280 x 1024 the pointer moves
// 1 / 1280 x 8 GUI units per pixel.
class LayoutShots : public ::testing::TestWithParam<int> {};

TEST_P(LayoutShots, PanelsAtThisSize)
{
    const int resolution = GetParam();
    const std::string size = resolution == 7 ? "1280x1024" : "800x600";
    game_run run;
    if (resolution == 7)
        run.view = {1280, 1024, 1.0 / 1280 * 8};
    ASSERT_TRUE(run.start(windowed_settings(resolution))) << run.error();
    ASSERT_NE(run.window(), 0u);
    auto shot = [&](const char *name) {
        EXPECT_TRUE(run.screenshot(screenshot_path(std::string(name) + "_" + size + ".png")));
    };
    // The title is up once its logo is lit and the fade has had its frames.
    ASSERT_TRUE(run.wait_until([&] { return run.gui_brightness(1.0, 1.3, 5.0, 0.7) > 0.2; })) << "no title";
    ASSERT_TRUE(run.wait_frames(FADE_FRAMES + FADE_MARGIN_FRAMES));
    shot("title");
    std::filesystem::create_directories(run.player_dir() + "/level_sets");
    std::ofstream(run.player_dir() + "/level_sets/mine.bls") << "old";

    // Play options without a saved game: Continue plainly off. Each menu
    // icon's screen covers the band under the logo.
    ASSERT_TRUE(run.click_changes(1.675 + 0.125, -0.425, 1.5, 0.4, 4.5, 0.0));
    EXPECT_LT(run.gui_brightness(3.45, 0.25, 3.7, 0.0), 0.6 * run.gui_brightness(4.15, 0.25, 4.4, 0.0))
        << "Continue is not plainly off";
    shot("options");
    ASSERT_TRUE(run.press_key("Escape"));
    ASSERT_TRUE(run.wait_frames(10));

    ASSERT_TRUE(run.click_changes(1.675 + 0.5 * 4 + 0.125, -0.425, 1.5, 0.4, 4.5, 0.0));   // Help
    shot("help");
    ASSERT_TRUE(run.press_key("Escape"));
    ASSERT_TRUE(run.wait_frames(10));

    ASSERT_TRUE(run.click_changes(1.675 + 0.5 * 2 + 0.125, -0.425, 1.5, 0.4, 4.5, 0.0));   // Edit Levels
    ASSERT_TRUE(run.click_gui(cell_centre_x(2), cell_centre_y(2)));
    ASSERT_TRUE(run.wait_frames(10));
    shot("editor_unsaved");
    ASSERT_TRUE(run.click_changes(CREATE_X, CREATE_Y, 1.5, 0.85, 4.5, 0.5));
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
