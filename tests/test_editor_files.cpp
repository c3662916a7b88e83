// The editor's level files: saving, the unsaved mark, moving between levels,
// Clear Level and Delete All, and writes that fail.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "editor/editor.h"
#include "editor_view.h"
#include "gl_context.h"
#include "level_bytes.h"
#include "menus/menus.h"
#include "player_folder.h"
#include "rules/rules.h"
#include "shell/shell.h"
#include "shell/winmsg.h"

namespace fs = std::filesystem;

namespace {

int32_t *const grids[6] = {leveled, ed_rr, ed_gg, ed_bb, ed_bricktype, ed_powerup};

// Cell (r, c) of grid block b of a level file's bytes.
int32_t cell_of(const std::string &file, int b, int r, int c)
{
    return int_at(file, b * 1764 + (r * 21 + c) * 4);
}

// A level file whose only brick is texture `tex` at row 1, column 1.
void write_level_file(int n, int tex)
{
    level_file f;
    f.set(TEX_BLOCK, 1, 1, tex);
    f.write(n);
}

std::string level_path(int n)
{
    return "user_data/l" + std::to_string(n) + ".raw";
}

}  // namespace

// Each case starts the editor as start-up does, in a scratch player folder.
class EditorFiles : public GLTest {
protected:
    player_folder folder;

    void TearDown() override
    {
        close_dialogs();
        GUI_OK = GUI_CANCEL = gui_block = 0;
    }
};

TEST_F(EditorFiles, TheUnsavedMarkFollowsTheFileAndSaveWritesTheSixGridsInFileOrder)
{
    start_editor();
    EXPECT_EQ(curlevel, 1);
    EXPECT_EQ(level_unsaved(), 0) << "a new, empty level";
    ed_powerup[grid_index(3, 3)] = 5;
    EXPECT_EQ(level_unsaved(), 1) << "a power-up alone is work not to lose";

    write_level_file(1, 2);
    start_editor();
    EXPECT_EQ(level_unsaved(), 0);
    ed_rr[grid_index(5, 5)] = 10;
    EXPECT_EQ(level_unsaved(), 1);
    ed_rr[grid_index(5, 5)] = 127;
    EXPECT_EQ(level_unsaved(), 0) << "back to what the file holds";
    leveled[grid_index(0, 0)] = 4;
    EXPECT_EQ(level_unsaved(), 0) << "cell (0, 0) is never drawn or played";

    start_editor();
    for (int b = 0; b < 6; b++)
        for (int k = 0; k < 441; k++)
            grids[b][k] = b * 1000 + k;
    ASSERT_EQ(save_edited_level(), 1);
    std::string file = file_bytes(level_path(1));
    ASSERT_EQ(file.size(), 10584u);
    for (int b = 0; b < 6; b++) {
        EXPECT_EQ(cell_of(file, b, 0, 0), b * 1000) << "block " << b;
        EXPECT_EQ(cell_of(file, b, 20, 20), b * 1000 + 440) << "block " << b;
    }
    EXPECT_EQ(dialog_open(DLG_SAVED), 1);
    EXPECT_EQ(dialog_open(DLG_WRITE_FAILED), 0);
    EXPECT_EQ(level_unsaved(), 0);
    // Nothing but the level is left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator("user_data"), fs::directory_iterator()), 1);
}

// Moving saves a changed board first and loads the other level; the moves
// stop at level 1, one new level past the last file and at the highest level.
TEST_F(EditorFiles, MovingSavesAChangedBoardFirstAndStopsAtTheEnds)
{
    write_level_file(1, 2);
    start_editor();
    EXPECT_EQ(editor_prev_level(), 0);
    EXPECT_EQ(edlevel, 1);
    leveled[grid_index(2, 2)] = 3;
    ASSERT_EQ(editor_next_level(), 1);
    EXPECT_EQ(cell_of(file_bytes(level_path(1)), 0, 2, 2), 3) << "level 1 saved on the way out";
    EXPECT_EQ(edlevel, 2);
    EXPECT_EQ(curlevel, 1);
    EXPECT_EQ(leveled[grid_index(2, 2)], 0) << "a new level starts empty";
    EXPECT_EQ(ed_gg[grid_index(2, 2)], 127);
    EXPECT_EQ(ed_bricktype[grid_index(2, 2)], 1);
    EXPECT_EQ(dialog_open(DLG_SAVED), 0) << "no panel for a save on the way";
    EXPECT_EQ(editor_next_level(), 0) << "an empty new level is the last one";
    ASSERT_EQ(editor_prev_level(), 1);
    EXPECT_FALSE(fs::exists(level_path(2))) << "left empty, it writes nothing";
    EXPECT_EQ(curlevel, 1);

    ASSERT_EQ(editor_next_level(), 1);
    leveled[grid_index(4, 4)] = 1;
    ASSERT_EQ(editor_prev_level(), 1);
    EXPECT_EQ(curlevel, 2) << "left with bricks, the new level became a file";
    EXPECT_EQ(cell_of(file_bytes(level_path(2)), 0, 4, 4), 1);
    EXPECT_EQ(leveled[grid_index(1, 1)], 2);
    EXPECT_EQ(leveled[grid_index(2, 2)], 3);

    for (int n = 3; n <= maxlevels; n++)
        write_level_file(n, 1);
    edlevel = maxlevels;
    EXPECT_EQ(editor_next_level(), 0);
    EXPECT_EQ(edlevel, maxlevels);
}

// The file itself is kept by the safe writer (its own test); here the panel,
// the refused move and Delete All, which changes nothing.
TEST_F(EditorFiles, FailedWritesShowThePanelAndRefuseTheMoveAndDeleteAll)
{
    write_level_file(1, 2);
    write_level_file(2, 2);
    start_editor();
    leveled[grid_index(6, 6)] = 1;
    chmod("user_data", 0555);
    {
        plain_user user;
        EXPECT_EQ(save_edited_level(), 0);
        EXPECT_EQ(dialog_open(DLG_SAVED), 0);
        EXPECT_EQ(dialog_open(DLG_WRITE_FAILED), 1);
        EXPECT_STREQ(writefail_text, "The file could not be written.");
        EXPECT_EQ(std::string(writefail_file), folder.path() + "/user_data/l1.raw");
        EXPECT_STREQ(writefail_reason, "Permission denied");

        close_dialogs();
        EXPECT_EQ(editor_next_level(), 0);
        EXPECT_EQ(dialog_open(DLG_WRITE_FAILED), 1);
        EXPECT_STREQ(writefail_text, "The level could not be saved.");
        EXPECT_EQ(edlevel, 1);

        close_dialogs();
        open_dialog(DLG_DELETE_ALL);
        GUI_OK = 1;
        dialog_frame();
        EXPECT_EQ(dialog_open(DLG_WRITE_FAILED), 1);
    }
    EXPECT_EQ(leveled[grid_index(6, 6)], 1) << "the board is kept";
    EXPECT_TRUE(fs::exists(level_path(2)));
    EXPECT_EQ(cell_of(file_bytes(level_path(1)), 0, 1, 1), 2);
    EXPECT_EQ(curlevel, 2);
}

// Leaving with changes (Back, Escape, F12) asks "Save the changes to level
// N?": Cancel stays with the changes, Save writes them and leaves, Discard
// leaves the file as it was and the board back to it, and after F12 the
// answer ends the program.
TEST_F(EditorFiles, LeavingWithChangesAsksAndSaveCancelOrDiscardAct)
{
    write_level_file(1, 2);
    std::string before = file_bytes(level_path(1));
    start_editor();
    screen_set(SCREEN_EDITOR);
    leave_editor_asking(0);
    EXPECT_EQ(screen_is(SCREEN_EDITOR), 0) << "nothing changed: no question";
    EXPECT_EQ(dialog_shown(), DLG_NONE);

    screen_set(SCREEN_EDITOR);
    ed_powerup[grid_index(1, 1)] = 7;
    open_dialog(DLG_CLEAR_LEVEL);
    GUI_OK = 1;
    dialog_frame();
    EXPECT_EQ(dialog_open(DLG_CLEAR_LEVEL), 0);
    EXPECT_EQ(leveled[grid_index(1, 1)], 0);
    EXPECT_EQ(ed_powerup[grid_index(1, 1)], 0);
    EXPECT_EQ(level_unsaved(), 1);
    keys[VK_ESCAPE] = 1;
    escape_action();
    EXPECT_EQ(keys[VK_ESCAPE], 0) << "one step per press";
    ASSERT_EQ(screen_is(SCREEN_EDITOR), 1);
    ASSERT_EQ(dialog_shown(), DLG_UNSAVED);
    GUI_DISCARD = 1;
    dialog_frame();
    EXPECT_EQ(screen_is(SCREEN_EDITOR), 0);
    EXPECT_EQ(dialog_shown(), DLG_NONE);
    EXPECT_EQ(leveled[grid_index(1, 1)], 2) << "the board is the file's again";
    EXPECT_EQ(level_unsaved(), 0);
    EXPECT_EQ(file_bytes(level_path(1)), before);

    screen_set(SCREEN_EDITOR);
    leveled[grid_index(5, 5)] = 3;
    ASSERT_EQ(toolbar_press(toolbar_code(0.665f, -1.76f)), 1) << "the Back button";
    eicons();
    ASSERT_EQ(dialog_shown(), DLG_UNSAVED);
    GUI_CANCEL = 1;
    dialog_frame();
    EXPECT_EQ(screen_is(SCREEN_EDITOR), 1);
    EXPECT_EQ(leveled[grid_index(5, 5)], 3);
    EXPECT_EQ(level_unsaved(), 1);

    leave_editor_asking(0);
    GUI_OK = 1;
    dialog_frame();
    EXPECT_EQ(screen_is(SCREEN_EDITOR), 0);
    EXPECT_EQ(cell_of(file_bytes(level_path(1)), 0, 5, 5), 3);

    screen_set(SCREEN_EDITOR);
    leveled[grid_index(6, 6)] = 4;
    leave_editor_asking(1);
    ASSERT_EQ(dialog_shown(), DLG_UNSAVED);
    int code = -1;
    EXPECT_EQ(pump_messages(&code), 0) << "no quit before the answer";
    GUI_DISCARD = 1;
    dialog_frame();
    EXPECT_EQ(pump_messages(&code), 1);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(cell_of(file_bytes(level_path(1)), 0, 6, 6), 0) << "discarded";
    screen_reset();
}

// The one-message panels take Enter and Escape as their OK; a question takes
// Escape as its Cancel.
TEST_F(EditorFiles, EnterAndEscapeAnswerThePanelShown)
{
    write_level_file(1, 2);
    start_editor();
    screen_set(SCREEN_EDITOR);
    for (editor_dialog d : {DLG_SAVED, DLG_SET_CREATED, DLG_NO_BRICKS, DLG_WRITE_FAILED}) {
        open_dialog(d);
        keys[VK_RETURN] = 1;
        dialog_frame();
        EXPECT_EQ(dialog_open(d), 0) << "Enter on panel " << d;
        EXPECT_EQ(keys[VK_RETURN], 0);
        open_dialog(d);
        keys[VK_ESCAPE] = 1;
        escape_action();
        dialog_frame();
        EXPECT_EQ(dialog_open(d), 0) << "Escape on panel " << d;
        EXPECT_EQ(screen_is(SCREEN_EDITOR), 1);
    }
    open_dialog(DLG_CLEAR_LEVEL);
    keys[VK_RETURN] = 1;
    dialog_frame();
    EXPECT_EQ(dialog_shown(), DLG_CLEAR_LEVEL) << "Enter does not answer a question";
    keys[VK_RETURN] = 0;
    keys[VK_ESCAPE] = 1;
    escape_action();
    dialog_frame();
    EXPECT_EQ(dialog_shown(), DLG_NONE);
    EXPECT_EQ(leveled[grid_index(1, 1)], 2) << "Escape is Cancel";
    EXPECT_EQ(screen_is(SCREEN_EDITOR), 1);

    // Leaving the editor closes what was open, so nothing shows on the next visit.
    open_dialog(DLG_DELETE_ALL);
    ASSERT_EQ(toolbar_press(toolbar_code(0.665f, -1.76f)), 1) << "the Back button";
    eicons();
    EXPECT_EQ(screen_is(SCREEN_EDITOR), 0);
    EXPECT_EQ(dialog_shown(), DLG_NONE);
    screen_reset();
}

TEST_F(EditorFiles, DeleteAllWithThreeLevelsRemovesOnlyTheLevelsItNames)
{
    for (int n = 1; n <= 3; n++)
        write_level_file(n, n);
    std::ofstream("user_data/notes.txt") << "mine";
    start_editor();
    ASSERT_EQ(curlevel, 3);
    ASSERT_EQ(editor_next_level(), 1);
    ASSERT_EQ(editor_next_level(), 1);
    EXPECT_EQ(edlevel, 3);

    open_dialog(DLG_DELETE_ALL);
    GUI_OK = 1;
    dialog_frame();
    EXPECT_FALSE(fs::exists(level_path(2)));
    EXPECT_FALSE(fs::exists(level_path(3)));
    EXPECT_TRUE(fs::exists("user_data/notes.txt"));
    EXPECT_EQ(cell_of(file_bytes(level_path(1)), 0, 1, 1), 0);
    EXPECT_EQ(curlevel, 1);
    EXPECT_EQ(edlevel, 1) << "the board shown is level 1, so a save cannot leave a gap";
    EXPECT_EQ(level_unsaved(), 0);
}

// Texture numbers past the loaded textures once overran the editor's texture
// table on every start: one cell of 1500, random bytes, and the largest
// number, met at start-up and by moving to the next level, then drawn, copied
// by the eyedropper and shown on the toolbar.
TEST_F(EditorFiles, TextureNumbersPastTheLoadedTexturesAreKeptInRangeAndDrawn)
{
    write_level_file(1, 1500);
    level_file random;
    uint32_t seed = 12345;
    for (int32_t &v : random.cells)
        v = (int32_t)(seed = seed * 1103515245u + 12345u);
    random.set(TEX_BLOCK, 7, 7, 2000000000);
    random.write(2);
    write_level_file(3, INT32_MAX);
    reset_editor();
    start_editor();
    ASSERT_EQ(texmax, 3);
    for (int n = 1; n <= 3; n++) {
        if (n > 1) {
            ASSERT_EQ(editor_next_level(), 1);
        }
        ASSERT_EQ(edlevel, n);
        for (int k = 0; k < GRID_CELLS; k++)
            ASSERT_LE(leveled[k], texmax) << "level " << n << ", cell " << k;
        int r = n == 2 ? 7 : 1;
        click(1.15f, -1.3f);  // the Eyedropper button
        over(r, r);
        EXPECT_EQ(texnumber, texmax) << "level " << n;
        mouse(WM_LBUTTONDOWN);
        mouse(WM_LBUTTONUP);
        over(r + 1, r + 1);
        leveled[grid_index(r + 2, r + 2)] = 5000;  // a number only drawing can meet
        texnumber = 5000;
        editor();
        texnumber = 1;
        leveled[grid_index(r + 2, r + 2)] = 0;
    }
}

// A level file that cannot be read once opened as an empty level without a
// word, and F2 replaced it. Now it is kept whole as lN.raw.damaged, the player
// is told, the level starts empty and the levels after it stay reachable;
// met at start-up (level 1) or by moving to it (level 2).
TEST_F(EditorFiles, ALevelThatCannotBeReadIsKeptAsideAndStartsEmpty)
{
    struct damage {
        const char *what;
        size_t size;
        bool unreadable;
    };
    const damage cases[] = {{"one byte short", 10583, false},
                            {"100 bytes", 100, false},
                            {"one byte long", 10585, false},
                            {"without read permission", 10584, true}};
    for (const damage &d : cases)
        for (int n : {1, 2}) {
            SCOPED_TRACE(std::string(d.what) + ", level " + std::to_string(n));
            fs::remove_all("user_data");
            fs::create_directory("user_data");
            chmod("user_data", 0777);
            for (int k = 1; k <= 3; k++)
                write_level_file(k, k);
            std::string bytes(d.size, (char)n);
            write_bytes(level_path(n), bytes);
            if (d.unreadable)
                chmod(level_path(n).c_str(), 0200);
            notice[0] = 0;
            {
                plain_user user;
                start_editor();
                if (n == 2) {
                    EXPECT_STREQ(notice, "");
                    ASSERT_EQ(editor_next_level(), 1);
                }
                EXPECT_EQ(curlevel, 3);
                EXPECT_EQ(edlevel, n);
                EXPECT_EQ(std::string(notice), "Level " + std::to_string(n) + " cannot be read; it is kept as l" +
                                                   std::to_string(n) + ".raw.damaged\nand the level starts empty.");
                for (int k = 0; k < GRID_CELLS; k++)
                    ASSERT_EQ(leveled[k], 0);
                // F2 writes the level; the kept file stays, and the next level opens.
                leveled[grid_index(9, 9)] = 1;
                EXPECT_EQ(save_edited_level(), 1);
                EXPECT_EQ(cell_of(file_bytes(level_path(n)), 0, 9, 9), 1);
                ASSERT_EQ(editor_next_level(), 1);
                EXPECT_EQ(leveled[grid_index(1, 1)], n + 1);
            }
            EXPECT_EQ(file_bytes(level_path(n) + ".damaged"), bytes);
            notice[0] = 0;
            close_dialogs();
        }
}

// A damaged level file that cannot be moved aside is never written over.
TEST_F(EditorFiles, ADamagedLevelThatCannotBeMovedIsNotSavedOver)
{
    write_bytes(level_path(1), std::string(100, 'x'));
    chmod("user_data", 0555);
    {
        plain_user user;
        start_editor();
        EXPECT_EQ(std::string(notice).rfind("Level 1 cannot be read, nor moved aside:\nPermission denied", 0), 0u)
            << notice;
        leveled[grid_index(1, 1)] = 1;
        EXPECT_EQ(save_edited_level(), 0);
        EXPECT_TRUE(dialog_open(DLG_WRITE_FAILED));
    }
    EXPECT_EQ(file_bytes(level_path(1)), std::string(100, 'x'));
    notice[0] = 0;
}

// Each level change, and its undo, stopped at every file step in turn (as a
// crash or a full disk would stop it): the files left are whole and numbered
// without a gap, and only a delete lets a level go. Made whole, the change
// gives the new order, which one undo takes back and redo makes again. An undo
// stopped part way forgets the history, which no longer fits the files.
TEST_F(EditorFiles, LevelChangesStoppedAtEveryStepLeaveWholeGapFreeFilesAndUndo)
{
    struct {
        const char *name;
        int (*change)();
        std::vector<int> after;   // the texture at (1, 1) of each file; 0 for an empty level
        int shown;                // the level edited afterwards
    } cases[] = {
        {"insert before", [] { return insert_level_before(); }, {1, 0, 2, 3}, 2},
        {"duplicate", [] { return duplicate_level(); }, {1, 2, 2, 3}, 3},
        {"delete", [] { return delete_edited_level(); }, {1, 3}, 2},
        {"earlier", [] { return move_level(-1); }, {2, 1, 3}, 1},
        {"later", [] { return move_level(1); }, {1, 3, 2}, 3},
    };
    auto files = [] {
        std::vector<int> tex;
        for (int n = 1; fs::exists(level_path(n)); n++) {
            std::string f = file_bytes(level_path(n));
            EXPECT_EQ(f.size(), 10584u) << "level file " << n << " is whole";
            tex.push_back(f.size() == 10584u ? cell_of(f, TEX_BLOCK, 1, 1) : -1);
        }
        return tex;
    };
    // The change (or with undo_budget set, its undo) stopped after `budget` steps.
    auto stopped = [&](const auto &t, int budget, int undo_budget) {
        for (int n = 1; n <= 6; n++)
            fs::remove(level_path(n));
        for (int n = 1; n <= 3; n++)
            write_level_file(n, n);
        start_editor();
        editor_open_level(2);
        close_dialogs();
        level_step_budget = budget;
        int done = t.change();
        level_step_budget = undo_budget;
        if (undo_budget >= 0)
            done = undo();
        level_step_budget = -1;
        std::vector<int> tex = files();
        EXPECT_EQ((int)tex.size(), curlevel) << t.name << " stopped after " << budget;
        EXPECT_FALSE(fs::exists(level_path((int)tex.size() + 1)));
        for (int lev = 1; lev <= 3; lev++)
            if (std::string(t.name) != "delete" && std::find(tex.begin(), tex.end(), lev) == tex.end())
                ADD_FAILURE() << t.name << " stopped after " << budget << "/" << undo_budget << " lost " << lev;
        return std::make_pair(done, tex);
    };
    for (const auto &t : cases)
        for (int budget = 0; budget <= 5; budget++) {
            auto [undone, left] = stopped(t, -1, budget);
            if (!undone) {
                EXPECT_EQ(undo(), left == t.after ? 1 : 0) << t.name << ": undo again after " << budget;
                EXPECT_EQ(files(), (left == t.after ? std::vector<int>{1, 2, 3} : left)) << t.name;
            }
            EXPECT_EQ(level_unsaved(), 0) << t.name;
            auto [done, tex] = stopped(t, budget, -1);
            if (!done) {
                EXPECT_EQ(dialog_open(DLG_WRITE_FAILED), 1) << t.name;
                continue;
            }
            EXPECT_EQ(tex, t.after) << t.name;
            EXPECT_EQ(edlevel, t.shown) << t.name;
            EXPECT_EQ(leveled[grid_index(1, 1)], t.after[t.shown - 1]) << t.name << ": the board shows it";
            ASSERT_EQ(undo(), 1) << t.name;
            EXPECT_EQ(files(), (std::vector<int>{1, 2, 3})) << t.name << " undone";
            EXPECT_EQ(edlevel * 10 + leveled[grid_index(1, 1)], 22) << t.name << " undone";
            EXPECT_EQ(level_unsaved(), 0);
            ASSERT_EQ(redo(), 1) << t.name;
            EXPECT_EQ(files(), t.after) << t.name << " redone";
        }
}

TEST_F(EditorFiles, DeletingTheOnlyLevelEmptiesItAndTheFullWorkTakesNoMoreLevels)
{
    write_level_file(1, 2);
    start_editor();
    editor_open_level(1);
    ASSERT_EQ(delete_edited_level(), 1);
    EXPECT_EQ(curlevel, 1);
    EXPECT_EQ(cell_of(file_bytes(level_path(1)), TEX_BLOCK, 1, 1), 0);
    ASSERT_EQ(undo(), 1);
    EXPECT_EQ(cell_of(file_bytes(level_path(1)), TEX_BLOCK, 1, 1), 2);
    EXPECT_EQ(leveled[grid_index(1, 1)], 2);

    for (int n = 2; n <= maxlevels; n++)
        write_level_file(n, 1);
    start_editor();
    editor_open_level(3);
    EXPECT_EQ(insert_level_before(), 0);
    EXPECT_EQ(duplicate_level(), 0);
    EXPECT_FALSE(fs::exists(level_path(maxlevels + 1)));
}

// The level strip shows each level small, the edited one as it stands; a
// click on a thumbnail saves the changed level first, as Next level does, and
// opens the level clicked (undoably); the strip then closes.
TEST_F(EditorFiles, AClickInTheLevelStripSavesFirstAndOpensThatLevel)
{
    for (int n = 1; n <= 3; n++)
        write_level_file(n, n);
    start_editor();
    editor_open_level(1);
    leveled[grid_index(2, 2)] = 3;   // an unsaved change
    level_strip = 1;
    screen_set(SCREEN_EDITOR);
    editor();
    auto thumbnail_cell = [](int n, int r, int c) {
        float x1, y1, x2, y2;
        strip_slot(n, &x1, &y1, &x2, &y2);
        return frame_pixel(x1 + (c - 0.5) * (x2 - x1) / 20, y1 - (r - 0.5) * (y1 - y2) / 20);
    };
    EXPECT_TRUE(rgb_near(thumbnail_cell(3, 1, 1), {254, 254, 254}, 3)) << "level 3's brick";
    EXPECT_TRUE(rgb_near(thumbnail_cell(3, 2, 2), {20, 20, 20}, 3));
    EXPECT_TRUE(rgb_near(thumbnail_cell(1, 2, 2), {254, 254, 254}, 3)) << "the edited board, unsaved";
    screen_reset();
    struct { int level; int board; } clicks[] = {{3, 3}, {3, 3}, {2, 2}};
    for (const auto &t : clicks) {
        level_strip = 1;
        float x1, y1, x2, y2;
        strip_slot(t.level, &x1, &y1, &x2, &y2);
        ASSERT_EQ(strip_level_at((x1 + x2) / 2, (y1 + y2) / 2), t.level);
        pointerx = (x1 + x2) / 2;
        pointery = -(y1 + y2) / 2;
        EXPECT_EQ(level_strip_press(), 1);
        EXPECT_EQ(edlevel, t.level);
        EXPECT_EQ(level_strip, 0);
        EXPECT_EQ(leveled[grid_index(1, 1)], t.board);
    }
    EXPECT_EQ(cell_of(file_bytes(level_path(1)), TEX_BLOCK, 2, 2), 3) << "level 1 was saved before it was left";
    ASSERT_EQ(undo(), 1) << "undo goes back to level 1, past level 3 where nothing changed";
    EXPECT_EQ(edlevel * 10 + leveled[grid_index(2, 2)], 13);
    EXPECT_EQ(strip_level_at(0.3f, 1.9f), 0) << "beside the strip";
}
