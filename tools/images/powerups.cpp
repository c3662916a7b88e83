// Power-up icons: 128 x 128 RGB tiles for the 17 kinds, framed green when they
// help the player and red when they hurt, each with a picture of its effect.
#include "images.h"

#include <cmath>

// ---- constants -------------------------------------------------------------

static const int S = POWERUP_SIZE;
static const Colour INK = {0.04, 0.05, 0.10};
static const Colour HELPFUL_FRAME = {0.18, 0.78, 0.32};
static const Colour HARMFUL_FRAME = {0.90, 0.16, 0.14};
static const Colour BONE = {0.96, 0.94, 0.86};

// ---- helpers -------------------------------------------------------------------

// The framed tile every icon stands on.
static void tile(cairo_t *cr, Colour frame)
{
  set_colour(cr, grey(0.03));
  cairo_paint(cr);
  rounded_rect(cr, 1.5, 1.5, S - 3, S - 3, 20);
  cairo_pattern_t *g = cairo_pattern_create_linear(0, 0, S, S);
  Colour light = mix(frame, grey(1), 0.45), dark = scale(frame, 0.45);
  cairo_pattern_add_color_stop_rgb(g, 0, light.r, light.g, light.b);
  cairo_pattern_add_color_stop_rgb(g, 0.5, frame.r, frame.g, frame.b);
  cairo_pattern_add_color_stop_rgb(g, 1, dark.r, dark.g, dark.b);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  rounded_rect(cr, 4.5, 4.5, S - 9, S - 9, 17);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.35);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  rounded_rect(cr, 13, 13, S - 26, S - 26, 12);
  cairo_pattern_t *p = cairo_pattern_create_radial(S / 2.0, S * 0.4, 4, S / 2.0, S / 2.0, S * 0.6);
  cairo_pattern_add_color_stop_rgb(p, 0, 0.16, 0.20, 0.34);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.03, 0.04, 0.10);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  set_colour(cr, INK);
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
}

static void outlined(cairo_t *cr, Colour c, double width = 3)
{
  set_colour(cr, c);
  cairo_fill_preserve(cr);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_width(cr, width);
  set_colour(cr, INK);
  cairo_stroke(cr);
}

static void stroke_round(cairo_t *cr, Colour c, double width)
{
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_width(cr, width);
  set_colour(cr, c);
  cairo_stroke(cr);
}

// A shaded ball of colour c, outlined.
static void shiny_ball(cairo_t *cr, double x, double y, double r, Colour c)
{
  cairo_arc(cr, x, y, r, 0, 2 * M_PI);
  cairo_pattern_t *g = cairo_pattern_create_radial(x - r * 0.35, y - r * 0.4, r * 0.05, x, y, r);
  Colour hi = mix(c, grey(1), 0.85), lo = scale(c, 0.35);
  cairo_pattern_add_color_stop_rgb(g, 0, hi.r, hi.g, hi.b);
  cairo_pattern_add_color_stop_rgb(g, 0.45, c.r, c.g, c.b);
  cairo_pattern_add_color_stop_rgb(g, 1, lo.r, lo.g, lo.b);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  set_colour(cr, INK);
  cairo_set_line_width(cr, std::max(2.0, r * 0.1));
  cairo_stroke(cr);
}

// An arrow from (x1, y1) to (x2, y2) with a filled head.
static void arrow(cairo_t *cr, double x1, double y1, double x2, double y2, Colour c, double w)
{
  double a = std::atan2(y2 - y1, x2 - x1), head = w * 2.2;
  double bx = x2 - head * std::cos(a), by = y2 - head * std::sin(a);
  for (int pass = 0; pass < 2; pass++) {
    Colour col = pass ? c : INK;
    double extra = pass ? 0 : 3;
    cairo_move_to(cr, x1, y1);
    cairo_line_to(cr, bx, by);
    stroke_round(cr, col, w + extra);
    cairo_move_to(cr, x2 + extra * std::cos(a), y2 + extra * std::sin(a));
    cairo_line_to(cr, bx + (head + extra) * std::cos(a + M_PI / 2) * 0.7,
                  by + (head + extra) * std::sin(a + M_PI / 2) * 0.7);
    cairo_line_to(cr, bx + (head + extra) * std::cos(a - M_PI / 2) * 0.7,
                  by + (head + extra) * std::sin(a - M_PI / 2) * 0.7);
    cairo_close_path(cr);
    set_colour(cr, col);
    cairo_fill(cr);
  }
}

// A paddle bar of the game's look: chrome with red end caps.
static void paddle(cairo_t *cr, double x, double y, double w, double h)
{
  rounded_rect(cr, x, y, w, h, h / 2);
  cairo_pattern_t *g = cairo_pattern_create_linear(0, y, 0, y + h);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.95, 0.97, 1.0);
  cairo_pattern_add_color_stop_rgb(g, 0.5, 0.62, 0.70, 0.80);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.35, 0.40, 0.50);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  set_colour(cr, INK);
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
  for (double cx : {x + h * 0.9, x + w - h * 0.9}) {
    cairo_arc(cr, cx, y + h / 2, h * 0.28, 0, 2 * M_PI);
    set_colour(cr, hex(0xff5a3a));
    cairo_fill(cr);
  }
}

// A bevelled brick of colour c.
static void brick(cairo_t *cr, double x, double y, double w, double h, Colour c)
{
  cairo_rectangle(cr, x, y, w, h);
  outlined(cr, c, 2.5);
  cairo_move_to(cr, x + 3, y + h - 3);
  cairo_line_to(cr, x + 3, y + 3);
  cairo_line_to(cr, x + w - 3, y + 3);
  stroke_round(cr, mix(c, grey(1), 0.55), 2);
  cairo_move_to(cr, x + w - 3, y + 4);
  cairo_line_to(cr, x + w - 3, y + h - 3);
  cairo_line_to(cr, x + 4, y + h - 3);
  stroke_round(cr, scale(c, 0.6), 2);
}

// A star burst of n points between radii r1 and r2.
static void burst(cairo_t *cr, double x, double y, int n, double r1, double r2, Colour c)
{
  cairo_new_sub_path(cr);
  for (int k = 0; k < 2 * n; k++) {
    double a = k * M_PI / n - M_PI / 2, r = (k & 1) ? r1 : r2;
    cairo_line_to(cr, x + r * std::cos(a), y + r * std::sin(a));
  }
  cairo_close_path(cr);
  outlined(cr, c, r2 > 15 ? 2.5 : 1.5);
}

// ---- the pictures ----------------------------------------------------------------

static void detonate_picture(cairo_t *cr)
{
  cairo_move_to(cr, 76, 40);
  cairo_curve_to(cr, 84, 26, 92, 30, 96, 24);
  stroke_round(cr, hex(0xc9a46a), 4);
  cairo_save(cr);
  cairo_translate(cr, 74, 44);
  cairo_rotate(cr, M_PI / 4);
  cairo_rectangle(cr, -8, -6, 16, 12);
  outlined(cr, grey(0.45), 2.5);
  cairo_restore(cr);
  shiny_ball(cr, 58, 72, 29, grey(0.32));
  burst(cr, 96, 26, 9, 8, 19, hex(0xffb02e));
  burst(cr, 96, 26, 7, 4, 10, hex(0xfff6c0));
}

// Four arrows along the diagonals: pointing out when grow is set, else in.
static void diagonal_arrows(cairo_t *cr, double inner, double outer, bool grow)
{
  for (int k = 0; k < 4; k++) {
    double a = M_PI / 4 + k * M_PI / 2;
    double ax = 64 + inner * std::cos(a), ay = 64 + inner * std::sin(a);
    double bx = 64 + outer * std::cos(a), by = 64 + outer * std::sin(a);
    if (grow) arrow(cr, ax, ay, bx, by, hex(0xffe14d), 5);
    else arrow(cr, bx, by, ax, ay, hex(0xff8a3d), 5);
  }
}

static void bigball_picture(cairo_t *cr)
{
  shiny_ball(cr, 64, 64, 31, hex(0xd8e6ff));
  diagonal_arrows(cr, 38, 52, true);
}

static void smallball_picture(cairo_t *cr)
{
  shiny_ball(cr, 64, 64, 10, hex(0xd8e6ff));
  diagonal_arrows(cr, 20, 50, false);
}

static void fastball_picture(cairo_t *cr)
{
  const double lines[][3] = {{48, 22, 58}, {64, 18, 60}, {80, 26, 58}};
  for (const auto &l : lines) {
    cairo_move_to(cr, l[1], l[0]);
    cairo_line_to(cr, l[2], l[0]);
    stroke_round(cr, hex(0xff9a3d), 6);
  }
  shiny_ball(cr, 80, 64, 20, hex(0xd8e6ff));
}

static void slowball_picture(cairo_t *cr)
{
  cairo_move_to(cr, 24, 92);
  cairo_curve_to(cr, 22, 70, 34, 64, 40, 74);
  cairo_line_to(cr, 104, 80);
  cairo_curve_to(cr, 108, 86, 106, 92, 100, 92);
  cairo_close_path(cr);
  outlined(cr, hex(0xb8e08a));
  cairo_move_to(cr, 30, 70);
  cairo_line_to(cr, 24, 50);
  cairo_move_to(cr, 36, 70);
  cairo_line_to(cr, 38, 50);
  stroke_round(cr, INK, 3);
  cairo_arc(cr, 24, 49, 3.5, 0, 2 * M_PI);
  cairo_arc(cr, 38, 49, 3.5, 0, 2 * M_PI);
  set_colour(cr, INK);
  cairo_fill(cr);
  shiny_ball(cr, 72, 56, 26, hex(0xe89a4a));
  cairo_move_to(cr, 72, 56);
  for (int k = 1; k <= 40; k++) {
    double a = k * 0.3, r = k * 0.5;
    cairo_line_to(cr, 72 + r * std::cos(a), 56 + r * std::sin(a));
  }
  stroke_round(cr, hex(0x6b3410), 3);
}

static void nextboard_picture(cairo_t *cr)
{
  for (double x : {26.0, 54.0}) {
    cairo_move_to(cr, x, 38);
    cairo_line_to(cr, x + 28, 64);
    cairo_line_to(cr, x, 90);
    cairo_close_path(cr);
    outlined(cr, hex(0x6fe3ff));
  }
  cairo_rectangle(cr, 86, 38, 10, 52);
  outlined(cr, hex(0x6fe3ff));
}

static void death_picture(cairo_t *cr)
{
  cairo_arc(cr, 64, 56, 30, 0, 2 * M_PI);
  outlined(cr, BONE);
  rounded_rect(cr, 44, 66, 40, 26, 6);
  outlined(cr, BONE);
  cairo_arc(cr, 64, 56, 28.5, 0.3, M_PI - 0.3);
  set_colour(cr, BONE);
  cairo_fill(cr);
  for (double x : {51.0, 77.0}) {
    cairo_save(cr);
    cairo_translate(cr, x, 58);
    cairo_scale(cr, 9, 10);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    set_colour(cr, INK);
    cairo_fill(cr);
  }
  cairo_move_to(cr, 64, 66);
  cairo_line_to(cr, 59, 75);
  cairo_line_to(cr, 69, 75);
  cairo_close_path(cr);
  cairo_fill(cr);
  for (double x : {54.0, 64.0, 74.0}) {
    cairo_move_to(cr, x, 80);
    cairo_line_to(cr, x, 92);
  }
  stroke_round(cr, INK, 2.5);
}

static void ballsplosion_picture(cairo_t *cr)
{
  burst(cr, 64, 64, 10, 12, 26, hex(0xffb23f));
  burst(cr, 64, 64, 8, 6, 13, hex(0xfff0a0));
  for (int k = 0; k < 5; k++) {
    double a = -M_PI / 2 + k * 2 * M_PI / 5;
    double x = 64 + 38 * std::cos(a), y = 66 + 36 * std::sin(a);
    cairo_move_to(cr, 64 + 24 * std::cos(a), 66 + 22 * std::sin(a));
    cairo_line_to(cr, 64 + 30 * std::cos(a), 66 + 28 * std::sin(a));
    stroke_round(cr, hex(0xffe14d), 3);
    shiny_ball(cr, x, y, 10, hex(0xb8ffb0));
  }
}

static void bigpaddle_picture(cairo_t *cr)
{
  paddle(cr, 18, 70, 92, 18);
  arrow(cr, 56, 48, 22, 48, hex(0xffe14d), 6);
  arrow(cr, 72, 48, 106, 48, hex(0xffe14d), 6);
}

static void smallpaddle_picture(cairo_t *cr)
{
  paddle(cr, 48, 70, 32, 18);
  arrow(cr, 18, 48, 52, 48, hex(0xff8a3d), 6);
  arrow(cr, 110, 48, 76, 48, hex(0xff8a3d), 6);
}

static void extralife_picture(cairo_t *cr)
{
  cairo_move_to(cr, 64, 102);
  cairo_curve_to(cr, 20, 74, 18, 44, 34, 34);
  cairo_curve_to(cr, 48, 26, 60, 34, 64, 44);
  cairo_curve_to(cr, 68, 34, 80, 26, 94, 34);
  cairo_curve_to(cr, 110, 44, 108, 74, 64, 102);
  cairo_close_path(cr);
  outlined(cr, hex(0xf0304a));
  cairo_save(cr);
  cairo_translate(cr, 44, 44);
  cairo_scale(cr, 9, 5);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.45);
  cairo_fill(cr);
  set_font(cr, FONT_WIDE, 24, true);
  centred_text_path(cr, "1UP", 64, 76);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  set_colour(cr, INK);
  cairo_set_line_width(cr, 4);
  cairo_stroke_preserve(cr);
  set_colour(cr, grey(1));
  cairo_fill(cr);
}

static void sticky_picture(cairo_t *cr)
{
  Colour glue = hex(0x7cf05a);
  paddle(cr, 20, 72, 88, 18);
  cairo_move_to(cr, 46, 74);
  cairo_curve_to(cr, 50, 62, 78, 62, 82, 74);
  cairo_close_path(cr);
  outlined(cr, glue, 2);
  for (double x : {36.0, 64.0, 90.0}) {
    double len = x == 64.0 ? 22 : 14;
    cairo_move_to(cr, x, 88);
    cairo_line_to(cr, x, 88 + len);
    stroke_round(cr, INK, 9);
    cairo_move_to(cr, x, 88);
    cairo_line_to(cr, x, 88 + len);
    stroke_round(cr, glue, 6);
  }
  shiny_ball(cr, 64, 52, 14, hex(0xd8e6ff));
}

static void heavy_picture(cairo_t *cr)
{
  Colour red = hex(0xe85a4a);
  brick(cr, 16, 54, 32, 22, red);
  brick(cr, 80, 54, 32, 22, red);
  const double shards[][4] = {{48, 56, 56, 64}, {72, 54, 80, 62}, {50, 80, 58, 74}, {70, 82, 78, 76}};
  for (const auto &s : shards) {
    cairo_move_to(cr, s[0], s[1]);
    cairo_line_to(cr, s[2], s[1] + 3);
    cairo_line_to(cr, s[2] - 2, s[3]);
    cairo_close_path(cr);
    outlined(cr, red, 1.5);
  }
  for (double x : {56.0, 64.0, 72.0}) {
    cairo_move_to(cr, x, 22);
    cairo_line_to(cr, x, 70);
    stroke_round(cr, hex(0x9fb8d8), 3);
  }
  shiny_ball(cr, 64, 88, 19, grey(0.42));
}

static void nuclear_picture(cairo_t *cr)
{
  cairo_arc(cr, 64, 64, 40, 0, 2 * M_PI);
  outlined(cr, hex(0xffd62a));
  for (int k = 0; k < 3; k++) {
    double a = -M_PI / 2 + k * 2 * M_PI / 3;
    cairo_new_sub_path(cr);
    cairo_arc(cr, 64, 64, 34, a - M_PI / 6, a + M_PI / 6);
    cairo_arc_negative(cr, 64, 64, 10, a + M_PI / 6, a - M_PI / 6);
    cairo_close_path(cr);
  }
  cairo_new_sub_path(cr);
  cairo_arc(cr, 64, 64, 6, 0, 2 * M_PI);
  set_colour(cr, INK);
  cairo_fill(cr);
}

static void showinvisible_picture(cairo_t *cr)
{
  double dash[] = {6, 4};
  cairo_set_dash(cr, dash, 2, 0);
  cairo_rectangle(cr, 20, 36, 88, 56);
  stroke_round(cr, hex(0x9fb8d8), 3);
  cairo_set_dash(cr, nullptr, 0, 0);
  cairo_move_to(cr, 16, 64);
  cairo_curve_to(cr, 38, 34, 90, 34, 112, 64);
  cairo_curve_to(cr, 90, 94, 38, 94, 16, 64);
  cairo_close_path(cr);
  outlined(cr, grey(0.97));
  cairo_arc(cr, 64, 64, 16, 0, 2 * M_PI);
  set_colour(cr, hex(0x3a8ee8));
  cairo_fill(cr);
  cairo_arc(cr, 64, 64, 7, 0, 2 * M_PI);
  set_colour(cr, INK);
  cairo_fill(cr);
  cairo_arc(cr, 58, 58, 3.5, 0, 2 * M_PI);
  set_colour(cr, grey(1));
  cairo_fill(cr);
}

static void brickwall_picture(cairo_t *cr)
{
  const Colour colours[] = {hex(0xe85a4a), hex(0xf0a040), hex(0xe85a4a)};
  for (int row = 0; row < 3; row++) {
    double y = 36 + row * 19, off = (row & 1) ? -16 : 0;
    for (int k = 0; k < 4; k++) {
      double x = 18 + off + k * 32, w = 30;
      double x0 = std::max(x, 18.0), x1 = std::min(x + w, 110.0);
      if (x1 - x0 > 8) brick(cr, x0, y, x1 - x0, 17, colours[row]);
    }
  }
}

static void earthquake_picture(cairo_t *cr)
{
  Colour earth = hex(0xb07a45), grass = hex(0x6cc04a);
  // Two halves of a slab of ground, split by a jagged crack and shifted.
  const double crack[][2] = {{62, 52}, {56, 62}, {66, 72}, {58, 82}, {68, 92}, {62, 104}};
  for (int side = 0; side < 2; side++) {
    double dy = side ? 6 : 0, edge = side ? 110 : 18;
    cairo_move_to(cr, edge, 52 + dy);
    for (const auto &p : crack) cairo_line_to(cr, p[0] + (side ? 3 : -3), p[1] + dy);
    cairo_line_to(cr, edge, 104 + dy);
    cairo_close_path(cr);
    outlined(cr, earth, 2.5);
    cairo_move_to(cr, edge, 52 + dy);
    cairo_line_to(cr, crack[0][0] + (side ? 3 : -3), 52 + dy);
    stroke_round(cr, grass, 6);
  }
  // Shaking marks on both sides above the ground.
  for (double r : {30.0, 40.0}) {
    cairo_arc(cr, 64, 36, r, -0.4, 0.4);
    stroke_round(cr, hex(0xffe14d), 3.5);
    cairo_arc(cr, 64, 36, r, M_PI - 0.4, M_PI + 0.4);
    stroke_round(cr, hex(0xffe14d), 3.5);
  }
}

// ---- the family ------------------------------------------------------------------

// The picture of each kind 1..17; the icon's name and frame colour come from
// the game's power-up table.
static void (*const pictures[])(cairo_t *cr) = {
  nullptr, detonate_picture, bigball_picture, smallball_picture, fastball_picture,
  slowball_picture, nextboard_picture, death_picture, ballsplosion_picture, bigpaddle_picture,
  smallpaddle_picture, extralife_picture, sticky_picture, heavy_picture, nuclear_picture,
  showinvisible_picture, brickwall_picture, earthquake_picture,
};
static_assert(sizeof pictures / sizeof pictures[0] == POWERUP_KINDS + 1, "a picture for every power-up kind");

void make_powerups(std::vector<Output> &out)
{
  for (int kind = 1; kind <= POWERUP_KINDS; kind++) {
    const powerup_info &p = powerup_table[kind];
    Canvas c(S, S);
    tile(c.cr, p.harmful ? HARMFUL_FRAME : HELPFUL_FRAME);
    pictures[kind](c.cr);
    out.push_back({std::string("graphics/powerups/") + p.icon + ".png", OPAQUE_PNG, canvas_picture(c)});
  }
}
