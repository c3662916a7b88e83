// Where the player's own files live: the editor's levels and the level sets
// the player makes, under $XDG_DATA_HOME/corvale/ (by default
// ~/.local/share/corvale/), never in the game's own folder.
#pragma once

#include <string>

// The player's data folder, $XDG_DATA_HOME/corvale, or ~/.local/share/corvale
// when XDG_DATA_HOME is unset or not an absolute path. The text stays valid
// until the next call. Never null.
const char *player_dir();

// Full path of the player file `relative` (for example "user_data/l1.raw")
// inside the player's data folder. The folders above the file are created when
// missing; when that fails the path is still returned (reading then finds
// nothing and writing fails) and, if error is given, *error says why.
std::string player_path(const char *relative, std::string *error = nullptr);
