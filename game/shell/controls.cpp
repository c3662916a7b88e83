// Steering the paddle with the mouse, the keys or a gamepad, and the keys'
// actions: in play Left and Right (and a d-pad) steer with a slow start, Space, Up and Enter launch, P
// pauses; in the menus the arrows move the choice and Enter presses it.

#include "menus/menus.h"
#include "physics/ball.h"
#include "physics/physics.h"
#include "rules/watch.h"
#include "shell.h"

// ---- Constants ----

// The keys' speed curve: from a slow start, for small moves, to full speed
// after STEER_RAMP_FRAMES frames held (a third of a second at 62 frames a
// second), rising with the square of the time held.
static const float STEER_START_SPEED = 0.01f;   // field units per frame
static const int STEER_RAMP_FRAMES = 20;

// ---- Globals ----

steer_id steer_by = STEER_MOUSE;
static int held_dir;      // direction the keys held last frame: -1 left, 1 right, 0 none
static int held_frames;   // frames that direction has been held

float steer_speed(int frames)
{
    if (frames <= 0)
        return 0.0f;
    if (frames >= STEER_RAMP_FRAMES)
        return STEER_FULL_SPEED;
    float t = (float)(frames - 1) / (float)(STEER_RAMP_FRAMES - 1);
    return STEER_START_SPEED + (STEER_FULL_SPEED - STEER_START_SPEED) * t * t;
}

// The direction the keys and the steering pad's d-pad hold now: -1 left,
// 1 right, 0 none or both.
static int keys_direction()
{
    if (!screen_is(SCREEN_PLAY))
        return 0;
    int dir = (keys[VK_RIGHT] ? 1 : 0) - (keys[VK_LEFT] ? 1 : 0) + pad_direction();
    return dir < -1 ? -1 : dir > 1 ? 1 : dir;
}

float paddle_target()
{
    int dir = fade_running() == FADE_IN || game_pause ? 0 : keys_direction();
    if (dir != held_dir) {
        held_dir = dir;
        held_frames = 0;
    }
    if (dir) {
        held_frames++;
        steer_by = STEER_KEYS;
        return paddlex + (float)dir * steer_speed(held_frames);
    }
    float stick = screen_is(SCREEN_PLAY) ? pad_stick_speed(pad_stick_x()) : 0.0f;
    if (stick != 0.0f) {
        steer_by = STEER_KEYS;
        return paddlex + stick;
    }
    if (steer_by == STEER_MOUSE)
        return mouse_paddle_x();
    return paddlex;
}

// The keys that launch, as the left button does.
static int launch_key(int vk)
{
    return vk == VK_SPACE || vk == VK_UP || vk == VK_RETURN;
}

// A key in play: a fresh press launches, releases or pauses. After "GAME
// OVER" the game ends on the key's release instead, as on the button's.
static void play_key(int vk)
{
    if (launch_key(vk)) {
        if (!gameover)
            play_launch();
        return;
    }
    switch (vk) {
    case 'P':
        play_pause();
        break;
    case VK_LEFT:
    case VK_RIGHT:
        steer_by = STEER_KEYS;
        break;
    default:
        break;
    }
}

// Presses the control the keys chose, as a click does; on the end screen,
// which has none, the press quits as a click does.
void menu_press()
{
    if (!focus_press() && !screen_is(SCREEN_CREDITS))
        return;
    LPARAM at = MAKELPARAM((unsigned)mouseX, (unsigned)mouseY);
    WndProc(hWnd, WM_LBUTTONDOWN, 0, at);
    WndProc(hWnd, WM_LBUTTONUP, 0, at);
}

// A key in the menus: the arrows move the choice (held, at the keyboard's
// repeat), Enter presses it. A notice and the name dialog take Enter themselves.
static void menu_key(int vk, int fresh)
{
    switch (vk) {
    case VK_LEFT: focus_move(-1, 0); break;
    case VK_RIGHT: focus_move(1, 0); break;
    case VK_UP: focus_move(0, 1); break;
    case VK_DOWN: focus_move(0, -1); break;
    case VK_RETURN:
        if (fresh && !notice_shown() && !screen_is(SCREEN_SCORE_NAME))
            menu_press();
        break;
    default: break;
    }
}

void key_pressed(int vk, int fresh)
{
    if (watching) {
        watch_key(vk, fresh);
        return;
    }
    if (screen_is(SCREEN_PLAY)) {
        if (fresh)
            play_key(vk);
    } else if (!screen_is(SCREEN_EDITOR)) {
        menu_key(vk, fresh);
    }
}

void key_released(int vk)
{
    if (!(screen_is(SCREEN_PLAY) && gameover && launch_key(vk)))
        return;
    play_launch();
    // The key's own character (a space, Enter) must not reach a name dialog
    // the end of the game opens.
    forget_typed();
}

void mouse_moved()
{
    steer_by = STEER_MOUSE;
    focus_to_pointer();
}
