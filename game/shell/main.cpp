// The program entry: moves to the game folder (the installed data folder, or
// the program's own folder in a build) so that every relative path
// (level_sets/, graphics/, sounds/) resolves there, then runs the game.

#include <csignal>
#include <cstdio>
#include <string>

#include "gamedir.h"
#include "shell/shell.h"

// SIGTERM, SIGINT and SIGHUP (the terminal the game was started from closed)
// only raise the flag; the loops end the game from there.
static void on_end_signal(int)
{
    end_requested = 1;
}

// Takes the end signals before SDL starts, so that SDL leaves them to us.
static void catch_end_signals()
{
    struct sigaction sa = {};
    sa.sa_handler = on_end_signal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
    leave_end_signals_to_game();
}

int main(int, char **)
{
    map_large_blocks();
    catch_end_signals();
    std::string error;
    if (!enter_game_data_dir(&error)) {
        message_box(error.c_str(), "ERROR", MB_ERROR);
        return 1;
    }
    return WinMain();
}
