// Play's frames and events from the player: the input each frame of play reads.

#include "replay.h"

#include "physics/ball.h"
#include "physics/physics.h"
#include "shell/shell.h"
#include "tick.h"

void play_frame()
{
    play_input in;
    in.paddle = paddle_target();
    in.slow = fps < 60;
    play_tick(in);
}

void play_event(int event)
{
    apply_play_event(event);
}

static unsigned game_seed = 1;   // the seed of the game chosen last

void game_chosen()
{
    game_seed = fresh_seed();
    crt_srand(game_seed);
}

void play_starts()
{
    play_begin(game_seed);
}
