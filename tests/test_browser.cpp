// The play options and the level-set browser: the order and wrap of the sets,
// empty and unreadable folders, Play, difficulty and mode.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "gl_context.h"
#include "gl_view.h"
#include "level_bytes.h"
#include "player_folder.h"
#include "graphics/graphics.h"
#include "menus/browser.h"
#include "menus/menus.h"
#include "rules/progress.h"
#include "rules/rules.h"
#include "shell/shell.h"

namespace fs = std::filesystem;

extern char sfilename[256];   // the browser's file name of the set shown

// A one-level set with the given title and one brick at row 1, column 1.
static void write_set(const std::string &file, const char *title)
{
    set_file s(1, 0);
    s.title(title);
    s.set(1, TEX_BLOCK, 1, 1, 1);
    s.write("level_sets/" + file);
}

// Each case runs in a scratch game folder with an empty level_sets/ and the browser open.
class Browser : public GLTest {
protected:
    game_folder folder;
    const fs::path dir = folder.path();

    void SetUp() override
    {
        fs::create_directories(dir / "player" / "corvale" / "level_sets");
        snprintf(set_name, sizeof set_name, "default.bls");
        difficulty = level = 1;
        screen_set(SCREEN_BROWSER);
        classic = testing_level = SAVE_AVAILABLE = 0;
        pointerx = pointery = 0;
    }
    void TearDown() override
    {
        file_search(3);
        screen_set(SCREEN_TITLE);
        menublock = gui_select = 0;
    }
    std::string press(int &request)
    {
        request = 1;
        level_loader();
        return fhead.set_title;
    }
};

TEST_F(Browser, SetsComeInNameOrderWithoutRegardToCaseAndWrapAround)
{
    write_set("beta.bls", "B");
    write_set("Alpha.BLS", "A");
    write_set("delta.bls", "D");
    write_set("gamma.txt", "not a set");
    write_set("Charlie.Bls", "C");
    file_search(1);
    EXPECT_STREQ(fhead.set_title, "A");
    for (const char *next : {"B", "C", "D", "A"})
        EXPECT_EQ(press(GUI_LEVEL), next);
}

TEST_F(Browser, WithOneSetNextShowsItAgainAndPlayStartsIt)
{
    write_set("only.bls", "Only");
    file_search(1);
    EXPECT_EQ(press(GUI_LEVEL), "Only");
    goodies[3] = 0;
    press(GUI_PLAY);
    EXPECT_STREQ(set_name, "only.bls");
    EXPECT_EQ(screen_is(SCREEN_BROWSER) + menublock, 0);
    EXPECT_EQ((fade_running() == FADE_OUT) + goodies[3], 2);
    EXPECT_EQ(board[grid_index(1, 1)], 1);
}

// A player's set named as one of the game's (made by an earlier version) is
// listed after it as the player's own: neither hides the other, and each
// plays its own levels.
TEST_F(Browser, ThePlayersOwnSetsComeWithTheShippedOnesAndAnEqualNameListsBoth)
{
    write_set("beta.bls", "Shipped B");
    write_set("same.bls", "Shipped same");
    fs::current_path(dir / "player" / "corvale");
    write_set("alpha.bls", "Own A");
    write_set("same.bls", "Own same");
    fs::current_path(dir);
    file_search(1);
    EXPECT_STREQ(fhead.set_title, "Own A");
    for (const char *next : {"Shipped B", "Shipped same", "Own same"})
        EXPECT_EQ(press(GUI_LEVEL), next);
    EXPECT_STREQ(sfilename, "~/same.bls");
    press(GUI_PLAY);
    EXPECT_STREQ(set_name, "~/same.bls");
    EXPECT_STREQ(fhead.set_title, "Own same");

    load_level_set("same.bls", 1);
    EXPECT_STREQ(fhead.set_title, "Shipped same");
    load_level_set("alpha.bls", 1);
    EXPECT_STREQ(fhead.set_title, "Own A");
    EXPECT_EQ(board[grid_index(1, 1)], 1);
}

TEST_F(Browser, AnEmptyOrMissingFolderShowsAnEmptyHeaderAndPlayDoesNothing)
{
    for (int missing = 0; missing <= 1; missing++) {
        if (missing)
            fs::remove_all("level_sets");
        fhead.level_count = 5;
        file_search(1);
        EXPECT_EQ(fhead.level_count, 0);
        EXPECT_EQ(press(GUI_LEVEL), "");
        press(GUI_PLAY);
        EXPECT_EQ(screen_is(SCREEN_BROWSER), 1);
        EXPECT_EQ((fade_running() == FADE_OUT), 0);
        EXPECT_STREQ(set_name, "default.bls");
    }
}

TEST_F(Browser, ASetTooShortForItsHeaderCannotBePlayedButNextStillWorks)
{
    std::ofstream("level_sets/a_broken.bls") << "short";
    write_set("b_good.bls", "Good");
    file_search(1);
    EXPECT_STREQ(fhead.set_title, "");
    press(GUI_PLAY);
    EXPECT_EQ(screen_is(SCREEN_BROWSER), 1);
    EXPECT_EQ(press(GUI_LEVEL), "Good");
    press(GUI_PLAY);
    EXPECT_STREQ(set_name, "b_good.bls");
}

TEST_F(Browser, DifficultyCyclesAndClassicToggles)
{
    screen_set(SCREEN_OPTIONS);
    difficulty = 0;
    for (int want : {1, 2, 0}) {
        GUI_DIFF = 1;
        play_options();
        EXPECT_EQ(difficulty, want);
    }
    GUI_EDCLASSIC = 1;
    play_options();
    EXPECT_EQ(classic, 1);
}

// A set that cannot be read starts no game: the player is told, and the file
// stays as it was. This holds for the browser's Play and the options' Play.
TEST_F(Browser, ASetThatCannotBeReadIsExplainedAndStartsNoGame)
{
    write_set("good.bls", "Good");
    const std::string whole = file_bytes("level_sets/good.bls");
    const std::string cut = whole.substr(0, whole.size() - 100);   // its level is incomplete
    write_bytes("level_sets/cut.bls", cut);

    file_search(1);
    notice[0] = 0;
    press(GUI_PLAY);
    EXPECT_STREQ(notice, "This level set cannot be read.");
    EXPECT_EQ(screen_is(SCREEN_BROWSER), 1);
    EXPECT_EQ((fade_running() == FADE_OUT), 0);
    EXPECT_STREQ(set_name, "default.bls");

    notice[0] = 0;
    snprintf(set_name, sizeof set_name, "cut.bls");
    screen_set(SCREEN_OPTIONS);
    GUI_PLAY = 1;
    play_options();
    EXPECT_STREQ(notice, "This level set cannot be read.");
    EXPECT_EQ(screen_is(SCREEN_OPTIONS) + (fade_running() == FADE_OUT), 0);
    EXPECT_EQ(file_bytes("level_sets/cut.bls"), cut);
    notice[0] = 0;
}

// A level drawn small and read back cell by cell: every brick in its colour,
// every empty cell (whatever colour it stores) the dark ground.
TEST_F(Browser, AThumbnailShowsEachCellOfItsLevel)
{
    static level_file_record rec;
    memset(&rec, 0, sizeof rec);
    for (int r = 1; r <= 20; r++)
        for (int c = 1; c <= 20; c++) {
            int k = grid_index(r, c);
            rec.block[LEVEL_TEXTURES].cells[k] = (r * 7 + c * 3) % 4 == 0 ? 0 : 1;
            rec.block[LEVEL_RED].cells[k] = (r * 6) % 128;
            rec.block[LEVEL_GREEN].cells[k] = (c * 6) % 128;
            rec.block[LEVEL_BLUE].cells[k] = 100;
        }
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gui_frame();
    glDisable(GL_DEPTH_TEST);
    draw_thumbnail(rec, 0.5f, 2.0f, 5.5f, -0.4f, -5.0f);   // the canvas's own size: a cell each 0.25 x 0.12
    int wrong = 0;
    for (int r = 1; r <= 20; r++)
        for (int c = 1; c <= 20; c++) {
            int k = grid_index(r, c);
            bool brick = rec.block[LEVEL_TEXTURES].cells[k] != 0;
            rgb want = brick ? rgb{2 * rec.block[LEVEL_RED].cells[k], 2 * rec.block[LEVEL_GREEN].cells[k], 200}
                             : rgb{20, 20, 20};
            if (!rgb_near(cell_pixel(r, c), want, 3)) {
                wrong++;
                ADD_FAILURE() << "cell " << r << "," << c;
            }
        }
    EXPECT_EQ(wrong, 0);
    glEnable(GL_DEPTH_TEST);
}

// The browser previews the set's first level; its buttons flip through the
// levels, wrapping, and Next Set starts the preview at the first level again.
TEST_F(Browser, ThePreviewStartsAtTheFirstLevelAndFlipsThroughTheSet)
{
    set_file s(3, 0);
    s.title("Three");
    for (int lev = 1; lev <= 3; lev++)
        for (int r = 1; r <= 20; r++)
            for (int c = 1; c <= 20; c++) {
                s.set(lev, TEX_BLOCK, r, c, 1);
                s.set(lev, lev == 1 ? RED_BLOCK : lev == 2 ? GREEN_BLOCK : BLUE_BLOCK, r, c, 127);
            }
    s.write("level_sets/three.bls");
    write_set("zulu.bls", "Z");
    file_search(1);
    // The middle of the preview, in the GUI frame.
    auto centre = [] { return frame_pixel(3.36 + 0.36, 0.06 - 0.17); };
    struct { int *request; int level; rgb colour; } steps[] = {
        {nullptr, 1, {254, 0, 0}}, {&GUI_PREVIEW_NEXT, 2, {0, 254, 0}}, {&GUI_PREVIEW_NEXT, 3, {0, 0, 254}},
        {&GUI_PREVIEW_NEXT, 1, {254, 0, 0}}, {&GUI_PREVIEW_PREV, 3, {0, 0, 254}},
    };
    for (const auto &t : steps) {
        if (t.request)
            *t.request = 1;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        level_loader();
        level_loader();   // the request is acted on after the frame's drawing
        EXPECT_EQ(preview_level, t.level);
        EXPECT_TRUE(rgb_near(centre(), t.colour, 3)) << "level " << t.level;
    }
    EXPECT_EQ(press(GUI_LEVEL), "Z");
    EXPECT_EQ(preview_level, 1);
}
