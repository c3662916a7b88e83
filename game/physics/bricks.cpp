// Brick collision: the sampled touch test with its quick rejection, the hit
// rules and awards of the five brick types, the brick bounce, the exhaustive
// scan and the column lookup used below 60 frames per second.

#include "ball.h"
#include "physics.h"
#include "audio/audio.h"
#include "rules/powerups.h"
#include "rules/progress.h"
#include "rules/rules.h"
#include "shell/shell.h"

// ---- Constants ----
static const float BIG_BALL = 0.04f;         // a radius above this is a big ball
static const double MAX_XSPEED = 0.085;      // horizontal step limit after a brick bounce
static const int MAX_SAMPLES = 64;           // per axis; a ball of any playable size takes about 21
static const int CLASSIC_AWARD = 50;         // normal brick broken in classic mode, per level


// ---- Globals ----
int done_for_frame;
float bstartx = WALL_LEFT, bstarty = CEILING;
// Starts on a playable column, so the lookup never addresses column 0.
int foundx = 1;

// ---- The touch test ----

// Samples the square of half-side r around (nx, ny) in steps of r / 10, column
// by column; the first column with a sample inside the cell is a touch.
int sample_touches(float nx, float ny, float r, float x0, float y0)
{
    float step = r / 10;
    if (!(step > 0))
        return 0;
    int nxs = 0;
    for (float x = nx - r; x <= nx + r && nxs < MAX_SAMPLES; x += step, nxs++) {
        int inside = 0;
        int nys = 0;
        for (float y = ny - r; y <= ny + r && nys < MAX_SAMPLES; y += step, nys++)
            if (x0 <= x && x < x0 + CELL_WIDTH && y0 - CELL_HEIGHT < y && y <= y0)
                inside = 1;
        if (inside)
            return 1;
    }
    return 0;
}

// The samples run from nx - r up to at most nx + r (and likewise on y), so a
// cell lying wholly beyond that box cannot hold one of them.
int ball_touches_cell(float nx, float ny, float r, float x0, float y0)
{
    if (nx + r < x0 || nx - r >= x0 + CELL_WIDTH)
        return 0;
    if (ny + r <= y0 - CELL_HEIGHT || ny - r > y0)
        return 0;
    return sample_touches(nx, ny, r, x0, y0);
}

// ---- Hits and awards ----

// A ball's hit on a brick of the type: its award for the current difficulty, times the level.
static int award(int type)
{
    return level_award(BRICK_TYPE_TABLE[type].hit_award);
}

// Debris of the cell's brick, in its look and colour.
static void debris(int row, int col)
{
    int cell = grid_index(row, col);
    broken(row, col, board[cell], rr[cell], gg[cell], bb[cell]);
}

// Releases the cell's power-up, drifting against the ball's horizontal motion.
static void release(int row, int col)
{
    powerups(row, col, (int)xdirection[b]);
}

// What a touch does to the brick, by its type; each rule sees the type as the
// rules before it left it. (nx, ny) is where the ball will be, for the sounds.
static void brick_hit(int row, int col, float nx, float ny)
{
    int cell = grid_index(row, col);
    int big = ballsize > BIG_BALL;
    if (bricktype[cell] == BRICK_NORMAL) {
        debris(row, col);
        board[cell] = 0;
        add_score(classic ? CLASSIC_AWARD * level : award(BRICK_NORMAL));
        release(row, col);
        if (!last_block)
            play_hit(nx, ny);
    }
    if (bricktype[cell] == BRICK_INVISIBLE) {
        bricktype[cell] = BRICK_NORMAL;
        add_score(award(BRICK_INVISIBLE));
        debris(row, col);
        play_glass(nx, ny);
    }
    if (bricktype[cell] == BRICK_EXPLODING || exploding) {
        release(row, col);
        board[cell] = 0;
        blowup(row, col);
        bricktype[cell] = 0;
        add_score(award(BRICK_EXPLODING));
        play_boom(nx, ny);
    }
    if (bricktype[cell] == BRICK_TWO_HIT && through == 0) {
        if (big) {
            // Broken at once for two awards; the type stays behind in the empty cell.
            debris(row, col);
            board[cell] = 0;
            add_score(award(BRICK_TWO_HIT));
            release(row, col);
            add_score(award(BRICK_TWO_HIT));
        } else {
            bricktype[cell] = BRICK_NORMAL;
            add_score(award(BRICK_TWO_HIT));
        }
        play_ping(nx, ny);
    }
    if (bricktype[cell] == BRICK_TWO_HIT && through) {
        debris(row, col);
        board[cell] = 0;
        bricktype[cell] = 0;
        add_score(award(BRICK_TWO_HIT));
        release(row, col);
        play_ping(nx, ny);
    }
    if (bricktype[cell] == BRICK_THREE_HIT) {
        bricktype[cell] = big ? BRICK_NORMAL : BRICK_TWO_HIT;
        add_score(award(BRICK_THREE_HIT));
        play_ping(nx, ny);
    }
}

// Tests ball b against the cell at (bstartx, bstarty) one step ahead, and
// applies the hit when it touches.
int ccheck(int row, int col)
{
    float r = classic ? ballsize : ballsize * 0.95;
    if (in_flight == 0 || balls[b] == 0)
        return 0;
    if (row < 1 || row > GRID_ROWS || col < 1 || col > GRID_ROWS)
        return 0;
    float nx = xpos[b] + xspeed[b] * xdirection[b];
    float ny = ypos[b] + yspeed[b] * ydirection[b];
    if (!ball_touches_cell(nx, ny, r, bstartx, bstarty))
        return 0;
    brick_hit(row, col, nx, ny);
    return 1;
}

// ---- The bounce ----

// Turns ball b off the cell whose left edge is bstartx and top edge bstarty,
// by the face it meets; only the first brick of a frame turns it.
void find_direction()
{
    float X = bstartx, Y = bstarty;
    float x0 = xpos[b], y0 = ypos[b], r = ballsize;
    float nx = x0 + xspeed[b] * xdirection[b];
    float ny = y0 + yspeed[b] * ydirection[b];
    float dx0 = xdirection[b], dy0 = ydirection[b];
    if (!done_for_frame) {
        int side = 0;
        if (X <= nx && x0 < X + CELL_WIDTH && ny <= Y + CELL_HEIGHT && Y < y0 + r) {
            ydirection[b] = -ydirection[b];
            side = 1;
        }
        if (!side && X <= nx && x0 < X + CELL_WIDTH && ny <= Y - CELL_HEIGHT && Y - 2 * CELL_HEIGHT < y0 + r) {
            ydirection[b] = -ydirection[b];
            side = 1;
        }
        if (!side && X - CELL_WIDTH <= nx && x0 < X && ny <= Y && Y - CELL_HEIGHT < y0 + r) {
            xdirection[b] = -xdirection[b];
            side = 1;
        }
        if (!side && X + CELL_WIDTH <= nx && x0 < X + 2 * CELL_WIDTH && ny <= Y && Y - CELL_HEIGHT < y0 + r) {
            xdirection[b] = -xdirection[b];
            side = 1;
        }
        if (side) {
            done_for_frame = 1;
        } else {
            xdirection[b] = -xdirection[b];
            ydirection[b] = -ydirection[b];
        }
        // Turned on both axes: it leaves on the y axis only.
        if (xdirection[b] != dx0 && ydirection[b] != dy0)
            xdirection[b] = -xdirection[b];
    }
    if (xspeed[b] > MAX_XSPEED)
        xspeed[b] = MAX_XSPEED;
}

// ---- The two searches ----

// Every occupied cell, row by row from the top; every one touched takes its
// hit, so one frame may hit several bricks.
void brick_scan()
{
    bstartx = WALL_LEFT;
    for (int row = 1; row <= GRID_ROWS; row++) {
        for (int col = 1; col <= GRID_ROWS; col++) {
            if (board[grid_index(row, col)] != 0 && ccheck(row, col) && through == 0)
                find_direction();
            bstartx += CELL_W;
        }
        bstartx = WALL_LEFT;
        bstarty -= CELL_HEIGHT;
    }
}

// The column under ball b's centre (mode 1), left edge (2) or right edge (3),
// then that column's cells from the top. At a shared edge the higher column
// wins; off the grid the column found last is kept.
void findbrick(int mode)
{
    bstarty = CEILING;
    float x = xpos[b];
    if (mode == 2)
        x = xpos[b] - ballsize;
    else if (mode == 3)
        x = xpos[b] + ballsize;
    for (int k = 1; k <= GRID_ROWS; k++)
        if (cell_left(k) <= x && x <= cell_right(k))
            foundx = k;
    bstartx = cell_left(foundx);
    for (int row = 1; row <= GRID_ROWS; row++) {
        if (board[grid_index(row, foundx)] != 0 && ccheck(row, foundx) && through == 0)
            find_direction();
        bstarty -= CELL_HEIGHT;
    }
}
