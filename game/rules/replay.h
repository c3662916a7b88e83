// Play's frames and events as the shell hands them over, and the recording of
// every game started from the play options into the player's replays/ folder.
#pragma once

#include <string>

// One frame of play's logic with this frame's input from the player. Draws nothing.
void play_frame();
// An event from the player reaching play (tick.h's play_event_id).
void play_event(int event);

// A game is chosen on the play options, before its level is loaded: a fresh
// seed seeds play's generator, and the game will be recorded from its first
// frame with the difficulty and mode chosen now.
void game_chosen();
// The title has faded out and play begins: play's state is put in its fixed
// start, and the recording of a chosen game begins.
void play_starts();
// The game in play ends (replay_end): its recording is written to replays/
// and the oldest beyond REPLAYS_KEPT of its level set are removed.
void game_ends(int reason);

constexpr int REPLAYS_KEPT = 50;       // replays kept per level set, besides those of high scores
extern const char REPLAYS_FOLDER[];    // "replays", in the player's data folder
// The file name (under replays/) the last finished game was written to; ""
// when it was not recorded or not written.
extern std::string last_replay;
// Removes the oldest of the game's own replays of the set beyond `keep`,
// never one in `linked`; the number removed.
int prune_replays(const char *set, int keep);
// Removes from replays/ what interrupted writes of the game's replays left:
// "<replay name>.tmp-" and six letters or digits; nothing else.
void remove_replay_leftovers();
