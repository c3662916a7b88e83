// The level-set file: a header of counts and texts, the levels as six grid
// arrays each, then the brick textures the levels use; and small file helpers.
#include "levelc.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/stat.h>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "level-set records are written as little-endian memory images");

constexpr int SEPARATOR = 8;  // bytes between the records; the game skips them unread

// Header of a level-set file.
struct SetHeader {
  int32_t level_count;
  int32_t texture_count;
  char set_title[TEXT_FIELD];
  char author_name[TEXT_FIELD];
  char description_text[TEXT_FIELD];
  char padding[3];
};
static_assert(sizeof(SetHeader) == 776, "level-set header is 776 bytes");

// One grid array of a level with the separator after it.
struct GridBlock {
  int32_t cell[CELLS];  // row r, column c at r * 21 + c
  uint8_t separator[SEPARATOR];
};
static_assert(sizeof(GridBlock) == 1772, "grid block is 1764 + 8 bytes");

// The six grid arrays of one level, in file order.
enum { BLOCK_TEXTURE, BLOCK_RED, BLOCK_GREEN, BLOCK_BLUE, BLOCK_TYPE, BLOCK_POWERUP, BLOCKS };
struct LevelRecord {
  GridBlock block[BLOCKS];
};
static_assert(sizeof(LevelRecord) == 10632, "level record is 10632 bytes");

// One brick texture with the separator after it.
struct TextureRecord {
  uint8_t rgb[TEX_BYTES];
  uint8_t separator[SEPARATOR];
};
static_assert(sizeof(TextureRecord) == 6152, "texture record is 6152 bytes");

long level_set_length(int levels, int textures)
{
  return (long)sizeof(SetHeader) + SEPARATOR + (long)sizeof(LevelRecord) * levels +
         (long)sizeof(TextureRecord) * textures;
}

// Copies a text into a fixed, NUL-filled header field.
static void put_text(char *field, const std::string &text)
{
  memset(field, 0, TEXT_FIELD);
  memcpy(field, text.data(), std::min(text.size(), (size_t)TEXT_FIELD - 1));
}

// Fills a level record from a compiled level; row and column 0 stay zero.
static void pack_level(const Level &lv, LevelRecord &rec)
{
  memset(&rec, 0, sizeof rec);
  for (int r = 1; r <= GRID; r++)
    for (int c = 1; c <= GRID; c++) {
      const Cell &cell = lv.cell[r][c];
      int i = r * GRID_SIDE + c;
      rec.block[BLOCK_TEXTURE].cell[i] = cell.texture;
      rec.block[BLOCK_RED].cell[i] = cell.red;
      rec.block[BLOCK_GREEN].cell[i] = cell.green;
      rec.block[BLOCK_BLUE].cell[i] = cell.blue;
      rec.block[BLOCK_TYPE].cell[i] = cell.type;
      rec.block[BLOCK_POWERUP].cell[i] = cell.powerup;
    }
}

void write_level_set(const LevelSet &set, const std::vector<std::vector<uint8_t>> &textures,
                     const std::string &path)
{
  if ((int)textures.size() < set.texture_count)
    throw std::runtime_error(set.source + ": uses texture " + std::to_string(set.texture_count) +
                             " but only " + std::to_string(textures.size()) + " exist");
  std::vector<uint8_t> out(level_set_length((int)set.levels.size(), set.texture_count), 0);
  uint8_t *p = out.data();

  SetHeader head;
  memset(&head, 0, sizeof head);
  head.level_count = (int32_t)set.levels.size();
  head.texture_count = set.texture_count;
  put_text(head.set_title, set.title);
  put_text(head.author_name, set.author);
  put_text(head.description_text, set.description);
  memcpy(p, &head, sizeof head);
  p += sizeof head + SEPARATOR;

  auto rec = std::make_unique<LevelRecord>();
  for (const Level &lv : set.levels) {
    pack_level(lv, *rec);
    memcpy(p, rec.get(), sizeof *rec);
    p += sizeof *rec;
  }
  for (int t = 0; t < set.texture_count; t++) {
    TextureRecord tex;
    memset(&tex, 0, sizeof tex);
    memcpy(tex.rgb, textures[t].data(), TEX_BYTES);
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
    if (data.size() != (size_t)TEX_BYTES)
      throw std::runtime_error(path + ": a brick texture must be " + std::to_string(TEX_BYTES) +
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
  std::string tmp = path + ".tmp";
  FILE *f = fopen(tmp.c_str(), "wb");
  if (!f) throw std::runtime_error(tmp + ": " + strerror(errno));
  bool ok = fwrite(data, 1, size, f) == size;
  ok = (fclose(f) == 0) && ok;
  if (!ok || rename(tmp.c_str(), path.c_str()) != 0) {
    remove(tmp.c_str());
    throw std::runtime_error(path + ": cannot write the file");
  }
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
