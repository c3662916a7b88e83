// Placement of the in-game HUD text lines.

#include <GL/gl.h>

#include "menus.h"
#include "physics/physics.h"
#include "shell/shell.h"

// Sets the model-view matrix for HUD line 1, shaken with the field while the
// earthquake runs in full-screen mode.
void print_set(int)
{
    glLoadIdentity();
    if (shake && fullscreen)
        glTranslatef(-8.5f + qfx, -8.0f + qfy, -20.0f);
    else
        glTranslatef(-8.5f, -8.0f, -20.0f);
}
