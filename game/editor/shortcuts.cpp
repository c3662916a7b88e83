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

// Numpad keys for one component: minus (not below 1), back to 127, plus (not
// above 127). A key held or pressed again steps as one undoable change.
static void keypad_colour(int *c, int minus_key, int reset_key, int plus_key)
{
    if (take(minus_key) && *c > 1) {
        undo_record_run(minus_key);
        *c -= 1;
    }
    if (take(reset_key)) {
        undo_record();
        *c = 127;
    }
    if (take(plus_key) && *c < 127) {
        undo_record_run(plus_key);
        *c += 1;
    }
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

// B, L, R (Shift+R filled), F choose a tool; M turns the mirror on or off.
static void tool_keys()
{
    if (keys[VK_CONTROL])
        return;
    if (take('B')) edtool = TOOL_BRUSH;
    if (take('L')) edtool = TOOL_LINE;
    if (take('R')) edtool = keys[VK_SHIFT] ? TOOL_BOX : TOOL_RECT;
    if (take('F')) edtool = TOOL_FILL;
    if (take('M')) mirror = !mirror;
}

// While a colour value is typed, digits (numeric keypad too), Backspace and
// Enter go to it.
static void typing_keys()
{
    if (typing_component < 0)
        return;
    for (int d = 0; d <= 9; d++)
        if (take('0' + d) || take(VK_NUMPAD0 + d))
            type_digit(d);
    if (take(VK_BACK))
        type_digit(-1);
    if (take(VK_RETURN))
        finish_typing();
}

// Ctrl+I, Ctrl+D, Ctrl+X (with a question), Ctrl+Up and Ctrl+Down change the
// levels; F3 shows or hides the level strip.
static void level_keys()
{
    if (take(VK_F3))
        level_strip = !level_strip;
    if (!keys[VK_CONTROL])
        return;
    if (take('I')) insert_level_before();
    if (take('D')) duplicate_level();
    if (take('X')) open_dialog(DLG_DELETE_LEVEL);
    if (take(VK_UP)) move_level(-1);
    if (take(VK_DOWN)) move_level(1);
}

// The editor hot-keys, in their fixed order; each takes its key.
void editor_keys()
{
    typing_keys();
    undo_keys();
    level_keys();
    tool_keys();
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
