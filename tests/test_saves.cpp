// The saved game: the record's bytes, continuing a game from it, the saves
// that are refused, and a failed write.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "gl_context.h"
#include "level_bytes.h"
#include "player_folder.h"
#include "menus/menus.h"
#include "physics/ball.h"
#include "rules/progress.h"
#include "rules/rules.h"
#include "rules/savegame.h"
#include "shell/shell.h"

namespace fs = std::filesystem;
using bytes = std::string;

// Each case runs in a scratch folder holding "two.bls", whose level 2 has a
// 3 Hit brick at (1, 1) with power-up 2, a brick at (1, 2) with power-up 7,
// and a red brick at (3, 4).
class Saves : public GLTest {
protected:
    game_folder folder;   // saves and scores land in its player folder
    const fs::path dir = folder.path();

    void SetUp() override
    {
        set_file set(2, 0);
        auto put = [&](int block, int r, int c, int v) { set.set(2, block, r, c, v); };
        put(TEX_BLOCK, 1, 1, 2), put(TYPE_BLOCK, 1, 1, BRICK_THREE_HIT), put(PUP_BLOCK, 1, 1, 2);
        put(TEX_BLOCK, 1, 2, 1), put(TYPE_BLOCK, 1, 2, BRICK_NORMAL), put(PUP_BLOCK, 1, 2, 7);
        put(TEX_BLOCK, 3, 4, 3), put(TYPE_BLOCK, 3, 4, BRICK_NORMAL), put(RED_BLOCK, 3, 4, 120);
        set.write("level_sets/two.bls");
        snprintf(set_name, sizeof set_name, "two.bls");
        difficulty = 1;
        screen_reset();
        classic = testing_level = gameover = SAVE_AVAILABLE = PLAYING_SAVED_GAME = 0;
        new_game();
    }
    // The record d with the set's name field holding name.
    static bytes named(bytes d, const char *name)
    {
        memset(&d[132], 0, 256);
        memcpy(&d[132], name, strlen(name));
        return d;
    }
    // Saves level 2 on Hard with the 3 Hit brick hit once, the brick at (1, 2)
    // gone and, if given, a brick added at (add_r, add_c) as a Brick Wall adds.
    void save_level_two(int add_r = 0, int add_c = 0)
    {
        level = 2;
        reset_board();
        if (add_r) {
            board[grid_index(add_r, add_c)] = 4;
            bricktype[grid_index(add_r, add_c)] = BRICK_NORMAL;
        }
        bricktype[grid_index(1, 1)] = BRICK_TWO_HIT;
        board[grid_index(1, 2)] = 0;
        score = 4321;
        counter = 2;
        lcount = 3;
        goodies[1] = 0;
        balls[2] = 1;
        difficulty = 2;
        oldlives = 3;
        newlives = 4;
        save_progress();
        save_check();
    }
};

// The record holds each field at its offset, and continuing from it restores
// the progress and only the bricks it says still stand.
TEST_F(Saves, TheRecordHoldsEachFieldAtItsOffsetAndContinuingRestoresIt)
{
    save_level_two();
    bytes d = file_bytes(save_path());
    ASSERT_EQ(d.size(), 4268u);
    const struct { const char *field; size_t at; int32_t value; } fields[] = {
        {"lcount", 0, 3}, {"counter", 4, 2}, {"oldlives", 8, 3}, {"score", 12, 4321}, {"newlives", 16, 4},
        {"level", 20, 2}, {"goodies[1]", 24 + 4, 0}, {"balls[2]", 64 + 8, 1}, {"difficulty", 2324, 2},
        {"brick at row 2, column 3", 576, 0}, {"brick at row 3, column 4 (stride 22)", 388 + 4 * 70, 1},
        {"the destroyed brick", 388 + 4 * 24, 0}, {"type at row 1, column 1", 2332 + 4 * 23, BRICK_TWO_HIT}};
    for (const auto &f : fields)
        EXPECT_EQ(int_at(d, f.at), f.value) << f.field << " at offset " << f.at;
    EXPECT_STREQ(&d[132], "two.bls");
    save_level_two(2, 3);
    EXPECT_EQ(int_at(file_bytes(save_path()), 576), 1);

    save_level_two(9, 9);   // a cell the set leaves empty
    new_game();
    ballsize = 0.08f;
    ASSERT_EQ(load_saved(), 1);
    EXPECT_EQ(level, 2);
    EXPECT_EQ(score, 4321);
    EXPECT_EQ(counter + lcount + goodies[1] + difficulty, 2 + 3 + 0 + 2);
    EXPECT_EQ(board[grid_index(1, 1)], 2);   // a 2 Hit brick with the set's texture
    EXPECT_EQ(bricktype[grid_index(1, 1)], BRICK_TWO_HIT);
    EXPECT_EQ(board[grid_index(1, 2)] + powerup[grid_index(1, 2)], 0);   // gone, with its power-up
    EXPECT_EQ(rr[grid_index(3, 4)], 120);
    EXPECT_EQ(board[grid_index(9, 9)], 0);    // a type, but no brick
    EXPECT_EQ(bricktype[grid_index(9, 9)], BRICK_NORMAL);
    EXPECT_FLOAT_EQ(ballsize, 0.04f);
}

// A save naming a set outside the folder, of the wrong size, or holding a
// value play never leaves in one is refused, and the game and the file stay as
// they were; the extremes that play does reach are continued.
TEST_F(Saves, SavesThatPlayCannotProduceOrNamingSetsOutsideTheFolderAreRefused)
{
    save_level_two();
    const bytes good = file_bytes(save_path());
    auto with = [&](size_t at, int32_t v) {
        bytes d = good;
        memcpy(&d[at], &v, 4);
        return d;
    };
    bytes no_nul = good, longer = good, shorter(good.begin(), good.end() - 1);
    memset(&no_nul[132], 'a', 256);
    longer.push_back(0);
    fs::create_directory("level_sets/sub");
    fs::copy_file("level_sets/two.bls", "level_sets/sub/two.bls");
    const size_t standing = 2332 + 4 * (22 * 3 + 4);   // type of the brick at (3, 4)
    const bytes bad[] = {
        named(good, "/etc/passwd"), named(good, "../two.bls"), named(good, "sub/two.bls"), named(good, ""),
        named(good, "gone.bls"), named(good, "~/"), named(good, "~/../two.bls"), named(good, "~/sub/two.bls"),
        named(good, "~/two.bls"), no_nul, shorter, longer,
        with(20, 0), with(20, 3), with(20, INT32_MIN),            // level outside 1..2
        with(12, -1), with(12, SCORE_MAX + 1), with(12, INT32_MAX),
        with(4, 7), with(4, COUNTER_MIN - 1), with(4, INT32_MIN),  // lives counter
        with(8, -1), with(16, MAX_LIVES + 1), with(0, 0), with(0, 5),   // lives, level cycle
        with(24 + 4 * 3, 2), with(64 + 4 * 5, -1), with(2328, 2),  // flags
        with(388 + 4 * 70, 2), with(standing, 0), with(standing, 6), with(standing, -1),
        with(2332 + 4 * (22 * 9 + 9), 7)};                           // a type where no brick stands
    for (const bytes &d : bad) {
        write_bytes(save_path(), d);
        new_game();
        EXPECT_EQ(load_saved(), 0);
        EXPECT_EQ(level, 1);
        EXPECT_STREQ(set_name, "two.bls");
        EXPECT_EQ(file_bytes(save_path()), d);
    }
    const bytes fine[] = {with(12, SCORE_MAX), with(4, COUNTER_MIN), with(4, 6),
                          with(16, MAX_LIVES), with(2332 + 4 * 30, 0)};
    for (const bytes &d : fine) {
        write_bytes(save_path(), d);
        new_game();
        EXPECT_EQ(load_saved(), 1);
        EXPECT_EQ(level, 2);
    }
    // A save whose set has lost its levels since is refused before the options are drawn.
    write_bytes(save_path(), good);
    bytes set = file_bytes("level_sets/two.bls");
    write_bytes("level_sets/two.bls", bytes(set.begin(), set.end() - 10));
    save_check();
    EXPECT_EQ(SAVE_REFUSED, 1);
}

TEST_F(Saves, ContinueStartsAGoodSaveAndStaysInertOnARefusedOne)
{
    save_level_two();
    new_game();
    bytes d = file_bytes(save_path());
    const bytes refused = named(d, "../x");
    write_bytes(save_path(), refused);
    open_screen(SCREEN_OPTIONS);
    notice[0] = 0;
    GUI_CONTINUE = 1;
    play_options();
    EXPECT_EQ(screen_is(SCREEN_OPTIONS), 1);
    EXPECT_EQ((fade_running() == FADE_OUT) + PLAYING_SAVED_GAME + GUI_CONTINUE, 0);
    EXPECT_STREQ(notice, "The saved game is damaged and cannot be continued.");
    EXPECT_EQ(SAVE_REFUSED, 1);
    EXPECT_EQ(file_bytes(save_path()), refused);
    notice[0] = 0;

    write_bytes(save_path(), d);
    GUI_CONTINUE = 1;
    play_options();
    EXPECT_EQ(screen_is(SCREEN_OPTIONS) + menublock, 0);
    EXPECT_EQ((fade_running() == FADE_OUT) + PLAYING_SAVED_GAME, 2);
    EXPECT_EQ(score, 4321);
    screen_reset();
    PLAYING_SAVED_GAME = 0;
}

TEST_F(Saves, AFailedWriteIsReportedAndContinueStillOffersTheOldSave)
{
    unsetenv("DISPLAY");  // the message goes to standard error only
    save_level_two();
    const bytes before = file_bytes(save_path());
    score = 1;
    std::string told;
    {
        file_size_limit limit(1000);   // below the record: the write fails part-way
        testing::internal::CaptureStderr();
        leave_game_saved();
        told = testing::internal::GetCapturedStderr();
    }
    EXPECT_NE(told.find("could not write the saved game"), std::string::npos) << told;
    EXPECT_NE(told.find(save_path()), std::string::npos) << told;
    EXPECT_STREQ(notice, "Corvale could not write the saved game.\ncorvale.sav: File too large");
    notice[0] = 0;
    // A good save is not set aside before the new one: it is still there.
    EXPECT_EQ(file_bytes(save_path()), before);
    EXPECT_EQ(SAVE_AVAILABLE, 1);

    // No save yet, and the player's folder cannot be made: nothing to continue.
    fs::remove_all(dir / "player");
    write_bytes(dir / "player", "x");
    testing::internal::CaptureStderr();
    leave_game_saved();
    told = testing::internal::GetCapturedStderr();
    EXPECT_NE(told.find("Cannot create the folder " + (dir / "player").string()), std::string::npos) << told;
    EXPECT_EQ(SAVE_AVAILABLE, 0);
}

// A save without read permission once only dimmed Continue, without a word,
// and the next Escape replaced it. It is told as a damaged save is, and
// either is kept aside before a new save takes its place.
TEST_F(Saves, AnUnreadableOrDamagedSaveIsToldAndKeptAsideBeforeANewSave)
{
    for (bool unreadable : {true, false}) {
        SCOPED_TRACE(unreadable ? "unreadable" : "damaged");
        save_level_two();
        bytes old = file_bytes(save_path());
        if (unreadable) {
            chmod(save_path().c_str(), 0200);
        } else {
            old.resize(100);
            write_bytes(save_path(), old);
        }
        fs::path sets = fs::path(save_path()).parent_path();
        for (fs::path p : {dir, dir / "player", dir / "player/corvale"})
            chmod(p.c_str(), 0755);
        chmod(sets.c_str(), 0777);
        {
            plain_user user;   // root could read the file whatever its permissions
            save_check();
            EXPECT_EQ(SAVE_AVAILABLE + SAVE_REFUSED, 2);
            new_game();
            open_screen(SCREEN_OPTIONS);
            notice[0] = 0;
            GUI_CONTINUE = 1;
            play_options();
            EXPECT_EQ(screen_is(SCREEN_OPTIONS) - PLAYING_SAVED_GAME, 1);
            EXPECT_STREQ(notice, "The saved game is damaged and cannot be continued.");
            close_screen();
            notice[0] = 0;
            score = 77;
            leave_game_saved();
            EXPECT_STREQ(notice, "The saved game that could not be continued\nis kept as corvale.sav.damaged.");
            EXPECT_EQ(SAVE_AVAILABLE - SAVE_REFUSED, 1) << "the new save can be continued";
        }
        EXPECT_EQ(file_bytes(save_path() + ".damaged"), old);
        EXPECT_EQ(int_at(file_bytes(save_path()), 12), 77);
        fs::remove(save_path() + ".damaged");
        notice[0] = 0;
    }
}

// A set the player made under the name of one of the game's, as an earlier
// version allowed, no longer takes its place: a save of the game's set
// continues the game's set, and a save naming the player's copy ("~/") that.
// Without the game's set, a save of it finds the player's.
TEST_F(Saves, ASaveOfAShippedSetIsNotHiddenByThePlayersSetOfTheSameName)
{
    save_level_two();
    fs::create_directories(dir / "player/corvale/level_sets");
    set_file own(2, 0);
    own.title("Own two");
    own.write((dir / "player/corvale/level_sets/two.bls").string());
    new_game();
    ASSERT_EQ(load_saved(), 1);
    EXPECT_STREQ(set_name, "two.bls");
    EXPECT_STRNE(fhead.set_title, "Own two");
    EXPECT_EQ(rr[grid_index(3, 4)], 120);

    const bytes good = file_bytes(save_path());
    write_bytes(save_path(), named(good, "~/two.bls"));
    new_game();
    ASSERT_EQ(load_saved(), 1);
    EXPECT_STREQ(set_name, "~/two.bls");
    EXPECT_STREQ(fhead.set_title, "Own two");
    EXPECT_EQ(level, 2);

    fs::remove("level_sets/two.bls");
    write_bytes(save_path(), good);
    new_game();
    ASSERT_EQ(load_saved(), 1);
    EXPECT_EQ(level, 2);
    EXPECT_STREQ(fhead.set_title, "Own two");
}
