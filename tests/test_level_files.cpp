// The level loaders: level-set files, the editor's level files and numbered
// brick textures, read from scratch folders.
#include <gtest/gtest.h>
#include <GL/gl.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "gl_view.h"
#include "level_bytes.h"
#include "play_state.h"
#include "player_folder.h"
#include "graphics/graphics.h"
#include "physics/ball.h"
#include "physics/physics.h"
#include "rules/progress.h"
#include "rules/rules.h"
#include "shell/shell.h"

namespace {

void write_brick(int k, uint8_t grey)
{
    write_bytes("bricks/b" + std::to_string(k) + ".raw", std::string(6144, (char)grey));
}

// First texel's red of a texture, as uploaded.
int texel_red(GLuint name)
{
    int w, h;
    return texture_rgba(name, &w, &h)[0];
}

}  // namespace

// Each case runs in a fresh scratch game folder, with the default play state.
// The folder is also the player's data folder, so the editor's levels are
// found under user_data/ there.
class LevelFiles : public TexturedGLTest {
protected:
    player_folder folder{0};

    void SetUp() override
    {
        difficulty = 1;
        screen_reset();
        classic = testing_level = 0;
    }
    // A set of three levels: level n has a brick of texture n in row 1, column n.
    void write_three_levels()
    {
        set_file s(3, 0);
        for (int n = 1; n <= 3; n++)
            s.set(n, TEX_BLOCK, 1, n, n);
        s.write("level_sets/three.bls");
    }
};

TEST_F(LevelFiles, LevelZeroGivesLevelOneAndBeyondTheCountAnEmptyBoard)
{
    write_three_levels();
    load_level_set("three.bls", 0);
    EXPECT_EQ(board[grid_index(1, 1)], 1);
    EXPECT_EQ(level_total, 3);
    EXPECT_STREQ(fhead.set_title, "Scratch set");

    load_level_set("three.bls", 3);
    EXPECT_EQ(board[grid_index(1, 3)], 3);
    EXPECT_EQ(cells_set(board), 1);

    load_level_set("three.bls", 4);
    EXPECT_EQ(cells_set(board), 0);
    EXPECT_EQ(rr[grid_index(7, 7)], 128);
    EXPECT_EQ(bricktype[grid_index(7, 7)], 1);
    EXPECT_EQ(level_total, 3);

    screen_set(SCREEN_EDITOR);  // the editor is open: the board stays as it is
    board[grid_index(9, 9)] = 4;
    load_level_set("three.bls", 1);
    EXPECT_EQ(cells_set(board), 1);
    EXPECT_EQ(board[grid_index(9, 9)], 4);
}

TEST_F(LevelFiles, EasyRemovesTheHarmfulPowerupsOfASetNotOfATestedLevelAndClassicDropsExplodingBricksAndEveryPowerup)
{
    set_file s(1, 0);
    const int kinds[] = {3, 4, 7, 10, 16, 17, 11, 1, 15};
    for (int i = 0; i < 9; i++) {
        s.set(1, TEX_BLOCK, 2, i + 1, 1);
        s.set(1, PUP_BLOCK, 2, i + 1, kinds[i]);
    }
    s.write("level_sets/pups.bls");

    difficulty = 0;
    load_level_set("pups.bls", 1);
    for (int i = 0; i < 9; i++)
        EXPECT_EQ(powerup[grid_index(2, i + 1)], i < 6 ? 0 : kinds[i]) << "kind " << kinds[i];

    difficulty = 2;
    load_level_set("pups.bls", 1);
    EXPECT_EQ(powerup[grid_index(2, 5)], 16);

    // A level tested from the editor keeps every powerup on Easy.
    clear_editor_board();
    leveled[grid_index(4, 4)] = leveled[grid_index(4, 5)] = 1;
    ed_powerup[grid_index(4, 4)] = 11;
    ed_powerup[grid_index(4, 5)] = 16;
    difficulty = 0;
    test_level();
    EXPECT_EQ(powerup[grid_index(4, 4)], 11);
    EXPECT_EQ(powerup[grid_index(4, 5)], 16);

    // Classic drops exploding bricks and every power-up, and shows invisible bricks.
    SetUp();
    set_file flat(1, 0);
    for (int c = 1; c <= 3; c++)
        flat.set(1, TEX_BLOCK, 3, c, 2);
    for (int c = 1; c <= 3; c++)
        flat.set(1, TYPE_BLOCK, 3, c, c + 2);   // exploding, invisible, two-hit
    flat.set(1, PUP_BLOCK, 3, 3, 11);
    flat.write("level_sets/classic.bls");

    classic = 1;
    load_level_set("classic.bls", 1);
    EXPECT_EQ(board[grid_index(3, 1)], 0);
    EXPECT_EQ(bricktype[grid_index(3, 1)], 3);
    EXPECT_EQ(board[grid_index(3, 2)], 2);
    EXPECT_EQ(bricktype[grid_index(3, 2)], 1);
    EXPECT_EQ(bricktype[grid_index(3, 3)], 1);
    EXPECT_EQ(powerup[grid_index(3, 3)], 0);
}

// Set textures replace only their own numbers, and stay. The editor's numbered
// level files end at the first gap, and a test game plays the level being edited.
TEST_F(LevelFiles, SetTexturesReplaceOnlyTheirOwnNumbersAndLevelFilesEndAtTheFirstGap)
{
    for (int k = 1; k <= 5; k++)
        write_brick(k, (uint8_t)(10 * k));
    test_level();
    ASSERT_EQ(texmax, 5);

    set_file two(1, 2), five(1, 5);
    two.texture(1, 201);
    two.texture(2, 202);
    for (int t = 1; t <= 5; t++)
        five.texture(t, (uint8_t)(150 + t));
    two.write("level_sets/two.bls");
    five.write("level_sets/five.bls");

    load_level_set("two.bls", 1);
    EXPECT_EQ(texel_red(etexname[2]), 202);
    EXPECT_EQ(texel_red(etexname[5]), 50);
    load_level_set("five.bls", 1);
    load_level_set("two.bls", 1);
    EXPECT_EQ(texel_red(etexname[1]), 201);
    EXPECT_EQ(texel_red(etexname[5]), 155);

    std::string lev(10584, '\0');
    put32(lev, (5 * 21 + 6) * 4, 2);                // texture of (5, 6)
    put32(lev, 1764 + (5 * 21 + 6) * 4, 99);        // its red
    for (int k : {1, 2, 4})
        write_bytes("user_data/l" + std::to_string(k) + ".raw", lev);
    edload();
    EXPECT_EQ(curlevel, 2);
    EXPECT_EQ(leveled[grid_index(5, 6)], 2);
    EXPECT_EQ(ed_rr[grid_index(5, 6)], 99);
    test_level();
    EXPECT_EQ(level_total, 2);
    EXPECT_EQ(board[grid_index(5, 6)], 2);
}

// A set that lies about itself is refused whole: empty board, empty header, no levels.
TEST_F(LevelFiles, DamagedOrMissingSetsLeaveAnEmptyBoard)
{
    write_three_levels();
    set_file good(3, 1);
    good.set(1, TEX_BLOCK, 1, 1, 1);

    auto expect_refused = [&](const char *name, const char *why) {
        load_level_set("three.bls", 1);
        ASSERT_EQ(cells_set(board), 1);
        load_level_set(name, 1);
        EXPECT_EQ(cells_set(board), 0) << why;
        EXPECT_EQ(level_total, 0) << why;
        EXPECT_EQ(fhead.set_title[0], '\0') << why;
    };

    expect_refused("absent.bls", "missing file");
    good.write("level_sets/short.bls", good.d.size() - 1);
    expect_refused("short.bls", "one byte short");
    good.write("level_sets/stub.bls", 100);
    expect_refused("stub.bls", "shorter than the header");
    for (int32_t lie : {-1, INT32_MIN, INT32_MAX}) {
        set_file bad = good;
        put32(bad.d, 0, lie);
        bad.write("level_sets/levels.bls");
        expect_refused("levels.bls", "level count");
        bad = good;
        put32(bad.d, 4, lie);
        bad.write("level_sets/textures.bls");
        expect_refused("textures.bls", "texture count");
    }
    std::string long_name(400, 'x');
    expect_refused(long_name.c_str(), "name longer than a path");
}

// Values out of range are brought within it by every loader; bricks of a type
// outside 1..5 would never break, so they are taken as Normal bricks.
TEST_F(LevelFiles, OversizedTextureTablesAndUnknownValuesAreTamed)
{
    set_file s(1, 600);
    memset(&s.d[8], 'A', 255);              // a title without its NUL
    s.set(1, TEX_BLOCK, 1, 1, 1);
    s.set(1, PUP_BLOCK, 1, 1, 99);
    s.texture(511, 77);
    // Colours outside 0..128 and types outside 1..5 in a row of bricks.
    const int32_t colour[] = {INT32_MIN, -1, 0, 127, 128, 129, INT32_MAX};
    const int32_t kept[] = {0, 0, 0, 127, 128, 127, 127};
    const int32_t type[] = {0, -1, 6, INT32_MIN, 5, 2, INT32_MAX};
    const int32_t type_kept[] = {1, 1, 1, 1, 5, 2, 1};
    for (int c = 1; c <= 7; c++) {
        s.set(1, TEX_BLOCK, 2, c, 1);
        s.set(1, RED_BLOCK, 2, c, colour[c - 1]);
        s.set(1, GREEN_BLOCK, 2, c, colour[7 - c]);
        s.set(1, TYPE_BLOCK, 2, c, type[c - 1]);
    }
    s.write("level_sets/big.bls");
    load_level_set("big.bls", 1);
    EXPECT_EQ(board[grid_index(1, 1)], 1);
    EXPECT_EQ(powerup[grid_index(1, 1)], 0);
    EXPECT_EQ(strlen(fhead.set_title), 254u);
    EXPECT_EQ(texel_red(etexname[511]), 77);
    for (int c = 1; c <= 7; c++) {
        EXPECT_EQ(rr[grid_index(2, c)], kept[c - 1]) << c;
        EXPECT_EQ(gg[grid_index(2, c)], kept[7 - c]) << c;
        EXPECT_EQ(bricktype[grid_index(2, c)], type_kept[c - 1]) << c;
    }

    // The editor's first level is brought within range the same way.
    std::string level(10584, '\0');
    put32(level, GRID_BYTES + 4 * 22, INT32_MIN);
    put32(level, 4 * GRID_BYTES + 4 * 22, 9);
    put32(level, 5 * GRID_BYTES + 4 * 22, -3);
    write_bytes("user_data/l1.raw", level);
    edload();
    EXPECT_EQ(ed_rr[grid_index(1, 1)], 0);
    EXPECT_EQ(ed_bricktype[grid_index(1, 1)], BRICK_NORMAL);
    EXPECT_EQ(ed_powerup[grid_index(1, 1)], 0);
    // A test game of the editor's level too.
    ed_bricktype[grid_index(1, 2)] = -3;
    leveled[grid_index(1, 2)] = 1;
    test_level();
    EXPECT_EQ(bricktype[grid_index(1, 2)], BRICK_NORMAL);
    testing_level = 0;
}
