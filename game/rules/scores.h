// The high-score tables, one for each mode, kept in level_sets/scores.hst of
// the player's data folder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// One entry of a table, as stored.
struct score_entry {
    char player_name[80];        // the name typed, NUL-terminated
    char entry_set_title[80];    // title of the level set played, NUL-terminated
    int32_t entry_difficulty;    // 0 Easy, 1 Normal, 2 Hard
    int32_t entry_score;
};
static_assert(sizeof(score_entry) == 168, "score entry is 168 bytes");
static_assert(offsetof(score_entry, entry_set_title) == 80, "set title at 80");
static_assert(offsetof(score_entry, entry_difficulty) == 160, "difficulty at 160");
static_assert(offsetof(score_entry, entry_score) == 164, "score at 164");

constexpr int TABLE_ENTRIES = 10;                    // entries per mode
constexpr int SCORE_ENTRIES = 2 * TABLE_ENTRIES;     // 0..9 normal, 10..19 classic
extern const char SCORES_FILE[];                     // "level_sets/scores.hst"
std::string scores_path();   // the table in the player's data folder
static_assert(sizeof(score_entry) * SCORE_ENTRIES == 3360, "score table is 3360 bytes");

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
