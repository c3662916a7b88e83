// The drawing frames of the play field and the GUI.

#include "graphics.h"
#include "physics/physics.h"

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
