// Fuzz target: the settings file, read as at start-up, then the sound system
// started with its volumes and playlist and a few frames drawn with the
// status bar showing them.

#include "fuzz_support.h"

#include <cstdlib>

#include "audio/audio.h"
#include "rules/progress.h"
#include "rules/rules.h"
#include "settings.h"
#include "shell/shell.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz_startup();
    fuzz_write(settings_path(), data, size);
    shutdown_sound();
    open_ini();
    if (!init_sound())
        abort();
    load_effects();
    gameover = 0;
    new_game();
    fuzz_play(20);
    music_volume_step(1);
    effects_volume_step(-1);
    return 0;
}
