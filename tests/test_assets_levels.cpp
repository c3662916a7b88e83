// Checks of the generated level sets and manual page: the level-set files as
// the game reads them, the level compiler's handling of good and bad sources.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "command.h"
#include "level_bytes.h"
#include "player_folder.h"

namespace fs = std::filesystem;

namespace {

const std::string game_dir = CORVALE_GAME_DIR;
const std::string compiler = std::string(CORVALE_BINARY_DIR) + "/tools/levels/corvale_levelc";
const char *const shipped_sets[] = {"default", "beginner", "hard"};

// The grid blocks of a level, read here independently of the compiler.
enum { TEXTURE = TEX_BLOCK, RED, GREEN, BLUE, TYPE, POWERUP };

// A level-set file, read for checking.
struct SetFile {
  std::string data;
  int levels = 0, textures = 0;

  explicit SetFile(const std::string &path) : data(file_bytes(path))
  {
    if (data.size() >= 8) { levels = int_at(data, 0); textures = int_at(data, 4); }
  }
  // Grid value of a block for level (1-based), row and column.
  int cell(int level, int block, int r, int c) const
  {
    return int_at(data, SET_HEAD_BYTES + (level - 1) * SET_LEVEL_BYTES + block * (GRID_BYTES + 8) +
                            (r * 21 + c) * 4);
  }
  std::string text(long offset) const { return std::string((const char *)&data[offset]); }
};

// A scratch folder for sources and a game folder, removed again afterwards.
struct Scratch {
  scratch_dir tmp;
  fs::path dir = tmp.path();
  fs::path write(const std::string &name, const std::string &text) const
  {
    fs::create_directories(dir / "src");
    std::ofstream(dir / "src" / name) << text;
    return dir / "src" / name;
  }
  // Compiles the scratch sources (or those of `source`) with the game's brick textures.
  int compile(std::string &out, std::string source = "") const
  {
    return run_command(compiler + " levels --source " + (source.empty() ? (dir / "src").string() : source) +
                           " --game " + (dir / "game").string() + " --bricks " + game_dir + "/bricks",
                       &out);
  }
};

std::string empty_rows(int n)
{
  std::string s;
  for (int i = 0; i < n; i++) s += "....................\n";
  return s;
}

const std::string small_header = "title Test\nauthor Tester\ndescription A test.\n";

}  // namespace

// ---- the shipped level sets ---------------------------------------------------

class ShippedSet : public ::testing::TestWithParam<const char *> {
protected:
  SetFile set{game_dir + "/level_sets/" + GetParam() + ".bls"};
};

TEST_P(ShippedSet, LengthMatchesItsCountsAndHeaderTextsAreFilledAndTerminated)
{
  ASSERT_GT(set.levels, 0);
  ASSERT_GT(set.textures, 0);
  EXPECT_EQ(set.data.size(), SET_HEAD_BYTES + SET_LEVEL_BYTES * set.levels + SET_TEXTURE_BYTES * set.textures);
  for (long field : {8L, 263L, 518L}) {
    EXPECT_NE(memchr(&set.data[field], 0, 255), nullptr) << "field at " << field << " has no NUL";
    EXPECT_NE(set.data[field], 0) << "field at " << field << " is empty";
  }
}

// Every cell holds values the game accepts, every level has a brick, and the
// set carries the brick textures it uses.
TEST_P(ShippedSet, CellsHoldValuesTheGameAcceptsAndTheTexturesTheyUse)
{
  int highest = 0;
  for (int lv = 1; lv <= set.levels; lv++) {
    int bricks = 0;
    for (int r = 0; r <= 20; r++)
      for (int c = 0; c <= 20; c++) {
        SCOPED_TRACE("level " + std::to_string(lv) + " row " + std::to_string(r) + " column " +
                     std::to_string(c));
        int tex = set.cell(lv, TEXTURE, r, c), type = set.cell(lv, TYPE, r, c);
        int pup = set.cell(lv, POWERUP, r, c);
        if (r == 0 || c == 0) {
          for (int b = TEXTURE; b <= POWERUP; b++) ASSERT_EQ(set.cell(lv, b, r, c), 0);
          continue;
        }
        bricks += tex != 0;
        highest = std::max(highest, tex);
        ASSERT_GE(tex, 0);
        ASSERT_LE(tex, set.textures);
        ASSERT_GE(type, 1);
        ASSERT_LE(type, 5);
        ASSERT_GE(pup, 0);
        ASSERT_LE(pup, 17);
        for (int b : {RED, GREEN, BLUE}) {
          ASSERT_GE(set.cell(lv, b, r, c), 0);
          ASSERT_LE(set.cell(lv, b, r, c), 127);
        }
        if (tex == 0) {
          // The game draws fire on any type-3 cell and releases any power-up, bricks or not.
          ASSERT_EQ(type, 1);
          ASSERT_EQ(pup, 0);
        }
      }
    EXPECT_GT(bricks, 0) << "level " << lv << " is empty";
  }
  EXPECT_EQ(set.textures, highest);
  size_t first = SET_HEAD_BYTES + SET_LEVEL_BYTES * set.levels;
  for (int t = 1; t <= set.textures; t++) {
    std::string raw = file_bytes(game_dir + "/bricks/b" + std::to_string(t) + ".raw");
    ASSERT_EQ(raw.size(), 6144u);
    EXPECT_EQ(memcmp(&set.data[first + (t - 1) * SET_TEXTURE_BYTES], raw.data(), 6144), 0)
        << "texture record " << t << " differs from bricks/b" << t << ".raw";
  }
}

INSTANTIATE_TEST_SUITE_P(LevelSets, ShippedSet, ::testing::ValuesIn(shipped_sets));

TEST(DefaultSet, HasThirtyLevelsWithEveryBrickTypeAndPowerUp)
{
  SetFile set(game_dir + "/level_sets/default.bls");
  std::set<int> types, kinds;
  for (int lv = 1; lv <= set.levels; lv++)
    for (int r = 1; r <= 20; r++)
      for (int c = 1; c <= 20; c++) {
        if (!set.cell(lv, TEXTURE, r, c)) continue;
        types.insert(set.cell(lv, TYPE, r, c));
        if (int pup = set.cell(lv, POWERUP, r, c)) kinds.insert(pup);
      }
  EXPECT_GE(set.levels, 30);
  EXPECT_EQ(types, (std::set<int>{1, 2, 3, 4, 5}));
  for (int k = 1; k <= 17; k++) EXPECT_TRUE(kinds.count(k)) << "power-up " << k << " is missing";
}

// ---- the compiler ---------------------------------------------------------------

TEST(LevelCompiler, GivesTheSameBytesOnEveryRun)
{
  Scratch tmp;
  std::string out;
  ASSERT_EQ(tmp.compile(out, CORVALE_SOURCE_DIR "/data/levels"), 0) << out;
  for (const char *name : shipped_sets) {
    std::string file = std::string("/level_sets/") + name + ".bls";
    EXPECT_TRUE(file_bytes((tmp.dir / "game").string() + file) == file_bytes(game_dir + file)) << name << " differs";
  }
}

TEST(LevelCompiler, StoresLegendBricksWhereTheGridPutsThem)
{
  Scratch tmp;
  tmp.write("probe.set", small_header +
                             "wall 10 20 30\n"
                             "brick A 3hit level 100 50 25 Big Ball\n"
                             "brick b like A 17\n"
                             "level One\n"
                             "texture 2\n"
                             "brick e exploding 1 127 0 0 death\n"
                             "grid\n"
                             "A..................b\n" +
                             ".........e..........\n" + empty_rows(18));
  std::string out;
  ASSERT_EQ(tmp.compile(out), 0) << out;
  SetFile set((tmp.dir / "game/level_sets/probe.bls").string());
  ASSERT_EQ(set.levels, 1);
  EXPECT_EQ(set.textures, 2);
  EXPECT_EQ(set.text(8), "Test");
  EXPECT_EQ(set.text(263), "Tester");
  EXPECT_EQ(set.text(518), "A test.");
  // A: 3-hit, the level's texture, its colour and Big Ball; b copies it with
  // Earthquake!; e explodes with Death. Empty top-row cells carry the wall
  // colour that Brick Wall's new bricks show.
  const struct { int block, r, c, value; } cells[] = {
      {TEXTURE, 1, 1, 2}, {TYPE, 1, 1, 5}, {RED, 1, 1, 100}, {POWERUP, 1, 1, 2}, {TYPE, 1, 20, 5},
      {POWERUP, 1, 20, 17}, {TYPE, 2, 10, 3}, {POWERUP, 2, 10, 7}, {TEXTURE, 1, 2, 0}, {GREEN, 1, 2, 20}};
  for (const auto &k : cells)
    EXPECT_EQ(set.cell(1, k.block, k.r, k.c), k.value) << "block " << k.block << " at " << k.r << "," << k.c;
}

static std::string one_level(const std::string &legend, const std::string &rows)
{
  return small_header + legend + "level L\ngrid\n" + rows;
}

// Each malformed source must fail with its file and line named in the message.
TEST(LevelCompiler, RejectsMalformedSourcesNamingFileAndLine)
{
  const struct {
    std::string text;
    int line;
    const char *message;
  } bad_sources[] = {
      {one_level("brick R normal 1 127 0 0\n", "RRRRRRRRQRRRRRRRRRRR\n" + empty_rows(19)), 7,
       "'Q' in grid row 1, column 9 is not in the legend"},
      {one_level("brick R normal 1 127 0 0\n", empty_rows(2) + "RRRRRRRRRRRRRRRRRRR\n" + empty_rows(17)), 9,
       "grid row 3 has 19 characters"},
      {one_level("brick R normal 1 127 0 0\n", "RRRR................\n" + empty_rows(5)), 13,
       "the file ends after grid row 6"},
      {one_level("", empty_rows(20)), 25, "the level has no bricks"},
      {one_level("brick R normal 1 128 0 0\n", "R...................\n" + empty_rows(19)), 4,
       "red 128 is outside 0..127"},
      {one_level("brick R normal 999 1 1 1\n", "R...................\n" + empty_rows(19)), 4,
       "texture 999 is outside"},
      {one_level("brick R normal 1 1 1 1 Super Ball\n", "R...................\n" + empty_rows(19)), 4,
       "unknown power-up 'Super Ball'"},
      {"title " + std::string(255, 'x') + "\nlevel L\ngrid\nR\n", 1, "title is 255 characters long; at most 254 fit"},
  };
  for (const auto &bad : bad_sources) {
    SCOPED_TRACE(bad.message);
    Scratch tmp;
    fs::path src = tmp.write("bad.set", bad.text);
    std::string out;
    EXPECT_NE(tmp.compile(out), 0) << out;
    EXPECT_NE(out.find(src.string() + ":" + std::to_string(bad.line) + ":"), std::string::npos) << out;
    EXPECT_NE(out.find(bad.message), std::string::npos) << out;
    EXPECT_FALSE(fs::exists(tmp.dir / "game/level_sets/bad.bls"));
  }
}

// A set that cannot be written whole is reported with a failing status.
TEST(LevelCompiler, AFailedWriteIsReported)
{
  Scratch tmp;
  tmp.write("kept.set", one_level("brick R normal 1 127 0 0\n", "R...................\n" + empty_rows(19)));
  fs::create_directories(tmp.dir / "game/level_sets");
  std::string out;
  int status;
  {
    file_size_limit limit(4096);   // well below a set of one level and one texture
    status = tmp.compile(out);
  }
  EXPECT_NE(status, 0) << out;
  EXPECT_NE(out.find("kept.bls"), std::string::npos) << out;
}

// ---- the manual page --------------------------------------------------------------

TEST(Manual, GivesTheSameBytesOnEveryRun)
{
  Scratch tmp;
  fs::path game = tmp.dir / "game";
  fs::create_directories(game);
  fs::copy(game_dir + "/bricks", game / "bricks", fs::copy_options::recursive);
  fs::copy(game_dir + "/graphics", game / "graphics", fs::copy_options::recursive);
  std::string out;
  ASSERT_EQ(run_command(compiler + " manual --source " CORVALE_SOURCE_DIR "/data/manual --game " + game.string(),
                        &out),
            0)
      << out;
  int files = 0;
  for (const auto &e : fs::recursive_directory_iterator(game / "manual")) {
    if (!e.is_regular_file()) continue;
    std::string rel = fs::relative(e.path(), game).string();
    EXPECT_TRUE(file_bytes(e.path().string()) == file_bytes(game_dir + "/" + rel)) << rel << " differs";
    files++;
  }
  EXPECT_GE(files, 20);
}
