// The keys polled once per pass of the main loop (volumes, music, editor
// hot-keys) and the Escape action that runs instead of a frame.

#include "audio/audio.h"
#include "editor/editor.h"
#include "menus/menus.h"
#include "rules/progress.h"
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

static void step_colour(int *c, int minus_key, int reset_key, int plus_key)
{
    if (take(minus_key) && *c > 1)
        *c -= 1;
    if (take(reset_key))
        *c = 127;
    if (take(plus_key) && *c < 127)
        *c += 1;
}

static void select_brick_type(int position)
{
    guibrick = position;
    curr = curg = curb = 127;
    curbrick = brick_selector_map[guibrick];
}

static void poll_editor_keys()
{
    if (take('V')) visible = !visible;
    if (take('C')) {
        classic = !classic;
        grid = !classic;
    }
    if (take(VK_F1)) test_play();
    if (take('G')) grid = !grid;
    if (take('P')) pupedit = !pupedit;
    if (take('I') && --curpup < 1) curpup = maxpup;
    if (take('O') && ++curpup > maxpup) curpup = 1;
    if (take(VK_F5)) clear_edited_level();
    if (take(VK_F2)) save_edited_level();
    if (take(VK_DOWN)) select_brick_type(guibrick >= 5 ? 1 : guibrick + 1);
    if (take(VK_UP)) select_brick_type(guibrick <= 1 ? 5 : guibrick - 1);
    if (take(VK_RIGHT) && ++texnumber > texmax) texnumber = 1;
    if (take(VK_SUBTRACT)) GUI_LEVMINUS = 1;
    if (take(VK_ADD)) GUI_LEVPLUS = 1;
    step_colour(&curr, VK_NUMPAD0 + 1, VK_NUMPAD0 + 4, VK_NUMPAD0 + 7);
    step_colour(&curg, VK_NUMPAD0 + 2, VK_NUMPAD0 + 5, VK_NUMPAD0 + 8);
    step_colour(&curb, VK_NUMPAD0 + 3, VK_NUMPAD0 + 6, VK_NUMPAD0 + 9);
    if (take(VK_LEFT) && --texnumber < 1) texnumber = texmax;
}

void poll_keys()
{
    if (take(VK_DELETE)) effects_volume_step(-1);
    if (take(VK_INSERT)) effects_volume_step(1);
    if (take(VK_END)) music_volume_step(-1);
    if (take(VK_HOME)) music_volume_step(1);
    if (take(VK_NEXT)) next_song();
    if (take(VK_PRIOR)) toggle_random();
    if (edit)
        poll_editor_keys();
}

// Back to the title screen with a fresh game under it.
static void back_to_title()
{
    new_game();
    menu = 1;
    fadein = 1;
    game_pause = 0;
}

void escape_action()
{
    dropped = 0;
    if (game_pause) {
        game_pause = 0;
        pause_song();
        if (!fullscreen)
            show_cursor(0);
    }
    if (test) {
        back_to_title();
        drag = 0;
        gui_select = 0;
        edit = 0;
        menublock = 0;
    }
    if (edit) {
        if (!name && !description && !fnam && !author) {
            edit = 0;
            menublock = 0;
        } else {
            name = description = fnam = author = 0;
            clear_buffer();
            bcount = 0;
            gui_block = 0;
            keys[VK_ESCAPE] = 0;
        }
    }
    if (fadein == 0 && menu == 0) {
        leave_game_saved();
        back_to_title();
        lcount = 1;
    }
}
