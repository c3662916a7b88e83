// Reads the settings file once at start-up into the game's globals.

#include <cstring>

#include "settings.h"
#include "shell.h"

// Without a settings file the defaults are read as if stored.
void open_ini()
{
    bset settings;
    if (!read_settings(&settings))
        settings = SETTINGS_DEFAULTS;
    if (settings.resolution >= 0 && settings.resolution < SETTINGS_RESOLUTIONS) {
        screenx = settings_resolutions[settings.resolution].width;
        screeny = settings_resolutions[settings.resolution].height;
    }
    volume = settings.music;
    evolume = settings.seffects;
    if (settings.windowed != 0)
        fullscreen = 0;
    bit = settings.force != 0 ? 16 : 32;
    psystem = settings.particle == 0 ? 1 : 0;
    // The stored text may lack its terminator; never copy past the field.
    memcpy(plist, settings.playlist, sizeof plist);
    plist[sizeof plist - 1] = 0;
    background = 1;
    msensitivity = 8.0f;
}
