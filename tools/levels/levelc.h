// Level-set compiler: turns the text level designs of data/levels/ into the
// game's level-set files, draws a preview of every level, and builds the manual.
#pragma once

#include <cairo.h>

#include "formats.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// ---- constants -------------------------------------------------------------
// The grid, brick types, power-up kinds and file records are the game's own
// (formats.h); these belong to the level sources only.

constexpr char EMPTY_CELL = '.';    // the grid character of an empty cell

// ---- level designs ---------------------------------------------------------

// What a grid character stands for: one brick as the game stores it.
struct Brick {
  int type = BRICK_NORMAL;     // brick type code 1..5
  int texture = 1;       // brick texture number, 1..texture count
  int red = 0, green = 0, blue = 0;  // colour, 0..127 each
  int powerup = 0;       // 0 = none, 1..17
};

// One cell of a compiled level; texture 0 means empty.
struct Cell {
  int texture = 0;
  int red = 0, green = 0, blue = 0;
  int type = BRICK_NORMAL;
  int powerup = 0;
};

// One level: its grid of rows and columns 1..20 (index 0 unused).
struct Level {
  std::string name;      // designer's name for the level, shown on previews
  int line = 0;          // source line of its "level" directive
  Cell cell[GRID_SIDE][GRID_SIDE];
};

// A whole level set as read from one source file.
struct LevelSet {
  std::string source;    // path of the source file
  std::string name;      // file name without extension: level_sets/<name>.bls
  std::string title, author, description;
  std::vector<Level> levels;
  int texture_count = 0; // highest texture number used: records 1..n are carried
};

// A source error: the message already names the file and line.
struct SourceError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Reads and checks one level-set source file; textures may be 1..texmax.
// Throws SourceError naming the file and line of the first fault.
LevelSet read_level_source(const std::string &path, int texmax);

// ---- level-set files ---------------------------------------------------------

// The raw RGB brick textures b1.raw, b2.raw, ... of one folder, in order.
std::vector<std::vector<uint8_t>> read_brick_textures(const std::string &folder);

// Writes the set as a level-set file, through a temporary file renamed into place.
void write_level_set(const LevelSet &set,
                     const std::vector<std::vector<uint8_t>> &textures,
                     const std::string &path);

// ---- pictures -------------------------------------------------------------

// Images from the game folder that previews and the manual borrow; any may be
// missing, and then a drawn stand-in is used.
struct Artwork {
  std::vector<std::vector<uint8_t>> bricks;  // raw brick textures 1..n
  cairo_surface_t *fire = nullptr;           // graphics/fire.png
  cairo_surface_t *background = nullptr;     // graphics/backgrounds/bg1.png
  cairo_surface_t *walls = nullptr;          // graphics/walls.png
  cairo_surface_t *paddle = nullptr;         // paddles/p1.png
  cairo_surface_t *icons[POWERUP_KINDS + 1] = {};  // graphics/powerups/*.png, by kind
  std::vector<std::string> files_read;       // every file loaded, for the depfile
};

// Loads what exists of the artwork under the game folder.
void load_artwork(Artwork &art, const std::string &game_dir);
// Releases the surfaces of the artwork.
void free_artwork(Artwork &art);

// A 64 x 32 picture of a brick as the game draws it: its texture (or, for an
// exploding brick, the top half of the fire) tinted by its colour, with the
// 2-hit and 3-hit darkening. The caller destroys the surface.
cairo_surface_t *brick_surface(const Artwork &art, const Cell &cell);
// Draws the icon of a power-up kind as a square of the given size.
void draw_icon(cairo_t *cr, const Artwork &art, int kind, double x, double y, double size);
// Writes a picture as an 8-bit RGB (or, with alpha, RGBA) PNG through a
// temporary file, at zlib compression level 0..9; throws on failure.
void write_png(cairo_surface_t *s, const std::string &path, int level);
// The frame colour of a power-up kind: red for harmful kinds, green otherwise.
void powerup_frame_colour(int kind, double rgb[3]);

// Writes <folder>/<set>_<n>.png for every level and <folder>/<set>_all.png.
void write_previews(const LevelSet &set, const Artwork &art, const std::string &folder);

// Builds manual/ in the game folder from the manual source folder.
void build_manual(const std::string &source_dir, const std::string &game_dir,
                  const Artwork &art, std::vector<std::string> &inputs);

// ---- small helpers -------------------------------------------------------------

// Reads a whole file; throws std::runtime_error if it cannot.
std::vector<uint8_t> read_file(const std::string &path);
// Writes a whole file through <path>.tmp and a rename; throws on failure.
void write_file(const std::string &path, const void *data, size_t size);
// Creates a folder and its parents.
void make_folder(const std::string &path);
// True if the path names a readable file.
bool file_exists(const std::string &path);
