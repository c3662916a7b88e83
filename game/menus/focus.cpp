// The keyboard focus of the menus: the controls a frame drew, which of them
// the arrow keys have chosen, its outline, and Enter's press on it. Moving the
// mouse hands the choice back to the pointer.

#include <GL/gl.h>

#include <cmath>

#include "graphics/graphics.h"
#include "menus.h"
#include "shell/shell.h"

// ---- Constants ----

static const int MAX_CONTROLS = 32;          // far more than any screen shows
static const float OUTLINE_GAP = 0.025f;     // the outline's distance from the control, GUI units
static const float OUTLINE_WIDTH = 3.0f;     // pixels
static const float ACROSS_WEIGHT = 2.0f;     // a step sideways counts this much against a candidate

// ---- Types and globals ----

struct control {
    float left, top, right, bottom;   // GUI frame, top > bottom
    int key;                          // its code, or a menu item's FOCUS_MENU_ITEM + code
};

int focus_on;
int focus_key;

static control drawing[MAX_CONTROLS];   // the controls of the frame being drawn
static int drawing_count;
static control shown[MAX_CONTROLS];     // the controls of the last frame finished
static int shown_count;

// ---- Registering the controls of a frame ----

void focus_new_layer()
{
    drawing_count = 0;
}

int control_lit(float left, float top, float right, float bottom, int key)
{
    if (drawing_count < MAX_CONTROLS)
        drawing[drawing_count++] = {left, top, right, bottom, key};
    if (focus_on && !screen_is(SCREEN_EDITOR))
        return key == focus_key;
    return pointer_over(left, top, right, bottom);
}

// The control of the last frame with this key; null when none.
static const control *shown_control(int key)
{
    for (int n = 0; n < shown_count; n++)
        if (shown[n].key == key)
            return &shown[n];
    return nullptr;
}

// The control a screen offers first: Play, else OK, else the first that is
// not Cancel, else the first; 0 when the screen has none.
static int default_key()
{
    for (int want : {(int)CODE_PLAY, FOCUS_MENU_ITEM + 1, (int)CODE_OK})
        if (shown_control(want))
            return want;
    for (int n = 0; n < shown_count; n++)
        if (shown[n].key != CODE_CANCEL)
            return shown[n].key;
    return shown_count ? shown[0].key : 0;
}

// The focus on a control the last frame showed, when it has one.
static void keep_focus_shown()
{
    if (!shown_control(focus_key))
        focus_key = default_key();
}

// The outline around the focused control.
static void draw_outline(const control &c)
{
    gui_frame();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glLineWidth(OUTLINE_WIDTH);
    glColor4f(1.0f, 0.85f, 0.2f, 1.0f);
    float l = c.left - OUTLINE_GAP, r = c.right + OUTLINE_GAP;
    float t = c.top + OUTLINE_GAP, b = c.bottom - OUTLINE_GAP;
    glBegin(GL_LINE_LOOP);
    glVertex3f(l, t, -5.0f);
    glVertex3f(r, t, -5.0f);
    glVertex3f(r, b, -5.0f);
    glVertex3f(l, b, -5.0f);
    glEnd();
    glLineWidth(1.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void focus_frame_done()
{
    for (int n = 0; n < drawing_count; n++)
        shown[n] = drawing[n];
    shown_count = drawing_count;
    drawing_count = 0;
    if (!focus_on)
        return;
    keep_focus_shown();
    if (const control *c = shown_control(focus_key))
        draw_outline(*c);
}

// ---- The keys' choice ----

void focus_move(int dx, int dy)
{
    int was_on = focus_on;
    focus_on = 1;
    const control *from = shown_control(focus_key);
    if (!was_on || !from) {
        keep_focus_shown();
        return;
    }
    float fx = (from->left + from->right) * 0.5f, fy = (from->top + from->bottom) * 0.5f;
    float best = 0;
    int best_key = focus_key;
    for (int n = 0; n < shown_count; n++) {
        const control &c = shown[n];
        float ex = (c.left + c.right) * 0.5f - fx, ey = (c.top + c.bottom) * 0.5f - fy;
        float along = ex * (float)dx + ey * (float)dy;
        float across = dx ? std::fabs(ey) : std::fabs(ex);
        if (along <= 0.01f)
            continue;
        float score = along + ACROSS_WEIGHT * across;
        if (best_key == focus_key || score < best) {
            best = score;
            best_key = c.key;
        }
    }
    focus_key = best_key;
}

int focus_press()
{
    focus_on = 1;
    keep_focus_shown();
    if (!shown_control(focus_key))
        return 0;
    if (focus_key > FOCUS_MENU_ITEM && focus_key < FOCUS_ROW) {
        selected = focus_key - FOCUS_MENU_ITEM;
        gui_select = 0;
    } else {
        selected = 0;
        gui_select = focus_key % FOCUS_ROW;
    }
    return 1;
}

void focus_to_pointer()
{
    focus_on = 0;
}
