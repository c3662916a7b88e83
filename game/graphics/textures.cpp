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
    {2, "graphics/ed.png", 0},
    {3, "paddles/p1.png", 0},         {4, "graphics/fire.png", 0},
    {5, "graphics/pointer.png", 1},   {12, "graphics/ball.png", 1},
    {13, "graphics/glow.png", 1},     {15, "graphics/walls.png", 0},
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
// 4:3 picture's height over the view's, stretched sideways in wider views.
static void shown_size(int *w, int *h)
{
    GLint view[4];
    glGetIntegerv(GL_VIEWPORT, view);
    int wide = view[2] * 3 > view[3] * 4 ? view[2] : view[3] * 4 / 3;
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

// Power-up icons under graphics/powerups/, by kind 1..17.
static const char *const powerup_files[18] = {
    nullptr,          "explode.png",    "bigball.png",     "smallball.png",   "speedup.png",
    "slowdown.png",   "nextboard.png",  "death.png",       "ballsplosion.png", "bigpaddle.png",
    "smallpaddle.png", "1up.png",       "glue.png",        "thru.png",        "explosive.png",
    "visible.png",    "line.png",       "earthquake.png",
};

// GUI icons under graphics/buttons/; slots 12, 20 and 21 stay empty.
static const image_file icon_files[] = {
    {1, "about.png", 1},       {2, "bricks.png", 1},      {3, "create.png", 1},
    {4, "delete.png", 1},      {5, "difficulty.png", 1},  {6, "edit.png", 1},
    {7, "exit.png", 1},        {8, "grid.png", 1},        {9, "hiscores.png", 1},
    {10, "level.png", 1},      {11, "load.png", 1},       {13, "minus.png", 1},
    {14, "off.png", 1},        {15, "ok.png", 1},         {16, "on.png", 1},
    {17, "play.png", 1},       {18, "plus.png", 1},       {19, "save.png", 1},
    {22, "test.png", 1},       {23, "cancel.png", 1},     {24, "powerup.png", 1},
    {25, "back.png", 1},       {26, "gridoff.png", 1},    {27, "powerupsoff.png", 1},
    {28, "visible.png", 1},    {29, "visiblesquare.png", 1}, {30, "notvisible.png", 1},
};

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

int puploader()
{
    for (int kind = 1; kind <= 17; kind++) {
        char path[128];
        snprintf(path, sizeof path, "graphics/powerups/%s", powerup_files[kind]);
        if (!read_png_file(path, 0, TABLE_PUPTEXTURES, kind))
            return 0;
    }
    return 1;
}

int load_backgrounds()
{
    int ok = 1;
    int k;
    for (k = 1; k <= BACKGROUNDS_MAX; k++) {
        char path[64];
        snprintf(path, sizeof path, "graphics/backgrounds/bg%d.png", k);
        if (!file_opens(path))
            break;
        if (!read_png_file(path, 0, TABLE_BACKTEX, k)) {
            ok = 0;
            break;
        }
    }
    backmax = k - 1;
    // With no background there is nothing to pick: 0 means none is drawn.
    backnum = backmax > 0 ? randn(backmax) : 0;
    return ok;
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
    for (const image_file &f : icon_files) {
        char path[128];
        snprintf(path, sizeof path, "graphics/buttons/%s", f.path);
        if (!load_icons(path, f.slot))
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
