// The editor's canvas in a real GL context, driven through the window
// procedure as the mouse drives it: drag painting and erasing that keep
// power-ups, the eyedropper, the power-up layer, what each cell shows, and
// test play.

#include <gtest/gtest.h>
#include <GL/glu.h>

#include <cstring>

#include "editor/editor.h"
#include "gl_context.h"
#include "graphics/graphics.h"
#include "menus/menus.h"
#include "rules/rules.h"
#include "shell/shell.h"

namespace {

// A 2 x 2 texture of one colour.
void solid_texture(GLuint name, int r, int g, int b)
{
    unsigned char px[12];
    for (int i = 0; i < 12; i++)
        px[i] = (unsigned char)(i % 3 == 0 ? r : i % 3 == 1 ? g : b);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, px);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
}

// Centre of cell (r, c) in the GUI frame.
float cell_x(int c) { return 0.5f + 0.25f * (c - 1) + 0.125f; }
float cell_y(int r) { return 2.0f - 0.12f * (r - 1) - 0.06f; }

// Moves the mouse so the game's pointer lands on a GUI point.
void point_at(float gx, float gy)
{
    float k = pointer_scale() * msensitivity;
    mouseX = (int)((gx - 0.25f) / k + 0.5f);
    mouseY = (int)((2.0f - gy) / k + 0.5f);
    move_pointer();
}

// The colour drawn at a GUI point.
rgb pixel_at(float gx, float gy)
{
    GLdouble model[16], proj[16], wx, wy, wz;
    GLint view[4];
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(-3.0f, 0.0f, 0.0f);
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glPopMatrix();
    glGetDoublev(GL_PROJECTION_MATRIX, proj);
    glGetIntegerv(GL_VIEWPORT, view);
    gluProject(gx, gy, -5.0, model, proj, view, &wx, &wy, &wz);
    return gl_read_pixel((int)wx, (int)wy);
}

void left_press() { WndProc(nullptr, WM_LBUTTONDOWN, 0, 0); }
void left_release() { WndProc(nullptr, WM_LBUTTONUP, 0, 0); }
void right_press() { WndProc(nullptr, WM_RBUTTONDOWN, 0, 0); }
void right_release() { WndProc(nullptr, WM_RBUTTONUP, 0, 0); }

// Solid colours that tell the textures apart on screen.
const int GRID_RGB[3] = {0, 200, 0};     // graphics/ed.png, the grid cell
const int FIRE_RGB[3] = {200, 0, 0};     // graphics/fire.png
const int BRICK_RGB[3] = {0, 0, 200};    // brick texture 1

class Canvas : public GLTest {
protected:
    static void SetUpTestSuite()
    {
        GLTest::SetUpTestSuite();
        generate_texture_names();
        solid_texture(textures[2], GRID_RGB[0], GRID_RGB[1], GRID_RGB[2]);
        solid_texture(textures[4], FIRE_RGB[0], FIRE_RGB[1], FIRE_RGB[2]);
        solid_texture(edtexname[1], BRICK_RGB[0], BRICK_RGB[1], BRICK_RGB[2]);
        solid_texture(edtexname[2], 255, 255, 255);
        for (int k = 1; k <= 17; k++)
            solid_texture(puptextures[k], 255, 255, 0);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        msensitivity = 8.0f;
    }
    void SetUp() override
    {
        clear_edited_level();
        undo_reset();
        edit = menu = 1;
        fadein = fadeout = test = testing_level = 0;
        drag = edrag = dropped = get_drops = pupedit = classic = 0;
        grid = 1;
        visible = 0;
        blank = saved = clearlev = 0;
        texmax = 2;
        texnumber = 1;
        curr = curg = curb = 127;
        curbrick = guibrick = 1;
        curpup = 5;
        point_at(0.3f, 1.99f);   // left of the grid
        frame();
    }
    void frame() { editor(); }
    // Draws a frame with the pointer over cell (r, c).
    void over(int r, int c)
    {
        point_at(cell_x(c), cell_y(r));
        frame();
    }
    static int cell(int r, int c) { return grid_index(r, c); }
    static void put_brick(int r, int c, int tex, int type)
    {
        int k = grid_index(r, c);
        leveled[k] = tex;
        ed_rr[k] = ed_gg[k] = ed_bb[k] = 127;
        ed_bricktype[k] = type;
    }
};

#define EXPECT_RGB(p, R, G, B)                                                  \
    do {                                                                        \
        rgb q = (p);                                                            \
        EXPECT_NEAR(q.r, R, 3); EXPECT_NEAR(q.g, G, 3); EXPECT_NEAR(q.b, B, 3); \
    } while (0)

// ---- Painting and erasing ----

TEST_F(Canvas, LeftDragPaintsEveryCellPassedAndKeepsPowerups)
{
    ed_powerup[cell(4, 7)] = 11;
    curr = 10, curg = 20, curb = 30, curbrick = 5, texnumber = 2;
    over(4, 1);
    left_press();
    for (int c = 2; c <= 20; c++)
        over(4, c);
    left_release();
    over(5, 20);  // moving on after the release paints nothing

    for (int c = 1; c <= 20; c++) {
        int k = cell(4, c);
        EXPECT_EQ(leveled[k], 2) << c;
        EXPECT_EQ(ed_rr[k] * 10000 + ed_gg[k] * 100 + ed_bb[k], 102030) << c;
        EXPECT_EQ(ed_bricktype[k], 5) << c;
    }
    EXPECT_EQ(ed_powerup[cell(4, 7)], 11);
    EXPECT_EQ(leveled[cell(5, 20)], 0);
}

TEST_F(Canvas, RightDragErasesButKeepsPowerupsAndAnErasedExplodingCellShowsTheGrid)
{
    put_brick(6, 3, 1, BRICK_EXPLODING);
    put_brick(6, 4, 1, BRICK_NORMAL);
    ed_powerup[cell(6, 4)] = 9;
    ed_bricktype[cell(6, 5)] = BRICK_EXPLODING;  // an empty cell still of type 3
    frame();
    EXPECT_RGB(pixel_at(cell_x(3), cell_y(6)), FIRE_RGB[0], FIRE_RGB[1], FIRE_RGB[2]);
    EXPECT_RGB(pixel_at(cell_x(4), cell_y(6)), BRICK_RGB[0], BRICK_RGB[1], BRICK_RGB[2]);

    over(6, 3);
    right_press();
    over(6, 4);
    right_release();
    over(7, 4);
    EXPECT_EQ(leveled[cell(6, 3)], 0);
    EXPECT_EQ(ed_bricktype[cell(6, 3)], BRICK_NORMAL);
    EXPECT_EQ(ed_rr[cell(6, 4)] + ed_gg[cell(6, 4)] + ed_bb[cell(6, 4)], 3 * 127);
    EXPECT_EQ(ed_powerup[cell(6, 4)], 9);
    EXPECT_RGB(pixel_at(cell_x(3), cell_y(6)), GRID_RGB[0], GRID_RGB[1], GRID_RGB[2]);
    EXPECT_RGB(pixel_at(cell_x(5), cell_y(6)), FIRE_RGB[0], FIRE_RGB[1], FIRE_RGB[2]);

    pupedit = 1;  // the kept power-up shows again in the power-up layer
    frame();
    EXPECT_RGB(pixel_at(cell_x(4), cell_y(6)), 255, 255, 0);
}

TEST_F(Canvas, PressOnAToolbarButtonPaintsOnlyTheCellsDraggedOnto)
{
    point_at(0.7f, -0.7f);  // the Grid button
    frame();
    left_press();
    EXPECT_EQ(leveled[cell(0, 0)], 0) << "a press over no cell changes nothing";
    over(20, 1);
    left_release();
    EXPECT_EQ(leveled[cell(20, 1)], 1);
}

TEST_F(Canvas, AnOpenDialogBlocksPaintingErasingAndPowerupPlacing)
{
    put_brick(3, 3, 1, BRICK_NORMAL);
    saved = 1;  // "Level saved." is up
    over(3, 4);
    left_press();
    left_release();
    over(3, 3);
    right_press();
    right_release();
    pupedit = 1;
    left_press();
    left_release();
    EXPECT_EQ(leveled[cell(3, 4)], 0);
    EXPECT_EQ(leveled[cell(3, 3)], 1);
    EXPECT_EQ(ed_powerup[cell(3, 3)], 0);
    saved = 0;
}

// ---- Power-up layer ----

TEST_F(Canvas, PowerupLayerPlacesOncePerPressAndDimsTheBricks)
{
    put_brick(2, 2, 2, BRICK_NORMAL);  // a white brick
    frame();
    EXPECT_RGB(pixel_at(cell_x(2), cell_y(2)), 255, 255, 255);
    pupedit = 1;
    over(2, 2);
    EXPECT_RGB(pixel_at(cell_x(2), cell_y(2)), 127, 127, 127);

    over(2, 5);
    left_press();
    over(2, 6);  // no dragging in the power-up layer
    left_release();
    EXPECT_EQ(ed_powerup[cell(2, 5)], 5);
    EXPECT_EQ(ed_powerup[cell(2, 6)], 0);
    EXPECT_EQ(leveled[cell(2, 5)], 0) << "placing a power-up lays no brick";
    EXPECT_RGB(pixel_at(cell_x(5), cell_y(2)), 255, 255, 0);

    over(2, 5);
    right_press();
    right_release();
    EXPECT_EQ(ed_powerup[cell(2, 5)], 0);
}

// ---- Eyedropper ----

TEST_F(Canvas, EyedropperArmsAtThePressCopiesWhileMovingAndDisarmsAtTheNextPress)
{
    put_brick(8, 8, 2, BRICK_THREE_HIT);
    ed_rr[cell(8, 8)] = 10, ed_gg[cell(8, 8)] = 20, ed_bb[cell(8, 8)] = 30;
    point_at(1.15f, -1.3f);  // the Eyedropper button
    frame();
    left_press();
    EXPECT_EQ(dropped, 1);
    EXPECT_EQ(get_drops, 0);
    left_release();

    over(8, 8);
    EXPECT_EQ(texnumber, 2);
    EXPECT_EQ(curr * 10000 + curg * 100 + curb, 102030);
    EXPECT_EQ(curbrick, BRICK_THREE_HIT);
    EXPECT_EQ(guibrick, 4) << "the type list shows the copied type";
    over(9, 9);  // an empty cell copies nothing
    EXPECT_EQ(texnumber, 2);
    EXPECT_EQ(dropped, 1);

    left_press();
    left_release();
    EXPECT_EQ(dropped, 0);
    EXPECT_EQ(leveled[cell(9, 9)], 2);
    EXPECT_EQ(ed_bricktype[cell(9, 9)], BRICK_THREE_HIT);
}

// ---- Views ----

TEST_F(Canvas, ClassicShowsBricksInExactlyTheirColourAndHidesExplodingOnes)
{
    put_brick(10, 2, 2, BRICK_NORMAL);
    ed_rr[cell(10, 2)] = 127, ed_gg[cell(10, 2)] = 0, ed_bb[cell(10, 2)] = 64;
    put_brick(10, 3, 1, BRICK_NORMAL);  // a blue-textured brick, white colour
    put_brick(10, 4, 1, BRICK_EXPLODING);
    classic = 1;
    grid = 0;
    frame();
    EXPECT_RGB(pixel_at(cell_x(2), cell_y(10)), 255, 0, 129);
    EXPECT_RGB(pixel_at(cell_x(3), cell_y(10)), 255, 255, 255);
    EXPECT_RGB(pixel_at(cell_x(4), cell_y(10)), 0, 0, 0);
    EXPECT_EQ(leveled[cell(10, 4)], 1) << "hidden, not removed";
}

TEST_F(Canvas, WithTheGridOffEmptyCellsAreBlack)
{
    frame();
    EXPECT_RGB(pixel_at(cell_x(1), cell_y(1)), GRID_RGB[0], GRID_RGB[1], GRID_RGB[2]);
    ed_rr[cell(1, 2)] = ed_gg[cell(1, 2)] = ed_bb[cell(1, 2)] = 128;  // as loaders clear
    frame();
    EXPECT_RGB(pixel_at(cell_x(2), cell_y(1)), GRID_RGB[0], GRID_RGB[1], GRID_RGB[2]);
    grid = 0;
    frame();
    EXPECT_RGB(pixel_at(cell_x(1), cell_y(1)), 0, 0, 0);
}

TEST_F(Canvas, CellEdgesBelongToTheCellSoThePointerAtTheRightLimitSelectsColumn20)
{
    point_at(6.0f, cell_y(7));  // clamped to x 5.5, the right edge of column 20
    ASSERT_EQ(pointerx, 5.5f);
    frame();
    EXPECT_EQ(selx, 7);
    EXPECT_EQ(sely, 20);
    point_at(0.3f, -0.2f);  // below the grid
    frame();
    EXPECT_EQ(selx, 0);
    EXPECT_EQ(sely, 0);
}

// ---- Test play ----

TEST_F(Canvas, TestPlayNeedsABrickInsideTheGridAndStartsTheLevel)
{
    put_brick(0, 5, 1, BRICK_NORMAL);
    put_brick(5, 0, 1, BRICK_NORMAL);
    test_play();
    EXPECT_EQ(blank, 1);
    EXPECT_EQ(edit, 1);
    EXPECT_EQ(test, 0);
    blank = 0;

    put_brick(12, 12, 2, BRICK_TWO_HIT);
    edlevel = 3;
    pupedit = 1;
    test_play();
    EXPECT_EQ(edit, 0);
    EXPECT_EQ(test, 1);
    EXPECT_EQ(testing_level, 1);
    EXPECT_EQ(fadeout, 1);
    EXPECT_EQ(pupedit, 0);
    EXPECT_EQ(level, 3);
    EXPECT_EQ(board[cell(12, 12)], 2);
    EXPECT_EQ(bricktype[cell(12, 12)], BRICK_TWO_HIT);
    edlevel = 1;
    testing_level = test = fadeout = 0;
}

TEST_F(Canvas, EscapeDuringTheFadeIntoATestGameStillBringsTheEditorBack)
{
    put_brick(1, 1, 1, BRICK_NORMAL);
    test_play();
    title_alpha = 0.6f;  // part of the way into the game
    keys[VK_ESCAPE] = 1;
    escape_action();
    keys[VK_ESCAPE] = 0;
    for (int n = 0; n < 200 && !edit; n++) {
        glLoadIdentity();
        glTranslatef(-3.0f, 0.0f, 0.0f);
        render_title();
    }
    EXPECT_EQ(edit, 1);
    EXPECT_EQ(test + testing_level + fadein + fadeout, 0);
}

}  // namespace
