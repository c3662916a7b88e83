// The program entry: moves to the game folder (the installed data folder, or
// the program's own folder in a build) so that every relative path
// (level_sets/, graphics/, sounds/) resolves there, then runs the game.

#include <cstdio>
#include <string>

#include "gamedir.h"
#include "shell/shell.h"

int main(int, char **)
{
    std::string error;
    if (!enter_game_data_dir(&error)) {
        message_box(error.c_str(), "ERROR", MB_ERROR);
        return 1;
    }
    return WinMain();
}
