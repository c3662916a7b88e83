// What the gamepads do in the game: the steering pad (the first to press a
// button), its stick with a dead zone and its d-pad steering the paddle, A
// launching and pressing, Start pausing, B and Back as Escape, the choice in
// the menus, and play paused when the steering pad is unplugged.

#include <cmath>

#include "menus/menus.h"
#include "rules/watch.h"
#include "shell.h"

// ---- Constants ----

static const float MENU_PUSH = 0.5f;   // the stick pushed this far moves the menus' choice once

// ---- Globals ----

int steering_pad = -1;
int pad_lost;
static int dpad_held[4];          // the steering pad's d-pad, PAD_UP .. PAD_RIGHT: 1 while held
static float stick_at[2];         // the steering pad's stick, PAD_STICK_X and PAD_STICK_Y
static int stick_menu_dir[2];     // the stick's direction in the menus per axis: -1, 0 or 1

// ---- The steering pad ----

// What the last steering pad held is let go.
static void forget_held()
{
    for (int &h : dpad_held)
        h = 0;
    stick_at[0] = stick_at[1] = 0;
    stick_menu_dir[0] = stick_menu_dir[1] = 0;
}

// 1 when input of this pad counts: it steers, or no pad does and this one
// takes over now.
static int takes(int pad, int claims)
{
    if (pad == steering_pad)
        return 1;
    if (steering_pad != -1 || !claims)
        return 0;
    steering_pad = pad;
    forget_held();
    return 1;
}

float pad_stick_speed(float x)
{
    float a = std::fabs(x);
    if (a <= PAD_DEAD_ZONE)
        return 0.0f;
    float share = (a - PAD_DEAD_ZONE) / (1.0f - PAD_DEAD_ZONE);
    if (share > 1.0f)
        share = 1.0f;
    return (x < 0 ? -1.0f : 1.0f) * STEER_FULL_SPEED * share;
}

int pad_direction()
{
    return dpad_held[PAD_RIGHT - PAD_UP] - dpad_held[PAD_LEFT - PAD_UP];
}

float pad_stick_x()
{
    return stick_at[PAD_STICK_X];
}

// ---- Buttons ----

// A button pressed in the menus: the d-pad moves the choice, A and Start press it.
static void menu_button(pad_button_id b)
{
    switch (b) {
    case PAD_UP: focus_move(0, 1); break;
    case PAD_DOWN: focus_move(0, -1); break;
    case PAD_LEFT: focus_move(-1, 0); break;
    case PAD_RIGHT: focus_move(1, 0); break;
    case PAD_A:
    case PAD_START: menu_press(); break;
    default: break;
    }
}

void pad_button(int pad, pad_button_id b, int down)
{
    if (!takes(pad, down && b != PAD_OTHER))
        return;
    if (b >= PAD_UP && b <= PAD_RIGHT)
        dpad_held[b - PAD_UP] = down;
    if (!down)
        return;
    if (player_input(1))
        return;   // it ended the title's demo
    if (b == PAD_B || b == PAD_BACK) {
        keys[VK_ESCAPE] = 1;   // the main loop runs the Escape action once
        return;
    }
    if (screen_is(SCREEN_EDITOR))
        return;
    if (!screen_is(SCREEN_PLAY)) {
        menu_button(b);
        return;
    }
    if (b == PAD_A)
        play_launch();
    else if (b == PAD_START)
        play_pause();
    else if (b == PAD_LEFT || b == PAD_RIGHT)
        steer_by = STEER_KEYS;
}

// ---- Stick ----

void pad_stick(int pad, pad_axis_id axis, float value)
{
    if (std::fabs(value) > PAD_DEAD_ZONE)
        player_input(0);   // a hand on the stick: the title is not idle
    if (!takes(pad, std::fabs(value) >= MENU_PUSH))
        return;
    stick_at[axis] = value;
    if (screen_is(SCREEN_PLAY)) {
        if (axis == PAD_STICK_X && pad_stick_speed(value) != 0)
            steer_by = STEER_KEYS;
        return;
    }
    int dir = value >= MENU_PUSH ? 1 : value <= -MENU_PUSH ? -1 : 0;
    if (dir == stick_menu_dir[axis])
        return;
    stick_menu_dir[axis] = dir;
    if (dir && !screen_is(SCREEN_EDITOR))
        focus_move(axis == PAD_STICK_X ? dir : 0, axis == PAD_STICK_Y ? -dir : 0);
}

// ---- Unplugging ----

void pad_unplugged(int pad)
{
    if (pad != steering_pad)
        return;
    steering_pad = -1;
    forget_held();
    if (!screen_is(SCREEN_PLAY) || gameover)
        return;
    pad_lost = 1;
    if (!game_pause && fade_running() == FADE_NONE)
        play_pause();
}
