// The editor's toolbar and keyboard shortcuts, pressed through the window
// procedure with frames drawn in a real GL context.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <unistd.h>

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
    GREEN_MINUS{4.21f, -1.52f}, BLUE_PLUS{4.65f, -1.67f},
    PREV_BRICK{3.355f, -0.795f}, NEXT_BRICK{4.135f, -0.795f}, PREV_PUP{4.435f, -0.795f};

class Toolbar : public EditorTest {
protected:
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

TEST_F(Toolbar, HeldButtonsRepeatOnTheFramesOfTheirGroup)
{
    curr = curg = 50;
    hold(RED_PLUS);
    EXPECT_EQ(frames_until_change(&curr), 1) << "red steps on the next frame";
    EXPECT_EQ(frames_until_change(&curr), 8);
    mouse(WM_LBUTTONUP);
    hold(BLUE_PLUS);
    EXPECT_EQ(frames_until_change(&curb), 0) << "127 is the top";
    mouse(WM_LBUTTONUP);
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

// Red from 127 to 0: 1 frame, 3 steps of 8, then four of each halving down to
// 1 frame a step, where a steady pace would take 1 + 126 * 8; held on, it
// stays at 0. The keypad stops at 1 and 127.
TEST_F(Toolbar, AHeldButtonSpeedsUpTheLongerItIsHeldAndColoursStopAtTheirEnds)
{
    curr = 127;
    hold(RED_MINUS);
    int frames = 0;
    while (curr > 0 && frames < 2000) {
        editor();
        frames++;
    }
    EXPECT_EQ(frames, 1 + 3 * 8 + 4 * 4 + 4 * 2 + 115);
    for (int n = 0; n < 10; n++)
        editor();
    mouse(WM_LBUTTONUP);
    EXPECT_EQ(curr, 0);

    curb = 2;
    for (int n = 0; n < 3; n++)
        key(VK_NUMPAD0 + 3);
    EXPECT_EQ(curb, 1);
    key(VK_NUMPAD0 + 6);
    EXPECT_EQ(curb, 127);
}

TEST_F(Toolbar, SwatchesTypeNamesAndTypedValuesSetTheCurrentBrick)
{
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    ASSERT_EQ(chdir(CORVALE_GAME_DIR), 0);
    load_palette();
    ASSERT_EQ(chdir(here), 0);
    ASSERT_EQ(palette_count, PALETTE_SIZE) << "the palette comes from the game's level sets";
    EXPECT_EQ(palette[0][0] + palette[0][1] + palette[0][2], 3 * 127) << "the default grey first";
    // The second swatch: under the first, in the tool column.
    click(0.27f + 0.1f + 0.04f, 0.45f - 0.04f);
    EXPECT_EQ(curr * 10000 + curg * 100 + curb, palette[1][0] * 10000 + palette[1][1] * 100 + palette[1][2]);

    // The type list's names, top to bottom: Normal, Invisible, 2 Hit, 3 Hit, Exploding.
    const int codes[5] = {BRICK_NORMAL, BRICK_INVISIBLE, BRICK_TWO_HIT, BRICK_THREE_HIT, BRICK_EXPLODING};
    for (int p = 4; p >= 0; p--) {
        click(2.5f, -0.655f - 0.08f * p);
        EXPECT_EQ(curbrick, codes[p]) << p;
        EXPECT_EQ(guibrick, p + 1);
    }

    // The green value: a click, three digits, Enter; too large a value stops at 127.
    struct { const char *digits; int want; } typed[] = {{"42", 42}, {"900", 127}, {"", 127}, {"07", 7}};
    for (const auto &t : typed) {
        click(4.43f, -1.52f);
        ASSERT_EQ(typing_component, 1);
        for (const char *c = t.digits; *c; c++)
            key(*c);
        key(VK_RETURN);
        EXPECT_EQ(typing_component, -1);
        EXPECT_EQ(curg, t.want) << t.digits;
    }
    click(4.43f, -1.37f);   // Escape drops what was typed
    key('5');
    escape_action();
    EXPECT_EQ(curr, palette[1][0]);
    EXPECT_EQ(screen_is(SCREEN_EDITOR), 1);
}

TEST_F(Toolbar, NoTwoControlsOverlapNoneCoversTheCanvasAndThePointerReachesAll)
{
    palette_count = PALETTE_SIZE;   // every swatch placed
    float a[128][4];
    int n = toolbar_areas(a, 128);
    ASSERT_GE(n, 24 + 7 + 5 + PALETTE_SIZE + 5 + 3);
    auto apart = [](const float *p, const float *q) {
        return p[2] < q[0] || q[2] < p[0] || p[3] > q[1] || q[3] > p[1];
    };
    const float canvas[4] = {0.5f, 2.0f, 5.5f, -0.4f}, reach[4] = {0.25f, 2.0f, 5.5f, -2.0f};
    for (int i = 0; i < n; i++) {
        EXPECT_TRUE(apart(a[i], canvas)) << "control " << i << " at " << a[i][0] << "," << a[i][1];
        EXPECT_TRUE(a[i][0] >= reach[0] && a[i][2] <= reach[2] && a[i][1] <= reach[1] && a[i][3] >= reach[3])
            << "control " << i << " out of the pointer's reach";
        for (int j = i + 1; j < n; j++)
            EXPECT_TRUE(apart(a[i], a[j])) << "controls " << i << " and " << j << " at " << a[i][0] << ","
                                           << a[i][1] << " and " << a[j][0] << "," << a[j][1];
    }
}

TEST(Palette, TheDefaultGreyThenTheMostUsedColoursOfTheBricks)
{
    static level_file_record levels[2];
    memset(levels, 0, sizeof levels);
    auto put = [](level_file_record &l, int r, int c, int red, int green, int blue) {
        int k = grid_index(r, c);
        l.block[LEVEL_TEXTURES].cells[k] = 1;
        l.block[LEVEL_RED].cells[k] = red;
        l.block[LEVEL_GREEN].cells[k] = green;
        l.block[LEVEL_BLUE].cells[k] = blue;
    };
    for (int c = 1; c <= 5; c++)
        put(levels[0], 1, c, 10, 20, 30);          // 5 + 4 uses
    for (int c = 1; c <= 4; c++)
        put(levels[1], 2, c, 10, 20, 30);
    for (int c = 1; c <= 6; c++)
        put(levels[1], 3, c, 127, 0, 0);           // 6 uses
    for (int c = 1; c <= 7; c++)
        put(levels[1], 4, c, 127, 127, 127);       // the grey comes first anyway
    put(levels[0], 0, 5, 1, 2, 3);                 // beside the grid: not counted
    levels[1].block[LEVEL_RED].cells[grid_index(9, 9)] = 50;  // an empty cell's colour: not counted
    int out[4][3];
    const int want[3] = {127 * 10000 + 127 * 100 + 127, 10 * 10000 + 20 * 100 + 30, 127 * 10000};
    for (int max : {4, 2, 1}) {
        ASSERT_EQ(most_used_colours(levels, 2, out, max), std::min(max, 3)) << max;
        for (int i = 0; i < std::min(max, 3); i++)
            EXPECT_EQ(out[i][0] * 10000 + out[i][1] * 100 + out[i][2], want[i]) << max << ", colour " << i;
    }
}

TEST_F(Toolbar, BrickButtonsResetTheColourArrowKeysDoNotBothWrapAndClassicSetsEveryViewButTheCKeyOnlyTheGrid)
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
    mouse(WM_LBUTTONUP);

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

}  // namespace
