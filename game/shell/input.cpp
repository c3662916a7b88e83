// The window procedure: window, keyboard and mouse messages. Presses and
// releases launch the ball, pause, choose menu items and turn the control under
// the pointer into a one-shot request for the screen that owns it.

#include "audio/audio.h"
#include "editor/editor.h"
#include "graphics/graphics.h"
#include "menus/browser.h"
#include "menus/menus.h"
#include "physics/ball.h"
#include "physics/physics.h"
#include "rules/progress.h"
#include "rules/replay.h"
#include "rules/replayfile.h"
#include "rules/watch.h"
#include "rules/rules.h"
#include "rules/savegame.h"
#include "rules/scores.h"
#include "rules/tick.h"
#include "shell.h"

int mouseX, mouseY;
float oldMouseX, oldMouseY;
int mx, my;
int colorlag = 7, bricklag = 9, puplag = 9;

static void set_press_position(LPARAM lParam)
{
    mx = (int)LOWORD((uintptr_t)lParam);
    my = (int)HIWORD((uintptr_t)lParam);
}

static void menu_click()
{
    if (!screen_is(SCREEN_EDITOR))
        play_click();
}

// Main-menu items, while the title is up alone, still and unblocked.
static void choose_menu_item()
{
    if (!(screen_is(SCREEN_TITLE) && fade_running() == FADE_NONE && menublock == 0))
        return;
    switch (selected) {
    case 1: menu_click(); open_screen(SCREEN_OPTIONS); save_check(); break;
    case 3: menu_click(); drag = 0; open_screen(SCREEN_EDITOR); break;
    case 4: menu_click(); open_screen(SCREEN_SCORES); break;
    case 6: menu_click(); open_screen(SCREEN_HELP); break;
    case 2:
        menu_click();
        GUI_CANCEL = 0;
        open_screen(SCREEN_BROWSER);
        file_search(1);
        selected = 0;
        break;
    default: break;
    }
}

// The control under the pointer: a toolbar button's press, or a panel's request.
static void gui_dispatch()
{
    int code = gui_select;
    if (!toolbar_press(code)) {
        int *request = gui_request(code);
        if (!request)
            return;
        *request = 1;
        play_click();
    }
    gui_select = 0;
}

// In play, the balls the sticky paddle holds are let go.
static void release_held_balls()
{
    if (ball_start == 0 && !gameover && !title_up() && glued == 1)
        play_event(EVENT_RELEASE);
}

static void left_press(LPARAM lParam)
{
    set_press_position(lParam);
    if (watching) {   // a click ends the replay
        watch_stop();
        return;
    }
    choose_menu_item();
    if (screen_is(SCREEN_CREDITS)) {
        open_web_page();
        KillFont();
        PostQuitMessage(0);
        return;
    }
    if (fade_running() != FADE_IN) {
        if (screen_is(SCREEN_TITLE) && fade_running() != FADE_OUT && selected == 5 && menublock == 0) {
            menu_click();
            open_screen(SCREEN_CREDITS);
        }
        if (fade_running() != FADE_OUT)
            gui_dispatch();
    }
    if (!screen_is(SCREEN_EDITOR)) {
        release_held_balls();
        return;
    }
    editor_paint();
}

// After "GAME OVER": the score check, then a fresh game under the title screen.
static void end_game()
{
    game_ends(REPLAY_GAME_OVER);
    title_fade_in();
    if (!testing_level) {  // the name dialog may open over the title
        hs_classic = classic != 0;
        hs_score = score;
        checkscores();
    }
    new_game();
}

// The ball waiting on the paddle is launched in play; after "GAME OVER" the
// game ends.
static void launch_or_end()
{
    if (in_flight == 0 && ball_start == 1 && !gameover) {
        if (title_up())
            return;
        play_event(EVENT_LAUNCH);
    } else if (gameover) {
        end_game();
    }
}

static void left_release(LPARAM lParam)
{
    if (fade_running() == FADE_NONE)
        toolbar_release();
    if (screen_is(SCREEN_EDITOR) && fade_running() != FADE_IN)
        editor_release(0);
    set_press_position(lParam);
    launch_or_end();
}

// The right button pauses or resumes play; in the editor it stops erasing.
static void right_release(LPARAM lParam)
{
    if (screen_is(SCREEN_EDITOR) && fade_running() != FADE_IN)
        editor_release(1);
    set_press_position(lParam);
    play_pause();
}

void play_pause()
{
    if (watching)
        return;
    if (gameover || title_up() || fade_running() != FADE_NONE)
        return;
    play_event(EVENT_PAUSE);
    pause_song();
    if (!fullscreen)
        show_cursor(game_pause);
}

void play_launch()
{
    if (watching) {   // as a click, it ends the replay
        watch_stop();
        return;
    }
    release_held_balls();
    launch_or_end();
}

static void wheel(WPARAM wParam)
{
    short delta = (short)HIWORD(wParam);
    music_volume_step(delta > 0 ? 1 : -1);
}

// The messages of the player's input: whether each ends the title's demo.
static int input_message(unsigned msg)
{
    switch (msg) {
    case WM_MOUSEMOVE: return 0;
    case WM_KEYDOWN: case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONUP:
    case WM_MOUSEWHEEL: case WM_XBUTTONUP: return 1;
    default: return -1;
    }
}

LRESULT WndProc(HWND, unsigned msg, WPARAM wParam, LPARAM lParam)
{
    int ends = input_message(msg);
    if (ends >= 0 && player_input(ends))
        return 0;   // it ended the demo, and does nothing else
    switch (msg) {
    case WM_ACTIVATE:
        active = HIWORD(wParam) == 0 ? 1 : 0;
        return 0;
    case WM_CLOSE:
        PostQuitMessage(0);
        return 0;
    case WM_SIZE: {
        // The picture, the pointer and the paddle follow the new client size.
        int w = LOWORD((uintptr_t)lParam), h = HIWORD((uintptr_t)lParam);
        if (w > 0 && h > 0) {
            screenx = w;
            screeny = h;
            ReSizeGLScene(w, h);
        }
        return 0;
    }
    case WM_KEYDOWN: {
        int vk = (int)(wParam & 0xff), fresh = !keys[vk];
        keys[vk] = 1;
        key_pressed(vk, fresh);
        // Backspace and Enter reach an open text entry in order with the
        // characters typed around them, each repeat too.
        if ((wParam & 0xff) == VK_BACK || (wParam & 0xff) == VK_RETURN)
            text_typed((int)(wParam & 0xff));
        return 0;
    }
    case WM_CHAR:
        text_typed((int)wParam);
        return 0;
    case WM_KEYUP:
        keys[wParam & 0xff] = 0;
        key_released((int)(wParam & 0xff));
        return 0;
    case WM_MOUSEMOVE: {
        capture_mouse();
        unsigned x = LOWORD((uintptr_t)lParam), y = HIWORD((uintptr_t)lParam);
        int old_x = mouseX, old_y = mouseY;
        if (x <= (unsigned)(screenx - 1))
            mouseX = (int)x;
        if (y <= (unsigned)(screeny - 1))
            mouseY = (int)y;
        if (mouseX != old_x || mouseY != old_y)
            mouse_moved();
        return 0;
    }
    case WM_LBUTTONDOWN:
        capture_mouse();
        left_press(lParam);
        return 0;
    case WM_LBUTTONUP:
        capture_mouse();
        left_release(lParam);
        return 0;
    case WM_RBUTTONDOWN:
        capture_mouse();
        set_press_position(lParam);
        if (screen_is(SCREEN_EDITOR))
            editor_erase();
        return 0;
    case WM_RBUTTONUP:
        capture_mouse();
        right_release(lParam);
        return 0;
    case WM_MBUTTONUP:
        toggle_random();
        return 0;
    case WM_MOUSEWHEEL:
        wheel(wParam);
        return 0;
    case WM_XBUTTONUP:
        capture_mouse();
        if (HIWORD(wParam) == XBUTTON1)
            next_song();
        else if (HIWORD(wParam) == XBUTTON2)
            previous_song();
        return 0;
    default:
        return 0;
    }
}
