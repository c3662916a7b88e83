// End to end: the editor's tools and files with real input, from the first
// painted row to the level set made of the levels and played.

#include <string>
#include <utility>

#include "e2e_test.h"

namespace {

// Toolbar buttons and panel OK buttons (centres, GUI units).
const double NEXT_LEVEL_X = 1.755, NEXT_LEVEL_Y = -0.485;
const double CREATE_X = 3.625, CREATE_Y = -1.445;
const double MESSAGE_OK_X = 4.01, MESSAGE_OK_Y = 0.77;   // "Level saved."
const double CREATED_OK_X = 4.81;                        // the wider "Level set created: ..." panel
const double BROWSER_PLAY_X = 4.275, BROWSER_PLAY_Y = -0.125;
// The tool column left of the canvas: its buttons' centres, from the top.
const double TOOL_X = 0.36;
enum { TOOL_BRUSH = 0, TOOL_FILLED_RECTANGLE = 3, TOOL_MIRROR = 5 };
double tool_y(int row) { return 1.98 - 0.21 * row - 0.09; }
// The browser's preview: its top-left corner, a cell's size, and its Next button.
const double PREVIEW_X = 3.36, PREVIEW_Y = 0.06, PREVIEW_CELL_W = 0.036, PREVIEW_CELL_H = 0.01728;
const double PREVIEW_NEXT_X = 4.03, PREVIEW_NEXT_Y = -0.36;

// Bricks in row r of a level file's texture grid, columns 1..20.
int bricks_in_row(const std::string &level, int r)
{
    int n = 0;
    for (int c = 1; c <= 20; c++)
        n += int_at(level, (r * 21 + c) * 4) != 0;
    return n;
}

class EditorFilesE2E : public GameTest {
protected:
    // Presses F2; the level file once it holds `bricks` bricks in row r.
    std::string save_until(const std::string &path, int r, int bricks)
    {
        std::string level;
        EXPECT_TRUE(run.press_key("F2"));
        run.wait_until([&] {
            level = file_bytes(path);
            return level.size() == 10584 && bricks_in_row(level, r) == bricks;
        });
        return level;
    }
    // Closes an open one-message panel with its OK.
    void message_ok(double ok_x = MESSAGE_OK_X)
    {
        EXPECT_TRUE(run.click_changes(ok_x, MESSAGE_OK_Y, 1.9, 0.85, 4.1, 0.7))
            << "the message stayed open";
    }
};

TEST_F(EditorFilesE2E, LevelsSavedMovedBetweenAndPackedIntoASetThatTheBrowserPlays)
{
    const std::string data = run.player_dir();
    ASSERT_TRUE(run.wait_for_title());
    // Edit Levels: the canvas replaces the title.
    ASSERT_TRUE(run.open_from_title(MENU_EDIT)) << "the editor did not open";

    // Mirror and filled rectangle: a drag over the left half of row 3 fills
    // all of it; F2 writes level 1.
    ASSERT_TRUE(run.click_gui(TOOL_X, tool_y(TOOL_MIRROR)));
    ASSERT_TRUE(run.click_gui(TOOL_X, tool_y(TOOL_FILLED_RECTANGLE)));
    ASSERT_TRUE(run.point_gui(cell_centre_x(1), cell_centre_y(3)));
    ASSERT_EQ(run.x_command("xdotool mousedown 1"), 0);
    ASSERT_TRUE(run.point_gui(cell_centre_x(10), cell_centre_y(3)));
    ASSERT_EQ(run.x_command("xdotool mouseup 1"), 0);
    std::string level1 = save_until(data + "/user_data/l1.raw", 3, 20);
    ASSERT_EQ(level1.size(), 10584u) << "F2 wrote no level 1";
    EXPECT_EQ(bricks_in_row(level1, 3), 20) << "the mirrored rectangle missed cells of row 3";
    EXPECT_TRUE(run.screenshot(screenshot_path("editor_tools.png")));
    EXPECT_EQ(bricks_in_row(level1, 5), 0);
    message_ok();

    // Next level (row 3's bricks leave the canvas), the brush, three mirrored
    // clicks in row 5, F2: level 2.
    ASSERT_TRUE(run.click_changes(NEXT_LEVEL_X, NEXT_LEVEL_Y, 0.5, cell_centre_y(3) + 0.05, 5.5,
                                  cell_centre_y(3) - 0.05))
        << "Next level showed no other level";
    ASSERT_TRUE(run.click_gui(TOOL_X, tool_y(TOOL_BRUSH)));
    for (int c = 8; c <= 10; c++)
        ASSERT_TRUE(run.click_gui(cell_centre_x(c), cell_centre_y(5)));
    std::string level2 = save_until(data + "/user_data/l2.raw", 5, 6);
    ASSERT_EQ(level2.size(), 10584u) << "F2 after Next level wrote no level 2";
    EXPECT_EQ(bricks_in_row(level2, 3), 0);
    EXPECT_EQ(file_bytes(data + "/user_data/l1.raw"), level1) << "level 1 changed";
    message_ok();

    // Ctrl+Up moves level 2 before level 1.
    ASSERT_TRUE(run.press_key("ctrl+Up", [&] {
        return file_bytes(data + "/user_data/l1.raw") == level2 && file_bytes(data + "/user_data/l2.raw") == level1;
    })) << "the levels were not reordered";
    std::swap(level1, level2);

    // Create Level Set: the texts are kept exactly, capitals and punctuation;
    // the file name of a set that comes with the game is refused, a second taken.
    const std::string shipped = file_bytes(run.game_dir() + "/level_sets/default.bls");
    ASSERT_GT(shipped.size(), 784u);
    ASSERT_TRUE(run.click_changes(CREATE_X, CREATE_Y, 1.5, 0.85, 4.5, 0.5))
        << "the name entry did not open";
    ASSERT_TRUE(run.type_text("Zed, Ace. Co-op 9"));
    EXPECT_TRUE(run.screenshot(screenshot_path("editor_set_name_dialog.png")));
    ASSERT_TRUE(run.press_key("Return"));
    for (const char *answer : {"Two levels; made fast!", "Ann O'Brien", "default"})
        ASSERT_TRUE(run.type_text(answer) && run.press_key("Return"));
    ASSERT_TRUE(run.wait_frames(60));
    EXPECT_TRUE(run.screenshot(screenshot_path("editor_shipped_name_refused.png")));
    EXPECT_EQ(file_bytes(data + "/level_sets/default.bls"), "") << "the player's set would hide the game's";
    for (int n = 0; n < 7; n++)
        ASSERT_TRUE(run.press_key("BackSpace"));
    ASSERT_TRUE(run.type_text("aaarows") && run.press_key("Return"));
    const std::string set_file = data + "/level_sets/aaarows.bls";
    std::string set;
    ASSERT_TRUE(run.wait_until([&] {
        set = file_bytes(set_file);
        return set.size() >= 784;
    })) << "no set was written under the second name";
    EXPECT_TRUE(run.screenshot(screenshot_path("editor_set_created.png")));
    EXPECT_EQ(int_at(set, 0), 2);
    EXPECT_EQ(std::string(set.c_str() + 8), "Zed, Ace. Co-op 9");
    EXPECT_EQ(std::string(set.c_str() + 263), "Ann O'Brien");
    EXPECT_EQ(std::string(set.c_str() + 518), "Two levels; made fast!");
    EXPECT_EQ(file_bytes(run.game_dir() + "/level_sets/default.bls"), shipped);
    ASSERT_GE(set.size(), 784u + 2 * 10632u);
    for (int b = 0; b < 6; b++) {
        EXPECT_EQ(set.compare(784 + b * 1772, 1764, level1, b * 1764, 1764), 0) << "level 1 block " << b;
        EXPECT_EQ(set.compare(784 + 10632 + b * 1772, 1764, level2, b * 1764, 1764), 0)
            << "level 2 block " << b;
    }
    message_ok(CREATED_OK_X);

    // Back to the title; the browser shows the new set first (by name) and plays it.
    ASSERT_TRUE(run.press_key("Escape"));
    ASSERT_TRUE(run.wait_for_title());
    ASSERT_TRUE(run.open_from_title(MENU_LOAD)) << "the browser did not open";
    EXPECT_TRUE(run.screenshot(screenshot_path("browser_player_set.png")));
    // Its preview shows level 1 (row 5's six bricks), then level 2 (row 3).
    auto row_lit = [&](int r, int c1, int c2) {
        return run.gui_brightness(PREVIEW_X + PREVIEW_CELL_W * (c1 - 1) + 0.005,
                                  PREVIEW_Y - PREVIEW_CELL_H * (r - 1) - 0.004,
                                  PREVIEW_X + PREVIEW_CELL_W * c2 - 0.005,
                                  PREVIEW_Y - PREVIEW_CELL_H * r + 0.004) > 0.5;
    };
    EXPECT_TRUE(run.wait_until([&] { return row_lit(5, 8, 13) && !row_lit(3, 1, 20); }))
        << "the preview does not show the set's first level";
    ASSERT_TRUE(run.click_gui(PREVIEW_NEXT_X, PREVIEW_NEXT_Y));
    EXPECT_TRUE(run.wait_until([&] { return row_lit(3, 1, 20) && !row_lit(5, 8, 13); }))
        << "the preview did not flip to the second level";
    ASSERT_TRUE(run.click_gui(BROWSER_PLAY_X, BROWSER_PLAY_Y));
    ASSERT_TRUE(run.wait_frames(FADE_FRAMES + FADE_MARGIN_FRAMES));

    // Leaving the game saves it: the save names the new set and holds level 1's row.
    std::string save;
    auto saved = [&] { return (save = file_bytes(data + "/level_sets/corvale.sav")).size() == 4268; };
    ASSERT_TRUE(run.press_key("Escape", saved) && saved())
        << "the game of the new set was never in play";
    EXPECT_EQ(std::string(save.c_str() + 132), "aaarows.bls");
    EXPECT_EQ(int_at(save, 20), 1) << "level";
    int row3 = 0, row5 = 0;
    for (int c = 1; c <= 20; c++) {
        row3 += int_at(save, 388 + (3 * 22 + c) * 4);
        row5 += int_at(save, 388 + (5 * 22 + c) * 4);
    }
    EXPECT_EQ(row5, 6) << "level 1 of the set (the level moved first) is in play";
    EXPECT_EQ(row3, 0);

    ASSERT_TRUE(run.close_window());
    EXPECT_EQ(run.wait_exit(20), 0);
}

}  // namespace
