// The frame dispatcher: draws one frame of whichever screen is up and holds
// game and menu frames to the target rate.

#include <GL/gl.h>

#include "shell.h"

int DrawGLScene()
{
    quake_frame = 1;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    fps = LockFPS(targetFPS);
    return 1;
}
