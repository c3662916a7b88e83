// The generated images and brick textures in the game folder: the formats the
// texture loaders need, transparent-mode shapes, seamless tiles, repeatable output.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <png.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

const std::string game = CORVALE_GAME_DIR;

// Every fixed PNG the loaders open, by their paths below the game folder.
const char *const opaque_images[] = {
  "graphics/title1280.png", "graphics/ed.png", "paddles/p1.png", "graphics/fire.png",
  "graphics/credits.png", "graphics/walls.png",
};
const char *const button_names[] = {
  "about", "bricks", "create", "delete", "difficulty", "edit", "exit", "grid", "hiscores",
  "level", "load", "minus", "off", "ok", "on", "play", "plus", "save", "test", "cancel",
  "powerup", "back", "gridoff", "powerupsoff", "visible", "visiblesquare", "notvisible",
};
// Power-up icons by kind 1..17 (index 0 unused).
const char *const powerup_files[18] = {
  "", "explode", "bigball", "smallball", "speedup", "slowdown", "nextboard", "death",
  "ballsplosion", "bigpaddle", "smallpaddle", "1up", "glue", "thru", "explosive", "visible",
  "line", "earthquake",
};
const int harmful_kinds[] = {3, 4, 7, 10, 16, 17};

std::vector<std::string> transparent_images()
{
  std::vector<std::string> v = {"graphics/pointer.png", "graphics/ball.png", "graphics/glow.png",
                                "graphics/buttons/visible2.png", "graphics/buttons/visible3.png"};
  for (const char *b : button_names) v.push_back(std::string("graphics/buttons/") + b + ".png");
  return v;
}

bool exists(const std::string &path)
{
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

std::vector<uint8_t> file_bytes(const std::string &path)
{
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

uint32_t be32(const uint8_t *p)
{
  return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3];
}

// A PNG's header fields and the types of its chunks, read from the bytes.
struct PngHeader {
  bool valid = false;
  uint32_t width = 0, height = 0;
  int bit_depth = 0, colour_type = 0;
  std::vector<std::string> chunks;
};

PngHeader png_header(const std::string &path)
{
  PngHeader h;
  std::vector<uint8_t> d = file_bytes(path);
  static const uint8_t sig[8] = {137, 80, 78, 71, 13, 10, 26, 10};
  if (d.size() < 33 || memcmp(d.data(), sig, 8) != 0) return h;
  for (size_t at = 8; at + 12 <= d.size();) {
    uint32_t len = be32(&d[at]);
    h.chunks.push_back(std::string((const char *)&d[at + 4], 4));
    at += 12 + len;
  }
  if (h.chunks.empty() || h.chunks[0] != "IHDR") return h;
  h.width = be32(&d[16]);
  h.height = be32(&d[20]);
  h.bit_depth = d[24];
  h.colour_type = d[25];
  h.valid = true;
  return h;
}

// Pixels of a PNG as packed RGB rows, top row first.
struct Pixels {
  int w = 0, h = 0;
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
    if (!exists(game + "/" + name)) break;
  }
  return k - 1;
}

// Mean luminance 0..255 and its standard deviation over a rectangle.
void region_light(const Pixels &p, int x0, int y0, int x1, int y1, double *mean, double *deviation)
{
  double sum = 0, sq = 0;
  int n = 0;
  for (int y = y0; y < y1; y++)
    for (int x = x0; x < x1; x++) {
      const uint8_t *c = p.at(x, y);
      double v = 0.3 * c[0] + 0.59 * c[1] + 0.11 * c[2];
      sum += v, sq += v * v, n++;
    }
  *mean = sum / n;
  *deviation = std::sqrt(std::max(0.0, sq / n - *mean * *mean));
}

// Mean absolute difference of two equally sized byte images.
double picture_difference(const std::vector<uint8_t> &a, const std::vector<uint8_t> &b)
{
  double sum = 0;
  for (size_t i = 0; i < a.size() && i < b.size(); i++) sum += std::abs(a[i] - b[i]);
  return sum / std::max<size_t>(1, a.size());
}

// Names of the files below a folder, recursively, relative to it.
void list_files(const std::string &root, const std::string &sub, std::vector<std::string> &out)
{
  DIR *d = opendir((root + "/" + sub).c_str());
  if (!d) return;
  while (dirent *e = readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    std::string rel = sub.empty() ? name : sub + "/" + name;
    struct stat st;
    if (stat((root + "/" + rel).c_str(), &st) == 0 && S_ISDIR(st.st_mode)) list_files(root, rel, out);
    else out.push_back(rel);
  }
  closedir(d);
}

}  // namespace

// ---- formats ---------------------------------------------------------------------

TEST(ImageFormats, EveryImageTheLoadersNameIsAPlain8BitRgbPng)
{
  std::vector<std::string> all(std::begin(opaque_images), std::end(opaque_images));
  for (const std::string &t : transparent_images()) all.push_back(t);
  for (int k = 1; k <= 17; k++) all.push_back(std::string("graphics/powerups/") + powerup_files[k] + ".png");
  for (int k = 1; k <= count_numbered("graphics/backgrounds/bg%d.png"); k++)
    all.push_back("graphics/backgrounds/bg" + std::to_string(k) + ".png");
  for (const std::string &name : all) {
    SCOPED_TRACE(name);
    PngHeader h = png_header(game + "/" + name);
    ASSERT_TRUE(h.valid);
    EXPECT_EQ(h.colour_type, PNG_COLOR_TYPE_RGB);
    EXPECT_EQ(h.bit_depth, 8);
    // Only image data: no time or text chunks that would change between builds.
    for (const std::string &c : h.chunks) EXPECT_TRUE(c == "IHDR" || c == "IDAT" || c == "IEND") << c;
  }
}

TEST(ImageFormats, ScreensAre4By3AndFitTheStagingBuffer)
{
  for (const char *name : {"graphics/title1280.png", "graphics/credits.png"}) {
    SCOPED_TRACE(name);
    PngHeader h = png_header(game + "/" + name);
    ASSERT_TRUE(h.valid);
    EXPECT_LE(h.width, 1280u);
    EXPECT_LE(h.height, 1024u);
    EXPECT_EQ(h.width * 3, h.height * 4);
    EXPECT_LE(h.width * h.height * 3, 4000000u);
  }
}

TEST(ImageFormats, PowerupIconsAreSquare)
{
  for (int k = 1; k <= 17; k++) {
    PngHeader h = png_header(game + "/graphics/powerups/" + powerup_files[k] + ".png");
    ASSERT_TRUE(h.valid) << powerup_files[k];
    EXPECT_EQ(h.width, h.height) << powerup_files[k];
  }
}

// ---- transparent-mode images ---------------------------------------------------

TEST(TransparentImages, FitTheAlphaBufferAndShowSomething)
{
  for (const std::string &name : transparent_images()) {
    SCOPED_TRACE(name);
    Pixels p = read_pixels(game + "/" + name);
    ASSERT_FALSE(p.rgb.empty());
    EXPECT_LE(p.w * p.h, 4096);
    int opaque = 0;
    for (int y = 0; y < p.h; y++)
      for (int x = 0; x < p.w; x++) opaque += !p.black(x, y);
    EXPECT_GT(opaque, p.w * p.h / 8);
  }
}

// Black is the transparent colour: every black pixel must be background reached
// from the border, never a hole punched into the shape.
TEST(TransparentImages, BlackOnlyOutsideTheShape)
{
  for (const std::string &name : transparent_images()) {
    SCOPED_TRACE(name);
    Pixels p = read_pixels(game + "/" + name);
    ASSERT_FALSE(p.rgb.empty());
    std::vector<char> seen((size_t)p.w * p.h, 0);
    std::vector<int> stack;
    for (int y = 0; y < p.h; y++)
      for (int x = 0; x < p.w; x++)
        if ((x == 0 || y == 0 || x == p.w - 1 || y == p.h - 1) && p.black(x, y)) {
          seen[(size_t)y * p.w + x] = 1;
          stack.push_back(y * p.w + x);
        }
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

// The game puts the pointer image's top-left corner at the mouse position.
TEST(TransparentImages, PointerTipIsAtTheTopLeftCorner)
{
  Pixels p = read_pixels(game + "/graphics/pointer.png");
  ASSERT_FALSE(p.rgb.empty());
  int tip = 0;
  for (int y = 0; y < 6; y++)
    for (int x = 0; x < 6; x++) tip += !p.black(x, y);
  EXPECT_GT(tip, 0);
}

// ---- power-ups -------------------------------------------------------------------

// The frame tells helpful from harmful kinds: red-dominant only on harmful ones.
TEST(PowerupIcons, HarmfulKindsHaveARedFrame)
{
  for (int k = 1; k <= 17; k++) {
    SCOPED_TRACE(powerup_files[k]);
    Pixels p = read_pixels(game + "/graphics/powerups/" + powerup_files[k] + ".png");
    ASSERT_FALSE(p.rgb.empty());
    const uint8_t *frame = p.at(p.w * 7 / 128, p.h / 2);
    bool red = frame[0] > frame[1] + 60;
    bool harmful = std::find(std::begin(harmful_kinds), std::end(harmful_kinds), k) != std::end(harmful_kinds);
    EXPECT_EQ(red, harmful);
  }
}

// ---- brick textures ------------------------------------------------------------

TEST(BrickTextures, AreNumberedWithoutGapsAndExactly6144Bytes)
{
  int n = count_numbered("bricks/b%d.raw");
  EXPECT_GE(n, 24);
  for (int k = 1; k <= n; k++) {
    struct stat st;
    ASSERT_EQ(stat((game + "/bricks/b" + std::to_string(k) + ".raw").c_str(), &st), 0);
    EXPECT_EQ(st.st_size, 6144) << "b" << k;
  }
}

// Bricks are tinted by their colour, so the textures must be light and nearly grey.
TEST(BrickTextures, AreLightAndMostlyNeutral)
{
  for (int k = 1; k <= count_numbered("bricks/b%d.raw"); k++) {
    SCOPED_TRACE("b" + std::to_string(k));
    std::vector<uint8_t> d = file_bytes(game + "/bricks/b" + std::to_string(k) + ".raw");
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

TEST(Tiles, BackgroundsAreNumberedWithoutGapsAndTileSeamlessly)
{
  int n = count_numbered("graphics/backgrounds/bg%d.png");
  EXPECT_GE(n, 8);
  for (int k = 1; k <= n; k++) {
    SCOPED_TRACE("bg" + std::to_string(k));
    Pixels p = read_pixels(game + "/graphics/backgrounds/bg" + std::to_string(k) + ".png");
    ASSERT_FALSE(p.rgb.empty());
    EXPECT_TRUE(seamless(p, false));
    EXPECT_TRUE(seamless(p, true));
  }
}

TEST(Tiles, FireRepeatsVerticallyAndWallsBothWays)
{
  Pixels fire = read_pixels(game + "/graphics/fire.png");
  ASSERT_FALSE(fire.rgb.empty());
  EXPECT_TRUE(seamless(fire, true));
  Pixels walls = read_pixels(game + "/graphics/walls.png");
  ASSERT_FALSE(walls.rgb.empty());
  EXPECT_TRUE(seamless(walls, true));
  EXPECT_TRUE(seamless(walls, false));
}

// ---- screens ---------------------------------------------------------------------

// Where the game draws over the title image, in its pixels: the image spans
// x -0.2755..0.2755 and y 0.21..-0.21 at z -0.5, the menu icons lie at GUI
// x 1.675..4.425, y -0.3..-0.55 (z -5), their labels and the two lines on the
// mouse buttons at z -40.
int title_u(const Pixels &p, double x, double z) { return (int)(((x * 0.5 / z) + 0.2755) / 0.551 * p.w); }
int title_v(const Pixels &p, double y, double z) { return (int)((0.21 - y * 0.5 / z) / 0.42 * p.h); }

TEST(Screens, TitleKeepsTheMenuBandAndTheMouseLinesCalm)
{
  Pixels p = read_pixels(game + "/graphics/title1280.png");
  ASSERT_FALSE(p.rgb.empty());
  double mean, deviation;
  // Icons and their labels.
  region_light(p, title_u(p, -1.325, 5), title_v(p, -0.3, 5), title_u(p, 1.425, 5), title_v(p, -6.3, 40),
               &mean, &deviation);
  EXPECT_LT(mean, 60.0);
  EXPECT_LT(deviation, 25.0);
  // "Left Mouse Button: Release ball" and "Right Mouse Button: Pause game", in white.
  region_light(p, title_u(p, -7, 40), title_v(p, 0.8, 40), title_u(p, 9, 40), title_v(p, -1.4, 40),
               &mean, &deviation);
  EXPECT_LT(mean, 60.0);
}

TEST(Screens, CreditsCarryTheGamesOwnTexts)
{
  std::ifstream in(CORVALE_SOURCE_DIR "/data/images/credits.txt");
  ASSERT_TRUE(in);
  std::string text((std::istreambuf_iterator<char>(in)), {});
  EXPECT_NE(text.find("\ntitle: Corvale by Halvard Software\n"), std::string::npos);
  EXPECT_NE(text.find("\nversion: Version 1.9R4\n"), std::string::npos);
  EXPECT_NE(text.find("\nfooter: Click anywhere to visit the Corvale page\n"), std::string::npos);
}

// ---- sprites -----------------------------------------------------------------------

// The ball is tinted by its state, so it must be light; it must also be round.
TEST(Sprites, BallIsALightDisc)
{
  Pixels p = read_pixels(game + "/graphics/ball.png");
  ASSERT_FALSE(p.rgb.empty());
  int left = 0, right = 0, top = 0, bottom = 0;
  double light = 0;
  for (int y = 0; y < p.h; y++)
    for (int x = 0; x < p.w; x++) {
      if (p.black(x, y)) continue;
      (x < p.w / 2 ? left : right)++;
      (y < p.h / 2 ? top : bottom)++;
      light += p.at(x, y)[0];
    }
  int opaque = left + right;
  // Nearly fills the inscribed circle, and no more.
  EXPECT_GT(opaque, 0.85 * M_PI * p.w * p.h / 4);
  EXPECT_LT(opaque, 1.02 * M_PI * p.w * p.h / 4);
  EXPECT_NEAR(left, right, opaque * 0.02);
  EXPECT_NEAR(top, bottom, opaque * 0.02);
  EXPECT_GT(light / opaque, 120.0);
  EXPECT_TRUE(p.black(0, 0) && p.black(p.w - 1, p.h - 1));
}

// The glow is added to the screen: bright at the centre, fading outwards.
TEST(Sprites, GlowFadesFromTheCentre)
{
  Pixels p = read_pixels(game + "/graphics/glow.png");
  ASSERT_FALSE(p.rgb.empty());
  int c = p.w / 2;
  EXPECT_GT(p.at(c, c)[1], 200);
  EXPECT_GT(p.at(c, c)[1], p.at(c + p.w / 4, c)[1]);
  EXPECT_GT(p.at(c + p.w / 4, c)[1], p.at(c + p.w * 7 / 16, c)[1]);
  EXPECT_TRUE(p.black(0, 0));
}

// The overlays lie over a brick cell (2:1) and must let the brick show around them.
TEST(Sprites, OverlaysFitABrickCellAndLeaveTheBrickVisible)
{
  for (const char *name : {"visible", "visible2", "visible3"}) {
    SCOPED_TRACE(name);
    Pixels p = read_pixels(game + "/graphics/buttons/" + name + ".png");
    ASSERT_FALSE(p.rgb.empty());
    EXPECT_EQ(p.w, 2 * p.h);
    int opaque = 0;
    for (int y = 0; y < p.h; y++)
      for (int x = 0; x < p.w; x++) opaque += !p.black(x, y);
    EXPECT_LT(opaque, p.w * p.h * 6 / 10);
  }
}

// ---- distinct looks --------------------------------------------------------------------

TEST(Distinct, EveryBrickTextureDiffersFromEveryOther)
{
  int n = count_numbered("bricks/b%d.raw");
  std::vector<std::vector<uint8_t>> t;
  for (int k = 1; k <= n; k++) t.push_back(file_bytes(game + "/bricks/b" + std::to_string(k) + ".raw"));
  for (int a = 0; a < n; a++)
    for (int b = a + 1; b < n; b++) EXPECT_GT(picture_difference(t[a], t[b]), 4.0) << "b" << a + 1 << " b" << b + 1;
}

TEST(Distinct, EveryPowerupIconDiffersFromEveryOther)
{
  std::vector<Pixels> icons;
  for (int k = 1; k <= 17; k++) icons.push_back(read_pixels(game + "/graphics/powerups/" + powerup_files[k] + ".png"));
  for (int a = 0; a < 17; a++)
    for (int b = a + 1; b < 17; b++)
      EXPECT_GT(picture_difference(icons[a].rgb, icons[b].rgb), 6.0) << powerup_files[a + 1] << " " << powerup_files[b + 1];
}

// The board's top edge lies at texture row 0, where the bevel catches the light.
TEST(BrickTextures, FirstRowIsTheLitTopEdge)
{
  for (int k = 1; k <= count_numbered("bricks/b%d.raw"); k++) {
    std::vector<uint8_t> d = file_bytes(game + "/bricks/b" + std::to_string(k) + ".raw");
    ASSERT_EQ(d.size(), 6144u);
    auto row_light = [&](int y) {
      double sum = 0;
      for (int i = y * 64 * 3; i < (y + 1) * 64 * 3; i++) sum += d[i];
      return sum / (64 * 3);
    };
    EXPECT_GT(row_light(1), row_light(30) + 20) << "b" << k;
  }
}

// Backgrounds lie behind the bricks: deep enough that light bricks stand out.
TEST(Tiles, BackgroundsAreDeepToned)
{
  for (int k = 1; k <= count_numbered("graphics/backgrounds/bg%d.png"); k++) {
    Pixels p = read_pixels(game + "/graphics/backgrounds/bg" + std::to_string(k) + ".png");
    ASSERT_FALSE(p.rgb.empty());
    double mean, deviation;
    region_light(p, 0, 0, p.w, p.h, &mean, &deviation);
    EXPECT_GT(mean, 15.0) << "bg" << k;
    EXPECT_LT(mean, 130.0) << "bg" << k;
  }
}

// ---- generation ------------------------------------------------------------------

// A second run of the generator writes the very same bytes.
TEST(Generation, GivesTheSameBytesTwice)
{
  std::string again = std::string(CORVALE_BINARY_DIR) + "/images_again";
  std::string cmd = "rm -rf '" + again + "' && '" CORVALE_BINARY_DIR "/tools/images/corvale_images' --game '" +
                    again + "' --data '" CORVALE_SOURCE_DIR "/data/images'";
  ASSERT_EQ(system(cmd.c_str()), 0);
  std::vector<std::string> all(std::begin(opaque_images), std::end(opaque_images));
  for (const std::string &t : transparent_images()) all.push_back(t);
  for (int k = 1; k <= 17; k++) all.push_back(std::string("graphics/powerups/") + powerup_files[k] + ".png");
  for (int k = 1; k <= count_numbered("graphics/backgrounds/bg%d.png"); k++)
    all.push_back("graphics/backgrounds/bg" + std::to_string(k) + ".png");
  for (int k = 1; k <= count_numbered("bricks/b%d.raw"); k++) all.push_back("bricks/b" + std::to_string(k) + ".raw");
  for (const std::string &name : all) {
    std::vector<uint8_t> first = file_bytes(game + "/" + name), second = file_bytes(again + "/" + name);
    EXPECT_FALSE(first.empty()) << name;
    EXPECT_TRUE(first == second) << name;
  }
  EXPECT_EQ(system(("rm -rf '" + again + "'").c_str()), 0);
}

// Without its text sources the generator fails and writes nothing at all.
TEST(Generation, MissingTextsFailWithoutTouchingTheFolder)
{
  std::string target = std::string(CORVALE_BINARY_DIR) + "/images_nodata";
  std::string cmd = "rm -rf '" + target + "' && mkdir -p '" + target + "' && '" CORVALE_BINARY_DIR
                    "/tools/images/corvale_images' --game '" + target + "' --data '" + target + "/none' 2>/dev/null";
  EXPECT_NE(system(cmd.c_str()), 0);
  std::vector<std::string> files;
  list_files(target, "", files);
  EXPECT_TRUE(files.empty());
  EXPECT_EQ(system(("rm -rf '" + target + "'").c_str()), 0);
}

TEST(Generation, LeavesNoTemporaryFilesInTheGameFolder)
{
  std::vector<std::string> files;
  for (const char *sub : {"graphics", "bricks", "paddles"}) list_files(game, sub, files);
  EXPECT_GT(files.size(), 80u);
  for (const std::string &f : files) EXPECT_EQ(f.find(".tmp"), std::string::npos) << f;
}
