// The game in progress the rule and physics tests start from.

#include "play_state.h"

#include <cstring>

#include "physics/ball.h"
#include "physics/physics.h"
#include "rules/progress.h"
#include "rules/rules.h"
#include "shell/shell.h"

void reset_play()
{
    clear_board();
    memset(explosion, 0, sizeof explosion);
    memset(btemp, 0, sizeof btemp);
    memset(powerup, 0, sizeof powerup);
    memset(particle, 0, sizeof particle);
    free_powerup_slots();
    for (int n = 0; n <= 16; n++)
        balls[n] = glu[n] = 0, xdirection[n] = ydirection[n] = 1.0f;
    balls[1] = b = 1;
    screen_set(SCREEN_PLAY);
    in_flight = 1, ball_start = game_pause = gameover = 0, fps = 62;
    level = difficulty = counter = 1, classic = score = last_block = block_timer = 0;
    ballsize = 0.04f, paddle_size = 0.5f, paddlex = 2.75f;
    glued = through = exploding = quake = shake = 0, quake_frame = 1;
}

void place_brick(int r, int c, int type, int kind)
{
    int k = grid_index(r, c);
    board[k] = 1;
    bricktype[k] = type;
    rr[k] = 20;
    powerup[k] = kind;
}

int cells_set(const int32_t *grid)
{
    int n = 0;
    for (int r = 1; r <= GRID_ROWS; r++)
        for (int c = 1; c <= GRID_ROWS; c++)
            n += grid[grid_index(r, c)] != 0;
    return n;
}
