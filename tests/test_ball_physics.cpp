// Ball motion: the walls, the paddle's bands, the sticky paddle and lost balls;
// brick collision: the touch test, each brick type's hit, the bounce and a long run.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "gl_context.h"
#include "play_state.h"
#include "physics/ball.h"
#include "physics/physics.h"
#include "rules/powerups.h"
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

// Band k sends the ball back up and sideways by k times a step that depends
// on the paddle's length, on either half.
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
                EXPECT_EQ(ydirection[1], 1.0f);
                EXPECT_FLOAT_EQ(ypos[1], -1.52f + ballsize);
            }
}

TEST(PaddleBands, LeftHalfReachesPastTheEndButTheRightHalfAndTheLossLineDoNot)
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
    // A ball exactly on the loss line is neither caught nor lost.
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

TEST_F(LosingBalls, SurvivorMovesIntoSlotOneAndTheLastBallCostsALifeOrEndsTheGame)
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
    // The counter counts lives used: losing the last ball with it at 3 or 4
    // costs a life, takes the powers away and seats a new ball on the paddle; at
    // 5 it ends the game.
    for (int before = 3; before <= 5; before++) {
        SCOPED_TRACE(before);
        play(1.0f, -1.7f, 0.01f, -0.03f);
        counter = before, goodies[3] = 0, PLAYING_SAVED_GAME = 1;
        ballsize = 0.06f, paddle_size = 1.0f, through = exploding = 1, pup[2] = 7;
        move_balls();
        int over = before == 5;
        EXPECT_EQ(counter, before + 1);
        EXPECT_EQ(gameover, over);
        EXPECT_EQ(goodies[3], over);
        EXPECT_EQ(PLAYING_SAVED_GAME, 1 - over);
        if (over)
            continue;
        EXPECT_EQ(in_flight + through + exploding + pup[2], 0);
        EXPECT_EQ(ballsize, 0.04f);
        EXPECT_EQ(paddle_size, 0.5f);
        move_balls();  // the new ball is seated on the paddle
        EXPECT_EQ(balls[1], 1);
        EXPECT_FLOAT_EQ(xpos[1], paddlex + 0.25f);
        EXPECT_EQ(ypos[1], ballsize - 1.5f);
    }
}

// ---- Bricks ----

float cell_left(int col) { return 0.5f + 0.25f * (col - 1); }
float cell_top(int row) { return 2.0f - 0.12f * (row - 1); }

// Ball 1 in the middle of the cell, creeping, so every test of it touches.
void ball_in_cell(int row, int col)
{
    xpos[1] = cell_left(col) + 0.125f, ypos[1] = cell_top(row) - 0.06f;
    xspeed[1] = yspeed[1] = 0.002f;
}

// Ball 1 in the middle of the cell, then one test of the cell as the scan makes it.
int hit(int row, int col)
{
    ball_in_cell(row, col);
    bstartx = cell_left(col);
    bstarty = cell_top(row);
    return ccheck(row, col);
}

// The sampling exactly as the game describes it, with no shortcut.
int literal_touch(float nx, float ny, float r, float x0, float y0)
{
    for (float x = nx - r; x <= nx + r; x += r / 10) {
        int inside = 0;
        for (float y = ny - r; y <= ny + r; y += r / 10)
            if (x0 <= x && x < x0 + 0.25 && y0 - 0.12 < y && y <= y0)
                inside = 1;
        if (inside)
            return 1;
    }
    return 0;
}

TEST(TouchTest, QuickRejectionNeverChangesTheAnswer)
{
    std::mt19937 gen(5);
    std::uniform_real_distribution<float> size(0.019f, 0.0625f), jitter(-0.04f, 0.04f);
    std::uniform_int_distribution<int> cell(1, 20), side(0, 3);
    int touches = 0;
    for (int n = 0; n < 40000; n++) {
        float r = size(gen), x0 = cell_left(cell(gen)), y0 = 2.0f;
        for (int k = cell(gen); k > 1; k--)
            y0 -= 0.12;  // accumulated, as the scan does
        // The sampled square's edges near the cell's edges, or anywhere around it.
        int c = side(gen);
        float nx = (c & 1 ? x0 + 0.25f + r : x0 - r) + jitter(gen) * (n % 3);
        float ny = (c & 2 ? y0 + r : y0 - 0.12f - r) + jitter(gen) * (n % 2);
        if (n % 5 == 0)
            nx = x0 + 0.125f + jitter(gen) * 5, ny = y0 - 0.06f + jitter(gen) * 5;
        int want = literal_touch(nx, ny, r, x0, y0);
        ASSERT_EQ(ball_touches_cell(nx, ny, r, x0, y0), want) << nx << " " << ny << " " << r;
        touches += want;
    }
    EXPECT_GT(touches, 4000);
    EXPECT_LT(touches, 36000);
}

// A cell holds its left and top edges but not its right and bottom ones. The
// values are exact in binary, so the first sample column (nx - r) and row
// (ny - r) fall exactly on the edge.
TEST(TouchTest, TheCellHoldsItsTopEdgeButNotItsRightEdge)
{
    const float r = 0.0625f, x0 = 1.0f, y0 = 2.0f;
    const struct {
        float nx, ny;
        int touches;
    } cases[] = {
        {1.3125f, 1.94f, 0},                          // first column on the right edge
        {std::nextafter(1.3125f, 0.0f), 1.94f, 1},    // just inside it
        {1.125f, 2.0625f, 1},                         // first row on the top edge
        {1.125f, std::nextafter(2.0625f, 9.0f), 0},   // just above it
    };
    for (const auto &c : cases) {
        EXPECT_EQ(sample_touches(c.nx, c.ny, r, x0, y0), c.touches) << c.nx << " " << c.ny;
        EXPECT_EQ(ball_touches_cell(c.nx, c.ny, r, x0, y0), c.touches) << c.nx << " " << c.ny;
    }
}

// ---- Each brick type's hit and award ----

// A brick after so many hits (type -1: gone) and the score they made, by
// difficulty, mode and level.
TEST(BrickHits, EachTypeChangesAndScoresByItsTables)
{
    const struct { int type, difficulty, classic, level, hits, type_after, score; } cases[] = {
        {BRICK_NORMAL, 0, 0, 3, 1, -1, 21},   {BRICK_NORMAL, 1, 0, 3, 1, -1, 30},
        {BRICK_NORMAL, 2, 0, 3, 1, -1, 45},   {BRICK_NORMAL, 0, 1, 3, 1, -1, 150},
        {BRICK_INVISIBLE, 2, 0, 2, 1, BRICK_NORMAL, 14},   // revealed, not removed
        {BRICK_THREE_HIT, 1, 0, 1, 1, BRICK_TWO_HIT, 10},  {BRICK_THREE_HIT, 1, 0, 1, 2, BRICK_NORMAL, 20},
        {BRICK_THREE_HIT, 1, 0, 1, 3, -1, 30},
    };
    for (const auto &c : cases) {
        reset_play();
        difficulty = c.difficulty, classic = c.classic, level = c.level;
        place_brick(4, 4, c.type);
        for (int k = 0; k < c.hits; k++) {
            EXPECT_EQ(hit(4, 4), 1);
        }
        EXPECT_EQ(board[grid_index(4, 4)], c.type_after < 0 ? 0 : 1) << c.type << " hit " << c.hits << " times";
        if (c.type_after >= 0) {
            EXPECT_EQ(bricktype[grid_index(4, 4)], c.type_after) << c.type << " hit " << c.hits << " times";
        }
        EXPECT_EQ(score, c.score) << c.type << " hit " << c.hits << " times";
    }
    balls[1] = 0;  // an empty slot never hits
    place_brick(4, 4, BRICK_NORMAL);
    EXPECT_EQ(hit(4, 4), 0);
}

TEST(BrickHits, BigOrHeavyBallBreaksATwoHitBrickAtOnceAndAnExplodingOneMarksOnlyNeighboursInsideTheGrid)
{
    reset_play();
    ballsize = 0.06f;
    place_brick(2, 2, BRICK_TWO_HIT);
    hit(2, 2);
    EXPECT_EQ(board[grid_index(2, 2)], 0);
    EXPECT_EQ(score, 20);  // two awards
    place_brick(3, 3, BRICK_THREE_HIT);
    hit(3, 3);
    EXPECT_EQ(bricktype[grid_index(3, 3)], BRICK_NORMAL);
    reset_play();
    through = 1;
    place_brick(2, 2, BRICK_TWO_HIT);
    ball_in_cell(2, 2);
    bstarty = 2.0f;
    brick_scan();
    EXPECT_EQ(board[grid_index(2, 2)] + bricktype[grid_index(2, 2)], 0);
    EXPECT_EQ(ydirection[1], 1.0f);  // not turned
    EXPECT_EQ(score, 10);
    reset_play();
    place_brick(1, 20, BRICK_EXPLODING);
    hit(1, 20);
    EXPECT_EQ(board[grid_index(1, 20)] + bricktype[grid_index(1, 20)], 0);
    EXPECT_EQ(explosion[grid_index(2, 20)] + explosion[grid_index(1, 19)], 2);
    EXPECT_EQ(explosion[grid_index(0, 20)] + explosion[grid_index(2, 0)], 0);
    EXPECT_EQ(score, 15);
    reset_play();
    exploding = 1, difficulty = 2;
    place_brick(5, 5, BRICK_NORMAL);
    hit(5, 5);
    EXPECT_EQ(score, 15 + 20);  // the break and the explosion
    EXPECT_EQ(explosion[grid_index(4, 5)] + explosion[grid_index(6, 5)] +
              explosion[grid_index(5, 4)] + explosion[grid_index(5, 6)], 4);
}

TEST(BrickBounce, TwoBricksInOneFrameBothBreakButTurnTheBallOnce)
{
    // One brick alone gives the turn; two side by side give the same one.
    float dir[2][2];
    for (int both = 0; both < 2; both++) {
        reset_play();
        place_brick(8, 10, BRICK_NORMAL);
        if (both)
            place_brick(8, 11, BRICK_NORMAL);
        xpos[1] = cell_left(11), ypos[1] = cell_top(8) - 0.06f;
        xspeed[1] = yspeed[1] = 0.004f;  // straddling the shared edge
        bstarty = 2.0f;
        done_for_frame = 0;
        brick_scan();
        dir[both][0] = xdirection[1], dir[both][1] = ydirection[1];
        EXPECT_EQ(score, both ? 20 : 10);
    }
    EXPECT_EQ(dir[1][0], dir[0][0]);
    EXPECT_EQ(dir[1][1], dir[0][1]);
}

TEST(ColumnLookup, SharedEdgeGoesToTheHigherColumnAndOffGridKeepsTheLast)
{
    reset_play();
    const struct { float x; int mode, column; } cases[] = {
        {1.0f, 2, 2}, {1.0f, 1, 3},   // the edge of columns 2 and 3, less the radius or not
        {5.5f, 1, 20}, {6.0f, 1, 20},
    };
    for (const auto &c : cases) {
        xpos[1] = c.x;
        findbrick(c.mode);
        EXPECT_EQ(foundx, c.column) << c.x << " mode " << c.mode;
    }
    EXPECT_EQ(bstartx, 5.25f);
}

class LongRun : public GLTest {};

// The award for one brick's change in a frame, by the tables (Normal).
int award_for(int type_before, int board_after, int type_after)
{
    if (type_before == BRICK_NORMAL && board_after == 0)
        return 10;
    if (type_before == BRICK_INVISIBLE && type_after == BRICK_NORMAL)
        return 5;
    if ((type_before == BRICK_TWO_HIT && type_after == BRICK_NORMAL) ||
        (type_before == BRICK_THREE_HIT && type_after == BRICK_TWO_HIT))
        return 10;
    ADD_FAILURE() << "unexpected change from type " << type_before;
    return 0;
}

TEST_F(LongRun, BallStaysInTheFieldAndEveryHitScoresByTheTables)
{
    reset_play();
    level = 2;
    const int types[4] = {BRICK_NORMAL, BRICK_TWO_HIT, BRICK_INVISIBLE, BRICK_THREE_HIT};
    for (int row = 3; row <= 10; row++)
        for (int col = 1; col <= 20; col++)
            place_brick(row, col, types[(row + col) % 4]);
    xpos[1] = paddlex + 0.25f, ypos[1] = ballsize - 1.5f;
    xspeed[1] = 0.005f, yspeed[1] = 0.03f;
    int hits = 0;
    for (int frame = 0; frame < 4000; frame++) {
        int type_before[GRID_CELLS], board_before[GRID_CELLS], score_before = score;
        memcpy(type_before, bricktype, sizeof type_before);
        memcpy(board_before, board, sizeof board_before);
        paddlex = xpos[1] - 0.25f + 0.02f * std::sin(frame * 0.05f);  // a player who never misses
        move_balls();
        int want = 0;
        for (int k = 0; k < GRID_CELLS; k++)
            if (board_before[k] && (board[k] != board_before[k] || bricktype[k] != type_before[k]))
                want += award_for(type_before[k], board[k], bricktype[k]) * level, hits++;
        ASSERT_EQ(score - score_before, want) << "frame " << frame;
        ASSERT_EQ(counter, 1) << "ball lost at frame " << frame;
        ASSERT_TRUE(xpos[1] > 0.5f && xpos[1] < 5.5f) << frame;
        ASSERT_TRUE(ypos[1] <= 2.0f + ballsize && ypos[1] >= LOSS_LINE) << frame;
    }
    EXPECT_GT(hits, 20);
}

} // namespace
