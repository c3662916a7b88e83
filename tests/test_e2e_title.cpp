// End to end: from start-up to the title screen and its menu, driven with real
// pointer events in Xvfb; screenshots land in the build folder.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <thread>

#include "e2e.h"

namespace {

// Menu icon centres on an 800 x 600 window, left to right: Play, Load Levels,
// Edit Levels, High Scores, Help, Exit.
const int ICON_Y = 361;
const int ICON_X[6] = {227, 298, 371, 443, 515, 588};

void pause_s(double s)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(s));
}

std::string shot_path(const char *name)
{
    std::string folder = std::string(CORVALE_BINARY_DIR) + "/screenshots";
    mkdir(folder.c_str(), 0755);
    return folder + "/" + name;
}

class TitleScreen : public ::testing::Test {
protected:
    game_run run;
    void SetUp() override
    {
        ASSERT_TRUE(run.start(windowed_settings(2))) << run.error();
        ASSERT_NE(run.window(), 0u) << "exit code " << run.wait_exit(0);
    }
    // Watches the bottom left of the window, where the loading messages are
    // printed, until they show; false when they never did.
    bool saw_loading_messages()
    {
        for (int k = 0; k < 60; k++)
            if (run.brightness(30, 470, 400, 80) > 0.005)
                return true;
        return false;
    }
    // Waits until the title has faded in (about 1.6 s after loading).
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
};

TEST_F(TitleScreen, FadesInAfterTheLoadingMessages)
{
    EXPECT_TRUE(saw_loading_messages());
    double early = run.brightness(150, 100, 500, 120);
    wait_for_title();
    double late = run.brightness(150, 100, 500, 120);
    EXPECT_GT(late, 0.2);
    EXPECT_GT(late, early);
    EXPECT_TRUE(run.screenshot(shot_path("title.png")));
}

TEST_F(TitleScreen, HoveringAMenuIconLightsIt)
{
    wait_for_title();
    double before = run.brightness(ICON_X[4] - 16, ICON_Y - 16, 32, 32);
    ASSERT_TRUE(run.point_pixel(ICON_X[4], ICON_Y));
    pause_s(0.6);
    double lit = run.brightness(ICON_X[4] - 16, ICON_Y - 16, 32, 32);
    EXPECT_GT(lit, before + 0.02) << "before " << before << " lit " << lit;
}

TEST_F(TitleScreen, HelpOpensOverTheTitleAndCancelClosesIt)
{
    wait_for_title();
    double logo = run.brightness(150, 100, 500, 120);
    ASSERT_TRUE(run.click_pixel(ICON_X[4], ICON_Y));
    pause_s(0.5);
    EXPECT_TRUE(run.screenshot(shot_path("help.png")));
    // The help panel covers the logo.
    double with_help = run.brightness(150, 100, 500, 120);
    EXPECT_GT(std::abs(with_help - logo), 0.05) << "help page did not appear";
    // The help panel's Cancel button sits in its top right corner.
    ASSERT_TRUE(run.click_pixel(706, 94));
    pause_s(0.5);
    double after = run.brightness(150, 100, 500, 120);
    EXPECT_LT(std::abs(after - logo), std::abs(with_help - logo) / 2) << "help page did not close";
}

TEST_F(TitleScreen, ExitShowsTheCreditsAndTheNextClickQuits)
{
    wait_for_title();
    double title = run.brightness(150, 100, 500, 120);
    ASSERT_TRUE(run.click_pixel(ICON_X[5], ICON_Y));
    pause_s(0.5);
    EXPECT_TRUE(run.screenshot(shot_path("credits.png")));
    EXPECT_GT(std::abs(run.brightness(150, 100, 500, 120) - title), 0.01);
    EXPECT_EQ(run.wait_exit(0), -1) << "quit before the second click";
    ASSERT_TRUE(run.click_at(400, 300));
    EXPECT_EQ(run.wait_exit(20), 0);
}

}  // namespace
