// Where the game's own files are: the programs' folder when running from the
// build, or the installed data folder beside the programs' folder (for example
// /usr/games/corvale with /usr/share/games/corvale). Both programs move there
// at start-up so that every shipped file is named relative to it.
#pragma once

#include <string>

// The folder of the running program, from /proc/self/exe; "" when unknown.
std::string program_dir();

// The folder holding the game's shipped files: the installed data folder when
// it exists beside the program's folder, else the program's own folder.
std::string game_data_dir();

// Makes game_data_dir() the working folder. Returns 0 with *error naming the
// folder and the reason when it cannot.
int enter_game_data_dir(std::string *error);
