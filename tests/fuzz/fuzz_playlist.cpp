// Fuzz target: an M3U playlist, opened as the music at start-up, then walked
// through with the song commands, in order and at random.

#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>

#include "audio/audio.h"
#include "shell/shell.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz_game_folder();
    fuzz_write("fuzz.m3u", data, size);
    snprintf(plist, sizeof plist, "fuzz.m3u");
    volume = evolume = 0.5f;
    random_play = 0;
    if (!init_sound())
        abort();
    for (int step = 0; step < 24; step++) {
        switch (step % 6) {
        case 0: next_song(); break;
        case 1: previous_song(); break;
        case 3: toggle_random(); break;
        default: break;
        }
        if (channel && isplaylist)
            change_track();
        char line[256];
        music_status(line, sizeof line);
    }
    shutdown_sound();
    return 0;
}
