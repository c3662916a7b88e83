// Files of the image generator: 8-bit RGB(A) PNG and raw brick writers that replace
// a file only when its new bytes are complete, and the reader of text sources.
#include "images.h"

#include "files.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <png.h>
#include <sys/stat.h>

// Creates every folder on the way to path's last component.
static void make_parents(const std::string &path)
{
  for (size_t at = path.find('/', 1); at != std::string::npos; at = path.find('/', at + 1))
    mkdir(path.substr(0, at).c_str(), 0755);
}

// Writes the PNG stream to an open file; false when libpng reports an error.
static bool png_stream(FILE *f, const Picture &pic)
{
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return false;
  }
  png_init_io(png, f);
  png_set_compression_level(png, 6);
  bool with_alpha = !pic.alpha.empty();
  png_set_IHDR(png, info, pic.w, pic.h, 8, with_alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<uint8_t> row((size_t)pic.w * 4);
  for (int y = 0; y < pic.h; y++) {
    const uint8_t *rgb = &pic.rgb[(size_t)y * pic.w * 3];
    if (!with_alpha) {
      png_write_row(png, rgb);
      continue;
    }
    for (int x = 0; x < pic.w; x++) {
      for (int k = 0; k < 3; k++) row[x * 4 + k] = rgb[x * 3 + k];
      row[x * 4 + 3] = pic.alpha[(size_t)y * pic.w + x];
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

// Makes the file's bytes in memory with body, then replaces path whole.
static bool write_replacing(const std::string &path, const std::function<bool(FILE *)> &body)
{
  make_parents(path);
  char *bytes = nullptr;
  size_t size = 0;
  FILE *f = open_memstream(&bytes, &size);
  bool ok = f && body(f);
  if (f && fclose(f) != 0) ok = false;
  ok = ok && replace_file(path.c_str(), bytes, size);
  if (!ok) fprintf(stderr, "corvale_images: cannot write %s: %s\n", path.c_str(), strerror(errno));
  free(bytes);
  return ok;
}

bool write_png(const std::string &path, const Picture &pic)
{
  return write_replacing(path, [&](FILE *f) { return png_stream(f, pic); });
}

// Writes a 64 x 32 texture as its 6144 bytes, first row first.
static bool write_raw(const std::string &path, const Picture &pic)
{
  if (pic.w != BRICK_TEX_W || pic.h != BRICK_TEX_H) {
    fprintf(stderr, "corvale_images: %s is %d x %d, not a brick texture\n", path.c_str(), pic.w, pic.h);
    return false;
  }
  return write_replacing(path, [&](FILE *f) {
    return fwrite(pic.rgb.data(), 1, BRICK_TEX_BYTES, f) == (size_t)BRICK_TEX_BYTES;
  });
}

bool write_output(const std::string &game_dir, const Output &o)
{
  std::string path = game_dir + "/" + o.path;
  if (o.kind == RAW_BRICK) return write_raw(path, o.pic);
  if (o.kind == SPRITE_PNG && o.pic.w * o.pic.h > SPRITE_MAX_PIXELS) {
    fprintf(stderr, "corvale_images: %s has more than %d pixels\n", path.c_str(), SPRITE_MAX_PIXELS);
    return false;
  }
  return write_png(path, o.pic);
}

bool read_lines(const std::string &path, std::vector<std::string> &lines)
{
  std::ifstream in(path);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return true;
}
