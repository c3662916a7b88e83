// End to end: files the game refuses, in the real game under Xvfb. A level set
// that cannot be read, a damaged saved game and a damaged score table are
// explained in a panel over the title and stay byte for byte as they were.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <unistd.h>

#include "e2e.h"
#include "rules/savegame.h"

namespace {

// The main menu's Play icon on an 800 x 600 window; the options panel's
// Continue and Play buttons, and the notice's OK button (centres, GUI units).
const int MENU_PLAY_X = 227, MENU_PLAY_Y = 361;
const double CONTINUE_X = 3.575, PLAY_X = 4.275, BUTTONS_Y = 0.125;
const double NOTICE_OK_X = 4.81, NOTICE_OK_Y = 0.77;
const double MENU_SCORES_X = 3.3, MENU_SCORES_Y = -0.425;

std::string file_bytes(const std::string &path)
{
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

// Polls what until it holds or timeout_s passes.
bool wait_for(const std::function<bool()> &what, double timeout_s)
{
    auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout_s);
    while (std::chrono::steady_clock::now() < until) {
        if (what())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return what();
}

class Refusals : public ::testing::Test {
protected:
    game_run run;

    void SetUp() override
    {
        ASSERT_TRUE(run.start(windowed_settings(2))) << run.error();
        ASSERT_NE(run.window(), 0u);
    }
    std::string game_file(const char *name) { return run.game_dir() + "/" + name; }
    // A file in the player's data folder, its folders made.
    std::string player_file(const char *name)
    {
        std::string path = run.player_dir() + "/" + name;
        std::filesystem::create_directories(path.substr(0, path.rfind('/')));
        return path;
    }

    // The notice panel's white top strip, above its text.
    bool notice_open() { return run.brightness(150, 172, 500, 6) > 0.85; }
    // The options panel covers the middle of the title.
    bool options_open(double title_middle)
    {
        return std::abs(run.brightness(200, 250, 400, 60) - title_middle) > 0.05;
    }
    // Waits until the title has faded in: bright, and the same on two looks.
    void wait_for_title()
    {
        run.move_to(700, 560);
        double last = -1;
        ASSERT_TRUE(wait_for([&] {
            double now = run.brightness(150, 100, 500, 120);
            bool settled = now > 0.2 && std::abs(now - last) < 0.002;
            last = now;
            return settled;
        }, 60)) << "the title never settled";
    }
    // Opens the play options from the menu; a click the title took too early is repeated.
    void open_options()
    {
        double middle = run.brightness(200, 250, 400, 60);
        ASSERT_TRUE(wait_for([&] {
            run.click_pixel(MENU_PLAY_X, MENU_PLAY_Y);
            return wait_for([&] { return options_open(middle); }, 3);
        }, 60)) << "the play options did not open";
    }
    // Presses a button of the options until the notice shows.
    void press_until_notice(double button_x)
    {
        ASSERT_TRUE(wait_for([&] {
            run.click_gui(button_x, BUTTONS_Y);
            return wait_for([&] { return notice_open(); }, 3);
        }, 60)) << "no notice was shown";
    }
    // Closes the notice with its OK and checks that the title is still there.
    void dismiss_notice()
    {
        ASSERT_TRUE(wait_for([&] {
            run.click_gui(NOTICE_OK_X, NOTICE_OK_Y);
            return wait_for([&] { return !notice_open(); }, 3);
        }, 60)) << "the notice's OK did not close it";
        EXPECT_GT(run.brightness(150, 100, 500, 120), 0.2) << "a game started behind the notice";
        EXPECT_EQ(run.wait_exit(0), -1);
    }
};

TEST_F(Refusals, ALevelSetThatCannotBeReadIsExplainedAndKept)
{
    wait_for_title();
    // Damaged after start-up: the set is read again when Play starts a game.
    std::string set = game_file("level_sets/default.bls");
    std::string whole = file_bytes(set);
    ASSERT_GT(whole.size(), 20000u);
    const std::string damaged = whole.substr(0, whole.size() - 5000);
    std::ofstream(set, std::ios::binary | std::ios::trunc) << damaged;

    open_options();
    press_until_notice(PLAY_X);
    run.screenshot(CORVALE_BINARY_DIR "/screenshots/set_refused.png");
    dismiss_notice();
    EXPECT_EQ(file_bytes(set), damaged);
    ASSERT_TRUE(run.close_window());
    EXPECT_EQ(run.wait_exit(20), 0);
}

TEST_F(Refusals, ADamagedSaveDimsContinueAndIsExplainedAndKept)
{
    wait_for_title();
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
    open_options();
    run.move_to(700, 560);
    EXPECT_TRUE(wait_for([&] {
        return run.brightness(470, 268, 26, 26) < 0.9 * run.brightness(572, 268, 26, 26);
    }, 20)) << "Continue is not dimmed";
    press_until_notice(CONTINUE_X);
    run.screenshot(CORVALE_BINARY_DIR "/screenshots/save_refused.png");
    dismiss_notice();
    EXPECT_EQ(file_bytes(save), record);
    ASSERT_TRUE(run.close_window());
    EXPECT_EQ(run.wait_exit(20), 0);
}

TEST_F(Refusals, AScoreTableThatCannotBeReadIsKeptAsideWhenTheTableOpens)
{
    wait_for_title();
    std::string table = player_file("level_sets/scores.hst");
    std::string damaged(3359, 'x');
    std::ofstream(table, std::ios::binary | std::ios::trunc) << damaged;

    std::string aside = table + ".damaged";
    ASSERT_TRUE(wait_for([&] {
        run.click_gui(MENU_SCORES_X, MENU_SCORES_Y);
        return wait_for([&] { return notice_open(); }, 3);
    }, 60)) << "no notice when the table was opened";
    run.screenshot(CORVALE_BINARY_DIR "/screenshots/scores_damaged.png");
    EXPECT_EQ(file_bytes(aside), damaged);
    EXPECT_NE(access(table.c_str(), F_OK), 0) << "a new table was written before any score";
    ASSERT_TRUE(wait_for([&] {
        run.click_gui(NOTICE_OK_X, NOTICE_OK_Y);
        return wait_for([&] { return !notice_open(); }, 3);
    }, 60)) << "the notice's OK did not close it";
    ASSERT_TRUE(run.close_window());
    EXPECT_EQ(run.wait_exit(20), 0);
}

}  // namespace
