// The game's files as they are stored, and the tables every part reads them
// with: the grid, the brick type codes, the power-up kinds, and the fixed-layout
// records of the settings, level, level-set, saved-game and score files. The
// game, the setup program, the asset tools and the tests all use these; the
// header needs neither GL nor SDL.
#pragma once

#include <cstddef>
#include <cstdint>

// Every record holds 32-bit integers and floats exactly as the host holds them
// in memory; the files are little-endian.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "records are stored as the host holds them");

// ---- The grid: 21 x 21 cells, row-major, rows and columns 1..20 in use ----
constexpr int GRID_SIDE = 21;                       // cells per row, row and column 0 unused
constexpr int GRID_CELLS = GRID_SIDE * GRID_SIDE;   // 441 entries per grid array
constexpr int GRID_ROWS = 20;                       // rows (and columns) in use
inline int grid_index(int r, int c) { return r * GRID_SIDE + c; }   // row r, column c

// ---- What a cell holds ----
enum brick_type { BRICK_NORMAL = 1, BRICK_TWO_HIT = 2, BRICK_EXPLODING = 3,
                  BRICK_INVISIBLE = 4, BRICK_THREE_HIT = 5 };
constexpr int BRICK_TYPES = 5;                      // type codes run 1..5

// One brick type, by code: its names (the word a level source file gives it,
// its label in the level previews, its name in the editor's list), the ball
// hits that break it, and its points per level at Easy, Normal and Hard for a
// ball's hit and for a blast reaching it.
struct brick_type_row {
    const char *word;
    const char *label;
    const char *name;
    int hits;
    int hit_award[3];
    int blast_award[3];
};
inline constexpr brick_type_row BRICK_TYPE_TABLE[BRICK_TYPES + 1] = {
    {"", "", "", 0, {0, 0, 0}, {0, 0, 0}},
    {"normal", "normal", "Normal", 1, {7, 10, 15}, {3, 5, 7}},
    {"2hit", "2-hit", "2 Hit Brick", 2, {7, 10, 15}, {3, 5, 7}},
    {"exploding", "exploding", "Exploding", 1, {11, 15, 20}, {7, 10, 15}},
    {"invisible", "invisible", "Invisible", 2, {3, 5, 7}, {3, 5, 7}},
    {"3hit", "3-hit", "3 Hit Brick", 3, {7, 10, 15}, {3, 5, 7}},
};
constexpr int COLOUR_MAX = 127;                     // colour components run 0..127
constexpr int COLOUR_CLEARED = 128;                 // the colour of a cleared cell
constexpr int POWERUP_KINDS = 17;                   // power-up kinds are 1..17, 0 = none
constexpr int BRICK_TEX_W = 64, BRICK_TEX_H = 32;   // brick texture size in pixels
constexpr int BRICK_TEX_BYTES = BRICK_TEX_W * BRICK_TEX_H * 3;   // 6144, RGB

// The kinds, in help-screen order: the values of a cell's power-up.
enum powerup_kind {
    PUP_DETONATE = 1, PUP_BIG_BALL, PUP_SMALL_BALL, PUP_FAST_BALL, PUP_SLOW_BALL,
    PUP_NEXT_BOARD, PUP_DEATH, PUP_BALLSPLOSION, PUP_BIG_PADDLE, PUP_SMALL_PADDLE,
    PUP_EXTRA_LIFE, PUP_STICKY_PADDLE, PUP_HEAVY_BALL, PUP_NUCLEAR_BALL,
    PUP_SHOW_INVISIBLE, PUP_BRICK_WALL, PUP_EARTHQUAKE,
    PUP_LAST_KIND = PUP_EARTHQUAKE
};

// One power-up kind: the name the help page shows, its icon under
// graphics/powerups/ (without ".png"), and whether it hurts the player, which
// is what keeps it out of Easy games.
struct powerup_info {
    const char *name;
    const char *icon;
    bool harmful;
};
// By kind, 0..POWERUP_KINDS; entry 0 is "no power-up". Every array with an
// entry per kind is checked against POWERUP_KINDS where it is defined.
extern const powerup_info *const powerup_table;

// ---- Settings: the file the setup program writes and the game reads ----
struct bset {
    int32_t resolution;     // index into settings_resolutions, 0..10
    int32_t windowed;       // 1 = play in a window, 0 = full-screen
    int32_t particle;       // 1 = particle effects disabled
    int32_t force;          // 1 = force 16-bit display depth in full-screen mode
    float seffects;         // sound-effect volume, 0.0 .. 1.0
    float music;            // music volume, 0.0 .. 1.0
    char playlist[1024];    // path of the music playlist, NUL-terminated
};
static_assert(sizeof(bset) == 1048, "settings record is 1048 bytes");
static_assert(offsetof(bset, windowed) == 4 && offsetof(bset, particle) == 8 &&
              offsetof(bset, force) == 12 && offsetof(bset, seffects) == 16 &&
              offsetof(bset, music) == 20 && offsetof(bset, playlist) == 24,
              "settings record layout");

// ---- Levels and level sets ----
constexpr int TEXT_FIELD = 255;                     // a header text, NUL included
constexpr int RECORD_SEPARATOR = 8;                 // bytes after each record of a set, never read

// Header of a level-set file, "level_sets/<name>.bls".
struct level_set_header {
    int32_t level_count;                // levels in the file
    int32_t texture_count;              // brick textures in the file
    char set_title[TEXT_FIELD];         // the set's display name
    char author_name[TEXT_FIELD];       // the author
    char description_text[TEXT_FIELD];  // the description
    char padding[3];                    // ignored
};
static_assert(sizeof(level_set_header) == 776, "level-set header is 776 bytes");

// One grid array, as the six blocks of a level are stored.
struct grid_record {
    int32_t cells[GRID_CELLS];
};
static_assert(sizeof(grid_record) == 1764, "grid array is 1764 bytes");

// The six grid arrays of a level, in file order.
enum { LEVEL_TEXTURES, LEVEL_RED, LEVEL_GREEN, LEVEL_BLUE, LEVEL_TYPES, LEVEL_POWERUPS,
       LEVEL_BLOCKS };

// A single-level file, "user_data/l<n>.raw".
struct level_file_record {
    grid_record block[LEVEL_BLOCKS];
};
static_assert(sizeof(level_file_record) == 10584, "level file is 10584 bytes");

// A level inside a level-set file: each grid array followed by a separator.
struct set_level_record {
    struct {
        grid_record grid;
        char separator[RECORD_SEPARATOR];
    } block[LEVEL_BLOCKS];
};
static_assert(sizeof(set_level_record) == 10632, "level-set level record is 10632 bytes");

// A brick texture inside a level-set file, followed by a separator.
struct set_texture_record {
    uint8_t rgb[BRICK_TEX_BYTES];
    char separator[RECORD_SEPARATOR];
};
static_assert(sizeof(set_texture_record) == 6152, "level-set texture record is 6152 bytes");

// The header and its separator: where a set's first level starts, 784.
constexpr long SET_HEADER_BYTES = sizeof(level_set_header) + RECORD_SEPARATOR;

// Length of a whole set file of that many levels and textures.
inline long level_set_bytes(long levels, long textures)
{
    return SET_HEADER_BYTES + (long)sizeof(set_level_record) * levels +
           (long)sizeof(set_texture_record) * textures;
}

// ---- The saved game, "level_sets/corvale.sav" ----
constexpr int SAVE_SIDE = 22;                          // row stride of the save's grids
constexpr int SAVE_CELLS = SAVE_SIDE * SAVE_SIDE;      // 484 entries per grid
inline int save_index(int r, int c) { return r * SAVE_SIDE + c; }   // row r, column c

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

// ---- The high-score tables, "level_sets/scores.hst" ----
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
static_assert(sizeof(score_entry) * SCORE_ENTRIES == 3360, "score table is 3360 bytes");

// ---- A replay, "replays/<date>-<time>-<n>.crp" in the player's data folder ----
// The header; after it, for a continued game, the saved-game record it started
// from; then the frames as a stream of operations ending with the trailer
// (the layout is described in the manual's file formats).
constexpr char REPLAY_MAGIC[8] = {'C', 'R', 'V', 'R', 'E', 'P', 'L', 'Y'};
constexpr uint32_t REPLAY_FORMAT = 2;   // the layout of the file, raised when it changes
struct replay_header {
    char magic[8];             // REPLAY_MAGIC
    uint32_t format;           // REPLAY_FORMAT
    uint32_t seed;             // play's generator's seed
    uint64_t set_hash;         // FNV-1a (64 bits) of the level-set file's bytes
    int32_t difficulty;        // 0 Easy, 1 Normal, 2 Hard, as chosen before the game
    int32_t classic;           // classic mode as chosen, 0/1
    int32_t particles;         // particles were drawn, 0/1
    int32_t continued;         // 1: a saved-game record follows the header
    int32_t start_level;       // a new game's level, 1-based
    int32_t reserved;          // 0
    char game_version[32];     // the game's version, NUL-terminated
    char set_name[256];        // the level set's file name, NUL-terminated
};
static_assert(sizeof(replay_header) == 336, "replay header is 336 bytes");
static_assert(offsetof(replay_header, set_hash) == 16 && offsetof(replay_header, difficulty) == 24 &&
              offsetof(replay_header, game_version) == 48 && offsetof(replay_header, set_name) == 80,
              "replay header layout");

// After the end operation.
struct replay_trailer {
    uint32_t frames;           // frames of play recorded
    int32_t score;             // the score at the end
    int32_t end_reason;        // 1 the game was over, 2 left with Escape, 3 the program ended
    uint32_t final_hash;       // play's state hash after the last frame
};
static_assert(sizeof(replay_trailer) == 16, "replay trailer is 16 bytes");
