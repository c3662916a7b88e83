// The generated images and brick textures in the game folder: the formats the
// texture loaders need, transparent-mode shapes, seamless tiles, repeatable output.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <png.h>
#include <string>
#include <vector>

#include "command.h"
#include "formats.h"
#include "gui_icons.h"
#include "player_folder.h"

namespace {

const std::string game = CORVALE_GAME_DIR;

// Every fixed PNG the loaders open, by their paths below the game folder.
const char *const opaque_images[] = {
  "graphics/title1280.png", "graphics/ed.png", "paddles/p1.png", "graphics/fire.png",
  "graphics/credits.png", "graphics/walls.png",
};
std::vector<std::string> transparent_images()
{
  std::vector<std::string> v = {"graphics/pointer.png", "graphics/ball.png", "graphics/glow.png",
                                "graphics/buttons/visible2.png", "graphics/buttons/visible3.png"};
  for (const gui_icon &i : GUI_ICONS) v.push_back(std::string("graphics/buttons/") + i.name + ".png");
  return v;
}

// Pixels of a PNG as packed RGB rows, top row first, and the file's own format.
struct Pixels {
  int w = 0, h = 0;
  png_uint_32 file_format = 0;
  std::vector<uint8_t> rgb;
  const uint8_t *at(int x, int y) const { return &rgb[((size_t)y * w + x) * 3]; }
  bool black(int x, int y) const { const uint8_t *p = at(x, y); return !p[0] && !p[1] && !p[2]; }
};

Pixels read_pixels(const std::string &path)
{
  Pixels px;
  png_image image;
  memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return px;
  px.file_format = image.format;
  image.format = PNG_FORMAT_RGB;
  px.rgb.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, px.rgb.data(), 0, nullptr)) {
    px.rgb.clear();
    return px;
  }
  px.w = (int)image.width;
  px.h = (int)image.height;
  return px;
}

// Mean absolute difference between two columns (or two rows when rows is set).
double line_difference(const Pixels &p, int a, int b, bool rows)
{
  int n = rows ? p.w : p.h;
  double sum = 0;
  for (int i = 0; i < n; i++)
    for (int k = 0; k < 3; k++) {
      int va = rows ? p.at(i, a)[k] : p.at(a, i)[k];
      int vb = rows ? p.at(i, b)[k] : p.at(b, i)[k];
      sum += std::abs(va - vb);
    }
  return sum / (n * 3);
}

// True when the wrap-around seam is no rougher than the picture's own lines:
// within its sharpest edge, and near its typical neighbour difference.
bool seamless(const Pixels &p, bool rows)
{
  int n = rows ? p.h : p.w;
  double mean = 0, sharpest = 0;
  for (int i = 0; i + 1 < n; i++) {
    double d = line_difference(p, i, i + 1, rows);
    mean += d;
    sharpest = std::max(sharpest, d);
  }
  mean /= n - 1;
  double seam = line_difference(p, n - 1, 0, rows);
  return seam <= sharpest + 1.0 && seam <= 3.0 * mean + 2.0;
}

// Number of consecutive numbered files from 1 of a printf pattern.
int count_numbered(const char *pattern)
{
  char name[256];
  int k = 1;
  for (;; k++) {
    snprintf(name, sizeof name, pattern, k);
    if (!std::filesystem::exists(game + "/" + name)) break;
  }
  return k - 1;
}

// Every PNG the loaders open, by its path below the game folder.
std::vector<std::string> all_pngs()
{
  std::vector<std::string> all(std::begin(opaque_images), std::end(opaque_images));
  for (const std::string &t : transparent_images()) all.push_back(t);
  for (int k = 1; k <= POWERUP_KINDS; k++)
    all.push_back(std::string("graphics/powerups/") + powerup_table[k].icon + ".png");
  for (int k = 1; k <= count_numbered("graphics/backgrounds/bg%d.png"); k++)
    all.push_back("graphics/backgrounds/bg" + std::to_string(k) + ".png");
  return all;
}

}  // namespace

// ---- formats ---------------------------------------------------------------------

// The loaders take 8-bit RGB without a palette or alpha; a second run of the
// generator (below) checks that nothing in the files changes between builds.
TEST(ImageFormats, EveryImageTheLoadersNameIsAPlain8BitRgbPng)
{
  for (const std::string &name : all_pngs()) {
    Pixels p = read_pixels(game + "/" + name);
    EXPECT_FALSE(p.rgb.empty()) << name;
    EXPECT_EQ(p.file_format, (png_uint_32)PNG_FORMAT_RGB) << name;
  }
}

// ---- transparent-mode images ---------------------------------------------------

// Black is the transparent colour: the image must fit the alpha buffer, show
// something, and every black pixel must be background reached from the border,
// never a hole punched into the shape.
TEST(TransparentImages, FitTheAlphaBufferAndHaveBlackOnlyOutsideTheShape)
{
  for (const std::string &name : transparent_images()) {
    SCOPED_TRACE(name);
    Pixels p = read_pixels(game + "/" + name);
    ASSERT_FALSE(p.rgb.empty());
    EXPECT_LE(p.w * p.h, 4096);
    std::vector<char> seen((size_t)p.w * p.h, 0);
    std::vector<int> stack;
    int opaque = 0;
    for (int y = 0; y < p.h; y++)
      for (int x = 0; x < p.w; x++) {
        opaque += !p.black(x, y);
        if ((x == 0 || y == 0 || x == p.w - 1 || y == p.h - 1) && p.black(x, y)) {
          seen[(size_t)y * p.w + x] = 1;
          stack.push_back(y * p.w + x);
        }
      }
    EXPECT_GT(opaque, p.w * p.h / 8);
    while (!stack.empty()) {
      int at = stack.back();
      stack.pop_back();
      int x = at % p.w, y = at / p.w;
      const int dx[] = {1, -1, 0, 0}, dy[] = {0, 0, 1, -1};
      for (int d = 0; d < 4; d++) {
        int nx = x + dx[d], ny = y + dy[d];
        if (nx < 0 || ny < 0 || nx >= p.w || ny >= p.h) continue;
        size_t n = (size_t)ny * p.w + nx;
        if (!seen[n] && p.black(nx, ny)) seen[n] = 1, stack.push_back((int)n);
      }
    }
    int holes = 0;
    for (int y = 0; y < p.h; y++)
      for (int x = 0; x < p.w; x++) holes += p.black(x, y) && !seen[(size_t)y * p.w + x];
    EXPECT_EQ(holes, 0);
  }
}

// ---- brick textures ------------------------------------------------------------

// Bricks are tinted by their colour, so the textures must also be light and nearly grey.
TEST(BrickTextures, AreNumberedWithoutGaps6144BytesLightAndNeutral)
{
  int n = count_numbered("bricks/b%d.raw");
  EXPECT_GE(n, 24);
  for (int k = 1; k <= n; k++) {
    SCOPED_TRACE("b" + std::to_string(k));
    std::string s = file_bytes(game + "/bricks/b" + std::to_string(k) + ".raw");
    std::vector<uint8_t> d(s.begin(), s.end());
    ASSERT_EQ(d.size(), 6144u);
    double light = 0, spread = 0;
    for (size_t i = 0; i < d.size(); i += 3) {
      int hi = std::max({d[i], d[i + 1], d[i + 2]}), lo = std::min({d[i], d[i + 1], d[i + 2]});
      light += (d[i] + d[i + 1] + d[i + 2]) / 3.0;
      spread += hi - lo;
    }
    EXPECT_GT(light / 2048, 150.0);
    EXPECT_LT(spread / 2048, 50.0);
  }
}

// ---- tiles ---------------------------------------------------------------------------

// Backgrounds repeat both ways, the fire vertically, the walls both ways.
TEST(Tiles, RepeatWithoutAVisibleSeam)
{
  int n = count_numbered("graphics/backgrounds/bg%d.png");
  EXPECT_GE(n, 8);
  std::vector<std::pair<std::string, bool>> tiles = {{"graphics/fire.png", false}, {"graphics/walls.png", true}};
  for (int k = 1; k <= n; k++) tiles.push_back({"graphics/backgrounds/bg" + std::to_string(k) + ".png", true});
  for (const auto &t : tiles) {
    SCOPED_TRACE(t.first);
    Pixels p = read_pixels(game + "/" + t.first);
    ASSERT_FALSE(p.rgb.empty());
    EXPECT_TRUE(seamless(p, true));
    if (t.second) {
      EXPECT_TRUE(seamless(p, false));
    }
  }
}

// ---- generation ------------------------------------------------------------------

// A second run of the generator writes the very same bytes.
TEST(Generation, GivesTheSameBytesTwiceAndWithoutItsTextsWritesNothing)
{
  scratch_dir again;
  std::string out;
  ASSERT_EQ(run_command(CORVALE_BINARY_DIR "/tools/images/corvale_images --game '" + again.path() +
                        "' --data '" CORVALE_SOURCE_DIR "/data/images' --version '" CORVALE_VERSION "'", &out), 0)
      << out;
  std::vector<std::string> all = all_pngs();
  for (int k = 1; k <= count_numbered("bricks/b%d.raw"); k++) all.push_back("bricks/b" + std::to_string(k) + ".raw");
  for (const std::string &name : all) {
    std::string first = file_bytes(game + "/" + name);
    EXPECT_FALSE(first.empty()) << name;
    EXPECT_TRUE(first == file_bytes(again.path() + "/" + name)) << name;
  }
  // Without its text sources the generator fails and writes nothing at all.
  scratch_dir target;
  EXPECT_NE(run_command(CORVALE_BINARY_DIR "/tools/images/corvale_images --game '" + target.path() + "' --data '" +
                        target.path() + "/none' --version 0"), 0);
  EXPECT_TRUE(std::filesystem::is_empty(target.path()));
}
