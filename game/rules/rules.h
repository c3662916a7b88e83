// Game rules and data: the board and level model, level progression,
// power-ups, board drawing, the saved game and the high scores.
#pragma once

extern char set_name[256];       // file name of the level set in play, under level_sets/
extern int SAVE_AVAILABLE;       // 1 when level_sets/corvale.sav exists
extern int PLAYING_SAVED_GAME;   // 1 while a continued game is played

void save_progress();            // write the game in progress to level_sets/corvale.sav
