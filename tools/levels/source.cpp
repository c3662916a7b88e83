// Reader of the text level designs: header texts, legends of brick characters
// and 20 x 20 grids, checked line by line with errors that name file and line.
#include "levelc.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

// Texture of a legend entry that takes its level's texture.
constexpr int LEVEL_TEXTURE = 0;


// State of one source file while it is read.
struct Reader {
  std::string path;
  int line = 0;
  int texmax = 0;
  std::map<char, Brick> set_legend;    // characters defined before the first level
  std::map<char, Brick> level_legend;  // characters of the level being read
  std::map<char, int> level_lines;     // source line of each of the level's characters
  std::map<char, bool> level_used;     // which of them its grid uses
  int set_wall[3] = {COLOUR_MAX, COLOUR_MAX, COLOUR_MAX};
  int level_wall[3] = {0, 0, 0};
  int set_texture = 1;                 // texture of "level"-textured bricks, set-wide
  int level_texture = 1;               // the same for the level being read
  bool have_grid = false;
};

// Throws a SourceError for the reader's current line.
[[noreturn]] static void fail(const Reader &rd, const char *fmt, ...)
{
  char msg[512];
  va_list ap;
  va_start(ap, fmt);
  vsnprintf(msg, sizeof msg, fmt, ap);
  va_end(ap);
  throw SourceError(rd.path + ":" + std::to_string(rd.line) + ": error: " + msg);
}

// The text with leading and trailing blanks removed.
static std::string trim(const std::string &s)
{
  size_t a = 0, b = s.size();
  while (a < b && isspace((unsigned char)s[a])) a++;
  while (b > a && isspace((unsigned char)s[b - 1])) b--;
  return s.substr(a, b - a);
}

static std::string lower(std::string s)
{
  for (char &c : s) c = (char)tolower((unsigned char)c);
  return s;
}

// Parses a whole decimal number; false if the word is not one.
static bool parse_int(const std::string &w, int &out)
{
  if (w.empty() || w.size() > 9) return false;
  size_t i = (w[0] == '-') ? 1 : 0;
  if (i == w.size()) return false;
  for (size_t k = i; k < w.size(); k++)
    if (!isdigit((unsigned char)w[k])) return false;
  out = std::stoi(w);
  return true;
}

// A number in lo..hi, or a fault naming what it is.
static int number_in(const Reader &rd, const std::string &w, int lo, int hi, const char *what)
{
  int v;
  if (!parse_int(w, v)) fail(rd, "%s '%s' is not a number", what, w.c_str());
  if (v < lo || v > hi) fail(rd, "%s %d is outside %d..%d", what, v, lo, hi);
  return v;
}

// A brick type by code or word.
static int parse_type(const Reader &rd, const std::string &w)
{
  int v;
  if (parse_int(w, v)) return number_in(rd, w, 1, 5, "brick type");
  for (int t = 1; t <= BRICK_TYPES; t++)
    if (lower(w) == BRICK_TYPE_TABLE[t].word) return t;
  fail(rd, "unknown brick type '%s' (use normal, 2hit, 3hit, exploding, invisible or 1..5)",
       w.c_str());
}

// A power-up by number (0..17), by name as the help screen shows it, or "none".
static int parse_powerup(const Reader &rd, const std::string &text)
{
  std::string w = lower(trim(text));
  if (w.empty() || w == "none") return 0;
  int v;
  if (parse_int(w, v)) return number_in(rd, w, 0, POWERUP_KINDS, "power-up");
  for (int k = 1; k <= POWERUP_KINDS; k++) {
    std::string name = lower(powerup_table[k].name);
    std::string bare = name.back() == '!' ? name.substr(0, name.size() - 1) : name;
    if (w == name || w == bare) return k;
  }
  fail(rd, "unknown power-up '%s'", trim(text).c_str());
}

// A header text: printable ASCII that fits a 255-byte field with its NUL.
static std::string header_text(const Reader &rd, const std::string &key, const std::string &text)
{
  if (text.size() > TEXT_FIELD - 1)
    fail(rd, "%s is %zu characters long; at most %d fit", key.c_str(), text.size(), TEXT_FIELD - 1);
  for (char c : text)
    if ((unsigned char)c < 32 || (unsigned char)c > 126)
      fail(rd, "%s may hold only plain ASCII characters", key.c_str());
  return text;
}

// Reads the words of a line into a list.
static std::vector<std::string> words(const std::string &s)
{
  std::vector<std::string> out;
  std::istringstream in(s);
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

// The legend in force for a character: the level's own, then the set's.
static const Brick *find_brick(const Reader &rd, char c)
{
  auto it = rd.level_legend.find(c);
  if (it != rd.level_legend.end()) return &it->second;
  it = rd.set_legend.find(c);
  return it != rd.set_legend.end() ? &it->second : nullptr;
}

// "brick C type texture red green blue [power-up]" or "brick C like D [power-up]".
static void read_brick(Reader &rd, const std::string &rest, bool in_level)
{
  std::vector<std::string> w = words(rest);
  if (w.empty()) fail(rd, "brick needs a character and its settings");
  if (w[0].size() != 1) fail(rd, "brick character '%s' must be a single character", w[0].c_str());
  char c = w[0][0];
  if (c == EMPTY_CELL) fail(rd, "'%c' is the empty cell and cannot be a brick", EMPTY_CELL);
  if ((unsigned char)c < 33 || (unsigned char)c > 126)
    fail(rd, "brick character must be a visible ASCII character");
  std::map<char, Brick> &legend = in_level ? rd.level_legend : rd.set_legend;
  if (legend.count(c)) fail(rd, "brick character '%c' is defined twice", c);

  // Everything after the fixed words is the power-up, which may hold spaces.
  auto tail = [&](size_t fixed) {
    std::string s = rest;
    size_t pos = 0;
    for (size_t k = 0; k < fixed; k++) {
      pos = s.find_first_not_of(" \t", pos);
      pos = s.find_first_of(" \t", pos);
      if (pos == std::string::npos) return std::string();
    }
    return trim(s.substr(pos));
  };

  Brick b;
  if (w.size() >= 2 && lower(w[1]) == "like") {
    if (w.size() < 3 || w[2].size() != 1) fail(rd, "'like' needs the character to copy");
    const Brick *base = find_brick(rd, w[2][0]);
    if (!base) fail(rd, "brick '%c' copies '%c', which is not defined yet", c, w[2][0]);
    b = *base;
    std::string p = tail(3);
    if (!p.empty()) b.powerup = parse_powerup(rd, p);
  } else {
    if (w.size() < 6)
      fail(rd, "brick '%c' needs type, texture, red, green and blue", c);
    b.type = parse_type(rd, w[1]);
    b.texture = lower(w[2]) == "level" ? LEVEL_TEXTURE : number_in(rd, w[2], 1, rd.texmax, "texture");
    b.red = number_in(rd, w[3], 0, COLOUR_MAX, "red");
    b.green = number_in(rd, w[4], 0, COLOUR_MAX, "green");
    b.blue = number_in(rd, w[5], 0, COLOUR_MAX, "blue");
    b.powerup = parse_powerup(rd, tail(6));
  }
  legend[c] = b;
  if (in_level) rd.level_lines[c] = rd.line;
}

// "wall red green blue": the colour that Brick Wall gives to empty top-row cells.
static void read_wall(Reader &rd, const std::string &rest, int *wall)
{
  std::vector<std::string> w = words(rest);
  if (w.size() != 3) fail(rd, "wall needs red, green and blue");
  for (int k = 0; k < 3; k++) wall[k] = number_in(rd, w[k], 0, COLOUR_MAX, "wall colour");
}

// "texture N": the texture of bricks whose legend says "level".
static void read_texture(Reader &rd, const std::string &rest, int &texture)
{
  std::vector<std::string> w = words(rest);
  if (w.size() != 1) fail(rd, "texture needs one texture number");
  texture = number_in(rd, w[0], 1, rd.texmax, "texture");
}

// Reads the 20 rows that follow a "grid" line into the level.
static void read_grid(Reader &rd, std::istream &in, Level &lv)
{
  int bricks = 0;
  for (int r = 1; r <= GRID_ROWS; r++) {
    std::string row;
    if (!std::getline(in, row)) {
      rd.line++;
      fail(rd, "the file ends after grid row %d; a grid has %d rows", r - 1, GRID_ROWS);
    }
    rd.line++;
    while (!row.empty() && isspace((unsigned char)row.back())) row.pop_back();
    if ((int)row.size() != GRID_ROWS)
      fail(rd, "grid row %d has %zu characters; every row needs exactly %d", r, row.size(), GRID_ROWS);
    for (int c = 1; c <= GRID_ROWS; c++) {
      char ch = row[c - 1];
      Cell &cell = lv.cell[r][c];
      if (ch == EMPTY_CELL) {
        // Brick Wall turns the empty top-row cells into bricks that keep the
        // colour stored there, so the top row carries the level's wall colour.
        if (r == 1) { cell.red = rd.level_wall[0]; cell.green = rd.level_wall[1]; cell.blue = rd.level_wall[2]; }
        continue;
      }
      const Brick *b = find_brick(rd, ch);
      if (!b) fail(rd, "'%c' in grid row %d, column %d is not in the legend", ch, r, c);
      rd.level_used[ch] = true;
      cell.texture = b->texture == LEVEL_TEXTURE ? rd.level_texture : b->texture;
      cell.red = b->red;
      cell.green = b->green;
      cell.blue = b->blue;
      cell.type = b->type;
      cell.powerup = b->powerup;
      bricks++;
    }
  }
  if (bricks == 0) fail(rd, "the level has no bricks");
  rd.have_grid = true;
  // A level's own character that its grid never uses is most likely a slip.
  for (const auto &def : rd.level_lines)
    if (!rd.level_used.count(def.first))
      fprintf(stderr, "%s:%d: warning: brick '%c' is never used in its level\n", rd.path.c_str(),
              def.second, def.first);
}

// Closes the level being read: it must have had its grid.
static void end_level(Reader &rd, const LevelSet &set)
{
  if (!set.levels.empty() && !rd.have_grid) {
    Reader at = rd;
    at.line = set.levels.back().line;
    fail(at, "level %zu has no grid", set.levels.size());
  }
}

LevelSet read_level_source(const std::string &path, int texmax)
{
  std::ifstream in(path, std::ios::binary);
  Reader rd;
  rd.path = path;
  rd.texmax = texmax;
  if (!in) throw SourceError(path + ": cannot open the file");
  if (texmax < 1) throw SourceError(path + ": no brick textures to use");

  LevelSet set;
  set.source = path;
  size_t slash = path.find_last_of('/');
  std::string base = path.substr(slash == std::string::npos ? 0 : slash + 1);
  set.name = base.substr(0, base.find_last_of('.'));
  bool have_title = false;

  for (std::string raw; std::getline(in, raw);) {
    rd.line++;
    std::string line = trim(raw);
    if (line.empty() || line[0] == '#') continue;
    size_t sp = line.find_first_of(" \t");
    std::string key = lower(line.substr(0, sp));
    std::string rest = sp == std::string::npos ? "" : trim(line.substr(sp));
    bool in_level = !set.levels.empty();

    if (key == "title" || key == "author" || key == "description") {
      if (in_level) fail(rd, "%s belongs before the first level", key.c_str());
      std::string text = header_text(rd, key, rest);
      if (key == "title") { set.title = text; have_title = true; }
      else if (key == "author") set.author = text;
      else set.description = text;
    } else if (key == "brick") {
      if (in_level && rd.have_grid) fail(rd, "brick lines of a level go before its grid");
      read_brick(rd, rest, in_level);
    } else if (key == "wall") {
      if (in_level && rd.have_grid) fail(rd, "the wall colour of a level goes before its grid");
      read_wall(rd, rest, in_level ? rd.level_wall : rd.set_wall);
    } else if (key == "texture") {
      if (in_level && rd.have_grid) fail(rd, "the texture of a level goes before its grid");
      read_texture(rd, rest, in_level ? rd.level_texture : rd.set_texture);
    } else if (key == "level") {
      end_level(rd, set);
      if (!have_title) fail(rd, "the set needs a title before its first level");
      set.levels.emplace_back();
      set.levels.back().name = rest;
      set.levels.back().line = rd.line;
      rd.level_legend.clear();
      rd.level_lines.clear();
      rd.level_used.clear();
      for (int k = 0; k < 3; k++) rd.level_wall[k] = rd.set_wall[k];
      rd.level_texture = rd.set_texture;
      rd.have_grid = false;
    } else if (key == "grid") {
      if (!in_level) fail(rd, "a grid needs a \"level\" line before it");
      if (rd.have_grid) fail(rd, "level %zu has a second grid", set.levels.size());
      if (!rest.empty()) fail(rd, "nothing may follow \"grid\" on its line");
      read_grid(rd, in, set.levels.back());
    } else {
      fail(rd, "unknown line '%s' (expected title, author, description, brick, texture, wall, level or grid)",
           key.c_str());
    }
  }
  end_level(rd, set);
  if (set.levels.empty()) {
    rd.line = rd.line ? rd.line : 1;
    fail(rd, "the set has no levels");
  }

  for (const Level &lv : set.levels)
    for (int r = 1; r <= GRID_ROWS; r++)
      for (int c = 1; c <= GRID_ROWS; c++)
        if (lv.cell[r][c].texture > set.texture_count) set.texture_count = lv.cell[r][c].texture;
  return set;
}
