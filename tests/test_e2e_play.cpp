// End to end: a game played from the title screen with real input. Play, then
// Play in the options, starts level 1; a click launches the ball; Escape saves
// the game and returns to the title; Continue resumes it.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>

#include "e2e.h"
#include "rules/savegame.h"

namespace {

// The main menu's Play icon on an 800 x 600 window, and the options panel's
// Continue and Play buttons (centres, in GUI units).
const int MENU_PLAY_X = 227, MENU_PLAY_Y = 361;
const double CONTINUE_X = 3.575, PLAY_X = 4.275, BUTTONS_Y = 0.125;

void pause_s(double s)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(s));
}

bool read_save(const std::string &path, saved_game *g)
{
    std::ifstream f(path, std::ios::binary);
    f.read((char *)g, sizeof *g);
    return f.gcount() == (std::streamsize)sizeof *g;
}

class Play : public ::testing::Test {
protected:
    game_run run;
    std::string save;

    void SetUp() override
    {
        ASSERT_TRUE(run.start(windowed_settings(2))) << run.error();
        ASSERT_NE(run.window(), 0u);
        save = run.player_dir() + "/level_sets/corvale.sav";
    }
    // Waits until the title has faded in completely: bright, and no longer
    // changing between two looks (the fade lasts 101 frames, however slow).
    void wait_for_title()
    {
        run.move_to(700, 560);  // out of the way of the menu
        double last = -1;
        for (int k = 0; k < 150; k++) {
            double now = run.brightness(150, 100, 500, 120);
            if (now > 0.2 && std::abs(now - last) < 0.002)
                break;
            last = now;
            pause_s(0.2);
        }
        pause_s(0.3);
    }
    // From the title: the options panel, then one of its buttons; waits out
    // the fade-out into play.
    void start_from_options(double button_x)
    {
        // The options panel covers the middle of the title; a click that came
        // a frame too early is tried again.
        double middle = run.brightness(200, 250, 400, 60);
        bool open = false;
        for (int tries = 0; tries < 3 && !open; tries++) {
            ASSERT_TRUE(run.click_pixel(MENU_PLAY_X, MENU_PLAY_Y));
            pause_s(0.5);
            open = std::abs(run.brightness(200, 250, 400, 60) - middle) > 0.05;
        }
        ASSERT_TRUE(open) << "the play options did not open";
        ASSERT_TRUE(run.click_gui(button_x, BUTTONS_Y));
        // The fade-out lasts 101 frames; software rendering on a busy machine
        // may stretch that to a few seconds.
        pause_s(4.0);
    }
    // Launches with the paddle under the middle of the field and lets it play.
    void launch_and_play(double seconds)
    {
        ASSERT_TRUE(run.click_at(345, 400));
        pause_s(seconds);
    }
};

TEST_F(Play, EscapeSavesTheGameAndContinueResumesIt)
{
    wait_for_title();
    start_from_options(PLAY_X);
    ASSERT_NE(access(save.c_str(), F_OK), 0) << "saved before any game was left";
    launch_and_play(8.0);
    ASSERT_TRUE(run.press_key("Escape"));
    pause_s(1.0);

    saved_game first;
    ASSERT_TRUE(read_save(save, &first)) << "Escape during play wrote no save";
    EXPECT_EQ(first.level, 1);
    EXPECT_STREQ(first.set_name, "default.bls");
    EXPECT_GT(first.score, 0) << "the launched ball broke no brick";
    EXPECT_EQ(run.wait_exit(0), -1);

    // Back on the title: continue the saved game, then leave it again. Once
    // the save has been read, a new one can only come from leaving that game.
    saved_game second;
    bool resumed = false;
    for (int tries = 0; tries < 2 && !resumed; tries++) {
        wait_for_title();
        start_from_options(CONTINUE_X);
        remove(save.c_str());
        ASSERT_TRUE(run.press_key("Escape"));
        pause_s(1.0);
        resumed = read_save(save, &second);
        if (!resumed) {
            // Keep the evidence, and give the saved game back for a second try.
            mkdir(CORVALE_BINARY_DIR "/screenshots", 0755);
            run.screenshot(CORVALE_BINARY_DIR "/screenshots/continue_failed.png");
            std::ofstream(save, std::ios::binary).write((const char *)&first, sizeof first);
        }
    }
    ASSERT_TRUE(resumed) << "the continued game was not in play (screenshot continue_failed.png)";
    EXPECT_GE(second.score, first.score) << "continuing started a fresh game";
    EXPECT_EQ(second.level, first.level);

    ASSERT_TRUE(run.close_window());
    EXPECT_EQ(run.wait_exit(20), 0);
}

// The high-score name dialog is a white panel over the upper middle of the title.
bool name_dialog_open(game_run &run)
{
    return run.brightness(200, 180, 400, 40) > 0.6;
}

TEST_F(Play, LosingEveryBallEndsTheGameAndTheNameEntersTheTable)
{
    wait_for_title();
    start_from_options(PLAY_X);
    // Launch, then pull the paddle to the far left so the ball is missed.
    bool dialog = false;
    for (int life = 0; life < 14 && !dialog; life++) {
        ASSERT_TRUE(run.click_at(345, 400));
        ASSERT_TRUE(run.move_to(0, 300));
        pause_s(6.0);
        dialog = name_dialog_open(run);
    }
    ASSERT_TRUE(dialog) << "no high-score dialog after the game was lost";
    mkdir(CORVALE_BINARY_DIR "/screenshots", 0755);
    run.screenshot(CORVALE_BINARY_DIR "/screenshots/high_score_name.png");
    ASSERT_EQ(run.x_command("xdotool type --delay 200 Ace"), 0);
    ASSERT_TRUE(run.press_key("Return"));
    pause_s(1.0);

    std::ifstream f(run.player_dir() + "/level_sets/scores.hst", std::ios::binary);
    std::string table((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    ASSERT_EQ(table.size(), 3360u);
    EXPECT_EQ(std::string(table.c_str()), "Ace") << "the first entry holds the typed name";
    int32_t points = 0;
    memcpy(&points, table.data() + 164, sizeof points);
    EXPECT_GT(points, 0);
    ASSERT_TRUE(run.close_window());
    EXPECT_EQ(run.wait_exit(20), 0);
}

}  // namespace
