// Level progression state, and the routines that move a game from level to
// level: the restart of a level, the level's end, and extra lives by score.

#include "progress.h"

#include <cstdlib>

#include "audio/audio.h"
#include "physics/ball.h"
#include "physics/physics.h"
#include "powerups.h"
#include "rules.h"
#include "savegame.h"
#include "shell/shell.h"

int score;
int counter = 1;
int oldlives = 4, newlives;
int lcount = 1;
int check;
int last_block;
int block_timer;
int btimer = 10;
int binterval;
int btimeri, btimerj;
int goodies[10] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
int level_cleared;

const int PRIZE_SCORES[10] = {0, 2000, 5000, 20000, 50000, 100000, 150000, 200000, 250000, 300000};

// The state of a game not yet started: level 1 of the set, four lives.
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
    level_cleared = 0;
    newlevel = 1;
}

void free_powerup_slots()
{
    for (int s = 1; s <= 6; s++)
        free_powerup(s);
}

void clear_play_board()
{
    for (int r = 1; r <= GRID_ROWS; r++)
        for (int c = 1; c <= GRID_ROWS; c++) {
            int k = grid_index(r, c);
            empty_cell(game_cells(), k, CLEARED_SHADE, 0);
            btemp[k] = 0;
            explosion[k] = 0;
        }
    free_powerup_slots();
}

void reset_play_effects()
{
    free_powerup_slots();
    ballsize = 0.04f;
    paddle_size = PADDLE_NORMAL;
    through = 0;
    exploding = 0;
    glued = 0;
    quake = 0;
    unglue();
}

// Clears the board, loads the level in play (or the editor's level in a test
// game) and puts the ball back on the paddle with every effect undone.
static void load_current_level()
{
    clear_play_board();
    if (testing_level)
        test_level();
    else
        load_level_set(set_name, level);
    reset_play_effects();
}

void reset_board()
{
    in_flight = 0;
    ball_start = 1;
    balls[1] = 1;
    block_timer = 0;
    load_current_level();
}

// Counts the bricks left (invisible ones too) and gives the place of the first.
static int count_bricks(int *row, int *col)
{
    int n = 0;
    for (int r = 1; r <= GRID_ROWS; r++)
        for (int c = 1; c <= GRID_ROWS; c++)
            if (board[grid_index(r, c)] != 0 && n++ == 0) {
                *row = r;
                *col = c;
            }
    return n;
}

// The last ball in play hands its heading to ball 1, which waits on the paddle.
static void gather_balls()
{
    for (int n = 1; n <= 16; n++) {
        if (balls[n] != 1)
            continue;
        xdirection[1] = xdirection[n];
        ydirection[1] = ydirection[n];
        yspeed[1] = yspeed[n];
        glu[1] = glu[n];
        xpos[1] = paddlex;
        ypos[1] = PADDLE_TOP;
    }
    paddlex = 5.6f;
}

// The board is empty: the bonus, then the next level or the end of the set.
static void finish_level()
{
    newlives = abs(counter - 5);
    if (newlives >= oldlives && !gameover)
        bonus = 1;
    oldlives = newlives;
    in_flight = 0;
    ball_start = 1;
    free_powerup_slots();
    if (testing_level && !gameover) {
        // A test game plays the edited level once: clearing it ends the test,
        // and the next click returns to the editor.
        gather_balls();
        level_cleared = 1;
        gameover = 1;
        return;
    }
    if (level + 1 <= level_total)
        play_end();
    if (!gameover)
        level += 1;
    gather_balls();

    if (level <= level_total) {
        last_block = 0;
        newlevel = 1;
        if (++lcount > 4)
            lcount = 1;
        if (gameover)
            return;
        balls[1] = 1;
        in_flight = 0;
        ball_start = 1;
        block_timer = 0;
        load_current_level();
        return;
    }
    level -= 1;
    gameover = 1;
    if (PLAYING_SAVED_GAME)
        delete_saved();
}

void check_board()
{
    int row = 0, col = 0;
    check = count_bricks(&row, &col);
    if (check == 1 && last_block == 0) {
        block_timer = 1;
        last_block = 1;
        binterval = 0;
        btimer = 10;
        btimeri = row;
        btimerj = col;
        return;
    }
    if (check != 0)
        return;
    finish_level();
}

int by_difficulty(int easy, int normal, int hard)
{
    switch (difficulty) {
    case 0: return easy;
    case 1: return normal;
    case 2: return hard;
    }
    return 0;
}

int level_award(int easy, int normal, int hard)
{
    return by_difficulty(easy, normal, hard) * level;
}

int level_award(const int award[3])
{
    return level_award(award[0], award[1], award[2]);
}

void add_score(int points)
{
    long long sum = (long long)score + points;
    score = sum > SCORE_MAX ? SCORE_MAX : sum < 0 ? 0 : (int)sum;
}

void gain_life()
{
    if (counter > COUNTER_MIN)
        counter -= 1;
}

void prize_check()
{
    if (gameover)
        return;
    for (int k = 1; k <= 9; k++)
        if (score >= PRIZE_SCORES[k] && goodies[k] == 1) {
            gain_life();
            goodies[k] = 0;
            play_prize();
        }
}

void last_brick_countdown()
{
    if (!(block_timer && last_block))
        return;
    if (++binterval >= 60) {
        binterval = 0;
        btimer -= 1;
    }
    if (btimer >= 1)
        return;
    int r = btimeri, c = btimerj;
    if (r < 1 || r > GRID_ROWS || c < 1 || c > GRID_ROWS)
        return;
    int cell = grid_index(r, c);
    broken(r, c, board[cell], rr[cell], gg[cell], bb[cell]);
    board[cell] = 0;
    bricktype[cell] = 0;
    blowup(r, c);
    block_timer = 0;
    play_boom(0, 0);
}
