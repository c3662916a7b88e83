// Level progression: the last-brick countdown's arming, the level's end with
// its bonus, the end of a set and extra lives.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>

#include "gl_context.h"
#include "level_bytes.h"
#include "player_folder.h"
#include "physics/ball.h"
#include "physics/physics.h"
#include "rules/progress.h"
#include "rules/rules.h"
#include "rules/savegame.h"
#include "shell/shell.h"

namespace fs = std::filesystem;

// Each case plays a three-level set in a scratch folder: level n has one
// brick in row 1, column n.
class Progression : public GLTest {
protected:
    game_folder folder;   // saves and scores land in its player folder

    void SetUp() override
    {
        set_file set(3, 0);
        for (int n = 1; n <= 3; n++)
            set.set(n, TEX_BLOCK, 1, n, 1);
        set.write("level_sets/three.bls");
        snprintf(set_name, sizeof set_name, "three.bls");
        difficulty = 1;
        screen_reset();
        classic = testing_level = gameover = bonus = 0;
        PLAYING_SAVED_GAME = SAVE_AVAILABLE = last_block = block_timer = 0;
        lcount = 1;
        new_game();
    }
    void finish_level_at(int lev)
    {
        level = lev;
        memset(board, 0, sizeof board);
        check_board();
    }
};

// One brick left arms the countdown once, with its place; sixty frames make a
// second, and the brick goes on the 600th frame after the arming, not before.
TEST_F(Progression, OneBrickLeftArmsTheCountdownThatRemovesItOnItsTenthSecond)
{
    board[grid_index(5, 5)] = 1;
    check_board();
    EXPECT_EQ(block_timer + last_block, 0);  // two bricks: not yet

    memset(board, 0, sizeof board);
    const int cell = grid_index(4, 7);
    board[cell] = 3;
    bricktype[cell] = BRICK_INVISIBLE;
    check_board();
    EXPECT_EQ(block_timer + last_block, 2);
    EXPECT_EQ(btimer, 10);
    EXPECT_EQ(btimeri * 100 + btimerj, 407);
    for (int frame = 1; frame < 600; frame++) {
        last_brick_countdown();
        if (frame == 300)
            check_board();   // already armed: the running countdown is left alone
        ASSERT_EQ(board[cell], 3) << "frame " << frame;
    }
    EXPECT_EQ(btimer, 1);
    last_brick_countdown();
    EXPECT_EQ(board[cell] + bricktype[cell] + block_timer, 0);
}

// An empty board loads the next level, with the bonus only when the count of
// lives is not below what it was when the level began.
TEST_F(Progression, AnEmptyBoardLoadsTheNextLevelWithTheBonusOfNoLifeDown)
{
    last_block = 1;
    lcount = 4;
    finish_level_at(1);
    EXPECT_EQ(level, 2);
    EXPECT_EQ(board[grid_index(1, 2)], 1);
    EXPECT_EQ(bonus, 1);
    EXPECT_EQ(newlevel, 1);
    EXPECT_EQ(lcount, 1);   // the cycle wraps from 4 to 1
    EXPECT_EQ(last_block, 0);
    EXPECT_FLOAT_EQ(paddlex, 5.6f);

    bonus = 0;
    counter = 2;   // a life lost in the level
    finish_level_at(1);
    EXPECT_EQ(bonus, 0);
    EXPECT_EQ(oldlives, 3);

    counter = 3;   // another lost, then won back by score
    score = 2000;
    prize_check();
    finish_level_at(2);
    EXPECT_EQ(bonus, 1);
}

// Finishing the last level ends the game; a new game's save stays, a
// continued game's save goes.
TEST_F(Progression, FinishingTheLastLevelOrATestedOneEndsTheGame)
{
    for (int continued = 0; continued <= 1; continued++) {
        save_progress();
        SAVE_AVAILABLE = 1, PLAYING_SAVED_GAME = continued, gameover = 0;
        finish_level_at(3);
        EXPECT_EQ(gameover, 1);
        EXPECT_EQ(level, 3);
        EXPECT_EQ(lcount, 1);
        EXPECT_EQ(fs::exists(save_path()), !continued);
        EXPECT_EQ(SAVE_AVAILABLE + PLAYING_SAVED_GAME, continued ? 0 : 1);
    }
    // A test game plays the edited level once, whichever level of the editor it
    // is: clearing it ends the game as cleared, and a new game forgets that.
    gameover = 0;
    testing_level = 1;
    finish_level_at(1);
    EXPECT_EQ(gameover + level_cleared, 2);
    EXPECT_EQ(level, 1);
    EXPECT_EQ(lcount, 1);
    testing_level = 0;
    new_game();
    EXPECT_EQ(gameover + level_cleared, 0);
}

TEST_F(Progression, AScoreJumpGivesTwoLivesAtOnceAndScoreAndLivesStopAtTheirCeilings)
{
    score = 1990;
    prize_check();
    EXPECT_EQ(counter, 1);
    score = 5100;
    prize_check();
    prize_check();   // each threshold gives its life once
    EXPECT_EQ(counter, -1);
    EXPECT_EQ(goodies[3], 1);

    gameover = 1;    // after the game, nothing more
    score = 300000;
    prize_check();
    EXPECT_EQ(counter, -1);
    // However long a game runs, the score and the lives stop at their ceilings
    // instead of wrapping round, and a level end at the ceiling stays in range.
    gameover = 0;
    score = SCORE_MAX - 10;
    add_score(1000);
    EXPECT_EQ(score, SCORE_MAX);
    add_score(INT32_MAX);
    EXPECT_EQ(score, SCORE_MAX);

    counter = COUNTER_MIN + 1;
    prize_check();                   // nine thresholds passed, one life left to give
    EXPECT_EQ(counter, COUNTER_MIN);
    EXPECT_EQ(goodies[9], 0);
    gain_life();
    EXPECT_EQ(counter, COUNTER_MIN);

    finish_level_at(1);
    EXPECT_EQ(newlives, MAX_LIVES);
    EXPECT_EQ(level, 2);
}
