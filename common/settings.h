// Settings record shared by the game and the setup program, and the file that holds it.
// The setup program writes the file; the game reads it once at start-up.
#pragma once

#include <cstddef>
#include <cstdint>

// The settings record, stored in the file exactly as in memory (little-endian, no header).
struct bset {
    int32_t resolution;     // index into settings_resolutions, 0..10
    int32_t windowed;       // 1 = play in a window, 0 = full-screen
    int32_t particle;       // 1 = particle effects disabled
    int32_t force;          // 1 = force 16-bit display depth in full-screen mode
    float seffects;         // sound-effect volume, 0.0 .. 1.0
    float music;            // music volume, 0.0 .. 1.0
    char playlist[1024];    // path of the music playlist, NUL-terminated
};
static_assert(sizeof(bset) == 1048, "settings record is 1048 bytes");
static_assert(offsetof(bset, windowed) == 4 && offsetof(bset, particle) == 8 &&
              offsetof(bset, force) == 12 && offsetof(bset, seffects) == 16 &&
              offsetof(bset, music) == 20 && offsetof(bset, playlist) == 24,
              "settings record layout");

// One entry of the resolution table: client size and the label the setup program lists.
struct settings_resolution {
    int width, height;
    const char *label;
};
constexpr int SETTINGS_RESOLUTIONS = 11;
extern const settings_resolution settings_resolutions[SETTINGS_RESOLUTIONS];

// The default playlist, relative to the game folder.
#define DEFAULT_PLAYLIST "sounds/songs/corvale.m3u"

// The game's volumes without a settings file; also taken for a stored volume
// that is not a number from 0.0 to 1.0.
#define DEFAULT_EFFECTS_VOLUME 0.8f
#define DEFAULT_MUSIC_VOLUME 1.0f

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
