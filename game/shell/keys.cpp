// The keys polled once per pass of the main loop (volumes, music, editor
// hot-keys) and the Escape action that runs instead of a frame.

#include "audio/audio.h"
#include "editor/editor.h"
#include "menus/menus.h"
#include "rules/progress.h"
#include "rules/replay.h"
#include "rules/replayfile.h"
#include "rules/watch.h"
#include "rules/rules.h"
#include "shell.h"

// True once for a key that is down, clearing it so a held key repeats at the
// keyboard's rate.
static bool take(int vk)
{
    if (!keys[vk])
        return false;
    keys[vk] = 0;
    return true;
}

void poll_keys()
{
    if (take(VK_DELETE)) effects_volume_step(-1);
    if (take(VK_INSERT)) effects_volume_step(1);
    if (take(VK_END)) music_volume_step(-1);
    if (take(VK_HOME)) music_volume_step(1);
    if (take(VK_NEXT)) next_song();
    if (take(VK_PRIOR)) toggle_random();
    if (screen_is(SCREEN_EDITOR))
        editor_keys();
}

// Back to the title screen with a fresh game under it.
static void back_to_title()
{
    new_game();
    title_fade_in();
    game_pause = 0;
}

// Escape takes one step back per press: the topmost panel closes, else the
// screen; play is left (saved), a test game ends, the editor is left (asking
// about unsaved changes). The bare title ignores it.
void escape_action()
{
    keys[VK_ESCAPE] = 0;
    dropped = 0;
    if (watching) {
        watch_stop();
        return;
    }
    if (game_pause) {
        game_pause = 0;
        pause_song();
        if (!fullscreen)
            show_cursor(0);
    }
    if (test) {
        // Left during its fade-out, the test game's title must only fade in:
        // with both fades running the title would stay half-faded for good.
        back_to_title();
        drag = 0;
        gui_select = 0;
        menublock = 0;
        return;
    }
    if (screen_is(SCREEN_EDITOR)) {
        if (cancel_typing())
            return;
        if (!dialog_escape())
            leave_editor_asking(0);
        return;
    }
    if (screen_is(SCREEN_PLAY)) {
        game_ends(REPLAY_ESCAPE);
        leave_game_saved();
        back_to_title();
        lcount = 1;
        return;
    }
    if (fade_running() == FADE_NONE)
        menu_escape();
}
