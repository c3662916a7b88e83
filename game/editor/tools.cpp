// The editor's drawing tools on the canvas state: gap-free strokes, lines,
// rectangles, flood fill and the mirror. Each tool marks the cells it covers
// in a mask; one routine lays (or erases) the marked cells, mirrored when the
// mirror is on, so every tool works the same in the brick and power-up layers.

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "editor.h"
#include "field.h"
#include "menus/menus.h"
#include "rules/rules.h"
#include "shell/shell.h"

// ---- Globals ----

int edtool = TOOL_BRUSH;
int mirror;

// ---- Cells and the pointer ----

int mirror_column(int c, int columns)
{
    return columns + 1 - c;
}

// Column and row of a GUI point as continuous cell coordinates: column 1
// spans 1.0..2.0, row 1 spans 1.0..2.0 downwards.
static double column_at(double x) { return (x - WALL_LEFT) / CELL_WIDTH + 1.0; }
static double row_at(double y) { return (CEILING - y) / CELL_HEIGHT + 1.0; }

int pointer_cell(float x, float y, int *r, int *c)
{
    double u = column_at(x), v = row_at(y);
    *r = *c = 0;
    if (u < 1.0 || u > GRID_ROWS + 1.0 || v < 1.0 || v > GRID_ROWS + 1.0)
        return 0;
    // On a shared edge the later cell in scan order (right, lower) wins.
    *c = u >= GRID_ROWS + 1.0 ? GRID_ROWS : (int)u;
    *r = v >= GRID_ROWS + 1.0 ? GRID_ROWS : (int)v;
    return 1;
}

// ---- Shapes ----

void mark_line(int r0, int c0, int r1, int c1, unsigned char *mask)
{
    int dr = abs(r1 - r0), dc = abs(c1 - c0);
    int sr = r0 < r1 ? 1 : -1, sc = c0 < c1 ? 1 : -1;
    int err = dc - dr;
    for (;;) {
        mask[grid_index(r0, c0)] = 1;
        if (r0 == r1 && c0 == c1)
            return;
        int e2 = 2 * err;
        if (e2 > -dr) {
            err -= dr;
            c0 += sc;
        }
        if (e2 < dc) {
            err += dc;
            r0 += sr;
        }
    }
}

void mark_rectangle(int r0, int c0, int r1, int c1, int filled, unsigned char *mask)
{
    int top = r0 < r1 ? r0 : r1, bottom = r0 < r1 ? r1 : r0;
    int left = c0 < c1 ? c0 : c1, right = c0 < c1 ? c1 : c0;
    for (int r = top; r <= bottom; r++)
        for (int c = left; c <= right; c++)
            if (filled || r == top || r == bottom || c == left || c == right)
                mask[grid_index(r, c)] = 1;
}

// Clips the segment to the grid's rectangle (Liang-Barsky); 0 when it misses.
static int clip_to_grid(double *u0, double *v0, double *u1, double *v1)
{
    const double lo = 1.0, hi = GRID_ROWS + 1.0;
    double t0 = 0, t1 = 1, du = *u1 - *u0, dv = *v1 - *v0;
    const double p[4] = {-du, du, -dv, dv};
    const double q[4] = {*u0 - lo, hi - *u0, *v0 - lo, hi - *v0};
    for (int k = 0; k < 4; k++) {
        if (p[k] == 0) {
            if (q[k] < 0)
                return 0;
            continue;
        }
        double t = q[k] / p[k];
        if (p[k] < 0 && t > t0)
            t0 = t;
        if (p[k] > 0 && t < t1)
            t1 = t;
    }
    if (t0 > t1)
        return 0;
    double a = *u0, b = *v0;
    *u0 = a + t0 * du, *v0 = b + t0 * dv;
    *u1 = a + t1 * du, *v1 = b + t1 * dv;
    return 1;
}

// The cell of a continuous coordinate inside the grid (its far edge belongs to the last cell).
static int cell_of(double w)
{
    int n = (int)std::floor(w);
    return n < 1 ? 1 : n > GRID_ROWS ? GRID_ROWS : n;
}

int mark_stroke(float x0, float y0, float x1, float y1, unsigned char *mask)
{
    double u0 = column_at(x0), v0 = row_at(y0), u1 = column_at(x1), v1 = row_at(y1);
    if (!clip_to_grid(&u0, &v0, &u1, &v1))
        return 0;
    mark_line(cell_of(v0), cell_of(u0), cell_of(v1), cell_of(u1), mask);
    return 1;
}

// 1 when two cells hold the same thing for the fill: both empty, or bricks of
// the same texture, type and colour (the power-up layer matches the same way,
// so a fill there covers one shape of bricks).
static int same_brick(int a, int b)
{
    if (leveled[a] == 0 || leveled[b] == 0)
        return leveled[a] == leveled[b];
    return leveled[a] == leveled[b] && ed_bricktype[a] == ed_bricktype[b] && ed_rr[a] == ed_rr[b] &&
           ed_gg[a] == ed_gg[b] && ed_bb[a] == ed_bb[b];
}

int mark_fill(int r, int c, unsigned char *mask)
{
    if (r < 1 || r > GRID_ROWS || c < 1 || c > GRID_ROWS)
        return 0;
    // An explicit stack of cells to visit: at most every cell once.
    static int todo[GRID_CELLS];
    static unsigned char seen[GRID_CELLS];
    memset(seen, 0, sizeof seen);
    int seed = grid_index(r, c), n = 0, count = 0;
    todo[n++] = seed;
    seen[seed] = 1;
    while (n > 0) {
        int k = todo[--n];
        mask[k] = 1;
        count++;
        int kr = k / GRID_SIDE, kc = k % GRID_SIDE;
        const int next[4][2] = {{kr - 1, kc}, {kr + 1, kc}, {kr, kc - 1}, {kr, kc + 1}};
        for (const auto &p : next) {
            if (p[0] < 1 || p[0] > GRID_ROWS || p[1] < 1 || p[1] > GRID_ROWS)
                continue;
            int j = grid_index(p[0], p[1]);
            if (!seen[j] && same_brick(j, seed)) {
                seen[j] = 1;
                todo[n++] = j;
            }
        }
    }
    return count;
}

// ---- Laying the marked cells ----

void add_mirror(unsigned char *mask)
{
    for (int r = 1; r <= GRID_ROWS; r++)
        for (int c = 1; c <= GRID_ROWS / 2; c++) {
            int a = grid_index(r, c), b = grid_index(r, mirror_column(c, GRID_ROWS));
            mask[a] = mask[b] = mask[a] | mask[b];
        }
}

// The current brick (or, in the power-up layer, the current power-up) into a cell.
static void lay_cell(int k)
{
    if (pupedit) {
        ed_powerup[k] = curpup;
        return;
    }
    leveled[k] = texnumber;
    ed_rr[k] = curr;
    ed_gg[k] = curg;
    ed_bb[k] = curb;
    ed_bricktype[k] = curbrick;
}

// A cell erased: its brick (the power-up stays and shows again in the power-up
// layer), or in the power-up layer its power-up.
static void erase_cell(int k)
{
    if (pupedit) {
        ed_powerup[k] = 0;
        return;
    }
    empty_cell(editor_cells(), k, EDITOR_SHADE, BRICK_NORMAL);
}

void apply_mask(unsigned char *mask, int erase)
{
    if (mirror)
        add_mirror(mask);
    for (int r = 1; r <= GRID_ROWS; r++)
        for (int c = 1; c <= GRID_ROWS; c++) {
            int k = grid_index(r, c);
            if (!mask[k])
                continue;
            if (erase)
                erase_cell(k);
            else
                lay_cell(k);
        }
}

// ---- Gestures: a press, the drag and the release ----

static int gesture;               // the tool of the press being held; -1 when none
static int anchor_r, anchor_c;    // the cell pressed
static float last_x, last_y;      // the pointer at the last sample of a stroke, GUI units
static int gesture_erase;         // the right button: the gesture erases

// The pointer in GUI units, y upwards.
static float pointer_gui_y() { return -pointery; }

// The cell under the pointer, or the grid cell nearest to it.
static void nearest_cell(int *r, int *c)
{
    double u = column_at(pointerx), v = row_at(pointer_gui_y());
    *c = cell_of(u);
    *r = cell_of(v);
}

// 1 for the tools that make their shape at the release.
static int shape_tool(int t)
{
    return t == TOOL_LINE || t == TOOL_RECT || t == TOOL_BOX;
}

// The cells of the shape from the anchor to (r, c).
static void mark_shape(int t, int r, int c, unsigned char *mask)
{
    if (t == TOOL_LINE)
        mark_line(anchor_r, anchor_c, r, c, mask);
    else
        mark_rectangle(anchor_r, anchor_c, r, c, t == TOOL_BOX, mask);
}

int tool_press(int erase)
{
    int t = edtool == TOOL_BRUSH && keys[VK_SHIFT] ? TOOL_LINE : edtool;
    int on = selx >= 1 && selx <= GRID_ROWS && sely >= 1 && sely <= GRID_ROWS;
    static unsigned char mask[GRID_CELLS];
    memset(mask, 0, sizeof mask);
    gesture = -1;
    if (t == TOOL_FILL) {
        if (mark_fill(selx, sely, mask))
            apply_mask(mask, erase);
        return 0;
    }
    if (shape_tool(t) && !on)
        return 0;
    gesture = t;
    gesture_erase = erase;
    anchor_r = selx;
    anchor_c = sely;
    last_x = pointerx;
    last_y = pointer_gui_y();
    if (t == TOOL_BRUSH && on) {
        mask[grid_index(selx, sely)] = 1;
        apply_mask(mask, erase);
    }
    return 1;
}

void tool_drag()
{
    if (gesture != TOOL_BRUSH)
        return;
    static unsigned char mask[GRID_CELLS];
    memset(mask, 0, sizeof mask);
    float x = pointerx, y = pointer_gui_y();
    if (mark_stroke(last_x, last_y, x, y, mask))
        apply_mask(mask, gesture_erase);
    last_x = x;
    last_y = y;
}

void tool_release(int erase)
{
    if (gesture < 0 || gesture_erase != erase)
        return;
    if (shape_tool(gesture)) {
        static unsigned char mask[GRID_CELLS];
        memset(mask, 0, sizeof mask);
        int r, c;
        nearest_cell(&r, &c);
        mark_shape(gesture, r, c, mask);
        apply_mask(mask, erase);
    }
    gesture = -1;
}

void tool_cancel()
{
    gesture = -1;
}

int tool_preview(unsigned char *mask)
{
    memset(mask, 0, GRID_CELLS);
    int erase = 0;
    if (gesture >= 0 && shape_tool(gesture)) {
        int r, c;
        nearest_cell(&r, &c);
        mark_shape(gesture, r, c, mask);
        erase = gesture_erase;
    } else if (selx >= 1 && selx <= GRID_ROWS && sely >= 1 && sely <= GRID_ROWS) {
        if (edtool == TOOL_FILL && gesture < 0)
            mark_fill(selx, sely, mask);
        else
            mask[grid_index(selx, sely)] = 1;
        erase = gesture >= 0 && gesture_erase;
    }
    if (mirror)
        add_mirror(mask);
    return erase;
}
