// Whole game frames drawn by the frame dispatcher into the offscreen context
// and read back: the frame's shortcuts, the classic look, the editor, and the
// play screen's HUD at every window size of the settings and at a size a
// resized window may have.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/audio.h"
#include "editor/editor.h"
#include "gl_view.h"
#include "physics/ball.h"
#include "graphics/graphics.h"
#include "menus/menus.h"
#include "rules/progress.h"
#include "rules/rules.h"
#include "settings.h"
#include "shell/shell.h"

namespace {

const int W = 800, H = 600;

class GameFrame : public ::testing::Test {
protected:
    static void SetUpTestSuite() { open_game_view(W, H); }
    static void TearDownTestSuite() { close_game_view(); }
};

// The shortcuts (the scene the title hides is not drawn; the title's layer,
// the play background and the status bar with the score line are kept from
// the frame and put back) change no pixel: each frame is drawn once with them
// and once without, from the same state, and the read-backs compared.
class FrameShortcuts : public GameFrame {
protected:
    std::vector<unsigned char> frame(int shortcuts)
    {
        float alpha = title_alpha, bars = bar_alpha, x = titlex;
        screen_id up = screen_up();
        fade_id fade = fade_running();
        scene_shortcuts = shortcuts;
        m_ticksPerSecond = 0;
        DrawGLScene();
        title_alpha = alpha, bar_alpha = bars, titlex = x;
        screen_set(up, fade);
        return read_rgb(0, 0, W, H);
    }
    // Frames without, with (the layer is drawn and kept) and again with (the
    // kept layer is shown) must all be equal.
    void expect_identical(const char *what)
    {
        auto plain = frame(0);
        auto keeping = frame(1);
        auto kept = frame(1);
        size_t differ = 0, kept_differ = 0;
        for (size_t k = 0; k < plain.size(); k++) {
            differ += plain[k] != keeping[k];
            kept_differ += plain[k] != kept[k];
        }
        EXPECT_EQ(differ, 0u) << what << ": the frame that keeps the layer";
        EXPECT_EQ(kept_differ, 0u) << what << ": the frame drawn from the kept layer";
    }
    void view(int w, int h)
    {
        screenx = w, screeny = h;
        ReSizeGLScene(w, h);
    }
    // expect_identical at each view size, then back at W x H.
    void at_each_size(std::initializer_list<std::pair<int, int>> sizes, const std::string &what)
    {
        for (auto [w, h] : sizes) {
            view(w, h);
            expect_identical((what + " at " + std::to_string(w) + "x" + std::to_string(h)).c_str());
        }
        view(W, H);
    }
    void TearDown() override
    {
        scene_shortcuts = 1;
        view(W, H);
    }
};

TEST_F(FrameShortcuts, TitleAtRestIsUnchangedAtEachViewSize)
{
    screen_set(SCREEN_TITLE);
    title_alpha = 1.0f, bar_alpha = 0.0f;
    classic = 0;
    frame(0);  // let the first frame's one-off work settle
    ASSERT_TRUE(title_covers_view());
    at_each_size({{W, H}, {640, 480}, {W, 450}}, "title");
    open_screen(SCREEN_OPTIONS);
    expect_identical("title with the play options open");
    close_screen();
}

TEST_F(FrameShortcuts, FadesAndPlayAreUnchanged)
{
    pause_song();  // the status bar's song clock stands still between the frames
    screen_set(SCREEN_TITLE, FADE_IN);
    title_alpha = 0.47f, bar_alpha = 0.53f;
    ASSERT_FALSE(title_covers_view());
    expect_identical("a frame of the fade-in");
    screen_set(SCREEN_PLAY);
    title_alpha = 0.0f, bar_alpha = 1.0f;
    background = 1, classic = 0;
    score = 123456789, level = 12, level_total = 30;
    frame(0);  // the extra lives this score brings are counted first
    rgb bar = gl_read_pixel(20, H / 2);
    EXPECT_GT(bar.r + bar.g + bar.b, 60) << "the side bar by the left wall";
    at_each_size({{W, H}, {640, 480}, {W, 450}, {600, 480}}, "the play HUD");
    frame(1);   // a new score is drawn, not the kept line
    score = 123456999;
    frame(0);
    expect_identical("the play HUD after the score changed");
    // Another background is drawn, not the kept one; so is the title over the
    // layer the background held, and the background again after the title.
    ASSERT_GT(backmax, 1);
    backnum = backnum % backmax + 1;
    expect_identical("play over the next background");
    screen_set(SCREEN_TITLE);
    title_alpha = 1.0f, bar_alpha = 0.0f;
    ASSERT_TRUE(title_covers_view());
    expect_identical("the title after play");
    screen_set(SCREEN_PLAY);
    title_alpha = 0.0f, bar_alpha = 1.0f;
    expect_identical("play after the title");
    pause_song();
}

TEST_F(GameFrame, ClassicLookIsFlatColour)
{
    screen_set(SCREEN_PLAY);
    classic = 1;
    m_ticksPerSecond = 0;
    const int r = 6, c = 9, cell = r * 21 + c;  // among the first level's bricks
    board[cell] = 1, bricktype[cell] = 1, rr[cell] = 127, gg[cell] = 60, bb[cell] = 60;
    DrawGLScene();
    classic = 0;
    EXPECT_TRUE(write_rgb_png(screenshot_path("classic_frame.png"), W, H, read_rgb(0, 0, W, H)));

    rgb brick = cell_pixel(r, c);
    // A signed byte colour b reads as (2b + 1) / 255.
    EXPECT_NEAR(brick.r, 255, 1);
    EXPECT_NEAR(brick.g, 121, 1);
    EXPECT_NEAR(brick.b, 121, 1);

    // The paddle's top edge is white, its bottom edge dark grey.
    rgb top = frame_pixel(paddlex + paddle_size / 2, -1.502);
    EXPECT_GT(top.r + top.g + top.b, 3 * 220) << "paddle top";
    // The side bars' wall edge is lit, fading outwards.
    rgb wall = frame_pixel(5.52, 0), outer = frame_pixel(6.4, 0);
    EXPECT_GT(wall.r, 200) << "side bar by the wall";
    EXPECT_LT(outer.r, wall.r / 2) << "side bar's outer edge";
}

// The editor draws at the smallest usual view, and the level strip takes the
// canvas's place.
TEST_F(GameFrame, EditorDrawsWithAndWithoutTheLevelStrip)
{
    screen_set(SCREEN_EDITOR);
    classic = 0;
    clear_edited_level();
    for (int c = 3; c <= 18; c++)
        leveled[grid_index(4, c)] = 1 + c % 3, ed_rr[grid_index(4, c)] = 8 * (c - 2);
    screenx = 640, screeny = 480;
    ReSizeGLScene(640, 480);
    std::vector<unsigned char> shot[2];
    for (level_strip = 0; level_strip <= 1; level_strip++) {
        editor();
        shot[level_strip] = read_rgb(0, 0, 640, 480);
    }
    EXPECT_NE(shot[0], shot[1]);
    level_strip = 0;
    clear_edited_level();
    screenx = W, screeny = H;
    ReSizeGLScene(W, H);
    screen_set(SCREEN_TITLE);
}

// ---- The HUD at every size ----

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
