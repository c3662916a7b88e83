// The end screen shown by the menu's Exit; the window procedure quits on the
// next press.

#include <GL/gl.h>

#include "graphics/graphics.h"
#include "menus.h"
#include "shell/shell.h"

void show_credits()
{
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    menublock = 1;
    glLoadIdentity();
    glTranslatef(-3.0f, 0.0f, 0.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    if (load_credits())
        title_quad(textures[14]);
    glDisable(GL_TEXTURE_2D);
}
