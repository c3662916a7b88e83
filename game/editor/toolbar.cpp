// The editor's toolbar below the canvas: its panels, 24 buttons with their
// icons and help texts, labels and previews, and the actions its presses
// raised since the last frame, with hold-to-repeat for the +/- buttons.

#include <GL/gl.h>

#include <cstdio>

#include "editor.h"
#include "rules/powerups.h"
#include "graphics/graphics.h"
#include "menus/menus.h"
#include "rules/rules.h"
#include "shell/shell.h"

// ---- Constants ----

static const float Z_ICON = -5.0f;
static const float DIM = 0.9f;   // a button not under the pointer

// One toolbar button: selection code, area, icon (the second while its view
// is off), help text, and whether it is drawn without blending.
struct tool_button {
    int code;
    float x1, x2, y_bottom, y_top;
    int icon, icon_off;
    const int *view;      // switch shown by the icon pair; null for one icon
    const char *help;
    int opaque;
};

// In drawing order.
static const tool_button BUTTONS[] = {
    {CODE_GRID, 0.6f, 0.85f, -0.85f, -0.6f, ICON_GRID, ICON_GRIDOFF, &grid,
     "Turns the grid on and off. Hotkey: G key", 0},
    {CODE_PUPON, 1.05f, 1.3f, -0.85f, -0.6f, ICON_POWERUP, ICON_POWERUPSOFF, &pupedit,
     "Turns the powerup editor on and off. Hotkey: P key", 0},
    {CODE_VISON, 1.5f, 1.75f, -0.85f, -0.6f, ICON_VISIBLESQUARE, ICON_NOTVISIBLE, &visible,
     "Turns on brick overlays for invisible and multi-hit bricks. Hotkey: V key", 0},
    {CODE_BRICK, 2.0f, 2.25f, -0.85f, -0.6f, ICON_BRICKS, 0, nullptr,
     "Changes the type of brick you are putting down. Hotkeys: Up and Down arrow keys", 0},
    {CODE_TESTLEVEL, 0.6f, 0.85f, -1.45f, -1.2f, ICON_TEST, 0, nullptr,
     "Lets you play the current level. Hotkey: F1", 0},
    {CODE_DROPS, 1.05f, 1.3f, -1.45f, -1.2f, ICON_EDIT, 0, nullptr,
     "Copy a brick's color and texture settings. Hotkey: D", 0},
    {CODE_CLASSIC, 1.5f, 1.75f, -1.45f, -1.2f, ICON_ON, ICON_OFF, &classic,
     "Turns classic mode on and off. Hotkey: C key", 0},
    {CODE_RMINUS, 4.19f, 4.29f, -1.42f, -1.32f, ICON_MINUS, 0, nullptr,
     "Decreases red component.  Hotkey: Numpad 1", 0},
    {CODE_RPLUS, 4.55f, 4.65f, -1.42f, -1.32f, ICON_PLUS, 0, nullptr,
     "Increases red component.  Hotkey: Numpad 7", 0},
    {CODE_GMINUS, 4.19f, 4.29f, -1.57f, -1.47f, ICON_MINUS, 0, nullptr,
     "Decreases green component.  Hotkey: Numpad 2", 0},
    {CODE_BPLUS, 4.55f, 4.65f, -1.72f, -1.62f, ICON_PLUS, 0, nullptr,
     "Increases blue component.  Hotkey: Numpad 9", 0},
    {CODE_BMINUS, 4.19f, 4.29f, -1.72f, -1.62f, ICON_MINUS, 0, nullptr,
     "Decreases blue component.  Hotkey: Numpad 3", 0},
    {CODE_GPLUS, 4.55f, 4.65f, -1.57f, -1.47f, ICON_PLUS, 0, nullptr,
     "Increases Green component.  Hotkey: Numpad 8", 0},
    {CODE_LEVPLUS, 1.71f, 1.8f, -0.53f, -0.44f, ICON_PLUS, 0, nullptr,
     "Move forward one level.  Hotkey: + on the numeric keypad", 1},
    {CODE_LEVMINUS, 0.83f, 0.92f, -0.53f, -0.44f, ICON_MINUS, 0, nullptr,
     "Move back one level.  Hotkey: - on the numeric keypad", 1},
    {CODE_SAVE, 1.95f, 2.2f, -1.57f, -1.32f, ICON_SAVE, 0, nullptr,
     "Saves the current level.  Hotkey: F2", 0},
    {CODE_LDELETE, 2.4f, 2.65f, -1.57f, -1.32f, ICON_DELETE, 0, nullptr,
     "Clears the current level.  Hotkey: F5", 0},
    {CODE_ADELETE, 2.85f, 3.1f, -1.57f, -1.32f, ICON_DELETE, 0, nullptr,
     "Deletes all levels permanently. Be careful.  :)  Hotkey: None", 0},
    {CODE_CREATE, 3.5f, 3.75f, -1.57f, -1.32f, ICON_CREATE, 0, nullptr,
     "Generates a level set from all of the levels you have created.  Hotkey: None", 0},
    {CODE_BACK, 0.6f, 0.73f, -1.82f, -1.7f, ICON_BACK, 0, nullptr,
     "Return to the main menu.  Hotkey: Escape", 0},
    {CODE_BRICK_MINUS, 3.31f, 3.4f, -0.84f, -0.75f, ICON_MINUS, 0, nullptr,
     "Move back one brick.  Hotkey: Left arrow key", 0},
    {CODE_BRICK_PLUS, 4.09f, 4.18f, -0.84f, -0.75f, ICON_PLUS, 0, nullptr,
     "Move forward one brick.  Hotkey: Right arrow key", 0},
    {CODE_PUP_PLUS, 5.01f, 5.11f, -0.84f, -0.75f, ICON_PLUS, 0, nullptr,
     "Move forward one powerup.  Hotkey: O key", 0},
    {CODE_PUP_MINUS, 4.39f, 4.48f, -0.84f, -0.75f, ICON_MINUS, 0, nullptr,
     "Move back one powerup.  Hotkey: I key", 0},
};

// White small-font labels, placed from the identity at z -10.
static const struct { const char *text; float x, y; } LABELS[] = {
    {"Grid", -23.7f, -9.5f},     {"Powerup", -20.2f, -9.5f}, {"Visible", -15.15f, -9.5f},
    {"Brick", -9.8f, -9.5f},     {"Types", -10.0f, -10.3f},  {"Test", -23.7f, -15.6f},
    {"Eyedropper", -20.6f, -15.6f}, {"Classic", -15.15f, -15.6f},
    {"Save", -10.2f, -16.6f},    {"Level", -10.2f, -17.4f},
    {"Clear", -5.8f, -16.6f},    {"Level", -5.8f, -17.4f},
    {"Delete", -1.5f, -16.6f},   {"All", -0.8f, -17.4f},
    {"Create", 4.9f, -16.6f},    {"Level", 5.2f, -17.4f},    {"Set", 5.6f, -18.2f},
    {"Back", -22.5f, -18.0f},    {"Powerup", 15.7f, -10.22f},
};

// The type list, by position 1..5.
static const char *const TYPE_NAMES[6] = {
    nullptr, "Normal", "Invisible", "2 Hit Brick", "3 Hit Brick", "Exploding",
};

static const char *const MOUSE_HELP =
    "Left mouse button: Places bricks    Right mouse button: Erases bricks    "
    "Ctrl+Z: Undo    Ctrl+Y: Redo";

// Hold-to-repeat: a held button steps when its group's counter reaches the threshold.
static const int COLOUR_REPEAT = 8, BRICK_REPEAT = 10, POWERUP_REPEAT = 10;

// ---- Current-brick steps ----

// Type-list position 1..5 (wrapping), its type code, and the colour back to white.
void select_brick_type(int position)
{
    if (position < 1)
        position = 5;
    if (position > 5)
        position = 1;
    guibrick = position;
    curbrick = brick_selector_map[guibrick];
    curr = curg = curb = 127;
}

// The next or previous brick texture, wrapping within 1..texmax.
void step_texture(int dir)
{
    texnumber += dir;
    if (texnumber < 1)
        texnumber = texmax;
    if (texnumber > texmax)
        texnumber = 1;
}

// The next or previous power-up kind, wrapping within 1..maxpup.
void step_powerup(int dir)
{
    curpup += dir;
    if (curpup < 1)
        curpup = maxpup;
    if (curpup > maxpup)
        curpup = 1;
}

// Classic on or off; the power-up layer goes off and grid and overlays follow.
void toggle_classic_button()
{
    classic = !classic;
    pupedit = 0;
    grid = visible = !classic;
}

// One colour component up or down, within 0..127.
static void step_component(int *c, int dir)
{
    *c += dir;
    if (*c < 0)
        *c = 0;
    if (*c > 127)
        *c = 127;
}

// ---- Drawing ----

// The 24 buttons, lit under the pointer, which also selects one and shows its help.
static void draw_buttons()
{
    for (const tool_button &b : BUTTONS) {
        if (pointer_over(b.x1, b.y_top, b.x2, b.y_bottom)) {
            glColor4f(1, 1, 1, 1);
            gui_select = b.code;
            infobar(b.help);
            gui_frame();
            glEnable(GL_TEXTURE_2D);
            glEnable(GL_BLEND);
            glColor4f(1, 1, 1, 1);
        } else {
            glColor4f(DIM, DIM, DIM, 1);
        }
        int icon = b.view && !*b.view ? b.icon_off : b.icon;
        if (b.opaque)
            glDisable(GL_BLEND);
        glBindTexture(GL_TEXTURE_2D, ticon[icon]);
        tex_quad(b.x1, b.y_top, b.x2, b.y_bottom, Z_ICON);
        glEnable(GL_BLEND);
    }
}

// Prints small-font text at a translation from the identity.
static void label(float x, float y, const char *text)
{
    glLoadIdentity();
    glTranslatef(x, y, -10.0f);
    glsPrint("%s", text);
}

// Button labels, the type list with the current type in red, and the brick count.
static void draw_labels()
{
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    for (const auto &l : LABELS)
        label(l.x, l.y, l.text);
    for (int p = 1; p <= 5; p++) {
        if (p == guibrick)
            glColor3f(1.0f, 0.2f, 0.2f);
        else
            glColor3f(1, 1, 1);
        label(-6.2f, -6.8f - 0.8f * (p - 1), TYPE_NAMES[p]);
    }
    glColor3f(1, 1, 1);
    glLoadIdentity();
    glTranslatef(5.0f, -10.22f, -10.0f);
    glsPrint("Brick %d/%d", texnumber, texmax);
}

// A black backing quad in the GUI frame.
static void black_quad(float x1, float y1, float x2, float y2)
{
    glDisable(GL_TEXTURE_2D);
    glColor3f(0, 0, 0);
    glBegin(GL_QUADS);
    glVertex3f(x1, y1, Z_ICON);
    glVertex3f(x2, y1, Z_ICON);
    glVertex3f(x2, y2, Z_ICON);
    glVertex3f(x1, y2, Z_ICON);
    glEnd();
    glEnable(GL_TEXTURE_2D);
}

// The current power-up, the current brick's texture, and that texture in the current colour.
static void draw_previews()
{
    gui_frame();
    glDisable(GL_DEPTH_TEST);
    GLuint brick = curbrick == BRICK_EXPLODING ? textures[TEX_FIRE] : editor_texture(texnumber);

    black_quad(4.58f, -0.6f, 4.92f, -0.94f);
    glColor3f(1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, puptextures[curpup]);
    tex_quad(4.6f, -0.62f, 4.9f, -0.92f, Z_ICON);

    black_quad(3.48f, -0.65f, 4.02f, -0.94f);
    glColor3f(1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, brick);
    tex_quad(3.5f, -0.67f, 4.0f, -0.92f, Z_ICON);

    black_quad(4.78f, -1.35f, 5.32f, -1.64f);
    glColor3b((GLbyte)curr, (GLbyte)curg, (GLbyte)curb);
    glBindTexture(GL_TEXTURE_2D, brick);
    tex_quad(4.8f, -1.37f, 5.3f, -1.62f, Z_ICON);
    glEnable(GL_DEPTH_TEST);
}

// ---- Actions ----

// Counts a held group's frames; 1 on the frame it steps.
static int repeat_due(int *lag, int threshold)
{
    if (++*lag < threshold)
        return 0;
    *lag = 0;
    return 1;
}

// Hold-to-repeat of the brick, power-up and colour buttons.
static void held_buttons()
{
    if ((GUI_BRICK_PLUS || GUI_BRICK_MINUS) && repeat_due(&bricklag, BRICK_REPEAT)) {
        curr = curg = curb = 127;
        step_texture(GUI_BRICK_PLUS ? 1 : -1);
    }
    if ((GUI_PUP_PLUS || GUI_PUP_MINUS) && repeat_due(&puplag, POWERUP_REPEAT))
        step_powerup(GUI_PUP_PLUS ? 1 : -1);
    if ((GUI_RPLUS || GUI_RMINUS || GUI_GPLUS || GUI_GMINUS || GUI_BPLUS || GUI_BMINUS) &&
        repeat_due(&colorlag, COLOUR_REPEAT)) {
        step_component(&curr, GUI_RPLUS - GUI_RMINUS);
        step_component(&curg, GUI_GPLUS - GUI_GMINUS);
        step_component(&curb, GUI_BPLUS - GUI_BMINUS);
    }
}

// Takes a one-shot flag: 1 when it was raised.
static int take_flag(int *flag)
{
    if (!*flag)
        return 0;
    *flag = 0;
    return 1;
}

// The actions raised by presses since the last frame, in their fixed order.
static void pending_actions()
{
    if (take_flag(&GUI_BRICK)) {
        guibrick = guibrick >= 5 ? 1 : guibrick + 1;   // the colour stays
        curbrick = brick_selector_map[guibrick];
    }
    if (take_flag(&GUI_EGRID))
        grid = !grid;
    if (take_flag(&GUI_EDCLASSIC))
        toggle_classic_button();
    if (take_flag(&GUI_PUPON))
        pupedit = !pupedit;
    held_buttons();
    if (take_flag(&GUI_VISON))
        visible = !visible;
    if (take_flag(&GUI_LDELETE))
        open_dialog(DLG_CLEAR_LEVEL);
    if (take_flag(&GUI_ADELETE))
        open_dialog(DLG_DELETE_ALL);
    if (take_flag(&GUI_CREATE))
        open_dialog(DLG_SET_NAME);
    if (take_flag(&GUI_BACK))
        leave_editor();
    if (take_flag(&GUI_TESTLEVEL))
        test_play();
    if (take_flag(&GUI_LEVMINUS))
        editor_prev_level();
    if (take_flag(&GUI_LEVPLUS))
        editor_next_level();
}

// The toolbar of one editor frame, and the actions pending from its buttons.
void eicons()
{
    gui_select = 0;
    gui_frame();
    gui_win(4.1f, -1.15f, 5.475f, -1.85f, " ", " ", 2);
    gui_win(1.85f, -1.15f, 4.07f, -1.85f, " ", " ", 2);
    gui_win(1.85f, -0.43f, 5.475f, -1.12f, " ", " ", 2);
    gui_win(0.525f, -1.88f, 5.475f, -1.97f, " ", " ", 2);

    glDisable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    label(-8.0f, -5.1f, "Bricks and Powerups");
    label(-8.0f, -12.3f, "File Options");
    label(14.5f, -12.3f, "Color Editor");

    gui_frame();
    glEnable(GL_TEXTURE_2D);
    gui_block = 0;
    glEnable(GL_BLEND);
    draw_buttons();
    draw_labels();
    draw_previews();
    pending_actions();

    glDisable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    char line[16];
    const struct { const char *format; int value; float y; } rgb_lines[3] = {
        {"R:%d", curr, -14.1f}, {"G:%d", curg, -15.6f}, {"B:%d", curb, -16.95f},
    };
    for (const auto &l : rgb_lines) {
        snprintf(line, sizeof line, l.format, l.value);
        label(13.0f, l.y, line);
    }
    if (gui_select == 0)
        infobar(MOUSE_HELP);
    gui_frame();
}
