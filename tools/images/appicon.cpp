// The program's icon: a rounded tile with three rows of bricks, a glowing
// ball and the paddle, drawn as vectors at each size so small icons stay
// sharp. Written with transparency for the desktop's icon theme and as the
// game window's own icon.
#include "images.h"

#include <cmath>

// Sizes of the hicolor icon theme the icon is made for.
static const int ICON_SIZES[] = {16, 22, 24, 32, 48, 64, 128, 256};
static const int WINDOW_ICON_SIZE = 64;  // graphics/icon.png in the game folder

// Draws the icon on a canvas of side s, in units where the tile spans 0..1.
static void draw_icon(Canvas &c)
{
  cairo_t *cr = c.cr;
  double s = c.w;
  cairo_save(cr);
  cairo_scale(cr, s, s);
  bool tiny = s < 32;

  // The tile: a deep blue to violet gradient with a light rim.
  double m = tiny ? 0.02 : 0.04;
  rounded_rect(cr, m, m, 1 - 2 * m, 1 - 2 * m, 0.18);
  cairo_pattern_t *bg = cairo_pattern_create_linear(0, 0, 0, 1);
  cairo_pattern_add_color_stop_rgb(bg, 0, 0.13, 0.16, 0.38);
  cairo_pattern_add_color_stop_rgb(bg, 1, 0.24, 0.07, 0.33);
  cairo_set_source(cr, bg);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(bg);
  set_colour(cr, hex(0x8fa8ff), 0.9);
  cairo_set_line_width(cr, tiny ? 1.0 / s : 0.02);
  cairo_stroke(cr);

  // The bricks: fewer and larger on small icons.
  static const uint32_t row_colours[] = {0xe8403a, 0xf2c230, 0x3ac8e8};
  int cols = tiny ? 3 : 4, rows = tiny ? 2 : 3;
  double left = 0.16, right = 0.84, top = 0.17, gap = tiny ? 0.05 : 0.03;
  double bw = (right - left - gap * (cols - 1)) / cols, bh = tiny ? 0.13 : 0.09;
  for (int r = 0; r < rows; r++)
    for (int k = 0; k < cols; k++) {
      double x = left + k * (bw + gap), y = top + r * (bh + gap);
      Colour col = hex(row_colours[r]);
      rounded_rect(cr, x, y, bw, bh, 0.015);
      cairo_pattern_t *p = cairo_pattern_create_linear(0, y, 0, y + bh);
      cairo_pattern_add_color_stop_rgb(p, 0, std::min(1.0, col.r * 1.25), std::min(1.0, col.g * 1.25),
                                       std::min(1.0, col.b * 1.25));
      cairo_pattern_add_color_stop_rgb(p, 1, col.r * 0.7, col.g * 0.7, col.b * 0.7);
      cairo_set_source(cr, p);
      cairo_fill(cr);
      cairo_pattern_destroy(p);
    }

  // The ball with its glow, rising from the paddle.
  double bx = 0.6, by = 0.6, br = tiny ? 0.09 : 0.065;
  cairo_pattern_t *glow = cairo_pattern_create_radial(bx, by, br * 0.5, bx, by, br * 2.6);
  cairo_pattern_add_color_stop_rgba(glow, 0, 0.6, 0.85, 1.0, 0.7);
  cairo_pattern_add_color_stop_rgba(glow, 1, 0.6, 0.85, 1.0, 0.0);
  cairo_set_source(cr, glow);
  cairo_arc(cr, bx, by, br * 2.6, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_pattern_destroy(glow);
  cairo_pattern_t *ball = cairo_pattern_create_radial(bx - br * 0.35, by - br * 0.35, br * 0.1, bx, by, br);
  cairo_pattern_add_color_stop_rgb(ball, 0, 1, 1, 1);
  cairo_pattern_add_color_stop_rgb(ball, 1, 0.62, 0.68, 0.78);
  cairo_set_source(cr, ball);
  cairo_arc(cr, bx, by, br, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_pattern_destroy(ball);

  // The paddle: silver with red ends.
  double px = 0.27, pw = 0.46, py = 0.76, ph = tiny ? 0.11 : 0.08;
  rounded_rect(cr, px, py, pw, ph, ph / 2);
  cairo_pattern_t *metal = cairo_pattern_create_linear(0, py, 0, py + ph);
  cairo_pattern_add_color_stop_rgb(metal, 0, 0.92, 0.94, 0.97);
  cairo_pattern_add_color_stop_rgb(metal, 1, 0.45, 0.5, 0.58);
  cairo_set_source(cr, metal);
  cairo_fill(cr);
  cairo_pattern_destroy(metal);
  for (double ex : {px, px + pw - ph}) {
    rounded_rect(cr, ex, py, ph, ph, ph / 2);
    set_colour(cr, hex(0xd0402a));
    cairo_fill(cr);
  }
  cairo_restore(cr);
}

Picture app_icon(int size)
{
  Canvas c(size, size);
  draw_icon(c);
  Picture pic;
  pic.w = pic.h = size;
  pic.rgb.assign((size_t)size * size * 3, 0);
  pic.alpha.assign((size_t)size * size, 0);
  for (int y = 0; y < size; y++)
    for (int x = 0; x < size; x++) {
      double a = 0;
      Colour col = canvas_get(c, x, y, &a);
      size_t i = (size_t)y * size + x;
      pic.rgb[i * 3] = (uint8_t)std::lround(clamp01(col.r) * 255);
      pic.rgb[i * 3 + 1] = (uint8_t)std::lround(clamp01(col.g) * 255);
      pic.rgb[i * 3 + 2] = (uint8_t)std::lround(clamp01(col.b) * 255);
      pic.alpha[i] = (uint8_t)std::lround(clamp01(a) * 255);
    }
  return pic;
}

bool write_app_icons(const std::string &game_dir, const std::string &icons_dir)
{
  bool ok = write_png(game_dir + "/graphics/icon.png", app_icon(WINDOW_ICON_SIZE));
  if (icons_dir.empty()) return ok;
  for (int size : ICON_SIZES) {
    std::string dim = std::to_string(size) + "x" + std::to_string(size);
    ok = write_png(icons_dir + "/hicolor/" + dim + "/apps/corvale.png", app_icon(size)) && ok;
  }
  return ok;
}
