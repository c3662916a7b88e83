// The rendering context's set-up: projection, the graphics state every frame
// relies on, the swap interval, and the start-up loading.

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstring>
#include <string>

#include "audio/audio.h"
#include "files.h"
#include "graphics/graphics.h"
#include "paths.h"
#include "rules/rules.h"
#include "rules/savegame.h"
#include "rules/scores.h"
#include "settings.h"
#include "shell.h"

// Views narrower than 4:3 (5:4) show the whole 4:3 field with black bars
// above and below; wider views keep their full width. The pictures that fill
// the view follow its size.
void ReSizeGLScene(int width, int height)
{
    if (width < 1)
        width = 1;
    if (height < 1)
        height = 1;
    int top = 0, shown = height;
    if ((int64_t)width * 3 < (int64_t)height * 4) {
        shown = width * 3 / 4;
        top = (height - shown) / 2;
    }
    glViewport(0, top, width, shown);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, (GLdouble)width / (GLdouble)shown, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    fit_view_pictures();
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

// Removes what interrupted writes left in the folders the game and the setup
// program write to; the game's own folder is only ever read.
static void remove_write_leftovers()
{
    std::string settings = settings_path();
    size_t slash = settings.rfind('/');
    if (slash != std::string::npos)
        remove_temp_leftovers(settings.substr(0, slash).c_str());
    std::string own = player_dir();
    remove_temp_leftovers((own + "/level_sets").c_str());
    remove_temp_leftovers((own + "/user_data").c_str());
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

    remove_write_leftovers();
    save_check();
    // A damaged score table is set aside now, so the title can say so at once.
    readscores();

    init_oal();
    return 1;
}
