// Still frames: whether a pass must draw and present a frame, or whether the
// picture it would draw is the one already on screen, so drawing and the
// buffer swap can be skipped while the logic keeps its tick.

#include <cstdlib>
#include <cstring>

#include "audio/audio.h"
#include "editor/editor.h"
#include "menus/menus.h"
#include "physics/ball.h"
#include "physics/physics.h"
#include "rules/progress.h"
#include "rules/replay.h"
#include "rules/rules.h"
#include "digest.h"
#include "shell.h"

// Passes drawn after anything that may change the picture: the pass the
// message came in, the pass after the polled keys acted on it, and one more
// for a request a screen takes only in the frame after it was raised.
static const int SETTLE_PASSES = 3;

int full_frames = -1;

static int settle = SETTLE_PASSES;   // passes still to draw whatever the state says
static uint64_t shown_key;           // picture_key() of the frame on screen
static int caret_phase_shown;        // caret on (1) or off in the frame on screen
static char status_line[160];        // the music status bar's text, read this pass

void mark_changed()
{
    settle = SETTLE_PASSES;
}

// ---- What the picture shows ----

static uint64_t mix_text(uint64_t h, const char *s)
{
    return mix(h, s, strlen(s) + 1);
}

// The menus' and the title's state that reaches the picture.
static uint64_t menu_key(uint64_t h)
{
    h = mix(h, pointerx), h = mix(h, pointery), h = mix(h, selected), h = mix(h, item_select);
    h = mix(h, gui_select), h = mix(h, menublock), h = mix(h, gui_block);
    h = mix(h, title_alpha), h = mix(h, titlex), h = mix(h, bar_alpha);
    h = mix(h, hs_sequence), h = mix(h, fadehs), h = mix(h, hsfade);
    h = mix_text(h, notice), h = mix_text(h, buffer), h = mix(h, bcount), h = mix(h, fulltext);
    h = mix(h, difficulty), h = mix(h, classic), h = mix_text(h, set_name);
    return mix(h, SAVE_AVAILABLE);
}

// The editor's board and tools.
static uint64_t editor_key(uint64_t h)
{
    for (const int32_t *a : {leveled, ed_rr, ed_gg, ed_bb, ed_bricktype, ed_powerup})
        h = mix(h, a, sizeof(int32_t) * GRID_CELLS);
    h = mix(h, edlevel), h = mix(h, curlevel), h = mix(h, texnumber), h = mix(h, curpup);
    h = mix(h, curr), h = mix(h, curg), h = mix(h, curb), h = mix(h, guibrick), h = mix(h, grid);
    h = mix(h, visible), h = mix(h, pupedit), h = mix(h, dropped), h = mix(h, get_drops);
    h = mix(h, dialog_shown());
    return mix(h, level_unsaved());
}

// The game scene: board, balls, paddle, power-ups, debris and the HUD's values.
static uint64_t play_key(uint64_t h)
{
    for (const int32_t *a : {board, bricktype, rr, gg, bb, explosion})
        h = mix(h, a, sizeof(int32_t) * GRID_CELLS);
    h = mix(h, xpos), h = mix(h, ypos), h = mix(h, balls), h = mix(h, paddlex);
    h = mix(h, paddle_size), h = mix(h, ballsize), h = mix(h, pup);
    for (int n = 1; n <= DEBRIS_RECORDS; n++)
        h = mix(h, particle[n].life);
    h = mix(h, game_pause), h = mix(h, gameover), h = mix(h, level_cleared), h = mix(h, newlevel);
    h = mix(h, bonus), h = mix(h, score), h = mix(h, counter), h = mix(h, level), h = mix(h, level_total);
    h = mix(h, block_timer), h = mix(h, btimer), h = mix(h, shake), h = mix(h, qcount);
    return mix_text(h, status_line);
}

// A digest of everything a still screen's picture is drawn from.
static uint64_t picture_key()
{
    uint64_t h = 1469598103934665603ull;
    h = mix(h, screen_up()), h = mix(h, fade_running()), h = mix(h, game_scene_started());
    h = mix(h, screenx), h = mix(h, screeny), h = mix(h, fullscreen), h = mix(h, mouseX), h = mix(h, mouseY);
    h = mix(h, classic), h = mix(h, scene_shortcuts);
    if (screen_is(SCREEN_EDITOR))
        return editor_key(menu_key(h));
    if (screen_is(SCREEN_PLAY))
        return play_key(h);
    return menu_key(h);
}

// ---- Which screens stand still ----

// 1 while something on the play screen moves by itself: a shake, an explosion
// wave, the fire of exploding bricks, debris in flight, a ball or a power-up.
static int play_moves()
{
    if (shake)
        return 1;
    for (int k = 0; k < GRID_CELLS; k++)
        if (explosion[k] || btemp[k] || (!classic && bricktype[k] == BRICK_EXPLODING))
            return 1;
    if (game_pause)
        return 0;   // paused, debris, balls and power-ups stand where they are
    if (!gameover)
        return 1;   // play: the balls move
    for (int n = 1; n <= DEBRIS_RECORDS; n++)
        if (particle[n].life > 0)
            return 1;
    return 0;
}

// 1 while the screen up draws the same picture until something changes it.
static int still_screen()
{
    switch (screen_up()) {
    case SCREEN_PLAY:
        return (game_pause || gameover) && !play_moves();
    case SCREEN_EDITOR:
        return 1;
    default:
        // The title's fades and the fading highlight of a new high score move.
        return fade_running() == FADE_NONE && !fadehs;
    }
}

// 1 while a key, a mouse button or the pad's d-pad or stick is held: they act every frame.
static int input_held()
{
    for (int k = 0; k < 256; k++)
        if (keys[k])
            return 1;
    return mouse_buttons_held() || pad_direction() != 0 || pad_stick_speed(pad_stick_x()) != 0;
}

// 1 when the caret, if one is shown, would change from the frame on screen.
static int caret_turns()
{
    return caret_in_view && caret_next_on() != caret_phase_shown;
}

// 1 when the last brick's countdown would step in this pass.
static int countdown_steps()
{
    return block_timer && last_block && binterval + 1 >= 60;
}

// ---- The pass ----

int frame_wanted()
{
    if (full_frames < 0) {
        const char *v = getenv("CORVALE_FULL_FRAMES");
        full_frames = v && *v && strcmp(v, "0") != 0;
    }
    int want = full_frames || settle > 0 || !still_screen() || input_held();
    if (!want) {
        if (screen_is(SCREEN_PLAY))
            music_status(status_line, sizeof status_line);  // the sound system's update, every tick
        want = caret_turns() || countdown_steps() || picture_key() != shown_key;
    }
    if (want)
        caret_in_view = 0;  // the frame's text field says again whether it shows one
    return want;
}

void frame_presented()
{
    if (settle > 0)
        settle--;
    caret_phase_shown = caret_in_view ? caret_on : 0;
    if (!still_screen()) {
        shown_key = 0;  // the next still pass draws and notes its picture
        return;
    }
    if (screen_is(SCREEN_PLAY))
        music_status(status_line, sizeof status_line);
    shown_key = picture_key();
}

void frame_skipped()
{
    if (caret_in_view)
        caret_step();
    if (!screen_is(SCREEN_EDITOR))
        play_frame();  // play's logic keeps its tick, as the game frame runs it
    if (screen_is(SCREEN_HELP))
        check_manual_opener();  // a failure's notice changes the key: the next pass draws it
    // The sound system's update, as the game frame runs it (play's ran above).
    if (!screen_is(SCREEN_PLAY) && !screen_is(SCREEN_EDITOR) && game_scene_started()) {
        char line[160];
        music_status(line, sizeof line);
    }
    fps = LockFPS(targetFPS);
}
