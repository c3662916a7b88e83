// The saved game: written when the player leaves a game, read by Continue.

#include "rules.h"

char set_name[256] = "default.bls";
int SAVE_AVAILABLE;
int PLAYING_SAVED_GAME;

// The game's state (board, balls, score) is written here once the play
// routines exist; with no game to save there is nothing to write.
void save_progress()
{
}
