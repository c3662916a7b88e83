// Contact sheet: every generated picture laid out by family on one page, the brick
// textures also tinted as the board shows them, sprites over a checkerboard.
#include "images.h"

#include <algorithm>
#include <cmath>

// ---- constants -------------------------------------------------------------

static const int SHEET_W = 2200;     // page width in pixels
static const int MARGIN = 24;        // page margin and gap between items
static const int LABEL_H = 18;       // height of an item's caption
static const int HEADING_H = 40;     // height of a section heading

// One picture on the sheet: its output, shown size and how often it repeats.
struct Item {
  const Output *o;
  double w, h;          // size of one repeat on the sheet
  int across, down;     // repeats, to show that tiles join seamlessly
};

// A family of pictures under one heading.
struct Section {
  const char *heading;
  std::vector<Item> items;
};

// ---- drawing -----------------------------------------------------------------

// A transparent-mode picture over a checkerboard: black pixels let it show.
static void paint_sprite(cairo_t *cr, const Picture &pic, double x, double y, double w, double h)
{
  for (int j = 0; j < 8; j++)
    for (int i = 0; i < 8; i++) {
      set_colour(cr, grey(((i + j) & 1) ? 0.30 : 0.40));
      cairo_rectangle(cr, x + i * w / 8, y + j * h / 8, w / 8, h / 8);
      cairo_fill(cr);
    }
  cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pic.w, pic.h);
  cairo_surface_flush(s);
  unsigned char *data = cairo_image_surface_get_data(s);
  for (int j = 0; j < pic.h; j++)
    for (int i = 0; i < pic.w; i++) {
      const uint8_t *p = &pic.rgb[((size_t)j * pic.w + i) * 3];
      bool clear = !p[0] && !p[1] && !p[2];
      reinterpret_cast<uint32_t *>(data + j * cairo_image_surface_get_stride(s))[i] =
          clear ? 0 : 0xff000000u | (uint32_t)p[0] << 16 | (uint32_t)p[1] << 8 | p[2];
    }
  cairo_surface_mark_dirty(s);
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, w / pic.w, h / pic.h);
  cairo_set_source_surface(cr, s, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_paint(cr);
  cairo_restore(cr);
  cairo_surface_destroy(s);
}

// Draws one item at (x, y) with its caption below.
static void paint_item(cairo_t *cr, const Item &it, double x, double y)
{
  for (int j = 0; j < it.down; j++)
    for (int i = 0; i < it.across; i++) {
      double px = x + i * it.w, py = y + j * it.h;
      if (it.o->kind == SPRITE_PNG) paint_sprite(cr, it.o->pic, px, py, it.w, it.h);
      else paint_picture(cr, it.o->pic, px, py, it.w, it.h, {1, 1, 1}, true);
    }
  std::string name = it.o->path.substr(it.o->path.rfind('/') + 1);
  set_font(cr, FONT_SANS, 13, false);
  set_colour(cr, grey(0.85));
  cairo_move_to(cr, x, y + it.h * it.down + 14);
  cairo_show_text(cr, name.c_str());
}

// The brick textures as the board shows them: tinted by a few brick colours.
static void paint_tinted_bricks(cairo_t *cr, const std::vector<const Output *> &bricks, double x, double y)
{
  static const Colour tints[] = {{1, 1, 1}, {1, 0.25, 0.25}, {1, 0.7, 0.2}, {1, 1, 0.3},
                                 {0.3, 1, 0.4}, {0.3, 0.8, 1}, {0.45, 0.45, 1}, {0.9, 0.4, 1}};
  const double bw = 64, bh = 32;
  for (size_t n = 0; n < bricks.size(); n++)
    for (int t = 0; t < 8; t++) {
      double px = x + (n % 12) * bw, py = y + (n / 12) * (bh * 8 + 8) + t * bh;
      paint_picture(cr, bricks[n]->pic, px, py, bw, bh, tints[t]);
    }
}

// ---- a frame of play -------------------------------------------------------------

// Size of the mock-up of a game frame at the top of the sheet.
static const double SCENE_W = 960, SCENE_H = 720;

// The picture of an output by path, or null.
static const Picture *find(const std::vector<Output> &outputs, const std::string &path)
{
  for (const Output &o : outputs)
    if (o.path == path) return &o.pic;
  return nullptr;
}

// A picture as a cairo surface, black made transparent for sprites, tinted.
static cairo_surface_t *surface_of(const Picture &pic, bool sprite, Colour tint)
{
  cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pic.w, pic.h);
  cairo_surface_flush(s);
  unsigned char *data = cairo_image_surface_get_data(s);
  for (int j = 0; j < pic.h; j++)
    for (int i = 0; i < pic.w; i++) {
      const uint8_t *p = &pic.rgb[((size_t)j * pic.w + i) * 3];
      bool clear = sprite && !p[0] && !p[1] && !p[2];
      uint32_t r = (uint32_t)(p[0] * tint.r), g = (uint32_t)(p[1] * tint.g), b = (uint32_t)(p[2] * tint.b);
      reinterpret_cast<uint32_t *>(data + j * cairo_image_surface_get_stride(s))[i] =
          clear ? 0 : 0xff000000u | r << 16 | g << 8 | b;
    }
  cairo_surface_mark_dirty(s);
  return s;
}

// Paints a picture repeated over a rectangle, each repeat rw × rh pixels.
static void paint_repeated(cairo_t *cr, const Picture &pic, double x, double y, double w, double h,
                           double rw, double rh, double v0 = 0)
{
  cairo_surface_t *s = surface_of(pic, false, {1, 1, 1});
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  cairo_translate(cr, x, y - v0 * rh);
  cairo_scale(cr, rw / pic.w, rh / pic.h);
  cairo_set_source_surface(cr, s, 0, 0);
  cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_REPEAT);
  cairo_paint(cr);
  cairo_restore(cr);
  cairo_surface_destroy(s);
}

// Field units of the play field (z = -5, shifted by -3) to sheet pixels.
static double field_x(double x) { return (x - 3 + 2.761) / 5.522 * SCENE_W; }
static double field_y(double y) { return (2.071 - y) / 4.142 * SCENE_H; }

// A sprite centred on field point (x, y) with half-side r, tinted, blended or added.
static void paint_field_sprite(cairo_t *cr, const Picture &pic, double x, double y, double r,
                               Colour tint, bool add)
{
  cairo_surface_t *s = surface_of(pic, true, tint);
  double px = field_x(x - r), py = field_y(y + r), side = field_x(x + r) - px;
  cairo_save(cr);
  cairo_translate(cr, px, py);
  cairo_scale(cr, side / pic.w, side / pic.h);
  cairo_set_source_surface(cr, s, 0, 0);
  if (add) cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
  cairo_paint(cr);
  cairo_restore(cr);
  cairo_surface_destroy(s);
}

// Multiplies a rectangle by a vertical gradient from top to bottom colour.
static void shade_rect(cairo_t *cr, double x, double y, double w, double h, Colour top, Colour bottom)
{
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_pattern_t *g = cairo_pattern_create_linear(0, y, 0, y + h);
  cairo_pattern_add_color_stop_rgb(g, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(g, 1, bottom.r, bottom.g, bottom.b);
  cairo_set_source(cr, g);
  cairo_set_operator(cr, CAIRO_OPERATOR_MULTIPLY);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  cairo_restore(cr);
}

// The side bars: walls repeated 1.5 x 4.5, fading out away from the field.
static void paint_bar(cairo_t *cr, const Picture &walls, double inner, double outer)
{
  double x0 = field_x(std::min(inner, outer)), x1 = field_x(std::max(inner, outer));
  double y0 = field_y(2.5), y1 = field_y(-2.5);
  cairo_push_group(cr);
  paint_repeated(cr, walls, x0, y0, x1 - x0, y1 - y0, (x1 - x0) / 1.5, (y1 - y0) / 4.5);
  cairo_pattern_t *bar = cairo_pop_group(cr);
  cairo_pattern_t *fade = cairo_pattern_create_linear(field_x(inner), 0, field_x(outer), 0);
  cairo_pattern_add_color_stop_rgba(fade, 0, 0, 0, 0, 1);
  cairo_pattern_add_color_stop_rgba(fade, 1, 0, 0, 0, 0);
  cairo_set_source(cr, bar);
  cairo_mask(cr, fade);
  cairo_pattern_destroy(fade);
  cairo_pattern_destroy(bar);
}

// One brick cell (row r, column c) with its texture tinted by colour.
static void paint_cell(cairo_t *cr, const Picture &tex, int r, int c, Colour tint, double v0, double v1)
{
  double x0 = field_x(0.5 + 0.25 * (c - 1)), y0 = field_y(2.0 - 0.12 * (r - 1));
  double w = field_x(0.5 + 0.25 * c) - x0, h = field_y(2.0 - 0.12 * r) - y0;
  cairo_surface_t *s = surface_of(tex, false, tint);
  cairo_save(cr);
  cairo_rectangle(cr, x0, y0, w, h);
  cairo_clip(cr);
  cairo_translate(cr, x0, y0 - v0 * h / (v1 - v0));
  cairo_scale(cr, w / tex.w, h / (v1 - v0) / tex.h);
  cairo_set_source_surface(cr, s, 0, 0);
  cairo_paint(cr);
  cairo_restore(cr);
  cairo_surface_destroy(s);
}

// A mock-up of one frame of play drawn the way the game draws it.
static void paint_scene(cairo_t *cr, const std::vector<Output> &outputs, double ox, double oy)
{
  const Picture *bg = find(outputs, "graphics/backgrounds/bg1.png");
  const Picture *walls = find(outputs, "graphics/walls.png");
  const Picture *fire = find(outputs, "graphics/fire.png");
  const Picture *paddle = find(outputs, "paddles/p1.png");
  const Picture *ball = find(outputs, "graphics/ball.png");
  const Picture *glow = find(outputs, "graphics/glow.png");
  const Picture *pup = find(outputs, "graphics/powerups/bigball.png");
  std::vector<const Picture *> bricks;
  for (const Output &o : outputs)
    if (o.kind == RAW_BRICK) bricks.push_back(&o.pic);
  if (!bg || !walls || !fire || !paddle || !ball || !glow || !pup || bricks.empty()) return;

  cairo_save(cr);
  cairo_translate(cr, ox, oy);
  cairo_rectangle(cr, 0, 0, SCENE_W, SCENE_H);
  cairo_clip(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_paint(cr);
  // Background at z = -11: 11 x 9 units, repeated 8 x 8, white to black.
  double bx0 = (-5.5 / 6.075 + 1) / 2 * SCENE_W, bx1 = (5.5 / 6.075 + 1) / 2 * SCENE_W;
  double by0 = (4.556 - 5) / 9.111 * SCENE_H, by1 = (4.556 + 4) / 9.111 * SCENE_H;
  paint_repeated(cr, *bg, bx0, by0, bx1 - bx0, by1 - by0, (bx1 - bx0) / 8, (by1 - by0) / 8);
  shade_rect(cr, bx0, by0, bx1 - bx0, by1 - by0, grey(1), grey(0));
  paint_bar(cr, *walls, 5.5, 6.5);
  paint_bar(cr, *walls, 0.5, -0.5);

  static const Colour rows[] = {{1, 0.3, 0.3}, {1, 0.6, 0.2}, {1, 0.95, 0.3}, {0.35, 1, 0.4},
                                {0.3, 0.8, 1}, {0.45, 0.45, 1}, {0.9, 0.4, 1}, {0.9, 0.9, 0.9}};
  for (int pass = 0; pass < 2; pass++)
    for (int r = 3; r <= 10; r++)
      for (int c = 1; c <= 20; c++) {
        if ((r == 6 || r == 9) && (c % 5 == 0)) continue;
        if (pass == 0) {
          double x0 = field_x(0.54 + 0.25 * (c - 1)), y0 = field_y(1.96 - 0.12 * (r - 1));
          cairo_rectangle(cr, x0, y0, field_x(0.79) - field_x(0.54), field_y(0) - field_y(0.12));
          cairo_set_source_rgba(cr, 0, 0, 0, 0.3);
          cairo_fill(cr);
        } else if (r == 7) {
          paint_cell(cr, *fire, r, c, rows[r - 3], 0.3, 0.8);
        } else {
          paint_cell(cr, *bricks[((r - 3) * 5 + (c - 1) / 4) % bricks.size()], r, c, rows[r - 3], 0, 1);
        }
      }
  double px = 2.6, pw = 0.5;
  cairo_save(cr);
  double x0 = field_x(px), y0 = field_y(-1.5), w = field_x(px + pw) - x0, h = field_y(-1.6) - y0;
  paint_picture(cr, *paddle, x0, y0, w, h);
  shade_rect(cr, x0, y0, w, h, grey(1), grey(0.15));
  cairo_restore(cr);
  const double balls[][2] = {{2.85, -1.46}, {3.6, -0.6}, {1.9, 0.3}};
  for (const auto &b : balls) paint_field_sprite(cr, *glow, b[0], b[1], 0.08, {0, 0.2, 0}, true);
  for (const auto &b : balls) paint_field_sprite(cr, *ball, b[0], b[1], 0.04, {0.2, 1, 0.2}, false);
  paint_picture(cr, *pup, field_x(4.2), field_y(-0.2), field_x(4.45) - field_x(4.2), field_y(-0.45) - field_y(-0.2));
  cairo_restore(cr);
}

// ---- layout ------------------------------------------------------------------

// Sorts the outputs into sections with their shown sizes.
static std::vector<Section> arrange(const std::vector<Output> &outputs,
                                    std::vector<const Output *> &bricks)
{
  std::vector<Section> s = {{"Brick textures (bricks/b%d.raw, 64 x 32, shown 2x)", {}},
                            {"Power-up icons (graphics/powerups/)", {}},
                            {"GUI icons and overlays (graphics/buttons/, transparent mode, shown 2x)", {}},
                            {"Sprites and play-field images", {}},
                            {"Backgrounds (graphics/backgrounds/, each tiled 2 x 2)", {}},
                            {"Screens (graphics/title1280.png, graphics/credits.png)", {}}};
  for (const Output &o : outputs) {
    const Picture &p = o.pic;
    if (o.kind == RAW_BRICK) {
      s[0].items.push_back({&o, 128, 64, 1, 1});
      bricks.push_back(&o);
    } else if (o.path.rfind("graphics/powerups/", 0) == 0) {
      s[1].items.push_back({&o, (double)p.w, (double)p.h, 1, 1});
    } else if (o.path.rfind("graphics/buttons/", 0) == 0) {
      s[2].items.push_back({&o, p.w * 2.0, p.h * 2.0, 1, 1});
    } else if (o.path.rfind("graphics/backgrounds/", 0) == 0) {
      s[4].items.push_back({&o, p.w * 0.75, p.h * 0.75, 2, 2});
    } else if (p.w >= SCREEN_W) {
      s[5].items.push_back({&o, p.w / 2.0, p.h / 2.0, 1, 1});
    } else if (o.kind == SPRITE_PNG) {
      s[3].items.push_back({&o, p.w * 3.0, p.h * 3.0, 1, 1});
    } else if (o.path == "graphics/fire.png") {
      s[3].items.push_back({&o, (double)p.w, (double)p.h, 1, 3});
    } else if (o.path == "graphics/walls.png") {
      s[3].items.push_back({&o, p.w / 1.5, p.h / 1.5, 2, 2});
    } else {
      s[3].items.push_back({&o, (double)p.w, (double)p.h, 1, 1});
    }
  }
  return s;
}

// Lays the sections out from the top; draws them when cr is not null.
// Returns the height used.
static double lay_out(cairo_t *cr, const std::vector<Output> &outputs,
                      const std::vector<Section> &sections, const std::vector<const Output *> &bricks)
{
  double y = MARGIN;
  if (cr) {
    set_font(cr, FONT_SANS, 22, true);
    set_colour(cr, hex(0xffd060));
    cairo_move_to(cr, MARGIN, y + 26);
    cairo_show_text(cr, "A frame of play, drawn as the game draws it");
    paint_scene(cr, outputs, MARGIN, y + HEADING_H);
  }
  y += HEADING_H + SCENE_H + MARGIN;
  for (size_t k = 0; k < sections.size(); k++) {
    const Section &sec = sections[k];
    if (cr) {
      set_font(cr, FONT_SANS, 22, true);
      set_colour(cr, hex(0xffd060));
      cairo_move_to(cr, MARGIN, y + 26);
      cairo_show_text(cr, sec.heading);
    }
    y += HEADING_H;
    double x = MARGIN, row_h = 0;
    for (const Item &it : sec.items) {
      double w = it.w * it.across, h = it.h * it.down + LABEL_H;
      if (x + w > SHEET_W - MARGIN && x > MARGIN) {
        x = MARGIN;
        y += row_h + MARGIN / 2;
        row_h = 0;
      }
      if (cr) paint_item(cr, it, x, y);
      x += w + MARGIN;
      row_h = std::max(row_h, h);
    }
    y += row_h + MARGIN;
    if (k == 0 && !bricks.empty()) {
      if (cr) {
        set_font(cr, FONT_SANS, 16, false);
        set_colour(cr, grey(0.85));
        cairo_move_to(cr, MARGIN, y + 16);
        cairo_show_text(cr, "Tinted by brick colours as on the board:");
      }
      y += 28;
      if (cr) paint_tinted_bricks(cr, bricks, MARGIN, y);
      y += ((bricks.size() + 11) / 12) * (32 * 8 + 8) + MARGIN;
    }
  }
  return y;
}

Picture contact_sheet(const std::vector<Output> &outputs)
{
  std::vector<const Output *> bricks;
  std::vector<Section> sections = arrange(outputs, bricks);
  int height = (int)std::ceil(lay_out(nullptr, outputs, sections, bricks));
  Canvas c(SHEET_W, height);
  set_colour(c.cr, hex(0x1c1f26));
  cairo_paint(c.cr);
  lay_out(c.cr, outputs, sections, bricks);
  return canvas_picture(c);
}
