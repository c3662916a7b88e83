// Ball motion: the walls and the ceiling, the paddle's bands and the sticky
// paddle, the survivor move and the loss of the last ball.

#include <gtest/gtest.h>

#include <cmath>

#include "gl_context.h"
#include "play_state.h"
#include "physics/ball.h"
#include "physics/physics.h"
#include "rules/progress.h"
#include "rules/rules.h"
#include "shell/shell.h"

namespace {

// A game in progress on an empty board, ball 1 at (x, y) moving by (sx, sy).
void play(float x, float y, float sx, float sy)
{
    reset_play();
    xpos[1] = x, ypos[1] = y;
    xspeed[1] = std::fabs(sx), yspeed[1] = std::fabs(sy);
    xdirection[1] = sx < 0 ? -1.0f : 1.0f, ydirection[1] = sy < 0 ? -1.0f : 1.0f;
}

} // namespace

// A ball whose edge is exactly at a wall stays as it is; one just past it
// turns back and is set where its edge touches the wall.
TEST(WallsAndCeiling, BallExactlyAtAWallStaysAndOneJustPastItTurnsBack)
{
    struct wall_case {
        float x, y, sx, sy;   // where the ball is and its direction
        int turns;            // 1 when it must turn back
        float x_after, y_after;
    };
    const float r = 0.04f, right = WALL_RIGHT - r, left = WALL_LEFT + r, top = CEILING + r;
    const wall_case cases[] = {
        {right, 0.5f, 1, 0, 0, right, 0.5f},
        {std::nextafter(right, 9.0f), 0.5f, 1, 0, 1, right, 0.5f},
        {left, 0.5f, -1, 0, 0, left, 0.5f},
        {std::nextafter(left, -9.0f), 0.5f, -1, 0, 1, left, 0.5f},
        {3.0f, top, 0, 1, 0, 3.0f, top},
        {3.0f, std::nextafter(top, 9.0f), 0, 1, 1, 3.0f, r + 1.95f},   // put back below it
    };
    for (const wall_case &c : cases) {
        play(c.x, c.y, 0.0f, 0.0f);
        xdirection[1] = c.sx < 0 ? -1.0f : 1.0f;
        ydirection[1] = c.sy < 0 ? -1.0f : 1.0f;
        float before = c.sx != 0 ? xdirection[1] : ydirection[1];
        collision_check();
        float after = c.sx != 0 ? xdirection[1] : ydirection[1];
        EXPECT_EQ(after, c.turns ? -before : before) << c.x << " " << c.y;
        EXPECT_FLOAT_EQ(xpos[1], c.x_after) << c.x << " " << c.y;
        EXPECT_FLOAT_EQ(ypos[1], c.y_after) << c.x << " " << c.y;
    }
}

TEST(PaddleBands, FirstBandEachSideOfTheCentreSendsTheBallAwayFromIt)
{
    play(paddlex + 0.249f, -1.52f, 0.0f, -0.03f);
    paddle_collide();
    EXPECT_FLOAT_EQ(xspeed[1], 0.0005f);
    EXPECT_EQ(xdirection[1], -1.0f);
    EXPECT_EQ(ydirection[1], 1.0f);
    EXPECT_FLOAT_EQ(ypos[1], -1.52f + ballsize);
    play(paddlex + 0.251f, -1.52f, 0.0f, -0.03f);
    paddle_size = 0.25f;  // its centre is 0.125 in: this is far right of it
    xpos[1] = paddlex + 0.126f;
    paddle_collide();
    EXPECT_FLOAT_EQ(xspeed[1], 0.001f);
    EXPECT_EQ(xdirection[1], 1.0f);
}

// Band k sends the ball sideways by k times a step that depends on the
// paddle's length, on either half.
TEST(PaddleBands, EachLengthHasItsOwnStepPerBand)
{
    const struct {
        float size;
        float step;
    } lengths[] = {{PADDLE_SHORT, 0.001f}, {PADDLE_NORMAL, 0.0005f}, {PADDLE_LONG, 0.0003f}};
    for (const auto &l : lengths)
        for (int k = 1; k <= 3; k++)
            for (int side = -1; side <= 1; side += 2) {
                play(0.0f, -1.52f, 0.0f, -0.03f);
                paddle_size = l.size;
                // The middle of band k, counted outwards from the centre.
                xpos[1] = paddlex + l.size * 0.5f + side * (k - 0.5f) * 0.0027f;
                paddle_collide();
                EXPECT_FLOAT_EQ(xspeed[1], k * l.step) << l.size << " band " << k << " side " << side;
                EXPECT_EQ(xdirection[1], (float)side) << l.size << " band " << k;
            }
}

TEST(PaddleBands, LeftHalfReachesPastTheEndButTheRightHalfDoesNot)
{
    play(paddlex - 0.049f, -1.52f, 0.0f, -0.03f);
    paddle_collide();
    EXPECT_EQ(ydirection[1], 1.0f);
    EXPECT_GT(xspeed[1], 0.055f);
    EXPECT_LT(xspeed[1], 0.057f);
    play(paddlex + 0.503f, -1.52f, 0.0f, -0.03f);
    paddle_collide();
    EXPECT_EQ(ydirection[1], -1.0f);
    EXPECT_EQ(balls[1], 1);  // beside the paddle, not yet lost
}

TEST(PaddleBands, BallExactlyOnTheLossLineIsNeitherCaughtNorLost)
{
    play(paddlex + 0.25f, LOSS_LINE, 0.0f, -0.03f);
    paddle_collide();
    EXPECT_EQ(ydirection[1], -1.0f);
    EXPECT_EQ(balls[1], 1);
    play(1.0f, std::nextafter(LOSS_LINE, -2.0f), 0.0f, -0.03f);
    paddle_collide();
    EXPECT_EQ(balls[1], 0);
}

TEST(StickyPaddle, CaughtBallRestsOnThePaddleWithoutBounceOrQuake)
{
    play(paddlex + 0.3f, -1.52f, 0.0f, -0.03f);
    glued = quake = quake_frame = 1;
    paddle_collide();
    EXPECT_EQ(glu[1], 1);
    EXPECT_EQ(ypos[1], ballsize - 1.5f);
    EXPECT_EQ(shake, 0);
    collision_check();  // held: it does not move
    EXPECT_EQ(ypos[1], ballsize - 1.5f);
    unglue();
    EXPECT_EQ(glu[1], 0);
}

// The whole driver, which also draws the balls.
class LosingBalls : public GLTest {};

TEST_F(LosingBalls, SurvivorMovesIntoSlotOneWithItsState)
{
    play(1.0f, -1.7f, 0.01f, -0.03f);  // falls past the loss line
    balls[3] = 1, xpos[3] = 4.0f, ypos[3] = 0.8f, xspeed[3] = 0.012f, yspeed[3] = 0.02f;
    xdirection[3] = 1.0f, ydirection[3] = -1.0f;
    move_balls();
    EXPECT_EQ(balls[1] + balls[3], 1);
    EXPECT_EQ(balls[1], 1);
    EXPECT_FLOAT_EQ(xpos[1], 4.012f);
    EXPECT_FLOAT_EQ(ypos[1], 0.78f);
    EXPECT_FLOAT_EQ(xspeed[1], 0.012f);
    EXPECT_EQ(ydirection[1], -1.0f);
    EXPECT_EQ(counter, 1);
}

TEST_F(LosingBalls, LastBallCostsALifeAndANewBallWaitsUnpowered)
{
    play(1.0f, -1.7f, 0.01f, -0.03f);
    counter = 3, ballsize = 0.06f, paddle_size = 1.0f, through = exploding = 1, pup[2] = 7;
    move_balls();
    EXPECT_EQ(counter, 4);
    EXPECT_EQ(gameover, 0);
    EXPECT_EQ(in_flight + through + exploding + pup[2], 0);
    EXPECT_EQ(ballsize, 0.04f);
    EXPECT_EQ(paddle_size, 0.5f);
    move_balls();  // the new ball is seated on the paddle
    EXPECT_EQ(balls[1], 1);
    EXPECT_FLOAT_EQ(xpos[1], paddlex + 0.25f);
    EXPECT_EQ(ypos[1], ballsize - 1.5f);
}

// The counter counts lives used: losing the last ball with it at 3 or 4
// leaves a life, at 5 it ends the game.
TEST_F(LosingBalls, LosingTheLastBallOnTheLastLifeEndsTheGame)
{
    for (int before = 3; before <= 5; before++) {
        play(1.0f, -1.7f, 0.01f, -0.03f);
        counter = before, goodies[3] = 0, PLAYING_SAVED_GAME = 1;
        move_balls();
        int over = before == 5;
        EXPECT_EQ(counter, before + 1);
        EXPECT_EQ(gameover, over) << "counter " << before;
        EXPECT_EQ(goodies[3], over) << "counter " << before;
        EXPECT_EQ(PLAYING_SAVED_GAME, 1 - over) << "counter " << before;
    }
}
