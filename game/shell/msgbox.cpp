// Message boxes: SDL's simple boxes, with the text also written to standard
// error so that a message is never lost when no display can show it.
// Platform file.

#include <SDL.h>

#include <cstdio>

#include "shell.h"

static SDL_Window *owner_window()
{
    return SDL_GL_GetCurrentWindow();
}

static Uint32 box_flags(msg_kind kind)
{
    switch (kind) {
    case MB_ERROR: return SDL_MESSAGEBOX_ERROR;
    case MB_WARNING: return SDL_MESSAGEBOX_WARNING;
    default: return SDL_MESSAGEBOX_INFORMATION;
    }
}

void message_box(const char *text, const char *title, msg_kind kind)
{
    fprintf(stderr, "%s: %s\n", title, text);
    SDL_ShowSimpleMessageBox(box_flags(kind), title, text, owner_window());
}

// Asks a Yes/No question; when no box can be shown the answer is Yes, the
// choice that keeps the game running.
int message_box_yesno(const char *text, const char *title)
{
    fprintf(stderr, "%s: %s\n", title, text);
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
    };
    SDL_MessageBoxData data = {};
    data.flags = SDL_MESSAGEBOX_WARNING;
    data.window = owner_window();
    data.title = title;
    data.message = text;
    data.numbuttons = 2;
    data.buttons = buttons;
    int answer = 1;
    if (SDL_ShowMessageBox(&data, &answer) != 0)
        return 1;
    return answer == 1;
}
