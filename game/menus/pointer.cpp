// The mouse pointer of every screen outside play: its position in the GUI
// frame from the mouse, with a scale chosen by the client size.

#include <GL/gl.h>

#include <algorithm>

#include "editor/editor.h"
#include "graphics/graphics.h"
#include "menus.h"
#include "shell/shell.h"

static const float POINTER_SIZE = 0.12f;   // side of the pointer's square
static const float POINTER_LEFT = 0.25f, POINTER_RIGHT = 5.5f;
static const float POINTER_TOP = -2.0f, POINTER_BOTTOM = 2.0f;  // pointery grows downward

float pointerx;
float pointery;

// The later rules replace the earlier ones; both axes scale by the width. A
// size no rule covers (720 high and not 1280 wide) takes the larger of the 4:3
// scale and a 1280 x 720 window's step per pixel, so the pointer still reaches
// every edge of the GUI frame from inside the window.
float pointer_scale()
{
    if (screenx <= 0 || screeny <= 0)
        return 0;
    float k = 0;
    if (screeny != 720 && screeny != 1080)
        k = 0.7f / screenx;
    if ((screenx == 1280 && screeny == 720) || screeny == 800 || screeny == 960)
        k = 0.9f / screenx;
    if (screeny > 1000)
        k = 1.0f / screenx;
    if (k == 0)
        k = std::max(0.7f / screenx, 0.9f / 1280.0f * 720.0f / screeny);
    return k;
}

void move_pointer()
{
    float k = pointer_scale();
    if (k > 0) {
        pointerx = mouseX * k * msensitivity + POINTER_LEFT;
        pointery = mouseY * k * msensitivity + POINTER_TOP;
    }
    if (pointerx < POINTER_LEFT)
        pointerx = POINTER_LEFT;
    if (pointerx > POINTER_RIGHT)
        pointerx = POINTER_RIGHT;
    if (pointery < POINTER_TOP)
        pointery = POINTER_TOP;
    if (pointery > POINTER_BOTTOM)
        pointery = POINTER_BOTTOM;
}

void drawpointer()
{
    gui_frame();
    move_pointer();

    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, textures[TEX_POINTER]);
    if (dropped)
        glColor4f(0.5f, 1.0f, 0.5f, 1.0f);
    else
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    tex_quad(pointerx, -pointery, pointerx + POINTER_SIZE, -pointery - POINTER_SIZE, -5.0f);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
}
