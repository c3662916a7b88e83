// Level progression: score, lives, the last-brick countdown, extra lives and
// the restart of a level.
#pragma once

constexpr int SCORE_MAX = 999999999;   // the score stops growing here
constexpr int MAX_LIVES = 99;          // extra lives beyond this many are not given
constexpr int COUNTER_MIN = 5 - MAX_LIVES;   // counter of a player with MAX_LIVES lives

extern int score;              // the player's score, 0..SCORE_MAX
extern int counter;            // lives counter COUNTER_MIN..6: lives left = abs(counter - 5); a new game sets 1
extern int oldlives, newlives; // lives at the end of the previous level and of this one [4, 0]
extern int lcount;             // level cycle counter, 1..4, advanced at every level change
extern int check;              // non-empty cells of the board, counted by check_board
extern int last_block;         // the last-brick countdown has been armed for this level
extern int block_timer;        // the last-brick countdown is running
extern int btimer;             // seconds left on the countdown, from 10
extern int binterval;          // frames towards the next countdown step, 0..59
extern int btimeri, btimerj;   // row and column of the last brick
extern int goodies[10];        // 1..9: the extra life of that score threshold is still to come
extern int level_cleared;      // [0] a test game's level was cleared: the game has ended with it

// Score thresholds of the extra lives, entries 1..9 (entry 0 unused).
extern const int PRIZE_SCORES[10];

void new_game();               // fresh game state under the title screen, level 1 reloaded
void reset_board();            // restart the current level from its file
void check_board();            // end the level when the board is empty; arm the countdown
void prize_check();            // extra lives by score
// The last brick's countdown, once a frame: one step per 60 frames, also while
// paused; at zero the brick explodes and marks its four neighbours.
void last_brick_countdown();
void add_score(int points);    // score += points, kept within 0..SCORE_MAX
int by_difficulty(int easy, int normal, int hard);   // the value for the difficulty in play; 0 outside 0..2
int level_award(int easy, int normal, int hard);     // points by difficulty, times the level
int level_award(const int award[3]);                // the same from {Easy, Normal, Hard}
void gain_life();              // one more life, unless MAX_LIVES are held already

// Pieces of a level start shared with the saved game's continue.
void clear_play_board();       // empty the board (colours 128, types 0, marks 0), free the power-ups
void free_powerup_slots();     // power-up slots 1..6 free, still, at (0, 0), heading down-left
void reset_play_effects();     // power-ups freed, ball and paddle sizes normal, ball effects off
