// Where the player's own files live: the saved game, the high scores, the
// editor's levels and the level sets the player makes. They go under
// $XDG_DATA_HOME/corvale/ (by default ~/.local/share/corvale/), never into the
// game's own folder, which may be read-only once the game is installed.
#pragma once

#include <string>

// The player's data folder, $XDG_DATA_HOME/corvale, or ~/.local/share/corvale
// when XDG_DATA_HOME is unset, empty or not an absolute path. Worked out again
// on every call; the text stays valid until the next call. Never null.
const char *player_dir();

// Full path of the player file `relative` (for example "level_sets/corvale.sav")
// inside the player's data folder, for reading: no folder is made.
std::string player_file(const char *relative);

// The same path, for writing: the folders above the file are made when
// missing. When that fails the path is still returned (writing then fails)
// and, if error is given, *error names the folder and the reason. *error is
// cleared on success.
std::string player_path(const char *relative, std::string *error = nullptr);
