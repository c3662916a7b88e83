// Play's frames and events as the shell hands them over: from the player, or
// from a replay being watched.
#pragma once

// One frame of play's logic with this frame's input from the player. Draws nothing.
void play_frame();
// An event from the player reaching play (tick.h's play_event_id).
void play_event(int event);
// A game is chosen on the play options: a fresh seed seeds play's generator
// before the game's level is loaded.
void game_chosen();
// The title has faded out and play begins: play's state is put in its fixed start.
void play_starts();
