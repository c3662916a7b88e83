// Play frames drawn in part: the boxes of window pixels under what moved since
// the last frame are drawn again, each as the whole frame would draw it there,
// and the rest of the back buffer, kept across the swap, stays as it was.

#include <GL/gl.h>

#include <algorithm>
#include <cstring>

#include "graphics/graphics.h"
#include "menus/menus.h"
#include "physics/ball.h"
#include "physics/physics.h"
#include "rules/powerups.h"
#include "rules/progress.h"
#include "rules/rules.h"
#include "rules/watch.h"
#include "digest.h"
#include "shell.h"

// Boxes gathered in a frame at most (balls, paddle, power-ups, debris,
// changed cells, fire), and passes drawn at most after merging them.
static const int MOST_BOXES = 2 * (16 + 1 + PUP_SLOTS + DEBRIS_RECORDS) + GRID_CELLS + 1;
static const int MOST_PASSES = 12;
static const int MOST_SORTED = 96;
// A frame whose passes would cover more than this share of the view is drawn whole.
static const double MOST_SHARE = 0.5;
static const int LEAST_BALL_HALF = 3;   // balls are drawn at least 6 pixels across
// Presented frames whose back buffer is checked after the swap.
static const int PROBED_FRAMES = 3;

int back_kept;
int part_frames;

typedef int box_t[4];

// What the last frame drawn showed, as far as its moving parts go.
static struct {
    unsigned serial;                 // frame_serial when it was drawn
    int fit;                         // it was a play frame the next may be drawn in part after
    GLint view[4];
    uint64_t look;                   // look_key(): what, changed, redraws everything
    int32_t board[GRID_CELLS], bricktype[GRID_CELLS], rr[GRID_CELLS], gg[GRID_CELLS], bb[GRID_CELLS];
    box_t movers[MOST_BOXES];        // boxes of the balls, power-ups and debris
    int count;
    box_t paddle;
} last;

static unsigned frame_serial;        // play frames begun, counted up

static box_t boxes[MOST_BOXES];      // this frame's passes
static int box_count;
static int overflow;                 // more boxes came than there is room for
static int quick_fire[GRID_CELLS];   // fire cells redrawn alone, outside every pass
static int quick_count;

static int probed;                   // frames probed so far
static GLint probed_view[4];
static unsigned char probe_mark[4];  // the marked pixel as drawn before the swap

// ---- What the frame shows ----

// 1 while a text is shown over the field (banners, the countdown, a replay's label).
static int hud_shown()
{
    return watching || block_timer || game_pause || gameover || newlevel;
}

// Everything whose change redraws the whole view: the look, the HUD texts.
static uint64_t look_key()
{
    uint64_t h = 1469598103934665603ull;
    h = mix(h, classic), h = mix(h, backnum), h = mix(h, background), h = mix(h, psystem);
    h = mix(h, bar_alpha), h = mix(h, scene_shortcuts), h = mix(h, game_pause), h = mix(h, pad_lost);
    h = mix(h, newlevel), h = mix(h, bonus), h = mix(h, level), h = mix(h, gameover);
    h = mix(h, level_cleared), h = mix(h, block_timer), h = mix(h, btimer), h = mix(h, watching);
    return mix(h, watch_label, strlen(watch_label));
}

// ---- Boxes ----

static void add_box(const int b[4])
{
    if (box_count < MOST_BOXES)
        memcpy(boxes[box_count++], b, sizeof(box_t));
    else
        overflow = 1;
}

static long area(const int b[4])
{
    return (long)(b[2] - b[0]) * (b[3] - b[1]);
}

static void join(int a[4], const int b[4])
{
    a[0] = std::min(a[0], b[0]), a[1] = std::min(a[1], b[1]);
    a[2] = std::max(a[2], b[2]), a[3] = std::max(a[3], b[3]);
}

// Merges boxes that meet or cost no more together than apart, then the
// cheapest pairs until at most `most` are left.
static void merge_boxes(int most)
{
    for (bool merged = true; merged;) {
        merged = false;
        for (int i = 0; i < box_count && !merged; i++)
            for (int j = i + 1; j < box_count && !merged; j++) {
                box_t u;
                memcpy(u, boxes[i], sizeof u);
                join(u, boxes[j]);
                if (boxes_meet(boxes[i], boxes[j]) || area(u) <= area(boxes[i]) + area(boxes[j])) {
                    memcpy(boxes[i], u, sizeof u);
                    memcpy(boxes[j], boxes[--box_count], sizeof u);
                    merged = true;
                }
            }
    }
    while (box_count > most) {
        int bi = 0, bj = 1;
        long best = -1;
        for (int i = 0; i < box_count; i++)
            for (int j = i + 1; j < box_count; j++) {
                box_t u;
                memcpy(u, boxes[i], sizeof u);
                join(u, boxes[j]);
                long cost = area(u) - area(boxes[i]) - area(boxes[j]);
                if (best < 0 || cost < best)
                    best = cost, bi = i, bj = j;
            }
        join(boxes[bi], boxes[bj]);
        memcpy(boxes[bj], boxes[--box_count], sizeof(box_t));
        merge_boxes(most);
    }
}

// The boxes of the balls, power-ups and debris now.
static int mover_boxes(box_t *out)
{
    int n = 0;
    for (int k = 1; k <= 16; k++) {
        if (balls[k] != 1)
            continue;
        // The glow reaches twice the ball's drawn half-side.
        field_box(xpos[k] - 2 * ballsize, ypos[k] - 2 * ballsize, xpos[k] + 2 * ballsize, ypos[k] + 2 * ballsize, out[n]);
        int cx = (out[n][0] + out[n][2]) / 2, cy = (out[n][1] + out[n][3]) / 2, h = 2 * LEAST_BALL_HALF + 2;
        out[n][0] = std::min(out[n][0], cx - h), out[n][2] = std::max(out[n][2], cx + h);
        out[n][1] = std::min(out[n][1], cy - h), out[n][3] = std::max(out[n][3], cy + h);
        n++;
    }
    for (int s = 1; s <= PUP_SLOTS; s++)
        if (pup[s])
            field_box(pupxposition[s], pupyposition[s], pupxposition[s] + PUP_SIZE, pupyposition[s] + PUP_SIZE, out[n++]);
    if (psystem && !classic)
        for (int r = 1; r <= DEBRIS_RECORDS; r++)
            if (particle[r].life > 0)
                debris_box(r, out[n++]);
    return n;
}

// Cells whose brick changed since the last frame, with their shadows.
static void changed_cells()
{
    for (int k = 0; k < GRID_CELLS; k++) {
        if (board[k] == last.board[k] && bricktype[k] == last.bricktype[k] && rr[k] == last.rr[k] &&
            gg[k] == last.gg[k] && bb[k] == last.bb[k])
            continue;
        int r = k / GRID_SIDE, c = k % GRID_SIDE;
        if (r < 1 || c < 1 || r > GRID_ROWS || c > GRID_ROWS)
            continue;
        box_t b;
        cell_box(k, b);
        add_box(b);
    }
}

// Fire cells meeting a pass are drawn in it, a pass growing to hold each
// whole, and so are those meeting a box of what stands still over them
// (count_standing boxes); the others alone, quickly. 1 when a pass has to grow.
static int sort_fire(const box_t *standing, int count_standing)
{
    static int fire[GRID_CELLS];
    int count = 0;
    if (!classic)
        for (int k = 0; k < GRID_CELLS; k++)
            if (bricktype[k] == BRICK_EXPLODING && k / GRID_SIDE >= 1 && k % GRID_SIDE >= 1)
                fire[count++] = k;
    int grew = 0;
    quick_count = 0;
    for (int n = 0; n < count; n++) {
        box_t f;
        fire_box(fire[n], f);
        bool meets = false, inside = false;
        for (int m = 0; m < count_standing && !meets; m++)
            meets = boxes_meet(f, standing[m]);
        for (int b = 0; b < box_count && !inside; b++) {
            meets = meets || boxes_meet(f, boxes[b]);
            inside = f[0] >= boxes[b][0] && f[1] >= boxes[b][1] && f[2] <= boxes[b][2] && f[3] <= boxes[b][3];
        }
        if (!meets)
            quick_fire[quick_count++] = fire[n];
        else if (!inside)
            add_box(f), grew = 1;
    }
    return grew;
}

static void clip_to_view(const GLint view[4])
{
    for (int b = 0; b < box_count; b++) {
        boxes[b][0] = std::max(boxes[b][0], (int)view[0]), boxes[b][1] = std::max(boxes[b][1], (int)view[1]);
        boxes[b][2] = std::min(boxes[b][2], view[0] + view[2]);
        boxes[b][3] = std::min(boxes[b][3], view[1] + view[3]);
    }
}

// Notes what this frame shows, for the next to be drawn against.
static void note_frame(int fit, const GLint view[4], uint64_t look, const box_t *movers, int count, const int paddle[4])
{
    last.serial = frame_serial;
    last.fit = fit;
    memcpy(last.view, view, sizeof last.view);
    last.look = look;
    memcpy(last.board, board, sizeof last.board);
    memcpy(last.bricktype, bricktype, sizeof last.bricktype);
    memcpy(last.rr, rr, sizeof last.rr);
    memcpy(last.gg, gg, sizeof last.gg);
    memcpy(last.bb, bb, sizeof last.bb);
    memcpy(last.movers, movers, sizeof(box_t) * count);
    last.count = count;
    memcpy(last.paddle, paddle, sizeof last.paddle);
}

int plan_play_frame(int fit, const int band[4])
{
    frame_serial++;
    GLint view[4];
    glGetIntegerv(GL_VIEWPORT, view);
    note_field_view();
    uint64_t look = look_key();
    static box_t movers[MOST_BOXES];
    int count = mover_boxes(movers);
    box_t paddle;
    field_box(paddlex, PADDLE_BOTTOM, paddlex + paddle_size, PADDLE_TOP, paddle);
    fit = fit && back_kept == 1 && !full_frames && scene_shortcuts && screen_is(SCREEN_PLAY) && !title_up() &&
          fade_running() == FADE_NONE && !shake;
    bool part = fit && last.fit && last.serial + 1 == frame_serial && look == last.look &&
                memcmp(view, last.view, sizeof last.view) == 0;
    if (part) {
        box_count = 0;
        overflow = 0;
        // Paused, the balls, power-ups and debris are drawn as they stood.
        bool stood = game_pause && count == last.count && memcmp(movers, last.movers, sizeof(box_t) * count) == 0;
        for (int n = 0; n < count && !stood; n++)
            add_box(movers[n]);
        for (int n = 0; n < last.count && !stood; n++)
            add_box(last.movers[n]);
        if (memcmp(paddle, last.paddle, sizeof paddle) != 0) {
            add_box(paddle);
            add_box(last.paddle);
        }
        changed_cells();
        if (band)
            add_box(band);
        // Too many pieces at once (a chain of explosions) are not worth sorting.
        part = box_count <= MOST_SORTED;
        while (part && !overflow) {
            merge_boxes(MOST_PASSES);
            if (!sort_fire(movers, stood ? count : 0))
                break;
        }
        clip_to_view(view);
        long covered = 0;
        for (int b = 0; b < box_count; b++)
            covered += std::max(0L, area(boxes[b]));
        part = part && !overflow && covered <= MOST_SHARE * view[2] * view[3];
    }
    note_frame(fit, view, look, movers, count, paddle);
    part_frames += part;
    return part ? box_count : -1;
}

void begin_pass(int n)
{
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    memcpy(pass_box, boxes[n], sizeof pass_box);
    pass_boxed = 1;
    glEnable(GL_SCISSOR_TEST);
    glScissor(pass_box[0], pass_box[1], pass_box[2] - pass_box[0], pass_box[3] - pass_box[1]);
}

void end_pass()
{
    pass_boxed = 0;
    glPopAttrib();
}

int draw_quick_fire()
{
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    redraw_fire(quick_fire, quick_count);
    glPopAttrib();
    return quick_count > 0 && hud_shown();
}

// ---- Is the back buffer kept across a swap? ----

void mark_back_buffer()
{
    GLint view[4];
    glGetIntegerv(GL_VIEWPORT, view);
    if (memcmp(view, probed_view, sizeof view) != 0) {
        memcpy(probed_view, view, sizeof view);
        probed = 0;
        back_kept = 0;   // a new size, perhaps a new surface: seen again
    }
    if (probed >= PROBED_FRAMES || back_kept < 0)
        return;
    // The corner pixel's lowest blue bit is flipped: a mark nobody sees, and
    // one a buffer not kept would hold only by chance.
    glReadPixels(view[0], view[1], 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, probe_mark);
    probe_mark[2] ^= 1;
    glPushAttrib(GL_SCISSOR_BIT | GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(view[0], view[1], 1, 1);
    glClearColor(probe_mark[0] / 255.0f, probe_mark[1] / 255.0f, probe_mark[2] / 255.0f, probe_mark[3] / 255.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glPopAttrib();
    glReadPixels(view[0], view[1], 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, probe_mark);
}

void check_back_buffer()
{
    if (probed >= PROBED_FRAMES || back_kept < 0)
        return;
    unsigned char seen[4];
    glReadPixels(probed_view[0], probed_view[1], 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, seen);
    if (memcmp(seen, probe_mark, 3) != 0) {
        back_kept = -1;
        return;
    }
    if (++probed == PROBED_FRAMES)
        back_kept = 1;
}
