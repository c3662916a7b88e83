// The drawing frames of the play field and the GUI.

#include <GL/glu.h>

#include <cmath>

#include "graphics.h"
#include "physics/physics.h"

int pass_boxed;
int pass_box[4];

// The field frame's projection as last read, and the linear map from a
// plane of the field frame facing the eye to window pixels, for two depths.
static GLdouble field_model[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, FIELD_SHIFT, 0, 0, 1}, field_proj[16];
static GLint field_view[4];
struct plane_map {
    float z;
    double scale_x, scale_y, origin_x, origin_y;
};
static plane_map maps[2];   // [0] at FIELD_Z, [1] the last other depth asked for

void field_frame()
{
    glLoadIdentity();
    glTranslatef(FIELD_SHIFT, 0.0f, 0.0f);
}

void shaken_field_frame()
{
    glLoadIdentity();
    if (shake)
        glTranslatef(FIELD_SHIFT + qfx, qfy, 0.0f);
    else
        glTranslatef(FIELD_SHIFT, 0.0f, 0.0f);
}

// The GUI's units are the field's: a panel corner and a brick corner of the
// same numbers meet on screen.
void gui_frame()
{
    field_frame();
}

// The map of the plane at depth z.
static void map_plane(plane_map &m, float z)
{
    GLdouble x0, y0, x1, y1, depth;
    gluProject(0, 0, z, field_model, field_proj, field_view, &x0, &y0, &depth);
    gluProject(1, 1, z, field_model, field_proj, field_view, &x1, &y1, &depth);
    m.z = z;
    m.origin_x = x0, m.origin_y = y0;
    m.scale_x = x1 - x0, m.scale_y = y1 - y0;
}

void note_field_view()
{
    glGetDoublev(GL_PROJECTION_MATRIX, field_proj);
    glGetIntegerv(GL_VIEWPORT, field_view);
    map_plane(maps[0], FIELD_Z);
    map_plane(maps[1], maps[1].z < 0 ? maps[1].z : FIELD_Z);
}

void field_box(float x0, float y0, float x1, float y1, int box[4], float z)
{
    if (z != maps[0].z && z != maps[1].z)
        map_plane(maps[1], z);
    const plane_map &m = z == maps[0].z ? maps[0] : maps[1];
    double a = m.origin_x + m.scale_x * x0, b = m.origin_x + m.scale_x * x1;
    double c = m.origin_y + m.scale_y * y0, d = m.origin_y + m.scale_y * y1;
    box[0] = (int)floor(fmin(a, b)) - 1, box[2] = (int)ceil(fmax(a, b)) + 1;
    box[1] = (int)floor(fmin(c, d)) - 1, box[3] = (int)ceil(fmax(c, d)) + 1;
}

int boxes_meet(const int a[4], const int b[4])
{
    return a[0] < b[2] && b[0] < a[2] && a[1] < b[3] && b[1] < a[3];
}

int field_rect_in_pass(float x0, float y0, float x1, float y1, float z)
{
    if (!pass_boxed)
        return 1;
    int box[4];
    field_box(x0, y0, x1, y1, box, z);
    return boxes_meet(box, pass_box);
}
