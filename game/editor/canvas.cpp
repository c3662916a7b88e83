// The editor's frame and canvas: the 20 x 20 grid painted with the mouse, the
// power-up layer, the eyedropper, the view toggles' effect on drawing, test
// play and leaving the editor.

#include <GL/gl.h>

#include <cstdio>

#include "audio/audio.h"
#include "editor.h"
#include "graphics/graphics.h"
#include "menus/menus.h"
#include "rules/progress.h"
#include "rules/rules.h"
#include "physics/physics.h"
#include "shell/shell.h"

// ---- Constants ----

static const float CLASSIC_INSET = 0.005f;            // classic cells leave a thin gap
static const float Z_CANVAS = FIELD_Z;                 // the canvas lies where the field does
static const float FIRE_HALF = 0.5f;                  // an Exploding cell shows the fire's upper half
static const float EMPTY_CLASSIC_GREY = 0.2f;         // an empty classic cell while the grid is on

// ---- Globals ----

int drag;
int dropped;
int edrag;
int get_drops;
int edlevel = 1;
int texnumber = 1;
int curr = 127, curg = 127, curb = 127;
int curbrick = 1;
int guibrick = 1;
int curpup = 1;
int grid = 1;
int visible = 1;
int pupedit;
int selx, sely;

const int brick_selector_map[6] = {0, 1, 4, 2, 5, 3};

// ---- Cell edits ----

// The brick in the cell becomes the current brick.
static void copy_brick(int k)
{
    if (leveled[k] <= 0)
        return;
    curr = ed_rr[k];
    curg = ed_gg[k];
    curb = ed_bb[k];
    curbrick = ed_bricktype[k];
    texnumber = leveled[k];
    for (int p = 1; p <= 5; p++)
        if (brick_selector_map[p] == curbrick)
            guibrick = p;
}

// ---- Canvas ----

GLuint editor_texture(int n)
{
    return n >= 1 && n <= MAX_ED_TEXTURES ? edtexname[n] : 0;
}

// Binds the cell's texture: the fire for type 3 (brick or not), the brick's
// own texture, or the grid cell for an empty cell while the grid is on.
static void bind_cell_texture(int k)
{
    if (ed_bricktype[k] == BRICK_EXPLODING)
        glBindTexture(GL_TEXTURE_2D, textures[TEX_FIRE]);
    else if (leveled[k] > 0)
        glBindTexture(GL_TEXTURE_2D, editor_texture(leveled[k]));
    else if (grid)
        glBindTexture(GL_TEXTURE_2D, textures[TEX_EDITOR]);
}

// The cell's colour: its components as signed bytes, halved under the
// power-up layer. An empty cell shows the plain grid (white, or black with
// the grid off) whatever colour it stores.
static void set_cell_colour(int k)
{
    int div = pupedit ? 2 : 1;
    if (leveled[k] > 0) {
        glColor3b((GLbyte)(ed_rr[k] / div), (GLbyte)(ed_gg[k] / div), (GLbyte)(ed_bb[k] / div));
        return;
    }
    if (!grid) {
        glColor3f(0, 0, 0);
        return;
    }
    float v = classic ? EMPTY_CLASSIC_GREY : 1.0f;
    glColor3f(v / div, v / div, v / div);
}

// The textured quad of a cell; an Exploding cell shows the fire's upper half.
static void textured_cell(float x0, float y0, int exploding)
{
    float v = exploding ? FIRE_HALF : 1.0f;
    glEnable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0); glVertex3f(x0, y0, Z_CANVAS);
    glTexCoord2f(1, 0); glVertex3f(x0 + CELL_W, y0, Z_CANVAS);
    glTexCoord2f(1, v); glVertex3f(x0 + CELL_W, y0 - CELL_H, Z_CANVAS);
    glTexCoord2f(0, v); glVertex3f(x0, y0 - CELL_H, Z_CANVAS);
    glEnd();
}

// A cell's rectangle drawn inset by `in` on each side, as filled quads or
// an outline (GL_QUADS or GL_LINE_LOOP).
static void cell_shape(float x0, float y0, float in, GLenum mode)
{
    glBegin(mode);
    glVertex3f(x0 + in, y0 - in, Z_CANVAS);
    glVertex3f(x0 + CELL_W - in, y0 - in, Z_CANVAS);
    glVertex3f(x0 + CELL_W - in, y0 - CELL_H + in, Z_CANVAS);
    glVertex3f(x0 + in, y0 - CELL_H + in, Z_CANVAS);
    glEnd();
}

// The classic look: a plain quad in exactly the brick's colour, inset so
// neighbours stay apart. Exploding cells are not shown.
static void classic_cell(float x0, float y0, int exploding)
{
    if (exploding)
        return;
    glDisable(GL_TEXTURE_2D);
    cell_shape(x0, y0, CLASSIC_INSET, GL_QUADS);
    glEnable(GL_TEXTURE_2D);
}

// The overlay marking Invisible, 2 Hit and 3 Hit bricks.
static void cell_overlay(int k, float x0, float y0)
{
    int type = ed_bricktype[k];
    GLuint overlay = type == BRICK_TWO_HIT ? tvis[2] : type == BRICK_INVISIBLE ? tvis[1]
                     : type == BRICK_THREE_HIT ? tvis[3] : 0;
    if (!overlay)
        return;
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glColor3f(1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, overlay);
    tex_quad(x0, y0, x0 + CELL_W, y0 - CELL_H, Z_CANVAS);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
}

// What the pointer does to the cell it is over: the eyedropper copies it.
static void hover_cell(int r, int c, int k)
{
    if (dropped) {
        copy_brick(k);
        get_drops = 0;
    }
    selx = r;
    sely = c;
}

// The cell under the pointer, rows outer and columns inner, so on a shared
// edge the later cell is the one selected. Run before the canvas is drawn, so
// a stroke's cells (tool_drag) show their new bricks at once.
static void track_pointer()
{
    float py = -pointery;
    for (int r = 1; r <= GRID_ROWS; r++)
        for (int c = 1; c <= GRID_ROWS; c++) {
            float x0 = cell_left(c), y0 = cell_top(r);
            if (x0 <= pointerx && pointerx <= x0 + CELL_W && y0 - CELL_H <= py && py <= y0)
                hover_cell(r, c, grid_index(r, c));
        }
}

// One cell as it stands.
static void canvas_cell(int r, int c)
{
    int k = grid_index(r, c);
    float x0 = cell_left(c), y0 = cell_top(r);
    int exploding = ed_bricktype[k] == BRICK_EXPLODING;
    bind_cell_texture(k);
    set_cell_colour(k);
    if (classic)
        classic_cell(x0, y0, exploding);
    else
        textured_cell(x0, y0, exploding);
    glDisable(GL_BLEND);
    if (visible)
        cell_overlay(k, x0, y0);
    glColor4f(1, 1, 1, 1);
}

// The grid, rows outer and columns inner, so on a shared edge the later cell wins.
static void draw_canvas()
{
    gui_frame();
    glEnable(GL_TEXTURE_2D);
    for (int r = 1; r <= GRID_ROWS; r++)
        for (int c = 1; c <= GRID_ROWS; c++)
            canvas_cell(r, c);
}

// A red frame round a cell: its power-up lies in no brick and can never drop.
static void frame_in_red(float x0, float y0)
{
    const float in = 0.012f;
    glDisable(GL_TEXTURE_2D);
    glColor4f(1.0f, 0.15f, 0.1f, 1.0f);
    glLineWidth(2.0f);
    cell_shape(x0, y0, in, GL_LINE_LOOP);
    glLineWidth(1.0f);
    glColor4f(1, 1, 1, 1);
    glEnable(GL_TEXTURE_2D);
}

// The power-up icons over the canvas, one per cell that holds a power-up.
void edit_pups()
{
    gui_frame();
    glColor4f(1, 1, 1, 1);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    for (int r = 1; r <= GRID_ROWS; r++)
        for (int c = 1; c <= GRID_ROWS; c++) {
            int kind = ed_powerup[grid_index(r, c)];
            if (kind < 1 || kind > POWERUP_KINDS)
                continue;
            float x0 = cell_left(c), y0 = cell_top(r);
            glBindTexture(GL_TEXTURE_2D, puptextures[kind]);
            tex_quad(x0, y0, x0 + CELL_W, y0 - CELL_H, Z_CANVAS);
            if (leveled[grid_index(r, c)] == 0)
                frame_in_red(x0, y0);
        }
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}

// ---- Where a press would paint ----

static const float PREVIEW_ALPHA = 0.45f;   // the faint brick or power-up a press would place
static const float ERASE_ALPHA = 0.55f;     // the shade over cells a press would erase

// A quad over a cell in the current colour and texture state.
static void cell_quad(int r, int c)
{
    float x0 = cell_left(c), y0 = cell_top(r);
    tex_quad(x0, y0, x0 + CELL_W, y0 - CELL_H, Z_CANVAS);
}

// The cells the tool would change, faintly as they would become: the current
// brick, the current power-up in the power-up layer, or a dark shade where it
// erases; and an outline round the cell under the pointer.
static void draw_tool_preview()
{
    static unsigned char mask[GRID_CELLS];
    int erase = tool_preview(mask);
    gui_frame();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    if (erase) {
        glDisable(GL_TEXTURE_2D);
        glColor4f(0, 0, 0, ERASE_ALPHA);
    } else if (pupedit) {
        glColor4f(1, 1, 1, PREVIEW_ALPHA);
        glBindTexture(GL_TEXTURE_2D, puptextures[curpup]);
    } else {
        glColor4b((GLbyte)curr, (GLbyte)curg, (GLbyte)curb, (GLbyte)(PREVIEW_ALPHA * 127));
        glBindTexture(GL_TEXTURE_2D, curbrick == BRICK_EXPLODING ? textures[TEX_FIRE] : editor_texture(texnumber));
    }
    for (int r = 1; r <= GRID_ROWS; r++)
        for (int c = 1; c <= GRID_ROWS; c++)
            if (mask[grid_index(r, c)])
                cell_quad(r, c);
    glDisable(GL_TEXTURE_2D);
    if (selx >= 1 && sely >= 1) {
        float x0 = cell_left(sely), y0 = cell_top(selx);
        glColor4f(1.0f, 1.0f, 0.3f, 1.0f);
        glLineWidth(2.0f);
        cell_shape(x0, y0, 0.0f, GL_LINE_LOOP);
        glLineWidth(1.0f);
    }
    glColor4f(1, 1, 1, 1);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}

// ---- Frame ----

// "  Level n of m", m never below the level shown, between the level buttons;
// whether it is saved shows in the File Options heading (toolbar).
static void level_line()
{
    int last = curlevel > edlevel ? curlevel : edlevel;
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glColor4f(1, 1, 1, 1);
    glTranslatef(-20.0f, -5.1f, -10.0f);
    glsPrint("  Level %d of %d", edlevel, last);
}

// One editor frame: toolbar, level line, canvas, power-up layer, dialogs, pointer.
void editor()
{
    selx = sely = 0;
    gui_block = 1;
    menublock = 1;
    item_select = 0;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
    glDisable(GL_BLEND);

    gui_win(0.525f, -0.43f, 5.475f, -1.85f, " ", " ", 2);
    gui_block = 0;
    eicons();
    if (!screen_is(SCREEN_EDITOR))
        return;
    level_line();
    glEnable(GL_DEPTH_TEST);
    if (level_strip) {
        draw_level_strip();
    } else {
        track_pointer();
        if (drag || edrag)
            tool_drag();
        draw_canvas();
        if (pupedit)
            edit_pups();
        if (dialog_shown() == DLG_NONE && !dropped)
            draw_tool_preview();
    }
    dialog_frame();
    // A notice about the editor's files waits until no dialog is up.
    if (dialog_shown() == DLG_NONE)
        draw_notice();
    drawpointer();
}

// ---- Mouse actions (delivered by the window procedure) ----

// No title fade runs and no menu item was chosen by this press.
static int editor_idle()
{
    return fade_running() == FADE_NONE && item_select == 0;
}

// A left press: eyedropper, then the tool lays the current brick (or power-up).
void editor_paint()
{
    if (!editor_idle() || gui_block || level_strip_press())
        return;
    if (!pupedit) {
        if (dropped) {
            pup_hit(-3, 3, 0, 0);
            dropped = 0;
        }
        if (get_drops) {
            dropped = 1;
            get_drops = 0;
        }
    }
    undo_record();
    drag = tool_press(0);
}

// A right press: the tool erases bricks (or power-ups).
void editor_erase()
{
    if (!editor_idle() || gui_block || level_strip)
        return;
    undo_record();
    edrag = tool_press(1);
}

// A button let go: the gesture it held is finished.
void editor_release(int erase)
{
    if (erase ? edrag : drag)
        tool_release(erase);
    if (erase)
        edrag = 0;
    else
        drag = 0;
}

// ---- Test play and leaving ----

// Bricks in rows and columns 1..20 of the editor board.
static int count_editor_bricks()
{
    int n = 0;
    for (int r = 1; r <= GRID_ROWS; r++)
        for (int c = 1; c <= GRID_ROWS; c++)
            if (leveled[grid_index(r, c)] != 0)
                n++;
    return n;
}

// A test game of the edited level, or the empty-level panel when it has no brick.
void test_play()
{
    if (count_editor_bricks() == 0) {
        play_bad(3.0f, 0.0f);
        open_dialog(DLG_NO_BRICKS);
        return;
    }
    pupedit = 0;
    close_dialogs();   // no panel waits behind the test game
    testing_level = 1;
    new_game();
    level = edlevel;
    lcount = 1;
    gui_block = 1;
    last_block = 0;
    title_fade_out();
    test = 1;
}

// Back to the main menu; the editor keeps its board and choices, and no
// panel of it stays open for the next visit.
void leave_editor()
{
    close_dialogs();
    close_screen();
    gui_select = 0;
    menublock = 0;
}
