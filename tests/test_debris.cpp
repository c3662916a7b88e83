// Debris of broken bricks and the ball drawing: the pieces' life and motion,
// and balls and glows read back from the screen.
#include <gtest/gtest.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstring>
#include <vector>

#include "gl_context.h"
#include "graphics/graphics.h"
#include "physics/ball.h"
#include "physics/physics.h"
#include "shell/shell.h"

namespace {

// The pixel under a field point at z -5 (drawn shifted by -3 on x).
rgb field_pixel(double x, double y)
{
    GLdouble model[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, proj[16], wx, wy, wz;
    GLint view[4];
    glGetDoublev(GL_PROJECTION_MATRIX, proj);
    glGetIntegerv(GL_VIEWPORT, view);
    gluProject(x - 3.0, y, -5.0, model, proj, view, &wx, &wy, &wz);
    return gl_read_pixel((int)wx, (int)wy);
}

class Drawing : public GLTest {
protected:
    static void SetUpTestSuite()
    {
        GLTest::SetUpTestSuite();
        generate_texture_names();
        std::vector<uint8_t> white(16 * 16 * 4, 255);
        for (GLuint name : {etexname[1], textures[12], textures[13]}) {
            glBindTexture(GL_TEXTURE_2D, name);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 16, 16, 0, GL_RGBA, GL_UNSIGNED_BYTE, white.data());
        }
    }
    void SetUp() override
    {
        memset(particle, 0, sizeof particle);
        psystem = 1;
        fps = 62.0f;
        game_pause = menu = classic = exploding = through = 0;
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
    float left0 = d.left[0], top4 = d.top[4];
    draw_particles();
    EXPECT_EQ(d.life, 62);
    EXPECT_EQ(d.top[4], top4 - 0.0002f * 1.2f);
    EXPECT_EQ(d.left[0], left0 + d.direction[0] * 0.002f);
    for (int f = 0; f < 62; f++)
        draw_particles();
    for (int p = 0; p < 8; p++)
        EXPECT_EQ(d.fall[p], 0.07f) << p;
    EXPECT_EQ(d.life, 0);
    float top = d.top[0];
    draw_particles();
    EXPECT_EQ(d.top[0], top) << "dead debris stays put";
}

class BallDrawing : public Drawing {};

TEST_F(BallDrawing, SeveralBallsAreGreenInAGlowFainterAboveFour)
{
    for (int n = 1; n <= 3; n++)
        put_ball(n, 1.0f + n);
    draw_balls();
    rgb ball = field_pixel(2.0, 0.0), glow = field_pixel(2.06, 0.0);
    EXPECT_NEAR(ball.r, 51, 2);
    EXPECT_GT(ball.g, 250);
    EXPECT_NEAR(glow.g, 51, 2) << "glow alpha 0.2, added to black";
    EXPECT_LT(glow.r, 2);
    put_ball(4, 4.5f);
    put_ball(5, 5.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    draw_balls();
    EXPECT_NEAR(field_pixel(2.06, 0.0).g, 13, 2) << "glow alpha 0.05";
}

}  // namespace
