// Undo and redo of the editor board, driven as the player drives them: mouse
// strokes through the window procedure and frames, power-ups, F5, Clear
// Level, a level move, and Ctrl+Z / Ctrl+Y / Ctrl+Shift+Z; in a scratch
// player folder so saving and the unsaved mark are real.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "editor/editor.h"
#include "gl_context.h"
#include "graphics/graphics.h"
#include "menus/menus.h"
#include "rules/rules.h"
#include "shell/shell.h"

namespace {

void point_at(float gx, float gy)
{
    float k = pointer_scale() * msensitivity;
    mouseX = (int)((gx - 0.25f) / k + 0.5f);
    mouseY = (int)((2.0f - gy) / k + 0.5f);
    move_pointer();
}

void over(int r, int c)
{
    point_at(0.5f + 0.25f * (c - 1) + 0.125f, 2.0f - 0.12f * (r - 1) - 0.06f);
    editor();
}

class Undo : public GLTest {
protected:
    static void SetUpTestSuite()
    {
        GLTest::SetUpTestSuite();
        generate_texture_names();
        msensitivity = 8.0f;
        // The player's folder and the working folder are the same scratch folder.
        char scratch[] = "/tmp/corvale-undo-XXXXXX";
        ASSERT_NE(mkdtemp(scratch), nullptr);
        setenv("XDG_DATA_HOME", scratch, 1);
        std::string home = std::string(scratch) + "/corvale";
        ASSERT_EQ(mkdir(home.c_str(), 0755), 0);
        ASSERT_EQ(mkdir((home + "/user_data").c_str(), 0755), 0);
        ASSERT_EQ(chdir(home.c_str()), 0);
    }
    void SetUp() override
    {
        system("rm -f user_data/*");
        memset(keys, 0, sizeof keys);
        edit = menu = 1;
        fadein = fadeout = classic = pupedit = drag = edrag = dropped = 0;
        saved = clearlev = blank = 0;
        edlevel = curlevel = 1;
        texmax = 3;
        texnumber = 1;
        curbrick = 1;
        curr = curg = curb = 127;
        clear_edited_level();
        undo_reset();
        point_at(0.3f, 1.99f);
        editor();
    }
    // A left (or right) press on (r, c1), dragged along the row to c2, released.
    void stroke(int r, int c1, int c2, bool erase = false)
    {
        over(r, c1);
        WndProc(nullptr, erase ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, 0, 0);
        for (int c = c1 + 1; c <= c2; c++)
            over(r, c);
        WndProc(nullptr, erase ? WM_RBUTTONUP : WM_LBUTTONUP, 0, 0);
        over(r + 1, c2);
    }
    void ctrl_key(int vk, bool shift = false)
    {
        keys[VK_CONTROL] = 1;
        keys[VK_SHIFT] = shift;
        keys[vk] = 1;
        poll_keys();
        keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
    }
    static int bricks_in_row(int r)
    {
        int n = 0;
        for (int c = 1; c <= 20; c++)
            n += leveled[grid_index(r, c)] != 0;
        return n;
    }
};

TEST_F(Undo, EachStrokeIsOneStepAndRedoReplaysThem)
{
    stroke(2, 1, 6);
    stroke(2, 3, 4, true);
    EXPECT_EQ(bricks_in_row(2), 4);
    ctrl_key('Z');
    EXPECT_EQ(bricks_in_row(2), 6);
    ctrl_key('Z');
    EXPECT_EQ(bricks_in_row(2), 0);
    EXPECT_EQ(undo(), 0) << "nothing before the first stroke";
    ctrl_key('Y');
    EXPECT_EQ(bricks_in_row(2), 6);
    ctrl_key('Z', true);
    EXPECT_EQ(bricks_in_row(2), 4);
    EXPECT_EQ(redo(), 0);
}

TEST_F(Undo, PowerupsF5AndClearLevelAreStepsToo)
{
    stroke(5, 1, 2);
    pupedit = 1;
    over(5, 1);
    WndProc(nullptr, WM_LBUTTONDOWN, 0, 0);
    WndProc(nullptr, WM_LBUTTONUP, 0, 0);
    pupedit = 0;
    keys[VK_F5] = 1;
    poll_keys();
    EXPECT_EQ(bricks_in_row(5), 0);

    ctrl_key('Z');
    EXPECT_EQ(bricks_in_row(5), 2);
    EXPECT_EQ(ed_powerup[grid_index(5, 1)], 1);
    ctrl_key('Z');
    EXPECT_EQ(ed_powerup[grid_index(5, 1)], 0);
    EXPECT_EQ(bricks_in_row(5), 2);

    ctrl_key('Y');
    clearlev = 1;  // Clear Level, answered with OK
    GUI_OK = 1;
    editor();
    EXPECT_EQ(bricks_in_row(5), 0);
    ctrl_key('Z');
    EXPECT_EQ(bricks_in_row(5), 2);
    EXPECT_EQ(ed_powerup[grid_index(5, 1)], 1);
}

TEST_F(Undo, ANewChangeAfterUndoDropsTheRedo)
{
    stroke(3, 1, 3);
    ctrl_key('Z');
    stroke(4, 1, 1);
    EXPECT_EQ(redo(), 0);
    EXPECT_EQ(bricks_in_row(3), 0);
    EXPECT_EQ(bricks_in_row(4), 1);
}

TEST_F(Undo, KeepsTheLast64Steps)
{
    for (int n = 0; n < 70; n++) {
        undo_record();
        leveled[grid_index(1, 1)] = n + 1;
    }
    int undone = 0;
    while (undo())
        undone++;
    EXPECT_EQ(undone, UNDO_STEPS);
    EXPECT_EQ(leveled[grid_index(1, 1)], 70 - UNDO_STEPS);
    while (redo())
        ;
    EXPECT_EQ(leveled[grid_index(1, 1)], 70);
}

TEST_F(Undo, UndoingBackToTheSavedBoardClearsTheUnsavedMark)
{
    stroke(6, 1, 4);
    EXPECT_EQ(level_unsaved(), 1);
    keys[VK_F2] = 1;
    poll_keys();
    ASSERT_EQ(level_unsaved(), 0) << "F2 saved the level";
    saved = 0;
    stroke(7, 1, 2);
    EXPECT_EQ(level_unsaved(), 1);
    ctrl_key('Z');
    EXPECT_EQ(level_unsaved(), 0);
    ctrl_key('Z');
    EXPECT_EQ(level_unsaved(), 1);
}

TEST_F(Undo, UndoDoesNotCrossALevelMove)
{
    stroke(8, 1, 5);
    ASSERT_EQ(editor_next_level(), 1);
    EXPECT_EQ(edlevel, 2);
    saved = 0;  // a panel telling of the save would block the next press
    stroke(9, 1, 1);
    ctrl_key('Z');
    EXPECT_EQ(bricks_in_row(9), 0);
    ctrl_key('Z');
    EXPECT_EQ(edlevel, 2);
    EXPECT_EQ(bricks_in_row(8), 0) << "level 1's strokes stay with level 1";
    ASSERT_EQ(editor_prev_level(), 1);
    EXPECT_EQ(bricks_in_row(8), 5);
    EXPECT_EQ(undo(), 0);
}

}  // namespace
