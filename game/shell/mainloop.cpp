// The game's spine: start-up in order, the main loop, and shut-down in order.

#include "audio/audio.h"
#include "editor/editor.h"
#include "graphics/graphics.h"
#include "menus/menus.h"
#include "rules/replay.h"
#include "rules/replayfile.h"
#include "rules/watch.h"
#include "rules/rules.h"
#include "shell.h"

// How long a pass waits for messages while the window is minimised, in ms.
static const int INACTIVE_WAIT_MS = 10;

// Frames between two hand-backs of freed memory: about ten seconds. The
// rasteriser compiles what each new sight of play needs (an explosion, debris,
// a power-up) when it first appears, and frees the compiler's working memory.
static const int FRAMES_PER_GIVE_BACK = 620;
static int frames_since_give_back;
static int scenes_given_back;   // new_scenes_kept at the last hand-back for a new scene
// Play frames drawn in part in a row before a hand-back: the rasteriser has
// then compiled what the passes need, and freed its working memory.
static const int PART_FRAMES_BEFORE_GIVE_BACK = 30;
static int parts_seen;          // part_frames after the last frame
static int parts_in_row;

// Releases the gamepads, the sound system, the fonts and the window, in that order.
static void shut_down()
{
    gamepad_stop();
    shutdown_sound();
    KillFont();
    KillsFont();
    KillGLWindow();
}

// Saves a game in play before the program ends; an editor's test game is not kept.
static void save_running_game()
{
    if (screen_is(SCREEN_PLAY) && test == 0 && !watching) {
        game_ends(REPLAY_QUIT);
        leave_game_saved();
    }
}

// Freed memory goes back to the system every FRAMES_PER_GIVE_BACK frames,
// after a frame that drew a scene for the first time (what the rasteriser used
// compiling it is freed then), and once a run of play frames drawn in part
// has begun, and after kept texts were let go.
static void give_back_after_frame(int texts_gone)
{
    if (new_scenes_kept != scenes_given_back || texts_gone) {
        scenes_given_back = new_scenes_kept;
        give_back_memory();
    }
    parts_in_row = part_frames != parts_seen ? parts_in_row + 1 : 0;
    parts_seen = part_frames;
    if (parts_in_row == PART_FRAMES_BEFORE_GIVE_BACK)
        give_back_memory();
    if (++frames_since_give_back >= FRAMES_PER_GIVE_BACK) {
        frames_since_give_back = 0;
        give_back_memory();
    }
}

// One pass of the active loop: F12 quits (saving a game in play), Escape runs
// its action, otherwise one frame is drawn and shown. Returns 1 to quit.
static int run_active_pass()
{
    if (keys[VK_F12]) {
        // Changes in the editor are asked about first; the answer quits.
        if (screen_is(SCREEN_EDITOR) && level_unsaved()) {
            keys[VK_F12] = 0;
            leave_editor_asking(1);
            return 0;
        }
        save_running_game();
        return 1;
    }
    if (!keys[VK_ESCAPE]) {
        m_startTime = read_counter();
        if (!frame_wanted()) {
            // The picture on screen is still right: nothing is drawn or shown.
            frame_skipped();
            if (channel && isplaylist)
                change_track();
            return 0;
        }
        DrawGLScene();
        if (channel && isplaylist)
            change_track();
        mark_back_buffer();
        present_frame();
        check_back_buffer();
        frame_presented();
        give_back_after_frame(texts_frame_done());
    } else {
        escape_action();
    }
    return 0;
}

int WinMain()
{
    open_ini();
    if (!init_sound())
        return -1;
    if (!CreateGLWindow("Corvale by Halvard Software", screenx, screeny, bit, fullscreen))
        return 1;  // the failure has been shown; the start did not succeed
    if (!timer_init())
        message_box("Your computer does not support a High-resolution timer./n"
                    "Frame rates may vary wildly.", "Mild annoyance", MB_WARNING);
    if (!InitGL()) {
        KillGLWindow();
        message_box("Initialization Failed.", "ERROR", MB_WARNING);
        return 1;
    }
    // Decoding the images and building the fonts left freed memory behind.
    give_back_memory();
    gamepad_start();   // without pads the game plays on with the mouse and keys

    int exit_code = 0;
    for (;;) {
        if (end_requested) {
            save_running_game();
            break;
        }
        if (pump_messages(&exit_code))
            break;
        if (messages_arrived())
            mark_changed();  // input, an expose, a resize: the picture may change
        if (active) {
            if (run_active_pass())
                break;
        } else {
            wait_messages(INACTIVE_WAIT_MS);
        }
        forget_typed();  // typed while no entry was open
        poll_keys();
    }
    // However the game ends (a signal, F12, the close box), a high score whose
    // name is still being typed is kept.
    finish_name_entry();
    shut_down();
    return exit_code;
}
