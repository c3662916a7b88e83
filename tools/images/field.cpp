// Play-field images: the paddle, the scrolling fire of exploding bricks, the
// tileable side-bar walls and the editor's empty-cell and panel texture.
#include "images.h"

#include <algorithm>
#include <cmath>

// ---- constants -------------------------------------------------------------

static const int PADDLE_W = 256, PADDLE_H = 64;   // shown 5:1, stretched to the paddle
static const int FIRE_SIZE = 128;                  // a brick shows half its height
static const int WALL_W = 128, WALL_H = 256;       // repeats 1.5 x 4.5 on each bar
static const int CELL_W = 128, CELL_H = 64;        // the editor's empty grid cell

// ---- paddle --------------------------------------------------------------------

// How far (0 = centre line, 1 = rim) a point lies inside the paddle's capsule,
// or above 1 outside it.
static double capsule(double x, double y)
{
  const double r = PADDLE_H / 2.0 - 2;
  double cx = std::clamp(x, r + 2, PADDLE_W - r - 2);
  return std::hypot((x - cx) * 0.8, y - PADDLE_H / 2.0) / r;
}

static Colour paddle_colour(double x, double y)
{
  if (capsule(x, y) > 1) return grey(0.05);
  bool cap = x < 46 || x > PADDLE_W - 46;
  if (cap) {
    double glow = 0.5 + 0.5 * std::cos((y - PADDLE_H / 2.0) / 7.0);
    return mix({0.85, 0.22, 0.10}, {1.0, 0.75, 0.35}, 0.6 * glow);
  }
  double stripe = 1 - smoothstep(1.5, 3.0, std::fabs(y - PADDLE_H / 2.0));
  Colour steel = {0.60, 0.66, 0.76};
  return mix(steel, {0.55, 0.95, 1.0}, stripe);
}

static double paddle_height(double x, double y)
{
  double k = capsule(x, y);
  if (k > 1) return 0;
  double h = 12 * std::sqrt(1 - k * k);
  for (double g : {46.0, PADDLE_W - 46.0}) h -= 3 * (1 - smoothstep(0.5, 2.5, std::fabs(x - g)));
  return h;
}

// ---- fire ------------------------------------------------------------------------

// Flame intensity 0..1 at a point, periodic over the tile.
static double flame(double x, double y)
{
  double warp = fractal_noise(x * 3 / FIRE_SIZE, y * 3 / FIRE_SIZE, 3, 3, 3, 301) - 0.5;
  double n = fractal_noise((x + 30 * warp) * 3 / FIRE_SIZE, y * 2 / FIRE_SIZE, 3, 2, 4, 302);
  double tongues = 0.6 + 0.4 * std::sin(2 * M_PI * (x * 2 / FIRE_SIZE + warp));
  return clamp01((n * tongues - 0.14) * 2.0);
}

static Colour fire_colour(double x, double y)
{
  // Light and warm rather than deep orange: each brick's colour tints it.
  static const Colour ramp[] = {{0.50, 0.24, 0.14}, {0.88, 0.52, 0.28}, {1.0, 0.76, 0.46},
                                {1.0, 0.92, 0.72}, {1.0, 1.0, 0.95}};
  double t = flame(x, y) * 4;
  int k = std::min(3, (int)t);
  return mix(ramp[k], ramp[k + 1], t - k);
}

// ---- walls -----------------------------------------------------------------------

// Height of the wall plates: two bevelled plates per tile, rivets, vent slots.
// Coordinates may run past the tile; the plates repeat.
static double wall_height(double x, double y)
{
  double lx = std::fmod(x, (double)WALL_W), ly = std::fmod(y, 128.0);
  double d = std::min({lx, WALL_W - lx, ly, 128 - ly});
  double h = std::min(d, 4.0);
  for (double rx : {14.0, WALL_W - 14.0})
    for (double ry : {14.0, 114.0}) {
      double r = std::hypot(lx - rx, ly - ry) / 5;
      if (r < 1) h += 3 * std::sqrt(1 - r * r);
    }
  for (int s = 0; s < 3; s++) {
    double sy = 48 + s * 16;
    if (lx > 30 && lx < WALL_W - 30 && std::fabs(ly - sy) < 3.5) h -= 2.5;
  }
  return h;
}

static Colour wall_colour(double x, double y)
{
  double lx = std::fmod(x, (double)WALL_W), ly = std::fmod(y, 128.0);
  for (int s = 0; s < 3; s++)
    if (lx > 31 && lx < WALL_W - 31 && std::fabs(ly - (48 + s * 16)) < 2.5)
      return {0.10, 0.16, 0.24};
  double streak = value_noise(x * 43 / WALL_W, y * 7 / WALL_H, 43, 7, 311) - 0.5;
  double tone = fractal_noise(x * 2 / WALL_W, y * 4 / WALL_H, 2, 4, 3, 312) - 0.5;
  double v = 0.46 + 0.08 * streak + 0.10 * tone;
  return {v * 0.88, v * 0.95, v * 1.08};
}

// ---- editor cell -----------------------------------------------------------------

// A recessed slot: dark floor, lit lower-right rim, fine inner line.
static double cell_height(double x, double y)
{
  double d = std::min({x, CELL_W - x, y, CELL_H - y});
  return -std::min(d, 5.0);
}

static Colour cell_colour(double x, double y)
{
  double d = std::min({x, CELL_W - x, y, CELL_H - y});
  if (d < 5) return {0.50, 0.55, 0.64};
  if (d > 7 && d < 8.5) return {0.30, 0.34, 0.44};
  double v = 0.16 + 0.05 * (1 - y / CELL_H);
  return {v, v * 1.08, v * 1.3};
}

// ---- the family ------------------------------------------------------------------

void make_field_images(std::vector<Output> &out)
{
  Canvas paddle(PADDLE_W, PADDLE_H);
  canvas_relief(paddle, paddle_colour, paddle_height, 0.55, 3);
  out.push_back({"paddles/p1.png", OPAQUE_PNG, canvas_picture(paddle)});

  Canvas fire(FIRE_SIZE, FIRE_SIZE);
  canvas_shade(fire, fire_colour);
  out.push_back({"graphics/fire.png", OPAQUE_PNG, canvas_picture(fire)});

  Canvas walls(WALL_W, WALL_H);
  // Shifted so that the plates' edges lie inside the tile, not on its border.
  canvas_relief(walls, [](double x, double y) { return wall_colour(x + WALL_W / 2, y + 40); },
                [](double x, double y) { return wall_height(x + WALL_W / 2, y + 40); }, 0.5, 2);
  out.push_back({"graphics/walls.png", OPAQUE_PNG, canvas_picture(walls)});

  Canvas cell(CELL_W, CELL_H);
  canvas_relief(cell, cell_colour, cell_height, 0.2, 2);
  out.push_back({"graphics/ed.png", OPAQUE_PNG, canvas_picture(cell)});
}
