// The editor's keyboard shortcuts, polled once per main-loop pass after the
// frame, so a key an open text entry took in that frame never acts here.

#include "editor.h"
#include "menus/menus.h"
#include "rules/rules.h"
#include "shell/shell.h"

// True once for a key that is down, clearing it so a held key repeats at the
// keyboard's rate.
static int take(int vk)
{
    if (!keys[vk])
        return 0;
    keys[vk] = 0;
    return 1;
}

// Numpad keys for one component: minus (not below 1), back to 127, plus (not above 127).
static void keypad_colour(int *c, int minus_key, int reset_key, int plus_key)
{
    if (take(minus_key) && *c > 1)
        *c -= 1;
    if (take(reset_key))
        *c = 127;
    if (take(plus_key) && *c < 127)
        *c += 1;
}

// Ctrl+Z undoes; Ctrl+Y and Ctrl+Shift+Z redo.
static void undo_keys()
{
    if (!keys[VK_CONTROL])
        return;
    if (take('Y'))
        redo();
    if (keys[VK_SHIFT] && take('Z'))
        redo();
    if (take('Z'))
        undo();
}

// The editor hot-keys, in their fixed order; each takes its key.
void editor_keys()
{
    undo_keys();
    if (take('V')) visible = !visible;
    if (take('C')) {
        classic = !classic;
        grid = !classic;
    }
    if (take(VK_F1)) test_play();
    if (take('G')) grid = !grid;
    if (take('P')) pupedit = !pupedit;
    if (take('I')) step_powerup(-1);
    if (take('O')) step_powerup(1);
    if (take(VK_F5)) {
        undo_record();
        clear_edited_level();
    }
    if (take(VK_F2)) save_edited_level();
    if (take(VK_DOWN)) select_brick_type(guibrick + 1);
    if (take(VK_UP)) select_brick_type(guibrick - 1);
    if (take(VK_RIGHT)) step_texture(1);
    if (take(VK_SUBTRACT)) editor_prev_level();
    if (take(VK_ADD)) editor_next_level();
    keypad_colour(&curr, VK_NUMPAD0 + 1, VK_NUMPAD0 + 4, VK_NUMPAD0 + 7);
    keypad_colour(&curg, VK_NUMPAD0 + 2, VK_NUMPAD0 + 5, VK_NUMPAD0 + 8);
    keypad_colour(&curb, VK_NUMPAD0 + 3, VK_NUMPAD0 + 6, VK_NUMPAD0 + 9);
    if (take(VK_LEFT)) step_texture(-1);
    if (take('D')) {
        dropped = 1;
        get_drops = 0;
    }
}
