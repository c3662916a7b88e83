// The level-set file: a header of counts and texts, the levels as six grid
// arrays each, then the brick textures the levels use; and small file helpers.
#include "levelc.h"

#include "files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/stat.h>

// Copies a text into a fixed, NUL-filled header field.
static void put_text(char *field, const std::string &text)
{
  memset(field, 0, TEXT_FIELD);
  memcpy(field, text.data(), std::min(text.size(), (size_t)TEXT_FIELD - 1));
}

// Fills a level record from a compiled level; row and column 0 stay zero.
static void pack_level(const Level &lv, set_level_record &rec)
{
  memset(&rec, 0, sizeof rec);
  for (int r = 1; r <= GRID_ROWS; r++)
    for (int c = 1; c <= GRID_ROWS; c++) {
      const Cell &cell = lv.cell[r][c];
      int i = grid_index(r, c);
      rec.block[LEVEL_TEXTURES].grid.cells[i] = cell.texture;
      rec.block[LEVEL_RED].grid.cells[i] = cell.red;
      rec.block[LEVEL_GREEN].grid.cells[i] = cell.green;
      rec.block[LEVEL_BLUE].grid.cells[i] = cell.blue;
      rec.block[LEVEL_TYPES].grid.cells[i] = cell.type;
      rec.block[LEVEL_POWERUPS].grid.cells[i] = cell.powerup;
    }
}

void write_level_set(const LevelSet &set, const std::vector<std::vector<uint8_t>> &textures,
                     const std::string &path)
{
  if ((int)textures.size() < set.texture_count)
    throw std::runtime_error(set.source + ": uses texture " + std::to_string(set.texture_count) +
                             " but only " + std::to_string(textures.size()) + " exist");
  std::vector<uint8_t> out(level_set_bytes((long)set.levels.size(), set.texture_count), 0);
  uint8_t *p = out.data();

  level_set_header head;
  memset(&head, 0, sizeof head);
  head.level_count = (int32_t)set.levels.size();
  head.texture_count = set.texture_count;
  put_text(head.set_title, set.title);
  put_text(head.author_name, set.author);
  put_text(head.description_text, set.description);
  memcpy(p, &head, sizeof head);
  p += SET_HEADER_BYTES;

  auto rec = std::make_unique<set_level_record>();
  for (const Level &lv : set.levels) {
    pack_level(lv, *rec);
    memcpy(p, rec.get(), sizeof *rec);
    p += sizeof *rec;
  }
  for (int t = 0; t < set.texture_count; t++) {
    set_texture_record tex;
    memset(&tex, 0, sizeof tex);
    memcpy(tex.rgb, textures[t].data(), BRICK_TEX_BYTES);
    memcpy(p, &tex, sizeof tex);
    p += sizeof tex;
  }
  write_file(path, out.data(), out.size());
}

std::vector<std::vector<uint8_t>> read_brick_textures(const std::string &folder)
{
  std::vector<std::vector<uint8_t>> list;
  for (int k = 1;; k++) {
    std::string path = folder + "/b" + std::to_string(k) + ".raw";
    if (!file_exists(path)) break;
    std::vector<uint8_t> data = read_file(path);
    if (data.size() != (size_t)BRICK_TEX_BYTES)
      throw std::runtime_error(path + ": a brick texture must be " + std::to_string(BRICK_TEX_BYTES) +
                               " bytes, this one is " + std::to_string(data.size()));
    list.push_back(std::move(data));
  }
  return list;
}

std::vector<uint8_t> read_file(const std::string &path)
{
  FILE *f = fopen(path.c_str(), "rb");
  if (!f) throw std::runtime_error(path + ": " + strerror(errno));
  std::vector<uint8_t> data;
  uint8_t buf[65536];
  for (size_t n; (n = fread(buf, 1, sizeof buf, f)) > 0;) data.insert(data.end(), buf, buf + n);
  bool bad = ferror(f);
  fclose(f);
  if (bad) throw std::runtime_error(path + ": read error");
  return data;
}

void write_file(const std::string &path, const void *data, size_t size)
{
  if (!replace_file(path.c_str(), data, size))
    throw std::runtime_error(path + ": cannot write the file: " + strerror(errno));
}

void make_folder(const std::string &path)
{
  for (size_t i = 1; i <= path.size(); i++)
    if (i == path.size() || path[i] == '/') {
      std::string part = path.substr(0, i);
      if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST)
        throw std::runtime_error(part + ": " + strerror(errno));
    }
}

bool file_exists(const std::string &path)
{
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}
