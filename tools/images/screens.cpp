// Full-screen pictures: the title screen behind the main menu and the credits
// screen, 1280 x 960 (4:3), with their texts read from data/images/.
#include "images.h"

#include <cmath>
#include <cstdio>
#include <utility>

// ---- constants -------------------------------------------------------------

static const double W = SCREEN_W, H = SCREEN_H;
static const double TITLE_HORIZON = 700;    // the floor starts below the menu band
static const double CREDITS_HORIZON = 830;
static const double BRICK_ROW_W = 80, BRICK_ROW_H = 40;  // bricks along the top edge

// One "kind: text" line of a text source.
using Entry = std::pair<std::string, std::string>;

// ---- text sources ----------------------------------------------------------------

// Reads the entries of a text source, skipping blank lines and # comments.
static bool read_entries(const std::string &path, std::vector<Entry> &entries)
{
  std::vector<std::string> lines;
  if (!read_lines(path, lines)) {
    fprintf(stderr, "corvale_images: cannot read %s\n", path.c_str());
    return false;
  }
  for (const std::string &line : lines) {
    if (line.empty() || line[0] == '#') continue;
    size_t colon = line.find(':');
    if (colon == std::string::npos) {
      fprintf(stderr, "corvale_images: %s: no kind in \"%s\"\n", path.c_str(), line.c_str());
      return false;
    }
    size_t start = line.find_first_not_of(' ', colon + 1);
    entries.push_back({line.substr(0, colon), start == std::string::npos ? "" : line.substr(start)});
  }
  return true;
}

// The text of the first entry of a kind, or "" if there is none.
static std::string entry_text(const std::vector<Entry> &entries, const char *kind)
{
  for (const Entry &e : entries)
    if (e.first == kind) return e.second;
  return "";
}

// ---- glow ----------------------------------------------------------------------

// Adds a soft glow of colour col around the current path, which it consumes.
// Only the path's neighbourhood is blurred.
static void glow_path(Canvas &c, Colour col, double width, int blur, double strength)
{
  cairo_save(c.cr);
  cairo_set_line_width(c.cr, width);
  double x0, y0, x1, y1;
  cairo_stroke_extents(c.cr, &x0, &y0, &x1, &y1);
  cairo_restore(c.cr);
  double margin = 3.0 * blur + 2;
  x0 = std::floor(x0 - margin), y0 = std::floor(y0 - margin);
  Canvas g((int)std::ceil(x1 + margin - x0), (int)std::ceil(y1 + margin - y0));
  cairo_path_t *path = cairo_copy_path(c.cr);
  cairo_new_path(c.cr);
  cairo_translate(g.cr, -x0, -y0);
  cairo_append_path(g.cr, path);
  cairo_path_destroy(path);
  set_colour(g.cr, col);
  cairo_set_line_width(g.cr, width);
  cairo_set_line_join(g.cr, CAIRO_LINE_JOIN_ROUND);
  cairo_fill_preserve(g.cr);
  cairo_stroke(g.cr);
  canvas_blur(g, blur);
  cairo_set_operator(c.cr, CAIRO_OPERATOR_ADD);
  cairo_set_source_surface(c.cr, g.surface, x0, y0);
  cairo_paint_with_alpha(c.cr, strength);
  cairo_set_operator(c.cr, CAIRO_OPERATOR_OVER);
}

// ---- backdrop ------------------------------------------------------------------

// Night sky with haze and stars down to the horizon.
static Colour sky(double x, double y, double horizon)
{
  double t = clamp01(y / horizon);
  Colour c = mix({0.01, 0.01, 0.06}, {0.10, 0.03, 0.20}, t * t);
  double haze = fractal_noise(x / 260, y / 200, 5, 5, 4, 501);
  c = mix(c, {0.16, 0.05, 0.30}, 0.5 * smoothstep(0.5, 0.85, haze) * (1 - t * 0.5));
  int cx = (int)(x / 22), cy = (int)(y / 22);
  for (int j = cy - 1; j <= cy + 1; j++)
    for (int i = cx - 1; i <= cx + 1; i++) {
      if (hash01(i, j, 502) < 0.62) continue;
      double sx = i * 22 + 22 * hash01(i, j, 503), sy = j * 22 + 22 * hash01(i, j, 504);
      double d = std::hypot(x - sx, y - sy), size = 0.5 + 1.1 * std::pow(hash01(i, j, 505), 3);
      double k = std::exp(-d * d / (size * size)) * (1 - t * 0.7);
      c = mix(c, {0.9, 0.92, 1.0}, clamp01(k));
    }
  return c;
}

// The glowing perspective grid of the floor below the horizon.
static void floor_grid(cairo_t *cr, double horizon)
{
  cairo_rectangle(cr, 0, horizon, W, H - horizon);
  cairo_pattern_t *ground = cairo_pattern_create_linear(0, horizon, 0, H);
  cairo_pattern_add_color_stop_rgb(ground, 0, 0.12, 0.02, 0.18);
  cairo_pattern_add_color_stop_rgb(ground, 1, 0.02, 0.0, 0.05);
  cairo_set_source(cr, ground);
  cairo_fill(cr);
  cairo_pattern_destroy(ground);

  cairo_push_group(cr);
  for (double z = 1.0; (H - horizon) / z > 3; z *= 1.28) {
    double y = horizon + (H - horizon) / z;
    cairo_move_to(cr, 0, y);
    cairo_line_to(cr, W, y);
  }
  for (int i = -14; i <= 14; i++) {
    cairo_move_to(cr, W / 2, horizon);
    cairo_line_to(cr, W / 2 + i * 190 * 2.0, horizon + (H - horizon) * 2.0);
  }
  cairo_set_source_rgb(cr, 1.0, 0.25, 0.85);
  cairo_set_line_width(cr, 2.2);
  cairo_stroke(cr);
  cairo_pattern_t *lines = cairo_pop_group(cr);
  cairo_pattern_t *fade = cairo_pattern_create_linear(0, horizon, 0, H);
  cairo_pattern_add_color_stop_rgba(fade, 0, 0, 0, 0, 0.05);
  cairo_pattern_add_color_stop_rgba(fade, 1, 0, 0, 0, 0.75);
  cairo_save(cr);
  cairo_rectangle(cr, 0, horizon, W, H - horizon);
  cairo_clip(cr);
  cairo_set_source(cr, lines);
  cairo_mask(cr, fade);
  cairo_restore(cr);
  cairo_pattern_destroy(fade);
  cairo_pattern_destroy(lines);

  cairo_rectangle(cr, 0, horizon - 40, W, 60);
  cairo_pattern_t *glow = cairo_pattern_create_linear(0, horizon - 40, 0, horizon + 20);
  cairo_pattern_add_color_stop_rgba(glow, 0, 1.0, 0.3, 0.6, 0);
  cairo_pattern_add_color_stop_rgba(glow, 0.67, 1.0, 0.45, 0.55, 0.45);
  cairo_pattern_add_color_stop_rgba(glow, 1, 1.0, 0.3, 0.6, 0);
  cairo_set_source(cr, glow);
  cairo_fill(cr);
  cairo_pattern_destroy(glow);
}

// Two rows of tinted bricks along the top edge, a few knocked out.
static void brick_rows(cairo_t *cr, const std::vector<Output> &out, int rows)
{
  static const Colour tints[] = {{1, 0.3, 0.3}, {1, 0.62, 0.2}, {1, 0.95, 0.3}, {0.35, 1, 0.4},
                                 {0.3, 0.8, 1}, {0.5, 0.45, 1}, {0.95, 0.4, 1}};
  std::vector<const Picture *> looks;
  for (const Output &o : out)
    if (o.kind == RAW_BRICK) looks.push_back(&o.pic);
  if (looks.empty()) return;
  int columns = (int)(W / BRICK_ROW_W);
  for (int r = 0; r < rows; r++)
    for (int k = 0; k < columns; k++) {
      if (hash01(k, r, 511) < 0.14 + 0.1 * r) continue;
      // Mostly plain bricks (texture 1), every fourth one studded (texture 7).
      bool studded = (k + r * 3) % 4 == 0 && looks.size() >= 7;
      const Picture *pic = looks[studded ? 6 : 0];
      double x = k * BRICK_ROW_W, y = r * BRICK_ROW_H;
      paint_picture(cr, *pic, x, y, BRICK_ROW_W, BRICK_ROW_H, tints[(k + 2 * r) % 7]);
    }
}

// A bright ball on the right with the glowing trail of its last bounces.
static void ball_trail(Canvas &c, double x, double y)
{
  Canvas g(c.w, c.h);
  cairo_move_to(g.cr, W - 60, 520);
  cairo_line_to(g.cr, W - 8, 330);
  cairo_line_to(g.cr, x, y);
  cairo_set_line_width(g.cr, 10);
  cairo_set_line_join(g.cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_source_rgba(g.cr, 0.3, 0.9, 1.0, 0.8);
  cairo_stroke(g.cr);
  cairo_arc(g.cr, x, y, 26, 0, 2 * M_PI);
  cairo_set_source_rgb(g.cr, 0.5, 0.95, 1.0);
  cairo_fill(g.cr);
  canvas_blur(g, 10);
  cairo_set_operator(c.cr, CAIRO_OPERATOR_ADD);
  cairo_set_source_surface(c.cr, g.surface, 0, 0);
  cairo_paint(c.cr);
  cairo_set_operator(c.cr, CAIRO_OPERATOR_OVER);
  cairo_arc(c.cr, x, y, 13, 0, 2 * M_PI);
  cairo_pattern_t *p = cairo_pattern_create_radial(x - 4, y - 5, 1, x, y, 13);
  cairo_pattern_add_color_stop_rgb(p, 0, 1, 1, 1);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.55, 0.8, 0.95);
  cairo_set_source(c.cr, p);
  cairo_fill(c.cr);
  cairo_pattern_destroy(p);
}

// The game's paddle resting on the floor, with its glow on the grid.
static void floor_paddle(Canvas &c, const std::vector<Output> &out)
{
  for (const Output &o : out)
    if (o.path == "paddles/p1.png") {
      const double w = 240, h = 36, x = W / 2 - w / 2, y = H - 92;
      cairo_save(c.cr);
      cairo_translate(c.cr, W / 2, y + h + 8);
      cairo_scale(c.cr, w * 0.75, 18);
      cairo_arc(c.cr, 0, 0, 1, 0, 2 * M_PI);
      cairo_restore(c.cr);
      glow_path(c, {0.3, 0.8, 1.0}, 4, 14, 0.8);
      cairo_save(c.cr);
      rounded_rect(c.cr, x, y, w, h, h / 2);
      cairo_clip(c.cr);
      paint_picture(c.cr, o.pic, x, y, w, h);
      cairo_restore(c.cr);
    }
}

// ---- lettering -------------------------------------------------------------------

// Chrome lettering centred on x with its baseline at y: glow, extruded depth,
// outline and a sky-to-sunset gradient split at the middle.
static void chrome_text(Canvas &c, const std::string &text, double size, double x, double y)
{
  cairo_t *cr = c.cr;
  set_font(cr, FONT_WIDE, size, true);
  cairo_text_extents_t e;
  cairo_text_extents(cr, text.c_str(), &e);
  double top = y + e.y_bearing, bottom = y + e.y_bearing + e.height;
  centred_text_path(cr, text.c_str(), x, y);
  glow_path(c, {1.0, 0.2, 0.7}, size * 0.12, (int)(size * 0.08) + 2, 0.85);
  int depth = (int)(size * 0.06) + 1;
  for (int k = depth; k >= 1; k--) {
    centred_text_path(cr, text.c_str(), x + k * 0.5, y + k);
    set_colour(cr, mix({0.25, 0.05, 0.35}, {0.06, 0.01, 0.10}, (double)k / depth));
    cairo_fill(cr);
  }
  centred_text_path(cr, text.c_str(), x, y);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  set_colour(cr, {0.02, 0.02, 0.08});
  cairo_set_line_width(cr, std::max(3.0, size * 0.05));
  cairo_stroke_preserve(cr);
  cairo_pattern_t *g = cairo_pattern_create_linear(0, top, 0, bottom);
  cairo_pattern_add_color_stop_rgb(g, 0.00, 0.92, 0.98, 1.00);
  cairo_pattern_add_color_stop_rgb(g, 0.50, 0.35, 0.62, 1.00);
  cairo_pattern_add_color_stop_rgb(g, 0.52, 0.10, 0.08, 0.30);
  cairo_pattern_add_color_stop_rgb(g, 0.60, 0.50, 0.18, 0.62);
  cairo_pattern_add_color_stop_rgb(g, 1.00, 1.00, 0.78, 0.55);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.55);
  cairo_set_line_width(cr, std::max(1.0, size * 0.012));
  cairo_stroke(cr);
}

// Plain lettering with a glow, centred on x with its baseline at y.
static void glowing_text(Canvas &c, const std::string &text, const char *family, double size,
                         bool bold, Colour fill, Colour glow, double x, double y)
{
  set_font(c.cr, family, size, bold);
  centred_text_path(c.cr, text.c_str(), x, y);
  glow_path(c, glow, size * 0.08, (int)(size * 0.12) + 2, 0.7);
  set_font(c.cr, family, size, bold);
  centred_text_path(c.cr, text.c_str(), x, y);
  set_colour(c.cr, {0.02, 0.02, 0.08});
  cairo_set_line_width(c.cr, std::max(2.0, size * 0.06));
  cairo_set_line_join(c.cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke_preserve(c.cr);
  set_colour(c.cr, fill);
  cairo_fill(c.cr);
}

// Text widened by spaces between letters, for the tagline.
static std::string spaced(const std::string &s)
{
  std::string out;
  for (char ch : s) {
    if (!out.empty()) out += ' ';
    out += ch;
  }
  return out;
}

// ---- the screens -----------------------------------------------------------------

static Picture title_screen(const std::vector<Output> &out, const std::vector<Entry> &texts)
{
  Canvas c(SCREEN_W, SCREEN_H);
  canvas_shade(c, [](double x, double y) { return sky(x, y, TITLE_HORIZON); });
  floor_grid(c.cr, TITLE_HORIZON);
  brick_rows(c.cr, out, 2);
  ball_trail(c, 1196, 112);
  floor_paddle(c, out);

  // The menu's icons and labels lie in the band below the middle: keep it calm.
  cairo_rectangle(c.cr, 0, 440, W, 270);
  cairo_pattern_t *calm = cairo_pattern_create_linear(0, 440, 0, 710);
  cairo_pattern_add_color_stop_rgba(calm, 0, 0, 0, 0.03, 0);
  cairo_pattern_add_color_stop_rgba(calm, 0.25, 0, 0, 0.03, 0.35);
  cairo_pattern_add_color_stop_rgba(calm, 0.85, 0, 0, 0.03, 0.35);
  cairo_pattern_add_color_stop_rgba(calm, 1, 0, 0, 0.03, 0);
  cairo_set_source(c.cr, calm);
  cairo_fill(c.cr);
  cairo_pattern_destroy(calm);

  chrome_text(c, entry_text(texts, "name"), 176, W / 2, 305);
  glowing_text(c, spaced(entry_text(texts, "tagline")), FONT_SANS, 27, true, {1.0, 0.86, 0.38},
               {1.0, 0.45, 0.1}, W / 2, 392);
  return canvas_picture(c);
}

static Picture credits_screen(const std::vector<Output> &out, const std::vector<Entry> &texts)
{
  Canvas c(SCREEN_W, SCREEN_H);
  canvas_shade(c, [](double x, double y) { return sky(x, y, CREDITS_HORIZON); });
  floor_grid(c.cr, CREDITS_HORIZON);
  brick_rows(c.cr, out, 1);

  double y = 150;
  for (const Entry &e : texts) {
    const std::string &kind = e.first;
    if (kind == "title") {
      chrome_text(c, e.second, 60, W / 2, y);
      y += 60;
    } else if (kind == "version") {
      glowing_text(c, e.second, FONT_SANS, 28, true, {0.7, 0.92, 1.0}, {0.2, 0.5, 1.0}, W / 2, y);
      y += 40;
    } else if (kind == "gap") {
      y += 28;
    } else if (kind == "heading") {
      glowing_text(c, e.second, FONT_SANS, 25, true, {1.0, 0.84, 0.35}, {1.0, 0.4, 0.1}, W / 2, y);
      y += 34;
    } else if (kind == "line") {
      glowing_text(c, e.second, FONT_SANS, 24, false, grey(0.95), {0.4, 0.3, 1.0}, W / 2, y);
      y += 48;
    } else if (kind == "footer") {
      set_font(c.cr, FONT_SANS, 30, true);
      cairo_text_extents_t ext;
      cairo_text_extents(c.cr, e.second.c_str(), &ext);
      double w = ext.x_advance + 60, fy = H - 70;
      rounded_rect(c.cr, W / 2 - w / 2, fy - 38, w, 54, 27);
      glow_path(c, {1.0, 0.3, 0.8}, 6, 8, 0.9);
      rounded_rect(c.cr, W / 2 - w / 2, fy - 38, w, 54, 27);
      set_colour(c.cr, {0.08, 0.02, 0.16}, 0.85);
      cairo_fill_preserve(c.cr);
      set_colour(c.cr, {1.0, 0.55, 0.9});
      cairo_set_line_width(c.cr, 3);
      cairo_stroke(c.cr);
      glowing_text(c, e.second, FONT_SANS, 30, true, {1.0, 0.95, 0.6}, {1.0, 0.5, 0.1}, W / 2, fy);
    }
  }
  return canvas_picture(c);
}

// Puts the game's version in place of "@VERSION@" in every entry's text.
static void fill_in_version(std::vector<Entry> &entries, const std::string &version)
{
  static const std::string mark = "@VERSION@";
  for (Entry &e : entries)
    for (size_t at; (at = e.second.find(mark)) != std::string::npos;)
      e.second.replace(at, mark.size(), version);
}

bool make_screens(std::vector<Output> &out, const std::string &data_dir, const std::string &version)
{
  std::vector<Entry> title, credits;
  if (!read_entries(data_dir + "/title.txt", title) ||
      !read_entries(data_dir + "/credits.txt", credits))
    return false;
  fill_in_version(title, version);
  fill_in_version(credits, version);
  Picture t = title_screen(out, title), c = credits_screen(out, credits);
  out.push_back({"graphics/title1280.png", OPAQUE_PNG, std::move(t)});
  out.push_back({"graphics/credits.png", OPAQUE_PNG, std::move(c)});
  return true;
}
