// The frame dispatcher: draws one frame of whichever screen is up (the editor,
// or the game scene with the title screen and its menus over it) and holds
// game and menu frames to the target rate.

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "audio/audio.h"
#include "editor/editor.h"
#include "graphics/graphics.h"
#include "menus/browser.h"
#include "menus/menus.h"
#include "physics/ball.h"
#include "physics/physics.h"
#include "rules/progress.h"
#include "rules/replay.h"
#include "rules/rules.h"
#include "rules/watch.h"
#include "shell.h"

// The score line's plane (z -20, where the walls stand at x -10 and 10): the
// print origin, the room between the walls and the least gap between fields,
// in the large font's em units.
static const float SCORE_LINE_X = -8.5f;
static const float SCORE_LINE_LEFT = -9.5f, SCORE_LINE_RIGHT = 9.5f;
static const float SCORE_LINE_GAP = 1.0f;

// The music status bar's panel body, in play-field units at z -5.
static const float STATUS_LEFT = 0.525f, STATUS_TOP = -1.69f;
static const float STATUS_RIGHT = 5.475f, STATUS_BOTTOM = -2.05f;

// The bottom of the play screen (status bar body and the score line over it)
// as last drawn, kept while its texts and the view stay the same.
static kept_pixels bottom;
static char bottom_key[512];         // texts and viewport it was drawn for; "" = nothing kept

// The tiled background, shaded from white at the top to black at the bottom.
static void background_quad()
{
    if (!bind_background(backnum))
        return;
    glEnable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    glColor3f(1, 1, 1);
    glTexCoord2f(0, 0); glVertex3f(-5.5f, 5.0f, -11.0f);
    glTexCoord2f(8, 0); glVertex3f(5.5f, 5.0f, -11.0f);
    glColor3f(0, 0, 0);
    glTexCoord2f(8, 8); glVertex3f(5.5f, -4.0f, -11.0f);
    glTexCoord2f(0, 8); glVertex3f(-5.5f, -4.0f, -11.0f);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

// The background, first in the frame over the cleared view. Its filtered
// texture is the dearest thing in a play frame for the rasteriser, and it
// never moves, so once drawn it is kept in the view layer and put back as it
// is while the same background fills the same view.
static void draw_background()
{
    if (fade_running() == FADE_IN || background == 0 || classic || backnum < 1)
        return;
    GLint view[4];
    glGetIntegerv(GL_VIEWPORT, view);
    int rect[4] = {view[0], view[1], view[2], view[3]};
    int owner = LAYER_BACKGROUND + backnum;
    if (!scene_shortcuts) {
        background_quad();
    } else if (kept_for(view_layer, rect, owner)) {
        draw_kept(view_layer);
    } else {
        background_quad();
        keep_pixels(view_layer, rect, owner);
    }
}

static const float SIDE_BAR_W = 1.0f;   // width of a side bar beside its wall

// One side bar: the wall-side edge at bar_alpha, fading out to the outer edge.
static void side_bar(float wall, float outer)
{
    const float tx[4] = {0, 1.5f, 1.5f, 0}, ty[4] = {0, 0, 4.5f, 4.5f};
    const float xs[4] = {wall, outer, outer, wall}, ys[4] = {2.5f, 2.5f, -2.5f, -2.5f};
    glBegin(GL_QUADS);
    for (int k = 0; k < 4; k++) {
        glColor4f(1, 1, 1, xs[k] == wall ? bar_alpha : 0.0f);
        if (!classic)
            glTexCoord2f(tx[k], ty[k]);
        glVertex3f(xs[k], ys[k], -5.0f);
    }
    glEnd();
}

// The side bars; untextured, in their plain shade, in the classic look.
static void draw_side_bars()
{
    glEnable(GL_BLEND);
    if (classic)
        glDisable(GL_TEXTURE_2D);
    else
        glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, textures[TEX_WALLS]);
    side_bar(WALL_RIGHT, WALL_RIGHT + SIDE_BAR_W);
    side_bar(WALL_LEFT, WALL_LEFT - SIDE_BAR_W);
    glDisable(GL_BLEND);
}

// The music status bar along the bottom of the field, with this line in it.
static void draw_status_bar(const char *line)
{
    gui_win(STATUS_LEFT, STATUS_TOP, STATUS_RIGHT, STATUS_BOTTOM, line, " ", 3);
    glDisable(GL_TEXTURE_2D);
}

// One field of the score line, from x on the score line's plane, at scale k.
static void score_field(float x, float k, const char *text)
{
    print_set(1);
    glTranslatef(x - SCORE_LINE_X, 0, 0);
    glScalef(k, k, 1.0f);
    glPrint("%s", text);
}

// The score line's three texts.
static void score_texts(char *s, char *l, char *v, size_t size)
{
    snprintf(s, size, "Score:%d", score);
    snprintf(l, size, "Lives:%d", abs(counter - 5));
    snprintf(v, size, "Level:%d/%d", level, level_total);
}

// The score line: the score from the left wall, the level ending at the right
// wall, the lives midway between them; all three shrink together when long
// numbers would not fit between the walls.
static void draw_score_line()
{
    char s[40], l[40], v[40];
    score_texts(s, l, v, sizeof s);
    float ws = print_width(s), wl = print_width(l), wv = print_width(v);
    float room = SCORE_LINE_RIGHT - SCORE_LINE_LEFT;
    float need = ws + wl + wv + 2 * SCORE_LINE_GAP;
    float k = need > room ? room / need : 1.0f;
    float score_end = SCORE_LINE_LEFT + k * ws, level_x = SCORE_LINE_RIGHT - k * wv;
    score_field(SCORE_LINE_LEFT, k, s);
    score_field((score_end + level_x - k * wl) * 0.5f, k, l);
    score_field(level_x, k, v);
}

// Window pixels wholly inside the status bar's panel (body and frame) in this
// viewport, one pixel in from every edge the view does not cut: whatever lies
// there is the panel's and its texts', whatever was drawn before. The status
// text rises above the body into the frame.
static bool bottom_pixels(const GLint view[4], int rect[4])
{
    GLdouble model[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -3, 0, 0, 1}, proj[16], x0, y0, x1, y1, z;
    glGetDoublev(GL_PROJECTION_MATRIX, proj);
    if (!gluProject(STATUS_LEFT - PANEL_BORDER, STATUS_BOTTOM - PANEL_BORDER, -5.0, model, proj, view, &x0, &y0, &z) ||
        !gluProject(STATUS_RIGHT + PANEL_BORDER, STATUS_TOP + PANEL_BORDER, -5.0, model, proj, view, &x1, &y1, &z))
        return false;
    int left = (int)ceil(x0) + 1, right = (int)floor(x1) - 1;
    int bottom = y0 <= view[1] ? view[1] : (int)ceil(y0) + 1, top = (int)floor(y1) - 1;
    if (right > view[0] + view[2])
        right = view[0] + view[2];
    rect[0] = left, rect[1] = bottom, rect[2] = right - left, rect[3] = top - bottom;
    return rect[2] > 0 && rect[3] > 0;
}

// The bottom's texts and the view they are drawn in, as one line.
static void bottom_texts(const char *line, char *key, size_t size)
{
    char s[40], l[40], v[40];
    score_texts(s, l, v, sizeof s);
    GLint view[4];
    glGetIntegerv(GL_VIEWPORT, view);
    snprintf(key, size, "%d %d %d %d|%s|%s|%s|%s", view[0], view[1], view[2], view[3], line, s, l, v);
}

// The window pixels the status bar and the score line may touch.
static void bottom_band(int box[4])
{
    const float MARGIN = 0.05f;
    field_box(STATUS_LEFT - PANEL_BORDER - MARGIN, STATUS_BOTTOM - PANEL_BORDER - 1.0f,
              STATUS_RIGHT + PANEL_BORDER + MARGIN, STATUS_TOP + PANEL_BORDER + MARGIN, box);
}

// The status bar and the score line. Their texts change a few times a second
// at most, so once drawn they are kept, and while the texts and the view stay
// the same only the panel is drawn with the kept pixels over its body. The
// score line shakes with a full-screen earthquake: then it is drawn as it is.
static void draw_bottom(const char *line)
{
    char key[512];
    bottom_texts(line, key, sizeof key);
    GLint view[4];
    glGetIntegerv(GL_VIEWPORT, view);
    int rect[4];
    bool keepable = scene_shortcuts && !(shake && fullscreen) && bottom_pixels(view, rect);
    if (keepable && strcmp(key, bottom_key) == 0 && kept_for(bottom, rect, 0)) {
        draw_status_bar("");
        draw_kept(bottom);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        print_set(1);
        return;
    }
    draw_status_bar(line);
    draw_score_line();
    if (keepable) {
        keep_pixels(bottom, rect, 0);
        snprintf(bottom_key, sizeof bottom_key, "%s", key);
    } else {
        bottom_key[0] = 0;
    }
}

// The state draw_bottom leaves, for a pass that does not reach the bottom:
// the HUD's texts after it are drawn as in a whole frame.
static void bottom_state()
{
    gui_block = 1;   // as the status bar's panel sets it
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

// Over a replay, what is shown: "REPLAY: name, score" or "DEMO".
static void draw_watch_label()
{
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glLoadIdentity();
    glColor3f(1.0f, 0.85f, 0.3f);
    glTranslatef(2.0f, -16.2f, -10.0f);
    glsPrint("%s", watch_label);
    glLoadIdentity();
}

// HUD texts: the countdown and the banners.
static void draw_hud()
{
    if (watching)
        draw_watch_label();
    if (block_timer) {
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_DEPTH_TEST);
        glLoadIdentity();
        glColor3f(1, 1, 1);
        glTranslatef(-24.7f, -16.2f, -10.0f);
        glsPrint("Last block timer: %d", btimer);
        glLoadIdentity();
    }
    if (game_pause) {
        glRasterPos2f(-0.5f, 0.35f);
        glColor3f(1, 1, 1);
        glLoadIdentity();
        glTranslatef(-1.9f, 0, -10.0f);
        glPrint("PAUSED");
        if (pad_lost) {
            glLoadIdentity();
            glTranslatef(-11.0f, -3.0f, -10.0f);
            glsPrint("Gamepad unplugged: plug it in and press Start");
        }
    }
    if (!game_pause)
        pad_lost = 0;   // the notice lasts until play resumes
    if (newlevel && !game_pause && !title_up()) {
        glRasterPos2f(-0.1f, 0.35f);
        glColor3f(0.2f, 1.0f, 0.2f);
        glLoadIdentity();
        glTranslatef(-1.6f, 0, -10.0f);
        if (!gameover)
            glPrint("Level %d", level);
        int n = level < 4 ? level : 4;
        if (bonus && level != 1) {
            glLoadIdentity();
            glTranslatef(-7.0f, -1.3f, -25.0f);
            if (!gameover)
                glPrint("Skill Bonus! %dX Fissionball Mode!", n);
        }
    }
    if (gameover) {
        glLoadIdentity();
        glTranslatef(level_cleared ? -3.9f : -2.7f, 0, -10.0f);
        glColor3f(1, 1, 1);
        glPrint(level_cleared ? "LEVEL CLEARED" : "GAME OVER");
    }
}

// The game scene over the whole view, or in a pass over the pass's box.
static void draw_scene(int hidden, const char *line, const int band[4])
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    glLoadIdentity();
    glEnable(GL_BLEND);
    if (!hidden)
        draw_background();

    field_frame();
    if (!hidden) {
        if (!classic)
            draw_particles();
        draw_balls();
    }

    shaken_field_frame();
    glColor4f(0, 0, 1, 1);
    glDisable(GL_DEPTH_TEST);

    if (game_scene_started()) {
        if (!hidden) {
            draw_side_bars();
            field_frame();
            draw_paddle();
            glEnable(GL_DEPTH_TEST);
            draw_board_still();
        }
        glDisable(GL_DEPTH_TEST);
        if (hidden) {
            gui_block = 1;   // as the status bar's panel sets it
        } else {
            if (pass_boxed && !boxes_meet(band, pass_box))
                bottom_state();
            else
                draw_bottom(line);
            draw_hud();
        }
    }
}

// 1 when the background is kept for this view, or none is drawn: a pass can put it back.
static int background_ready()
{
    if (fade_running() == FADE_IN || background == 0 || classic || backnum < 1)
        return 1;
    GLint view[4];
    glGetIntegerv(GL_VIEWPORT, view);
    int rect[4] = {view[0], view[1], view[2], view[3]};
    return kept_for(view_layer, rect, LAYER_BACKGROUND + backnum);
}

// The game scene: in passes over the boxes of what moved, when the frame
// before was one of play in this view, otherwise whole.
static void draw_play(int hidden, const char *line)
{
    note_field_view();
    int band[4];
    bottom_band(band);
    char key[512];
    bottom_texts(line, key, sizeof key);
    int fit = !hidden && game_scene_started() && background_ready();
    int passes = plan_play_frame(fit, strcmp(key, bottom_key) != 0 ? band : nullptr);
    if (passes < 0) {
        draw_scene(hidden, line, band);
        return;
    }
    for (int n = 0; n < passes; n++) {
        begin_pass(n);
        draw_scene(hidden, line, band);
        end_pass();
    }
    if (draw_quick_fire()) {
        bottom_state();
        draw_hud();
    }
}

int DrawGLScene()
{
    focus_new_layer();   // only this frame's controls can be chosen
    quake_frame = 1;
    shake_step();
    if (!fullscreen && !game_pause) {
        focus_window();
        capture_mouse();
    }
    if (screen_is(SCREEN_EDITOR)) {
        plan_play_frame(0, nullptr);   // the next play frame is drawn whole
        editor();
        if (screen_is(SCREEN_EDITOR)) {
            // Editor frames are paced by the buffer swap; without V-sync that
            // pace is unbounded, so the frame lock holds them too.
            if (!VSyncEnabled()) {
                glFlush();
                fps = LockFPS(targetFPS);
            }
            return 1;
        }
    }
    // One frame of play's logic first; the drawing below shows what it left.
    play_frame();
    // While the opaque title hides the game scene, the scene's drawing is skipped.
    int hidden = scene_shortcuts && title_covers_view();
    char line[160] = "";
    if (game_scene_started())
        music_status(line, sizeof line);  // the sound system's update, once a frame
    draw_play(hidden, line);
    if (game_scene_started() && !hidden)
        scroll_fire();

    if (title_up()) {
        field_frame();
        render_title();
    }
    if (screen_is(SCREEN_BROWSER))
        level_loader();
    // A notice goes over every screen of the menu, once the name dialog is answered.
    if (title_up() && !screen_is(SCREEN_SCORE_NAME))
        draw_notice();
    if (title_up())
        focus_frame_done();
    // While the keys choose in the menus the pointer is put away.
    if (title_up() && fade_running() != FADE_OUT && !focus_on) {
        field_frame();
        drawpointer();
    }
    glEnable(GL_DEPTH_TEST);
    // Hand the frame to the GL first, so it is rasterised while the lock waits.
    glFlush();
    fps = LockFPS(targetFPS);
    return 1;
}
