// Backgrounds: ten seamlessly tileable 256 x 256 pictures in deep tones, repeated
// 8 x 8 behind the board and shaded white to black from top to bottom.
#include "images.h"

#include <cmath>

// ---- constants -------------------------------------------------------------

static const double T = TILE_SIZE;
static const double SHIFT = 13;   // moves cell borders off the tile's edges

// A background drawn per pixel as a lit relief (height may be null: flat).
struct Background {
  Colour (*colour)(double x, double y);
  double (*height)(double x, double y);
  double gloss;
};

// ---- helpers -------------------------------------------------------------------

// Coordinate folded into one tile, so neighbours of the border sample the
// other side.
static double fold(double v)
{
  return v - T * std::floor(v / T);
}

static double fract(double v)
{
  return v - std::floor(v);
}

// Hexagon grid of 8 columns and 7 rows across the tile (side 1 in cell units).
static double tile_hex(double x, double y, double *cx, double *cy)
{
  double u = fold(x) * 12.0 / T, v = fold(y) * 7.0 * std::sqrt(3.0) / T;
  return hex_edge(u, v, 1.0, cx, cy);
}

// ---- the backgrounds -------------------------------------------------------------

static Colour hex_colour(double x, double y)
{
  double cx, cy;
  double e = tile_hex(x, y, &cx, &cy);
  if (e < 0.07) return {0.03, 0.06, 0.08};
  // Hexagons cut by the tile border are the same hexagon on both sides.
  const double period_v = 7 * std::sqrt(3.0);
  int col = (int)std::lround(std::fmod(cx + 12, 12.0) / 1.5) % 8;
  int row = (int)std::lround(std::fmod(cy + period_v, period_v) / (std::sqrt(3.0) / 2)) % 14;
  double k = 0.85 + 0.3 * hash01(col, row, 401);
  double n = fractal_noise(x * 8 / T, y * 8 / T, 8, 8, 3, 402) - 0.5;
  return {(0.12 + 0.05 * n) * k, (0.33 + 0.06 * n) * k, (0.40 + 0.06 * n) * k};
}

static double hex_height(double x, double y)
{
  double cx, cy;
  return 6 * smoothstep(0.05, 0.22, tile_hex(x, y, &cx, &cy));
}

// Distance to the nearest tread lozenge's rim, as a height.
static double tread_height(double x, double y)
{
  x = fold(x), y = fold(y);
  int cx = (int)std::floor(x / 32), cy = (int)std::floor(y / 32);
  double lx = x - cx * 32 - 16, ly = y - cy * 32 - 16;
  double s = ((cx + cy) & 1) ? 1 : -1;
  double u = (lx + s * ly) / std::sqrt(2.0), v = (lx - s * ly) / std::sqrt(2.0);
  double q = (u / 13) * (u / 13) + (v / 4.5) * (v / 4.5);
  return q >= 1 ? 0 : 5 * std::sqrt(1 - q);
}

static Colour tread_colour(double x, double y)
{
  double n = fractal_noise(x * 4 / T, y * 4 / T, 4, 4, 4, 411) - 0.5;
  double scratch = value_noise(x * 64 / T, y * 4 / T, 64, 4, 412) - 0.5;
  double v = 0.34 + 0.08 * n + 0.04 * scratch;
  return {v * 0.95, v * 1.0, v * 1.1};
}

static Colour nebula_colour(double x, double y)
{
  double a = fractal_noise(x * 3 / T, y * 3 / T, 3, 3, 6, 421);
  double b = fractal_noise(x * 4 / T + 9, y * 4 / T + 5, 4, 4, 6, 422);
  Colour c = mix({0.02, 0.02, 0.07}, {0.30, 0.08, 0.38}, smoothstep(0.35, 0.8, a));
  c = mix(c, {0.06, 0.28, 0.50}, 0.8 * smoothstep(0.45, 0.85, b));
  // Stars: one candidate per 16-pixel cell, kept by hash; neighbours checked
  // so that stars near a cell border are whole.
  double fx = fold(x), fy = fold(y);
  int cx = (int)std::floor(fx / 16), cy = (int)std::floor(fy / 16);
  for (int j = cy - 1; j <= cy + 1; j++)
    for (int i = cx - 1; i <= cx + 1; i++) {
      int wi = (i + 16) % 16, wj = (j + 16) % 16;
      if (hash01(wi, wj, 423) < 0.45) continue;
      double px = i * 16 + 2 + 12 * hash01(wi, wj, 424), py = j * 16 + 2 + 12 * hash01(wi, wj, 425);
      double d = std::hypot(fx - px, fy - py);
      double size = 0.6 + 1.2 * hash01(wi, wj, 426);
      c = mix(c, {0.95, 0.95, 1.0}, std::exp(-d * d / (size * size)));
    }
  return c;
}

static double weave_height(double x, double y)
{
  x = fold(x), y = fold(y);
  int cx = (int)std::floor(x / 32), cy = (int)std::floor(y / 32);
  double lx = x - cx * 32, ly = y - cy * 32;
  bool across = (cx + cy) & 1;
  double a = across ? ly : lx, b = across ? lx : ly;
  double strand = fract(a / 10.67);
  return 4 * std::sin(M_PI * strand) * (0.7 + 0.3 * std::sin(M_PI * b / 32));
}

static Colour weave_colour(double x, double y)
{
  x = fold(x), y = fold(y);
  int cx = (int)std::floor(x / 32), cy = (int)std::floor(y / 32);
  double fibre = value_noise(x * 32 / T, y * 32 / T, 32, 32, 431) - 0.5;
  double v = ((cx + cy) & 1) ? 0.92 : 1.0;
  return {(0.46 + 0.05 * fibre) * v, (0.31 + 0.04 * fibre) * v, (0.17 + 0.03 * fibre) * v};
}

static Colour cobble_colour(double x, double y)
{
  Cells c = cellular(fold(x) * 7 / T, fold(y) * 7 / T, 7, 7, 441);
  double gap = c.f2 - c.f1;
  if (gap < 0.06) return {0.08, 0.07, 0.06};
  double k = 0.8 + 0.4 * hash01(c.id, 0, 442);
  double n = fractal_noise(x * 16 / T, y * 16 / T, 16, 16, 3, 443) - 0.5;
  return {(0.40 + 0.08 * n) * k, (0.36 + 0.08 * n) * k, (0.31 + 0.07 * n) * k};
}

static double cobble_height(double x, double y)
{
  Cells c = cellular(fold(x) * 7 / T, fold(y) * 7 / T, 7, 7, 441);
  return 9 * std::sqrt(smoothstep(0.04, 0.45, c.f2 - c.f1));
}

static Colour water_colour(double x, double y)
{
  Cells a = cellular(fold(x) * 5 / T, fold(y) * 5 / T, 5, 5, 451);
  Cells b = cellular(fold(x + 37) * 8 / T, fold(y + 11) * 8 / T, 8, 8, 452);
  double la = std::exp(-(a.f2 - a.f1) * 14), lb = std::exp(-(b.f2 - b.f1) * 18);
  double depth = fractal_noise(x * 2 / T, y * 2 / T, 2, 2, 3, 453);
  Colour c = mix({0.02, 0.10, 0.24}, {0.04, 0.22, 0.38}, depth);
  return mix(c, {0.45, 0.80, 0.95}, clamp01(0.55 * la + 0.35 * lb));
}

// Panel layout of the tech background: 64-pixel plates, some split in two.
static double panel_edge(double x, double y, int *id)
{
  x = fold(x), y = fold(y);
  int px = (int)std::floor(x / 64), py = (int)std::floor(y / 64);
  double lx = x - px * 64, ly = y - py * 64;
  *id = py * 4 + px;
  double split = hash01(px, py, 461);
  if (split < 0.35) {
    *id += 100 * (lx >= 32);
    lx = std::fmod(lx, 32.0);
    return std::min({lx, 32 - lx, ly, 64 - ly});
  }
  if (split < 0.7) {
    *id += 100 * (ly >= 32);
    ly = std::fmod(ly, 32.0);
    return std::min({lx, 64 - lx, ly, 32 - ly});
  }
  return std::min({lx, 64 - lx, ly, 64 - ly});
}

static Colour tech_colour(double x, double y)
{
  int id;
  double e = panel_edge(x, y, &id);
  double lit = hash01(id, 7, 462);
  if (e < 1.2) return lit > 0.6 ? Colour{0.25, 0.85, 1.0} : Colour{0.03, 0.04, 0.06};
  double n = fractal_noise(x * 8 / T, y * 8 / T, 8, 8, 3, 463) - 0.5;
  double v = 0.17 + 0.06 * hash01(id, 3, 464) + 0.04 * n;
  Colour c = {v * 0.9, v * 1.0, v * 1.25};
  // A small status light near one corner of some plates.
  int lx = (int)std::floor(fold(x) / 64), ly = (int)std::floor(fold(y) / 64);
  double d = std::hypot(fold(x) - (lx * 64 + 10), fold(y) - (ly * 64 + 10));
  if (hash01(lx, ly, 465) > 0.5 && d < 3) c = {1.0, 0.55, 0.15};
  return c;
}

static double tech_height(double x, double y)
{
  int id;
  return 5 * smoothstep(0.5, 5, panel_edge(x, y, &id));
}

static Colour marble_colour(double x, double y)
{
  double n = fractal_noise(x * 4 / T, y * 4 / T, 4, 4, 6, 471);
  double m = fractal_noise(x * 2 / T, y * 2 / T, 2, 2, 5, 472);
  double vein = std::pow(1 - std::fabs(std::sin(2 * M_PI * (fold(x) + fold(y)) / T * 2 + 9 * n)), 10);
  double vein2 = std::pow(1 - std::fabs(std::sin(2 * M_PI * (fold(x) - fold(y)) / T * 3 + 7 * m)), 14);
  Colour c = mix({0.03, 0.12, 0.09}, {0.10, 0.28, 0.22}, m);
  c = mix(c, {0.55, 0.75, 0.66}, 0.7 * vein);
  return mix(c, {0.85, 0.90, 0.80}, 0.5 * vein2);
}

// The fan scale showing at (x, y): distance 0..1 from its centre. Rows of
// scales 32 pixels apart, each over the row above it.
static double fan_scale(double x, double y)
{
  x = fold(x), y = fold(y);
  int row0 = (int)std::floor(y / 32);
  for (int row = row0 + 1; row >= row0 - 1; row--) {
    double off = (row & 1) ? 32 : 0;
    double sx = std::round((x - off) / 64) * 64 + off, sy = row * 32;
    double d = std::hypot(x - sx, y - sy);
    if (d < 40) return d / 40;
  }
  return 1;
}

static Colour fan_colour(double x, double y)
{
  double t = fan_scale(x, y);
  if (t > 0.88) return {0.85, 0.66, 0.28};
  double ring = fract(t * 4.2);
  Colour base = mix({0.42, 0.07, 0.10}, {0.18, 0.02, 0.05}, t);
  return ring < 0.12 ? mix(base, {0.75, 0.55, 0.22}, 0.6) : base;
}

static double fan_height(double x, double y)
{
  return 6 * std::sqrt(clamp01(1 - fan_scale(x, y)));
}

// Distance to the nearest trace of the circuit background.
static double trace_distance(double x, double y, bool *pad)
{
  x = fold(x), y = fold(y);
  int i0 = (int)std::floor(x / 16), j0 = (int)std::floor(y / 16);
  double best = 1e9;
  *pad = false;
  for (int j = j0 - 1; j <= j0 + 1; j++)
    for (int i = i0 - 1; i <= i0 + 1; i++) {
      int wi = (i + 16) % 16, wj = (j + 16) % 16;
      double nx = i * 16 + 8, ny = j * 16 + 8;
      double h = hash01(wi, wj, 481);
      if (hash01(wi, wj, 482) > 0.8 && std::hypot(x - nx, y - ny) < 3.5) *pad = true;
      auto seg = [&](double bx, double by) {
        double dx = bx - nx, dy = by - ny;
        double t = clamp01(((x - nx) * dx + (y - ny) * dy) / (dx * dx + dy * dy));
        best = std::min(best, std::hypot(x - nx - t * dx, y - ny - t * dy));
      };
      if (h < 0.45) seg(nx + 16, ny);
      else if (h < 0.75) seg(nx, ny + 16);
      else if (h < 0.9) seg(nx + 16, ny + 16);
    }
  return best;
}

static Colour circuit_colour(double x, double y)
{
  bool pad;
  double d = trace_distance(x, y, &pad);
  double n = fractal_noise(x * 8 / T, y * 8 / T, 8, 8, 3, 483) - 0.5;
  Colour board = {0.04 + 0.02 * n, 0.20 + 0.04 * n, 0.11 + 0.03 * n};
  if (pad) return {0.80, 0.68, 0.32};
  if (d < 2.2) return {0.30, 0.62, 0.34};
  return board;
}

static double circuit_height(double x, double y)
{
  bool pad;
  double d = trace_distance(x, y, &pad);
  return pad ? 2.0 : 1.5 * (1 - smoothstep(1.8, 2.8, d));
}

// ---- the family ------------------------------------------------------------------

static const Background backgrounds[] = {
  {hex_colour, hex_height, 0.4},
  {circuit_colour, circuit_height, 0.3},
  {tread_colour, tread_height, 0.6},
  {nebula_colour, nullptr, 0},
  {weave_colour, weave_height, 0.2},
  {cobble_colour, cobble_height, 0.15},
  {water_colour, nullptr, 0},
  {tech_colour, tech_height, 0.4},
  {marble_colour, nullptr, 0},
  {fan_colour, fan_height, 0.5},
};

void make_backgrounds(std::vector<Output> &out)
{
  int n = 1;
  for (const Background &b : backgrounds) {
    Canvas c(TILE_SIZE, TILE_SIZE);
    auto colour = [&](double x, double y) { return b.colour(x + SHIFT, y + SHIFT); };
    if (b.height)
      canvas_relief(c, colour, [&](double x, double y) { return b.height(x + SHIFT, y + SHIFT); },
                    b.gloss, 2);
    else
      canvas_shade(c, colour);
    out.push_back({"graphics/backgrounds/bg" + std::to_string(n++) + ".png", OPAQUE_PNG, canvas_picture(c)});
  }
}
