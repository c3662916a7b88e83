// The high-score tables: the insertion rules, the file when it is missing,
// short or damaged, and the name dialog.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "gl_context.h"
#include "level_bytes.h"
#include "player_folder.h"
#include "menus/menus.h"
#include "rules/rules.h"
#include "rules/scores.h"
#include "shell/shell.h"

namespace fs = std::filesystem;
using bytes = std::string;

// Fills the table of mode cls with scores 1000, 900, ... 100 named "p0".."p9".
static void fill_table(int cls)
{
    for (int n = 0; n < TABLE_ENTRIES; n++) {
        score_entry &e = hstable[cls * TABLE_ENTRIES + n];
        snprintf(e.player_name, sizeof e.player_name, "p%d", n);
        e.entry_score = 1000 - 100 * n;
    }
}

// Each case runs in a scratch folder with one level set, "titled.bls".
class Scores : public GLTest {
protected:
    game_folder folder;   // saves and scores land in its player folder

    void SetUp() override
    {
        fs::create_directories(folder.path() / "player/corvale/level_sets");
        set_file set(1, 0);
        set.title("Titled Set");
        set.write("level_sets/titled.bls");
        snprintf(set_name, sizeof set_name, "titled.bls");
        memset(hstable, 0, sizeof hstable);
        screen_reset();
        hs_sequence = fadehs = testing_level = 0;
        difficulty = 1;
    }
};

// A missing or short file gives a table of zeros, and names and titles always
// end inside their fields.
TEST_F(Scores, AScoreEqualToTheTenthDoesNotEnterAClassicOneLeavesTheNormalTableAndBadFilesGiveASafeTable)
{
    fill_table(0);
    EXPECT_EQ(place_score(0, 100, "New", 2), -1);
    EXPECT_EQ(place_score(0, 101, "New", 2), 9);
    EXPECT_EQ(hstable[9].entry_score, 101);
    EXPECT_EQ(hstable[9].entry_difficulty, 2);
    EXPECT_EQ(place_score(0, 700, "New", 1), 4);   // below the equal entry
    EXPECT_STREQ(hstable[3].player_name, "p3");
    EXPECT_STREQ(hstable[5].player_name, "p4");
    // A classic game's score never changes the normal table.
    std::vector<score_entry> normal(hstable, hstable + TABLE_ENTRIES);
    EXPECT_EQ(place_score(1, 999999, "New", 1), 10);
    EXPECT_EQ(memcmp(normal.data(), hstable, sizeof(score_entry) * TABLE_ENTRIES), 0);

    fill_table(0);
    readscores();
    EXPECT_EQ(hstable[0].entry_score, 0);
    write_bytes(scores_path(), bytes(3359, 7));
    fill_table(1);
    readscores();
    EXPECT_EQ(hstable[10].entry_score, 0);
    EXPECT_EQ(hstable[19].player_name[0], 0);
    write_bytes(scores_path(), bytes(3360, 'x'));
    readscores();
    EXPECT_EQ(strlen(hstable[0].player_name), 79u);
    EXPECT_EQ(strlen(hstable[19].entry_set_title), 79u);
    place_score(0, 1 << 30, std::string(200, 'T').c_str(), 0);
    EXPECT_EQ(strlen(hstable[0].entry_set_title), 79u);
}

// OK writes the name typed exactly, the rest of its field zero; the game ending
// while the dialog is open keeps the score under the name typed so far, or
// "Player". With no dialog open it writes nothing.
TEST_F(Scores, TheNameTypedOrPlayerIsWrittenExactlyWithTheRestOfItsFieldZero)
{
    const struct {
        const char *typed, *kept;
        bool ok;   // OK pressed, or the game ended
    } cases[] = {{"ada", "ada", true}, {"Al", "Al", false}, {"", "Player", false}};
    for (const auto &c : cases) {
        fill_table(1);
        writescores();
        hs_classic = 1;
        hs_score = 950;
        difficulty = 2;
        checkscores();
        ASSERT_EQ(screen_is(SCREEN_SCORE_NAME), 1);
        EXPECT_EQ(hs_sequence, 1);
        ASSERT_EQ(table_pos, 11);
        EXPECT_STREQ(hstable[11].entry_set_title, "Titled Set");
        memset(hstable[11].player_name, 'z', 80);
        snprintf(buffer, sizeof buffer, "%s", c.typed);
        bcount = (int)strlen(c.typed);
        if (c.ok) {
            GUI_OK = 1;
            hsnotify();
            EXPECT_EQ(screen_is(SCREEN_SCORE_NAME) + bcount + buffer[0], 0);
            EXPECT_EQ(screen_is(SCREEN_SCORES), 1);
        } else {
            finish_name_entry();
        }
        bytes d = file_bytes(scores_path());
        ASSERT_EQ(d.size(), 3360u);
        bytes name(80, 0);
        memcpy(name.data(), c.kept, strlen(c.kept));
        EXPECT_EQ(bytes(&d[11 * 168], &d[11 * 168 + 80]), name);
        EXPECT_EQ(int_at(d, 11 * 168 + 164), 950);
        EXPECT_STREQ(&d[12 * 168], "p1");
    }
    bytes before = file_bytes(scores_path());
    close_screen();
    finish_name_entry();
    EXPECT_EQ(file_bytes(scores_path()), before);
}

// A table that cannot be read is kept whole beside the new one, the player is
// told once, and the next high score starts a new table instead of writing
// over the old entries. The table screen reads the file when it opens only.
TEST_F(Scores, ATableThatCannotBeReadIsKeptAsideANewOneStartedAndTheScreenReadsItWhenItOpens)
{
    bytes damaged(3359, '\0');
    for (size_t i = 0; i < damaged.size(); i++)
        damaged[i] = (char)(i * 7 + 1);
    write_bytes(scores_path(), damaged);
    notice[0] = 0;
    hs_classic = 0;
    hs_score = 500;
    checkscores();
    ASSERT_EQ(table_pos, 0);
    EXPECT_EQ(file_bytes(scores_path() + ".damaged"), damaged);
    EXPECT_FALSE(fs::exists(scores_path()));
    EXPECT_NE(strstr(notice, "scores.hst.damaged"), nullptr) << notice;
    notice[0] = 0;
    snprintf(buffer, sizeof buffer, "New");
    bcount = 3;
    GUI_OK = 1;
    hsnotify();
    bytes fresh = file_bytes(scores_path());
    ASSERT_EQ(fresh.size(), 3360u);
    EXPECT_STREQ(&fresh[0], "New");
    EXPECT_EQ(file_bytes(scores_path() + ".damaged"), damaged);

    readscores();   // the new table: nothing more to tell
    EXPECT_EQ(notice[0], 0);
    close_screen();

    fill_table(0);
    writescores();
    open_screen(SCREEN_SCORES);
    display_scores();
    EXPECT_STREQ(hstable[0].player_name, "p0");
    bytes other = file_bytes(scores_path());
    put32(other, 164, 5);   // the first entry's score
    write_bytes(scores_path(), other);
    display_scores();   // still open: the table read at opening stays
    EXPECT_EQ(hstable[0].entry_score, 1000);
    GUI_CANCEL = 1;
    display_scores();
    EXPECT_EQ(screen_is(SCREEN_SCORES), 0);
    open_screen(SCREEN_SCORES);
    display_scores();   // opened again: the file as it is now
    EXPECT_EQ(hstable[0].entry_score, 5);
    GUI_CANCEL = 1;
    display_scores();
    menublock = fadehs = 0;
}
