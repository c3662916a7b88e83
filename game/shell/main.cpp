// The program entry: moves to the game folder so that every relative path
// (level_sets/, graphics/, sounds/, user_data/) resolves there, then runs the game.
// Platform file: asks SDL for the program's folder.

#include <SDL.h>

#include <csignal>
#include <cstdio>
#include <unistd.h>

#include "shell/shell.h"

// SIGTERM and SIGINT only raise the flag; the loops end the game from there.
static void on_end_signal(int)
{
    end_requested = 1;
}

// Takes SIGTERM and SIGINT before SDL starts, so that SDL leaves them to us.
static void catch_end_signals()
{
    struct sigaction sa = {};
    sa.sa_handler = on_end_signal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
}

int main(int, char **)
{
    catch_end_signals();
    char *folder = SDL_GetBasePath();
    if (folder) {
        if (chdir(folder) != 0)
            perror(folder);
        SDL_free(folder);
    }
    return WinMain();
}
