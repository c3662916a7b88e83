// The game's image files and the slots they load into: the fixed images,
// power-up icons, GUI icons, visibility overlays, brick textures and backgrounds.

#include <GL/glu.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "files.h"
#include "graphics.h"
#include "rules/rules.h"
#include "shell/shell.h"

// One fixed image and the slot of its table.
struct image_file {
    int slot;
    const char *path;
    int transparent;
};

static const image_file texture_files[] = {
    {TEX_EDITOR, "graphics/ed.png", 0},
    {TEX_PADDLE, "paddles/p1.png", 0},
    {TEX_FIRE, "graphics/fire.png", 0},
    {TEX_POINTER, "graphics/pointer.png", 1},
    {TEX_BALL, "graphics/ball.png", 1},
    {TEX_GLOW, "graphics/glow.png", 1},
    {TEX_WALLS, "graphics/walls.png", 0},
};

// The end screen's picture, loaded when it is first shown.
static const char *const CREDITS_FILE = "graphics/credits.png";
static int credits_state;  // 0 not tried yet, 1 loaded, -1 could not be loaded

// The pictures that fill the view, title and end screen: each is uploaded at
// the size the view shows it at (at most its own), since a larger texture only
// costs memory and minifying. The title's quad is 1.014 times the view's height.
struct view_picture {
    const char *path;
    int slot;
    int shown_w, shown_h;        // the shown size it was uploaded for; 0 = not loaded
    int uploaded_w, uploaded_h;  // the texture's size
};
static view_picture title_picture = {"graphics/title1280.png", 1, 0, 0, 0, 0};
static view_picture credits_picture = {CREDITS_FILE, 14, 0, 0, 0, 0};
static const double PICTURE_OVER_VIEW = 1.014;

// The size a view-filling picture is shown at in the current viewport: the
// 4:3 picture at the view's height, also in wider views (between bars there).
static void shown_size(int *w, int *h)
{
    GLint view[4];
    glGetIntegerv(GL_VIEWPORT, view);
    int wide = view[3] * 4 / 3;   // shown 4:3 on every view, between bars on a wider one
    *w = (int)ceil(wide * PICTURE_OVER_VIEW);
    *h = (int)ceil(view[3] * PICTURE_OVER_VIEW);
}

// Loads a view-filling picture at its shown size; 0 when it cannot be read.
static int load_view_picture(view_picture &p)
{
    int w, h;
    shown_size(&w, &h);
    if (!read_png_shown(p.path, p.slot, w, h, &p.uploaded_w, &p.uploaded_h))
        return 0;
    p.shown_w = w;
    p.shown_h = h;
    return 1;
}


// The editor's overlays over Invisible, 2 Hit and 3 Hit bricks.
static const char *const visible_files[4] = {
    nullptr, "graphics/buttons/visible.png", "graphics/buttons/visible2.png",
    "graphics/buttons/visible3.png",
};

static const int BRICK_FILES_MAX = 511;   // etexname holds bricks 1..511
static const int BACKGROUNDS_MAX = 99;    // backtex holds backgrounds 1..99

// 1 when the file is a regular file that can be opened for reading.
static int file_opens(const char *path)
{
    FILE *f = open_regular_file(path);
    if (!f)
        return 0;
    fclose(f);
    return 1;
}

void load_bricks()
{
    texmax = load_brick_files(etexname, BRICK_FILES_MAX);
}

// The power-up icons are shown at most 0.3 units across at depth 5 (on the
// help page and the editor's toolbar; falling, 0.25), under the 45-degree view.
static const double POWERUP_SHOWN_MOST = 0.3, POWERUP_DEPTH = 5.0;
static int powerups_shown;  // the widest the icons were loaded for, in pixels; 0 = not loaded

// The widest a power-up icon is shown in the current viewport, in pixels, rounded up.
static int powerup_shown_size()
{
    GLint view[4];
    glGetIntegerv(GL_VIEWPORT, view);
    double units_high = 2.0 * POWERUP_DEPTH * tan(22.5 * M_PI / 180.0);
    return (int)ceil(POWERUP_SHOWN_MOST * view[3] / units_high);
}

int puploader()
{
    int shown = powerup_shown_size();
    powerups_shown = 0;
    for (int kind = 1; kind <= 17; kind++) {
        char path[128];
        snprintf(path, sizeof path, "graphics/powerups/%s.png", powerup_table[kind].icon);
        if (!read_png_reduced(path, TABLE_PUPTEXTURES, kind, shown))
            return 0;
    }
    powerups_shown = shown;
    return 1;
}

// Only the background in use is kept as a texture; the others wait on disk.
static int background_uploaded;  // number of the background in backtex, 0 = none

// The file of background k.
static void background_path(int k, char *path, size_t size)
{
    snprintf(path, size, "graphics/backgrounds/bg%d.png", k);
}

int load_backgrounds()
{
    int ok = 1;
    int k;
    background_uploaded = 0;
    for (k = 1; k <= BACKGROUNDS_MAX; k++) {
        char path[64];
        background_path(k, path, sizeof path);
        if (!file_opens(path))
            break;
        if (!check_png_file(path)) {
            ok = 0;
            break;
        }
    }
    backmax = k - 1;
    // With no background there is nothing to pick: 0 means none is drawn.
    backnum = backmax > 0 ? randn(backmax) : 0;
    return ok;
}

int bind_background(int k)
{
    if (k < 1 || k > backmax)
        return 0;
    if (background_uploaded != k) {
        // The one in use gives its storage back: a fresh name has none.
        if (background_uploaded) {
            glDeleteTextures(1, &backtex[background_uploaded]);
            glGenTextures(1, &backtex[background_uploaded]);
        }
        background_uploaded = 0;
        char path[64];
        background_path(k, path, sizeof path);
        if (!read_png_file(path, 0, TABLE_BACKTEX, k))
            return 0;
        background_uploaded = k;
    }
    glBindTexture(GL_TEXTURE_2D, backtex[k]);
    return 1;
}

int load_textures()
{
    load_bricks();
    if (!load_view_picture(title_picture))
        return 0;
    for (const image_file &f : texture_files)
        if (!read_png_file(f.path, f.transparent, TABLE_TEXTURES, f.slot))
            return 0;
    // The end screen's picture waits until it is shown; a start-up without
    // it is refused all the same.
    if (!file_opens(CREDITS_FILE)) {
        snprintf(bad_file, sizeof bad_file, "%s", CREDITS_FILE);
        return 0;
    }
    if (!puploader())
        return 0;
    return load_backgrounds();
}

int load_credits()
{
    if (credits_state == 0)
        credits_state = load_view_picture(credits_picture) ? 1 : -1;
    return credits_state == 1;
}

void fit_view_pictures()
{
    if (powerups_shown && powerup_shown_size() != powerups_shown)
        puploader();
    int w, h;
    shown_size(&w, &h);
    for (view_picture *p : {&title_picture, &credits_picture}) {
        if (!p->shown_w || (p->shown_w == w && p->shown_h == h))
            continue;
        // A picture already at its own size stays as it is for a view that
        // shows it at least as large.
        bool own_size = p->uploaded_w < p->shown_w && p->uploaded_h < p->shown_h;
        if (own_size && w >= p->uploaded_w && h >= p->uploaded_h)
            continue;
        if (!load_view_picture(*p))
            p->shown_w = p->shown_h = 0;
    }
}

int init_icons()
{
    for (const gui_icon &icon : GUI_ICONS) {
        char path[128];
        snprintf(path, sizeof path, "graphics/buttons/%s.png", icon.name);
        if (!load_icons(path, icon.slot))
            return 0;
    }
    return 1;
}

int init_visible()
{
    for (int slot = 1; slot <= 3; slot++)
        if (!load_visible(visible_files[slot], slot))
            return 0;
    return 1;
}
