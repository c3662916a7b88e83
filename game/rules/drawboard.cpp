// Board drawing: fire bricks, textured bricks and their drop shadows, then the
// per-frame duties that live with the board (power-ups, the explosion clock),
// which play runs apart from the drawing.

#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>

#include "graphics/graphics.h"
#include "menus/menus.h"
#include "physics/physics.h"
#include "rules.h"
#include "shell/shell.h"

constexpr int FIRE_TEXTURE = 4;          // slot of the fire image in textures
constexpr float FIRE_SCROLL = 0.005f;    // fire texture offset gained per frame
constexpr float FIRE_SHOWN = 0.5f;       // part of the fire image's height shown at once
constexpr float CLASSIC_INSET = 0.005f;  // classic bricks leave this gap on every side
constexpr float SHADOW_OFFSET = 0.04f;   // shadows fall this far right and down
constexpr float SHADOW_Z = -5.1f;        // shadows lie just behind the bricks
constexpr float SHADOW_ALPHA = 0.3f;
constexpr int EXPLOSION_PERIOD = 4;      // frames between explosion waves

float firey = 0.001f;
int now;

// Top-left corner of cell (r, c) in the board frame.
static float cell_x(int c) { return WALL_LEFT + CELL_W * (c - 1); }
static float cell_y(int r) { return CEILING - CELL_H * (r - 1); }

// A quad at depth z with its top-left corner at (x, y), w wide and h high.
static void plain_quad(float x, float y, float w, float h, float z)
{
    glBegin(GL_QUADS);
    glVertex3f(x, y, z);
    glVertex3f(x + w, y, z);
    glVertex3f(x + w, y - h, z);
    glVertex3f(x, y - h, z);
    glEnd();
}

// Cell k's exploding brick in its colour, the fire image scrolled to firey.
static void fire_quad(int k)
{
    int r = k / GRID_SIDE, c = k % GRID_SIDE;
    float x = cell_x(c), y = cell_y(r);
    glColor3b((GLbyte)rr[k], (GLbyte)gg[k], (GLbyte)bb[k]);
    glBegin(GL_QUADS);
    glTexCoord2f(0, firey);
    glVertex3f(x, y, FIELD_Z);
    glTexCoord2f(1, firey);
    glVertex3f(x + CELL_W, y, FIELD_Z);
    glTexCoord2f(1, firey + FIRE_SHOWN);
    glVertex3f(x + CELL_W, y - CELL_H, FIELD_Z);
    glTexCoord2f(0, firey + FIRE_SHOWN);
    glVertex3f(x, y - CELL_H, FIELD_Z);
    glEnd();
}

// 1 when cell (r, c) may touch the pass's box; its shadow, with shadow 1.
static bool cell_in_pass(int r, int c, int shadow)
{
    float shift = shadow ? SHADOW_OFFSET : 0.0f, x = cell_x(c) + shift, y = cell_y(r) - shift;
    return field_rect_in_pass(x, y - CELL_H, x + CELL_W, y, shadow ? SHADOW_Z : FIELD_Z);
}

// Pass 1: exploding bricks with the fire image scrolling through them.
static void draw_fire_bricks()
{
    glBindTexture(GL_TEXTURE_2D, textures[FIRE_TEXTURE]);
    for (int r = 1; r <= GRID_ROWS; r++)
        for (int c = 1; c <= GRID_ROWS; c++) {
            int k = grid_index(r, c);
            if (bricktype[k] != BRICK_EXPLODING || !cell_in_pass(r, c, 0))
                continue;
            fire_quad(k);
        }
}

// A colour component as the loaders leave it, 0..128, whatever the cell holds.
static int component(int32_t v)
{
    return v < 0 ? 0 : v > 128 ? 128 : v;
}

// The brick's colour: multi-hit bricks are darker. Blue is subtracted after
// its absolute value is taken, so a low blue goes negative and draws as none.
static void brick_colour(int k)
{
    int red = component(rr[k]), green = component(gg[k]), blue = component(bb[k]);
    int dark = bricktype[k] == BRICK_TWO_HIT ? 25 : bricktype[k] == BRICK_THREE_HIT ? 50 : 0;
    if (dark) {
        red = abs(red - dark);
        green = abs(green - dark);
        blue = abs(blue) - dark;
    }
    glColor3b((GLbyte)red, (GLbyte)green, (GLbyte)blue);
}

// Pass 2: every visible brick but the exploding ones, textured (or flat in
// classic). With the shortcuts on they go by texture, so each texture is bound
// once and its bricks reach the GL as one draw; bricks never overlap, so the
// order changes no pixel.
static void draw_bricks()
{
    static int order[GRID_CELLS];
    static GLuint name_of[GRID_CELLS];
    int count = 0;
    for (int r = 1; r <= GRID_ROWS; r++)
        for (int c = 1; c <= GRID_ROWS; c++) {
            int k = grid_index(r, c);
            if (board[k] == 0 || bricktype[k] == BRICK_EXPLODING ||
                bricktype[k] == BRICK_INVISIBLE || !cell_in_pass(r, c, 0))
                continue;
            // A texture number beyond the table (a damaged level) draws untextured.
            bool known = board[k] >= 1 && board[k] <= MAX_SET_TEXTURES;
            name_of[k] = known ? etexname[board[k]] : 0;
            order[count++] = k;
        }
    if (scene_shortcuts)
        std::stable_sort(order, order + count, [](int a, int b) { return name_of[a] < name_of[b]; });
    for (int n = 0; n < count; n++) {
        int k = order[n], r = k / GRID_SIDE, c = k % GRID_SIDE;
        if (n == 0 || name_of[k] != name_of[order[n - 1]])
            glBindTexture(GL_TEXTURE_2D, name_of[k]);
        brick_colour(k);
        float x = cell_x(c), y = cell_y(r);
        if (classic) {
            plain_quad(x + CLASSIC_INSET, y - CLASSIC_INSET, CELL_W - 2 * CLASSIC_INSET,
                       CELL_H - 2 * CLASSIC_INSET, FIELD_Z);
            continue;
        }
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0);
        glVertex3f(x, y, FIELD_Z);
        glTexCoord2f(1, 0);
        glVertex3f(x + CELL_W, y, FIELD_Z);
        glTexCoord2f(1, 1);
        glVertex3f(x + CELL_W, y - CELL_H, FIELD_Z);
        glTexCoord2f(0, 1);
        glVertex3f(x, y - CELL_H, FIELD_Z);
        glEnd();
    }
}

// Pass 3: a translucent black shadow behind every visible brick, fire bricks included.
static void draw_shadows()
{
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glColor4f(0.0f, 0.0f, 0.0f, SHADOW_ALPHA);
    for (int r = 1; r <= GRID_ROWS; r++)
        for (int c = 1; c <= GRID_ROWS; c++) {
            int k = grid_index(r, c);
            if (board[k] == 0 || bricktype[k] == BRICK_INVISIBLE || !cell_in_pass(r, c, 1))
                continue;
            plain_quad(cell_x(c) + SHADOW_OFFSET, cell_y(r) - SHADOW_OFFSET, CELL_W, CELL_H,
                       SHADOW_Z);
        }
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
}

// Falling power-ups vanish while the ball waits on the paddle or the game is over.
static void clear_falling_powerups()
{
    for (int s = 1; s <= 6; s++)
        pup[s] = 0;
}

// The board's share of a frame of play: power-ups fall, explosions advance
// every fourth frame, and the paddle may catch a power-up.
void board_duties()
{
    if (!gameover && !ball_start)
        update_powerups();
    if (gameover || ball_start)
        clear_falling_powerups();
    if (++now >= EXPLOSION_PERIOD) {
        boom_cycle();
        now = 0;
    }
    if (gameover || ball_start)
        return;
    powerup_check();
}

void draw_board_still()
{
    shaken_field_frame();
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);

    if (!classic)
        draw_fire_bricks();
    // The classic look is flat: a brick shows exactly its colour.
    if (classic)
        glDisable(GL_TEXTURE_2D);
    draw_bricks();
    glEnable(GL_TEXTURE_2D);
    if (!classic)
        draw_shadows();
    draw_powerups();
}

void scroll_fire()
{
    firey += FIRE_SCROLL;
}

void draw_board()
{
    draw_board_still();
    scroll_fire();
}

void fire_box(int k, int box[4])
{
    int r = k / GRID_SIDE, c = k % GRID_SIDE;
    field_box(cell_x(c), cell_y(r) - CELL_H, cell_x(c) + CELL_W, cell_y(r), box);
}

void cell_box(int k, int box[4])
{
    int r = k / GRID_SIDE, c = k % GRID_SIDE, shadow[4];
    fire_box(k, box);
    field_box(cell_x(c) + SHADOW_OFFSET, cell_y(r) - SHADOW_OFFSET - CELL_H, cell_x(c) + SHADOW_OFFSET + CELL_W,
              cell_y(r) - SHADOW_OFFSET, shadow, SHADOW_Z);
    box[0] = std::min(box[0], shadow[0]), box[1] = std::min(box[1], shadow[1]);
    box[2] = std::max(box[2], shadow[2]), box[3] = std::max(box[3], shadow[3]);
}

void redraw_fire(const int *cells, int count)
{
    if (classic || count == 0)
        return;
    field_frame();
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);   // the quads cover their cells, whatever lay there
    glDisable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, textures[FIRE_TEXTURE]);
    for (int n = 0; n < count; n++)
        fire_quad(cells[n]);
    glEnable(GL_DEPTH_TEST);
}
