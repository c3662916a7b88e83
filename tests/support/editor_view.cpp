// Helpers for the editor tests: pointer, frames, pixels, presses and keys.

#include "editor_view.h"

#include <cstring>

#include "editor/editor.h"
#include "graphics/graphics.h"
#include "menus/menus.h"
#include "rules/rules.h"
#include "shell/shell.h"

void point_at(float gx, float gy)
{
    msensitivity = 8.0f;
    float k = pointer_scale() * msensitivity;
    mouseX = (int)((gx - 0.25f) / k + 0.5f);
    mouseY = (int)((2.0f - gy) / k + 0.5f);
    move_pointer();
}

void over(int r, int c)
{
    point_at((float)cell_centre_x(c), (float)cell_centre_y(r));
    editor();
}

void mouse(unsigned msg) { WndProc(nullptr, msg, 0, 0); }

void click(float gx, float gy)
{
    point_at(gx, gy);
    editor();
    mouse(WM_LBUTTONDOWN);
    mouse(WM_LBUTTONUP);
}

void key(int vk)
{
    keys[vk] = 1;
    poll_keys();
}

void reset_editor()
{
    clear_edited_level();
    memset(keys, 0, sizeof keys);
    screen_set(SCREEN_EDITOR);
    grid = 1;
    test = testing_level = classic = pupedit = visible = mirror = 0;
    edtool = TOOL_BRUSH;
    drag = edrag = dropped = get_drops = 0;
    close_dialogs();
    edlevel = curlevel = 1;
    texmax = 5;
    texnumber = curbrick = guibrick = curpup = 1;
    curr = curg = curb = 127;
    colorlag = 7, bricklag = puplag = 9;
    undo_reset();
    point_at(0.3f, 1.99f);   // left of the grid, over nothing
    editor();
}

void start_editor()
{
    edload();
    edlevel = 1;
}
