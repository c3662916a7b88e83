// Cairo canvases for the image generator: pixel access, conversion to the game's
// RGB and transparent-mode pictures, and small colour and shape helpers.
#include "images.h"

#include <algorithm>
#include <cmath>

Canvas::Canvas(int width, int height) : w(width), h(height)
{
  surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cr = cairo_create(surface);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_GOOD);
}

Canvas::~Canvas()
{
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

// The 32-bit word of pixel (x, y); the caller has flushed the surface.
static uint32_t *pixel_word(Canvas &c, int x, int y)
{
  unsigned char *data = cairo_image_surface_get_data(c.surface);
  int stride = cairo_image_surface_get_stride(c.surface);
  return reinterpret_cast<uint32_t *>(data + y * stride) + x;
}

static int to_byte(double v)
{
  return (int)std::lround(clamp01(v) * 255.0);
}

Colour canvas_get(Canvas &c, int x, int y, double *alpha)
{
  cairo_surface_flush(c.surface);
  uint32_t p = *pixel_word(c, x, y);
  double a = (p >> 24) / 255.0;
  if (alpha) *alpha = a;
  if (a <= 0.0) return {0, 0, 0};
  return {((p >> 16) & 255) / 255.0 / a, ((p >> 8) & 255) / 255.0 / a, (p & 255) / 255.0 / a};
}

void canvas_set(Canvas &c, int x, int y, Colour col)
{
  cairo_surface_flush(c.surface);
  *pixel_word(c, x, y) = 0xff000000u | (uint32_t)to_byte(col.r) << 16 |
                         (uint32_t)to_byte(col.g) << 8 | (uint32_t)to_byte(col.b);
  cairo_surface_mark_dirty(c.surface);
}

void canvas_shade(Canvas &c, const std::function<Colour(double, double)> &fn)
{
  cairo_surface_flush(c.surface);
  for (int y = 0; y < c.h; y++)
    for (int x = 0; x < c.w; x++) {
      Colour col = fn(x + 0.5, y + 0.5);
      *pixel_word(c, x, y) = 0xff000000u | (uint32_t)to_byte(col.r) << 16 |
                             (uint32_t)to_byte(col.g) << 8 | (uint32_t)to_byte(col.b);
    }
  cairo_surface_mark_dirty(c.surface);
}

void canvas_filter(Canvas &c, const std::function<Colour(int, int, Colour)> &fn)
{
  cairo_surface_flush(c.surface);
  for (int y = 0; y < c.h; y++)
    for (int x = 0; x < c.w; x++) {
      uint32_t *w = pixel_word(c, x, y);
      uint32_t p = *w;
      double a = (p >> 24) / 255.0;
      Colour old = {0, 0, 0};
      if (a > 0.0)
        old = {((p >> 16) & 255) / 255.0 / a, ((p >> 8) & 255) / 255.0 / a, (p & 255) / 255.0 / a};
      Colour col = fn(x, y, old);
      *w = 0xff000000u | (uint32_t)to_byte(col.r) << 16 | (uint32_t)to_byte(col.g) << 8 |
           (uint32_t)to_byte(col.b);
    }
  cairo_surface_mark_dirty(c.surface);
}

Picture canvas_picture(Canvas &c)
{
  cairo_surface_flush(c.surface);
  Picture pic;
  pic.w = c.w;
  pic.h = c.h;
  pic.rgb.resize((size_t)c.w * c.h * 3);
  for (int y = 0; y < c.h; y++)
    for (int x = 0; x < c.w; x++) {
      // Premultiplied components are already the colour over black.
      uint32_t p = *pixel_word(c, x, y);
      uint8_t *o = &pic.rgb[((size_t)y * c.w + x) * 3];
      o[0] = (p >> 16) & 255;
      o[1] = (p >> 8) & 255;
      o[2] = p & 255;
    }
  return pic;
}

// Gives black pixels that the background cannot reach from the border the
// colour of the shape to their left: black inside a shape would show as a hole.
static void fill_pockets(Picture &pic)
{
  auto black = [&](size_t i) { return !pic.rgb[i * 3] && !pic.rgb[i * 3 + 1] && !pic.rgb[i * 3 + 2]; };
  std::vector<char> outside((size_t)pic.w * pic.h, 0);
  std::vector<size_t> stack;
  for (int y = 0; y < pic.h; y++)
    for (int x = 0; x < pic.w; x++) {
      size_t i = (size_t)y * pic.w + x;
      if ((x == 0 || y == 0 || x == pic.w - 1 || y == pic.h - 1) && black(i)) {
        outside[i] = 1;
        stack.push_back(i);
      }
    }
  while (!stack.empty()) {
    size_t i = stack.back();
    stack.pop_back();
    int x = (int)(i % pic.w), y = (int)(i / pic.w);
    const int dx[] = {1, -1, 0, 0}, dy[] = {0, 0, 1, -1};
    for (int d = 0; d < 4; d++) {
      int nx = x + dx[d], ny = y + dy[d];
      if (nx < 0 || ny < 0 || nx >= pic.w || ny >= pic.h) continue;
      size_t n = (size_t)ny * pic.w + nx;
      if (!outside[n] && black(n)) outside[n] = 1, stack.push_back(n);
    }
  }
  for (size_t i = 0; i < outside.size(); i++)
    if (black(i) && !outside[i])
      for (int k = 0; k < 3; k++) pic.rgb[i * 3 + k] = pic.rgb[(i - 1) * 3 + k];
}

Picture canvas_sprite(Canvas &c)
{
  Picture pic;
  pic.w = c.w;
  pic.h = c.h;
  pic.rgb.assign((size_t)c.w * c.h * 3, 0);
  for (int y = 0; y < c.h; y++)
    for (int x = 0; x < c.w; x++) {
      double a;
      Colour col = canvas_get(c, x, y, &a);
      if (a < 0.5) continue;
      uint8_t *o = &pic.rgb[((size_t)y * c.w + x) * 3];
      o[0] = (uint8_t)std::max(1, to_byte(col.r));
      o[1] = (uint8_t)std::max(1, to_byte(col.g));
      o[2] = (uint8_t)std::max(1, to_byte(col.b));
    }
  fill_pockets(pic);
  return pic;
}

void paint_picture(cairo_t *cr, const Picture &pic, double x, double y, double w, double h,
                   Colour tint, bool texels)
{
  cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, pic.w, pic.h);
  cairo_surface_flush(s);
  unsigned char *data = cairo_image_surface_get_data(s);
  int stride = cairo_image_surface_get_stride(s);
  for (int j = 0; j < pic.h; j++)
    for (int i = 0; i < pic.w; i++) {
      const uint8_t *p = &pic.rgb[((size_t)j * pic.w + i) * 3];
      uint32_t r = (uint32_t)std::lround(p[0] * clamp01(tint.r));
      uint32_t g = (uint32_t)std::lround(p[1] * clamp01(tint.g));
      uint32_t b = (uint32_t)std::lround(p[2] * clamp01(tint.b));
      reinterpret_cast<uint32_t *>(data + j * stride)[i] = 0xff000000u | r << 16 | g << 8 | b;
    }
  cairo_surface_mark_dirty(s);
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, w / pic.w, h / pic.h);
  cairo_set_source_surface(cr, s, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr),
                           texels && w >= pic.w ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
  cairo_rectangle(cr, 0, 0, pic.w, pic.h);
  cairo_fill(cr);
  cairo_restore(cr);
  cairo_surface_destroy(s);
}

Colour mix(Colour a, Colour b, double t)
{
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour scale(Colour a, double k)
{
  return {a.r * k, a.g * k, a.b * k};
}

Colour grey(double v)
{
  return {v, v, v};
}

Colour hex(uint32_t rrggbb)
{
  return {((rrggbb >> 16) & 255) / 255.0, ((rrggbb >> 8) & 255) / 255.0, (rrggbb & 255) / 255.0};
}

double clamp01(double v)
{
  return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v);
}

double smoothstep(double e0, double e1, double x)
{
  double t = clamp01((x - e0) / (e1 - e0));
  return t * t * (3.0 - 2.0 * t);
}

void set_colour(cairo_t *cr, Colour c, double alpha)
{
  cairo_set_source_rgba(cr, clamp01(c.r), clamp01(c.g), clamp01(c.b), alpha);
}

void rounded_rect(cairo_t *cr, double x, double y, double w, double h, double r)
{
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
  cairo_close_path(cr);
}

void set_font(cairo_t *cr, const char *family, double size, bool bold)
{
  cairo_select_font_face(cr, family, CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
}

void centred_text_path(cairo_t *cr, const char *text, double x, double y)
{
  cairo_text_extents_t e;
  cairo_text_extents(cr, text, &e);
  cairo_move_to(cr, x - e.x_advance / 2.0, y);
  cairo_text_path(cr, text);
}

// One horizontal or vertical box pass of radius r over premultiplied words.
static void box_pass(std::vector<double> &buf, int w, int h, int r, bool across)
{
  int n = across ? w : h, lines = across ? h : w;
  std::vector<double> line((size_t)n * 4), out((size_t)n * 4);
  for (int l = 0; l < lines; l++) {
    for (int i = 0; i < n; i++) {
      size_t at = across ? ((size_t)l * w + i) : ((size_t)i * w + l);
      for (int k = 0; k < 4; k++) line[i * 4 + k] = buf[at * 4 + k];
    }
    // Running sum over the window, edges extended.
    for (int k = 0; k < 4; k++) {
      double sum = 0;
      for (int d = -r; d <= r; d++) sum += line[std::clamp(d, 0, n - 1) * 4 + k];
      for (int i = 0; i < n; i++) {
        out[i * 4 + k] = sum / (2 * r + 1);
        sum += line[std::min(i + r + 1, n - 1) * 4 + k] - line[std::max(i - r, 0) * 4 + k];
      }
    }
    for (int i = 0; i < n; i++) {
      size_t at = across ? ((size_t)l * w + i) : ((size_t)i * w + l);
      for (int k = 0; k < 4; k++) buf[at * 4 + k] = out[i * 4 + k];
    }
  }
}

void canvas_blur(Canvas &c, int r)
{
  cairo_surface_flush(c.surface);
  std::vector<double> buf((size_t)c.w * c.h * 4);
  for (int y = 0; y < c.h; y++)
    for (int x = 0; x < c.w; x++) {
      uint32_t p = *pixel_word(c, x, y);
      double *b = &buf[((size_t)y * c.w + x) * 4];
      b[0] = p >> 24, b[1] = (p >> 16) & 255, b[2] = (p >> 8) & 255, b[3] = p & 255;
    }
  for (int pass = 0; pass < 3; pass++) {
    box_pass(buf, c.w, c.h, r, true);
    box_pass(buf, c.w, c.h, r, false);
  }
  for (int y = 0; y < c.h; y++)
    for (int x = 0; x < c.w; x++) {
      double *b = &buf[((size_t)y * c.w + x) * 4];
      uint32_t a = (uint32_t)std::lround(b[0]);
      auto ch = [a](double v) { return std::min<uint32_t>(a, (uint32_t)std::lround(v)); };
      *pixel_word(c, x, y) = a << 24 | ch(b[1]) << 16 | ch(b[2]) << 8 | ch(b[3]);
    }
  cairo_surface_mark_dirty(c.surface);
}

Colour lit_colour(Colour albedo, double hx, double hy, double gloss)
{
  static const double L[3] = {-0.52, -0.62, 0.59};   // towards the light, top left
  static const double H[3] = {-0.29, -0.35, 0.89};   // halfway to the viewer
  double len = std::sqrt(hx * hx + hy * hy + 1);
  double n[3] = {-hx / len, -hy / len, 1 / len};
  double diffuse = (n[0] * L[0] + n[1] * L[1] + n[2] * L[2]) / L[2];
  diffuse = std::clamp(0.3 + 0.7 * diffuse, 0.15, 1.3);
  double nh = std::max(0.0, n[0] * H[0] + n[1] * H[1] + n[2] * H[2]);
  // Flat ground gets no highlight; slopes facing the light do.
  double shine = gloss * std::max(0.0, std::pow(nh, 30) - std::pow(H[2], 30));
  return {albedo.r * diffuse + shine, albedo.g * diffuse + shine, albedo.b * diffuse + shine};
}

void canvas_relief(Canvas &c, const std::function<Colour(double, double)> &albedo,
                   const std::function<double(double, double)> &height, double gloss, int super)
{
  const double e = 0.25;
  canvas_shade(c, [&](double px, double py) {
    Colour sum = {0, 0, 0};
    for (int j = 0; j < super; j++)
      for (int i = 0; i < super; i++) {
        double x = px - 0.5 + (i + 0.5) / super, y = py - 0.5 + (j + 0.5) / super;
        double hx = (height(x + e, y) - height(x - e, y)) / (2 * e);
        double hy = (height(x, y + e) - height(x, y - e)) / (2 * e);
        Colour s = lit_colour(albedo(x, y), hx, hy, gloss);
        sum = {sum.r + clamp01(s.r), sum.g + clamp01(s.g), sum.b + clamp01(s.b)};
      }
    return scale(sum, 1.0 / (super * super));
  });
}
