// GUI button icons: 64 x 64 transparent-mode glossy plates, coloured by what the
// button does, each with a white symbol; written under graphics/buttons/.
#include "images.h"

#include "gui_icons.h"

#include <cmath>

// ---- constants -------------------------------------------------------------

static const Colour INK = {0.04, 0.05, 0.10};      // outlines and shadows
static const Colour WHITE = {0.97, 0.97, 0.97};    // symbols
static const Colour DIM = {0.62, 0.64, 0.68};      // symbols of switched-off views
static const Colour SLASH = {0.95, 0.22, 0.18};    // the stroke across "off" symbols

// An icon: its slot (which names its file), plate colour and symbol.
struct Icon {
  icon_slot slot;
  uint32_t plate;
  void (*symbol)(cairo_t *cr);
};

// ---- plate and symbol helpers --------------------------------------------------

// The rounded, glossy plate every icon stands on.
static void plate(cairo_t *cr, Colour c)
{
  rounded_rect(cr, 2.5, 2.5, 59, 59, 12);
  cairo_pattern_t *g = cairo_pattern_create_linear(0, 2, 0, 62);
  Colour top = mix(c, grey(1), 0.35), bottom = scale(c, 0.55);
  cairo_pattern_add_color_stop_rgb(g, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(g, 0.5, c.r, c.g, c.b);
  cairo_pattern_add_color_stop_rgb(g, 1, bottom.r, bottom.g, bottom.b);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  cairo_save(cr);
  cairo_clip_preserve(cr);
  cairo_new_path(cr);
  cairo_save(cr);
  cairo_translate(cr, 32, 14);
  cairo_scale(cr, 34, 15);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.22);
  cairo_fill(cr);
  cairo_restore(cr);
  rounded_rect(cr, 2.5, 2.5, 59, 59, 12);
  set_colour(cr, INK);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
}

// Draws a symbol with a soft drop shadow below and to the right.
static void with_shadow(cairo_t *cr, void (*symbol)(cairo_t *))
{
  cairo_push_group(cr);
  symbol(cr);
  cairo_pattern_t *art = cairo_pop_group(cr);
  cairo_save(cr);
  cairo_translate(cr, 1.5, 2);
  set_colour(cr, INK, 0.55);
  cairo_mask(cr, art);
  cairo_restore(cr);
  cairo_set_source(cr, art);
  cairo_paint(cr);
  cairo_pattern_destroy(art);
}

static void stroke_round(cairo_t *cr, Colour c, double width)
{
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_width(cr, width);
  set_colour(cr, c);
  cairo_stroke(cr);
}

// Fills the current path and outlines it in ink.
static void fill_outlined(cairo_t *cr, Colour c, double width = 2)
{
  set_colour(cr, c);
  cairo_fill_preserve(cr);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_width(cr, width);
  set_colour(cr, INK);
  cairo_stroke(cr);
}

static void slash(cairo_t *cr)
{
  cairo_move_to(cr, 15, 49);
  cairo_line_to(cr, 49, 15);
  stroke_round(cr, INK, 8);
  cairo_move_to(cr, 15, 49);
  cairo_line_to(cr, 49, 15);
  stroke_round(cr, SLASH, 5);
}

static void text_symbol(cairo_t *cr, const char *text, double size, double baseline)
{
  set_font(cr, FONT_WIDE, size, true);
  centred_text_path(cr, text, 32, baseline);
  set_colour(cr, WHITE);
  cairo_fill(cr);
}

// ---- symbols -------------------------------------------------------------------

static void play_symbol(cairo_t *cr)
{
  cairo_move_to(cr, 23, 16);
  cairo_line_to(cr, 49, 32);
  cairo_line_to(cr, 23, 48);
  cairo_close_path(cr);
  set_colour(cr, WHITE);
  cairo_fill_preserve(cr);
  stroke_round(cr, WHITE, 4);
}

static void load_symbol(cairo_t *cr)
{
  cairo_move_to(cr, 13, 18);
  cairo_line_to(cr, 26, 18);
  cairo_line_to(cr, 30, 22);
  cairo_line_to(cr, 50, 22);
  cairo_line_to(cr, 50, 46);
  cairo_line_to(cr, 13, 46);
  cairo_close_path(cr);
  fill_outlined(cr, hex(0xe9b949));
  cairo_move_to(cr, 18, 29);
  cairo_line_to(cr, 55, 29);
  cairo_line_to(cr, 50, 46);
  cairo_line_to(cr, 13, 46);
  cairo_close_path(cr);
  fill_outlined(cr, hex(0xffe08a));
}

static void edit_symbol(cairo_t *cr)
{
  cairo_save(cr);
  cairo_translate(cr, 32, 32);
  cairo_rotate(cr, -M_PI / 4);
  cairo_rectangle(cr, -12, -6, 26, 12);
  fill_outlined(cr, hex(0xffd23f));
  cairo_rectangle(cr, 14, -6, 7, 12);
  fill_outlined(cr, hex(0xf28a9b));
  cairo_move_to(cr, -12, -6);
  cairo_line_to(cr, -24, 0);
  cairo_line_to(cr, -12, 6);
  cairo_close_path(cr);
  fill_outlined(cr, hex(0xf3d2a2));
  cairo_move_to(cr, -20, -2);
  cairo_line_to(cr, -24, 0);
  cairo_line_to(cr, -20, 2);
  cairo_close_path(cr);
  set_colour(cr, INK);
  cairo_fill(cr);
  cairo_restore(cr);
}

static void hiscores_symbol(cairo_t *cr)
{
  Colour gold = hex(0xffcf3a);
  cairo_move_to(cr, 20, 14);
  cairo_line_to(cr, 44, 14);
  cairo_curve_to(cr, 44, 30, 40, 36, 32, 37);
  cairo_curve_to(cr, 24, 36, 20, 30, 20, 14);
  cairo_close_path(cr);
  fill_outlined(cr, gold);
  cairo_arc(cr, 20, 21, 6, M_PI / 2, 1.5 * M_PI);
  cairo_arc(cr, 44, 21, 6, -M_PI / 2, M_PI / 2);
  stroke_round(cr, gold, 3);
  cairo_rectangle(cr, 29, 37, 6, 7);
  fill_outlined(cr, gold);
  rounded_rect(cr, 21, 44, 22, 7, 2);
  fill_outlined(cr, gold);
}

static void about_symbol(cairo_t *cr)
{
  text_symbol(cr, "?", 42, 47);
}

static void exit_symbol(cairo_t *cr)
{
  cairo_arc(cr, 32, 34, 15, -M_PI / 2 + 0.75, 1.5 * M_PI - 0.75);
  stroke_round(cr, WHITE, 6);
  cairo_move_to(cr, 32, 13);
  cairo_line_to(cr, 32, 32);
  stroke_round(cr, WHITE, 6);
}

// A 3 × 3 grid of cells in the given colour.
static void grid_lines(cairo_t *cr, Colour c)
{
  for (int k = 0; k <= 3; k++) {
    double v = 15 + k * 34 / 3.0;
    cairo_move_to(cr, v, 15);
    cairo_line_to(cr, v, 49);
    cairo_move_to(cr, 15, v);
    cairo_line_to(cr, 49, v);
  }
  stroke_round(cr, c, 3.5);
}

static void grid_symbol(cairo_t *cr)
{
  grid_lines(cr, WHITE);
}

static void gridoff_symbol(cairo_t *cr)
{
  grid_lines(cr, DIM);
  slash(cr);
}

// A five-pointed star in the given colour.
static void star(cairo_t *cr, Colour c)
{
  for (int k = 0; k < 10; k++) {
    double a = -M_PI / 2 + k * M_PI / 5, r = (k & 1) ? 9 : 21;
    cairo_line_to(cr, 32 + r * std::cos(a), 34 + r * std::sin(a));
  }
  cairo_close_path(cr);
  fill_outlined(cr, c);
}

static void powerup_symbol(cairo_t *cr)
{
  star(cr, hex(0xffe14d));
}

static void powerupsoff_symbol(cairo_t *cr)
{
  star(cr, DIM);
  slash(cr);
}

// An eye centred at (32, cy) in the given iris colour.
static void eye(cairo_t *cr, double cy, Colour iris)
{
  cairo_move_to(cr, 11, cy);
  cairo_curve_to(cr, 22, cy - 15, 42, cy - 15, 53, cy);
  cairo_curve_to(cr, 42, cy + 15, 22, cy + 15, 11, cy);
  cairo_close_path(cr);
  fill_outlined(cr, WHITE, 2.5);
  cairo_arc(cr, 32, cy, 7.5, 0, 2 * M_PI);
  set_colour(cr, iris);
  cairo_fill(cr);
  cairo_arc(cr, 32, cy, 3.5, 0, 2 * M_PI);
  set_colour(cr, INK);
  cairo_fill(cr);
}

static void visiblesquare_symbol(cairo_t *cr)
{
  rounded_rect(cr, 9, 14, 46, 36, 4);
  double dash[] = {5, 3};
  cairo_set_dash(cr, dash, 2, 0);
  stroke_round(cr, WHITE, 2.5);
  cairo_set_dash(cr, nullptr, 0, 0);
  eye(cr, 32, hex(0x3a8ee8));
}

static void notvisible_symbol(cairo_t *cr)
{
  eye(cr, 32, DIM);
  slash(cr);
}

// A small bevelled brick at (x, y) of 20 × 10 in colour c.
static void small_brick(cairo_t *cr, double x, double y, Colour c)
{
  cairo_rectangle(cr, x, y, 20, 10);
  fill_outlined(cr, c, 2);
  cairo_move_to(cr, x + 2, y + 8);
  cairo_line_to(cr, x + 2, y + 2);
  cairo_line_to(cr, x + 18, y + 2);
  stroke_round(cr, mix(c, grey(1), 0.6), 1.5);
}

static void bricks_symbol(cairo_t *cr)
{
  small_brick(cr, 11, 38, hex(0xf04848));
  small_brick(cr, 33, 38, hex(0x4cc35a));
  small_brick(cr, 22, 26, hex(0x4a8ef0));
  small_brick(cr, 22, 14, hex(0xffd23f));
}

static void test_symbol(cairo_t *cr)
{
  double dash[] = {0.1, 5};
  cairo_set_dash(cr, dash, 2, 0);
  cairo_move_to(cr, 18, 42);
  cairo_curve_to(cr, 20, 20, 34, 14, 42, 18);
  stroke_round(cr, WHITE, 3);
  cairo_set_dash(cr, nullptr, 0, 0);
  cairo_arc(cr, 44, 20, 6, 0, 2 * M_PI);
  fill_outlined(cr, WHITE);
  rounded_rect(cr, 10, 44, 30, 7, 3.5);
  fill_outlined(cr, hex(0xbfe3ff));
}

// A toggle switch with its label: the knob right and lit when on.
static void switch_symbol(cairo_t *cr, bool on)
{
  rounded_rect(cr, 12, 12, 40, 20, 10);
  fill_outlined(cr, on ? hex(0x9dff8a) : hex(0x4a3a3a), 2.5);
  cairo_arc(cr, on ? 42 : 22, 22, 8, 0, 2 * M_PI);
  fill_outlined(cr, WHITE, 2);
  text_symbol(cr, on ? "ON" : "OFF", 16, 52);
}

static void on_symbol(cairo_t *cr)
{
  switch_symbol(cr, true);
}

static void off_symbol(cairo_t *cr)
{
  switch_symbol(cr, false);
}

static void minus_symbol(cairo_t *cr)
{
  cairo_move_to(cr, 16, 32);
  cairo_line_to(cr, 48, 32);
  stroke_round(cr, WHITE, 9);
}

static void plus_symbol(cairo_t *cr)
{
  cairo_move_to(cr, 16, 32);
  cairo_line_to(cr, 48, 32);
  cairo_move_to(cr, 32, 16);
  cairo_line_to(cr, 32, 48);
  stroke_round(cr, WHITE, 9);
}

static void save_symbol(cairo_t *cr)
{
  cairo_move_to(cr, 14, 14);
  cairo_line_to(cr, 44, 14);
  cairo_line_to(cr, 50, 20);
  cairo_line_to(cr, 50, 50);
  cairo_line_to(cr, 14, 50);
  cairo_close_path(cr);
  fill_outlined(cr, hex(0x2b3a55), 2.5);
  cairo_rectangle(cr, 21, 14, 20, 12);
  fill_outlined(cr, hex(0xc9d2dc));
  cairo_rectangle(cr, 34, 16, 4, 8);
  set_colour(cr, hex(0x2b3a55));
  cairo_fill(cr);
  cairo_rectangle(cr, 19, 32, 26, 18);
  fill_outlined(cr, WHITE);
  for (int k = 0; k < 3; k++) {
    cairo_move_to(cr, 23, 37 + k * 4.5);
    cairo_line_to(cr, 41, 37 + k * 4.5);
  }
  stroke_round(cr, hex(0x7fa7d9), 1.5);
}

static void delete_symbol(cairo_t *cr)
{
  rounded_rect(cr, 26, 10, 12, 6, 2);
  stroke_round(cr, WHITE, 3);
  rounded_rect(cr, 14, 15, 36, 6, 2);
  fill_outlined(cr, WHITE);
  cairo_move_to(cr, 18, 23);
  cairo_line_to(cr, 46, 23);
  cairo_line_to(cr, 43, 52);
  cairo_line_to(cr, 21, 52);
  cairo_close_path(cr);
  fill_outlined(cr, WHITE);
  for (double x : {26.0, 32.0, 38.0}) {
    cairo_move_to(cr, x, 28);
    cairo_line_to(cr, x, 47);
  }
  stroke_round(cr, hex(0x9aa3ad), 2.5);
}

static void create_symbol(cairo_t *cr)
{
  rounded_rect(cr, 18, 10, 28, 34, 3);
  fill_outlined(cr, hex(0xd8dde5));
  rounded_rect(cr, 12, 16, 28, 34, 3);
  fill_outlined(cr, WHITE);
  for (int k = 0; k < 4; k++) {
    cairo_rectangle(cr, 16, 21 + k * 6, 9, 4);
    cairo_rectangle(cr, 27, 21 + k * 6, 9, 4);
  }
  set_colour(cr, hex(0xe58b2e));
  cairo_fill(cr);
  cairo_arc(cr, 44, 44, 10, 0, 2 * M_PI);
  fill_outlined(cr, hex(0x36c24f));
  cairo_move_to(cr, 38.5, 44);
  cairo_line_to(cr, 49.5, 44);
  cairo_move_to(cr, 44, 38.5);
  cairo_line_to(cr, 44, 49.5);
  stroke_round(cr, WHITE, 3);
}

static void back_symbol(cairo_t *cr)
{
  cairo_move_to(cr, 12, 32);
  cairo_line_to(cr, 30, 15);
  cairo_line_to(cr, 30, 25);
  cairo_line_to(cr, 51, 25);
  cairo_line_to(cr, 51, 39);
  cairo_line_to(cr, 30, 39);
  cairo_line_to(cr, 30, 49);
  cairo_close_path(cr);
  set_colour(cr, WHITE);
  cairo_fill_preserve(cr);
  stroke_round(cr, WHITE, 3);
}

static void ok_symbol(cairo_t *cr)
{
  cairo_move_to(cr, 15, 33);
  cairo_line_to(cr, 27, 45);
  cairo_line_to(cr, 49, 19);
  stroke_round(cr, WHITE, 8);
}

static void cancel_symbol(cairo_t *cr)
{
  cairo_move_to(cr, 19, 19);
  cairo_line_to(cr, 45, 45);
  cairo_move_to(cr, 45, 19);
  cairo_line_to(cr, 19, 45);
  stroke_round(cr, WHITE, 8);
}

static void difficulty_symbol(cairo_t *cr)
{
  const uint32_t colours[] = {0x5fe06a, 0xffd23f, 0xff5a4a};
  for (int k = 0; k < 3; k++) {
    double h = 12 + k * 11;
    rounded_rect(cr, 13 + k * 14, 50 - h, 10, h, 2);
    fill_outlined(cr, hex(colours[k]));
  }
}

static void level_symbol(cairo_t *cr)
{
  for (double x : {14.0, 32.0}) {
    cairo_move_to(cr, x, 16);
    cairo_line_to(cr, x + 18, 32);
    cairo_line_to(cr, x, 48);
    cairo_close_path(cr);
  }
  set_colour(cr, WHITE);
  cairo_fill_preserve(cr);
  stroke_round(cr, WHITE, 3);
}


// A small brick of the editor's canvas, outlined.
static void mirror_brick(cairo_t *cr, double x, double y, Colour c)
{
  cairo_rectangle(cr, x, y, 14, 8);
  fill_outlined(cr, c, 1.5);
}

static void brush_symbol(cairo_t *cr)
{
  cairo_move_to(cr, 12, 46);
  cairo_curve_to(cr, 20, 30, 30, 50, 40, 34);
  stroke_round(cr, hex(0xffd23f), 6);
  cairo_save(cr);
  cairo_translate(cr, 44, 22);
  cairo_rotate(cr, M_PI / 4);
  cairo_rectangle(cr, -4, -14, 8, 20);
  fill_outlined(cr, hex(0xc98a4b));
  cairo_rectangle(cr, -5, 6, 10, 8);
  fill_outlined(cr, WHITE);
  cairo_restore(cr);
}

static void line_symbol(cairo_t *cr)
{
  cairo_move_to(cr, 15, 49);
  cairo_line_to(cr, 49, 15);
  stroke_round(cr, WHITE, 6);
  for (double v : {15.0, 49.0}) {
    cairo_arc(cr, v, 64 - v, 5, 0, 2 * M_PI);
    fill_outlined(cr, hex(0xffd23f));
  }
}

static void rectangle_symbol(cairo_t *cr)
{
  cairo_rectangle(cr, 14, 18, 36, 28);
  stroke_round(cr, WHITE, 6);
}

static void box_symbol(cairo_t *cr)
{
  cairo_rectangle(cr, 14, 18, 36, 28);
  fill_outlined(cr, WHITE, 3);
}

static void fill_symbol(cairo_t *cr)
{
  cairo_save(cr);
  cairo_translate(cr, 28, 34);
  cairo_rotate(cr, -M_PI / 6);
  rounded_rect(cr, -11, -12, 22, 24, 3);
  fill_outlined(cr, WHITE);
  cairo_restore(cr);
  cairo_move_to(cr, 44, 26);
  cairo_curve_to(cr, 54, 40, 50, 48, 46, 48);
  cairo_curve_to(cr, 40, 48, 40, 40, 44, 26);
  fill_outlined(cr, hex(0x4fb0ff));
}

static void mirror_symbol(cairo_t *cr)
{
  mirror_brick(cr, 10, 20, hex(0xff8a5c));
  mirror_brick(cr, 40, 20, hex(0xff8a5c));
  mirror_brick(cr, 14, 34, hex(0x5fe06a));
  mirror_brick(cr, 36, 34, hex(0x5fe06a));
  cairo_move_to(cr, 32, 12);
  cairo_line_to(cr, 32, 52);
  static const double dash[2] = {4, 3};
  cairo_set_dash(cr, dash, 2, 0);
  stroke_round(cr, WHITE, 3);
  cairo_set_dash(cr, nullptr, 0, 0);
}

// Four small levels in a strip.
static void levels_symbol(cairo_t *cr)
{
  for (int k = 0; k < 4; k++) {
    double x = 10 + (k % 2) * 23, y = 13 + (k / 2) * 20;
    cairo_rectangle(cr, x, y, 20, 16);
    fill_outlined(cr, k == 0 ? hex(0xffd23f) : WHITE, 2);
  }
}

// A level page with a mark drawn on it.
static void level_page(cairo_t *cr, double x, double y)
{
  cairo_rectangle(cr, x, y, 26, 32);
  fill_outlined(cr, WHITE);
  for (int k = 0; k < 3; k++)
    cairo_rectangle(cr, x + 4, y + 5 + k * 7, 18, 4);
  set_colour(cr, hex(0x8aa0c0));
  cairo_fill(cr);
}

static void levelinsert_symbol(cairo_t *cr)
{
  level_page(cr, 26, 16);
  cairo_move_to(cr, 8, 32);
  cairo_line_to(cr, 22, 32);
  cairo_move_to(cr, 15, 25);
  cairo_line_to(cr, 15, 39);
  stroke_round(cr, hex(0x5fe06a), 5);
}

static void levelcopy_symbol(cairo_t *cr)
{
  level_page(cr, 12, 10);
  level_page(cr, 26, 22);
}

// A level page with an arrow up (earlier) or down (later) beside it.
static void level_arrow(cairo_t *cr, double dir)
{
  level_page(cr, 10, 16);
  cairo_move_to(cr, 48, 32 - 14 * dir);
  cairo_line_to(cr, 48, 32 + 14 * dir);
  stroke_round(cr, WHITE, 5);
  cairo_move_to(cr, 40, 32 - 6 * dir);
  cairo_line_to(cr, 48, 32 - 14 * dir);
  cairo_line_to(cr, 56, 32 - 6 * dir);
  stroke_round(cr, WHITE, 5);
}

static void levelearlier_symbol(cairo_t *cr) { level_arrow(cr, 1); }
static void levellater_symbol(cairo_t *cr) { level_arrow(cr, -1); }

// ---- the family ------------------------------------------------------------------

static const Icon icons[] = {
  {ICON_PLAY, 0x2fb34a, play_symbol},
  {ICON_LOAD, 0x2f78d8, load_symbol},
  {ICON_EDIT, 0xe88322, edit_symbol},
  {ICON_HISCORES, 0x2c3f9c, hiscores_symbol},
  {ICON_ABOUT, 0x8a4fd0, about_symbol},
  {ICON_EXIT, 0xd23a3a, exit_symbol},
  {ICON_GRID, 0x1f9ea3, grid_symbol},
  {ICON_GRIDOFF, 0x5d6470, gridoff_symbol},
  {ICON_POWERUP, 0xb83fae, powerup_symbol},
  {ICON_POWERUPSOFF, 0x5d6470, powerupsoff_symbol},
  {ICON_VISIBLESQUARE, 0x1f9ea3, visiblesquare_symbol},
  {ICON_NOTVISIBLE, 0x5d6470, notvisible_symbol},
  {ICON_BRICKS, 0x3a4a66, bricks_symbol},
  {ICON_TEST, 0x2fb34a, test_symbol},
  {ICON_ON, 0x2f9e43, on_symbol},
  {ICON_OFF, 0x8e3434, off_symbol},
  {ICON_MINUS, 0x3c6fb4, minus_symbol},
  {ICON_PLUS, 0x3c6fb4, plus_symbol},
  {ICON_SAVE, 0x2f78d8, save_symbol},
  {ICON_DELETE, 0xc93434, delete_symbol},
  {ICON_CREATE, 0xd19a1c, create_symbol},
  {ICON_BACK, 0x56657d, back_symbol},
  {ICON_OK, 0x2fb34a, ok_symbol},
  {ICON_CANCEL, 0xd23a3a, cancel_symbol},
  {ICON_DIFFICULTY, 0x6c4bb8, difficulty_symbol},
  {ICON_LEVEL, 0x2690b8, level_symbol},
  {ICON_BRUSH, 0x3a6fb8, brush_symbol},
  {ICON_LINE, 0x3a6fb8, line_symbol},
  {ICON_RECT, 0x3a6fb8, rectangle_symbol},
  {ICON_BOX, 0x3a6fb8, box_symbol},
  {ICON_FILL, 0x3a6fb8, fill_symbol},
  {ICON_MIRROR, 0x1f9ea3, mirror_symbol},
  {ICON_LEVELS, 0x2690b8, levels_symbol},
  {ICON_LEVEL_INSERT, 0x2690b8, levelinsert_symbol},
  {ICON_LEVEL_COPY, 0x2690b8, levelcopy_symbol},
  {ICON_LEVEL_EARLIER, 0x2690b8, levelearlier_symbol},
  {ICON_LEVEL_LATER, 0x2690b8, levellater_symbol},
};

// "graphics/buttons/visible.png" fills both icon slot 28 and the Invisible-brick
// overlay; it is drawn with the overlays (sprites.cpp).
void make_icons(std::vector<Output> &out)
{
  for (const Icon &icon : icons) {
    Canvas c(ICON_SIZE, ICON_SIZE);
    plate(c.cr, hex(icon.plate));
    with_shadow(c.cr, icon.symbol);
    out.push_back({std::string("graphics/buttons/") + icon_name(icon.slot) + ".png", SPRITE_PNG, canvas_sprite(c)});
  }
}
