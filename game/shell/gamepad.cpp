// Gamepads through SDL's game-controller interface: each pad opened as it is
// plugged in (those present at the start too), the mappings (SDL's own,
// SDL_GAMECONTROLLERCONFIG, and gamecontrollerdb.txt in the player's folder),
// and their buttons and left stick handed to the game as plain values.
// Platform file: SDL2.

#include <SDL.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "paths.h"
#include "shell.h"

// ---- Globals ----

static const int MAX_PADS = 8;               // pads open at once; more are left unopened
static SDL_GameController *open_pads[MAX_PADS];
static int pads_up;                          // the game-controller subsystem is running

// ---- Start and stop ----

int gamepad_start()
{
    // SDL reads SDL_GAMECONTROLLERCONFIG itself as the subsystem starts.
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        fprintf(stderr, "Corvale: gamepads cannot be used (%s)\n", SDL_GetError());
        return 0;
    }
    pads_up = 1;
    std::string db = player_file("gamecontrollerdb.txt");
    if (access(db.c_str(), F_OK) == 0 && SDL_GameControllerAddMappingsFromFile(db.c_str()) < 0)
        fprintf(stderr, "Corvale: the gamepad mappings in %s cannot be read (%s)\n", db.c_str(),
                SDL_GetError());
    return 1;
}

void gamepad_stop()
{
    if (!pads_up)
        return;
    for (SDL_GameController *&pad : open_pads) {
        if (pad)
            SDL_GameControllerClose(pad);
        pad = nullptr;
    }
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    pads_up = 0;
}

// ---- Plugging in and out ----

static int instance_of(SDL_GameController *pad)
{
    return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
}

// Opens the pad at a device index, unless it is open already.
static void plugged(int device)
{
    SDL_GameController *pad = SDL_GameControllerOpen(device);
    if (!pad)
        return;
    for (SDL_GameController *open : open_pads)
        if (open == pad) {
            SDL_GameControllerClose(pad);   // SDL counts opens; one is kept
            return;
        }
    for (SDL_GameController *&slot : open_pads)
        if (!slot) {
            slot = pad;
            return;
        }
    SDL_GameControllerClose(pad);
}

static void unplugged(int instance)
{
    for (SDL_GameController *&pad : open_pads)
        if (pad && instance_of(pad) == instance) {
            SDL_GameControllerClose(pad);
            pad = nullptr;
        }
    pad_unplugged(instance);
}

// ---- Buttons and stick ----

// The game's name for a button; PAD_OTHER for those it does not use.
static pad_button_id button_of(int sdl_button)
{
    switch (sdl_button) {
    case SDL_CONTROLLER_BUTTON_A: return PAD_A;
    case SDL_CONTROLLER_BUTTON_B: return PAD_B;
    case SDL_CONTROLLER_BUTTON_BACK: return PAD_BACK;
    case SDL_CONTROLLER_BUTTON_START: return PAD_START;
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return PAD_UP;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return PAD_DOWN;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return PAD_LEFT;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return PAD_RIGHT;
    default: return PAD_OTHER;
    }
}

// An axis value as -1.0 .. 1.0.
static float unit_axis(int value)
{
    float v = (float)value / 32767.0f;
    return v < -1.0f ? -1.0f : v > 1.0f ? 1.0f : v;
}

int gamepad_event(const SDL_Event &e)
{
    switch (e.type) {
    case SDL_CONTROLLERDEVICEADDED:
        plugged(e.cdevice.which);
        return 1;
    case SDL_CONTROLLERDEVICEREMOVED:
        unplugged(e.cdevice.which);
        return 1;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        pad_button(e.cbutton.which, button_of(e.cbutton.button), e.type == SDL_CONTROLLERBUTTONDOWN);
        return 1;
    case SDL_CONTROLLERAXISMOTION:
        if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX)
            pad_stick(e.caxis.which, PAD_STICK_X, unit_axis(e.caxis.value));
        else if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY)
            pad_stick(e.caxis.which, PAD_STICK_Y, unit_axis(e.caxis.value));
        return 1;
    default:
        return 0;
    }
}

int gamepads_open()
{
    int n = 0;
    for (SDL_GameController *pad : open_pads)
        n += pad != nullptr;
    return n;
}
