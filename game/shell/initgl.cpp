// The rendering context's set-up and the start-up run once it is current:
// projection, the graphics state every frame relies on, the swap interval,
// then the loading in order (fonts, the loading messages, every image, the
// editor's levels, the default set), the player's files and the sound.

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "audio/audio.h"
#include "files.h"
#include "gamedir.h"
#include "graphics/graphics.h"
#include "paths.h"
#include "rules/replay.h"
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

// The game's own files in each folder it writes to, as remove_temp_leftovers
// names them: the saved game, the high scores and the player's sets, and the
// editor's levels.
static const char *const OWN_SET_FILES[] = {"corvale.sav", "scores.hst", "*.bls"};
static const char *const OWN_LEVEL_FILES[] = {"l#.raw"};

// The settings folder is shared with other programs: only the settings
// file's own temporary names are removed there. The game's own folder is
// only ever read.
void remove_write_leftovers()
{
    std::string settings = settings_path();
    size_t slash = settings.rfind('/');
    if (slash != std::string::npos) {
        std::string file = settings.substr(slash + 1);
        const char *own[] = {file.c_str()};
        remove_temp_leftovers(settings.substr(0, slash).c_str(), own, 1);
    }
    std::string player = player_dir();
    remove_temp_leftovers((player + "/level_sets").c_str(), OWN_SET_FILES, 3);
    remove_temp_leftovers((player + "/user_data").c_str(), OWN_LEVEL_FILES, 1);
    remove_replay_leftovers();
}

static const char *const CAPTION_ERROR = "ERROR";

// Prints the small-font loading lines from the lower left and shows them at once.
static void loading_message(const char *first, const char *second)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glColor3f(1.0f, 1.0f, 1.0f);
    glLoadIdentity();
    glTranslatef(-24.7f, -13.2f, -10.0f);
    glsPrint("%s", first);
    if (second) {
        glLoadIdentity();
        glTranslatef(-24.7f, -14.2f, -10.0f);
        glsPrint("%s", second);
    }
    present_frame();
}

// Tells the player which file of the game folder could not be used; returns 0.
static int refuse_start()
{
    char text[2400];
    snprintf(text, sizeof text, "The game folder %s is incomplete: %s is missing or damaged.",
             game_data_dir().c_str(), bad_file);
    message_box(text, CAPTION_ERROR, MB_ERROR);
    return 0;
}

int load_startup()
{
    bad_file[0] = '\0';
    if (!BuildFont() || !BuildsFont()) {
        message_box("No outline font for the game's text was found (\"Arial\" or a face "
                    "that stands in for it, such as Liberation Sans).", CAPTION_ERROR, MB_ERROR);
        return 0;
    }

    loading_message("Loading brick textures...", nullptr);
    if (!load_textures())
        return refuse_start();
    edload();

    loading_message("Loading brick textures...done", "Loading gui...");
    if (!init_icons() || !init_visible())
        return refuse_start();

    load_level_set(set_name, 0);
    return 1;
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
