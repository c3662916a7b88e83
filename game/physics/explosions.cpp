// Explosions and the earthquake: the explosion waves with their chains, the
// earthquake's row drop and the screen shake.

#include "physics.h"
#include "ball.h"

#include "audio/audio.h"
#include "rules/powerups.h"
#include "rules/progress.h"
#include "rules/rules.h"
#include "shell/shell.h"

int in_flight;
int ball_start = 1;

int quake;

int shake;
int qcount;
float qfx, qfy;

// Above, below, left and right of a cell.
static const int neighbour[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};

static bool in_grid(int row, int col)
{
    return row >= 1 && row <= GRID_ROWS && col >= 1 && col <= GRID_ROWS;
}

void mark_neighbours(int32_t *mark, int row, int col)
{
    for (const auto &n : neighbour)
        if (in_grid(row + n[0], col + n[1]))
            mark[grid_index(row + n[0], col + n[1])] = 1;
}

void blowup(int row, int col)
{
    if (!in_grid(row, col))
        return;
    explosion[grid_index(row, col)] = 0;
    mark_neighbours(explosion, row, col);
}

void blowup_temp(int row, int col)
{
    if (in_grid(row, col))
        mark_neighbours(btemp, row, col);
}

// A blast's award for a brick of the type, at the current difficulty and level.
static int blast_award(int type)
{
    return level_award(BRICK_TYPE_TABLE[type].blast_award);
}

// One marked cell goes off: a brick that cannot take another hit breaks, the
// others lose a level, and an exploding brick passes the blast on.
static void explode_cell(int i, int j)
{
    int k = grid_index(i, j);
    // The cell's sounds are placed a cell to the right of it and half a cell below.
    float x = cell_right(j) + CELL_W;
    float y = cell_bottom(i) - CELL_H / 2;
    int type = bricktype[k];
    // A brick a single hit breaks is broken; the others take one hit below.
    if (type < 1 || type > BRICK_TYPES || BRICK_TYPE_TABLE[type].hits == 1) {
        powerups(i, j, 0);                  // freed by a blast, it falls straight down
        broken(i, j, board[k], rr[k], gg[k], bb[k]);
        board[k] = 0;
    }
    explosion[k] = 0;
    // Each test sees the type as the one before left it.
    if (bricktype[k] == BRICK_NORMAL) {
        add_score(blast_award(BRICK_NORMAL));
        if (!last_block)
            play_boom(x, y);
    }
    if (bricktype[k] == BRICK_TWO_HIT) {
        bricktype[k] = BRICK_NORMAL;
        add_score(blast_award(BRICK_TWO_HIT));
        play_ping(x, y);
    }
    if (bricktype[k] == BRICK_THREE_HIT) {
        bricktype[k] = BRICK_TWO_HIT;
        add_score(blast_award(BRICK_THREE_HIT));
        play_ping(x, y);
    }
    if (bricktype[k] == BRICK_INVISIBLE) {
        bricktype[k] = BRICK_NORMAL;
        add_score(blast_award(BRICK_INVISIBLE));
        play_glass(x, y);
    }
    if (bricktype[k] == BRICK_EXPLODING) {
        blowup_temp(i, j);
        add_score(blast_award(BRICK_EXPLODING));
        bricktype[k] = BRICK_NORMAL;
        play_boom(x, y);
    }
}

// The marked cells go off, then the blast marks of btemp become the marks of
// the next wave. btemp stays, so a multi-hit brick in a blast is struck every wave.
void boom_cycle()
{
    for (int i = 1; i <= GRID_ROWS; i++)
        for (int j = 1; j <= GRID_ROWS; j++) {
            int k = grid_index(i, j);
            if (explosion[k] == 1 && board[k] > 0)
                explode_cell(i, j);
        }
    for (int i = 1; i <= GRID_ROWS; i++)
        for (int j = 1; j <= GRID_ROWS; j++) {
            int k = grid_index(i, j);
            if (explosion[k] == 1 && btemp[k] == 0)
                explosion[k] = 0;
            if (explosion[k] < 1 && btemp[k] > 0)
                explosion[k] = btemp[k];
        }
}

// Moves the brick of cell k into the free cell d below it.
static void drop_brick(int k, int d)
{
    board[d] = board[k];
    bricktype[d] = bricktype[k];
    board[k] = 0;
    bricktype[k] = 0;
    rr[d] = rr[k];
    gg[d] = gg[k];
    bb[d] = bb[k];
    powerup[d] = powerup[k];
    explosion[d] = 0;
    btemp[d] = 0;
    if (block_timer) {                      // the last brick's row follows it down
        btimeri++;
        if (btimeri > GRID_ROWS)
            btimeri = GRID_ROWS;
    }
}

// Working upwards from row 19, so every brick falls at most one row a drop.
void equake()
{
    if (quake_frame != 1)
        return;
    for (int i = GRID_ROWS - 1; i >= 1; i--)
        for (int j = 1; j <= GRID_ROWS; j++) {
            int k = grid_index(i, j), d = grid_index(i + 1, j);
            if (board[k] != 0 && board[d] == 0)
                drop_brick(k, d);
        }
    quake_frame = 0;
}

// Shake offsets of frames 1..4 of a shake; frame 5 ends it.
static const float shake_offset[4][2] = {{-0.05f, 0.0f}, {0.05f, 0.0f}, {0.0f, 0.05f}, {0.0f, -0.05f}};

// Moves the scene through the four frames of a shake, then settles it.
void shake_step()
{
    if (shake != 1)
        return;
    qcount++;
    if (qcount >= 1 && qcount <= 4) {
        qfx = shake_offset[qcount - 1][0];
        qfy = shake_offset[qcount - 1][1];
        return;
    }
    qfx = qfy = 0.0f;
    qcount = 0;
    shake = 0;
}
