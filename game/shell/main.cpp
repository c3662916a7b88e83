// The program entry: moves to the game folder so that every relative path
// (level_sets/, graphics/, sounds/, user_data/) resolves there, then runs the game.
// Platform file: asks SDL for the program's folder.

#include <SDL.h>

#include <cstdio>
#include <unistd.h>

#include "shell/shell.h"

int main(int, char **)
{
    char *folder = SDL_GetBasePath();
    if (folder) {
        if (chdir(folder) != 0)
            perror(folder);
        SDL_free(folder);
    }
    return WinMain();
}
