// Settings record shared by the game and the setup program, and the file that holds it.
// The setup program writes the file; the game reads it once at start-up.
#pragma once

#include <cstddef>
#include <cstdint>

#include "formats.h"   // bset, the settings record as stored

// One entry of the resolution table: client size and the label the setup program lists.
struct settings_resolution {
    int width, height;
    const char *label;
};
constexpr int SETTINGS_RESOLUTIONS = 11;
extern const settings_resolution settings_resolutions[SETTINGS_RESOLUTIONS];

// The default playlist, relative to the game folder.
#define DEFAULT_PLAYLIST "sounds/songs/corvale.m3u"

// The settings without a settings file: 800 x 600 full-screen at 32 bits with
// the particles on, the effects at 0.8 and the music at 1.0, the default
// playlist. A stored volume that is not a number from 0.0 to 1.0 is taken
// from here too.
inline constexpr bset SETTINGS_DEFAULTS = {2, 0, 0, 0, 0.8f, 1.0f, DEFAULT_PLAYLIST};

// A stored volume when it is a number from 0.0 to 1.0, else fallback.
float settings_volume(float stored, float fallback);

// Full path of the settings file: $XDG_CONFIG_HOME/corvale.set, by default
// ~/.config/corvale.set. Creates the folder when it is missing. Never null.
const char *settings_path();

// Reads the settings file into rec, which starts zeroed; a short file fills only
// the leading bytes. A volume that is not a number from 0.0 to 1.0 is replaced
// by the default above, so both programs use the same value for it.
// Returns 0 when the file does not exist, else 1.
int read_settings(bset *rec);

// Writes rec as the settings file through a temporary file renamed over the old
// one, so a crash never leaves half a file. Returns 1 on success, 0 on failure
// (the old file is then untouched, and errno says why).
int write_settings(const bset *rec);
