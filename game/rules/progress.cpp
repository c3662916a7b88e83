// Level progression state, and the routines that move a game from level to level.

#include "progress.h"
#include "rules.h"
#include "physics/ball.h"
#include "shell/shell.h"

int score;
int counter = 1;
int oldlives = 4, newlives;
int lcount = 1;
int last_block;
int block_timer;
int btimer = 10;
int binterval;
int btimeri, btimerj;
int goodies[10] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1};

void new_game()
{
    score = 0;
    counter = 1;
    oldlives = 4;
    newlives = 0;
    level = 1;
    for (int k = 0; k < 10; k++)
        goodies[k] = 1;
    for (int n = 1; n <= 16; n++)
        balls[n] = 0;
    reset_board();
    gameover = 0;
    newlevel = 1;
}

// Reloads the current level of the set in play (or the tested level); the
// balls and power-ups are reset here too once the play routines exist.
void reset_board()
{
    if (testing_level)
        test_level();
    else
        load_level_set(set_name, level);
}

// The level's end and the countdown come with the play routines.
void check_board()
{
}

void prize_check()
{
}
