// Brick textures: 24 bevelled 64 x 32 looks in light, mostly neutral tones, each a
// surface colour and a relief lit from the top left, written as bricks/b%d.raw.
#include "images.h"

#include <algorithm>
#include <cmath>

// ---- constants -------------------------------------------------------------

static const int SUPER = 4;          // samples per pixel along each axis
static const double CX = BRICK_TEX_W / 2.0, CY = BRICK_TEX_H / 2.0;

// A brick look: surface colour and relief height (pixels) at a point, the
// strength of its highlight and the width of its bevel.
struct BrickLook {
  const char *name;
  Colour (*albedo)(double x, double y);
  double (*height)(double x, double y);
  double gloss;
  double bevel;
};

// ---- shared shapes -----------------------------------------------------------

static double fract(double v)
{
  return v - std::floor(v);
}

// A dome of radius r and height h centred on (cx, cy), 0 outside.
static double dome(double x, double y, double cx, double cy, double r, double h)
{
  double d = std::hypot(x - cx, y - cy) / r;
  return d >= 1 ? 0 : h * std::sqrt(1 - d * d);
}

// Distance from (x, y) to the segment (ax, ay)–(bx, by).
static double segment_distance(double x, double y, double ax, double ay, double bx, double by)
{
  double dx = bx - ax, dy = by - ay;
  double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(x - ax - t * dx, y - ay - t * dy);
}

static Colour tint(double v, Colour t)
{
  return {v * t.r, v * t.g, v * t.b};
}

static double flat(double, double)
{
  return 0;
}

// ---- the looks ---------------------------------------------------------------

static Colour smooth_colour(double x, double y)
{
  double sheen = 0.05 * (1 - smoothstep(6, 14, y));
  return grey(0.88 - 0.08 * y / BRICK_TEX_H + sheen + 0.01 * std::sin(x * 0.05));
}

static Colour brushed_colour(double x, double y)
{
  double streak = value_noise(x / 21.0, y * 1.4, 3, 45, 11) - 0.5;
  double fine = value_noise(x / 5.0, y * 2.2, 13, 71, 12) - 0.5;
  return tint(0.80 + 0.14 * streak + 0.06 * fine, {0.98, 1.0, 1.03});
}

static Colour granite_colour(double x, double y)
{
  double n = fractal_noise(x / 8, y / 8, 8, 4, 4, 21);
  double v = 0.70 + 0.26 * n;
  double speck = hash01((int)(x * 0.7), (int)(y * 0.7), 22);
  if (speck > 0.94) v -= 0.22;
  else if (speck < 0.05) v += 0.08;
  return tint(v, {1.0, 0.98, 0.94});
}

static double granite_height(double x, double y)
{
  return 0.7 * fractal_noise(x / 6, y / 6, 11, 6, 3, 23);
}

static Colour glass_colour(double x, double y)
{
  double u = x + y * 1.3;
  double streak = 0.22 * (1 - smoothstep(0, 3.5, std::fabs(u - 22))) +
                  0.14 * (1 - smoothstep(0, 1.6, std::fabs(u - 31)));
  double edge = std::min({x, BRICK_TEX_W - x, y, BRICK_TEX_H - y});
  double rim = 0.06 * (1 - smoothstep(4, 7, edge));
  return {0.78 + streak + rim, 0.86 + streak + rim, 0.93 + streak + rim};
}

static Colour wood_colour(double x, double y)
{
  double t = y + 3.2 * fractal_noise(x / 16, y / 6, 4, 6, 3, 31) + 0.9 * std::sin(x / 9.0);
  double ring = fract(t / 4.4);
  double grain = value_noise(x / 3, y * 1.5, 22, 48, 32) - 0.5;
  double v = smoothstep(0.55, 0.95, ring) * 0.55 + 0.08 * grain;
  return mix({0.97, 0.88, 0.74}, {0.78, 0.63, 0.47}, clamp01(v));
}

static double wood_height(double x, double y)
{
  return 0.4 * value_noise(x / 3, y * 1.5, 22, 48, 32);
}

static Colour stripes_colour(double x, double y)
{
  return grey(fract((x + y) / 16.0) < 0.5 ? 0.95 : 0.74);
}

static double stripes_height(double x, double y)
{
  return fract((x + y) / 16.0) < 0.5 ? 0.8 : 0.0;
}

static double studs_height(double x, double y)
{
  double h = 0;
  for (int k = 0; k < 4; k++) {
    double d = std::hypot(x - (8 + 16 * k), y - 15.5);
    h = std::max(h, 2.6 * (1 - smoothstep(4.6, 6.0, d)));
  }
  return h;
}

static Colour studs_colour(double, double)
{
  return grey(0.88);
}

static Colour marble_colour(double x, double y)
{
  double n = fractal_noise(x / 16, y / 16, 4, 2, 5, 41);
  double v = std::fabs(std::sin(x * 0.11 + y * 0.23 + 7.0 * n));
  double vein = std::pow(1 - v, 7.0);
  double cloud = fractal_noise(x / 10, y / 10, 7, 4, 3, 42) - 0.5;
  Colour base = {0.95 + 0.04 * cloud, 0.95 + 0.04 * cloud, 0.93 + 0.04 * cloud};
  return mix(base, {0.55, 0.56, 0.60}, 0.85 * vein);
}

// Copper traces of the circuit look, as segments.
static const double circuit_traces[][4] = {
  {4, 7, 20, 7},   {20, 7, 24, 11},  {4, 25, 16, 25}, {16, 25, 22, 19}, {22, 19, 24, 19},
  {40, 13, 46, 13}, {46, 13, 52, 7}, {52, 7, 60, 7},  {40, 19, 48, 19}, {48, 19, 54, 25},
  {54, 25, 60, 25}, {24, 16, 12, 16}, {12, 16, 8, 12},
};

// Distance to the nearest trace, and whether the point is on a trace's end pad.
static double circuit_trace(double x, double y, bool *pad)
{
  double d = 1e9;
  *pad = false;
  for (const auto &s : circuit_traces) {
    d = std::min(d, segment_distance(x, y, s[0], s[1], s[2], s[3]));
    if (std::hypot(x - s[0], y - s[1]) < 2.6 || std::hypot(x - s[2], y - s[3]) < 2.6) *pad = true;
  }
  return d;
}

static bool in_chip(double x, double y)
{
  return x > 24 && x < 40 && y > 9 && y < 23;
}

static Colour circuit_colour(double x, double y)
{
  if (in_chip(x, y)) return grey(0.42 + 0.05 * (y < 12));
  bool pad;
  double d = circuit_trace(x, y, &pad);
  bool leg = x > 22 && x < 42 && y > 10 && y < 22 && fract((y - 10) / 3.0) < 0.5;
  if (d < 1.1 || pad || leg) return {0.97, 0.93, 0.78};
  double n = value_noise(x / 4, y / 4, 16, 8, 51) - 0.5;
  return {0.70 + 0.04 * n, 0.82 + 0.04 * n, 0.74 + 0.04 * n};
}

static double circuit_height(double x, double y)
{
  if (in_chip(x, y)) return 1.6;
  bool pad;
  return circuit_trace(x, y, &pad) < 1.1 || pad ? 0.5 : 0.0;
}

static Colour plate_colour(double x, double y)
{
  double n = value_noise(x / 6, y / 6, 11, 6, 61) - 0.5;
  return tint(0.82 + 0.06 * n, {0.99, 1.0, 1.02});
}

static double plate_height(double x, double y)
{
  double h = dome(x, y, 7, 7.5, 3, 1.8) + dome(x, y, 57, 7.5, 3, 1.8) +
             dome(x, y, 7, 24.5, 3, 1.8) + dome(x, y, 57, 24.5, 3, 1.8);
  if (x > 13 && x < 51) h -= 0.9 * (1 - smoothstep(0.4, 1.4, std::fabs(y - 16)));
  return h;
}

static double tread_height(double x, double y)
{
  int cx = (int)std::floor(x / 8), cy = (int)std::floor(y / 8);
  double lx = x - cx * 8 - 4, ly = y - cy * 8 - 4;
  double s = ((cx + cy) & 1) ? 1 : -1;
  double u = (lx + s * ly) / std::sqrt(2.0), v = (lx - s * ly) / std::sqrt(2.0);
  double q = (u / 3.4) * (u / 3.4) + (v / 1.2) * (v / 1.2);
  return q >= 1 ? 0 : 1.3 * std::sqrt(1 - q);
}

static Colour tread_colour(double x, double y)
{
  return grey(0.80 + 0.05 * (value_noise(x / 8, y / 8, 8, 4, 71) - 0.5));
}

static double pyramid_height(double x, double y)
{
  double dx = std::min(x, BRICK_TEX_W - x), dy = std::min(y, BRICK_TEX_H - y);
  return 4.5 * std::min({1.0, dx / 11.0, dy / 7.0});
}

static Colour pyramid_colour(double, double)
{
  return grey(0.88);
}

// The mini brick (x, y) lies in: its id, and distance to the mortar.
static double masonry_cell(double x, double y, int *id)
{
  int row = (int)std::floor(y / 8);
  double off = (row & 1) ? 8 : 0;
  int col = (int)std::floor((x + off) / 16);
  *id = row * 8 + col;
  double lx = x + off - col * 16, ly = y - row * 8;
  return std::min({lx, 16 - lx, ly, 8 - ly});
}

static Colour masonry_colour(double x, double y)
{
  int id;
  double d = masonry_cell(x, y, &id);
  if (d < 0.9) return grey(0.66);
  double v = 0.84 + 0.08 * (hash01(id, 0, 81) - 0.5) + 0.06 * (value_noise(x / 3, y / 3, 22, 11, 82) - 0.5);
  return tint(v, {1.0, 0.97, 0.93});
}

static double masonry_height(double x, double y)
{
  int id;
  return smoothstep(0.5, 1.6, masonry_cell(x, y, &id)) * 1.2;
}

static Colour hexmesh_colour(double x, double y)
{
  double e = hex_edge(x + 2, y + 1, 5.5);
  return grey(e < 0.9 ? 0.55 : 0.88);
}

static double hexmesh_height(double x, double y)
{
  return smoothstep(0.3, 1.5, hex_edge(x + 2, y + 1, 5.5)) * 0.9;
}

static double weave_height(double x, double y)
{
  int cx = (int)std::floor(x / 8), cy = (int)std::floor(y / 8);
  double lx = x - cx * 8, ly = y - cy * 8;
  double across = ((cx + cy) & 1) ? ly : lx;
  double along = ((cx + cy) & 1) ? lx : ly;
  return 1.4 * std::sin(M_PI * across / 8) * (0.75 + 0.25 * std::sin(M_PI * along / 8));
}

static Colour weave_colour(double x, double y)
{
  int cx = (int)std::floor(x / 8), cy = (int)std::floor(y / 8);
  return grey(((cx + cy) & 1) ? 0.86 : 0.80);
}

static Colour ice_colour(double x, double y)
{
  Cells c = cellular(x / 14, y / 14, 5, 3, 91);
  double crack = 1 - smoothstep(0.03, 0.09, c.f2 - c.f1);
  double cloud = fractal_noise(x / 12, y / 12, 6, 3, 3, 92);
  Colour base = {0.84 + 0.1 * cloud, 0.91 + 0.07 * cloud, 0.97};
  return mix(base, {0.62, 0.72, 0.84}, 0.8 * crack);
}

static double ice_height(double x, double y)
{
  Cells c = cellular(x / 14, y / 14, 5, 3, 91);
  return -0.8 * (1 - smoothstep(0.03, 0.1, c.f2 - c.f1));
}

static Colour honey_colour(double x, double y)
{
  double e = hex_edge(x, y + 2, 7);
  return grey(e < 0.8 ? 0.60 : 0.86);
}

static double honey_height(double x, double y)
{
  double e = hex_edge(x, y + 2, 7);
  return 2.0 * std::sqrt(clamp01(e / 6.0));
}

static double ripple_height(double x, double y)
{
  double e = std::hypot((x - CX) / 2.0, y - CY);
  return 0.7 * std::cos(e * 0.9) * (1 - smoothstep(10, 16, e));
}

static Colour ripple_colour(double x, double y)
{
  double e = std::hypot((x - CX) / 2.0, y - CY);
  return grey(0.86 + 0.05 * std::cos(e * 0.9));
}

// Distance 0..1 from the centre of the fish scale showing at (x, y), as a
// fraction of its radius: lower rows lie over the rows above them.
static double scale_local(double x, double y)
{
  int row0 = (int)std::floor(y / 6);
  for (int row = row0 + 1; row >= row0 - 1; row--) {
    double off = (row & 1) ? 5 : 0;
    double sx = std::round((x - off) / 10) * 10 + off, sy = row * 6;
    double d = std::hypot(x - sx, y - sy);
    if (d < 7) return d / 7;
  }
  return 1;
}

static double scales_height(double x, double y)
{
  double t = scale_local(x, y + 3);
  return 1.8 * std::sqrt(clamp01(1 - t * t));
}

static Colour scales_colour(double x, double y)
{
  double t = scale_local(x, y + 3);
  return grey(0.92 - 0.16 * t * t);
}

static double pillow_height(double x, double y)
{
  double u = (x - CX) / CX, v = (y - CY) / CY;
  double h = 4.0 * (1 - std::pow(std::fabs(u), 4)) * (1 - std::pow(std::fabs(v), 4));
  double d = std::hypot(x - CX, y - CY);
  return h - 1.8 * (1 - smoothstep(1.0, 3.5, d));
}

static Colour pillow_colour(double x, double y)
{
  double d = std::hypot(x - CX, y - CY);
  return grey(d < 1.6 ? 0.70 : 0.90);
}

static Colour chevron_colour(double x, double y)
{
  return grey(fract((x + std::fabs(y - CY)) / 12.0) < 0.5 ? 0.94 : 0.75);
}

static double chevron_height(double x, double y)
{
  return fract((x + std::fabs(y - CY)) / 12.0) < 0.5 ? 0.7 : 0.0;
}

// Distance to the nearest perforation centre of the punched-metal look.
static double hole_distance(double x, double y)
{
  int row = (int)std::floor(y / 6.4);
  double off = (row & 1) ? 4 : 0;
  double col = std::floor((x - off) / 8);
  double hx = col * 8 + off + 4, hy = row * 6.4 + 3.2;
  return std::hypot(x - hx, y - hy);
}

static Colour holes_colour(double x, double y)
{
  return grey(hole_distance(x, y) < 1.9 ? 0.30 : 0.84);
}

static double holes_height(double x, double y)
{
  return 1.2 * smoothstep(1.6, 2.6, hole_distance(x, y));
}

static double tube_height(double, double y)
{
  double v = (y - CY) / CY;
  return 5.0 * std::sqrt(clamp01(1 - v * v));
}

static Colour tube_colour(double x, double)
{
  return grey(0.86 + 0.02 * std::sin(x * 0.2));
}

static Colour checker_colour(double x, double y)
{
  int cx = (int)std::floor(x / 8), cy = (int)std::floor(y / 8);
  return grey(((cx + cy) & 1) ? 0.78 : 0.94);
}

static double checker_height(double x, double y)
{
  int cx = (int)std::floor(x / 8), cy = (int)std::floor(y / 8);
  return ((cx + cy) & 1) ? 0.0 : 0.6;
}

// Texture numbers 1..24 in order; number 1 is the plain brick that the
// "Brick Wall" power-up lays.
static const BrickLook looks[] = {
  {"smooth", smooth_colour, flat, 0.35, 3.0},
  {"brushed metal", brushed_colour, flat, 0.4, 3.0},
  {"granite", granite_colour, granite_height, 0.1, 3.0},
  {"glass", glass_colour, flat, 0.8, 2.5},
  {"wood", wood_colour, wood_height, 0.1, 3.0},
  {"stripes", stripes_colour, stripes_height, 0.3, 3.0},
  {"studs", studs_colour, studs_height, 0.5, 3.0},
  {"marble", marble_colour, flat, 0.6, 3.0},
  {"circuit", circuit_colour, circuit_height, 0.3, 2.5},
  {"riveted plate", plate_colour, plate_height, 0.5, 3.0},
  {"tread plate", tread_colour, tread_height, 0.5, 3.0},
  {"pyramid", pyramid_colour, pyramid_height, 0.3, 0.0},
  {"masonry", masonry_colour, masonry_height, 0.1, 2.5},
  {"hex mesh", hexmesh_colour, hexmesh_height, 0.4, 3.0},
  {"weave", weave_colour, weave_height, 0.2, 2.5},
  {"ice", ice_colour, ice_height, 0.7, 3.0},
  {"honeycomb", honey_colour, honey_height, 0.4, 2.5},
  {"ripples", ripple_colour, ripple_height, 0.5, 3.0},
  {"scales", scales_colour, scales_height, 0.4, 2.5},
  {"pillow", pillow_colour, pillow_height, 0.4, 1.5},
  {"chevron", chevron_colour, chevron_height, 0.3, 3.0},
  {"punched metal", holes_colour, holes_height, 0.4, 3.0},
  {"tube", tube_colour, tube_height, 0.9, 2.0},
  {"checker", checker_colour, checker_height, 0.3, 3.0},
};

// ---- drawing -----------------------------------------------------------------

// Height of the bevelled brick body at (x, y): rising from the border.
static double bevel_height(const BrickLook &look, double x, double y)
{
  if (look.bevel <= 0) return 0;
  double d = std::min({x, BRICK_TEX_W - x, y, BRICK_TEX_H - y});
  return std::min(d, look.bevel);
}

// Draws one look with its bevel, and a darker outer ring to part neighbours.
static Picture render_brick(const BrickLook &look)
{
  Canvas c(BRICK_TEX_W, BRICK_TEX_H);
  canvas_relief(c, look.albedo,
                [&](double x, double y) { return bevel_height(look, x, y) + look.height(x, y); },
                look.gloss, SUPER);
  canvas_filter(c, [](int x, int y, Colour col) {
    bool border = x == 0 || y == 0 || x == BRICK_TEX_W - 1 || y == BRICK_TEX_H - 1;
    return border ? scale(col, 0.72) : col;
  });
  return canvas_picture(c);
}

void make_bricks(std::vector<Output> &out)
{
  int n = 1;
  for (const BrickLook &look : looks)
    out.push_back({"bricks/b" + std::to_string(n++) + ".raw", RAW_BRICK, render_brick(look)});
}
