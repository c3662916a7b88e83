// Brick debris: a broken brick falls apart into eight textured pieces that
// drift sideways, fall ever faster and fade out.

#include <GL/gl.h>

#include <algorithm>

#include "ball.h"
#include "physics.h"

#include "graphics/graphics.h"
#include "rules/rules.h"
#include "shell/shell.h"

constexpr float PIECE_W = 0.06f;          // a piece's width and height
constexpr float DRIFT = 0.002f;           // sideways step of a piece per frame
constexpr float FALL_GAIN = 1.2f;         // fall speed grows by this factor a frame
constexpr float FALL_LIMIT = 0.07f;       // fastest fall per frame
constexpr int FULL_LIFE = 63;             // frames of debris at full frame rate

// Starting fall speed of each piece: they start almost still.
static const float start_fall[DEBRIS_PIECES] = {0.0001f, 0.00002f, 0.0001f, 0.00005f,
                                                0.0002f, 0.00003f, 0.0001f, 0.00006f};

debris_record particle[DEBRIS_RECORDS + 1];

// Pieces 0..3 are the top row, 4..7 the bottom row, left to right.
void broken(int row, int col, int tex, int r, int g, int bl)
{
    if (row < 1 || row > GRID_ROWS || col < 1 || col > GRID_ROWS)
        return;
    debris_record &d = particle[(col - 1) * GRID_ROWS + row];
    float right = cell_right(col);
    float bottom = cell_bottom(row);
    float left = right - CELL_W + FIELD_SHIFT;
    for (int p = 0; p < DEBRIS_PIECES; p++) {
        int across = p % 4;
        d.left[p] = left + across * PIECE_W;
        d.right[p] = across == 3 ? right + FIELD_SHIFT : d.left[p] + PIECE_W;
        if (p < 4) {
            d.top[p] = bottom + CELL_H;
            d.bottom[p] = bottom + PIECE_W;
        } else {
            d.top[p] = bottom + PIECE_W;
            d.bottom[p] = bottom;
        }
        d.z[p] = FIELD_Z;
        d.fall[p] = start_fall[p];
        d.direction[p] = crt_rand() % 2 ? 1 : -1;
    }
    d.look = tex;
    d.red = r;
    d.green = g;
    d.blue = bl;
    d.life = fps > 60 ? FULL_LIFE : (int)fps;
}

// The eight pieces, each cut from its own eighth of the brick image.
static void draw_pieces(const debris_record &d)
{
    glBegin(GL_QUADS);
    for (int p = 0; p < DEBRIS_PIECES; p++) {
        float s0 = (p % 4) / 4.0f, s1 = (p % 4 + 1) / 4.0f;
        float t0 = p < 4 ? 0.0f : 0.5f, t1 = t0 + 0.5f;
        glTexCoord2f(s0, t0);
        glVertex3f(d.left[p], d.top[p], d.z[p]);
        glTexCoord2f(s1, t0);
        glVertex3f(d.right[p], d.top[p], d.z[p]);
        glTexCoord2f(s1, t1);
        glVertex3f(d.right[p], d.bottom[p], d.z[p]);
        glTexCoord2f(s0, t1);
        glVertex3f(d.left[p], d.bottom[p], d.z[p]);
    }
    glEnd();
}

// Each piece drifts sideways and falls faster, up to the limit.
static void move_pieces(debris_record &d)
{
    for (int p = 0; p < DEBRIS_PIECES; p++) {
        d.fall[p] *= FALL_GAIN;
        if (d.fall[p] > FALL_LIMIT)
            d.fall[p] = FALL_LIMIT;
        d.left[p] += d.direction[p] * DRIFT;
        d.right[p] += d.direction[p] * DRIFT;
        d.top[p] -= d.fall[p];
        d.bottom[p] -= d.fall[p];
    }
}

void step_debris()
{
    if (!psystem || classic || game_pause)
        return;
    for (int n = 1; n <= DEBRIS_RECORDS; n++) {
        debris_record &d = particle[n];
        if (d.life <= 0)
            continue;
        d.life--;
        move_pieces(d);
    }
}

void debris_box(int n, int box[4])
{
    const debris_record &d = particle[n];
    float x0 = d.left[0], x1 = d.right[0], y0 = d.bottom[0], y1 = d.top[0];
    for (int p = 1; p < DEBRIS_PIECES; p++) {
        x0 = std::min(x0, std::min(d.left[p], d.right[p]));
        x1 = std::max(x1, std::max(d.left[p], d.right[p]));
        y0 = std::min(y0, std::min(d.bottom[p], d.top[p]));
        y1 = std::max(y1, std::max(d.bottom[p], d.top[p]));
    }
    // The pieces are drawn without the field's shift: theirs is in their x.
    field_box(x0 - FIELD_SHIFT, y0, x1 - FIELD_SHIFT, y1, box);
}

void draw_particles()
{
    if (!psystem)
        return;
    glEnable(GL_TEXTURE_2D);
    glLoadIdentity();
    glEnable(GL_BLEND);
    for (int n = 1; n <= DEBRIS_RECORDS; n++) {
        const debris_record &d = particle[n];
        if (d.life <= 0)
            continue;
        if (pass_boxed) {
            int box[4];
            debris_box(n, box);
            if (!boxes_meet(box, pass_box))
                continue;
        }
        // A texture number beyond the table (a damaged level) draws untextured.
        bool known = d.look >= 1 && d.look <= MAX_SET_TEXTURES;
        glBindTexture(GL_TEXTURE_2D, known ? etexname[d.look] : 0);
        glColor4b((GLbyte)d.red, (GLbyte)d.green, (GLbyte)d.blue, (GLbyte)(2 * d.life));
        draw_pieces(d);
    }
    glDisable(GL_BLEND);
}
