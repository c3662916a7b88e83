// Power-ups: their release, fall, catch and effects; explosions, whose waves
// come a cycle apart, and the earthquake's row drop.
#include <gtest/gtest.h>


#include "gl_context.h"
#include "play_state.h"
#include "graphics/graphics.h"
#include "physics/ball.h"
#include "physics/physics.h"
#include "rules/powerups.h"
#include "rules/progress.h"
#include "rules/rules.h"
#include "shell/shell.h"

namespace {

int at(int r, int c) { return grid_index(r, c); }

// Power-ups draw as they fall, so these tests run in a real context.
class PowerUps : public GLTest {
protected:
    void SetUp() override
    {
        reset_play();
        balls[1] = 0;
        for (int n = 0; n <= 16; n++)
            xspeed[n] = yspeed[n] = 0.03f;
        paddlex = 2.0f;
    }
    void falling(int s, int kind, float x, float y)
    {
        pup[s] = kind;
        pupxposition[s] = x;
        pupyposition[s] = y;
    }
    // The kind caught on the middle of the paddle.
    void catch_kind(int kind)
    {
        falling(1, kind, paddlex + 0.1f, -1.55f);
        powerup_check();
    }
};

TEST_F(PowerUps, ReleaseTakesTheFirstFreeSlotDriftingAgainstTheBall)
{
    pup[1] = PUP_DEATH;
    powerup[at(4, 6)] = PUP_BIG_BALL;
    powerups(4, 6, 1);
    EXPECT_EQ(pup[2], PUP_BIG_BALL);
    EXPECT_EQ(powerup[at(4, 6)], 0);
    EXPECT_EQ(pupxposition[2], 0.25f * 6 + 0.25f);
    EXPECT_EQ(pupyposition[2], 2.0f - 0.12f * 4);
    EXPECT_EQ(pupxdirection[2], -1.0f);
    powerup[at(5, 6)] = PUP_SLOW_BALL;
    powerups(5, 6, -1);
    EXPECT_EQ(pupxdirection[3], 1.0f);
    powerup[at(6, 6)] = PUP_HEAVY_BALL;
    powerups(6, 6, 1);
    EXPECT_EQ(powerup[at(6, 6)], PUP_HEAVY_BALL) << "with three falling the cell keeps it";
    powerup[at(7, 6)] = 40;             // no such kind, from a damaged level
    pup[3] = 0;
    powerups(7, 6, 1);
    EXPECT_EQ(pup[3], 0);
}

TEST_F(PowerUps, FallsFasterBouncesOffTheWallsAndVanishesBelowTheLine)
{
    falling(1, PUP_BIG_BALL, 5.2499f, 1.0f);
    pupxdirection[1] = 1.0f;
    update_powerups();
    EXPECT_EQ(pupspeed[1], 0.0003f);
    EXPECT_EQ(pupyposition[1], 1.0f - 0.0003f);
    EXPECT_EQ(pupxposition[1], 5.25f);
    EXPECT_EQ(pupxdirection[1], -1.0f);
    falling(2, PUP_DEATH, 0.5001f, -1.849f);
    pupspeed[2] = 0.01f;
    update_powerups();
    EXPECT_EQ(pup[2], 0);
    EXPECT_EQ(pupxdirection[2], -1.0f);
    EXPECT_EQ(pupspeed[2], 0.0f);
    EXPECT_EQ(score, 0);
}

TEST_F(PowerUps, CatchNeedsAnEdgeStrictlyInsideThePaddleBelowItsTop)
{
    falling(1, PUP_HEAVY_BALL, 1.75f, -1.6f);    // right edge exactly at paddlex
    falling(2, PUP_HEAVY_BALL, 2.5f, -1.6f);     // left edge exactly at the right end
    falling(3, PUP_HEAVY_BALL, 2.1f, -1.5f);     // not yet below the top
    powerup_check();
    EXPECT_EQ(pup[1] + pup[2] + pup[3], 3 * PUP_HEAVY_BALL);
    pupxposition[1] = 1.8f;                      // straddles the left end
    difficulty = 2;
    powerup_check();
    EXPECT_EQ(pup[1], 0);
    EXPECT_EQ(through, 1);
    EXPECT_EQ(score, 100);
}

TEST_F(PowerUps, SizesStepWithinTheirLimitsBadCatchesTakeTheBallPowersAwayAndOthersSetFlagsOrChangeTheBoard)
{
    for (int k = 0; k < 3; k++)
        powerup_effect(PUP_BIG_BALL, 1);
    EXPECT_EQ(ballsize, 0.06f);
    for (int k = 0; k < 3; k++)
        powerup_effect(PUP_SMALL_BALL, 1);
    EXPECT_FLOAT_EQ(ballsize, 0.02f);
    paddle_size = 0.25f;
    const float bigger[3] = {0.5f, 1.0f, 1.0f}, smaller[3] = {0.5f, 0.25f, 0.25f};
    for (float want : bigger) {
        powerup_effect(PUP_BIG_PADDLE, 1);
        EXPECT_EQ(paddle_size, want);
    }
    for (float want : smaller) {
        powerup_effect(PUP_SMALL_PADDLE, 1);
        EXPECT_EQ(paddle_size, want);
    }

    for (int kind : {PUP_SMALL_BALL, PUP_FAST_BALL, PUP_SMALL_PADDLE}) {
        glued = through = exploding = glu[3] = 1;
        powerup_effect(kind, 1);
        EXPECT_EQ(glued + through + exploding + glu[3], 0) << "kind " << kind;
    }
    EXPECT_EQ(xspeed[16], 0.03f * 1.1f);
    powerup_effect(PUP_SLOW_BALL, 1);
    EXPECT_EQ(yspeed[7], 0.03f * 1.1f * 0.9f);
    powerup_effect(PUP_HEAVY_BALL, 1);
    EXPECT_EQ(through, 1);
    powerup_effect(PUP_NUCLEAR_BALL, 1);
    EXPECT_EQ(exploding - through, 1);
    powerup_effect(PUP_EXTRA_LIFE, 1);
    EXPECT_EQ(counter, 0);
    rr[at(1, 5)] = 90;
    powerup_effect(PUP_BRICK_WALL, 1);
    EXPECT_EQ(board[at(1, 20)] + bricktype[at(1, 20)] + board[at(2, 1)], 2);
    EXPECT_EQ(rr[at(1, 5)], 90);
    board[at(20, 20)] = 1;   // the far corner, which a partial clear would miss
    powerup_effect(PUP_NEXT_BOARD, 1);
    EXPECT_EQ(cells_set(board), 0);
}

TEST_F(PowerUps, StickyPaddleAndEarthquakeHandOverTheHeldBallsAndDeathTakesEveryBall)
{
    glu[2] = 1;
    powerup_effect(PUP_STICKY_PADDLE, 1);
    EXPECT_EQ(glued - glu[2], 1) << "newly sticky: held balls leave";
    glu[2] = 1;
    powerup_effect(PUP_STICKY_PADDLE, 1);
    EXPECT_EQ(glu[2], 1) << "already sticky: they stay";
    powerup_effect(PUP_EARTHQUAKE, 1);
    EXPECT_EQ(quake, 1);
    EXPECT_EQ(glued + glu[2], 0);
    for (int n = 0; n <= 16; n++)
        balls[n] = 1;
    glued = through = exploding = quake = 1;
    falling(2, PUP_EXTRA_LIFE, 1.0f, 1.0f);
    catch_kind(PUP_DEATH);
    for (int n = 0; n <= 16; n++)
        EXPECT_EQ(balls[n], 0);
    EXPECT_EQ(pup[1] + pup[2], 0);
    EXPECT_EQ(glued + through + exploding + quake, 0);
}

TEST_F(PowerUps, BallsplosionFillsTheFreeSlotsAndShowInvisibleRevealsEachBrickForPoints)
{
    balls[1] = glu[1] = glued = through = 1;
    xpos[1] = 2.2f;
    ydirection[1] = -1.0f;
    powerup_effect(PUP_BALLSPLOSION, 1);
    EXPECT_EQ(through, 0);
    for (int n = 2; n <= 16; n++) {
        EXPECT_EQ(balls[n] + glu[n], 2) << "a held ball's copies are held while sticky";
        EXPECT_EQ(xpos[n], 2.2f);
        EXPECT_EQ(ydirection[n], -1.0f);
    }

    level = 3;
    difficulty = 2;
    for (int c = 1; c <= 4; c++) {
        board[at(6, c)] = 2;
        bricktype[at(6, c)] = BRICK_INVISIBLE;
    }
    catch_kind(PUP_SHOW_INVISIBLE);
    EXPECT_EQ(score, 180 + 100);
    for (int c = 1; c <= 4; c++) {
        EXPECT_EQ(bricktype[at(6, c)], BRICK_NORMAL);
        EXPECT_EQ(particle[(c - 1) * 20 + 6].life, 63);
    }
}

// ---- Explosions and the earthquake ----

class Explosions : public ::testing::Test {
protected:
    void SetUp() override
    {
        reset_play();
        level = 2;
    }
    // A ball's hit on the exploding brick at (r, c) breaks it at once.
    void ball_blows(int r, int c)
    {
        board[at(r, c)] = bricktype[at(r, c)] = 0;
        blowup(r, c);
    }
};

TEST_F(Explosions, MarksStayInsideTheGrid)
{
    blowup(1, 1);
    blowup_temp(20, 20);
    int marks = 0;
    for (int k = 0; k < GRID_CELLS; k++)
        marks += explosion[k] + btemp[k];
    EXPECT_EQ(marks, 4);
    EXPECT_EQ(explosion[at(2, 1)] + explosion[at(1, 2)] + btemp[at(19, 20)] + btemp[at(20, 19)], 4);
}

// The neighbours of a struck exploding brick go at the next wave, and the
// chain moves on one wave per cycle. A blown normal brick scores 5 x level on
// Normal, an exploding one twice that.
TEST_F(Explosions, ChainMovesOneWavePerCycleAndExplodingBricksScoreHigher)
{
    place_brick(4, 5, BRICK_NORMAL);
    place_brick(5, 6, BRICK_EXPLODING);
    place_brick(5, 7, BRICK_EXPLODING);
    place_brick(5, 8, BRICK_NORMAL);
    ball_blows(5, 5);
    EXPECT_EQ(board[at(5, 6)], 1) << "neighbours wait for the wave";
    const int board_after[3][3] = {{0, 1, 1}, {0, 0, 1}, {0, 0, 0}};
    const int score_after[3] = {5 * 2 + 10 * 2, 5 * 2 + 20 * 2, 5 * 2 + 25 * 2};
    for (int wave = 0; wave < 3; wave++) {
        boom_cycle();
        EXPECT_EQ(board[at(4, 5)], 0) << "wave " << wave;
        for (int c = 6; c <= 8; c++)
            EXPECT_EQ(board[at(5, c)], board_after[wave][c - 6]) << "wave " << wave << " col " << c;
        EXPECT_EQ(score, score_after[wave]) << "wave " << wave;
    }
    EXPECT_EQ(bricktype[at(4, 5)], BRICK_NORMAL) << "a blown brick keeps its type";
}

TEST_F(Explosions, MultiHitBrickInABlastLosesALevelEveryWave)
{
    place_brick(5, 6, BRICK_EXPLODING);
    place_brick(5, 7, BRICK_THREE_HIT);
    ball_blows(5, 5);
    boom_cycle();
    const int type_after[3] = {BRICK_TWO_HIT, BRICK_NORMAL, BRICK_NORMAL};
    for (int wave = 0; wave < 3; wave++) {
        boom_cycle();
        EXPECT_EQ(bricktype[at(5, 7)], type_after[wave]);
        EXPECT_EQ(board[at(5, 7)], wave < 2 ? 1 : 0) << "wave " << wave;
    }
}

class Earthquake : public Explosions {};

// Stacks fall together, and a brick falling into a blast loses its marks.
TEST_F(Earthquake, BricksDropOneRowOncePerFrameWithTheirLookButTheBottomRowStays)
{
    place_brick(5, 5, BRICK_TWO_HIT, PUP_DEATH);
    place_brick(20, 3, BRICK_NORMAL);
    place_brick(19, 3, BRICK_NORMAL);
    place_brick(4, 2, BRICK_NORMAL);
    place_brick(5, 2, BRICK_NORMAL);
    place_brick(5, 8, BRICK_NORMAL);
    explosion[at(6, 8)] = btemp[at(6, 8)] = 1;
    equake();
    equake();                           // a second ball bouncing in the same frame
    EXPECT_EQ(board[at(5, 5)], 0);
    EXPECT_EQ(bricktype[at(5, 5)], 0);
    EXPECT_EQ(bricktype[at(6, 5)], BRICK_TWO_HIT);
    EXPECT_EQ(rr[at(6, 5)], 20);
    EXPECT_EQ(powerup[at(6, 5)], PUP_DEATH);
    EXPECT_EQ(board[at(7, 5)], 0);
    EXPECT_EQ(board[at(19, 3)] + board[at(20, 3)], 2);
    EXPECT_EQ(board[at(4, 2)], 0);
    EXPECT_EQ(board[at(5, 2)] + board[at(6, 2)], 2);
    boom_cycle();
    EXPECT_EQ(board[at(6, 8)], 1);
    quake_frame = 1;                    // the next frame
    equake();
    EXPECT_EQ(board[at(7, 5)], 1);
}

}  // namespace
