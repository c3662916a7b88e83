// Deterministic noise for the image generator: lattice hashes, smooth value noise,
// fractal sums and cellular patterns, all periodic so that tiles repeat seamlessly.
#include "images.h"

#include <algorithm>
#include <cmath>

// Positive remainder of a by n.
static int wrap(int a, int n)
{
  int m = a % n;
  return m < 0 ? m + n : m;
}

double hash01(int x, int y, int seed)
{
  uint32_t h = (uint32_t)x * 0x8da6b343u ^ (uint32_t)y * 0xd8163841u ^ (uint32_t)seed * 0xcb1ab31fu;
  h ^= h >> 15;
  h *= 0x2c1b3c6du;
  h ^= h >> 12;
  h *= 0x297a2d39u;
  h ^= h >> 15;
  return (h & 0xffffff) / 16777215.0;
}

double value_noise(double x, double y, int px, int py, int seed)
{
  int x0 = (int)std::floor(x), y0 = (int)std::floor(y);
  double fx = x - x0, fy = y - y0;
  double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
  int xa = wrap(x0, px), xb = wrap(x0 + 1, px);
  int ya = wrap(y0, py), yb = wrap(y0 + 1, py);
  double a = hash01(xa, ya, seed), b = hash01(xb, ya, seed);
  double c = hash01(xa, yb, seed), d = hash01(xb, yb, seed);
  double top = a + (b - a) * sx, bottom = c + (d - c) * sx;
  return top + (bottom - top) * sy;
}

double fractal_noise(double x, double y, int px, int py, int octaves, int seed)
{
  double sum = 0, amp = 1, total = 0;
  for (int o = 0; o < octaves; o++) {
    sum += value_noise(x, y, px, py, seed + o * 101) * amp;
    total += amp;
    x *= 2, y *= 2, px *= 2, py *= 2;
    amp *= 0.5;
  }
  return sum / total;
}

Cells cellular(double x, double y, int n, int m, int seed)
{
  int cx = (int)std::floor(x), cy = (int)std::floor(y);
  Cells out = {1e9, 1e9, 0};
  for (int dy = -1; dy <= 1; dy++)
    for (int dx = -1; dx <= 1; dx++) {
      int gx = cx + dx, gy = cy + dy;
      int wx = wrap(gx, n), wy = wrap(gy, m);
      double fx = gx + 0.15 + 0.7 * hash01(wx, wy, seed);
      double fy = gy + 0.15 + 0.7 * hash01(wx, wy, seed + 7);
      double d = std::hypot(x - fx, y - fy);
      if (d < out.f1) {
        out.f2 = out.f1;
        out.f1 = d;
        out.id = wy * n + wx;
      } else if (d < out.f2) {
        out.f2 = d;
      }
    }
  return out;
}

double hex_edge(double x, double y, double s, double *cx, double *cy)
{
  const double rt3 = std::sqrt(3.0);
  double best = 1e9, bx = 0, by = 0;
  double col = std::floor(x / (1.5 * s));
  for (int i = -1; i <= 2; i++) {
    double hx = (col + i) * 1.5 * s;
    double off = ((long)(col + i) & 1) ? rt3 * s / 2 : 0;
    double row = std::floor((y - off) / (rt3 * s));
    for (int j = -1; j <= 1; j++) {
      double hy = (row + j) * rt3 * s + off;
      double d = std::hypot(x - hx, y - hy);
      if (d < best) best = d, bx = hx, by = hy;
    }
  }
  if (cx) *cx = bx, *cy = by;
  // Distance to the hexagon's border along its three axes.
  double px = std::fabs(x - bx), py = std::fabs(y - by);
  double inner = rt3 * s / 2;
  double e = std::max(py, px * rt3 / 2 + py / 2);
  return inner - e;
}
