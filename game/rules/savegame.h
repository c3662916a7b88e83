// The saved game: the record of level_sets/corvale.sav in the player's data
// folder, its reader and writer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr int SAVE_SIDE = 22;                          // row stride of the save's grids
constexpr int SAVE_CELLS = SAVE_SIDE * SAVE_SIDE;      // 484 entries per grid
inline int save_index(int r, int c) { return r * SAVE_SIDE + c; }   // row r, column c
extern const char SAVE_FILE[];                         // "level_sets/corvale.sav"
std::string save_path();   // the save in the player's data folder

// The saved game, written and read whole; 32-bit little-endian integers.
struct saved_game {
    int32_t lcount;                // level cycle counter
    int32_t counter;               // lives counter
    int32_t oldlives;              // lives at the previous level's end
    int32_t score;
    int32_t newlives;              // lives at this level's end
    int32_t level;                 // level of the set, 1-based
    int32_t goodies[10];           // extra lives still to come, entries 0..9
    int32_t balls[17];             // balls in play, entries 0..16
    char set_name[256];            // level-set file name under level_sets/, NUL-terminated
    int32_t presence[SAVE_CELLS];  // 1 where a brick stood, rows and columns 1..20
    int32_t difficulty;            // 0 Easy, 1 Normal, 2 Hard
    int32_t classic;               // classic mode 0/1
    int32_t types[SAVE_CELLS];     // brick type of each cell
};
static_assert(sizeof(saved_game) == 4268, "saved game is 4268 bytes");
static_assert(offsetof(saved_game, goodies) == 24, "goodies at 24");
static_assert(offsetof(saved_game, balls) == 64, "balls at 64");
static_assert(offsetof(saved_game, set_name) == 132, "set name at 132");
static_assert(offsetof(saved_game, presence) == 388, "presence grid at 388");
static_assert(offsetof(saved_game, presence) + 4 * (2 * SAVE_SIDE + 3) == 576,
              "row 2, column 3 of the presence grid at 576");
static_assert(offsetof(saved_game, difficulty) == 2324, "difficulty at 2324");
static_assert(offsetof(saved_game, classic) == 2328, "classic at 2328");
static_assert(offsetof(saved_game, types) == 2332, "type grid at 2332");
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "records are stored as the host holds them");

extern saved_game Sgame;           // the record last written or read

void save_check();                 // SAVE_AVAILABLE from whether the save opens, SAVE_REFUSED from whether Continue would refuse it
int load_saved();                  // continue the saved game; 0 (nothing changed, SAVE_REFUSED set) if it is refused
void delete_saved();               // remove the save, clear SAVE_AVAILABLE and PLAYING_SAVED_GAME
int save_acceptable(const saved_game &g);   // 1 when the record is safe to continue from
int plain_set_name(const char *name, size_t field);   // 1 for a bare file name NUL-ended in field

// Tells the player in a message box that `what` could not be written to path:
// folder_error when the folder could not be made, else the reason in errno.
void report_write_failure(const char *what, const std::string &path, const std::string &folder_error);
