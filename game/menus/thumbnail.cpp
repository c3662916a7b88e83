// A level drawn small: each brick of rows and columns 1..20 as a plain quad in
// its own colour on a dark ground, for the editor's level strip and the
// level-set browser.

#include <GL/gl.h>

#include "menus.h"

static const float GROUND = 0.08f;   // the grey of the ground and empty cells

void draw_thumbnail(const level_file_record &rec, float x1, float y1, float x2, float y2, float z)
{
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    glColor3f(GROUND, GROUND, GROUND);
    glVertex3f(x1, y1, z);
    glVertex3f(x2, y1, z);
    glVertex3f(x2, y2, z);
    glVertex3f(x1, y2, z);
    float w = (x2 - x1) / GRID_ROWS, h = (y1 - y2) / GRID_ROWS;
    for (int r = 1; r <= GRID_ROWS; r++)
        for (int c = 1; c <= GRID_ROWS; c++) {
            int k = grid_index(r, c);
            if (rec.block[LEVEL_TEXTURES].cells[k] == 0)
                continue;
            glColor3b((GLbyte)rec.block[LEVEL_RED].cells[k], (GLbyte)rec.block[LEVEL_GREEN].cells[k],
                      (GLbyte)rec.block[LEVEL_BLUE].cells[k]);
            float cx = x1 + w * (c - 1), cy = y1 - h * (r - 1);
            glVertex3f(cx, cy, z);
            glVertex3f(cx + w, cy, z);
            glVertex3f(cx + w, cy - h, z);
            glVertex3f(cx, cy - h, z);
        }
    glEnd();
    glColor4f(1, 1, 1, 1);
}
