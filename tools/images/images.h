// Image generator: draws every picture the game loads and the brick textures with
// cairo, and writes them as 8-bit RGB PNG files and raw 64 x 32 RGB textures.
#pragma once

#include <cairo.h>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "formats.h"   // brick texture size, power-up kinds

// ---- constants -------------------------------------------------------------

constexpr int SPRITE_MAX_PIXELS = 4096;  // largest transparent-mode image (64 x 64)
constexpr int SCREEN_W = 1280;         // title and credits width (4:3)
constexpr int SCREEN_H = 960;          // title and credits height
constexpr int POWERUP_SIZE = 128;      // side of a power-up icon
constexpr int ICON_SIZE = 64;          // side of a GUI button icon
constexpr int TILE_SIZE = 256;         // side of a background tile

// Fonts, through cairo's toy API (fontconfig picks the face).
constexpr const char *FONT_SANS = "Liberation Sans";
constexpr const char *FONT_WIDE = "DejaVu Sans";

// ---- pictures ----------------------------------------------------------------

// An 8-bit RGB picture, rows top first, 3 bytes a pixel; with an alpha byte
// per pixel when alpha is not empty (the program icon only).
struct Picture {
  int w = 0, h = 0;
  std::vector<uint8_t> rgb;
  std::vector<uint8_t> alpha;
};

// How a picture is written and checked.
enum Kind {
  OPAQUE_PNG,   // 8-bit RGB PNG, every pixel shown
  SPRITE_PNG,   // 8-bit RGB PNG loaded with black as the transparent colour
  RAW_BRICK     // 6144 bytes of 64 x 32 RGB, no header
};

// One file of the game folder: its path below the folder, kind and pixels.
struct Output {
  std::string path;
  Kind kind;
  Picture pic;
};

// A colour with components 0..1.
struct Colour {
  double r, g, b;
};

// ---- canvas.cpp: cairo surfaces and pixel access ----------------------------

// A cairo ARGB32 surface with its context; cleared to transparent.
struct Canvas {
  cairo_surface_t *surface;
  cairo_t *cr;
  int w, h;
  Canvas(int width, int height);
  ~Canvas();
  Canvas(const Canvas &) = delete;
  Canvas &operator=(const Canvas &) = delete;
};

// Colour of a pixel, un-premultiplied, and its coverage 0..1.
Colour canvas_get(Canvas &c, int x, int y, double *alpha = nullptr);
// Sets a pixel to an opaque colour (components clamped to 0..1).
void canvas_set(Canvas &c, int x, int y, Colour col);
// Fills every pixel with fn(x + 0.5, y + 0.5), opaque.
void canvas_shade(Canvas &c, const std::function<Colour(double, double)> &fn);
// Replaces every pixel by fn(x, y, its colour), opaque.
void canvas_filter(Canvas &c, const std::function<Colour(int, int, Colour)> &fn);
// The canvas composited over black as an RGB picture.
Picture canvas_picture(Canvas &c);
// The canvas as a transparent-mode picture: pixels covered at least half keep
// their colour, never darker than (1, 1, 1); the rest become pure black, except
// pockets enclosed by the shape, which take the shape's colour.
Picture canvas_sprite(Canvas &c);
// Paints a picture onto a cairo context at (x, y), scaled to w × h, optionally
// tinted (components multiplied) and with texels kept square when enlarged.
void paint_picture(cairo_t *cr, const Picture &pic, double x, double y, double w, double h,
                   Colour tint = {1, 1, 1}, bool texels = false);

// ---- canvas.cpp: colours and shapes ------------------------------------------

Colour mix(Colour a, Colour b, double t);      // a + (b − a) t
Colour scale(Colour a, double k);              // a × k
Colour grey(double v);                          // (v, v, v)
Colour hex(uint32_t rrggbb);                    // from 0xRRGGBB
double clamp01(double v);
double smoothstep(double e0, double e1, double x);
void set_colour(cairo_t *cr, Colour c, double alpha = 1.0);
void rounded_rect(cairo_t *cr, double x, double y, double w, double h, double r);
// Selects the bold or regular face of a font family at a pixel size.
void set_font(cairo_t *cr, const char *family, double size, bool bold);
// Adds a text path with its centre at x and its baseline at y.
void centred_text_path(cairo_t *cr, const char *text, double x, double y);
// Blurs the canvas (all four channels) by three box passes of radius r.
void canvas_blur(Canvas &c, int r);

// ---- canvas.cpp: lit reliefs ---------------------------------------------------

// The colour of a surface of this albedo whose height rises by (hx, hy) per
// pixel, lit from the top left, with a highlight of strength gloss.
Colour lit_colour(Colour albedo, double hx, double hy, double gloss);
// Fills the canvas with a lit relief given by a colour and a height (pixels)
// at each point, sampled super × super times per pixel.
void canvas_relief(Canvas &c, const std::function<Colour(double, double)> &albedo,
                   const std::function<double(double, double)> &height, double gloss, int super);

// ---- noise.cpp: deterministic, periodic noise --------------------------------

// Hash of a lattice point and a seed, 0..1.
double hash01(int x, int y, int seed);
// Smooth value noise 0..1 over lattice cells, periodic with px × py cells.
double value_noise(double x, double y, int px, int py, int seed);
// Sum of octaves of value noise, 0..1, periodic with px × py base cells.
double fractal_noise(double x, double y, int px, int py, int octaves, int seed);
// Distances to the nearest and second-nearest feature point of a periodic
// cellular pattern of n × m cells (coordinates in cells), and the nearest's id.
struct Cells {
  double f1, f2;
  int id;
};
Cells cellular(double x, double y, int n, int m, int seed);
// Distance inside the hexagon of side s (flat sides up) that (x, y) lies in to
// its border, negative never; the hexagon's centre goes to cx, cy if given.
double hex_edge(double x, double y, double s, double *cx = nullptr, double *cy = nullptr);

// ---- the families: each appends its files to the list ------------------------

void make_bricks(std::vector<Output> &out);        // bricks.cpp
// screens.cpp: title and credits, from the texts of data_dir; false if they
// cannot be read. Uses the brick textures already in out.
bool make_screens(std::vector<Output> &out, const std::string &data_dir, const std::string &version);
void make_field_images(std::vector<Output> &out);  // field.cpp: paddle, fire, walls, ed
void make_backgrounds(std::vector<Output> &out);   // backgrounds.cpp
void make_sprites(std::vector<Output> &out);       // sprites.cpp: pointer, ball, glow, overlays
void make_icons(std::vector<Output> &out);         // icons.cpp
void make_powerups(std::vector<Output> &out);      // powerups.cpp

// ---- appicon.cpp: the program's icon ----------------------------------------------

// The icon at size × size pixels, with transparency.
Picture app_icon(int size);
// Writes the window icon graphics/icon.png into the game folder and, unless
// icons_dir is empty, the theme icons icons_dir/hicolor/NxN/apps/corvale.png.
bool write_app_icons(const std::string &game_dir, const std::string &icons_dir);

// ---- files.cpp -------------------------------------------------------------------

// Writes an output below the game folder, creating folders; replaces the old
// file only once the new one is complete. False on failure, with a message.
bool write_output(const std::string &game_dir, const Output &o);
// Writes a picture as an 8-bit RGB (or RGBA) PNG without time or text chunks.
bool write_png(const std::string &path, const Picture &pic);
// The lines of a text file, without line ends; false if it cannot be read.
bool read_lines(const std::string &path, std::vector<std::string> &lines);

// ---- sheet.cpp -------------------------------------------------------------------

// Renders every output into one contact-sheet picture.
Picture contact_sheet(const std::vector<Output> &outputs);
