// The window procedure: window, keyboard and mouse messages; the polled keys
// and the Escape action run from the main loop.

#include "shell.h"

int mouseX, mouseY;   // last accepted pointer position, client pixels

LRESULT WndProc(HWND, unsigned msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_ACTIVATE:
        active = HIWORD(wParam) == 0 ? 1 : 0;
        return 0;
    case WM_CLOSE:
        PostQuitMessage(0);
        return 0;
    case WM_KEYDOWN:
        keys[wParam & 0xff] = 1;
        return 0;
    case WM_KEYUP:
        keys[wParam & 0xff] = 0;
        return 0;
    case WM_MOUSEMOVE: {
        capture_mouse();
        unsigned x = LOWORD((uintptr_t)lParam), y = HIWORD((uintptr_t)lParam);
        if (x <= (unsigned)(screenx - 1))
            mouseX = (int)x;
        if (y <= (unsigned)(screeny - 1))
            mouseY = (int)y;
        return 0;
    }
    default:
        return 0;
    }
}

// The volume, music and editor hot-keys are polled here once the sound
// effects, the music player and the editor exist.
void poll_keys()
{
}

// Leaving a game with Escape needs a game to leave; until play exists the key
// does nothing beyond holding the frame.
void escape_action()
{
}
