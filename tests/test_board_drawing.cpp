// Board drawing read back from the offscreen context: brick colours by type,
// shadows, fire bricks, classic mode, the shake offset and the fire and
// explosion clocks; debris of broken bricks and the ball drawing: the pieces'
// life and motion, balls and glows, and every look of the ball over every
// background.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "audio/audio.h"
#include "gl_view.h"
#include "graphics/graphics.h"
#include "physics/ball.h"
#include "physics/physics.h"
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
// texture numbers beyond the table draw flat.
TEST_F(BoardDrawing, BrickColoursFollowTypeAndStoredValues)
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
}

TEST_F(BoardDrawing, InvisibleBricksDrawNothingNotEvenShadows)
{
    for (int r = 1; r <= 20; r++)
        for (int c = 1; c <= 20; c++)
            place(r, c, 4, 127, 127, 127);
    draw(1.0f);
    size_t unlit = 0;
    for (unsigned char c : read_rgb(0, 0, 1280, 960))
        unlit += c != 255;
    EXPECT_EQ(unlit, 0u);
}

TEST_F(BoardDrawing, BricksAndFireBricksCastShadowsDownRight)
{
    place(3, 3, 1, 127, 0, 0);
    place(8, 3, 3, 0, 127, 0);
    draw(1.0f);
    EXPECT_TRUE(rgb_near(cell_pixel(3, 3), {255, 0, 0}, 1));
    EXPECT_TRUE(rgb_near(cell_pixel(8, 3), {0, 255, 0}, 1));   // the fire brick, white fire tinted green
    for (int r : {3, 8})   // below the brick's bottom-right corner: 30 % black over white
        EXPECT_TRUE(rgb_near(frame_pixel(cell_centre_x(3) + 0.14, cell_centre_y(r) - 0.08), {178, 178, 178}, 1))
            << "row " << r;
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

TEST_F(BoardDrawing, ShakeMovesTheBoard)
{
    place(6, 6, 1, 127, 127, 127);
    shake = 1, qfx = 0.25f, qfy = -0.12f;
    draw();
    EXPECT_TRUE(rgb_near(cell_pixel(6, 6), {0, 0, 0}, 1));
    EXPECT_TRUE(rgb_near(cell_pixel(7, 7), {255, 255, 255}, 1));
}

TEST_F(BoardDrawing, FireScrollsEveryDrawAndExplosionsAdvanceEveryFourthDuty)
{
    now = 0;
    float start = firey;
    for (int f = 1; f <= 7; f++) {
        draw();
        board_duties();
    }
    EXPECT_EQ(now, 3);
    EXPECT_NEAR(firey - start, 7 * 0.005f, 1e-5f);
}

// ---- Debris and balls ----

class Drawing : public GLTest {
protected:
    static void SetUpTestSuite()
    {
        GLTest::SetUpTestSuite();
        generate_texture_names();
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

// Record of cell (10, 10): x 2.75..3.0, y 0.8..0.92.
debris_record &cell_10_10() { return particle[(10 - 1) * 20 + 10]; }

class Debris : public Drawing {};

TEST_F(Debris, BrickBreaksIntoEightPiecesOfItsCell)
{
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

TEST_F(Debris, CellsOutsideTheGridLeaveTheTableAlone)
{
    broken(0, 1, 1, 1, 1, 1);
    broken(21, 5, 1, 1, 1, 1);
    broken(3, 21, 1, 1, 1, 1);
    for (int n = 0; n <= DEBRIS_RECORDS; n++)
        ASSERT_EQ(particle[n].life, 0) << n;
}

TEST_F(Debris, PiecesDriftFallFasterToTheLimitAndDie)
{
    broken(10, 10, 1, 127, 0, 0);
    debris_record &d = cell_10_10();
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

class BallDrawing : public Drawing {};

TEST_F(BallDrawing, SeveralBallsAreGreenInAGlowFainterAboveFour)
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

}  // namespace
