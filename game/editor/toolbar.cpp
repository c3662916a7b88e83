// The editor's toolbar below the canvas: its panels, its buttons (one table
// row each: area, icons, help text, label and what a press does), the type
// list and previews, and the actions its presses raised since the last frame,
// with hold-to-repeat for the +/- buttons.

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "audio/audio.h"
#include "editor.h"
#include "field.h"
#include "rules/powerups.h"
#include "graphics/graphics.h"
#include "menus/menus.h"
#include "rules/rules.h"
#include "shell/shell.h"

// ---- Constants ----

static const float Z_ICON = -5.0f;
static const float DIM = 0.9f;   // a button not under the pointer

// Hold-to-repeat: a held button steps when its group's counter reaches the threshold.
static const int COLOUR_REPEAT = 8, BRICK_REPEAT = 10, POWERUP_REPEAT = 10;

// ---- Button actions ----

// One colour component up or down, within 0..127.
static void step_component(int *c, int dir)
{
    *c += dir;
    if (*c < 0)
        *c = 0;
    if (*c > 127)
        *c = 127;
}

static void step_red(int dir) { step_component(&curr, dir); }
static void step_green(int dir) { step_component(&curg, dir); }
static void step_blue(int dir) { step_component(&curb, dir); }

// The next or previous brick texture, the colour back to white.
static void step_brick_texture(int dir)
{
    curr = curg = curb = 127;
    step_texture(dir);
}

// The next brick type in the list; the colour stays.
static void next_brick_type()
{
    guibrick = guibrick >= 5 ? 1 : guibrick + 1;
    curbrick = brick_selector_map[guibrick];
}

static void toggle_grid() { grid = !grid; }
static void toggle_powerup_layer() { pupedit = !pupedit; }
static void toggle_overlays() { visible = !visible; }
static void ask_clear_level() { open_dialog(DLG_CLEAR_LEVEL); }
static void ask_delete_all() { open_dialog(DLG_DELETE_ALL); }
static void start_level_set() { open_dialog(DLG_SET_NAME); }
static void previous_level() { editor_prev_level(); }
static void next_level() { editor_next_level(); }
static void arm_eyedropper() { get_drops = 1; }
static void save_level() { save_edited_level(); }

// ---- The buttons ----

// A line of a button's label: its text and the origin it is printed from, in
// the GUI units of the buttons.
struct tool_label {
    const char *text;
    float x, y;
};

// One toolbar button: its area, icon (the second while its view is off), help
// text, whether it is drawn without blending, what a press does, and the
// label under it. A press either acts at once (at_press), raises a one-shot
// action for the next toolbar frame (action), or holds a step that repeats
// while the button is held (step, in dir, counting on lag up to repeat; the
// release sets lag to release_lag).
struct tool_button {
    float x1, x2, y_bottom, y_top;
    int icon, icon_off;
    const int *view;      // switch shown by the icon pair; null for one icon
    const char *help;
    int opaque;
    void (*at_press)();   // acts at the press
    int click;            // the press clicks (an at_press action may make its own sound)
    void (*action)();     // acts in the next frame of the toolbar
    void (*step)(int dir);
    int dir;
    int *lag;
    int repeat, release_lag;
    tool_label labels[3];
    const int *chosen = nullptr;  // framed while *chosen equals chosen_value (the tool in use)
    int chosen_value = 0;
};

// Rows of the three kinds of button.
static tool_button once(float x1, float x2, float yb, float yt, int icon, int icon_off, const int *view,
                        const char *help, void (*action)(), tool_label a = {}, tool_label b = {},
                        tool_label c = {})
{
    return {x1, x2, yb, yt, icon, icon_off, view, help, 0, nullptr, 1, action, nullptr, 0, nullptr, 0, 0, {a, b, c}};
}

static tool_button at_press(float x1, float x2, float yb, float yt, int icon, const char *help,
                            void (*act)(), int click, tool_label a = {}, tool_label b = {})
{
    return {x1, x2, yb, yt, icon, 0, nullptr, help, 0, act, click, nullptr, nullptr, 0, nullptr, 0, 0, {a, b, {}}};
}

static tool_button held(float x1, float x2, float yb, float yt, int icon, const char *help,
                        void (*step)(int), int dir, int *lag, int repeat, int release_lag)
{
    return {x1, x2, yb, yt, icon, 0, nullptr, help, 0, nullptr, 1, nullptr, step, dir, lag, repeat, release_lag, {}};
}

// A button of the tool column beside the canvas, row n from the top, framed
// while *chosen is value; a press chooses at once.
static const float TOOL_LEFT = 0.27f, TOOL_SIZE = 0.18f, TOOL_TOP = 1.98f, TOOL_STEP = 0.21f;
static tool_button tool(int n, int icon, const char *help, void (*act)(), const int *chosen, int value)
{
    float top = TOOL_TOP - TOOL_STEP * n;
    tool_button b = at_press(TOOL_LEFT, TOOL_LEFT + TOOL_SIZE, top - TOOL_SIZE, top, icon, help, act, 1);
    b.chosen = chosen;
    b.chosen_value = value;
    return b;
}

static void choose_brush() { edtool = TOOL_BRUSH; }
static void choose_line() { edtool = TOOL_LINE; }
static void choose_rectangle() { edtool = TOOL_RECT; }
static void choose_box() { edtool = TOOL_BOX; }
static void choose_fill() { edtool = TOOL_FILL; }
static void toggle_mirror() { mirror = !mirror; }
static const int ON = 1;
static void toggle_level_strip() { level_strip = !level_strip; }
static void ask_delete_level() { open_dialog(DLG_DELETE_LEVEL); }
static void level_insert() { insert_level_before(); }
static void level_copy() { duplicate_level(); }
static void level_earlier() { move_level(-1); }
static void level_later() { move_level(1); }

// A small button of the level row beside Back, n from the left.
static const float LEVEL_ROW_LEFT = 1.0f, LEVEL_ROW_STEP = 0.16f, LEVEL_ROW_SIZE = 0.12f;
static tool_button level_button(int n, int icon, const char *help, void (*act)())
{
    float x = LEVEL_ROW_LEFT + LEVEL_ROW_STEP * n;
    return once(x, x + LEVEL_ROW_SIZE, -1.82f, -1.7f, icon, 0, nullptr, help, act);
}

// A button drawn without blending.
static tool_button opaque(tool_button b)
{
    b.opaque = 1;
    return b;
}

// Back: leaving asks first when the level has unsaved changes.
static void back_to_menu()
{
    leave_editor_asking(0);
}

// In drawing order; a button's selection code is CODE_TOOLBAR + its row. The
// colour buttons stand a little wider apart than the design's (4.19 and
// 4.55), so "R:127" fits between them.
static const tool_button BUTTONS[] = {
    once(0.6f, 0.85f, -0.85f, -0.6f, ICON_GRID, ICON_GRIDOFF, &grid,
         "Turns the grid on and off. Hotkey: G key", toggle_grid, {"Grid", 0.63f, -0.95f}),
    once(1.05f, 1.3f, -0.85f, -0.6f, ICON_POWERUP, ICON_POWERUPSOFF, &pupedit,
         "Turns the powerup editor on and off. Hotkey: P key", toggle_powerup_layer,
         {"Powerup", 0.98f, -0.95f}),
    once(1.5f, 1.75f, -0.85f, -0.6f, ICON_VISIBLESQUARE, ICON_NOTVISIBLE, &visible,
         "Turns on brick overlays for invisible and multi-hit bricks. Hotkey: V key", toggle_overlays,
         {"Visible", 1.485f, -0.95f}),
    once(2.0f, 2.25f, -0.85f, -0.6f, ICON_BRICKS, 0, nullptr,
         "Changes the type of brick you are putting down. Hotkeys: Up and Down arrow keys", next_brick_type,
         {"Brick", 2.02f, -0.95f}, {"Types", 2.0f, -1.03f}),
    once(0.6f, 0.85f, -1.45f, -1.2f, ICON_TEST, 0, nullptr,
         "Lets you play the current level. Hotkey: F1", test_play, {"Test", 0.63f, -1.56f}),
    at_press(1.05f, 1.3f, -1.45f, -1.2f, ICON_EDIT,
             "Copy a brick's color and texture settings. Hotkey: D", arm_eyedropper, 1,
             {"Eyedropper", 0.94f, -1.56f}),
    once(1.5f, 1.75f, -1.45f, -1.2f, ICON_ON, ICON_OFF, &classic,
         "Turns classic mode on and off. Hotkey: C key", toggle_classic_button,
         {"Classic", 1.485f, -1.56f}),
    held(4.16f, 4.26f, -1.42f, -1.32f, ICON_MINUS, "Decreases red component.  Hotkey: Numpad 1",
         step_red, -1, &colorlag, COLOUR_REPEAT, 7),
    held(4.6f, 4.7f, -1.42f, -1.32f, ICON_PLUS, "Increases red component.  Hotkey: Numpad 7",
         step_red, 1, &colorlag, COLOUR_REPEAT, 7),
    held(4.16f, 4.26f, -1.57f, -1.47f, ICON_MINUS, "Decreases green component.  Hotkey: Numpad 2",
         step_green, -1, &colorlag, COLOUR_REPEAT, 4),
    held(4.6f, 4.7f, -1.72f, -1.62f, ICON_PLUS, "Increases blue component.  Hotkey: Numpad 9",
         step_blue, 1, &colorlag, COLOUR_REPEAT, 4),
    held(4.16f, 4.26f, -1.72f, -1.62f, ICON_MINUS, "Decreases blue component.  Hotkey: Numpad 3",
         step_blue, -1, &colorlag, COLOUR_REPEAT, 4),
    held(4.6f, 4.7f, -1.57f, -1.47f, ICON_PLUS, "Increases Green component.  Hotkey: Numpad 8",
         step_green, 1, &colorlag, COLOUR_REPEAT, 4),
    opaque(once(1.71f, 1.8f, -0.53f, -0.44f, ICON_PLUS, 0, nullptr,
                "Move forward one level.  Hotkey: + on the numeric keypad", next_level)),
    opaque(once(0.83f, 0.92f, -0.53f, -0.44f, ICON_MINUS, 0, nullptr,
                "Move back one level.  Hotkey: - on the numeric keypad", previous_level)),
    at_press(1.95f, 2.2f, -1.57f, -1.32f, ICON_SAVE, "Saves the current level.  Hotkey: F2", save_level, 0,
             {"Save", 1.98f, -1.66f}, {"Level", 1.98f, -1.74f}),
    once(2.4f, 2.65f, -1.57f, -1.32f, ICON_DELETE, 0, nullptr, "Clears the current level.  Hotkey: F5",
         ask_clear_level, {"Clear", 2.42f, -1.66f}, {"Level", 2.42f, -1.74f}),
    once(2.85f, 3.1f, -1.57f, -1.32f, ICON_DELETE, 0, nullptr,
         "Deletes all levels permanently. Be careful.  :)  Hotkey: None", ask_delete_all,
         {"Delete", 2.85f, -1.66f}, {"All", 2.92f, -1.74f}),
    once(3.5f, 3.75f, -1.57f, -1.32f, ICON_CREATE, 0, nullptr,
         "Generates a level set from all of the levels you have created.  Hotkey: None", start_level_set,
         {"Create", 3.49f, -1.66f}, {"Level", 3.52f, -1.74f}, {"Set", 3.56f, -1.82f}),
    once(0.6f, 0.73f, -1.82f, -1.7f, ICON_BACK, 0, nullptr, "Return to the main menu.  Hotkey: Escape",
         back_to_menu, {"Back", 0.75f, -1.8f}),
    held(3.31f, 3.4f, -0.84f, -0.75f, ICON_MINUS, "Move back one brick.  Hotkey: Left arrow key",
         step_brick_texture, -1, &bricklag, BRICK_REPEAT, 9),
    held(4.09f, 4.18f, -0.84f, -0.75f, ICON_PLUS, "Move forward one brick.  Hotkey: Right arrow key",
         step_brick_texture, 1, &bricklag, BRICK_REPEAT, 9),
    held(5.01f, 5.11f, -0.84f, -0.75f, ICON_PLUS, "Move forward one powerup.  Hotkey: O key",
         step_powerup, 1, &puplag, POWERUP_REPEAT, 9),
    held(4.39f, 4.48f, -0.84f, -0.75f, ICON_MINUS, "Move back one powerup.  Hotkey: I key",
         step_powerup, -1, &puplag, POWERUP_REPEAT, 9),
    tool(0, ICON_BRUSH, "Brush: paints every cell the pointer passes; with Shift held, a line.  Hotkey: B",
         choose_brush, &edtool, TOOL_BRUSH),
    tool(1, ICON_LINE, "Line: a straight line from where you press to where you let go.  Hotkey: L",
         choose_line, &edtool, TOOL_LINE),
    tool(2, ICON_RECT, "Rectangle: the outline from where you press to where you let go.  Hotkey: R",
         choose_rectangle, &edtool, TOOL_RECT),
    tool(3, ICON_BOX, "Filled rectangle, from where you press to where you let go.  Hotkey: Shift+R",
         choose_box, &edtool, TOOL_BOX),
    tool(4, ICON_FILL, "Fill: the joined cells of the same brick, or the empty area.  Hotkey: F",
         choose_fill, &edtool, TOOL_FILL),
    tool(5, ICON_MIRROR, "Mirror: paints the cell mirrored about the middle too.  Hotkey: M",
         toggle_mirror, &mirror, ON),
    tool(6, ICON_LEVELS, "Shows every level small; click one to edit it.  Hotkey: F3",
         toggle_level_strip, &level_strip, ON),
    level_button(0, ICON_LEVEL_INSERT, "Puts a new empty level before this one.  Hotkey: Ctrl+I", level_insert),
    level_button(1, ICON_LEVEL_COPY, "Puts a copy of this level after it.  Hotkey: Ctrl+D", level_copy),
    level_button(2, ICON_DELETE, "Deletes this level; the levels after it move up.  Hotkey: Ctrl+X",
                 ask_delete_level),
    level_button(3, ICON_LEVEL_EARLIER, "Moves this level one place earlier.  Hotkey: Ctrl+Up", level_earlier),
    level_button(4, ICON_LEVEL_LATER, "Moves this level one place later.  Hotkey: Ctrl+Down", level_later),
};
constexpr int TOOL_BUTTONS = (int)(sizeof BUTTONS / sizeof BUTTONS[0]);

// The label of the power-up preview, which is no button, in GUI units.
static const tool_label PREVIEW_LABEL = {"Powerup", 4.57f, -1.022f};

// A press of each button waiting for the next toolbar frame (one-shot), or held (repeating).
static int pending[TOOL_BUTTONS];
// Steps a held button has made since its press: the repeat speeds up with them.
static int held_steps[TOOL_BUTTONS];

static const char *const MOUSE_HELP =
    "Left button: Places bricks    Right button: Erases bricks    Ctrl+Z: Undo    Ctrl+Y: Redo";

// ---- Swatches, the type list and the colour values ----
// Beside the buttons the toolbar has targets of its own, whose selection codes
// follow the buttons': the palette's swatches under the tool column, the names
// of the type list, and the R, G and B values, which a click opens for typing.

static const float SWATCH_LEFT = TOOL_LEFT, SWATCH_TOP = 0.43f, SWATCH_SIZE = 0.085f, SWATCH_STEP = 0.1f;
static const float TYPE_LEFT = 2.36f, TYPE_RIGHT = 3.0f, TYPE_TOP = -0.615f, TYPE_STEP = 0.08f;
static const float VALUE_LEFT = 4.28f, VALUE_RIGHT = 4.58f;
static const float VALUE_TOP[3] = {-1.32f, -1.47f, -1.62f};   // R, G, B rows, as their buttons
static const float VALUE_HIGH = 0.1f;
enum { TARGET_SWATCH = 0, TARGET_TYPE = PALETTE_SIZE, TARGET_VALUE = TARGET_TYPE + 5, TARGETS = TARGET_VALUE + 3 };

static void chosen_frame(float x1, float y1, float x2, float y2);

int typing_component = -1;   // 0 red, 1 green, 2 blue while its value is typed; -1 otherwise
static char typed[4];        // the digits typed so far

// The area of a target: left, top, right, bottom in GUI units; 0 when it is not there.
static int target_area(int t, float *x1, float *y1, float *x2, float *y2)
{
    if (t < TARGET_TYPE) {
        if (t >= palette_count)
            return 0;
        *x1 = SWATCH_LEFT + (t % 2) * SWATCH_STEP;
        *y1 = SWATCH_TOP - (t / 2) * SWATCH_STEP;
        *x2 = *x1 + SWATCH_SIZE;
        *y2 = *y1 - SWATCH_SIZE;
    } else if (t < TARGET_VALUE) {
        *x1 = TYPE_LEFT;
        *x2 = TYPE_RIGHT;
        *y1 = TYPE_TOP - TYPE_STEP * (t - TARGET_TYPE);
        *y2 = *y1 - TYPE_STEP + 0.005f;
    } else {
        *x1 = VALUE_LEFT;
        *x2 = VALUE_RIGHT;
        *y1 = VALUE_TOP[t - TARGET_VALUE];
        *y2 = *y1 - VALUE_HIGH;
    }
    return 1;
}

// The target at GUI point (x, y); -1 when none.
static int target_at(float x, float y)
{
    float x1, y1, x2, y2;
    for (int t = 0; t < TARGETS; t++)
        if (target_area(t, &x1, &y1, &x2, &y2) && x >= x1 && x <= x2 && y <= y1 && y >= y2)
            return t;
    return -1;
}

static int *const COMPONENTS[3] = {&curr, &curg, &curb};

void finish_typing()
{
    if (typing_component < 0)
        return;
    if (typed[0]) {
        int v = atoi(typed);
        undo_record();
        *COMPONENTS[typing_component] = v > 127 ? 127 : v;
    }
    typing_component = -1;
    typed[0] = 0;
}

int cancel_typing()
{
    if (typing_component < 0)
        return 0;
    typing_component = -1;
    typed[0] = 0;
    return 1;
}

void type_digit(int d)
{
    if (typing_component < 0)
        return;
    size_t n = strlen(typed);
    if (d < 0) {
        if (n > 0)
            typed[n - 1] = 0;
        return;
    }
    if (n + 1 < sizeof typed)
        typed[n] = (char)('0' + d), typed[n + 1] = 0;
}

// A press on a target: a swatch gives its colour, a type name its type, a
// colour value opens for typing.
static void press_target(int t)
{
    finish_typing();
    if (t < TARGET_TYPE) {
        undo_record();
        curr = palette[t][0];
        curg = palette[t][1];
        curb = palette[t][2];
    } else if (t < TARGET_VALUE) {
        guibrick = t - TARGET_TYPE + 1;
        curbrick = brick_selector_map[guibrick];
    } else {
        typing_component = t - TARGET_VALUE;
        typed[0] = 0;
    }
}

// The swatches, each in its colour; the one of the current colour framed.
static void draw_swatches()
{
    load_palette();
    glDisable(GL_TEXTURE_2D);
    float x1, y1, x2, y2;
    for (int t = 0; t < palette_count; t++) {
        target_area(t, &x1, &y1, &x2, &y2);
        glDisable(GL_TEXTURE_2D);   // a frame round the last swatch turned it on
        glColor3f(0.1f, 0.1f, 0.1f);
        glBegin(GL_QUADS);
        glVertex3f(x1 - 0.005f, y1 + 0.005f, Z_ICON);
        glVertex3f(x2 + 0.005f, y1 + 0.005f, Z_ICON);
        glVertex3f(x2 + 0.005f, y2 - 0.005f, Z_ICON);
        glVertex3f(x1 - 0.005f, y2 - 0.005f, Z_ICON);
        glColor3b((GLbyte)palette[t][0], (GLbyte)palette[t][1], (GLbyte)palette[t][2]);
        glVertex3f(x1, y1, Z_ICON);
        glVertex3f(x2, y1, Z_ICON);
        glVertex3f(x2, y2, Z_ICON);
        glVertex3f(x1, y2, Z_ICON);
        glEnd();
        if (palette[t][0] == curr && palette[t][1] == curg && palette[t][2] == curb)
            chosen_frame(x1, y1, x2, y2);
    }
    glEnable(GL_TEXTURE_2D);
}

// Hovered targets select their code and show their help.
static void hover_targets()
{
    int t = target_at(pointerx, -pointery);
    if (t < 0)
        return;
    gui_select = CODE_TOOLBAR + TOOL_BUTTONS + t;
    static char help[96];
    if (t < TARGET_TYPE)
        snprintf(help, sizeof help, "Palette: color %d, %d, %d.", palette[t][0], palette[t][1], palette[t][2]);
    else if (t < TARGET_VALUE)
        snprintf(help, sizeof help, "Puts down %s bricks.  Hotkeys: Up and Down arrow keys",
                 BRICK_TYPE_TABLE[brick_selector_map[t - TARGET_TYPE + 1]].name);
    else
        snprintf(help, sizeof help, "Click and type a value from 0 to 127, then Enter.");
    infobar(help);
}

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

// ---- Presses ----

int toolbar_areas(float (*out)[4], int max)
{
    int n = 0;
    for (int k = 0; k < TOOL_BUTTONS && n < max; k++, n++) {
        const tool_button &b = BUTTONS[k];
        out[n][0] = b.x1, out[n][1] = b.y_top, out[n][2] = b.x2, out[n][3] = b.y_bottom;
    }
    for (int t = 0; t < TARGETS && n < max; t++)
        if (target_area(t, &out[n][0], &out[n][1], &out[n][2], &out[n][3]))
            n++;
    return n;
}

int toolbar_code(float x, float y)
{
    for (int k = 0; k < TOOL_BUTTONS; k++) {
        const tool_button &b = BUTTONS[k];
        if (x >= b.x1 && x <= b.x2 && y >= b.y_bottom && y <= b.y_top)
            return CODE_TOOLBAR + k;
    }
    int t = target_at(x, y);
    return t >= 0 ? CODE_TOOLBAR + TOOL_BUTTONS + t : 0;
}

int toolbar_press(int code)
{
    int k = code - CODE_TOOLBAR;
    if (k >= TOOL_BUTTONS && k < TOOL_BUTTONS + TARGETS) {
        press_target(k - TOOL_BUTTONS);
        play_click();
        return 1;
    }
    if (k < 0 || k >= TOOL_BUTTONS)
        return 0;
    finish_typing();
    if (BUTTONS[k].lag == &colorlag)
        undo_record();   // the steps of one hold are one change
    if (BUTTONS[k].at_press)
        BUTTONS[k].at_press();
    else
        pending[k] = 1;
    held_steps[k] = 0;
    if (BUTTONS[k].click)
        play_click();
    return 1;
}

int toolbar_pressed(int code)
{
    int k = code - CODE_TOOLBAR;
    return k >= 0 && k < TOOL_BUTTONS && pending[k];
}

void toolbar_release()
{
    for (int k = 0; k < TOOL_BUTTONS; k++)
        if (BUTTONS[k].step && pending[k]) {
            pending[k] = 0;
            *BUTTONS[k].lag = BUTTONS[k].release_lag;
        }
}

// ---- Drawing ----

// A yellow frame round the tool in use.
static void chosen_frame(float x1, float y1, float x2, float y2)
{
    glDisable(GL_TEXTURE_2D);
    glColor4f(1.0f, 0.85f, 0.2f, 1.0f);
    glLineWidth(2.0f);
    glBegin(GL_LINE_LOOP);
    glVertex3f(x1 - 0.01f, y1 + 0.01f, Z_ICON);
    glVertex3f(x2 + 0.01f, y1 + 0.01f, Z_ICON);
    glVertex3f(x2 + 0.01f, y2 - 0.01f, Z_ICON);
    glVertex3f(x1 - 0.01f, y2 - 0.01f, Z_ICON);
    glEnd();
    glLineWidth(1.0f);
    glEnable(GL_TEXTURE_2D);
    glColor4f(DIM, DIM, DIM, 1);
}

// The buttons, lit under the pointer, which also selects one and shows its help.
static void draw_buttons()
{
    for (int k = 0; k < TOOL_BUTTONS; k++) {
        const tool_button &b = BUTTONS[k];
        if (pointer_over(b.x1, b.y_top, b.x2, b.y_bottom)) {
            glColor4f(1, 1, 1, 1);
            gui_select = CODE_TOOLBAR + k;
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
        if (b.chosen && *b.chosen == b.chosen_value)
            chosen_frame(b.x1, b.y_top, b.x2, b.y_bottom);
    }
}

// Prints small-font text at a translation from the identity.
static void label(float x, float y, const char *text)
{
    glLoadIdentity();
    glTranslatef(x, y, -10.0f);
    glsPrint("%s", text);
}

// A label line, from its origin in GUI units: small-font text is printed from
// the identity at z -10 and lies ten times as far as the GUI plane, whose
// frame is shifted by FIELD_SHIFT.
static void gui_label(const tool_label &l)
{
    if (l.text)
        label((l.x + FIELD_SHIFT) * 10.0f, l.y * 10.0f, l.text);
}

// Button labels, the type list with the current type in red, and the brick count.
static void draw_labels()
{
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    for (const tool_button &b : BUTTONS)
        for (const tool_label &l : b.labels)
            gui_label(l);
    gui_label({powerup_table[curpup].name, PREVIEW_LABEL.x, PREVIEW_LABEL.y});
    for (int p = 1; p <= 5; p++) {
        if (p == guibrick)
            glColor3f(1.0f, 0.2f, 0.2f);
        else
            glColor3f(1, 1, 1);
        label(-6.2f, -6.8f - 0.8f * (p - 1), BRICK_TYPE_TABLE[brick_selector_map[p]].name);
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

// The frames between steps of a held button: its group's own at first, then
// halved after every ACCELERATE_STEPS steps, down to one step a frame.
static const int ACCELERATE_STEPS = 4;
int held_repeat(int repeat, int steps)
{
    int halvings = steps / ACCELERATE_STEPS;
    int frames = halvings >= 8 ? 1 : repeat >> halvings;
    return frames < 1 ? 1 : frames;
}

// The actions raised by presses since the last frame, and the steps of a held
// button, in the buttons' order.
static void pending_actions()
{
    for (int k = 0; k < TOOL_BUTTONS; k++) {
        const tool_button &b = BUTTONS[k];
        if (!pending[k])
            continue;
        if (b.step) {
            if (repeat_due(b.lag, held_repeat(b.repeat, held_steps[k]))) {
                b.step(b.dir);
                held_steps[k]++;
            }
            continue;
        }
        pending[k] = 0;
        b.action();
    }
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
    if (level_unsaved()) {
        glColor4f(1.0f, 1.0f, 0.4f, 1.0f);
        label(-1.2f, -12.3f, "(not saved)");
        glColor4f(1, 1, 1, 1);
    }
    label(14.5f, -12.3f, "Color Editor");

    gui_frame();
    glEnable(GL_TEXTURE_2D);
    gui_block = 0;
    glEnable(GL_BLEND);
    draw_buttons();
    draw_swatches();
    if (gui_select == 0)
        hover_targets();
    gui_frame();
    draw_labels();
    draw_previews();
    pending_actions();

    glDisable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    char line[16];
    const struct { const char *format; int value; float y; } rgb_lines[3] = {
        {"R:%d", curr, -14.1f}, {"G:%d", curg, -15.6f}, {"B:%d", curb, -16.95f},
    };
    for (int i = 0; i < 3; i++) {
        const auto &l = rgb_lines[i];
        if (i == typing_component) {
            glColor4f(1.0f, 0.85f, 0.2f, 1.0f);
            snprintf(line, sizeof line, "%c:%s_", "RGB"[i], typed);
        } else {
            snprintf(line, sizeof line, l.format, l.value);
        }
        label(13.0f, l.y, line);
        glColor4f(1, 1, 1, 1);
    }
    if (gui_select == 0)
        infobar(MOUSE_HELP);
    gui_frame();
}
