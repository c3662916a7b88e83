// The framed GUI panel with its OK and Cancel buttons, the text field of the
// text dialogs, the help bar and the editor's one-message panels.

#include <GL/gl.h>

#include <cstdio>
#include <cstring>

#include "editor/editor.h"
#include "graphics/graphics.h"
#include "menus.h"
#include "shell/shell.h"

// ---- Constants ----

static const float BAR_HEIGHT = 0.1f;      // title bar and tab height
static const float BUTTON_SIZE = 0.12f;    // OK and Cancel squares
static const float BUTTON_DROP = 0.07f;    // buttons sit this far below y1
static const float Z_BODY = -5.0f, Z_FRAME = -5.01f;


// How each style looks; a button offset of 0 means the style has no such button.
struct panel_style {
    float frame[3];       // frame and tab colour
    int gradient;         // body shaded from black (y1) to grey (y2), else flat white
    int title_bar;        // a coloured title bar under the top edge
    float bar_top[3];     // title bar colour on the y1 edge
    float bar_bottom[3];  // title bar colour on its lower edge
    int textured_title;   // title printed with the grid-cell texture bound
    float ok_dx;          // OK's left edge at x2 - ok_dx
    float cancel_dx;      // Cancel's left edge at x2 - cancel_dx
};

static const panel_style STYLES[6] = {
    {},
    // 1: confirmations and text-entry dialogs
    {{0, 0, 0}, 0, 0, {}, {}, 1, 0.38f, 0.25f},
    // 2: editor toolbar and its sub-panels
    {{1, 1, 1}, 1, 1, {0.7f, 0.7f, 0.7f}, {0.2f, 0.7f, 0.7f}, 0, 0, 0},
    // 3: the music status bar
    {{1, 1, 1}, 1, 1, {0.5f, 0.6f, 1.0f}, {0.0f, 0.1f, 0.5f}, 0, 0, 0},
    // 4: one-message panels and the high-score name entry
    {{0, 0, 0}, 0, 0, {}, {}, 1, 0.25f, 0},
    // 5: full-screen lists
    {{0.7f, 0.7f, 0.7f}, 1, 0, {}, {}, 1, 0, 0.25f},
};

// ---- Globals ----

int gui_select;
int GUI_OK, GUI_CANCEL, GUI_EDCLASSIC, GUI_DISCARD, GUI_LEVEL, GUI_DIFF, GUI_PLAY, GUI_CONTINUE, GUI_WATCH;
int GUI_PREVIEW_PREV, GUI_PREVIEW_NEXT;

// Each panel control code with the request it raises.
static const struct { int code; int *request; } REQUESTS[] = {
    {CODE_OK, &GUI_OK}, {CODE_CANCEL, &GUI_CANCEL}, {CODE_CLASSIC, &GUI_EDCLASSIC},
    {CODE_DISCARD, &GUI_DISCARD}, {CODE_LEVEL, &GUI_LEVEL}, {CODE_DIFF, &GUI_DIFF},
    {CODE_PLAY, &GUI_PLAY}, {CODE_CONTINUE, &GUI_CONTINUE}, {CODE_WATCH, &GUI_WATCH},
    {CODE_PREVIEW_PREV, &GUI_PREVIEW_PREV}, {CODE_PREVIEW_NEXT, &GUI_PREVIEW_NEXT},
};

int *gui_request(int code)
{
    for (const auto &r : REQUESTS)
        if (r.code == code)
            return r.request;
    return nullptr;
}


// ---- Drawing helpers ----

void tex_quad(float x1, float y1, float x2, float y2, float z)
{
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0); glVertex3f(x1, y1, z);
    glTexCoord2f(1, 0); glVertex3f(x2, y1, z);
    glTexCoord2f(1, 1); glVertex3f(x2, y2, z);
    glTexCoord2f(0, 1); glVertex3f(x1, y2, z);
    glEnd();
}

// An untextured quad in one colour.
static void flat_quad(float x1, float y1, float x2, float y2, float z, const float *rgb)
{
    glColor4f(rgb[0], rgb[1], rgb[2], 1.0f);
    glBegin(GL_QUADS);
    glVertex3f(x1, y1, z);
    glVertex3f(x2, y1, z);
    glVertex3f(x2, y2, z);
    glVertex3f(x1, y2, z);
    glEnd();
}

// An untextured quad shaded from `top` on the y1 edge to `bottom` on the y2 edge.
static void shaded_quad(float x1, float y1, float x2, float y2, float z, const float *top, const float *bottom)
{
    glBegin(GL_QUADS);
    glColor4f(top[0], top[1], top[2], 1.0f);
    glVertex3f(x1, y1, z);
    glVertex3f(x2, y1, z);
    glColor4f(bottom[0], bottom[1], bottom[2], 1.0f);
    glVertex3f(x2, y2, z);
    glVertex3f(x1, y2, z);
    glEnd();
}

int pointer_over(float left, float top, float right, float bottom)
{
    return left <= pointerx && pointerx <= right && bottom <= -pointery && -pointery <= top;
}

int lit_button(float x, float y, float size, float z, GLuint icon, int code, const float unlit[4], int row)
{
    int hovered = control_lit(x, y, x + size, y - size, FOCUS_ROW * row + code);
    if (hovered) {
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        gui_select = code;
    } else {
        glColor4fv(unlit);
    }
    glBindTexture(GL_TEXTURE_2D, icon);
    tex_quad(x, y, x + size, y - size, z);
    return hovered;
}

// One button with its top-left corner at (bx, by); lit and selected under the pointer.
static void panel_button(float bx, float by, GLuint icon, int code, int clears_when_away)
{
    static const float UNLIT[4] = {0.7f, 0.7f, 0.7f, 0.7f};
    if (!lit_button(bx, by, BUTTON_SIZE, Z_BODY, icon, code, UNLIT) && clears_when_away)
        gui_select = 0;
}

// ---- Panel ----

// The second text is the caller's message, which the caller prints itself.
void gui_win(float x1, float y1, float x2, float y2, const char *title, const char *, int style)
{
    if (style < 1 || style > 5)
        return;
    const panel_style &s = STYLES[style];
    static const float WHITE[3] = {1, 1, 1};
    static const float SHADE_TOP[3] = {0, 0, 0}, SHADE_BOTTOM[3] = {0.3f, 0.3f, 0.3f};

    gui_block = 1;
    focus_new_layer();
    gui_frame();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);

    flat_quad(x1 - PANEL_BORDER, y1 + PANEL_BORDER, x2 + PANEL_BORDER, y2 - PANEL_BORDER, Z_FRAME, s.frame);
    if (s.gradient)
        shaded_quad(x1, y1, x2, y2, Z_BODY, SHADE_TOP, SHADE_BOTTOM);
    else
        flat_quad(x1, y1, x2, y2, Z_BODY, WHITE);
    if (s.title_bar)
        shaded_quad(x1, y1, x2, y1 - BAR_HEIGHT, Z_FRAME, s.bar_top, s.bar_bottom);

    // The slanted tab on the top-left corner.
    glColor4f(s.frame[0], s.frame[1], s.frame[2], 1.0f);
    glBegin(GL_QUADS);
    glVertex3f(x1 - PANEL_BORDER, y1 + PANEL_BORDER, Z_FRAME);
    glVertex3f(x1 + 0.3f, y1 + PANEL_BORDER, Z_FRAME);
    glVertex3f(x1 + 0.2f, y1 - BAR_HEIGHT, Z_FRAME);
    glVertex3f(x1 - PANEL_BORDER, y1 - BAR_HEIGHT, Z_FRAME);
    glEnd();

    // The title lands inside a panel along the bottom of the view (the status bar).
    glLoadIdentity();
    if (s.textured_title) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, textures[TEX_EDITOR]);
    }
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glTranslatef(x1 - 19.8f, y1 - 14.22f, -5.0f);
    glsPrint("%s", title ? title : "");

    glEnable(GL_TEXTURE_2D);
    gui_frame();
    if (s.ok_dx > 0)
        panel_button(x2 - s.ok_dx, y1 - BUTTON_DROP, ticon[ICON_OK], CODE_OK, style == 5);
    if (s.cancel_dx > 0)
        panel_button(x2 - s.cancel_dx, y1 - BUTTON_DROP, ticon[ICON_CANCEL], CODE_CANCEL, style == 5);
    glDisable(GL_BLEND);
}

// ---- Text field ----

// Drawn by a text dialog after its panel, with the caret in this frame's phase.
void text_field(const char *prompt)
{
    static const float BLACK[3] = {0, 0, 0}, WHITE[3] = {1, 1, 1};
    gui_frame();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    flat_quad(1.44f, 0.66f, 4.56f, 0.49f, Z_BODY, BLACK);
    flat_quad(1.45f, 0.65f, 4.55f, 0.5f, Z_BODY, WHITE);

    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    glTranslatef(-8.0f, 7.3f, -5.0f);
    glsPrint("%s", prompt ? prompt : "");

    glLoadIdentity();
    glTranslatef(-15.1f, 5.5f, -10.0f);
    caret_step();
    caret_in_view = 1;
    if (caret_on)
        glsPrint("%s|", buffer);
    else
        glsPrint("%s", buffer);
    gui_frame();
}

void caret_step()
{
    carat++;
    caret_on = carat > 14;
    if (carat >= 30)
        carat = 0;
}

int caret_next_on()
{
    return carat + 1 > 14;
}

// ---- Help bar ----

void infobar(const char *text)
{
    glLoadIdentity();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glTranslatef(-20.0f, -19.5f, -10.0f);
    glsPrint("Info: %s", text ? text : "");
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    gui_frame();
}

// ---- One-message panels ----

// A style 4 panel with a black message; returns 1 on the frame its OK is taken.
// The message is placed after the panel's transform, or from the identity.
static int message_panel(float x1, float x2, const char *message, float tx, float ty, float tz, int from_identity)
{
    gui_win(x1, 0.9f, x2, 0.65f, " ", message, 4);
    glDisable(GL_TEXTURE_2D);
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    if (from_identity)
        glLoadIdentity();
    glTranslatef(tx, ty, tz);
    glsPrint("%s", message);
    gui_frame();
    if (!GUI_OK)
        return 0;
    GUI_OK = 0;
    gui_block = 0;
    return 1;
}

int show_blank()
{
    menublock = 1;
    if (!message_panel(1.4f, 4.6f, "There are no bricks in this level.", -8.0f, 7.3f, -5.0f, 0))
        return 0;
    menublock = 0;
    return 1;
}

int l_saved()
{
    return message_panel(1.8f, 4.2f, "Level saved.", -10.3f, 6.3f, -6.0f, 1);
}

int level_saved()
{
    return message_panel(1.8f, 4.2f, "Level set created.", -10.3f, 6.3f, -6.0f, 1);
}

// ---- Notices: a message of up to two lines, kept until its OK is pressed ----

char notice[192];

void show_notice(const char *text)
{
    snprintf(notice, sizeof notice, "%s", text ? text : "");
}

int notice_shown()
{
    return notice[0] != 0;
}

void draw_notice()
{
    if (!notice_shown())
        return;
    char lines[2][sizeof notice];
    const char *br = strchr(notice, '\n');
    snprintf(lines[0], sizeof lines[0], "%.*s", br ? (int)(br - notice) : (int)sizeof notice, notice);
    snprintf(lines[1], sizeof lines[1], "%s", br ? br + 1 : "");
    int two = lines[1][0] != 0;
    menublock = 1;
    gui_win(1.0f, 0.9f, 5.0f, two ? 0.5f : 0.65f, " ", notice, 4);
    glDisable(GL_TEXTURE_2D);
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    for (int n = 0; n <= two; n++) {
        glLoadIdentity();
        glTranslatef(-14.4f, 6.8f - 1.1f * n, -5.0f);
        glsPrint("%s", lines[n]);
    }
    gui_frame();
    if (keys[VK_RETURN]) {   // Enter is a one-message panel's OK
        keys[VK_RETURN] = 0;
        GUI_OK = 1;
    }
    if (!GUI_OK)
        return;
    GUI_OK = 0;
    gui_block = 0;
    menublock = 0;
    notice[0] = 0;
}
