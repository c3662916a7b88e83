// The editor's canvas, driven as the mouse drives it and read back from a
// real GL context: drag painting and erasing that keep power-ups, what each
// cell shows, the power-up layer, the eyedropper, and test play.

#include <gtest/gtest.h>

#include "editor/editor.h"
#include "editor_view.h"
#include "graphics/graphics.h"
#include "menus/menus.h"
#include "rules/rules.h"
#include "shell/shell.h"

namespace {

// Solid colours that tell the textures apart on screen.
const rgb GRID{0, 200, 0}, FIRE{200, 0, 0}, BRICK{0, 0, 200}, PUP{255, 255, 0}, WHITE{255, 255, 255};

#define EXPECT_SHOWS(row, col, want) \
    EXPECT_TRUE(rgb_near(cell_pixel(row, col), want, 3)) << "cell " << row << "," << col

class Canvas : public EditorTest {
protected:
    static void SetUpTestSuite()
    {
        EditorTest::SetUpTestSuite();
        solid_texture(textures[2], GRID.r, GRID.g, GRID.b);
        solid_texture(textures[4], FIRE.r, FIRE.g, FIRE.b);
        solid_texture(edtexname[1], BRICK.r, BRICK.g, BRICK.b);
        solid_texture(edtexname[2], 255, 255, 255);
        for (int k = 1; k <= 17; k++)
            solid_texture(puptextures[k], PUP.r, PUP.g, PUP.b);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    static int cell(int r, int c) { return grid_index(r, c); }
    static void put_brick(int r, int c, int tex, int type)
    {
        leveled[cell(r, c)] = tex;
        ed_bricktype[cell(r, c)] = type;
    }
};

TEST_F(Canvas, LeftDragFromAToolbarButtonPaintsEveryCellPassedAndKeepsPowerups)
{
    ed_powerup[cell(4, 7)] = 11;
    curr = 10, curg = 20, curb = 30, curbrick = 5, texnumber = 2;
    point_at(0.7f, -0.7f);  // the Grid button: the press itself lays nothing
    editor();
    mouse(WM_LBUTTONDOWN);
    EXPECT_EQ(leveled[cell(0, 0)], 0);
    for (int c = 1; c <= 20; c++)
        over(4, c);
    mouse(WM_LBUTTONUP);
    over(5, 20);
    for (int c = 1; c <= 20; c++) {
        int k = cell(4, c);
        EXPECT_EQ(leveled[k] * 1000000 + ed_rr[k] * 10000 + ed_gg[k] * 100 + ed_bb[k], 2102030) << c;
        EXPECT_EQ(ed_bricktype[k], 5) << c;
    }
    EXPECT_EQ(ed_powerup[cell(4, 7)], 11);
    EXPECT_EQ(leveled[cell(5, 20)], 0) << "painting stops at the release";
}

TEST_F(Canvas, RightDragErasesKeepsPowerupsAndAnErasedExplodingCellShowsTheGrid)
{
    put_brick(6, 3, 1, BRICK_EXPLODING);
    put_brick(6, 4, 1, BRICK_NORMAL);
    ed_powerup[cell(6, 4)] = 9;
    ed_bricktype[cell(6, 5)] = BRICK_EXPLODING;  // empty, still of type 3
    over(9, 9);   // away: the cell under the pointer shows what a click would place
    EXPECT_SHOWS(6, 3, FIRE);
    EXPECT_SHOWS(6, 4, BRICK);
    over(6, 3);
    mouse(WM_RBUTTONDOWN);
    over(6, 4);
    mouse(WM_RBUTTONUP);
    over(7, 4);
    EXPECT_EQ(leveled[cell(6, 4)] + ed_rr[cell(6, 4)] + ed_bricktype[cell(6, 4)], 128);
    EXPECT_EQ(ed_powerup[cell(6, 4)], 9);
    EXPECT_SHOWS(6, 3, GRID);
    EXPECT_SHOWS(6, 5, FIRE);
    pupedit = 1;
    over(7, 4);
    EXPECT_SHOWS(6, 4, PUP);
}

TEST_F(Canvas, PowerupLayerDimsBricksAndDialogsBlockEveryPress)
{
    put_brick(2, 2, 2, BRICK_NORMAL);
    ed_rr[cell(2, 2)] = ed_gg[cell(2, 2)] = ed_bb[cell(2, 2)] = 127;
    over(3, 3);
    EXPECT_SHOWS(2, 2, WHITE);
    pupedit = 1;
    over(2, 5);
    EXPECT_SHOWS(2, 2, (rgb{127, 127, 127}));

    open_dialog(DLG_SAVED);  // with "Level saved." up, no press edits the board
    over(2, 7);
    mouse(WM_LBUTTONDOWN);
    mouse(WM_LBUTTONUP);
    pupedit = 0;
    over(2, 2);
    mouse(WM_RBUTTONDOWN);
    mouse(WM_RBUTTONUP);
    EXPECT_EQ(ed_powerup[cell(2, 7)], 0);
    EXPECT_EQ(leveled[cell(2, 2)], 2);
}

TEST_F(Canvas, TheCellUnderThePointerIsOutlinedAndShowsFaintlyWhatAClickPlaces)
{
    // The faint brick (or power-up) lies at 0.45 over what the cell shows.
    struct { int pupedit, mirror; rgb centre; } cases[] = {
        {0, 0, {0, 110, 90}},      // the blue brick over the green grid
        {1, 0, {115, 170, 0}},     // the yellow power-up over the grid dimmed to half
        {0, 1, {0, 110, 90}},
    };
    for (const auto &t : cases) {
        pupedit = t.pupedit;
        mirror = t.mirror;
        over(7, 4);
        EXPECT_TRUE(rgb_near(cell_pixel(7, 4), t.centre, 6)) << "layer " << t.pupedit;
        EXPECT_TRUE(rgb_near(cell_pixel(7, 17), t.mirror ? t.centre : cell_pixel(7, 16), 6))
            << "the mirrored cell is previewed only with the mirror on";
        rgb edge = frame_pixel(cell_centre_x(4), cell_centre_y(7) + 0.06 - 0.003);
        EXPECT_TRUE(rgb_near(edge, (rgb{255, 255, 77}), 30)) << "the outline";
        EXPECT_EQ(leveled[cell(7, 4)] + ed_powerup[cell(7, 4)], 0) << "a preview places nothing";
    }
    mirror = 0;
}

TEST_F(Canvas, EyedropperArmsAtThePressOrDCopiesWhileMovingAndDisarmsAtTheNextPress)
{
    put_brick(8, 8, 2, BRICK_THREE_HIT);
    ed_rr[cell(8, 8)] = 10, ed_gg[cell(8, 8)] = 20, ed_bb[cell(8, 8)] = 30;
    point_at(1.15f, -1.3f);  // the Eyedropper button
    editor();
    mouse(WM_LBUTTONDOWN);
    EXPECT_EQ(dropped, 1);
    mouse(WM_LBUTTONUP);
    over(8, 8);
    over(9, 9);  // an empty cell copies nothing
    EXPECT_EQ(texnumber * 1000000 + curr * 10000 + curg * 100 + curb, 2102030);
    EXPECT_EQ(curbrick, BRICK_THREE_HIT);
    EXPECT_EQ(guibrick, 4) << "the type list shows the copied type";
    mouse(WM_LBUTTONDOWN);
    mouse(WM_LBUTTONUP);
    EXPECT_EQ(dropped, 0);
    EXPECT_EQ(leveled[cell(9, 9)], 2);

    put_brick(10, 10, 3, BRICK_INVISIBLE);
    key('D');   // the key arms it as the button does
    over(10, 10);
    EXPECT_EQ(texnumber * 10 + curbrick, 30 + BRICK_INVISIBLE);
}

TEST_F(Canvas, ClassicShowsExactlyTheBrickColourHidesExplodingBricksAndGridOffIsBlack)
{
    put_brick(10, 2, 2, BRICK_NORMAL);
    ed_rr[cell(10, 2)] = 127, ed_gg[cell(10, 2)] = 0, ed_bb[cell(10, 2)] = 64;
    put_brick(10, 3, 1, BRICK_NORMAL);
    ed_rr[cell(10, 3)] = ed_gg[cell(10, 3)] = ed_bb[cell(10, 3)] = 127;
    put_brick(10, 4, 1, BRICK_EXPLODING);
    classic = 1;
    grid = 0;
    over(12, 5);
    EXPECT_SHOWS(10, 2, (rgb{255, 0, 129}));
    EXPECT_SHOWS(10, 3, WHITE);  // no trace of the blue texture
    EXPECT_SHOWS(10, 4, (rgb{0, 0, 0}));
    EXPECT_SHOWS(11, 1, (rgb{0, 0, 0}));
    EXPECT_EQ(leveled[cell(10, 4)], 1) << "hidden, not removed";
}

TEST_F(Canvas, TestPlayNeedsABrickInsideTheGridAndEscapeInTheFadeStillReturns)
{
    put_brick(0, 5, 1, BRICK_NORMAL);
    test_play();
    EXPECT_EQ(dialog_shown(), DLG_NO_BRICKS);
    EXPECT_EQ(screen_is(SCREEN_EDITOR), 1);

    put_brick(12, 12, 2, BRICK_TWO_HIT);
    edlevel = 3;
    test_play();
    EXPECT_EQ(screen_is(SCREEN_EDITOR) * 10 + test, 1);
    EXPECT_EQ(level, 3);
    EXPECT_EQ(board[cell(12, 12)] * 10 + bricktype[cell(12, 12)], 22);

    title_alpha = 0.6f;  // Escape part of the way into the game
    keys[VK_ESCAPE] = 1;
    escape_action();
    keys[VK_ESCAPE] = 0;
    for (int n = 0; n < 200 && !screen_is(SCREEN_EDITOR); n++)
        render_title();
    EXPECT_EQ(screen_is(SCREEN_EDITOR), 1);
    EXPECT_EQ(test + testing_level + (fade_running() == FADE_IN) + (fade_running() == FADE_OUT), 0);
}

}  // namespace
