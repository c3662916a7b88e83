// Helpers for the editor tests: pointer, frames, pixels, presses and keys.

#include "editor_view.h"

#include <GL/glu.h>

#include <cstring>

#include "editor/editor.h"
#include "menus/menus.h"
#include "rules/rules.h"
#include "shell/shell.h"

void solid_texture(GLuint &name, int r, int g, int b)
{
    if (!name)
        glGenTextures(1, &name);  // as the editor's brick textures get theirs when loaded
    unsigned char px[12];
    for (int i = 0; i < 12; i++)
        px[i] = (unsigned char)(i % 3 == 0 ? r : i % 3 == 1 ? g : b);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, px);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
}

float cell_x(int c) { return 0.5f + 0.25f * (c - 1) + 0.125f; }
float cell_y(int r) { return 2.0f - 0.12f * (r - 1) - 0.06f; }

void point_at(float gx, float gy)
{
    msensitivity = 8.0f;
    float k = pointer_scale() * msensitivity;
    mouseX = (int)((gx - 0.25f) / k + 0.5f);
    mouseY = (int)((2.0f - gy) / k + 0.5f);
    move_pointer();
}

void over(int r, int c)
{
    point_at(cell_x(c), cell_y(r));
    editor();
}

rgb pixel_at(float gx, float gy)
{
    GLdouble model[16], proj[16], wx, wy, wz;
    GLint view[4];
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(-3.0f, 0.0f, 0.0f);
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glPopMatrix();
    glGetDoublev(GL_PROJECTION_MATRIX, proj);
    glGetIntegerv(GL_VIEWPORT, view);
    gluProject(gx, gy, -5.0, model, proj, view, &wx, &wy, &wz);
    return gl_read_pixel((int)wx, (int)wy);
}

void mouse(unsigned msg) { WndProc(nullptr, msg, 0, 0); }

void key(int vk)
{
    keys[vk] = 1;
    poll_keys();
}

void reset_editor()
{
    clear_edited_level();
    undo_reset();
    memset(keys, 0, sizeof keys);
    edit = menu = grid = 1;
    fadein = fadeout = test = testing_level = classic = pupedit = visible = 0;
    drag = edrag = dropped = get_drops = 0;
    blank = saved = clearlev = deleteall = name = writefail = 0;
    edlevel = curlevel = 1;
    texmax = 5;
    texnumber = curbrick = guibrick = curpup = 1;
    curr = curg = curb = 127;
    colorlag = 7, bricklag = puplag = 9;
    point_at(0.3f, 1.99f);   // left of the grid, over nothing
    editor();
}
