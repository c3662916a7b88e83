// The sound effects' loading screen: the start-up messages so far, then the
// effects themselves.

#include <GL/gl.h>

#include "audio.h"
#include "graphics/graphics.h"
#include "shell/shell.h"

// The three loading lines, top to bottom, in the small font.
static const struct {
    float x, y, z;
    const char *text;
} loading_lines[] = {
    {-24.7f, -13.2f, -10.0f, "Loading brick textures...done"},
    {-24.7f, -14.2f, -10.0f, "Loading gui...done"},
    {-24.7f, -15.2f, -10.0f, "Loading sound effects..."},
};

// Shows the loading messages in white, then loads the effects.
void init_oal()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    for (const auto &line : loading_lines) {
        glLoadIdentity();
        glTranslatef(line.x, line.y, line.z);
        glsPrint("%s", line.text);
    }
    glLoadIdentity();
    present_frame();
    load_effects();
}
