// End to end: from start-up to the title screen and its menu, driven with real
// pointer events in Xvfb; screenshots land in the build folder.

#include <cmath>
#include <string>
#include <vector>

#include "e2e_test.h"

namespace {

class TitleScreen : public GameTest {
protected:
    double logo() { return run.brightness(150, 100, 500, 120); }
};

// One start of the game: the loading messages, the title's fade-in, the demo
// of an idle title, then Exit: the credits, and the next click quits.
TEST_F(TitleScreen, LoadsFadesInPlaysTheDemoAndQuitsThroughTheCredits)
{
    // The loading messages are printed at the bottom left of the window.
    EXPECT_TRUE(run.wait_until([&] { return run.brightness(30, 470, 400, 80) > 0.005; }));
    double early = logo();
    ASSERT_TRUE(run.wait_for_title());
    double title = logo();
    EXPECT_GT(title, 0.2);
    EXPECT_GT(title, early);
    EXPECT_TRUE(run.screenshot(screenshot_path("title.png")));

    // Left alone for 30 seconds the title gives way to the demo, whose score
    // line and status bar lie over its bottom; a key brings it back at once.
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

// Presenting frames only when the picture changes, as for a player, the
// settled title lights an icon under the pointer and darkens it after, and Help
// opens over it and closes without a trace. Every wait is for what the screen shows.
TEST(TitleStillFrames, TheSettledTitleAnswersThePointerAndHelpComesAndGoes)
{
    game_run run;
    run.still_frames = true;
    ASSERT_TRUE(run.start(windowed_settings(2))) << run.error();
    ASSERT_NE(run.window(), 0u) << "exit code " << run.wait_exit(0);
    auto logo = [&] { return run.brightness(150, 100, 500, 120); };
    auto move = [&](int x, int y) {
        return run.x_command("xdotool mousemove --window " + std::to_string(run.window()) + " " +
                             std::to_string(x) + " " + std::to_string(y)) == 0;
    };
    ASSERT_TRUE(move(700, 560));
    ASSERT_TRUE(run.wait_until([&] { return logo() > 0.2; }));
    // The fade has ended once the game presents no frame for two seconds (it
    // presents every pass while the picture fades) and the logo is unchanged
    // across them. Reads a few milliseconds apart can all fall between two
    // frames of a fade slowed by a busy machine.
    std::vector<unsigned char> title;
    ASSERT_TRUE(run.wait_until([&] {
        auto before = run.grab(150, 100, 500, 120);
        bool still = !run.wait_frames(1, 2.0);
        title = run.grab(150, 100, 500, 120);
        return still && !title.empty() && title == before;
    }));

    auto icon = [&] { return run.brightness(MENU_ICON_X[MENU_HELP] - 16, MENU_ICON_Y - 16, 32, 32); };
    double dark = icon();
    ASSERT_TRUE(move(MENU_ICON_X[MENU_HELP], MENU_ICON_Y));
    EXPECT_TRUE(run.wait_until([&] { return icon() > dark + 0.02; })) << "the icon did not light";
    double lit = icon();
    ASSERT_TRUE(move(700, 560));
    EXPECT_TRUE(run.wait_until([&] { return icon() < lit - 0.02; })) << "the icon stayed lit";

    // Help opens on the press, held until the panel shows.
    double settled = logo();
    ASSERT_TRUE(move(MENU_ICON_X[MENU_HELP], MENU_ICON_Y));
    // The press chooses the item a drawn frame saw under the pointer.
    ASSERT_TRUE(run.wait_until([&] { return icon() > dark + 0.02; }));
    ASSERT_EQ(run.x_command("xdotool mousedown 1"), 0);
    EXPECT_TRUE(run.wait_until([&] { return std::abs(logo() - settled) > 0.05; })) << "help did not open";
    ASSERT_EQ(run.x_command("xdotool mouseup 1"), 0);
    ASSERT_TRUE(move(700, 560));
    ASSERT_EQ(run.x_command("xdotool keydown Escape"), 0);
    EXPECT_TRUE(run.wait_until([&] { return run.grab(150, 100, 500, 120) == title; })) << "help left a trace";
    ASSERT_EQ(run.x_command("xdotool keyup Escape"), 0);
    EXPECT_TRUE(run.screenshot(screenshot_path("title_still_frames.png")));
}

}  // namespace
