// The title screen: the title picture with its fade in and slide out, the
// main menu's six icons and labels, and the overlays opened from it.

#include <GL/gl.h>

#include "editor/editor.h"
#include "graphics/graphics.h"
#include "menus.h"
#include "shell/shell.h"

// ---- Constants ----

static const float FADE_STEP = 0.01f;      // title alpha per frame: 101 frames either way
static const float SLIDE_STEP = 0.009f;    // the picture slides left while fading out
static const float TITLE_REST_X = 2.7245f;
static const float TITLE_W = 0.551f, TITLE_H = 0.42f, TITLE_Z = -0.5f;  // fills a 4:3 view

static const float ICON_LEFT = 1.675f, ICON_PITCH = 0.5f, ICON_SIZE = 0.25f;
static const float ICON_TOP = -0.3f, ICON_BOTTOM = -0.55f;

enum { ITEM_PLAY = 1, ITEM_LOAD, ITEM_EDIT, ITEM_SCORES, ITEM_EXIT, ITEM_HELP };

// The menu items left to right: icon slot in `ticon` and the item's code.
static const struct { int icon, code; } MENU_ITEMS[6] = {
    {17, ITEM_PLAY}, {11, ITEM_LOAD}, {6, ITEM_EDIT}, {9, ITEM_SCORES}, {1, ITEM_HELP}, {7, ITEM_EXIT},
};

// Small-font labels under the icons, placed from the identity at z 0.
static const struct { const char *text; float x, y; } MENU_LABELS[] = {
    {"Play", -10.45f, -5.3f},
    {"Load", -6.58f, -5.3f}, {"Levels", -6.83f, -6.1f},
    {"Edit", -2.35f, -5.3f}, {"Levels", -2.8f, -6.1f},
    {"High", 1.5f, -5.3f}, {"Scores", 1.05f, -6.1f},
    {"Help", 5.45f, -5.3f},
    {"Exit", 9.6f, -5.3f},
};

// ---- Globals ----

int selected;
int item_select;
float title_alpha;
float titlex = TITLE_REST_X;
int scene_shortcuts = 1;

// ---- Title picture ----

// The picture keeps its 4:3 shape on every view, as the play field does;
// on a wider view black bars fill the sides, so no game scene shows beside
// an opaque title. The bars fade and slide with the picture.
void title_quad(unsigned texture)
{
    static const float BAR = 2.0f;   // wider than any view's side at the picture's depth
    float left = titlex, right = titlex + TITLE_W, top = TITLE_H * 0.5f, bottom = -TITLE_H * 0.5f;
    glBindTexture(GL_TEXTURE_2D, texture);
    tex_quad(left, top, right, bottom, TITLE_Z);
    if (!(screenx > 0 && screeny > 0 && screenx * 3 > screeny * 4))
        return;
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    GLboolean textured = glIsEnabled(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_2D);
    glColor4f(0.0f, 0.0f, 0.0f, colour[3]);
    glBegin(GL_QUADS);
    for (float x : {left - BAR, right}) {
        glVertex3f(x, top, TITLE_Z);
        glVertex3f(x + BAR, top, TITLE_Z);
        glVertex3f(x + BAR, bottom, TITLE_Z);
        glVertex3f(x, bottom, TITLE_Z);
    }
    glEnd();
    glColor4fv(colour);
    if (textured)
        glEnable(GL_TEXTURE_2D);
}

// One frame of whichever fade runs.
static void step_fades()
{
    if (fade_running() == FADE_IN) {
        titlex = TITLE_REST_X;
        title_alpha += FADE_STEP;
        bar_alpha -= FADE_STEP;
        if (title_alpha >= 1.0f) {
            title_alpha = 1.0f;
            glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
            fade_in_finished();
        }
    }
    if (fade_running() == FADE_OUT) {
        titlex -= SLIDE_STEP;
        title_alpha -= FADE_STEP;
        bar_alpha += FADE_STEP;
        if (title_alpha <= 0.0f) {
            title_alpha = 0.0f;
            glColor4f(0.0f, 0.0f, 0.0f, 0.0f);
            fade_out_finished();
        }
    }
}

// The new high-score row's highlight fades out after the table is closed.
static void step_highscore_fade()
{
    if (!fadehs)
        return;
    if (hs_sequence == 0) {
        fadehs = 0;
        return;
    }
    hsfade -= 0.006f;
    if (hsfade < 0.0f) {
        fadehs = 0;
        hsfade = 1.0f;
        hs_sequence = 0;
    }
}

// Prints one line in the large font at a translation from the identity.
static void title_text(const char *text, float x, float y)
{
    glLoadIdentity();
    glTranslatef(x, y, -40.0f);
    glPrint("%s", text);
}

int title_covers_view()
{
    return title_up() && fade_running() == FADE_NONE && title_alpha >= 1.0f;
}

// The texts of the title layer at the current alpha.
static void title_texts()
{
    float a = title_alpha;
    glEnable(GL_BLEND);
    glColor4f(a, a, a, a);
    title_text("Left Mouse Button: Release ball", -6.5f, -0.2f);
    title_text("Right Mouse Button: Pause game", -6.8f, -1.2f);
    title_text("Version " CORVALE_VERSION, 14.8f, -16.2f);
    menu_labels();
}

// The title at rest: the unchanging layer (picture, help lines, version, menu
// labels) from the view layer (drawn and kept first when the layer holds
// something else or the view has changed), then the menu icons over it.
static void render_title_at_rest()
{
    GLint view[4];
    glGetIntegerv(GL_VIEWPORT, view);
    int rect[4] = {view[0], view[1], view[2], view[3]};
    if (!kept_for(view_layer, rect, LAYER_TITLE)) {
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        title_quad(textures[TEX_TITLE]);
        // The texts are printed in the state the menu icons leave behind.
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        title_texts();
        keep_pixels(view_layer, rect, LAYER_TITLE);
    } else {
        draw_kept(view_layer);
    }
    draw_menu();
    glEnable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    gui_frame();
}

void render_title()
{
    if (scene_shortcuts && title_covers_view()) {
        gui_frame();
        glEnable(GL_BLEND);
        glEnable(GL_TEXTURE_2D);
        render_title_at_rest();
    } else {
        float a = title_alpha;
        gui_frame();
        glEnable(GL_BLEND);
        glEnable(GL_TEXTURE_2D);
        glColor4f(a, a, a, a);
        title_quad(textures[TEX_TITLE]);

        step_fades();
        draw_menu();
        title_texts();
    }

    step_highscore_fade();

    switch (screen_up()) {
    case SCREEN_SCORE_NAME: hsnotify(); break;
    case SCREEN_SCORES: display_scores(); break;
    case SCREEN_OPTIONS: play_options(); break;
    case SCREEN_HELP: showhelp(); break;
    case SCREEN_CREDITS: show_credits(); break;
    default: break;
    }
}

// ---- Main menu ----

void draw_menu()
{
    float a = title_alpha;
    gui_frame();
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    item_select = 0;
    int hovered_code = 0;
    for (int k = 0; k < 6; k++) {
        float x1 = ICON_LEFT + ICON_PITCH * k, x2 = x1 + ICON_SIZE;
        int key = FOCUS_MENU_ITEM + MENU_ITEMS[k].code;
        int hovered = !menublock && control_lit(x1, ICON_TOP, x2, ICON_BOTTOM, key);
        if (hovered) {
            glColor4f(a, a, a, a);
            hovered_code = MENU_ITEMS[k].code;
            item_select = 1;
            if (hovered_code == ITEM_EDIT)
                classic = 0;  // the editor works on the textured look
        } else {
            glColor4f(a, a, a, a - 0.15f);
        }
        glBindTexture(GL_TEXTURE_2D, ticon[MENU_ITEMS[k].icon]);
        tex_quad(x1, ICON_TOP, x2, ICON_BOTTOM, -5.0f);
    }
    selected = hovered_code;
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void menu_labels()
{
    float a = title_alpha;
    glEnable(GL_BLEND);
    glColor4f(a, a, a, a);
    for (const auto &label : MENU_LABELS) {
        glLoadIdentity();
        glTranslatef(label.x, label.y, 0.0f);
        glsPrint("%s", label.text);
    }
    gui_frame();
}

void menu_escape()
{
    if (notice_shown()) {
        GUI_OK = 1;   // the notice is over every screen: its OK
        return;
    }
    switch (screen_up()) {
    case SCREEN_OPTIONS:
    case SCREEN_BROWSER:
    case SCREEN_HELP:
    case SCREEN_SCORES:
        GUI_CANCEL = 1;
        break;
    case SCREEN_SCORE_NAME:
        GUI_OK = 1;   // the name as typed so far is taken
        break;
    case SCREEN_CREDITS:
        close_screen();
        menublock = 0;
        gui_select = 0;
        break;
    default:
        break;
    }
}
