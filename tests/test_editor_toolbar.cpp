// The editor's toolbar and keyboard shortcuts in a real GL context, pressed
// through the window procedure: every button reachable under the pointer,
// the colour limits of the buttons and the keypad, hold-to-repeat timing,
// the brick, type and classic controls, the eyedropper key and leaving.

#include <gtest/gtest.h>

#include <cstring>

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

// A toolbar button: its selection code and centre.
struct button { int code; float x, y; };
const button GRID{3, 0.725f, -0.725f}, POWERUP{4, 1.175f, -0.725f}, VISIBLE{11, 1.625f, -0.725f},
    TYPES{20, 2.125f, -0.725f}, TEST{12, 0.725f, -1.325f}, EYEDROPPER{31, 1.175f, -1.325f},
    CLASSIC{25, 1.625f, -1.325f}, RED_MINUS{8, 4.24f, -1.37f}, RED_PLUS{5, 4.6f, -1.37f},
    GREEN_MINUS{9, 4.24f, -1.52f}, BLUE_PLUS{7, 4.6f, -1.67f}, BLUE_MINUS{10, 4.24f, -1.67f},
    GREEN_PLUS{6, 4.6f, -1.52f}, NEXT_LEVEL{13, 1.755f, -0.485f}, PREV_LEVEL{14, 0.875f, -0.485f},
    SAVE{15, 2.075f, -1.445f}, CLEAR{17, 2.525f, -1.445f}, DELETE_ALL{18, 2.975f, -1.445f},
    CREATE{16, 3.625f, -1.445f}, BACK{19, 0.665f, -1.76f}, PREV_BRICK{22, 3.355f, -0.795f},
    NEXT_BRICK{21, 4.135f, -0.795f}, NEXT_PUP{23, 5.06f, -0.795f}, PREV_PUP{24, 4.435f, -0.795f};

class Toolbar : public GLTest {
protected:
    static void SetUpTestSuite()
    {
        GLTest::SetUpTestSuite();
        generate_texture_names();
        msensitivity = 8.0f;
    }
    void SetUp() override
    {
        clear_edited_level();
        undo_reset();
        memset(keys, 0, sizeof keys);
        edit = menu = 1;
        fadein = fadeout = test = classic = pupedit = 0;
        drag = edrag = dropped = get_drops = 0;
        grid = visible = 1;
        blank = saved = clearlev = deleteall = name = 0;
        texmax = 5;
        texnumber = 1;
        curr = curg = curb = 127;
        curbrick = guibrick = 1;
        curpup = 1;
        colorlag = 7, bricklag = puplag = 9;
        point_at(0.3f, 1.99f);
        editor();
    }
    void TearDown() override { release(); }
    // Holds the left button down on a button (hovered in one frame first).
    void hold(const button &b)
    {
        point_at(b.x, b.y);
        editor();
        ASSERT_EQ(gui_select, b.code);
        WndProc(nullptr, WM_LBUTTONDOWN, 0, 0);
    }
    void release() { WndProc(nullptr, WM_LBUTTONUP, 0, 0); }
    void click(const button &b)
    {
        hold(b);
        release();
        editor();
    }
    // Frames drawn until *value changes (at most 50); 0 when it never does.
    int frames_until_change(const int *value)
    {
        int before = *value;
        for (int n = 1; n <= 50; n++) {
            editor();
            if (*value != before)
                return n;
        }
        return 0;
    }
    void key(int vk)
    {
        keys[vk] = 1;
        poll_keys();
    }
};

// ---- Layout ----

TEST_F(Toolbar, EveryButtonIsUnderThePointerAtItsCentreWithItsOwnCode)
{
    const button all[] = {GRID, POWERUP, VISIBLE, TYPES, TEST, EYEDROPPER, CLASSIC, RED_MINUS,
                          RED_PLUS, GREEN_MINUS, BLUE_PLUS, BLUE_MINUS, GREEN_PLUS, NEXT_LEVEL,
                          PREV_LEVEL, SAVE, CLEAR, DELETE_ALL, CREATE, BACK, PREV_BRICK,
                          NEXT_BRICK, NEXT_PUP, PREV_PUP};
    for (const button &b : all) {
        point_at(b.x, b.y);
        editor();
        EXPECT_EQ(gui_select, b.code) << b.x << ", " << b.y;
    }
    point_at(3.0f, -1.0f);  // over the panels but no button
    editor();
    EXPECT_EQ(gui_select, 0);
}

// ---- Colours ----

TEST_F(Toolbar, ColourButtonsStopAt0And127AndTheKeypadAt1And127)
{
    curr = 2;
    hold(RED_MINUS);
    for (int n = 0; n < 40; n++)
        editor();
    release();
    EXPECT_EQ(curr, 0);

    curg = 125;
    hold(GREEN_PLUS);
    for (int n = 0; n < 40; n++)
        editor();
    release();
    EXPECT_EQ(curg, 127);

    curb = 2;
    for (int n = 0; n < 3; n++)
        key(VK_NUMPAD0 + 3);
    EXPECT_EQ(curb, 1);
    curr = 126;
    for (int n = 0; n < 3; n++)
        key(VK_NUMPAD0 + 7);
    EXPECT_EQ(curr, 127);
    curg = 5;
    key(VK_NUMPAD0 + 5);
    EXPECT_EQ(curg, 127);
}

TEST_F(Toolbar, HeldButtonsRepeatOnTheFramesOfTheirGroup)
{
    curr = 50;
    hold(RED_PLUS);
    EXPECT_EQ(frames_until_change(&curr), 1) << "red steps on the next frame";
    EXPECT_EQ(frames_until_change(&curr), 8);
    EXPECT_EQ(frames_until_change(&curr), 8);
    release();
    EXPECT_EQ(colorlag, 7);

    curg = 50;
    hold(GREEN_MINUS);
    EXPECT_EQ(frames_until_change(&curg), 1) << "after a red release";
    release();
    EXPECT_EQ(colorlag, 4);
    hold(BLUE_PLUS);
    EXPECT_EQ(frames_until_change(&curb), 0) << "127 is the top";
    release();
    hold(GREEN_MINUS);
    EXPECT_EQ(frames_until_change(&curg), 4) << "after a green or blue release";
    point_at(0.3f, 1.99f);  // the repeat goes on off the button
    EXPECT_EQ(frames_until_change(&curg), 8);
    release();

    hold(NEXT_BRICK);
    EXPECT_EQ(frames_until_change(&texnumber), 1);
    EXPECT_EQ(frames_until_change(&texnumber), 10);
    release();
    EXPECT_EQ(bricklag, 9);
    hold(PREV_PUP);
    EXPECT_EQ(frames_until_change(&curpup), 1);
    EXPECT_EQ(curpup, 17);
    EXPECT_EQ(frames_until_change(&curpup), 10);
    release();
    EXPECT_EQ(puplag, 9);
}

// ---- Bricks and types ----

TEST_F(Toolbar, BrickButtonsResetTheColourAndWrapButArrowKeysKeepIt)
{
    curr = 10, curg = 20, curb = 30;
    key(VK_RIGHT);
    EXPECT_EQ(texnumber, 2);
    key(VK_LEFT);
    key(VK_LEFT);
    EXPECT_EQ(texnumber, 5);
    EXPECT_EQ(curr + curg + curb, 60);

    hold(NEXT_BRICK);
    editor();
    release();
    EXPECT_EQ(texnumber, 1);
    EXPECT_EQ(curr + curg + curb, 3 * 127);

    texmax = 1;
    hold(PREV_BRICK);
    editor();
    release();
    key(VK_RIGHT);
    EXPECT_EQ(texnumber, 1);
}

TEST_F(Toolbar, TypesButtonKeepsTheColourButUpAndDownResetIt)
{
    curr = 10;
    for (int expected : {4, 2, 5, 3, 1}) {
        click(TYPES);
        EXPECT_EQ(curbrick, expected);
    }
    EXPECT_EQ(guibrick, 1);
    EXPECT_EQ(curr, 10);
    key(VK_UP);
    EXPECT_EQ(guibrick, 5);
    EXPECT_EQ(curbrick, BRICK_EXPLODING);
    EXPECT_EQ(curr, 127);
    curr = 10;
    key(VK_DOWN);
    EXPECT_EQ(curbrick, BRICK_NORMAL);
    EXPECT_EQ(curr, 127);
}

// ---- Views ----

TEST_F(Toolbar, ClassicButtonSetsEveryViewButTheCKeyOnlyTheGrid)
{
    pupedit = 1;
    click(CLASSIC);
    EXPECT_EQ(classic, 1);
    EXPECT_EQ(pupedit, 0);
    EXPECT_EQ(grid, 0);
    EXPECT_EQ(visible, 0);
    click(CLASSIC);
    EXPECT_EQ(classic + pupedit, 0);
    EXPECT_EQ(grid + visible, 2);

    pupedit = 1;
    key('C');
    EXPECT_EQ(classic, 1);
    EXPECT_EQ(grid, 0);
    EXPECT_EQ(pupedit, 1);
    EXPECT_EQ(visible, 1);
    key('C');
    EXPECT_EQ(classic, 0);
    EXPECT_EQ(grid, 1);
}

TEST_F(Toolbar, ViewButtonsAndTheirKeysToggle)
{
    click(GRID);
    click(POWERUP);
    click(VISIBLE);
    EXPECT_EQ(grid, 0);
    EXPECT_EQ(pupedit, 1);
    EXPECT_EQ(visible, 0);
    key('G');
    key('P');
    key('V');
    EXPECT_EQ(grid + pupedit + visible, 2);
    key('O');
    key('O');
    key('I');
    EXPECT_EQ(curpup, 2);
}

// ---- Eyedropper, dialogs and leaving ----

TEST_F(Toolbar, DArmsTheEyedropper)
{
    key('D');
    EXPECT_EQ(dropped, 1);
    int k = grid_index(4, 4);
    leveled[k] = 3;
    ed_bricktype[k] = BRICK_INVISIBLE;
    point_at(0.5f + 0.25f * 3.5f, 2.0f - 0.12f * 3.5f);
    editor();
    EXPECT_EQ(texnumber, 3);
    EXPECT_EQ(curbrick, BRICK_INVISIBLE);
}

TEST_F(Toolbar, ClearLevelAsksFirstButF5ClearsAtOnce)
{
    leveled[grid_index(1, 1)] = 1;
    click(CLEAR);
    EXPECT_EQ(clearlev, 1);
    EXPECT_EQ(leveled[grid_index(1, 1)], 1);
    clearlev = 0;
    gui_block = 0;
    key(VK_F5);
    EXPECT_EQ(leveled[grid_index(1, 1)], 0);
}

TEST_F(Toolbar, BackAndEscapeLeaveTheEditor)
{
    click(BACK);
    EXPECT_EQ(edit, 0);
    EXPECT_EQ(menublock, 0);
    edit = 1;
    editor();
    keys[VK_ESCAPE] = 1;
    escape_action();
    EXPECT_EQ(edit, 0);
    EXPECT_EQ(menublock, 0);
    keys[VK_ESCAPE] = 0;
}

}  // namespace
