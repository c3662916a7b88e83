// One frame of play's logic apart from its drawing, the events that reach play
// between frames, a game's fixed start, and the hash of play's state that
// replays check.

#include "tick.h"

#include <cstring>

#include "physics/ball.h"
#include "physics/physics.h"
#include "powerups.h"
#include "progress.h"
#include "rules.h"
#include "savegame.h"
#include "shell/shell.h"

void play_tick(const play_input &in)
{
    quake_frame = 1;
    slow_frame = in.slow;
    step_debris();   // last frame's debris moves on before this frame breaks more
    last_brick_countdown();
    move_balls();
    if (!game_scene_started())
        return;
    move_paddle(in.paddle);
    board_duties();
    check_board();
    prize_check();
}

void apply_play_event(int event)
{
    switch (event) {
    case EVENT_LAUNCH: launch_ball(); break;
    case EVENT_RELEASE: unglue(1); break;   // each released ball moves one step
    case EVENT_PAUSE: game_pause = !game_pause; break;
    default: break;
    }
}

void begin_new_game(int lev)
{
    score = 0;
    counter = 1;
    oldlives = 4;
    newlives = 0;
    lcount = 1;
    level = lev;
    for (int k = 0; k < 10; k++)
        goodies[k] = 1;
    for (int n = 0; n <= 16; n++)
        balls[n] = 0;
    gameover = 0;
    reset_board();
}

void begin_saved_game(const saved_game &g)
{
    restore_saved(g);
}

void play_begin(unsigned seed)
{
    for (int n = 0; n <= 16; n++) {
        xspeed[n] = yspeed[n] = 0;
        xdirection[n] = ydirection[n] = 1.0f;
        xpos[n] = 0;
        ypos[n] = seated_y();
        glu[n] = 0;
    }
    b = 16;
    lastbounce = 0;
    ballcount = 0;   // counted here whatever screen is up: ballcounter skips the title
    for (int n = 1; n <= 16; n++)
        ballcount += balls[n] == 1;
    done_for_frame = 0;
    bstartx = WALL_LEFT;
    bstarty = CEILING;
    foundx = 1;
    slow_frame = 0;
    for (int k = 0; k < GRID_CELLS; k++)
        explosion[k] = btemp[k] = 0;
    now = 0;
    paddlex = 2.75f;
    paddle_temp = xDiff = 0;
    game_pause = 0;
    newlevel = 1;
    bonus = 0;
    level_cleared = 0;
    check = last_block = block_timer = binterval = btimeri = btimerj = 0;
    btimer = 10;
    shake = qcount = 0;
    qfx = qfy = 0;
    crt_srand(seed);
}

// ---- The state hash ----

// FNV-1a over n bytes, continuing from h.
static uint32_t fnv(uint32_t h, const void *p, size_t n)
{
    const unsigned char *c = (const unsigned char *)p;
    for (size_t k = 0; k < n; k++) {
        h ^= c[k];
        h *= 16777619u;
    }
    return h;
}

// Everything play's logic reads and writes, one row a variable.
struct state_part {
    const void *at;
    size_t size;
};
#define PART(v) {&(v), sizeof(v)}
static const state_part STATE_PARTS[] = {
    PART(board), PART(bricktype), PART(rr), PART(gg), PART(bb), PART(powerup), PART(explosion),
    PART(btemp), PART(level), PART(level_total), PART(difficulty), PART(classic),
    PART(score), PART(counter), PART(oldlives), PART(newlives), PART(lcount), PART(check),
    PART(last_block), PART(block_timer), PART(btimer), PART(binterval), PART(btimeri),
    PART(btimerj), PART(goodies), PART(level_cleared),
    PART(balls), PART(xpos), PART(ypos), PART(xspeed), PART(yspeed), PART(xdirection),
    PART(ydirection), PART(glu), PART(b), PART(ballsize), PART(paddle_size), PART(glued),
    PART(lastbounce), PART(ballcount), PART(through), PART(exploding),
    PART(in_flight), PART(ball_start), PART(quake),
    PART(done_for_frame), PART(bstartx), PART(bstarty), PART(foundx),
    PART(pup), PART(pupxposition), PART(pupyposition), PART(pupxdirection),
    PART(pupydirection), PART(pupspeed), PART(gravity), PART(now),
    PART(paddlex), PART(game_pause), PART(gameover), PART(newlevel), PART(bonus),
};
#undef PART

uint32_t play_state_hash()
{
    uint32_t h = 2166136261u;
    for (const state_part &p : STATE_PARTS)
        h = fnv(h, p.at, p.size);
    unsigned r = random_state();
    return fnv(h, &r, sizeof r);
}
