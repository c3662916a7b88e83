// One frame of play's logic, apart from its drawing: what it reads from the
// player, the step itself, the events between steps, a fixed start for a game
// and a hash of everything play holds.
#pragma once

#include <cstdint>

#include "formats.h"   // saved_game

// What a frame of play reads from the player, besides the events.
struct play_input {
    float paddle;   // where the player puts the paddle's left edge, before the walls stop it
    int slow;       // 1 when the frames fall short of 60 a second (see slow_frame)
};

// What the player does to play between two frames.
enum play_event_id {
    EVENT_LAUNCH = 1,    // the ball leaves the paddle (left release while it waits)
    EVENT_RELEASE = 2,   // the sticky paddle lets its balls go (left press)
    EVENT_PAUSE = 3,     // pause or resume (right release)
    EVENT_LAST = EVENT_PAUSE
};

// Runs one frame of play's logic: the last-brick countdown, the balls, and
// once the game scene has started the paddle, the board's duties, the level's
// end and the extra lives. Draws nothing.
void play_tick(const play_input &in);

// Carries out an event on play's state; play's only way to launch, release
// held balls or pause. The caller has checked that the event applies.
void apply_play_event(int event);

// A fresh game of set_name at level lev: score 0, four lives, every extra
// life to come, the level loaded with the difficulty and mode in force.
void begin_new_game(int lev);
// The saved game in g continued: its set, level, score, lives and bricks.
void begin_saved_game(const saved_game &g);
// What play holds beyond a new or continued game's start is put in one fixed
// state, and play's generator seeded: from here a game follows from its seed
// and its inputs alone.
void play_begin(unsigned seed);

// A 32-bit hash of everything play's logic holds: the board, the balls, the
// paddle, the power-ups, the progress and play's generator.
uint32_t play_state_hash();
