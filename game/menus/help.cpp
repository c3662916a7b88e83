// The help page: the seventeen power-ups with their icons and names and the
// controls a player needs, in a full-screen list panel that its Cancel closes;
// F1 opens the manual from it.

#include <GL/gl.h>

#include <string>

#include "formats.h"
#include "gamedir.h"
#include "graphics/graphics.h"
#include "menus.h"
#include "shell/shell.h"

static const int ROWS = 5;          // kinds run down a column, then to the next
static const int COLUMNS = 4;
static_assert(POWERUP_KINDS <= COLUMNS * ROWS, "the help page has a place for every power-up kind");

// Icon corners in the GUI frame and name positions from the identity.
// The columns sit left of the design's by 0.15, so the longest name of the
// last column ("Earthquake!") keeps clear of the panel's right edge.
static const float ICON_X[COLUMNS] = {0.85f, 1.95f, 3.05f, 4.15f};
static const float ICON_Y[ROWS] = {1.25f, 0.75f, 0.25f, -0.25f, -0.75f};
static const float NAME_X[COLUMNS] = {-16.35f, -6.35f, 3.65f, 13.65f};
static const float NAME_Y[ROWS] = {9.5f, 5.0f, 0.5f, -4.0f, -8.5f};
static const float ICON_SIZE = 0.3f;
static const float PANEL_BOTTOM = -1.95f;   // low enough for the lines of controls

// The controls a player needs, under the power-ups.
static const char *const KEY_LINES[] = {
    "Steer: the mouse, Left / Right, or a gamepad's stick or d-pad",
    "Launch: left button, Space, Up or A      Pause: right button, P or Start",
    "Escape, B or Back: leave the game (it is saved)      F12: save and quit",
    "Menus: arrows or d-pad choose, Enter or A presses, Escape cancels",
    "Music: Home / End, wheel, Page Up / Down    Effects: Insert / Delete    F1: manual",
};
static const int KEY_LINE_COUNT = (int)(sizeof KEY_LINES / sizeof KEY_LINES[0]);
static const float KEY_X = -18.0f, KEY_Y = -11.6f, KEY_STEP = 1.15f;

// Tells where the manual is when no browser could show it.
static void manual_not_opened()
{
    std::string text = "No web browser could open the manual. It is the file\n" +
                       game_data_dir() + "/manual/index.html";
    show_notice(text.c_str());
}

void check_manual_opener()
{
    if (web_page_failed())
        manual_not_opened();
}

void showhelp()
{
    gui_win(0.6f, 1.55f, 5.3f, PANEL_BOTTOM, " ", " ", 5);
    menublock = 1;

    glDisable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glLoadIdentity();
    glTranslatef(-18.0f, 13.0f, -5.0f);
    glsPrint("Help:");

    for (int kind = 1; kind <= POWERUP_KINDS; kind++) {
        int column = (kind - 1) / ROWS, row = (kind - 1) % ROWS;
        gui_frame();
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        glBindTexture(GL_TEXTURE_2D, puptextures[kind]);
        float x = ICON_X[column], y = ICON_Y[row];
        tex_quad(x, y, x + ICON_SIZE, y - ICON_SIZE, -5.0f);

        glDisable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        glLoadIdentity();
        glTranslatef(NAME_X[column], NAME_Y[row], -5.0f);
        glsPrint("%s", powerup_table[kind].name);
    }
    glColor4f(1.0f, 1.0f, 0.6f, 1.0f);
    for (int k = 0; k < KEY_LINE_COUNT; k++) {
        glLoadIdentity();
        glTranslatef(KEY_X, KEY_Y - KEY_STEP * k, -5.0f);
        glsPrint("%s", KEY_LINES[k]);
    }
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    gui_frame();

    if (keys[VK_F1]) {
        keys[VK_F1] = 0;
        if (!open_web_page())
            manual_not_opened();
    }
    check_manual_opener();
    if (GUI_CANCEL) {
        GUI_CANCEL = 0;
        menublock = 0;
        gui_select = 0;
        gui_block = 0;
        close_screen();
    }
}
