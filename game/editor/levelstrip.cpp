// The strip of level thumbnails: every level of the editor's work drawn small
// over the canvas, the edited one framed; a click opens a level after saving
// the edited one, as Next level does.

#include <GL/gl.h>

#include <cstring>

#include "editor.h"
#include "field.h"
#include "graphics/graphics.h"
#include "menus/menus.h"
#include "rules/rules.h"

int level_strip;
int level_files_changed;

// ---- Layout: five columns of five over the canvas ----

static const int STRIP_COLUMNS = 5;
static const float STRIP_LEFT = 0.5f, STRIP_TOP = 2.0f;
static const float SLOT_W = 1.0f, SLOT_H = 0.48f;           // one level's place
static const float THUMB_X = 0.08f, THUMB_TOP = 0.04f;      // the thumbnail's corner in its place
static const float THUMB_W = 0.84f, THUMB_H = 0.36f;        // 20 cells of 0.25 by 0.12, scaled
static const float Z_STRIP = -5.0f;

// Levels in the strip: the files, and a new level past them while it is edited.
static int strip_levels()
{
    int n = edlevel > curlevel ? edlevel : curlevel;
    return n > maxlevels ? maxlevels : n;
}

void strip_slot(int n, float *x1, float *y1, float *x2, float *y2)
{
    int k = n - 1;
    *x1 = STRIP_LEFT + SLOT_W * (k % STRIP_COLUMNS) + THUMB_X;
    *y1 = STRIP_TOP - SLOT_H * (k / STRIP_COLUMNS) - THUMB_TOP;
    *x2 = *x1 + THUMB_W;
    *y2 = *y1 - THUMB_H;
}

int strip_level_at(float x, float y)
{
    float x1, y1, x2, y2;
    for (int n = 1; n <= strip_levels(); n++) {
        strip_slot(n, &x1, &y1, &x2, &y2);
        if (x >= x1 && x <= x2 && y <= y1 && y >= y2)
            return n;
    }
    return 0;
}

// ---- The thumbnails' levels, read again when a level file changed ----

static level_file_record thumbs[MAX_EDITOR_LEVELS + 1];
static int thumbs_read = -1;   // level_files_changed when they were read

// Level n as the strip shows it: the editor board for the edited level (with
// its unsaved changes), else its file (an unreadable one empty).
static const level_file_record &strip_level(int n)
{
    static level_file_record board_now;
    int32_t *const grids[LEVEL_BLOCKS] = {leveled, ed_rr, ed_gg, ed_bb, ed_bricktype, ed_powerup};
    if (n == edlevel) {
        for (int b = 0; b < LEVEL_BLOCKS; b++)
            memcpy(board_now.block[b].cells, grids[b], sizeof(grid_record));
        return board_now;
    }
    if (thumbs_read != level_files_changed) {
        for (int k = 1; k <= MAX_EDITOR_LEVELS; k++)
            if (!read_editor_level(k, &thumbs[k]))
                memset(&thumbs[k], 0, sizeof thumbs[k]);
        thumbs_read = level_files_changed;
    }
    return thumbs[n];
}

// ---- Drawing and pressing ----

void draw_level_strip()
{
    gui_frame();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    float x1, y1, x2, y2;
    for (int n = 1; n <= strip_levels(); n++) {
        strip_slot(n, &x1, &y1, &x2, &y2);
        draw_thumbnail(strip_level(n), x1, y1, x2, y2, Z_STRIP);
        int lit = n == edlevel || pointer_over(x1, y1, x2, y2);
        glColor4f(lit ? 1.0f : 0.5f, lit ? 0.85f : 0.5f, lit ? 0.2f : 0.5f, 1.0f);
        glLineWidth(n == edlevel ? 3.0f : 1.0f);
        glBegin(GL_LINE_LOOP);
        glVertex3f(x1, y1, Z_STRIP);
        glVertex3f(x2, y1, Z_STRIP);
        glVertex3f(x2, y2, Z_STRIP);
        glVertex3f(x1, y2, Z_STRIP);
        glEnd();
        glLineWidth(1.0f);
        glColor4f(1, 1, 1, 1);
        glLoadIdentity();
        glTranslatef((x1 + FIELD_SHIFT) * 10.0f, (y2 - 0.07f) * 10.0f, -10.0f);
        glsPrint("%d", n);
        gui_frame();
    }
    glEnable(GL_DEPTH_TEST);
}

int level_strip_press()
{
    if (!level_strip)
        return 0;
    int n = strip_level_at(pointerx, -pointery);
    if (n == 0)
        return 1;
    if (n != edlevel && !save_before_leaving())
        return 1;
    level_strip = 0;
    if (n != edlevel)
        editor_go_to_level(n);
    return 1;
}
