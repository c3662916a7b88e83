// The play screen's HUD at every window size of the settings and at a size a
// resized window may have: drawn by the frame dispatcher into one large
// offscreen context and read back.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "audio/audio.h"
#include "gl_view.h"
#include "graphics/graphics.h"
#include "menus/menus.h"
#include "rules/progress.h"
#include "rules/rules.h"
#include "settings.h"
#include "shell/shell.h"

namespace {

const int MAX_W = 1920, MAX_H = 1200;

class Hud : public ::testing::Test {
protected:
    static void SetUpTestSuite() { open_game_view(MAX_W, MAX_H); }
    static void TearDownTestSuite() { close_game_view(); }
    // A play frame drawn in a window of w x h, with the widest HUD values.
    frame_shot frame(int w, int h)
    {
        screenx = w, screeny = h;
        ReSizeGLScene(w, h);
        screen_set(SCREEN_PLAY);
        m_ticksPerSecond = 0;
        for (int k = 0; k < 2; k++) {
            score = 999999999, counter = 104, level = 999, level_total = 999;  // 99 lives
            DrawGLScene();
        }
        return read_frame(w, h);
    }
    // Window column of a play-field x.
    static int field_column(double fx)
    {
        double wx, wy;
        frame_to_window(fx, 0, &wx, &wy);
        return (int)wx;
    }
};

// In the classic look with the side bars faded out, everything beside the
// walls is black unless some HUD text runs onto it.
TEST_F(Hud, TextStaysBetweenTheWallsAtEverySize)
{
    std::vector<std::pair<int, int>> sizes;
    for (const auto &r : settings_resolutions)
        sizes.push_back({r.width, r.height});
    sizes.push_back({1000, 700});  // a window resized by hand
    classic = 1;
    bar_alpha = 0.0f;
    game_pause = pad_lost = 1;   // "PAUSED" and the unplugged gamepad's notice under it
    for (auto [w, h] : sizes) {
        frame_shot s = frame(w, h);
        int left = field_column(0.5), right = field_column(5.5);
        ASSERT_GT(left, 0) << w << "x" << h << ": the left wall is outside the view";
        ASSERT_LT(right, w - 1) << w << "x" << h << ": the right wall is outside the view";
        int outside = 0, text_right = 0;
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++) {
                bool beside = x < left - 1 || x > right + 1;
                if (beside && s.lit(x, y) > 40)
                    outside++;
                if (!beside && x > (left + right) / 2 && y > h * 9 / 10 && s.lit(x, y) > 200)
                    text_right++;
            }
        EXPECT_EQ(outside, 0) << w << "x" << h << ": text beside the walls";
        EXPECT_GT(text_right, 20) << w << "x" << h << ": no level text at the right";
    }
    game_pause = pad_lost = 0;
    classic = 0;
    bar_alpha = 1.0f;
}

// A 5:4 window shows the whole 4:3 field: both walls with their bars, and
// black bands above and below.
TEST_F(Hud, NarrowWindowShowsBothWallsWithBandsAboveAndBelow)
{
    classic = 1;
    bar_alpha = 1.0f;
    frame_shot s = frame(1280, 1024);
    classic = 0;
    int left = field_column(0.5), right = field_column(5.5);
    EXPECT_GT(s.lit(left - 2, 512), 150) << "left bar";
    EXPECT_GT(s.lit(right + 2, 512), 150) << "right bar";
    for (int x = 0; x < 1280; x += 16) {
        ASSERT_EQ(s.lit(x, 2), 0) << "band above, column " << x;
        ASSERT_EQ(s.lit(x, 1021), 0) << "band below, column " << x;
    }
}

}  // namespace
