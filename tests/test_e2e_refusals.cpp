// End to end: files the game refuses, in the real game under Xvfb. A level set
// that cannot be read, a damaged saved game and a damaged score table are
// explained in a panel over the title and stay byte for byte as they were.

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "e2e_test.h"
#include "rules/savegame.h"

namespace {

// The notice's OK button (centre, GUI units).
const double NOTICE_OK_X = 4.81, NOTICE_OK_Y = 0.77;
// Frames a click is given to open or close a panel.
const int PANEL_FRAMES = 60;

class Refusals : public GameTest {
protected:
    // A file in the player's data folder, its folders made.
    std::string player_file(const char *name)
    {
        std::string path = run.player_dir() + "/" + name;
        std::filesystem::create_directories(path.substr(0, path.rfind('/')));
        return path;
    }

    // The notice panel's white top strip, above its text.
    bool notice_open() { return run.brightness(150, 172, 500, 6) > 0.85; }
    // Clicks a GUI point and waits for the notice to show.
    void click_for_notice(double gx, double gy)
    {
        ASSERT_TRUE(run.click_gui(gx, gy));
        ASSERT_TRUE(run.wait_until_or_frames([&] { return notice_open(); }, PANEL_FRAMES))
            << "no notice was shown";
    }
    // Closes the notice with its OK and checks that the title is still there.
    void dismiss_notice()
    {
        ASSERT_TRUE(run.click_gui(NOTICE_OK_X, NOTICE_OK_Y));
        ASSERT_TRUE(run.wait_until_or_frames([&] { return !notice_open(); }, PANEL_FRAMES))
            << "the notice's OK did not close it";
        EXPECT_GT(run.brightness(150, 100, 500, 120), 0.2) << "a game started behind the notice";
        EXPECT_EQ(run.wait_exit(0), -1);
    }
};

// One start: a damaged score table is set aside when the table opens, a
// damaged save dims Continue and Continue explains it, and Play explains a set
// damaged after start-up (read again when a game starts). Files stay as they were.
TEST_F(Refusals, ADamagedSaveSetAndScoreTableAreExplainedAndKept)
{
    ASSERT_TRUE(run.wait_for_title());
    std::string table = player_file("level_sets/scores.hst");
    std::string damaged_table(3359, 'x');
    std::ofstream(table, std::ios::binary | std::ios::trunc) << damaged_table;
    std::string aside = table + ".damaged";
    ASSERT_TRUE(run.click_menu(MENU_SCORES));
    ASSERT_TRUE(run.wait_until_or_frames([&] { return notice_open(); }, PANEL_FRAMES))
        << "no notice when the table was opened";
    run.screenshot(screenshot_path("scores_damaged.png"));
    EXPECT_EQ(file_bytes(aside), damaged_table);
    EXPECT_NE(access(table.c_str(), F_OK), 0) << "a new table was written before any score";
    ASSERT_TRUE(run.click_gui(NOTICE_OK_X, NOTICE_OK_Y));
    ASSERT_TRUE(run.wait_until_or_frames([&] { return !notice_open(); }, PANEL_FRAMES))
        << "the notice's OK did not close it";
    // The table's close box, at its top right, goes back to the title.
    double title = run.brightness(150, 100, 500, 120);
    ASSERT_TRUE(run.click_pixel(705, 166));
    ASSERT_TRUE(run.wait_until_or_frames(
        [&] { return run.brightness(150, 100, 500, 120) > title + 0.05; }, PANEL_FRAMES))
        << "the table did not close";

    // A save of level 1 of the shipped set whose standing brick has type 9.
    saved_game g;
    memset(&g, 0, sizeof g);
    g.level = 1;
    g.counter = 1;
    g.difficulty = 1;
    strcpy(g.set_name, "default.bls");
    g.presence[save_index(1, 1)] = 1;
    g.types[save_index(1, 1)] = 9;
    std::string save = player_file("level_sets/corvale.sav");
    std::string record((const char *)&g, sizeof g);
    std::ofstream(save, std::ios::binary | std::ios::trunc) << record;

    // Opening the options reads the save: Continue is drawn dimmer than Play.
    ASSERT_TRUE(run.open_play_options()) << "the play options did not open";
    ASSERT_TRUE(run.move_to(700, 560));
    EXPECT_TRUE(run.wait_until_or_frames([&] {
        return run.brightness(470, 268, 26, 26) < 0.9 * run.brightness(572, 268, 26, 26);
    }, PANEL_FRAMES)) << "Continue is not dimmed";
    ASSERT_NO_FATAL_FAILURE(click_for_notice(OPTIONS_CONTINUE_X, OPTIONS_BUTTONS_Y));
    run.screenshot(screenshot_path("save_refused.png"));
    ASSERT_NO_FATAL_FAILURE(dismiss_notice());
    EXPECT_EQ(file_bytes(save), record);

    std::string set = run.game_dir() + "/level_sets/default.bls";
    std::string whole = file_bytes(set);
    ASSERT_GT(whole.size(), 20000u);
    const std::string damaged_set = whole.substr(0, whole.size() - 5000);
    std::ofstream(set, std::ios::binary | std::ios::trunc) << damaged_set;
    ASSERT_NO_FATAL_FAILURE(click_for_notice(OPTIONS_PLAY_X, OPTIONS_BUTTONS_Y));
    run.screenshot(screenshot_path("set_refused.png"));
    ASSERT_NO_FATAL_FAILURE(dismiss_notice());
    EXPECT_EQ(file_bytes(set), damaged_set);

    ASSERT_TRUE(run.close_window());
    EXPECT_EQ(run.wait_exit(20), 0);
}

}  // namespace
