// The rendering context's set-up: projection, the graphics state every frame
// relies on, the swap interval, and the start-up loading.

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstring>

#include "audio/audio.h"
#include "graphics/graphics.h"
#include "rules/rules.h"
#include "rules/savegame.h"
#include "shell.h"

void ReSizeGLScene(int width, int height)
{
    if (height == 0)
        height = 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, (GLdouble)width / (GLdouble)height, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// Asks for a swap interval of 1 unless the driver is one that misbehaves with it.
static void request_vsync()
{
    const char *vendor = (const char *)glGetString(GL_VENDOR);
    if (vendor && strcmp(vendor, "Intel") == 0)
        return;
    InitVSync();
    if (!VSyncEnabled())
        SetVSyncState(1);
}

int InitGL()
{
    request_vsync();
    strcpy(set_name, "default.bls");
    generate_texture_names();

    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glPolygonMode(GL_FRONT, GL_FILL);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    present_frame();

    if (!load_startup())
        return 0;  // the message naming the file has been shown

    save_check();

    init_oal();
    return 1;
}
