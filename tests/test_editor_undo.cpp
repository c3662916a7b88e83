// Undo and redo of the editor as the player drives them: mouse strokes,
// power-ups, F5, Clear Level, colour choices and moves between levels, with
// Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z; in a scratch player folder, so saving and
// the unsaved mark are real.

#include <gtest/gtest.h>

#include <string>

#include "editor/editor.h"
#include "editor_view.h"
#include "player_folder.h"
#include "graphics/graphics.h"
#include "menus/menus.h"
#include "rules/rules.h"
#include "shell/shell.h"

namespace {

class Undo : public EditorTest {
protected:
    player_folder folder{0};   // the game's and the player's folder, fresh for each case

    // A left (or right) press on (r, c1), dragged along the row to c2, released.
    static void stroke(int r, int c1, int c2, bool erase = false)
    {
        over(r, c1);
        mouse(erase ? WM_RBUTTONDOWN : WM_LBUTTONDOWN);
        for (int c = c1 + 1; c <= c2; c++)
            over(r, c);
        mouse(erase ? WM_RBUTTONUP : WM_LBUTTONUP);
        over(r + 1, c2);
    }
    static void ctrl(int vk, bool shift = false)
    {
        keys[VK_CONTROL] = 1;
        keys[VK_SHIFT] = shift;
        key(vk);
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

TEST_F(Undo, EachStrokePowerupF5AndClearIsOneStepAndRedoReplaysThem)
{
    stroke(2, 1, 6);
    stroke(2, 3, 4, true);
    pupedit = 1;
    over(2, 1);
    mouse(WM_LBUTTONDOWN);
    mouse(WM_LBUTTONUP);
    pupedit = 0;
    key(VK_F5);
    stroke(3, 1, 1);
    open_dialog(DLG_CLEAR_LEVEL);  // Clear Level, answered with OK
    GUI_OK = 1;
    editor();
    EXPECT_EQ(bricks_in_row(3), 0);

    ctrl('Z');
    EXPECT_EQ(bricks_in_row(3), 1);
    ctrl('Z');
    EXPECT_EQ(bricks_in_row(3) + bricks_in_row(2), 0);
    ctrl('Z');
    EXPECT_EQ(bricks_in_row(2), 4);
    EXPECT_EQ(ed_powerup[grid_index(2, 1)], 1);
    ctrl('Z');
    EXPECT_EQ(ed_powerup[grid_index(2, 1)], 0);
    ctrl('Z');
    EXPECT_EQ(bricks_in_row(2), 6);
    ctrl('Z');
    EXPECT_EQ(bricks_in_row(2), 0);
    EXPECT_EQ(undo(), 0) << "nothing before the first stroke";
    ctrl('Y');
    ctrl('Z', true);
    EXPECT_EQ(bricks_in_row(2), 4);

    stroke(3, 1, 1);  // a new change drops what was undone
    EXPECT_EQ(redo(), 0);
}

TEST_F(Undo, KeepsTheLast64Steps)
{
    for (int n = 1; n <= 70; n++) {
        undo_record();
        leveled[grid_index(1, 1)] = n;
    }
    int undone = 0;
    while (undo())
        undone++;
    EXPECT_EQ(undone, UNDO_STEPS);
    EXPECT_EQ(leveled[grid_index(1, 1)], 70 - UNDO_STEPS);
}

// The colour is in the same history as the board: a typed value, a held "+"
// button, a run of keypad steps and a swatch are one change each.
TEST_F(Undo, ColourChoicesAreStepsOfTheBoardsHistoryAndARepeatIsOne)
{
    click(4.43f, -1.37f);   // the red value, typed
    key('4');
    key('0');
    key(VK_RETURN);
    stroke(2, 1, 3);
    point_at(4.65f, -1.37f);   // red "+" held
    editor();
    mouse(WM_LBUTTONDOWN);
    for (int n = 0; n < 40; n++)
        editor();
    mouse(WM_LBUTTONUP);
    int held = curr;
    ASSERT_GT(held, 41);
    for (int n = 0; n < 3; n++)
        key(VK_NUMPAD0 + 2);   // green down, three times
    click(0.31f, 0.39f);       // the default grey's swatch

    struct { int r, g, bricks; } states[] = {
        {127, 127, 3}, {held, 124, 3}, {held, 127, 3}, {40, 127, 3}, {40, 127, 0}, {127, 127, 0},
    };
    for (int i = 0; i < 6; i++) {
        EXPECT_EQ(curr * 1000 + curg, states[i].r * 1000 + states[i].g) << "after " << i << " undos";
        EXPECT_EQ(bricks_in_row(2), states[i].bricks) << "after " << i << " undos";
        EXPECT_EQ(undo(), i < 5);
    }
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(redo(), 1);
    EXPECT_EQ(curr + curg + curb + bricks_in_row(2), 3 * 127 + 3);
}

// Undo goes back across Next and Previous to the level where the change was
// made; a level only passed through is no step. The level left is saved
// first, as Previous and Next save it.
TEST_F(Undo, UndoGoesBackAcrossLevelSwitchesAndUndoingToTheSavedBoardClearsTheUnsavedMark)
{
    stroke(6, 1, 4);
    key(VK_F2);
    ASSERT_EQ(level_unsaved(), 0) << "F2 saved the level";
    close_dialogs();
    stroke(7, 1, 2);
    EXPECT_EQ(level_unsaved(), 1);
    ctrl('Z');
    EXPECT_EQ(level_unsaved(), 0);

    stroke(7, 1, 3);
    ASSERT_EQ(editor_next_level(), 1);
    stroke(9, 1, 1);
    ASSERT_EQ(editor_next_level(), 1);
    ASSERT_EQ(editor_prev_level(), 1);
    ctrl('Z');
    EXPECT_EQ(edlevel * 10 + bricks_in_row(9), 20) << "level 2's stroke undone, on level 2";
    ctrl('Z');
    EXPECT_EQ(edlevel * 10 + bricks_in_row(7), 13) << "back on level 1 as it was left";
    static level_file_record two;
    ASSERT_EQ(read_editor_level(2, &two), 1);
    EXPECT_EQ(two.block[LEVEL_TEXTURES].cells[grid_index(9, 1)], 0) << "level 2 saved as undone";
    ctrl('Z');
    EXPECT_EQ(edlevel * 10 + bricks_in_row(7) + bricks_in_row(6), 14);
    EXPECT_EQ(level_unsaved(), 1);

    for (int n = 0; n < 3; n++)
        ctrl('Y');
    EXPECT_EQ(edlevel * 10 + bricks_in_row(9), 21);
    EXPECT_EQ(redo(), 0);
}

}  // namespace
