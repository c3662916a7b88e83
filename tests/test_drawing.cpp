// Drawing read back from the offscreen context: the board, debris and balls,
// and whole game frames drawn by the frame dispatcher.

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "audio/audio.h"
#include "gl_view.h"
#include "graphics/graphics.h"
#include "menus/menus.h"
#include "physics/ball.h"
#include "physics/physics.h"
#include "rules/progress.h"
#include "rules/rules.h"
#include "settings.h"
#include "shell/shell.h"

namespace {

void place(int r, int c, int type, int red, int green, int blue)
{
    int k = grid_index(r, c);
    board[k] = 1;
    bricktype[k] = type;
    rr[k] = red;
    gg[k] = green;
    bb[k] = blue;
}

// A large context, so the classic gaps of 0.01 units span two pixels or more.
class BoardDrawing : public GLTest {
protected:
    static void SetUpTestSuite()
    {
        gl_context_open(1280, 960);
        generate_texture_names();
        solid_texture(etexname[1], 255, 255, 255);
        solid_texture(textures[4], 255, 255, 255);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    void SetUp() override
    {
        clear_board();
        classic = shake = gameover = 0;
        qfx = qfy = 0.0f;
        ball_start = 1;
    }
    // One frame of the board over a plain background of the given grey.
    void draw(float grey = 0.0f)
    {
        glClearColor(grey, grey, grey, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        draw_board();
    }
};

// Signed-byte colours: v gives (2v + 1) / 255 of full intensity, negatives
// none, and multi-hit bricks are darker. Values no loader leaves are drawn as
// the nearest the loaders allow, 0 or 128, never computed on as they stand;
// texture numbers beyond the table draw flat; the shake moves the board.
TEST_F(BoardDrawing, BrickColoursFollowTypeAndStoredValuesAndTheShakeMovesThem)
{
    const struct { int c, type, tex, red, green, blue; rgb want; } bricks[] = {
        {5, 1, 1, 127, 127, 127, {255, 255, 255}},
        {6, 2, 1, 10, 100, 20, {31, 151, 0}},                      // drawn (15, 75, -5)
        {7, 5, 1, 100, 60, 40, {101, 21, 0}},                      // drawn (50, 10, -10)
        {8, 1, 1, 64, 0, 32, {129, 1, 65}},
        {9, 2, 1, INT32_MIN, INT32_MAX, INT32_MIN, {51, 207, 0}},  // drawn (25, 103, -25)
        {10, 1, 100000, 127, 127, 0, {255, 255, 0}},
        {11, 1, -7, 0, 127, 127, {0, 255, 255}},
    };
    for (const auto &b : bricks) {
        place(5, b.c, b.type, b.red, b.green, b.blue);
        board[grid_index(5, b.c)] = b.tex;
    }
    draw();
    for (const auto &b : bricks)
        EXPECT_TRUE(rgb_near(cell_pixel(5, b.c), b.want, 1)) << "column " << b.c;
    shake = 1, qfx = 0.25f, qfy = -0.12f;   // the earthquake moves the board a cell down and right
    draw();
    EXPECT_TRUE(rgb_near(cell_pixel(5, 5), {0, 0, 0}, 1));
    EXPECT_TRUE(rgb_near(cell_pixel(6, 6), {255, 255, 255}, 1));
}

TEST_F(BoardDrawing, InvisibleBricksDrawNothingOthersCastShadowsAndFireScrollsEveryDraw)
{
    for (int r = 1; r <= 20; r++)
        for (int c = 1; c <= 20; c++)
            place(r, c, 4, 127, 127, 127);
    draw(1.0f);
    size_t unlit = 0;
    for (unsigned char c : read_rgb(0, 0, 1280, 960))
        unlit += c != 255;
    EXPECT_EQ(unlit, 0u);
    clear_board();
    place(3, 3, 1, 127, 0, 0);
    place(8, 3, 3, 0, 127, 0);
    draw(1.0f);
    EXPECT_TRUE(rgb_near(cell_pixel(3, 3), {255, 0, 0}, 1));
    EXPECT_TRUE(rgb_near(cell_pixel(8, 3), {0, 255, 0}, 1));   // the fire brick, white fire tinted green
    for (int r : {3, 8})   // below the brick's bottom-right corner: 30 % black over white
        EXPECT_TRUE(rgb_near(frame_pixel(cell_centre_x(3) + 0.14, cell_centre_y(r) - 0.08), {178, 178, 178}, 1))
            << "row " << r;

    now = 0;   // explosions advance every fourth of the board's duties
    float start = firey;
    for (int f = 1; f <= 7; f++) {
        draw();
        board_duties();
    }
    EXPECT_EQ(now, 3);
    EXPECT_NEAR(firey - start, 7 * 0.005f, 1e-5f);
}

TEST_F(BoardDrawing, ClassicModeHasGapsAndNoShadowsOrFire)
{
    place(4, 4, 1, 127, 127, 127);
    place(4, 5, 1, 127, 127, 127);
    place(9, 4, 3, 127, 127, 127);

    auto unlit_across_border = [] {   // pixels of the background along the shared edge
        int n = 0;
        for (int i = -6; i <= 6; i++)
            n += frame_pixel(0.5 + 0.25 * 4 + i * 0.001, cell_centre_y(4)).r == 0;
        return n;
    };
    draw();
    EXPECT_EQ(unlit_across_border(), 0);

    classic = 1;
    draw(0.0f);
    EXPECT_GE(unlit_across_border(), 1);
    EXPECT_TRUE(rgb_near(cell_pixel(9, 4), {0, 0, 0}, 1));   // no fire brick
    draw(1.0f);
    EXPECT_TRUE(rgb_near(frame_pixel(cell_centre_x(5) + 0.14, cell_centre_y(4) - 0.08), {255, 255, 255}, 1))
        << "no shadow";
}

// ---- Debris and balls ----

class Drawing : public TexturedGLTest {
protected:
    static void SetUpTestSuite()
    {
        TexturedGLTest::SetUpTestSuite();
        for (GLuint *name : {&etexname[1], &textures[12], &textures[13]})
            solid_texture(*name, 255, 255, 255);
    }
    void SetUp() override
    {
        memset(particle, 0, sizeof particle);
        psystem = 1;
        fps = 62.0f;
        screen_set(SCREEN_PLAY);
        game_pause = classic = exploding = through = 0;
        ballsize = 0.04f;
        for (int n = 0; n <= 16; n++)
            balls[n] = 0;
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    void put_ball(int n, float x) { balls[n] = 1; xpos[n] = x; ypos[n] = 0.0f; }
    void draw_balls()
    {
        glLoadIdentity();
        glTranslatef(-3.0f, 0.0f, 0.0f);
        render_balls();
    }
};

// Cells outside the grid leave the table alone.
TEST_F(Drawing, DebrisOfABrickIsEightPiecesOfItsCell)
{
    broken(0, 1, 1, 1, 1, 1);
    broken(21, 5, 1, 1, 1, 1);
    broken(3, 21, 1, 1, 1, 1);
    for (int n = 0; n <= DEBRIS_RECORDS; n++)
        ASSERT_EQ(particle[n].life, 0) << n;
    broken(3, 2, 1, 10, 20, 30);        // cell x 0.75..1.0, y 1.64..1.76
    const debris_record &d = particle[(2 - 1) * 20 + 3];
    EXPECT_NEAR(d.left[0], 0.75f - 3, 1e-6);
    EXPECT_NEAR(d.right[0], 0.81f - 3, 1e-6);
    EXPECT_NEAR(d.top[0], 1.76f, 1e-6);
    EXPECT_NEAR(d.right[7], 1.0f - 3, 1e-6) << "the last piece of a row ends at the cell's edge";
    EXPECT_NEAR(d.bottom[7], 1.64f, 1e-6);
    EXPECT_NEAR(d.top[7], 1.70f, 1e-6);
    for (int p = 0; p < 8; p++)
        EXPECT_EQ(d.direction[p] * d.direction[p], 1);
    EXPECT_EQ(d.life, 63);
    fps = 45.7f;
    broken(3, 2, 1, 10, 20, 30);
    EXPECT_EQ(d.life, 45) << "below 60 frames a second, debris lives fps frames";
}

TEST_F(Drawing, DebrisDriftsFallsFasterToTheLimitAndDies)
{
    broken(10, 10, 1, 127, 0, 0);
    debris_record &d = particle[(10 - 1) * 20 + 10];
    debris_record before = d;
    draw_particles();
    game_pause = 1;
    step_debris();
    game_pause = 0;
    EXPECT_EQ(memcmp(&before, &d, sizeof d), 0) << "drawing and a paused step leave debris where it is";
    float left0 = d.left[0], top4 = d.top[4];
    step_debris();
    EXPECT_EQ(d.life, 62);
    EXPECT_EQ(d.top[4], top4 - 0.0002f * 1.2f);
    EXPECT_EQ(d.left[0], left0 + d.direction[0] * 0.002f);
    for (int f = 0; f < 62; f++)
        step_debris();
    for (int p = 0; p < 8; p++)
        EXPECT_EQ(d.fall[p], 0.07f) << p;
    EXPECT_EQ(d.life, 0);
    float top = d.top[0];
    step_debris();
    EXPECT_EQ(d.top[0], top) << "dead debris stays put";
}

TEST_F(Drawing, SeveralBallsAreGreenInAGlowFainterAboveFour)
{
    for (int n = 1; n <= 3; n++)
        put_ball(n, 1.0f + n);
    draw_balls();
    rgb ball = frame_pixel(2.0, 0.0), glow = frame_pixel(2.06, 0.0);
    EXPECT_NEAR(ball.r, 51, 2);
    EXPECT_GT(ball.g, 250);
    EXPECT_NEAR(glow.g, 51, 2) << "glow alpha 0.2, added to black";
    EXPECT_LT(glow.r, 2);
    put_ball(4, 4.5f);
    put_ball(5, 5.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    draw_balls();
    EXPECT_NEAR(frame_pixel(2.06, 0.0).g, 13, 2) << "glow alpha 0.05";
}

// ---- Every ball state over every background, with the game's own pictures ----

// Distance between two RGB pixels, 0..441.
double colour_distance(const unsigned char *p, const unsigned char *q)
{
    double r = p[0] - q[0], g = p[1] - q[1], b = p[2] - q[2];
    return sqrt(r * r + g * g + b * b);
}

// One look of the ball: size, power-ups in force and how many balls are in play.
struct ball_state {
    const char *name;
    float size;
    int through, exploding, count;
};

const ball_state BALL_STATES[] = {
    {"normal", 0.04f, 0, 0, 1},        {"small", 0.02f, 0, 0, 1},
    {"big", 0.06f, 0, 0, 1},           {"heavy", 0.04f, 1, 0, 1},
    {"nuclear", 0.04f, 0, 1, 1},       {"three balls", 0.04f, 0, 0, 3},
    {"five balls", 0.04f, 0, 0, 5},    {"five small balls", 0.02f, 0, 0, 5},
};
const float BALL_HEIGHTS[] = {1.5f, 0.25f, -1.2f};  // under the bricks, midfield, by the paddle
const int LOOK_W = 640, LOOK_H = 480;               // the smallest usual window
const int CROP = 32;                                // pixels around a ball

// The real game's textures in a 640 x 480 view; frames drawn by the frame
// dispatcher while the game stands paused before its first fade-in ends, so
// only the background and the balls are drawn.
class BallLook : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        open_game_view(LOOK_W, LOOK_H);
        ReSizeGLScene(LOOK_W, LOOK_H);
    }
    static void TearDownTestSuite() { close_game_view(); }
    // The CROP x CROP pixels (RGB) around field point (3, y)
    // with the ball there, or with it out of sight beyond the right wall.
    std::vector<unsigned char> crop(const ball_state &s, float y, bool shown)
    {
        screen_set(SCREEN_PLAY, FADE_NONE, 0);
        gameover = classic = 0;
        game_pause = background = 1;
        m_ticksPerSecond = 0;
        ballsize = s.size;
        through = s.through;
        exploding = s.exploding;
        for (int n = 1; n <= 16; n++) {
            balls[n] = n <= s.count;
            glu[n] = 0;
            xpos[n] = 5.8f;  // counted as in play, not drawn
            ypos[n] = y;
        }
        if (shown)
            xpos[1] = 3.0f;
        DrawGLScene();
        double wx, wy;
        frame_to_window(3.0, y, &wx, &wy);
        return read_rgb((int)wx - CROP / 2, (int)wy - CROP / 2, CROP, CROP);
    }
};

// A ball is clearly visible when most of the pixels it covers differ in
// colour from the background under it by a clear step: a light ball on a
// dark background, its dark rim on a light one.
TEST_F(BallLook, EveryStateStandsOutOnEveryBackground)
{
    ASSERT_GE(backmax, 1);
    for (const ball_state &s : BALL_STATES)
        for (int bg = 1; bg <= backmax; bg++)
            for (float y : BALL_HEIGHTS) {
                backnum = bg;
                std::vector<unsigned char> plain = crop(s, y, false), ball = crop(s, y, true);
                // Pixels wholly inside the ball's square.
                double half = s.size * LOOK_H / (2.0 * 5.0 * tan(M_PI / 8)) - 0.5;
                int covered = 0, distinct = 0;
                for (int r = 0; r < CROP; r++)
                    for (int c = 0; c < CROP; c++) {
                        double dx = c + 0.5 - CROP / 2.0, dy = r + 0.5 - CROP / 2.0;
                        if (dx * dx + dy * dy > half * half)
                            continue;
                        size_t k = ((size_t)r * CROP + c) * 3;
                        covered++;
                        distinct += colour_distance(&ball[k], &plain[k]) >= 64;
                    }
                EXPECT_GE(distinct * 2, covered) << s.name << " ball on background " << bg << " at height " << y
                                                 << ": " << distinct << " of " << covered << " pixels stand out";
            }
}

// ---- Whole frames ----

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

TEST_F(FrameShortcuts, TheTitleAtRestFadesAndPlayAreUnchanged)
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

    // A signed byte colour b reads as (2b + 1) / 255.
    EXPECT_TRUE(rgb_near(cell_pixel(r, c), {255, 121, 121}, 1));

    // The paddle's top edge is white, its bottom edge dark grey.
    rgb top = frame_pixel(paddlex + paddle_size / 2, -1.502);
    EXPECT_GT(top.r + top.g + top.b, 3 * 220) << "paddle top";
    // The side bars' wall edge is lit, fading outwards.
    rgb wall = frame_pixel(5.52, 0), outer = frame_pixel(6.4, 0);
    EXPECT_GT(wall.r, 200) << "side bar by the wall";
    EXPECT_LT(outer.r, wall.r / 2) << "side bar's outer edge";
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
TEST_F(Hud, TextStaysBetweenTheWallsAtEverySizeAndANarrowWindowShowsBoth)
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

    // A 5:4 window shows the whole 4:3 field: both walls with their bars, and
    // black bands above and below.
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
