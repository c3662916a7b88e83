// The start-up loading run once the rendering context is current: fonts,
// the loading messages, every image, the editor's levels and the default set.

#include <GL/gl.h>

#include <cstdio>

#include "gamedir.h"
#include "graphics.h"
#include "rules/rules.h"
#include "shell/shell.h"

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
