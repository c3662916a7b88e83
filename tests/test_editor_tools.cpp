// The editor's drawing tools on the canvas state: fast strokes leave no gap,
// line and rectangle cells, flood fill on boards with holes and on a full
// board, the mirror on odd and even widths, and the tools driven through the
// mouse (eraser, Shift line, power-up layer, one undo step per gesture).

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <utility>

#include "editor/editor.h"
#include "editor_view.h"
#include "field.h"
#include "graphics/graphics.h"
#include "menus/menus.h"
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

TEST(EditorTools, AFastStrokeMarksAConnectedPathBetweenItsSamplesClippedToTheGrid)
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
}

TEST(EditorTools, LineAndRectangleCells)
{
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

class Board : public ::testing::Test {
protected:
    void SetUp() override
    {
        clear_edited_level();
        pupedit = mirror = 0;
    }
    static void brick(int r, int c, int tex, int type = BRICK_NORMAL, int red = 127)
    {
        int k = grid_index(r, c);
        leveled[k] = tex;
        ed_bricktype[k] = type;
        ed_rr[k] = red;
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
    int painted = 0;
    for (int k = 0; k < GRID_CELLS; k++)
        painted += leveled[k] != 0;
    EXPECT_EQ(painted, 8);
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
    static int count(const int32_t *grid)
    {
        int n = 0;
        for (int r = 1; r <= 20; r++)
            for (int c = 1; c <= 20; c++)
                n += grid[grid_index(r, c)] != 0;
        return n;
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
        EXPECT_EQ(count(leveled), t.painted) << "tool " << t.tool;
        EXPECT_EQ(undo(), 1);
        EXPECT_EQ(count(leveled), 0) << "tool " << t.tool << ": one undo takes it all";
        EXPECT_EQ(redo(), 1);
        // The right button erases the same cells.
        gesture(WM_RBUTTONDOWN, t.r0, t.c0, t.r1, t.c1);
        EXPECT_EQ(count(leveled), 0) << "tool " << t.tool;
    }
}

TEST_F(Tools, ThePowerupLayerTakesDragsShapesAndItsEraserAndKeepsTheBricks)
{
    leveled[grid_index(6, 6)] = 1;
    pupedit = 1;
    curpup = 5;
    gesture(WM_LBUTTONDOWN, 6, 1, 6, 20);
    EXPECT_EQ(count(ed_powerup), 20) << "a drag places power-ups";
    edtool = TOOL_RECT;
    gesture(WM_RBUTTONDOWN, 6, 3, 6, 8);
    EXPECT_EQ(count(ed_powerup), 14);
    EXPECT_EQ(count(leveled), 1) << "the power-up eraser leaves bricks";
    mirror = 1;
    edtool = TOOL_LINE;
    gesture(WM_LBUTTONDOWN, 1, 1, 1, 3);
    EXPECT_EQ(ed_powerup[grid_index(1, 19)] * ed_powerup[grid_index(1, 2)], 25);
}

}  // namespace
