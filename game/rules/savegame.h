// The saved game: the record of level_sets/corvale.sav in the player's data
// folder, its reader and writer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "formats.h"   // saved_game, save_index

extern const char SAVE_FILE[];                         // "level_sets/corvale.sav"
std::string save_path();   // the save in the player's data folder

extern saved_game Sgame;           // the record last written or read

void save_check();                 // SAVE_AVAILABLE from whether the save opens, SAVE_REFUSED from whether Continue would refuse it
int load_saved();                  // continue the saved game; 0 (nothing changed, SAVE_REFUSED set) if it is refused
void restore_saved(const saved_game &g);   // play the game of an accepted record: set, level, score, lives, bricks
void delete_saved();               // remove the save, clear SAVE_AVAILABLE and PLAYING_SAVED_GAME
int save_acceptable(const saved_game &g);   // 1 when the record is safe to continue from
int plain_set_name(const char *name, size_t field);   // 1 for a bare file name (OWN_SET_PREFIX allowed) NUL-ended in field

// Tells the player in a message box and in a notice over the menu that `what`
// could not be written to path: folder_error when the folder could not be
// made, else the reason in errno.
void report_write_failure(const char *what, const std::string &path, const std::string &folder_error);
