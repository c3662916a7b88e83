// Level previews for the designer: each level as the player sees it beside a
// plan that shows brick types and hidden power-ups, and a contact sheet per set.
#include "levelc.h"

#include <cmath>
#include <map>

#include "field.h"

// The view of the play field at the game's depth: 4:3, x -2.76..2.76 and
// y -2.07..2.07 after the board's shift of -3 on x.
constexpr double VIEW_W = 5.52;
constexpr double VIEW_H = 4.14;

constexpr double PLAY_SCALE = 144;   // pixels per field unit in the preview
constexpr double SHEET_SCALE = 40;   // pixels per field unit on the contact sheet
constexpr int PLAN_CELL_W = 36, PLAN_CELL_H = 18;  // plan cell in pixels
constexpr int MARGIN = 16, CAPTION = 40;

// Text in the preview font.
static void text(cairo_t *cr, double x, double y, double size, bool bold, const std::string &s)
{
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
  cairo_move_to(cr, x, y);
  cairo_show_text(cr, s.c_str());
  cairo_new_path(cr);
}

// Paints a surface stretched over a rectangle, repeating it reps_x by reps_y times.
static void paint_tiled(cairo_t *cr, cairo_surface_t *s, double x, double y, double w, double h,
                        double reps_x, double reps_y)
{
  double sw = cairo_image_surface_get_width(s), sh = cairo_image_surface_get_height(s);
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, w / reps_x / sw, h / reps_y / sh);
  cairo_set_source_surface(cr, s, 0, 0);
  cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_REPEAT);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  cairo_paint(cr);
  cairo_restore(cr);
}

// Draws a brick picture over a cell rectangle.
static void paint_brick(cairo_t *cr, cairo_surface_t *brick, double x, double y, double w, double h)
{
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, w / BRICK_TEX_W, h / BRICK_TEX_H);
  cairo_set_source_surface(cr, brick, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
  cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
  cairo_paint(cr);
  cairo_restore(cr);
}

// Draws what lies behind the bricks: the background repeated 8 x 8 times and
// shaded from white at the top to black at the bottom, and the side bars.
static void draw_backdrop(cairo_t *cr, const Artwork &art, double w, double h, double scale)
{
  if (art.background) paint_tiled(cr, art.background, 0, 0, w, h, 8, 8);
  else { cairo_set_source_rgb(cr, 0.35, 0.42, 0.6); cairo_paint(cr); }
  cairo_pattern_t *shade = cairo_pattern_create_linear(0, 0, 0, h);
  cairo_pattern_add_color_stop_rgb(shade, 0, 1, 1, 1);
  cairo_pattern_add_color_stop_rgb(shade, 1, 0, 0, 0);
  cairo_set_operator(cr, CAIRO_OPERATOR_MULTIPLY);
  cairo_set_source(cr, shade);
  cairo_paint(cr);
  cairo_pattern_destroy(shade);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);

  double bar = (VIEW_W / 2 - 2.5) * scale;
  for (double bx : {0.0, w - bar}) {
    if (art.walls) paint_tiled(cr, art.walls, bx, 0, bar, h, 1.5, 4.5);
    else {
      cairo_pattern_t *steel = cairo_pattern_create_linear(bx, 0, bx + bar, 0);
      cairo_pattern_add_color_stop_rgb(steel, 0, 0.25, 0.27, 0.32);
      cairo_pattern_add_color_stop_rgb(steel, 0.5, 0.65, 0.68, 0.75);
      cairo_pattern_add_color_stop_rgb(steel, 1, 0.25, 0.27, 0.32);
      cairo_rectangle(cr, bx, 0, bar, h);
      cairo_set_source(cr, steel);
      cairo_fill(cr);
      cairo_pattern_destroy(steel);
    }
  }
}

// Pictures made once and reused: tinted bricks per look, backdrops per scale.
struct PictureCache {
  const Artwork &art;
  std::map<std::vector<int>, cairo_surface_t *> bricks;
  std::map<double, cairo_surface_t *> backdrops;
  explicit PictureCache(const Artwork &a) : art(a) {}
  ~PictureCache()
  {
    for (auto &m : bricks) cairo_surface_destroy(m.second);
    for (auto &m : backdrops) cairo_surface_destroy(m.second);
  }
  cairo_surface_t *brick(const Cell &c)
  {
    std::vector<int> key = {c.texture, c.red, c.green, c.blue, c.type};
    auto it = bricks.find(key);
    if (it != bricks.end()) return it->second;
    return bricks[key] = brick_surface(art, c);
  }
  cairo_surface_t *backdrop(double scale)
  {
    auto it = backdrops.find(scale);
    if (it != backdrops.end()) return it->second;
    int w = (int)std::ceil(VIEW_W * scale), h = (int)std::ceil(VIEW_H * scale);
    cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    cairo_t *cr = cairo_create(s);
    draw_backdrop(cr, art, VIEW_W * scale, VIEW_H * scale, scale);
    cairo_destroy(cr);
    return backdrops[scale] = s;
  }
};

// Draws the level as the game shows it at the start, into a view of the given
// scale whose top-left corner is (ox, oy).
static void draw_play_view(cairo_t *cr, const Level &lv, PictureCache &cache, double ox, double oy,
                           double scale)
{
  const Artwork &art = cache.art;
  double w = VIEW_W * scale, h = VIEW_H * scale;
  // Field point (x, y) to pixels: the field's x is shifted by -3 like the board.
  auto px = [&](double x) { return ox + (x - 3.0 + VIEW_W / 2) * scale; };
  auto py = [&](double y) { return oy + (VIEW_H / 2 - y) * scale; };

  cairo_save(cr);
  cairo_rectangle(cr, ox, oy, w, h);
  cairo_clip(cr);
  cairo_set_source_surface(cr, cache.backdrop(scale), ox, oy);
  cairo_paint(cr);

  // Shadows first, so that bricks cover them: 0.04 right and down, 30 % black.
  for (int r = 1; r <= GRID_ROWS; r++)
    for (int c = 1; c <= GRID_ROWS; c++) {
      const Cell &cell = lv.cell[r][c];
      if (!cell.texture || cell.type == BRICK_INVISIBLE) continue;
      double x = WALL_LEFT + CELL_WIDTH * (c - 1), y = CEILING - CELL_HEIGHT * (r - 1);
      cairo_rectangle(cr, px(x + 0.04), py(y - 0.04), CELL_WIDTH * scale, CELL_HEIGHT * scale);
      cairo_set_source_rgba(cr, 0, 0, 0, 0.3);
      cairo_fill(cr);
    }
  for (int r = 1; r <= GRID_ROWS; r++)
    for (int c = 1; c <= GRID_ROWS; c++) {
      const Cell &cell = lv.cell[r][c];
      if (!cell.texture || cell.type == BRICK_INVISIBLE) continue;
      double x = WALL_LEFT + CELL_WIDTH * (c - 1), y = CEILING - CELL_HEIGHT * (r - 1);
      paint_brick(cr, cache.brick(cell), px(x), py(y), CELL_WIDTH * scale, CELL_HEIGHT * scale);
    }

  // The paddle waiting in the middle, for a sense of scale.
  double pw = 0.5 * scale, ph = 0.07 * scale, pxl = px(3.0 - 0.25), pyt = py(PADDLE_TOP);
  if (art.paddle) {
    paint_tiled(cr, art.paddle, pxl, pyt, pw, ph, 1, 1);
  } else {
    cairo_rectangle(cr, pxl, pyt, pw, ph);
    cairo_set_source_rgb(cr, 0.8, 0.82, 0.9);
    cairo_fill(cr);
  }
  cairo_arc(cr, px(3.0), py(PADDLE_TOP + 0.04), 0.04 * scale, 0, 2 * M_PI);
  cairo_set_source_rgb(cr, 0.95, 0.95, 1.0);
  cairo_fill(cr);
  cairo_restore(cr);
}

// Draws the plan: every brick on a grid, invisible ones as dashed ghosts,
// multi-hit ones numbered, and power-up icons on the bricks that hold them.
static void draw_plan(cairo_t *cr, const Level &lv, PictureCache &cache, double ox, double oy)
{
  cairo_rectangle(cr, ox, oy, GRID_ROWS * PLAN_CELL_W, GRID_ROWS * PLAN_CELL_H);
  cairo_set_source_rgb(cr, 0.08, 0.08, 0.11);
  cairo_fill(cr);
  cairo_set_line_width(cr, 1);
  for (int k = 0; k <= GRID_ROWS; k++) {
    cairo_set_source_rgb(cr, 0.18, 0.18, 0.23);
    cairo_move_to(cr, ox + k * PLAN_CELL_W + 0.5, oy);
    cairo_line_to(cr, ox + k * PLAN_CELL_W + 0.5, oy + GRID_ROWS * PLAN_CELL_H);
    cairo_move_to(cr, ox, oy + k * PLAN_CELL_H + 0.5);
    cairo_line_to(cr, ox + GRID_ROWS * PLAN_CELL_W, oy + k * PLAN_CELL_H + 0.5);
    cairo_stroke(cr);
  }
  for (int r = 1; r <= GRID_ROWS; r++)
    for (int c = 1; c <= GRID_ROWS; c++) {
      const Cell &cell = lv.cell[r][c];
      if (!cell.texture) continue;
      double x = ox + (c - 1) * PLAN_CELL_W, y = oy + (r - 1) * PLAN_CELL_H;
      if (cell.type == BRICK_INVISIBLE) {
        Cell seen = cell;
        seen.type = BRICK_NORMAL;
        cairo_save(cr);
        paint_brick(cr, cache.brick(seen), x + 1, y + 1, PLAN_CELL_W - 1, PLAN_CELL_H - 1);
        cairo_rectangle(cr, x + 1, y + 1, PLAN_CELL_W - 1, PLAN_CELL_H - 1);
        cairo_set_source_rgba(cr, 0.08, 0.08, 0.11, 0.7);
        cairo_fill(cr);
        double dash[] = {3, 2};
        cairo_set_dash(cr, dash, 2, 0);
        cairo_rectangle(cr, x + 2, y + 2, PLAN_CELL_W - 3, PLAN_CELL_H - 3);
        cairo_set_source_rgb(cr, 0.85, 0.9, 1.0);
        cairo_stroke(cr);
        cairo_restore(cr);
      } else {
        paint_brick(cr, cache.brick(cell), x + 1, y + 1, PLAN_CELL_W - 1, PLAN_CELL_H - 1);
      }
      if (cell.type == BRICK_TWO_HIT || cell.type == BRICK_THREE_HIT) {
        const char *mark = cell.type == BRICK_TWO_HIT ? "2" : "3";
        cairo_set_source_rgba(cr, 0, 0, 0, 0.75);
        text(cr, x + 4, y + 14, 12, true, mark);
        cairo_set_source_rgb(cr, 1, 1, 1);
        text(cr, x + 3, y + 13, 12, true, mark);
      }
      if (cell.powerup) {
        double rgb[3];
        powerup_frame_colour(cell.powerup, rgb);
        double s = PLAN_CELL_H - 2, ix = x + PLAN_CELL_W - s - 1, iy = y + 1;
        draw_icon(cr, cache.art, cell.powerup, ix, iy, s);
        cairo_rectangle(cr, ix + 0.5, iy + 0.5, s - 1, s - 1);
        cairo_set_source_rgb(cr, rgb[0], rgb[1], rgb[2]);
        cairo_stroke(cr);
      }
    }
}

// Counts of the level's bricks by type and power-ups by kind.
struct Census {
  int bricks = 0, by_type[6] = {}, by_kind[POWERUP_KINDS + 1] = {};
};
static Census count(const Level &lv)
{
  Census n;
  for (int r = 1; r <= GRID_ROWS; r++)
    for (int c = 1; c <= GRID_ROWS; c++) {
      const Cell &cell = lv.cell[r][c];
      if (!cell.texture) continue;
      n.bricks++;
      n.by_type[cell.type]++;
      n.by_kind[cell.powerup]++;
    }
  return n;
}

// One level's preview: caption, the play view, the plan and its census.
static void write_level_preview(const LevelSet &set, int n, PictureCache &cache, const std::string &path)
{
  const Level &lv = set.levels[n - 1];
  int play_w = (int)std::ceil(VIEW_W * PLAY_SCALE), play_h = (int)std::ceil(VIEW_H * PLAY_SCALE);
  int width = MARGIN * 3 + play_w + GRID_ROWS * PLAN_CELL_W;
  int height = CAPTION + play_h + MARGIN;
  cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t *cr = cairo_create(s);
  cairo_set_source_rgb(cr, 0.12, 0.12, 0.15);
  cairo_paint(cr);

  cairo_set_source_rgb(cr, 1, 1, 1);
  text(cr, MARGIN, 27, 18, true,
       set.title + "  -  level " + std::to_string(n) + " of " + std::to_string(set.levels.size()) +
       (lv.name.empty() ? "" : ": " + lv.name));
  draw_play_view(cr, lv, cache, MARGIN, CAPTION, PLAY_SCALE);

  double plan_x = MARGIN * 2 + play_w, plan_y = CAPTION;
  draw_plan(cr, lv, cache, plan_x, plan_y);

  Census n_of = count(lv);
  std::string line = std::to_string(n_of.bricks) + " bricks:";
  for (int t : {1, 2, 5, 3, 4})
    if (n_of.by_type[t]) line += " " + std::to_string(n_of.by_type[t]) + " " + BRICK_TYPE_TABLE[t].label + ",";
  line.pop_back();
  double y = plan_y + GRID_ROWS * PLAN_CELL_H + 28;
  cairo_set_source_rgb(cr, 0.9, 0.9, 0.95);
  text(cr, plan_x, y, 14, false, line);
  y += 14;
  int column = 0;
  for (int k = 1; k <= POWERUP_KINDS; k++) {
    if (!n_of.by_kind[k]) continue;
    double x = plan_x + (column % 3) * 240, iy = y + (column / 3) * 26;
    draw_icon(cr, cache.art, k, x, iy, 22);
    cairo_set_source_rgb(cr, 0.9, 0.9, 0.95);
    text(cr, x + 28, iy + 16, 13, false,
         std::string(powerup_table[k].name) + (n_of.by_kind[k] > 1 ? "  x" + std::to_string(n_of.by_kind[k]) : ""));
    column++;
  }
  if (!column) text(cr, plan_x, y + 16, 13, false, "No power-ups.");

  cairo_destroy(cr);
  write_png(s, path, 1);
  cairo_surface_destroy(s);
}

// The set's contact sheet: every level small, in order, with its number and name.
static void write_contact_sheet(const LevelSet &set, PictureCache &cache, const std::string &path)
{
  const int columns = 6, label = 22;
  int tw = (int)std::ceil(VIEW_W * SHEET_SCALE), th = (int)std::ceil(VIEW_H * SHEET_SCALE);
  int rows = ((int)set.levels.size() + columns - 1) / columns;
  int width = MARGIN + columns * (tw + MARGIN), height = CAPTION + rows * (th + label + MARGIN);
  cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t *cr = cairo_create(s);
  cairo_set_source_rgb(cr, 0.12, 0.12, 0.15);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 1, 1, 1);
  text(cr, MARGIN, 27, 18, true, set.title + " (" + set.name + ".bls) by " + set.author);
  for (size_t i = 0; i < set.levels.size(); i++) {
    double x = MARGIN + (i % columns) * (tw + MARGIN);
    double y = CAPTION + (i / columns) * (th + label + MARGIN);
    draw_play_view(cr, set.levels[i], cache, x, y, SHEET_SCALE);
    cairo_set_source_rgb(cr, 0.9, 0.9, 0.95);
    text(cr, x, y + th + 15, 12, false, std::to_string(i + 1) + ". " + set.levels[i].name);
  }
  cairo_destroy(cr);
  write_png(s, path, 1);
  cairo_surface_destroy(s);
}

void write_previews(const LevelSet &set, const Artwork &art, const std::string &folder)
{
  make_folder(folder);
  PictureCache cache(art);
  for (size_t n = 1; n <= set.levels.size(); n++)
    write_level_preview(set, (int)n, cache, folder + "/" + set.name + "_" + std::to_string(n) + ".png");
  write_contact_sheet(set, cache, folder + "/" + set.name + "_all.png");
}
