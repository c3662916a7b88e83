// The editor's toolbar and keyboard shortcuts, pressed through the window
// procedure with frames drawn in a real GL context: colour limits of the
// buttons and the keypad, hold-to-repeat timing, brick and classic controls
// against their keys, and the eyedropper's D key.

#include <gtest/gtest.h>

#include "editor/editor.h"
#include "editor_view.h"
#include "graphics/graphics.h"
#include "menus/menus.h"
#include "rules/rules.h"
#include "shell/shell.h"

namespace {

// A toolbar button by its centre, in GUI units.
struct button { float x, y; };
const button CLASSIC{1.625f, -1.325f}, RED_MINUS{4.21f, -1.37f}, RED_PLUS{4.65f, -1.37f},
    GREEN_MINUS{4.21f, -1.52f}, GREEN_PLUS{4.65f, -1.52f}, BLUE_PLUS{4.65f, -1.67f},
    PREV_BRICK{3.355f, -0.795f}, NEXT_BRICK{4.135f, -0.795f}, PREV_PUP{4.435f, -0.795f};

class Toolbar : public GLTest {
protected:
    static void SetUpTestSuite()
    {
        GLTest::SetUpTestSuite();
        generate_texture_names();
    }
    void SetUp() override { reset_editor(); }
    void TearDown() override { mouse(WM_LBUTTONUP); }
    // The left button held down on a button, hovered in a frame first.
    void hold(const button &b)
    {
        point_at(b.x, b.y);
        editor();
        ASSERT_NE(toolbar_code(b.x, b.y), 0);
        ASSERT_EQ(gui_select, toolbar_code(b.x, b.y));
        mouse(WM_LBUTTONDOWN);
    }
    // Frames drawn until *value changes (at most 50); 0 when it never does.
    static int frames_until_change(const int *value)
    {
        int before = *value;
        for (int n = 1; n <= 50; n++) {
            editor();
            if (*value != before)
                return n;
        }
        return 0;
    }
};

TEST_F(Toolbar, ColourButtonsStopAt0And127AndTheKeypadAt1And127)
{
    curr = 2, curg = 125;
    hold(RED_MINUS);
    for (int n = 0; n < 40; n++)
        editor();
    mouse(WM_LBUTTONUP);
    hold(GREEN_PLUS);
    for (int n = 0; n < 40; n++)
        editor();
    mouse(WM_LBUTTONUP);
    EXPECT_EQ(curr, 0);
    EXPECT_EQ(curg, 127);

    curb = 2, curr = 126;
    for (int n = 0; n < 3; n++) {
        key(VK_NUMPAD0 + 3);
        key(VK_NUMPAD0 + 7);
    }
    EXPECT_EQ(curb, 1);
    EXPECT_EQ(curr, 127);
    key(VK_NUMPAD0 + 6);
    EXPECT_EQ(curb, 127);
}

TEST_F(Toolbar, HeldButtonsRepeatOnTheFramesOfTheirGroup)
{
    curr = curg = 50;
    hold(RED_PLUS);
    EXPECT_EQ(frames_until_change(&curr), 1) << "red steps on the next frame";
    EXPECT_EQ(frames_until_change(&curr), 8);
    mouse(WM_LBUTTONUP);
    EXPECT_EQ(colorlag, 7);
    hold(BLUE_PLUS);
    EXPECT_EQ(frames_until_change(&curb), 0) << "127 is the top";
    mouse(WM_LBUTTONUP);
    EXPECT_EQ(colorlag, 4);
    hold(GREEN_MINUS);
    EXPECT_EQ(frames_until_change(&curg), 4) << "after a green or blue release";
    point_at(0.3f, 1.99f);  // the repeat goes on off the button
    EXPECT_EQ(frames_until_change(&curg), 8);
    mouse(WM_LBUTTONUP);

    hold(NEXT_BRICK);
    EXPECT_EQ(frames_until_change(&texnumber), 1);
    EXPECT_EQ(frames_until_change(&texnumber), 10);
    mouse(WM_LBUTTONUP);
    EXPECT_EQ(bricklag, 9);
    hold(PREV_PUP);
    EXPECT_EQ(frames_until_change(&curpup), 1);
    EXPECT_EQ(curpup, 17);
    EXPECT_EQ(frames_until_change(&curpup), 10);
}

TEST_F(Toolbar, BrickButtonsResetTheColourArrowKeysDoNotAndBothWrap)
{
    curr = 10, curg = 20, curb = 30;
    key(VK_LEFT);
    EXPECT_EQ(texnumber, 5);
    key(VK_RIGHT);
    key(VK_RIGHT);
    EXPECT_EQ(texnumber, 2);
    EXPECT_EQ(curr + curg + curb, 60);
    hold(PREV_BRICK);
    editor();
    EXPECT_EQ(texnumber, 1);
    EXPECT_EQ(curr + curg + curb, 3 * 127);
    mouse(WM_LBUTTONUP);

    texmax = 1;
    hold(NEXT_BRICK);
    editor();
    key(VK_LEFT);
    EXPECT_EQ(texnumber, 1);
}

TEST_F(Toolbar, ClassicButtonSetsEveryViewButTheCKeyOnlyTheGrid)
{
    pupedit = visible = 1;
    hold(CLASSIC);
    mouse(WM_LBUTTONUP);
    editor();
    EXPECT_EQ(classic * 1000 + pupedit * 100 + grid * 10 + visible, 1000);
    key('C');
    EXPECT_EQ(classic * 10 + grid, 1);
    pupedit = 1;
    key('C');
    EXPECT_EQ(classic * 1000 + pupedit * 100 + grid * 10 + visible, 1100);
}

TEST_F(Toolbar, DArmsTheEyedropperAsItsHelpTextSays)
{
    key('D');
    EXPECT_EQ(dropped, 1);
    leveled[grid_index(4, 4)] = 3;
    ed_bricktype[grid_index(4, 4)] = BRICK_INVISIBLE;
    over(4, 4);
    EXPECT_EQ(texnumber, 3);
    EXPECT_EQ(curbrick, BRICK_INVISIBLE);
}

}  // namespace
