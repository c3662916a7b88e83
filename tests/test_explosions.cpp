// Explosions and the earthquake: waves a cycle apart, chains through btemp,
// multi-hit bricks in a blast, and the earthquake's row drop.
#include <gtest/gtest.h>

#include "play_state.h"
#include "physics/ball.h"
#include "physics/physics.h"
#include "rules/powerups.h"
#include "rules/progress.h"
#include "rules/rules.h"
#include "shell/shell.h"

namespace {

int at(int r, int c) { return grid_index(r, c); }

void place(int r, int c, int type, int kind = 0)
{
    board[at(r, c)] = 1;
    bricktype[at(r, c)] = type;
    rr[at(r, c)] = 20;
    powerup[at(r, c)] = kind;
}

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

TEST_F(Explosions, NeighboursOfAStruckExplodingBrickGoAtTheNextWave)
{
    place(4, 5, BRICK_NORMAL);
    place(5, 6, BRICK_NORMAL);
    ball_blows(5, 5);
    EXPECT_EQ(board[at(5, 6)], 1) << "neighbours wait for the wave";
    boom_cycle();
    EXPECT_EQ(board[at(4, 5)], 0);
    EXPECT_EQ(board[at(5, 6)], 0);
    EXPECT_EQ(bricktype[at(5, 6)], BRICK_NORMAL) << "a blown brick keeps its type";
    EXPECT_EQ(score, 2 * 5 * 2) << "a blown normal brick scores 5 x level on Normal";
}

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

TEST_F(Explosions, ChainMovesOneWavePerCycleAndExplodingBricksScoreHigher)
{
    place(5, 6, BRICK_EXPLODING);
    place(5, 7, BRICK_EXPLODING);
    place(5, 8, BRICK_NORMAL);
    ball_blows(5, 5);
    const int board_after[3][3] = {{0, 1, 1}, {0, 0, 1}, {0, 0, 0}};
    const int score_after[3] = {10 * 2, 20 * 2, 25 * 2};
    for (int wave = 0; wave < 3; wave++) {
        boom_cycle();
        for (int c = 6; c <= 8; c++)
            EXPECT_EQ(board[at(5, c)], board_after[wave][c - 6]) << "wave " << wave << " col " << c;
        EXPECT_EQ(score, score_after[wave]) << "wave " << wave;
    }
}

TEST_F(Explosions, MultiHitBrickInABlastLosesALevelEveryWave)
{
    place(5, 6, BRICK_EXPLODING);
    place(5, 7, BRICK_THREE_HIT);
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

TEST_F(Earthquake, BrickDropsOneRowOncePerFrameWithItsLook)
{
    place(5, 5, BRICK_TWO_HIT, PUP_DEATH);
    equake();
    equake();                           // a second ball bouncing in the same frame
    EXPECT_EQ(board[at(5, 5)], 0);
    EXPECT_EQ(bricktype[at(5, 5)], 0);
    EXPECT_EQ(bricktype[at(6, 5)], BRICK_TWO_HIT);
    EXPECT_EQ(rr[at(6, 5)], 20);
    EXPECT_EQ(powerup[at(6, 5)], PUP_DEATH);
    EXPECT_EQ(board[at(7, 5)], 0);
    quake_frame = 1;                    // the next frame
    equake();
    EXPECT_EQ(board[at(7, 5)], 1);
}

TEST_F(Earthquake, BottomRowStaysAndStacksFallTogether)
{
    place(20, 3, BRICK_NORMAL);
    place(19, 3, BRICK_NORMAL);
    place(4, 2, BRICK_NORMAL);
    place(5, 2, BRICK_NORMAL);
    equake();
    EXPECT_EQ(board[at(19, 3)] + board[at(20, 3)], 2);
    EXPECT_EQ(board[at(4, 2)], 0);
    EXPECT_EQ(board[at(5, 2)] + board[at(6, 2)], 2);
}

TEST_F(Earthquake, BrickFallingIntoABlastLosesTheMarks)
{
    place(5, 5, BRICK_NORMAL);
    explosion[at(6, 5)] = btemp[at(6, 5)] = 1;
    equake();
    boom_cycle();
    EXPECT_EQ(board[at(6, 5)], 1);
}

}  // namespace
