// The message pump: turns SDL's events into the window messages the window
// procedure handles, maps SDL's keys to virtual-key codes, hands on the
// characters the system's keyboard layout typed, and reads the gamepads
// through SDL's game-controller interface.
// Platform file: SDL2.

#include <SDL.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "paths.h"
#include "shell.h"


// ---- Gamepads ----
// Each pad opened as it is plugged in (those present at the start too), the
// mappings (SDL's own, SDL_GAMECONTROLLERCONFIG, and gamecontrollerdb.txt in
// the player's folder), and their buttons and left stick handed to the game as
// plain values.

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

// A gamepad's event handed to the game; 0 for any other event.
static int gamepad_event(const SDL_Event &e)
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

// ---- Messages ----

static int quit_pending;
static int arrivals;   // events taken since messages_arrived() last asked
static int quit_value;

void leave_end_signals_to_game()
{
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
}

void PostQuitMessage(int code)
{
    quit_pending = 1;
    quit_value = code;
}

int vk_from_sdl(int sym, int scancode)
{
    // The numeric keypad by position, whatever the Num Lock state.
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9)
        return VK_NUMPAD0 + 1 + (scancode - SDL_SCANCODE_KP_1);
    switch (scancode) {
    case SDL_SCANCODE_KP_0: return VK_NUMPAD0;
    case SDL_SCANCODE_KP_PLUS: return VK_ADD;
    case SDL_SCANCODE_KP_MINUS: return VK_SUBTRACT;
    case SDL_SCANCODE_KP_ENTER: return VK_RETURN;
    default: break;
    }
    if (sym >= SDLK_a && sym <= SDLK_z)
        return 'A' + (sym - SDLK_a);
    if (sym >= SDLK_0 && sym <= SDLK_9)
        return '0' + (sym - SDLK_0);
    if (sym >= SDLK_F1 && sym <= SDLK_F12)
        return VK_F1 + (sym - SDLK_F1);
    switch (sym) {
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_HOME: return VK_HOME;
    case SDLK_END: return VK_END;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_RETURN: return VK_RETURN;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_TAB: return VK_TAB;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL: case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT: case SDLK_RALT: return VK_MENU;
    case SDLK_SEMICOLON: return VK_OEM_1;
    case SDLK_EQUALS: return VK_OEM_PLUS;
    case SDLK_COMMA: return VK_OEM_COMMA;
    case SDLK_MINUS: return VK_OEM_MINUS;
    case SDLK_PERIOD: return VK_OEM_PERIOD;
    case SDLK_SLASH: return VK_OEM_2;
    case SDLK_BACKQUOTE: return VK_OEM_3;
    case SDLK_LEFTBRACKET: return VK_OEM_4;
    case SDLK_BACKSLASH: return VK_OEM_5;
    case SDLK_RIGHTBRACKET: return VK_OEM_6;
    case SDLK_QUOTE: return VK_OEM_7;
    default: return 0;
    }
}

// Packs a client position as the desktop did: two unsigned 16-bit words, so a
// position left of or above the window arrives as a large value.
static LPARAM position(int x, int y)
{
    return MAKELPARAM((unsigned)x & 0xffff, (unsigned)y & 0xffff);
}

static void send(unsigned msg, WPARAM w, LPARAM l)
{
    WndProc(hWnd, msg, w, l);
}

static void translate_window_event(const SDL_WindowEvent &e)
{
    switch (e.event) {
    case SDL_WINDOWEVENT_MINIMIZED:
        send(WM_ACTIVATE, (WPARAM)1 << 16, 0);
        break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        send(WM_ACTIVATE, 1, 0);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        send(WM_ACTIVATE, 0, 0);
        break;
    case SDL_WINDOWEVENT_CLOSE:
        send(WM_CLOSE, 0, 0);
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        send(WM_SIZE, 0, position(e.data1, e.data2));
        break;
    default:
        break;
    }
}

static void translate_button(const SDL_MouseButtonEvent &e, bool down)
{
    LPARAM at = position(e.x, e.y);
    switch (e.button) {
    case SDL_BUTTON_LEFT: send(down ? WM_LBUTTONDOWN : WM_LBUTTONUP, 0, at); break;
    case SDL_BUTTON_RIGHT: send(down ? WM_RBUTTONDOWN : WM_RBUTTONUP, 0, at); break;
    case SDL_BUTTON_MIDDLE: send(down ? WM_MBUTTONDOWN : WM_MBUTTONUP, 0, at); break;
    case SDL_BUTTON_X1: send(down ? WM_XBUTTONDOWN : WM_XBUTTONUP, (WPARAM)XBUTTON1 << 16, at); break;
    case SDL_BUTTON_X2: send(down ? WM_XBUTTONDOWN : WM_XBUTTONUP, (WPARAM)XBUTTON2 << 16, at); break;
    default: break;
    }
}

static void translate_wheel(const SDL_MouseWheelEvent &e)
{
    int y = e.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.y : e.y;
    if (y == 0)
        return;
    int x = 0, py = 0;
    SDL_GetMouseState(&x, &py);
    unsigned delta = (unsigned)(short)(y * WHEEL_DELTA) & 0xffff;
    send(WM_MOUSEWHEEL, (WPARAM)delta << 16, position(x, py));
}

// Sends each character of a UTF-8 text as one typed character; bytes that do
// not form a character are passed over.
static void translate_text(const char *text)
{
    const unsigned char *p = (const unsigned char *)text;
    while (*p) {
        unsigned c = *p++;
        int more = c < 0x80 ? 0
                   : (c & 0xe0) == 0xc0 ? 1
                   : (c & 0xf0) == 0xe0 ? 2
                   : (c & 0xf8) == 0xf0 ? 3
                                        : -1;
        if (more < 0)
            continue;
        if (more)
            c &= 0x3f >> more;
        for (; more > 0 && (*p & 0xc0) == 0x80; more--)
            c = (c << 6) | (*p++ & 0x3f);
        if (more == 0)
            send(WM_CHAR, (WPARAM)c, 0);
    }
}

static void translate(const SDL_Event &e)
{
    switch (e.type) {
    case SDL_QUIT:
        send(WM_CLOSE, 0, 0);
        break;
    case SDL_WINDOWEVENT:
        translate_window_event(e.window);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        int vk = vk_from_sdl(e.key.keysym.sym, e.key.keysym.scancode);
        // Escape steps back one screen per press; a held key must not run on.
        if (vk == VK_ESCAPE && e.type == SDL_KEYDOWN && e.key.repeat)
            break;
        if (vk)
            send(e.type == SDL_KEYDOWN ? WM_KEYDOWN : WM_KEYUP, (WPARAM)vk, 0);
        break;
    }
    case SDL_TEXTINPUT:
        translate_text(e.text.text);
        break;
    case SDL_MOUSEMOTION:
        send(WM_MOUSEMOVE, 0, position(e.motion.x, e.motion.y));
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        translate_button(e.button, e.type == SDL_MOUSEBUTTONDOWN);
        break;
    case SDL_MOUSEWHEEL:
        translate_wheel(e.wheel);
        break;
    default:
        gamepad_event(e);
        break;
    }
}

int pump_messages(int *quit_code)
{
    // Typed characters come from the system's layout, through its text input.
    if (!SDL_IsTextInputActive())
        SDL_StartTextInput();
    SDL_Event e;
    while (!quit_pending && SDL_PollEvent(&e)) {
        translate(e);
        arrivals++;
    }
    if (quit_pending) {
        quit_pending = 0;
        *quit_code = quit_value;
        return 1;
    }
    return 0;
}

int messages_arrived()
{
    int n = arrivals;
    arrivals = 0;
    return n;
}

// While the window is minimised nothing is drawn; wait for the next message
// (or a short while, so the polled keys still run) instead of spinning.
void wait_messages(int ms)
{
    SDL_WaitEventTimeout(nullptr, ms);
}
