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
    gui_frame();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    if (load_credits())
        title_quad(textures[TEX_CREDITS]);
    glDisable(GL_TEXTURE_2D);
}
