// Making a level set in the editor: the chain of entries, the overwrite
// question, the file written byte by byte, and names or writes that must fail.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "editor/editor.h"
#include "editor_view.h"
#include "level_bytes.h"
#include "graphics/graphics.h"
#include "menus/browser.h"
#include "menus/menus.h"
#include "player_folder.h"
#include "rules/rules.h"
#include "shell/shell.h"
#include "shell/winmsg.h"

namespace fs = std::filesystem;

namespace {

// A level file: 2 Hit bricks of texture `tex` coloured (n, 2n, 3n) at each
// given cell, and a power-up of kind `tex` on the first one.
void write_level_file(int n, int tex, std::vector<std::pair<int, int>> cells)
{
    level_file f;
    for (auto [r, c] : cells) {
        f.set(TEX_BLOCK, r, c, tex);
        f.set(RED_BLOCK, r, c, n);
        f.set(GREEN_BLOCK, r, c, 2 * n);
        f.set(BLUE_BLOCK, r, c, 3 * n);
        f.set(TYPE_BLOCK, r, c, 2);
    }
    if (!cells.empty())
        f.set(PUP_BLOCK, cells[0].first, cells[0].second, tex);
    f.write(n);
}

bool zeros(const std::string &d, size_t at, size_t n)
{
    return d.compare(at, n, std::string(n, '\0')) == 0;
}

}  // namespace

// Each case starts the editor as start-up does, in a scratch player folder
// holding three brick textures.
class LevelSetCreation : public TexturedGLTest {
protected:
    player_folder folder{3};

    void SetUp() override
    {
        memset(&fhead, 0, sizeof fhead);
        memset(filename, 0, sizeof filename);
        difficulty = 1;
        screen_reset();
        classic = testing_level = 0;
    }
    void TearDown() override
    {
        close_dialogs();
        GUI_OK = GUI_CANCEL = gui_block = 0;
        clear_buffer();
        bcount = 0;
        file_search(3);
    }
    // Level 1 holding one brick, and the editor started on it.
    void start_with_one_brick()
    {
        write_level_file(1, 1, {{1, 1}});
        start_editor();
    }
    // Types text into the open entry and presses its OK.
    void answer(const char *text)
    {
        snprintf(buffer, sizeof buffer, "%s", text);
        bcount = (int)strlen(text);
        GUI_OK = 1;
        dialog_frame();
    }
    void press(int &request)
    {
        request = 1;
        dialog_frame();
    }
    // Name, description and author typed; the file-name entry is open.
    void up_to_file_name()
    {
        open_dialog(DLG_SET_NAME);
        answer("My Set");
        answer("Three short levels");
        answer("Ann Example");
    }
};

// Cancel at any entry ends the chain, writes nothing and keeps the texts, and
// so does Escape; with no brick in any level nothing is written either, and the
// panel says why.
TEST_F(LevelSetCreation, CancelOrEscapeAtAnyEntryOrNoBrickWritesNothing)
{
    write_level_file(1, 1, {});
    start_editor();
    const char *texts[] = {"Name", "Description", "Author"};
    for (int step = 0; step < 4; step++) {
        memset(&edhead, 0, sizeof edhead);
        open_dialog(DLG_SET_NAME);
        for (int k = 0; k < step; k++)
            answer(texts[k]);
        snprintf(buffer, sizeof buffer, "half");
        bcount = 4;
        press(GUI_CANCEL);
        EXPECT_EQ(dialog_shown(), DLG_NONE) << "cancel at step " << step + 1;
        EXPECT_EQ(bcount, 0);
        EXPECT_STREQ(buffer, "") << "the next entry starts blank";
        if (step >= 1) {
            EXPECT_STREQ(edhead.set_title, "Name");
        }
        if (step >= 3) {
            EXPECT_STREQ(edhead.author_name, "Author");
        }
    }
    // The first Escape only closes the entries.
    screen_set(SCREEN_EDITOR);
    up_to_file_name();
    snprintf(buffer, sizeof buffer, "abc");
    bcount = 3;
    keys[VK_ESCAPE] = 1;
    escape_action();
    EXPECT_EQ(dialog_shown(), DLG_NONE);
    EXPECT_EQ(screen_is(SCREEN_EDITOR), 1);
    EXPECT_EQ(keys[VK_ESCAPE], 0);
    EXPECT_STREQ(buffer, "");

    up_to_file_name();
    answer("empty");
    EXPECT_EQ(dialog_open(DLG_NO_BRICKS), 1);
    EXPECT_EQ(dialog_open(DLG_SET_CREATED), 0);
    EXPECT_TRUE(fs::is_empty("level_sets"));
}

// The panel after a set is made says that a changed board was saved first (and
// the set holds it); a failed save before it says the set was not made.
TEST_F(LevelSetCreation, TheCreatedPanelSaysAChangedBoardWasSavedFirst)
{
    write_level_file(1, 1, {{1, 1}});
    write_level_file(2, 1, {});
    write_level_file(3, 1, {{2, 2}});
    write_level_file(4, 1, {});
    start_editor();
    leveled[grid_index(9, 9)] = 3;
    up_to_file_name();
    answer("again");
    EXPECT_STREQ(created_text, "Level set created: 2 levels (levels 2 and 4 were empty and left out).\n"
                               "Level 1 was saved first.");
    EXPECT_EQ(level_unsaved(), 0);
    load_level_set("again.bls", 1);
    EXPECT_EQ(board[grid_index(9, 9)], 3) << "the set holds the board as saved";

    leveled[grid_index(9, 10)] = 1;
    chmod("user_data", 0500);
    up_to_file_name();
    answer("third");
    chmod("user_data", 0700);
    if (geteuid() != 0) {
        EXPECT_EQ(dialog_shown(), DLG_WRITE_FAILED);
        EXPECT_NE(std::string(writefail_text).find("level set was not created"), std::string::npos);
        EXPECT_FALSE(fs::exists("level_sets/third.bls"));
    }
}

TEST_F(LevelSetCreation, TheFileNameEntryKeepsEightLettersWithTheirCapitalsUntilEnter)
{
    start_with_one_brick();
    up_to_file_name();
    EXPECT_EQ(fulltext, 0) << "file-name mode";
    for (char c : std::string("Zed-set.ZZz9"))
        WndProc(nullptr, WM_CHAR, (unsigned char)c, 0);
    dialog_frame();
    EXPECT_EQ(dialog_open(DLG_SET_FILE), 1) << "only Enter completes a file name";
    EXPECT_STREQ(buffer, "ZedsetZZ");
    WndProc(nullptr, WM_KEYDOWN, VK_RETURN, 0);
    dialog_frame();
    EXPECT_EQ(dialog_open(DLG_SET_FILE), 0);
    EXPECT_STREQ(filename, "ZedsetZZ");
    EXPECT_TRUE(fs::exists("level_sets/ZedsetZZ.bls"));
    EXPECT_EQ(dialog_open(DLG_SET_CREATED), 1);
}

// Cancel (or Escape) on the overwrite question asks for the file name again; a panel
// opened over the question (F2's "Level saved.") is the only one drawn and
// answered, and its OK brings the question back, still unanswered; OK on the
// question writes over the old set, and nothing is left open under the panel.
TEST_F(LevelSetCreation, TheOverwriteQuestionOutlivesAPanelAndOnlyItsOkWritesOver)
{
    start_with_one_brick();
    screen_set(SCREEN_EDITOR);
    std::ofstream("level_sets/mine.bls") << "old";
    up_to_file_name();
    answer("mine");
    ASSERT_EQ(dialog_shown(), DLG_OVERWRITE);
    EXPECT_EQ(dialog_open(DLG_SET_FILE), 0);
    press(GUI_CANCEL);
    EXPECT_EQ(dialog_open(DLG_OVERWRITE), 0);
    EXPECT_EQ(dialog_shown(), DLG_SET_FILE);
    EXPECT_EQ(bcount, 0);
    EXPECT_STREQ(buffer, "");
    answer("mine");
    keys[VK_ESCAPE] = 1;
    escape_action();
    dialog_frame();
    EXPECT_EQ(dialog_shown(), DLG_SET_FILE) << "Escape is Cancel: the file name is asked again";

    answer("mine");
    ASSERT_EQ(dialog_shown(), DLG_OVERWRITE);
    ASSERT_EQ(save_edited_level(), 1);
    EXPECT_EQ(dialog_shown(), DLG_SAVED);
    press(GUI_OK);
    EXPECT_EQ(dialog_shown(), DLG_OVERWRITE);
    EXPECT_EQ(file_bytes("level_sets/mine.bls").size(), 3u) << "the question was not answered";
    press(GUI_OK);
    EXPECT_EQ(dialog_shown(), DLG_SET_CREATED);
    EXPECT_GT(file_bytes("level_sets/mine.bls").size(), 784u);
    press(GUI_OK);
    EXPECT_EQ(dialog_shown(), DLG_NONE);
}

// A name that is not plain, or that of a set shipped with the game (which the
// player's set would hide), is refused: the entry stays open and nothing is
// written; another name then makes the set.
TEST_F(LevelSetCreation, RefusedNamesKeepTheEntryOpenAndWriteNothing)
{
    start_with_one_brick();
    fs::path game = fs::path(folder.path()).parent_path() / "game";
    fs::create_directories(game / "level_sets");
    fs::copy(fs::path(folder.path()) / "bricks", game / "bricks");
    std::ofstream(game / "level_sets/classic.bls") << "shipped";
    fs::current_path(game);
    up_to_file_name();
    for (const char *name : {"a b", "", "classic"}) {
        answer(name);
        EXPECT_EQ(dialog_shown(), DLG_SET_FILE) << "the entry stays open for \"" << name << "\"";
    }
    EXPECT_EQ(dialog_open(DLG_OVERWRITE) + dialog_open(DLG_SET_CREATED), 0);
    EXPECT_TRUE(fs::is_empty(folder.path() + "/level_sets"));
    answer("classic2");
    EXPECT_EQ(dialog_shown(), DLG_SET_CREATED);
    EXPECT_EQ(file_bytes((game / "level_sets/classic.bls").string()).size(), 7u);
    EXPECT_GT(file_bytes(folder.path() + "/level_sets/classic2.bls").size(), 784u);
    fs::current_path(folder.path());

    // A stored name is checked again before anything is opened or written.
    snprintf(filename, sizeof filename, "../escape");
    EXPECT_EQ(level_exists(), 0);
    EXPECT_EQ(create_level_set(), -1);
    EXPECT_FALSE(fs::exists("escape.bls"));
}

TEST_F(LevelSetCreation, TheSetHoldsEveryReadableLevelWithABrickAndEveryTextureByteForByte)
{
    write_level_file(1, 2, {{1, 1}, {20, 20}});
    write_level_file(2, 1, {});             // no brick
    write_level_file(3, 2, {{3, 3}});       // cannot be read
    write_level_file(4, 3, {{0, 5}});       // a brick outside the grid only
    write_level_file(5, 1, {{7, 9}});
    write_level_file(6, 1, {{6, 6}});       // cannot be read
    start_editor();
    ASSERT_EQ(curlevel, 6);
    ASSERT_EQ(texmax, 3);
    write_bytes("user_data/l3.raw", std::string(10583, '\3'));
    write_bytes("user_data/l6.raw", std::string(100, '\6'));
    up_to_file_name();
    answer("exact");
    ASSERT_EQ(dialog_open(DLG_SET_CREATED), 1);
    EXPECT_STREQ(created_text, "Level set created: 2 levels (levels 2 and 4 were empty and left out).");
    EXPECT_STREQ(notice, "Left out of the set, as they cannot be read:\nlevels 3, 6.");
    EXPECT_EQ(file_bytes("user_data/l3.raw"), std::string(10583, '\3')) << "left as it is";
    notice[0] = 0;

    std::string d = file_bytes("level_sets/exact.bls");
    ASSERT_EQ(d.size(), 784u + 2 * 10632u + 3 * 6152u);
    EXPECT_EQ(int_at(d, 0), 2);
    EXPECT_EQ(int_at(d, 4), 3);
    EXPECT_STREQ(&d[8], "My Set");
    EXPECT_STREQ(&d[263], "Ann Example");
    EXPECT_STREQ(&d[518], "Three short levels");
    EXPECT_TRUE(zeros(d, 8 + 7, 255 - 7)) << "the rest of the title field is NUL";
    EXPECT_TRUE(zeros(d, 773, 3 + 8)) << "padding and separator";
    int included[] = {1, 5};
    for (int i = 0; i < 2; i++) {
        std::string level = file_bytes("user_data/l" + std::to_string(included[i]) + ".raw");
        size_t at = 784 + i * 10632;
        for (int b = 0; b < 6; b++) {
            EXPECT_EQ(0, memcmp(&d[at + b * 1772], &level[b * 1764], 1764))
                << "level " << included[i] << " block " << b;
            EXPECT_TRUE(zeros(d, at + b * 1772 + 1764, 8));
        }
    }
    for (int t = 1; t <= 3; t++) {
        std::string tex = file_bytes("bricks/b" + std::to_string(t) + ".raw");
        size_t at = 784 + 2 * 10632 + (t - 1) * 6152;
        EXPECT_EQ(0, memcmp(&d[at], tex.data(), 6144)) << "texture " << t;
        EXPECT_TRUE(zeros(d, at + 6144, 8));
    }
}

// Over a set of the same name, so the overwrite question comes first. The
// file itself is kept by the safe writer (its own test); here the panel.
TEST_F(LevelSetCreation, AFailedWriteShowsThePanel)
{
    start_with_one_brick();
    std::ofstream("level_sets/kept.bls") << "old set";
    chmod("level_sets", 0555);
    {
        plain_user user;
        up_to_file_name();
        answer("kept");
        press(GUI_OK);
    }
    EXPECT_EQ(dialog_open(DLG_SET_CREATED), 0);
    EXPECT_EQ(dialog_open(DLG_WRITE_FAILED), 1);
    EXPECT_STREQ(writefail_text, "The file could not be written.");
    EXPECT_EQ(std::string(writefail_file), folder.path() + "/level_sets/kept.bls");
    EXPECT_STREQ(writefail_reason, "Permission denied");
}
