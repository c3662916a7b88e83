// Transparent-mode sprites: the mouse pointer, the ball and its glow, and the
// editor's overlays for Invisible, 2 Hit and 3 Hit bricks (an eye, a 2, a 3).
#include "images.h"

#include "gui_icons.h"

#include <cmath>

// ---- constants -------------------------------------------------------------

static const int SPRITE = 64;                      // pointer, ball, glow side
static const int OVERLAY_W = 64, OVERLAY_H = 32;   // overlays lie over a 2:1 cell
static const Colour INK = {0.04, 0.05, 0.10};      // outline colour
static const double RIM_SHADE = 0.05;              // the ball's dark rim, before tinting

// ---- the sprites ---------------------------------------------------------------

// An arrow with its tip at the top-left corner, where the game places the pointer.
static Picture pointer()
{
  Canvas c(SPRITE, SPRITE);
  cairo_t *cr = c.cr;
  cairo_move_to(cr, 3, 3);
  cairo_line_to(cr, 3, 52);
  cairo_line_to(cr, 15, 41);
  cairo_line_to(cr, 24, 60);
  cairo_line_to(cr, 33, 56);
  cairo_line_to(cr, 24, 37);
  cairo_line_to(cr, 40, 37);
  cairo_close_path(cr);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  set_colour(cr, INK);
  cairo_set_line_width(cr, 5);
  cairo_stroke_preserve(cr);
  cairo_pattern_t *g = cairo_pattern_create_linear(3, 3, 30, 55);
  cairo_pattern_add_color_stop_rgb(g, 0, 1, 1, 1);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.72, 0.86, 1.0);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  return canvas_sprite(c);
}

// A light, shiny sphere inside a dark rim: the game tints it by the ball's
// state. The body is never darker than two thirds, so it stands out on the dark
// backgrounds; the rim stands out on the light ones and the bright brick rows.
static Picture ball()
{
  Canvas c(SPRITE, SPRITE);
  const double r = SPRITE / 2.0 - 1;
  const double rim_inner = 0.74, rim_soft = 0.06;  // rim from this radius out, its blend width
  canvas_shade(c, [&](double x, double y) {
    double u = (x - SPRITE / 2.0) / r, v = (y - SPRITE / 2.0) / r;
    double d = u * u + v * v;
    if (d >= 1) return grey(0);
    double nz = std::sqrt(1 - d);
    double diffuse = std::max(0.0, -0.45 * u - 0.55 * v + 0.70 * nz);
    double h = std::max(0.0, -0.25 * u - 0.32 * v + 0.91 * nz);
    double shine = std::pow(h, 40);
    double body = clamp01(0.66 + 0.34 * diffuse + 0.9 * shine);
    double rim = smoothstep(rim_inner - rim_soft, rim_inner, std::sqrt(d));
    return grey(body + (RIM_SHADE - body) * rim);
  });
  // Pixels outside the disc stay transparent; the shade sets them opaque black.
  Picture p = canvas_picture(c);
  for (int y = 0; y < SPRITE; y++)
    for (int x = 0; x < SPRITE; x++) {
      double u = (x + 0.5 - SPRITE / 2.0) / r, v = (y + 0.5 - SPRITE / 2.0) / r;
      uint8_t *px = &p.rgb[((size_t)y * SPRITE + x) * 3];
      if (u * u + v * v >= 1) px[0] = px[1] = px[2] = 0;
      else for (int k = 0; k < 3; k++) px[k] = std::max<uint8_t>(px[k], 1);
    }
  return p;
}

// A soft grey halo, added to the screen in the glow colour.
static Picture glow()
{
  Canvas c(SPRITE, SPRITE);
  const double r = SPRITE / 2.0;
  cairo_pattern_t *g = cairo_pattern_create_radial(r, r, 0, r, r, r);
  cairo_pattern_add_color_stop_rgb(g, 0.0, 1, 1, 1);
  cairo_pattern_add_color_stop_rgb(g, 0.25, 0.8, 0.8, 0.8);
  cairo_pattern_add_color_stop_rgb(g, 0.6, 0.25, 0.25, 0.25);
  cairo_pattern_add_color_stop_rgb(g, 1.0, 0, 0, 0);
  cairo_set_source(c.cr, g);
  cairo_arc(c.cr, r, r, r - 0.5, 0, 2 * M_PI);
  cairo_fill(c.cr);
  cairo_pattern_destroy(g);
  return canvas_sprite(c);
}

// An open eye, the overlay of Invisible bricks.
static Picture eye_overlay()
{
  Canvas c(OVERLAY_W, OVERLAY_H);
  cairo_t *cr = c.cr;
  const double cx = OVERLAY_W / 2.0, cy = OVERLAY_H / 2.0;
  cairo_move_to(cr, cx - 22, cy);
  cairo_curve_to(cr, cx - 10, cy - 15, cx + 10, cy - 15, cx + 22, cy);
  cairo_curve_to(cr, cx + 10, cy + 15, cx - 10, cy + 15, cx - 22, cy);
  cairo_close_path(cr);
  set_colour(cr, INK);
  cairo_set_line_width(cr, 4);
  cairo_stroke_preserve(cr);
  set_colour(cr, grey(0.97));
  cairo_fill(cr);
  cairo_arc(cr, cx, cy, 7.5, 0, 2 * M_PI);
  set_colour(cr, hex(0x3a8ee8));
  cairo_fill(cr);
  cairo_arc(cr, cx, cy, 3.5, 0, 2 * M_PI);
  set_colour(cr, INK);
  cairo_fill(cr);
  cairo_arc(cr, cx - 2.5, cy - 2.5, 1.6, 0, 2 * M_PI);
  set_colour(cr, grey(1));
  cairo_fill(cr);
  return canvas_sprite(c);
}

// A bold outlined digit, the overlay of multi-hit bricks.
static Picture digit_overlay(const char *digit, Colour fill)
{
  Canvas c(OVERLAY_W, OVERLAY_H);
  cairo_t *cr = c.cr;
  set_font(cr, FONT_WIDE, 30, true);
  centred_text_path(cr, digit, OVERLAY_W / 2.0, 27);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  set_colour(cr, INK);
  cairo_set_line_width(cr, 5);
  cairo_stroke_preserve(cr);
  set_colour(cr, fill);
  cairo_fill(cr);
  return canvas_sprite(c);
}

void make_sprites(std::vector<Output> &out)
{
  out.push_back({"graphics/pointer.png", SPRITE_PNG, pointer()});
  out.push_back({"graphics/ball.png", SPRITE_PNG, ball()});
  out.push_back({"graphics/glow.png", SPRITE_PNG, glow()});
  out.push_back({std::string("graphics/buttons/") + icon_name(ICON_VISIBLE) + ".png", SPRITE_PNG, eye_overlay()});
  out.push_back({"graphics/buttons/visible2.png", SPRITE_PNG, digit_overlay("2", hex(0xffe066))});
  out.push_back({"graphics/buttons/visible3.png", SPRITE_PNG, digit_overlay("3", hex(0xff9a4d))});
}
