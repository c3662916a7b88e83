// End to end: from start-up to the title screen and its menu, driven with real
// pointer events in Xvfb; screenshots land in the build folder.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "e2e.h"

namespace {

class TitleScreen : public ::testing::Test {
protected:
    game_run run;
    void SetUp() override
    {
        ASSERT_TRUE(run.start(windowed_settings(2))) << run.error();
        ASSERT_NE(run.window(), 0u) << "exit code " << run.wait_exit(0);
    }
    double logo() { return run.brightness(150, 100, 500, 120); }
};

// One start of the game: the loading messages, the title's fade-in, a lit
// menu icon under the pointer, Help over the title and its Cancel, then Exit:
// the credits, and the next click quits.
TEST_F(TitleScreen, LoadsFadesInLightsIconsOpensHelpPlaysTheDemoAndQuitsThroughTheCredits)
{
    // The loading messages are printed at the bottom left of the window.
    EXPECT_TRUE(run.wait_until([&] { return run.brightness(30, 470, 400, 80) > 0.005; }));
    double early = logo();
    ASSERT_TRUE(run.wait_for_title());
    double title = logo();
    EXPECT_GT(title, 0.2);
    EXPECT_GT(title, early);
    EXPECT_TRUE(run.screenshot(screenshot_path("title.png")));

    auto icon = [&] { return run.brightness(MENU_ICON_X[MENU_HELP] - 16, MENU_ICON_Y - 16, 32, 32); };
    double before = icon();
    ASSERT_TRUE(run.point_pixel(MENU_ICON_X[MENU_HELP], MENU_ICON_Y));
    run.wait_until_or_frames([&] { return icon() > before + 0.02; }, 30);
    double lit = icon();
    EXPECT_GT(lit, before + 0.02) << "before " << before << " lit " << lit;

    ASSERT_TRUE(run.click_menu(MENU_HELP));
    run.wait_until_or_frames([&] { return std::abs(logo() - title) > 0.05; }, 30);
    EXPECT_TRUE(run.screenshot(screenshot_path("help.png")));
    // The help panel covers the logo.
    double with_help = logo();
    EXPECT_GT(std::abs(with_help - title), 0.05) << "help page did not appear";
    // The help panel's Cancel button sits in its top right corner.
    ASSERT_TRUE(run.click_pixel(706, 94));
    run.wait_until_or_frames(
        [&] { return std::abs(logo() - title) < std::abs(with_help - title) / 2; }, 30);
    double after = logo();
    EXPECT_LT(std::abs(after - title), std::abs(with_help - title) / 2) << "help page did not close";

    // Left alone for 30 seconds the title gives way to the demo: the logo goes
    // and a game plays. A key brings the title back at once.
    // The demo's score line and status bar lie over the title's bottom.
    auto bottom = [&] { return run.brightness(40, 548, 700, 40); };
    double idle = bottom();
    bool demo = run.wait_until_or_frames([&] { return std::abs(bottom() - idle) > 0.08; }, 30 * 62 + 300);
    EXPECT_TRUE(run.screenshot(screenshot_path("demo.png")));
    ASSERT_TRUE(demo) << "no demo after the title stood idle (screenshot demo.png)";
    ASSERT_TRUE(run.press_key("a", [&] { return std::abs(bottom() - idle) < 0.03; }))
        << "a key did not bring the title back";

    ASSERT_TRUE(run.click_menu(MENU_EXIT));
    run.wait_until_or_frames([&] { return std::abs(logo() - title) > 0.01; }, 30);
    EXPECT_TRUE(run.screenshot(screenshot_path("credits.png")));
    EXPECT_GT(std::abs(logo() - title), 0.01);
    EXPECT_EQ(run.wait_exit(0), -1) << "quit before the second click";
    ASSERT_TRUE(run.click_at(400, 300));
    EXPECT_EQ(run.wait_exit(20), 0);
}

}  // namespace
