// The manual page: copies the page and its style sheet into manual/ and makes
// every picture the page names from the game's own generated images.
#include "levelc.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <dirent.h>
#include <set>

// The brick pictures the page may show, with the brick each one draws.
struct BrickSample {
  const char *name;
  Cell cell;
};
static const BrickSample brick_samples[] = {
  {"normal",    {1, 40, 90, 127, BRICK_NORMAL, 0}},
  {"2hit",      {1, 40, 90, 127, BRICK_TWO_HIT, 0}},
  {"3hit",      {1, 40, 90, 127, BRICK_THREE_HIT, 0}},
  {"exploding", {1, 127, 120, 100, BRICK_EXPLODING, 0}},
  {"invisible", {1, 40, 90, 127, BRICK_INVISIBLE, 0}},
};

// A brick of the given kind at twice its texture size, with its drop shadow;
// an invisible brick is only hinted at by a dashed outline.
static void make_brick_picture(const Artwork &art, const Cell &cell, const std::string &path)
{
  const int w = BRICK_TEX_W * 2, h = BRICK_TEX_H * 2, shadow = 8;
  cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w + shadow, h + shadow);
  cairo_t *cr = cairo_create(s);
  if (cell.type == BRICK_INVISIBLE) {
    double dash[] = {6, 4};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_set_line_width(cr, 2);
    cairo_rectangle(cr, 1, 1, w - 2, h - 2);
    cairo_set_source_rgba(cr, 0.45, 0.5, 0.6, 1);
    cairo_stroke(cr);
  } else {
    cairo_rectangle(cr, shadow, shadow, w, h);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.3);
    cairo_fill(cr);
    cairo_surface_t *brick = brick_surface(art, cell);
    cairo_scale(cr, 2, 2);
    cairo_set_source_surface(cr, brick, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_rectangle(cr, 0, 0, BRICK_TEX_W, BRICK_TEX_H);
    cairo_fill(cr);
    cairo_surface_destroy(brick);
  }
  cairo_destroy(cr);
  write_png(s, path, 9);
  cairo_surface_destroy(s);
}

// A GUI icon for the page: the game treats pure black as transparent, so the
// copy gets an alpha channel that says the same.
static void make_button_picture(const std::string &from, const std::string &path)
{
  cairo_surface_t *src = cairo_image_surface_create_from_png(from.c_str());
  if (cairo_surface_status(src) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(src);
    throw std::runtime_error(from + ": cannot read the picture");
  }
  int w = cairo_image_surface_get_width(src), h = cairo_image_surface_get_height(src);
  cairo_surface_t *out = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_surface_flush(src);
  cairo_surface_flush(out);
  const uint8_t *in = cairo_image_surface_get_data(src);
  uint8_t *dst = cairo_image_surface_get_data(out);
  int sin = cairo_image_surface_get_stride(src), sout = cairo_image_surface_get_stride(out);
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++) {
      uint32_t px;
      memcpy(&px, in + y * sin + x * 4, 4);
      px = (px & 0xffffff) ? (px | 0xff000000u) : 0;
      memcpy(dst + y * sout + x * 4, &px, 4);
    }
  cairo_surface_mark_dirty(out);
  write_png(out, path, 9);
  cairo_surface_destroy(out);
  cairo_surface_destroy(src);
}

// Copies a file byte for byte.
static void copy_file(const std::string &from, const std::string &to)
{
  std::vector<uint8_t> data = read_file(from);
  write_file(to, data.data(), data.size());
}

// Every src="..." of the page, in order of appearance, without repeats.
static std::vector<std::string> pictures_named(const std::string &html)
{
  std::vector<std::string> list;
  std::set<std::string> seen;
  for (size_t p = 0; (p = html.find("src=\"", p)) != std::string::npos;) {
    p += 5;
    size_t end = html.find('"', p);
    if (end == std::string::npos) break;
    std::string name = html.substr(p, end - p);
    if (seen.insert(name).second) list.push_back(name);
    p = end;
  }
  return list;
}

// Makes one picture the page names, from the game folder's images.
static void make_picture(const std::string &name, const std::string &game, const Artwork &art,
                         std::vector<std::string> &inputs)
{
  std::string out = game + "/manual/" + name;
  size_t slash = name.find_last_of('/');
  std::string folder = name.substr(0, slash == std::string::npos ? 0 : slash);
  std::string stem = name.substr(slash + 1, name.size() - slash - 5);
  bool png = name.size() > 4 && name.compare(name.size() - 4, 4, ".png") == 0;
  make_folder(game + "/manual/" + folder);

  if (png && folder == "images/powerups") {
    std::string from = game + "/graphics/powerups/" + stem + ".png";
    copy_file(from, out);
    inputs.push_back(from);
  } else if (png && folder == "images/buttons") {
    std::string from = game + "/graphics/buttons/" + stem + ".png";
    make_button_picture(from, out);
    inputs.push_back(from);
  } else if (png && folder == "images/bricks") {
    for (const BrickSample &b : brick_samples)
      if (stem == b.name) { make_brick_picture(art, b.cell, out); return; }
    throw std::runtime_error("manual: no brick picture called " + name);
  } else {
    throw std::runtime_error("manual: the page names " + name + ", which is not a picture made here");
  }
}

void build_manual(const std::string &source_dir, const std::string &game_dir, const Artwork &art,
                  std::vector<std::string> &inputs)
{
  make_folder(game_dir + "/manual");
  DIR *d = opendir(source_dir.c_str());
  if (!d) throw std::runtime_error(source_dir + ": cannot read the folder");
  std::vector<std::string> files;
  for (dirent *e; (e = readdir(d));)
    if (e->d_name[0] != '.' && file_exists(source_dir + "/" + e->d_name)) files.push_back(e->d_name);
  closedir(d);
  std::sort(files.begin(), files.end());
  for (const std::string &f : files) {
    copy_file(source_dir + "/" + f, game_dir + "/manual/" + f);
    inputs.push_back(source_dir + "/" + f);
  }

  std::string page = source_dir + "/index.html";
  std::vector<uint8_t> html = read_file(page);
  for (const std::string &name : pictures_named(std::string(html.begin(), html.end())))
    make_picture(name, game_dir, art, inputs);
}
