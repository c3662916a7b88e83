// Power-ups: the falling icons, their release from broken bricks, the paddle's
// catch test and the effect of each of the seventeen kinds.

#include <GL/gl.h>

#include "powerups.h"
#include "progress.h"
#include "rules.h"

#include "audio/audio.h"
#include "graphics/graphics.h"
#include "physics/ball.h"
#include "physics/physics.h"
#include "shell/shell.h"

constexpr float PUP_LOST = -1.85f;    // an icon below this has been missed
constexpr int CATCH_AWARD[3] = {25, 50, 100};   // a caught power-up, at Easy, Normal and Hard

int pup[7];
float pupxposition[7], pupyposition[7];
float pupxdirection[7] = {-1, -1, -1, -1, -1, -1, -1};
float pupydirection[7] = {-1, -1, -1, -1, -1, -1, -1};
float pupspeed[7];
float gravity = 0.0003f;

void free_powerup(int slot)
{
    pup[slot] = 0;
    pupspeed[slot] = 0.0f;
    pupxposition[slot] = pupyposition[slot] = 0.0f;
    pupxdirection[slot] = pupydirection[slot] = -1.0f;
}

// The first free slot takes the power-up, at the cell's lower-left corner; with
// all three busy the cell keeps it. Values that are no kind stay in the cell.
void powerups(int row, int col, int d)
{
    if (row < 1 || row > GRID_ROWS || col < 1 || col > GRID_ROWS)
        return;
    int k = grid_index(row, col);
    if (powerup[k] < 1 || powerup[k] > maxpup)
        return;
    for (int s = 1; s <= PUP_SLOTS; s++) {
        if (pup[s] != 0)
            continue;
        pupydirection[s] = -1.0f;
        pup[s] = powerup[k];
        powerup[k] = 0;
        pupxposition[s] = cell_left(col);
        pupyposition[s] = cell_bottom(row);
        pupxdirection[s] = (float)-d;
        if (!last_block)
            pup_hit(pupxposition[s], pupyposition[s], (float)-d, -1.0f);
        return;
    }
}

// One icon as a white textured square at its place.
static void draw_powerup(int s)
{
    float x = pupxposition[s], y = pupyposition[s];
    field_frame();
    // A slot restored with no known kind draws untextured rather than past the table.
    bool known = pup[s] >= 1 && pup[s] <= maxpup;
    glBindTexture(GL_TEXTURE_2D, known ? puptextures[pup[s]] : 0);
    glDisable(GL_DEPTH_TEST);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(x, y, FIELD_Z);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(x + PUP_SIZE, y, FIELD_Z);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(x + PUP_SIZE, y + PUP_SIZE, FIELD_Z);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(x, y + PUP_SIZE, FIELD_Z);
    glEnd();
    glEnable(GL_DEPTH_TEST);
}

// Falls faster every frame, drifts sideways off the walls, vanishes below the paddle.
static void move_powerup(int s)
{
    pupspeed[s] += gravity;
    pupyposition[s] += pupydirection[s] * pupspeed[s];
    pupxposition[s] += 0.5f * pupxdirection[s] * pupspeed[s];
    if (pupxposition[s] + PUP_SIZE > WALL_RIGHT) {
        pupxdirection[s] = -pupxdirection[s];
        pupxposition[s] = WALL_RIGHT - PUP_SIZE;
        pup_bounce(pupxposition[s], pupyposition[s]);
    }
    if (pupxposition[s] < WALL_LEFT) {
        pupxdirection[s] = -pupxdirection[s];
        pupxposition[s] = WALL_LEFT;
        pup_bounce(pupxposition[s], pupyposition[s]);
    }
}

void update_powerups()
{
    if (game_pause)
        return;
    for (int s = 1; s <= PUP_SLOTS; s++) {
        if (pup[s] == 0)
            continue;
        move_powerup(s);
        if (pupyposition[s] < PUP_LOST)
            free_powerup(s);
    }
}

void draw_powerups()
{
    for (int s = 1; s <= PUP_SLOTS; s++)
        if (pup[s] != 0)
            draw_powerup(s);
}

// Caught when below the paddle's top with either edge strictly inside the paddle.
void powerup_check()
{
    for (int s = 1; s <= PUP_SLOTS; s++) {
        if (pup[s] == 0)
            continue;
        float x = pupxposition[s], y = pupyposition[s];
        float right = x + PUP_SIZE;
        bool left_in = paddlex < x && x < paddlex + paddle_size;
        bool right_in = paddlex < right && right < paddlex + paddle_size;
        if (y < PADDLE_TOP && (left_in || right_in)) {
            add_score(by_difficulty(CATCH_AWARD[0], CATCH_AWARD[1], CATCH_AWARD[2]));
            powerup_effect(pup[s], s);
            free_powerup(s);
        }
    }
}

// ---- Effects ----

// The ball power-ups that a bad catch takes away.
static void clear_ball_powers()
{
    glued = through = exploding = 0;
    unglue();
}

// Slot n becomes a copy of ball src, in play.
static void copy_ball(int n, int src)
{
    xspeed[n] = xspeed[src];
    yspeed[n] = yspeed[src];
    xdirection[n] = xdirection[src];
    ydirection[n] = ydirection[src];
    xpos[n] = xpos[src];
    ypos[n] = ypos[src];
    balls[n] = 1;
}

// Marks every exploding brick and its neighbours to go off at the next wave.
static void detonate()
{
    for (int i = 1; i <= GRID_ROWS; i++)
        for (int j = 1; j <= GRID_ROWS; j++)
            if (bricktype[grid_index(i, j)] == BRICK_EXPLODING) {
                explosion[grid_index(i, j)] = 1;
                mark_neighbours(explosion, i, j);
            }
}

// Every ball speed of every slot scaled by f.
static void scale_speeds(float f)
{
    for (int n = 1; n <= 16; n++) {
        xspeed[n] *= f;
        yspeed[n] *= f;
    }
}

// One ball becomes sixteen; several fill every free slot with the last of them.
static void ballsplosion()
{
    through = 0;
    int count = 0, last = 0;
    for (int n = 1; n <= 16; n++)
        if (balls[n] == 1) {
            count++;
            last = n;
        }
    if (count == 1) {
        // The lone ball is normally in slot 1; copy whichever slot holds it.
        for (int n = 1; n <= 16; n++) {
            if (n == last)
                continue;
            copy_ball(n, last);
            if (glued)
                glu[n] = glu[last];
        }
        return;
    }
    for (int n = 1; n <= 16 && last; n++)
        if (balls[n] == 0)
            copy_ball(n, last);
}

// Each invisible brick shows as a normal one, with debris and points.
static void show_invisible(float x, float y)
{
    for (int i = 1; i <= GRID_ROWS; i++)
        for (int j = 1; j <= GRID_ROWS; j++) {
            int k = grid_index(i, j);
            if (board[k] == 0 || bricktype[k] != BRICK_INVISIBLE)
                continue;
            bricktype[k] = BRICK_NORMAL;
            broken(i, j, board[k], rr[k], gg[k], bb[k]);
            play_glass(x, y);
            add_score(level_award(BRICK_TYPE_TABLE[BRICK_NORMAL].hit_award));   // as a normal brick broken
        }
}

// The top row fills with plain bricks of texture 1, in the colours the cells hold.
static void brick_wall()
{
    for (int j = 1; j <= GRID_ROWS; j++) {
        board[grid_index(1, j)] = 1;
        bricktype[grid_index(1, j)] = BRICK_NORMAL;
    }
}

void powerup_effect(int kind, int slot)
{
    if (slot < 1 || slot > 6)
        return;
    float x = pupxposition[slot], y = pupyposition[slot];
    switch (kind) {
    case PUP_DETONATE:
        detonate();
        play_good(x, y);
        break;
    case PUP_BIG_BALL:
        ballsize += 0.02f;
        if (ballsize > 0.06f)
            ballsize = 0.06f;
        play_good(x, y);
        break;
    case PUP_SMALL_BALL:
        ballsize -= 0.02f;
        if (ballsize < 0.02f)
            ballsize = 0.02f;
        clear_ball_powers();
        play_bad(x, y);
        break;
    case PUP_FAST_BALL:
        scale_speeds(1.1f);
        clear_ball_powers();
        play_bad(x, y);
        break;
    case PUP_SLOW_BALL:
        scale_speeds(0.9f);
        play_good(x, y);
        break;
    case PUP_NEXT_BOARD:
        for (int k = 0; k < GRID_CELLS; k++)
            board[k] = 0;
        break;
    case PUP_DEATH:
        glued = through = exploding = quake = 0;
        for (int n = 0; n <= 16; n++)
            balls[n] = 0;
        for (int s = 1; s <= 6; s++)
            free_powerup(s);
        play_bad(x, y);
        break;
    case PUP_BALLSPLOSION:
        ballsplosion();
        play_good(x, y);
        break;
    case PUP_BIG_PADDLE:
        if (paddle_size == PADDLE_NORMAL)
            paddle_size = PADDLE_LONG;
        else if (paddle_size == PADDLE_SHORT)
            paddle_size = PADDLE_NORMAL;
        play_good(x, y);
        break;
    case PUP_SMALL_PADDLE:
        if (paddle_size == PADDLE_NORMAL)
            paddle_size = PADDLE_SHORT;
        else if (paddle_size == PADDLE_LONG)
            paddle_size = PADDLE_NORMAL;
        clear_ball_powers();
        play_bad(x, y);
        break;
    case PUP_EXTRA_LIFE:
        gain_life();
        play_prize();
        break;
    case PUP_STICKY_PADDLE:
        if (!glued)
            unglue();
        glued = 1;
        play_good(x, y);
        break;
    case PUP_HEAVY_BALL:
        through = 1;
        play_good(x, y);
        break;
    case PUP_NUCLEAR_BALL:
        exploding = 1;
        through = 0;
        play_good(x, y);
        break;
    case PUP_SHOW_INVISIBLE:
        show_invisible(x, y);
        play_good(x, y);
        break;
    case PUP_BRICK_WALL:
        brick_wall();
        play_bad(x, y);
        break;
    case PUP_EARTHQUAKE:
        quake = 1;
        if (glued)
            unglue();
        glued = 0;
        play_bad(x, y);
        break;
    }
}
