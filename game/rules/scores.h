// The high-score tables, one for each mode, kept in level_sets/scores.hst of
// the player's data folder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "formats.h"   // score_entry, SCORE_ENTRIES

extern const char SCORES_FILE[];                     // "level_sets/scores.hst"
std::string scores_path();   // the table in the player's data folder

extern score_entry hstable[SCORE_ENTRIES];   // both tables, highest score first in each
extern int hs_classic;   // table and page: 0 normal, 1 classic
extern int hs_score;     // score of the game to check
extern int table_pos;    // index 0..19 of the entry just made, highlighted on the table screen

void checkscores();      // place hs_score in its table; opens the name dialog when it enters
extern int scores_stale; // 1 when the table screen must read the file before it shows it [1]

// The file into hstable. A missing file gives a table of zeros; a file of the
// wrong size or one that cannot be read is renamed aside as scores.hst.damaged
// (the player is told) and a table of zeros starts.
void readscores();
// hstable to the file, replacing it whole; 0 when it could not be written or
// an unreadable table that could not be moved aside is in the way.
int writescores();
// Places a score in the table of mode cls; the index of the new entry, or -1.
int place_score(int cls, int points, const char *title, int diff);

// ---- The high scores' replays (scorelinks.cpp) ----
extern const char SCORE_REPLAYS_FILE[];   // "level_sets/scores.rpl"
constexpr int REPLAY_NAME_FIELD = 32;     // a replay's file name under replays/, NUL included
// By table entry: the file name of the replay of that game, "" for none.
extern char score_replay[SCORE_ENTRIES][REPLAY_NAME_FIELD];
void read_score_replays();    // the links of the entries as hstable holds them; the rest link nothing
int write_score_replays();    // the links to their file; 0 (reported) when it could not be written
// A new entry at pos of the table of mode cls keeps the replay name; the
// entries below move down with their replays.
void link_score_replay(int cls, int pos, const char *name);
int replay_linked(const char *name);   // 1 when a table entry keeps that replay
