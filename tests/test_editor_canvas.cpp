// The editor's canvas, driven as the mouse drives it and read back from a real
// GL context, in a scratch player folder where saving is real.

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <utility>

#include "editor/editor.h"
#include "editor_view.h"
#include "field.h"
#include "graphics/graphics.h"
#include "menus/menus.h"
#include "play_state.h"
#include "player_folder.h"
#include "rules/rules.h"
#include "shell/shell.h"

namespace {

using cells = std::set<std::pair<int, int>>;

struct mask_t {
    unsigned char m[GRID_CELLS] = {};
    cells marked() const
    {
        cells out;
        for (int r = 0; r <= GRID_ROWS; r++)
            for (int c = 0; c <= GRID_ROWS; c++)
                if (m[grid_index(r, c)])
                    out.insert({r, c});
        return out;
    }
};

// A continuous cell coordinate in GUI units: column (row) n spans n .. n + 1.
float cx(double c) { return (float)(WALL_LEFT + CELL_WIDTH * (c - 1)); }
float cy(double r) { return (float)(CEILING - CELL_HEIGHT * (r - 1)); }

// 1 when the cells form one 8-connected group.
bool connected(const cells &s)
{
    if (s.empty())
        return false;
    cells seen{*s.begin()}, todo{*s.begin()};
    while (!todo.empty()) {
        auto p = *todo.begin();
        todo.erase(todo.begin());
        for (auto q : s)
            if (!seen.count(q) && abs(q.first - p.first) <= 1 && abs(q.second - p.second) <= 1) {
                seen.insert(q);
                todo.insert(q);
            }
    }
    return seen.size() == s.size();
}

TEST(EditorTools, FastStrokesLinesAndRectanglesMarkTheirCells)
{
    // Samples in continuous cell coordinates (column, row); off-grid ends are clipped.
    struct { double c0, r0, c1, r1; int first_r, first_c, last_r, last_c; size_t min_cells; } cases[] = {
        {1.5, 1.5, 20.5, 1.5, 1, 1, 1, 20, 20},        // a whole row in one frame
        {3.5, 2.5, 3.5, 19.5, 2, 3, 19, 3, 18},        // down a column
        {1.5, 1.5, 20.5, 20.5, 1, 1, 20, 20, 20},      // the diagonal
        {2.2, 5.7, 17.9, 8.1, 5, 2, 8, 17, 16},        // shallow, between centres
        {5.5, 18.5, 6.5, 2.5, 18, 5, 2, 6, 17},        // steep
        {-4.0, 10.5, 30.0, 10.5, 10, 1, 10, 20, 20},   // starts and ends off the grid
        {8.5, 8.5, 8.5, 8.5, 8, 8, 8, 8, 1},           // no movement
    };
    for (const auto &t : cases) {
        mask_t m;
        ASSERT_EQ(mark_stroke(cx(t.c0), cy(t.r0), cx(t.c1), cy(t.r1), m.m), 1) << t.c0 << "," << t.r0;
        cells s = m.marked();
        EXPECT_TRUE(s.count({t.first_r, t.first_c}) && s.count({t.last_r, t.last_c})) << t.c0 << "," << t.r0;
        EXPECT_TRUE(connected(s)) << t.c0 << "," << t.r0;
        EXPECT_GE(s.size(), t.min_cells) << t.c0 << "," << t.r0;
        for (auto p : s)
            EXPECT_TRUE(p.first >= 1 && p.first <= 20 && p.second >= 1 && p.second <= 20);
    }
    mask_t m;
    EXPECT_EQ(mark_stroke(cx(-2), cy(-2), cx(25), cy(-1), m.m), 0) << "a path above the grid";
    EXPECT_TRUE(m.marked().empty());

    struct { int r0, c0, r1, c1; cells want; } lines[] = {
        {3, 3, 3, 6, {{3, 3}, {3, 4}, {3, 5}, {3, 6}}},
        {6, 2, 3, 2, {{3, 2}, {4, 2}, {5, 2}, {6, 2}}},
        {1, 1, 4, 4, {{1, 1}, {2, 2}, {3, 3}, {4, 4}}},
        {5, 1, 6, 5, {{5, 1}, {5, 2}, {6, 4}, {6, 5}, {5, 3}}},
        {9, 9, 9, 9, {{9, 9}}},
    };
    for (const auto &t : lines) {
        mask_t m;
        mark_line(t.r0, t.c0, t.r1, t.c1, m.m);
        cells got = m.marked();
        // The middle cell of an odd step may fall to either row; the ends and count may not.
        EXPECT_EQ(got.size(), t.want.size()) << t.r0 << "," << t.c0 << "-" << t.r1 << "," << t.c1;
        EXPECT_TRUE(got.count({t.r0, t.c0}) && got.count({t.r1, t.c1}));
        EXPECT_TRUE(connected(got));
    }
    struct { int r0, c0, r1, c1, filled; size_t count; } rects[] = {
        {2, 2, 5, 7, 0, 2 * 6 + 2 * 4 - 4}, {5, 7, 2, 2, 1, 6 * 4}, {4, 1, 4, 20, 0, 20},
        {1, 1, 20, 20, 1, 400}, {1, 1, 20, 20, 0, 76}, {7, 7, 7, 7, 0, 1},
    };
    for (const auto &t : rects) {
        mask_t m;
        mark_rectangle(t.r0, t.c0, t.r1, t.c1, t.filled, m.m);
        cells got = m.marked();
        EXPECT_EQ(got.size(), t.count) << t.r0 << "," << t.c0 << "-" << t.r1 << "," << t.c1;
        EXPECT_TRUE(got.count({t.r0, t.c0}) && got.count({t.r1, t.c1}) && got.count({t.r0, t.c1}));
        int mr = (t.r0 + t.r1) / 2, mc = (t.c0 + t.c1) / 2;
        bool inside = mr != t.r0 && mr != t.r1 && mc != t.c0 && mc != t.c1;
        if (inside) {
            EXPECT_EQ(got.count({mr, mc}) == 1, t.filled == 1) << "the middle of " << t.r0 << "," << t.c0;
        }
    }
}

// A brick on the edited board.
void brick(int r, int c, int tex, int type = BRICK_NORMAL, int red = 127)
{
    int k = grid_index(r, c);
    leveled[k] = tex;
    ed_bricktype[k] = type;
    ed_rr[k] = red;
}

class Board : public ::testing::Test {
protected:
    void SetUp() override
    {
        clear_edited_level();
        pupedit = mirror = 0;
    }
};

TEST_F(Board, FloodFillFollowsTypeTextureAndColourAroundHolesAndCoversAFullBoard)
{
    // A ring of bricks in rows and columns 5..10 with a hole inside, and
    // bricks beside it that differ in one property each.
    for (int r = 5; r <= 10; r++)
        for (int c = 5; c <= 10; c++)
            if (r == 5 || r == 10 || c == 5 || c == 10)
                brick(r, c, 2);
    brick(4, 5, 2, BRICK_TWO_HIT);      // other type
    brick(11, 5, 3);                    // other texture
    brick(5, 11, 2, BRICK_NORMAL, 60);  // other colour
    struct { int r, c; int count; int in_r, in_c, out_r, out_c; } cases[] = {
        {5, 5, 20, 10, 7, 4, 5},       // the ring only
        {7, 7, 16, 8, 8, 5, 5},        // the hole inside it
        {1, 1, 400 - 36 - 3, 20, 20, 7, 7},  // the empty outside, around the ring
        {4, 5, 1, 4, 5, 5, 5},
    };
    for (const auto &t : cases) {
        mask_t m;
        EXPECT_EQ(mark_fill(t.r, t.c, m.m), t.count) << t.r << "," << t.c;
        EXPECT_EQ((int)m.marked().size(), t.count);
        EXPECT_TRUE(m.m[grid_index(t.in_r, t.in_c)]) << t.r << "," << t.c;
        EXPECT_FALSE(m.m[grid_index(t.out_r, t.out_c)]) << t.r << "," << t.c;
    }
    mask_t off;
    EXPECT_EQ(mark_fill(0, 3, off.m), 0) << "beside the grid nothing is filled";

    // A full board of one brick: every cell, with no recursion to run out of.
    for (int r = 1; r <= 20; r++)
        for (int c = 1; c <= 20; c++)
            brick(r, c, 1, BRICK_EXPLODING, 30);
    mask_t all;
    EXPECT_EQ(mark_fill(20, 20, all.m), 400);
    texnumber = 4, curbrick = BRICK_NORMAL, curr = curg = curb = 9;
    apply_mask(all.m, 0);
    for (int r = 1; r <= 20; r++)
        for (int c = 1; c <= 20; c++)
            ASSERT_EQ(leveled[grid_index(r, c)] * 100 + ed_rr[grid_index(r, c)], 409) << r << "," << c;
    EXPECT_EQ(leveled[grid_index(0, 0)], 0) << "row 0 and column 0 are never filled";
}

TEST_F(Board, TheMirrorPaintsTheCellMirroredAboutTheVerticalMiddle)
{
    struct { int r, c, mirrored_c; } paints[] = {{3, 1, 20}, {4, 10, 11}, {5, 11, 10}, {6, 7, 14}};
    mirror = 1;
    texnumber = 2;
    for (const auto &t : paints) {
        mask_t m;
        m.m[grid_index(t.r, t.c)] = 1;
        apply_mask(m.m, 0);
        EXPECT_EQ(leveled[grid_index(t.r, t.c)] + leveled[grid_index(t.r, t.mirrored_c)], 4) << t.r;
    }
    EXPECT_EQ(cells_set(leveled), 8);
    mask_t e;
    e.m[grid_index(4, 11)] = 1;
    apply_mask(e.m, 1);
    EXPECT_EQ(leveled[grid_index(4, 10)] + leveled[grid_index(4, 11)], 0) << "the eraser is mirrored too";
}

// The tools through the mouse, with frames drawn in a real GL context.
class Tools : public EditorTest {
protected:
    void TearDown() override
    {
        keys[VK_SHIFT] = 0;
        edtool = TOOL_BRUSH;
        mirror = 0;
    }
    // A press on one cell, the pointer moved to another in one frame, the release there.
    static void gesture(unsigned down, int r0, int c0, int r1, int c1)
    {
        over(r0, c0);
        mouse(down);
        over(r1, c1);
        mouse(down + 1);
        over(r1, c1);
    }
};

TEST_F(Tools, EachToolAndItsEraserMakeTheirCellsInOneUndoStep)
{
    struct { int tool, shift; int r0, c0, r1, c1; int painted; } cases[] = {
        {TOOL_BRUSH, 0, 2, 1, 2, 20, 20},   // one frame across the row: no gap
        {TOOL_BRUSH, 1, 3, 3, 9, 3, 7},     // Shift: a line
        {TOOL_LINE, 0, 1, 1, 4, 4, 4},
        {TOOL_RECT, 0, 5, 5, 8, 10, 2 * 6 + 2 * 4 - 4},
        {TOOL_BOX, 0, 5, 5, 8, 10, 24},
        {TOOL_FILL, 0, 10, 10, 10, 10, 400},
    };
    for (const auto &t : cases) {
        reset_editor();
        edtool = t.tool;
        keys[VK_SHIFT] = t.shift;
        gesture(WM_LBUTTONDOWN, t.r0, t.c0, t.r1, t.c1);
        keys[VK_SHIFT] = 0;
        EXPECT_EQ(cells_set(leveled), t.painted) << "tool " << t.tool;
        EXPECT_EQ(undo(), 1);
        EXPECT_EQ(cells_set(leveled), 0) << "tool " << t.tool << ": one undo takes it all";
        EXPECT_EQ(redo(), 1);
        // The right button erases the same cells.
        gesture(WM_RBUTTONDOWN, t.r0, t.c0, t.r1, t.c1);
        EXPECT_EQ(cells_set(leveled), 0) << "tool " << t.tool;
    }
}

TEST_F(Tools, ThePowerupLayerTakesDragsShapesAndItsEraserAndKeepsTheBricks)
{
    leveled[grid_index(6, 6)] = 1;
    pupedit = 1;
    curpup = 5;
    gesture(WM_LBUTTONDOWN, 6, 1, 6, 20);
    EXPECT_EQ(cells_set(ed_powerup), 20) << "a drag places power-ups";
    edtool = TOOL_RECT;
    gesture(WM_RBUTTONDOWN, 6, 3, 6, 8);
    EXPECT_EQ(cells_set(ed_powerup), 14);
    EXPECT_EQ(cells_set(leveled), 1) << "the power-up eraser leaves bricks";
    mirror = 1;
    edtool = TOOL_LINE;
    gesture(WM_LBUTTONDOWN, 1, 1, 1, 3);
    EXPECT_EQ(ed_powerup[grid_index(1, 19)] * ed_powerup[grid_index(1, 2)], 25);
}

// ---- The canvas through the mouse ----

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
    brick(6, 3, 1, BRICK_EXPLODING);
    brick(6, 4, 1, BRICK_NORMAL);
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
    brick(2, 2, 2, BRICK_NORMAL);
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
    brick(8, 8, 2, BRICK_THREE_HIT);
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

    brick(10, 10, 3, BRICK_INVISIBLE);
    key('D');   // the key arms it as the button does
    over(10, 10);
    EXPECT_EQ(texnumber * 10 + curbrick, 30 + BRICK_INVISIBLE);
}

TEST_F(Canvas, ClassicShowsExactlyTheBrickColourHidesExplodingBricksAndGridOffIsBlack)
{
    brick(10, 2, 2, BRICK_NORMAL);
    ed_rr[cell(10, 2)] = 127, ed_gg[cell(10, 2)] = 0, ed_bb[cell(10, 2)] = 64;
    brick(10, 3, 1, BRICK_NORMAL);
    ed_rr[cell(10, 3)] = ed_gg[cell(10, 3)] = ed_bb[cell(10, 3)] = 127;
    brick(10, 4, 1, BRICK_EXPLODING);
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
    brick(0, 5, 1, BRICK_NORMAL);
    test_play();
    EXPECT_EQ(dialog_shown(), DLG_NO_BRICKS);
    EXPECT_EQ(screen_is(SCREEN_EDITOR), 1);

    brick(12, 12, 2, BRICK_TWO_HIT);
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

// ---- Undo and redo ----

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

TEST_F(Undo, EachStrokePowerupF5AndClearIsOneOfTheLast64StepsAndRedoReplaysThem)
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

    // The history keeps the last 64 steps.
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
