// Still frames: a pass that finds its picture unchanged draws nothing, and
// what stays on screen is, pass for pass, the picture a full redraw would
// show. Each case runs the same passes twice from the same state, once drawing
// every frame and once skipping the unchanged ones, and compares the pictures.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "audio/audio.h"
#include "editor/editor.h"
#include "gl_view.h"
#include "graphics/graphics.h"
#include "menus/browser.h"
#include "menus/menus.h"
#include "physics/ball.h"
#include "physics/physics.h"
#include "rules/powerups.h"
#include "rules/progress.h"
#include "rules/rules.h"
#include "rules/tick.h"
#include "shell/shell.h"

namespace {

const int W = 640, H = 480;

// A pointer move at a pass, as the message pump delivers one.
struct pointer_move {
    int pass, x, y;
};

struct still_case {
    const char *name;
    std::function<void()> setup;   // the state the passes start from
    int passes;
    std::vector<pointer_move> moves;
    int most_drawn;                // frames the skipping run may draw at most
};

// One pass of the main loop's frame step; 1 when it drew.
int pass()
{
    if (!frame_wanted()) {
        frame_skipped();
        return 0;
    }
    DrawGLScene();
    frame_presented();
    return 1;
}

void move_pointer_to(int x, int y)
{
    WndProc(nullptr, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    mark_changed();
}

// A digest of the back buffer: what a presented frame would show.
uint64_t picture()
{
    auto px = read_rgb(0, 0, W, H);
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : px)
        h = (h ^ c) * 1099511628211ull;
    return h;
}

// The state every case starts from: the title at rest over the first level,
// the pointer at the top-left corner, no dialog, no countdown.
void common_state()
{
    m_ticksPerSecond = 0;  // no frame lock in a test
    char line[160];
    music_status(line, sizeof line);  // reads the music's pause state
    if (!paused)
        pause_song();                  // the status bar's song clock stands still
    scene_shortcuts = 1;
    classic = 0;
    background = 1;
    new_game();
    backnum = backmax > 0 ? 1 : 0;  // a level load draws its background at random
    paddlex = 2.75f;
    b = 1;
    height_check();  // the waiting ball on the paddle
    screen_set(SCREEN_TITLE);
    title_alpha = 1.0f, bar_alpha = 0.0f, titlex = 2.7245f;
    menublock = gui_block = 0;
    gui_select = selected = 0;
    game_pause = gameover = 0;
    block_timer = 0;
    notice[0] = 0;
    buffer[0] = 0, bcount = 0, carat = 0;
    hs_sequence = fadehs = 0, hsfade = 1.0f;
    fadehs = 0;
    for (int k = 0; k < 256; k++)
        keys[k] = 0;
    move_pointer_to(0, 0);
}

// Both runs of a case; returns the frames the skipping run drew.
int run_case(const still_case &c, std::vector<uint64_t> *full, std::vector<uint64_t> *skipping)
{
    int drawn = 0;
    for (int mode = 1; mode >= 0; mode--) {
        common_state();
        c.setup();
        full_frames = mode;
        auto &shots = mode ? *full : *skipping;
        for (int p = 0; p < c.passes; p++) {
            for (const auto &m : c.moves)
                if (m.pass == p)
                    move_pointer_to(m.x, m.y);
            int d = pass();
            if (!mode)
                drawn += d;
            shots.push_back(picture());
        }
    }
    full_frames = 0;
    return drawn;
}

// Solid bricks only: exploding bricks' fire moves in every frame.
void no_fire()
{
    for (int k = 0; k < GRID_CELLS; k++)
        if (bricktype[k] == BRICK_EXPLODING)
            bricktype[k] = BRICK_NORMAL;
}

class StillFrames : public ::testing::Test {
protected:
    static void SetUpTestSuite() { open_game_view(W, H); }
    static void TearDownTestSuite()
    {
        full_frames = 0;
        screen_reset();
        close_game_view();
    }
};



// Play drawn in part, over the boxes of what moved, shows frame for frame what
// a full redraw shows: a ball in flight over fire bricks, a falling power-up,
// debris, an explosion, an earthquake's shake, a resize and a pause.
TEST_F(StillFrames, PlayDrawnInPartShowsWhatAFullRedrawShows)
{
    struct step {
        int pass;
        std::function<void()> act;
    };
    const step script[] = {
        {3, [] { launch_ball(); newlevel = 0; }},
        {10, [] { pup[1] = 1, pupxposition[1] = 3.0f, pupyposition[1] = 1.0f, pupspeed[1] = 0; }},
        {20, [] { broken(5, 6, board[grid_index(5, 6)], 90, 60, 30); board[grid_index(5, 6)] = 0; }},
        {30, [] { blowup(4, 9); }},
        {45, [] { shake = 1; }},
        {60, [] { ReSizeGLScene(W - 80, H - 60); }},
        {75, [] { ReSizeGLScene(W, H); }},
        {90, [] { game_pause = 1; }},
    };
    const int PASSES = 110;
    back_kept = 1;
    for (int look = 0; look < 2; look++) {
        std::vector<uint64_t> shots[2];
        int parts = 0;
        for (int mode = 1; mode >= 0; mode--) {
            common_state();
            screen_set(SCREEN_PLAY);
            classic = look;
            play_begin(7);   // a game's fixed start: the same in both runs
            b = 1;
            height_check();
            memset(particle, 0, sizeof particle);
            firey = 0.001f;
            now = 0;
            for (int c = 3; c <= 12; c += 3)  // fire in every frame, row 16's under the banners
                bricktype[grid_index(3, c)] = bricktype[grid_index(16, c)] = BRICK_EXPLODING;
            full_frames = mode;
            int parts_before = part_frames;
            for (int p = 0; p < PASSES; p++) {
                for (const auto &s : script)
                    if (s.pass == p)
                        s.act();
                pass();
                shots[mode].push_back(picture());
            }
            if (!mode)
                parts = part_frames - parts_before;
        }
        for (int p = 0; p < PASSES; p++)
            ASSERT_EQ(shots[1][p], shots[0][p]) << "classic " << look << ", pass " << p << " shows another picture";
        EXPECT_GE(parts, PASSES / 2) << "most frames are drawn in part";
    }
    full_frames = 0;
    back_kept = 0;
    memset(particle, 0, sizeof particle);  // no debris left to fall in the cases after
}

TEST_F(StillFrames, EveryScreenShowsWhatAFullRedrawShowsAndDrawsOnlyOnChange)
{
    // Over the menu's Help icon; then back into the empty middle.
    const std::vector<pointer_move> hover = {{30, 440, 362}, {60, 320, 200}};
    const still_case cases[] = {
        {"title", [] {}, 90, hover, 2 * 3 + 3},
        {"play options", [] { open_screen(SCREEN_OPTIONS); menublock = 1; }, 90, hover, 9},
        {"level-set browser", [] { open_screen(SCREEN_BROWSER); file_search(1); menublock = 1; }, 90, hover, 9},
        {"high scores", [] { open_screen(SCREEN_SCORES); menublock = 1; }, 90, hover, 9},
        {"help", [] { open_screen(SCREEN_HELP); menublock = 1; }, 90, hover, 9},
        {"end screen", [] { open_screen(SCREEN_CREDITS); menublock = 1; }, 90, hover, 9},
        {"notice", [] { show_notice("A notice\nof two lines"); }, 90, hover, 9},
        // The caret blinks twice a second: about 4 frames a second.
        {"high-score name", [] { open_screen(SCREEN_SCORE_NAME); }, 124, {}, 3 + 9},
        {"paused game", [] { screen_set(SCREEN_PLAY); no_fire(); game_pause = 1; }, 90, {}, 3},
        // A countdown step while paused shows at once: one frame a step.
        {"paused countdown",
         [] {
             screen_set(SCREEN_PLAY);
             no_fire();
             game_pause = 1;
             block_timer = last_block = 1;
             btimer = 5, binterval = 20;
         },
         130, {}, 3 + 3},
        {"game over", [] { screen_set(SCREEN_PLAY); no_fire(); gameover = 1; }, 90, hover, 9},
        // Last: a level loaded after the editor's frames here comes out empty.
        {"editor", [] { screen_set(SCREEN_EDITOR); }, 90, hover, 9},
    };
    for (const auto &c : cases) {
        std::vector<uint64_t> full, skipping;
        int drawn = run_case(c, &full, &skipping);
        ASSERT_EQ(full.size(), skipping.size());
        for (size_t p = 0; p < full.size(); p++)
            ASSERT_EQ(full[p], skipping[p]) << c.name << ": pass " << p << " shows another picture";
        EXPECT_LE(drawn, c.most_drawn) << c.name;
        EXPECT_GE(drawn, 1) << c.name;
    }
}

// Screens where something moves by itself draw every pass.
TEST_F(StillFrames, MovingScreensDrawEveryPass)
{
    const still_case cases[] = {
        {"title fading in", [] { screen_set(SCREEN_TITLE, FADE_IN); title_alpha = 0.2f; }, 30, {}, 30},
        {"play", [] { screen_set(SCREEN_PLAY); }, 30, {}, 30},
        {"paused over fire bricks",
         [] {
             screen_set(SCREEN_PLAY);
             game_pause = 1;
             bricktype[grid_index(3, 3)] = BRICK_EXPLODING;
         },
         30, {}, 30},
    };
    for (const auto &c : cases) {
        common_state();
        c.setup();
        full_frames = 0;
        int drawn = 0;
        for (int p = 0; p < c.passes; p++)
            drawn += pass();
        EXPECT_EQ(drawn, c.passes) << c.name;
    }
    full_frames = 0;
}

// A held key or mouse button acts every frame (the editor's repeats), so
// every pass draws while one is down.
TEST_F(StillFrames, HeldKeysDrawEveryPass)
{
    common_state();
    screen_set(SCREEN_EDITOR);
    full_frames = 0;
    for (int p = 0; p < 10; p++)
        pass();
    EXPECT_EQ(pass(), 0);
    keys[VK_SHIFT] = 1;
    int drawn = 0;
    for (int p = 0; p < 10; p++)
        drawn += pass();
    keys[VK_SHIFT] = 0;
    EXPECT_EQ(drawn, 10);
}

}  // namespace
