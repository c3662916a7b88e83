// Game rules and data: the board and level model, level progression,
// power-ups, board drawing, the saved game and the high scores.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <string>

#include "formats.h"   // the grid, brick types, power-up kinds, level file records

constexpr int MAX_SET_TEXTURES = 511;   // brick textures in play, entries 1..511 of etexname
constexpr int MAX_ED_TEXTURES = 1499;   // the editor's brick textures, entries 1..1499 of edtexname

// ---- Game board (what is played) ----
extern int32_t board[GRID_CELLS];       // brick texture number, 0 = empty cell
extern int32_t bricktype[GRID_CELLS];   // brick type code; meaningful where board is not 0
extern int32_t rr[GRID_CELLS];          // red 0..127; 128 in cleared cells
extern int32_t gg[GRID_CELLS];          // green 0..127; 128 in cleared cells
extern int32_t bb[GRID_CELLS];          // blue 0..127; 128 in cleared cells
extern int32_t powerup[GRID_CELLS];     // power-up kind released by the brick, 0 = none
extern int32_t explosion[GRID_CELLS];   // 1 = the cell explodes at the next wave
extern int32_t btemp[GRID_CELLS];       // 1 = staging mark of the explosion chain

// ---- Editor board (what is being edited) ----
extern int32_t leveled[GRID_CELLS];        // texture number, as board
extern int32_t ed_rr[GRID_CELLS];          // red
extern int32_t ed_gg[GRID_CELLS];          // green
extern int32_t ed_bb[GRID_CELLS];          // blue
extern int32_t ed_bricktype[GRID_CELLS];   // brick type code
extern int32_t ed_powerup[GRID_CELLS];     // power-up kind

// ---- Level state ----
extern int level;                // current level of the set, 1-based [1]
extern int level_total;          // levels of the current set, or of the editor while testing
extern char set_name[256];       // file name of the level set in play, in either level_sets/ folder
extern level_set_header fhead;   // header of the last level-set file read
extern int difficulty;           // 0 Easy, 1 Normal, 2 Hard [1]
extern int texmax;               // number of brick texture files found
extern int curlevel;             // number of the editor's level files found, at least 1
extern int backmax;              // number of background images
extern int backnum;              // background in use, 1..backmax (0 while there is none)

// ---- Saved game ----
extern int SAVE_AVAILABLE;       // 1 when the saved game exists
extern int SAVE_REFUSED;         // 1 when the save exists but is damaged: Continue would refuse it
extern int PLAYING_SAVED_GAME;   // 1 while a continued game is played

// ---- Board drawing ----
extern float firey;              // fire texture's vertical offset, grows 0.005 a frame [0.001]
extern int now;                  // explosion clock, 0..3

// ---- Falling power-ups (slots 1..3; 4..6 are cleared with them) ----
extern int pup[7];               // kind in the slot, 0 = free

// ---- Empty cells (board.cpp) ----
// The brick arrays of one board: the game's, the editor's or a level record's.
struct brick_cells {
    int32_t *texture, *red, *green, *blue, *type;
};
brick_cells game_cells();         // board, rr, gg, bb, bricktype
brick_cells editor_cells();       // leveled, ed_rr, ed_gg, ed_bb, ed_bricktype
brick_cells record_cells(level_file_record &rec);  // the record's first five blocks
constexpr int CLEARED_SHADE = 128;  // each colour of a cell the game cleared
constexpr int EDITOR_SHADE = 127;   // each colour of a cell the editor emptied: its default colour
// Cell k holds no brick: texture 0, each colour `shade`, type `type`. Its
// power-up and explosion marks are left as they are.
void empty_cell(const brick_cells &cells, int k, int shade, int type);

// ---- Levels (board.cpp, levels.cpp) ----
void clear_board();              // empty the game board: board 0, colours 128, type 1
void clear_editor_board();       // empty the editor board, explosion and btemp marks
// A set name starting with this names the player's own file under a name
// that a set coming with the game also has (a file an earlier version let the
// player make): "~/default.bls". Every other name means the game's set when
// it has one of that name, else the player's.
constexpr char OWN_SET_PREFIX[] = "~/";
// Where the set "<name>" under level_sets/ is read from: the game's own
// level_sets/ when it holds the name, else the player's (always the player's
// for a name with OWN_SET_PREFIX).
std::string set_file_path(const char *name);
int shipped_set_exists(const char *name);   // 1 when the game's level_sets/<name> is a regular file
void load_level_set(const char *name, int level);   // level of "level_sets/<name>" into the board
// 1 when "level_sets/<name>" is a regular file holding a whole set of at least
// one level; its header then goes to h (when given). Reads only the header.
int level_set_readable(const char *name, level_set_header *h);
// Brick types outside 1..5 in a grid become Normal, so every brick can break.
void normal_unknown_types(int32_t *types);
// Level lev of "level_sets/<name>" into out and the set's header into h (when
// given), leaving the game's board alone; 0 when the set or level cannot be read.
int read_set_level(const char *name, int lev, level_file_record *out, level_set_header *h);
int level_set_levels(const char *name);   // levels of "level_sets/<name>", -1 when it is refused
// Brings a loaded level's grids within what play and drawing handle: colours
// 0..127 (or the cleared cells' 128; below 0 gives 0, above 128 gives 127),
// unknown brick types Normal, unknown power-up kinds none.
void keep_grid_in_range(int32_t *red, int32_t *green, int32_t *blue, int32_t *types,
                        int32_t *pups);
// Texture numbers above the `count` textures loaded (at least 1) become the
// last one, so no level file can reach past a texture table.
void keep_textures_in_range(int32_t *tex, int count);
void test_level();               // the editor's current level into the board for a test game
void edload();                   // the editor's textures and first level, at start-up

// ---- Board drawing (drawboard.cpp) ----
void draw_board();               // the bricks, their shadows and the falling power-ups; the fire scrolls on
void draw_board_still();         // the same, but the fire stays where it stands
void scroll_fire();              // the fire image moves on a frame
void fire_box(int k, int box[4]);  // window pixels cell k's fire may touch (field_box)
void cell_box(int k, int box[4]);  // window pixels cell k's brick and its shadow may touch
// Cells' exploding bricks alone, drawn over whatever their cells show; the
// rest of a frame drawn by draw_board_still leaves those pixels as they are.
void redraw_fire(const int *cells, int count);
void board_duties();             // once a frame: power-ups fall and are caught, explosions advance

// ---- Power-ups (powerups.cpp) ----
void update_powerups();          // move the falling power-ups (unless paused); draws nothing
void draw_powerups();            // draw the falling power-ups
void powerup_check();            // the paddle's catch test for slots 1..3

// ---- Saved game (savegame.cpp) ----
int save_progress();             // write the game in progress as the saved game; 0 (reported) on failure
void leave_game_saved();         // save the game being left; Continue offers it, and it is no longer a continued game
