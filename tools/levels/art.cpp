// Artwork borrowed from the game folder for previews and the manual, and the
// drawing of single bricks and power-up icons the way the game shows them.
#include "levelc.h"

#include "files.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstring>

// Loads one PNG if it exists, recording it as an input.
static cairo_surface_t *load_png(Artwork &art, const std::string &path)
{
  if (!file_exists(path)) return nullptr;
  cairo_surface_t *s = cairo_image_surface_create_from_png(path.c_str());
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(s);
    return nullptr;
  }
  art.files_read.push_back(path);
  return s;
}

void load_artwork(Artwork &art, const std::string &game_dir)
{
  art.fire = load_png(art, game_dir + "/graphics/fire.png");
  art.background = load_png(art, game_dir + "/graphics/backgrounds/bg1.png");
  art.walls = load_png(art, game_dir + "/graphics/walls.png");
  art.paddle = load_png(art, game_dir + "/paddles/p1.png");
  for (int k = 1; k <= POWERUP_KINDS; k++)
    art.icons[k] = load_png(art, game_dir + "/graphics/powerups/" + powerup_table[k].icon + ".png");
}

void free_artwork(Artwork &art)
{
  cairo_surface_t **all[] = {&art.fire, &art.background, &art.walls, &art.paddle};
  for (cairo_surface_t **s : all)
    if (*s) { cairo_surface_destroy(*s); *s = nullptr; }
  for (cairo_surface_t *&s : art.icons)
    if (s) { cairo_surface_destroy(s); s = nullptr; }
}

// Intensity 0..1 of a colour component handed to the graphics library as a
// signed byte: negative values give nothing.
static double intensity(int v)
{
  v = (int)(int8_t)v;
  return v <= 0 ? 0.0 : (2.0 * v + 1.0) / 255.0;
}

// The colour the game gives a brick of this type (multi-hit bricks darker).
static void drawn_colour(const Cell &cell, double out[3])
{
  int r = cell.red, g = cell.green, b = cell.blue;
  if (cell.type == BRICK_TWO_HIT) { r = std::abs(r - 25); g = std::abs(g - 25); b = std::abs(b) - 25; }
  if (cell.type == BRICK_THREE_HIT) { r = std::abs(r - 50); g = std::abs(g - 50); b = std::abs(b) - 50; }
  out[0] = intensity(r);
  out[1] = intensity(g);
  out[2] = intensity(b);
}

// Pixel (x, y) of the fire picture's top half stretched to 64 x 32, or a
// drawn flame when the picture is missing.
static void fire_pixel(const Artwork &art, int x, int y, double rgb[3])
{
  if (art.fire) {
    int w = cairo_image_surface_get_width(art.fire), h = cairo_image_surface_get_height(art.fire);
    int stride = cairo_image_surface_get_stride(art.fire);
    const uint8_t *data = cairo_image_surface_get_data(art.fire);
    int sx = x * w / BRICK_TEX_W, sy = y * (h / 2) / BRICK_TEX_H;
    uint32_t px;
    memcpy(&px, data + sy * stride + sx * 4, 4);
    rgb[0] = ((px >> 16) & 255) / 255.0;
    rgb[1] = ((px >> 8) & 255) / 255.0;
    rgb[2] = (px & 255) / 255.0;
    return;
  }
  double t = 1.0 - (double)y / BRICK_TEX_H;
  double wave = 0.5 + 0.5 * std::sin(x * 0.35 + y * 0.2);
  rgb[0] = 1.0;
  rgb[1] = std::min(1.0, 0.25 + 0.6 * t * wave);
  rgb[2] = 0.1 * t;
}

cairo_surface_t *brick_surface(const Artwork &art, const Cell &cell)
{
  cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, BRICK_TEX_W, BRICK_TEX_H);
  cairo_surface_flush(s);
  uint8_t *data = cairo_image_surface_get_data(s);
  int stride = cairo_image_surface_get_stride(s);
  double tint[3];
  drawn_colour(cell, tint);
  if (cell.type == BRICK_EXPLODING) {
    // Fire bricks take their plain colour, without the multi-hit darkening.
    tint[0] = intensity(cell.red); tint[1] = intensity(cell.green); tint[2] = intensity(cell.blue);
  }
  const std::vector<uint8_t> *tex = nullptr;
  if (cell.texture >= 1 && cell.texture <= (int)art.bricks.size()) tex = &art.bricks[cell.texture - 1];
  for (int y = 0; y < BRICK_TEX_H; y++)
    for (int x = 0; x < BRICK_TEX_W; x++) {
      double rgb[3] = {0.8, 0.8, 0.8};
      if (cell.type == BRICK_EXPLODING) fire_pixel(art, x, y, rgb);
      else if (tex)
        for (int k = 0; k < 3; k++) rgb[k] = (*tex)[(y * BRICK_TEX_W + x) * 3 + k] / 255.0;
      uint32_t px = 0;
      for (int k = 0; k < 3; k++) {
        int v = (int)std::lround(rgb[k] * tint[k] * 255.0);
        px |= (uint32_t)std::min(255, std::max(0, v)) << (16 - 8 * k);
      }
      memcpy(data + y * stride + x * 4, &px, 4);
    }
  cairo_surface_mark_dirty(s);
  return s;
}

// Encodes 8-bit RGB or RGBA rows into an open file; false on a libpng error.
static bool png_out(FILE *f, int w, int h, bool alpha, const uint8_t *rows, int level)
{
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, f);
  png_set_compression_level(png, level);
  png_set_IHDR(png, info, w, h, 8, alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  size_t row_bytes = (size_t)w * (alpha ? 4 : 3);
  for (int y = 0; y < h; y++) png_write_row(png, rows + y * row_bytes);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

void write_png(cairo_surface_t *s, const std::string &path, int level)
{
  cairo_surface_flush(s);
  int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
  int stride = cairo_image_surface_get_stride(s);
  bool alpha = cairo_image_surface_get_format(s) == CAIRO_FORMAT_ARGB32;
  const uint8_t *data = cairo_image_surface_get_data(s);
  int channels = alpha ? 4 : 3;

  // Cairo keeps native-endian premultiplied words; PNG wants plain bytes.
  std::vector<uint8_t> rows((size_t)w * h * channels);
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++) {
      uint32_t px;
      memcpy(&px, data + y * stride + x * 4, 4);
      uint8_t *o = &rows[((size_t)y * w + x) * channels];
      unsigned a = alpha ? px >> 24 : 255;
      for (int k = 0; k < 3; k++) {
        unsigned v = (px >> (16 - 8 * k)) & 255;
        o[k] = (uint8_t)(a ? std::min(255u, (v * 255 + a / 2) / a) : 0);
      }
      if (alpha) o[3] = (uint8_t)a;
    }

  // Encoded in memory, then the file replaced whole.
  char *png = nullptr;
  size_t size = 0;
  FILE *f = open_memstream(&png, &size);
  bool ok = f && png_out(f, w, h, alpha, rows.data(), level);
  if (f && fclose(f) != 0) ok = false;
  ok = ok && replace_file(path.c_str(), png, size);
  free(png);
  if (!ok) throw std::runtime_error(path + ": cannot write the picture");
}

void powerup_frame_colour(int kind, double rgb[3])
{
  bool bad = powerup_table[kind].harmful;
  rgb[0] = bad ? 0.95 : 0.2;
  rgb[1] = bad ? 0.2 : 0.85;
  rgb[2] = bad ? 0.2 : 0.3;
}

void draw_icon(cairo_t *cr, const Artwork &art, int kind, double x, double y, double size)
{
  cairo_save(cr);
  cairo_new_path(cr);
  if (kind >= 1 && kind <= POWERUP_KINDS && art.icons[kind]) {
    cairo_surface_t *icon = art.icons[kind];
    double w = cairo_image_surface_get_width(icon), h = cairo_image_surface_get_height(icon);
    cairo_translate(cr, x, y);
    cairo_scale(cr, size / w, size / h);
    cairo_set_source_surface(cr, icon, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
  } else {
    // Stand-in: a framed disc with the kind's number.
    double rgb[3];
    powerup_frame_colour(kind, rgb);
    cairo_arc(cr, x + size / 2, y + size / 2, size * 0.45, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.15);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, rgb[0], rgb[1], rgb[2]);
    cairo_set_line_width(cr, size * 0.08);
    cairo_stroke(cr);
    char num[4];
    snprintf(num, sizeof num, "%d", kind);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, size * 0.45);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, num, &ext);
    cairo_move_to(cr, x + size / 2 - ext.width / 2 - ext.x_bearing, y + size / 2 + ext.height / 2);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_show_text(cr, num);
    cairo_new_path(cr);
  }
  cairo_restore(cr);
}
