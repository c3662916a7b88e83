// The play options and the level-set browser: the order and wrap of the sets,
// empty and unreadable folders, Play, difficulty and mode.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gl_context.h"
#include "menus/browser.h"
#include "menus/menus.h"
#include "rules/progress.h"
#include "rules/rules.h"
#include "shell/shell.h"

namespace fs = std::filesystem;

// A one-level set with the given title and one brick at row 1, column 1.
static void write_set(const std::string &file, const char *title)
{
    std::vector<char> d(784 + 6 * (1764 + 8), 0);
    d[0] = 1;
    strcpy(&d[8], title);
    d[784 + 22 * 4] = 1;
    std::ofstream(fs::path("level_sets") / file, std::ios::binary).write(d.data(), d.size());
}

// Each case runs in a scratch game folder with an empty level_sets/ and the browser open.
class Browser : public GLTest {
protected:
    fs::path old_dir = fs::current_path(), dir;

    void SetUp() override
    {
        std::string tmpl = std::string(CORVALE_BINARY_DIR) + "/browser_XXXXXX";
        dir = mkdtemp(tmpl.data());
        fs::create_directory(dir / "level_sets");
        fs::create_directories(dir / "player" / "corvale" / "level_sets");
        setenv("XDG_DATA_HOME", (dir / "player").c_str(), 1);
        fs::current_path(dir);
        snprintf(set_name, sizeof set_name, "default.bls");
        difficulty = level = loadgui = 1;
        classic = edit = testing_level = fadeout = SAVE_AVAILABLE = 0;
        pointerx = pointery = 0;
    }
    void TearDown() override
    {
        file_search(3);
        loadgui = options = fadeout = menublock = gui_select = 0;
        fs::current_path(old_dir);
        fs::remove_all(dir);
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
    EXPECT_EQ(press(GUI_LEVEL), "B");
    EXPECT_EQ(press(GUI_LEVEL), "C");
    EXPECT_EQ(press(GUI_LEVEL), "D");
    EXPECT_EQ(press(GUI_LEVEL), "A");
}

TEST_F(Browser, WithOneSetNextShowsItAgainAndPlayStartsIt)
{
    write_set("only.bls", "Only");
    file_search(1);
    EXPECT_EQ(press(GUI_LEVEL), "Only");
    goodies[3] = 0;
    press(GUI_PLAY);
    EXPECT_STREQ(set_name, "only.bls");
    EXPECT_EQ(loadgui + menublock, 0);
    EXPECT_EQ(fadeout + goodies[3], 2);
    EXPECT_EQ(board[grid_index(1, 1)], 1);
}

TEST_F(Browser, ThePlayersOwnSetsComeWithTheShippedOnesAndWinOnAnEqualName)
{
    write_set("beta.bls", "Shipped B");
    write_set("same.bls", "Shipped same");
    fs::current_path(dir / "player" / "corvale");
    write_set("alpha.bls", "Own A");
    write_set("same.bls", "Own same");
    fs::current_path(dir);
    file_search(1);
    EXPECT_STREQ(fhead.set_title, "Own A");
    EXPECT_EQ(press(GUI_LEVEL), "Shipped B");
    EXPECT_EQ(press(GUI_LEVEL), "Own same");
    EXPECT_EQ(press(GUI_LEVEL), "Own A");

    load_level_set("same.bls", 1);
    EXPECT_STREQ(fhead.set_title, "Own same");
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
        EXPECT_EQ(loadgui, 1);
        EXPECT_EQ(fadeout, 0);
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
    EXPECT_EQ(loadgui, 1);
    EXPECT_EQ(press(GUI_LEVEL), "Good");
    press(GUI_PLAY);
    EXPECT_STREQ(set_name, "b_good.bls");
}

TEST_F(Browser, DifficultyCyclesAndClassicToggles)
{
    loadgui = 0;
    options = 1;
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
    std::ifstream in("level_sets/good.bls", std::ios::binary);
    std::string whole((std::istreambuf_iterator<char>(in)), {});
    const std::string cut = whole.substr(0, whole.size() - 100);   // its level is incomplete
    std::ofstream("level_sets/cut.bls", std::ios::binary) << cut;
    auto file_text = [] {
        std::ifstream f("level_sets/cut.bls", std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(f)), {});
    };

    file_search(1);
    notice[0] = 0;
    press(GUI_PLAY);
    EXPECT_STREQ(notice, "This level set cannot be read.");
    EXPECT_EQ(loadgui, 1);
    EXPECT_EQ(fadeout, 0);
    EXPECT_STREQ(set_name, "default.bls");

    notice[0] = 0;
    snprintf(set_name, sizeof set_name, "cut.bls");
    options = 1;
    GUI_PLAY = 1;
    play_options();
    EXPECT_STREQ(notice, "This level set cannot be read.");
    EXPECT_EQ(options + fadeout, 0);
    EXPECT_EQ(file_text(), cut);
    notice[0] = 0;
}
