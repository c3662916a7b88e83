// Board drawing read back from the offscreen context: brick colours by type,
// shadows, fire bricks, classic mode, the shake offset and the fire and explosion clocks.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdint>

#include "gl_view.h"
#include "graphics/graphics.h"
#include "physics/physics.h"
#include "rules/rules.h"
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

}  // namespace

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

// Signed-byte colours: v gives (2v + 1) / 255 of full intensity, negatives none.
TEST_F(BoardDrawing, MultiHitBricksAreDarkerAndLowBlueVanishes)
{
    place(5, 5, 1, 127, 127, 127);
    place(5, 6, 2, 10, 100, 20);    // drawn (15, 75, -5)
    place(5, 7, 5, 100, 60, 40);    // drawn (50, 10, -10)
    place(5, 8, 1, 64, 0, 32);
    draw();
    const rgb want[4] = {{255, 255, 255}, {31, 151, 0}, {101, 21, 0}, {129, 1, 65}};
    for (int c = 5; c <= 8; c++)
        EXPECT_TRUE(rgb_near(cell_pixel(5, c), want[c - 5], 1)) << "column " << c;
}

// Values no loader leaves are drawn as the nearest the loaders allow, 0 or 128,
// never computed on as they stand.
TEST_F(BoardDrawing, ColoursBeyondTheirRangeDrawAsTheNearestEnd)
{
    place(5, 5, 2, INT32_MIN, INT32_MAX, INT32_MIN);   // drawn (25, 103, -25)
    draw();
    EXPECT_TRUE(rgb_near(cell_pixel(5, 5), {51, 207, 0}, 1));
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

TEST_F(BoardDrawing, TextureNumbersBeyondTheTableDrawFlat)
{
    place(2, 2, 1, 127, 127, 0);
    board[grid_index(2, 2)] = 100000;
    place(2, 3, 1, 0, 127, 127);
    board[grid_index(2, 3)] = -7;
    draw();
    EXPECT_TRUE(rgb_near(cell_pixel(2, 2), {255, 255, 0}, 1));
    EXPECT_TRUE(rgb_near(cell_pixel(2, 3), {0, 255, 255}, 1));
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
