// Fuzz target: a sound file of any format, decoded whole in 2-D and 3-D and
// played as a stream for a few updates.

#include "fuzz_support.h"

#include <cstdlib>

#include "sound_lib.h"

static FMOD_SYSTEM *fuzz_system;

// One sound system for the whole run, on OpenAL Soft's null output.
static void open_system()
{
    if (fuzz_system)
        return;
    fuzz_game_folder();
    if (FMOD_System_Create(&fuzz_system) != FMOD_OK ||
        FMOD_System_Init(fuzz_system, 32, FMOD_INIT_3D_RIGHTHANDED, 0) != FMOD_OK)
        abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    open_system();
    fuzz_write("fuzz_sound", data, size);
    FMOD_SOUND *s = nullptr;
    for (FMOD_MODE mode : {FMOD_SOFTWARE | FMOD_2D, FMOD_SOFTWARE | FMOD_3D}) {
        if (FMOD_System_CreateSound(fuzz_system, "fuzz_sound", mode, 0, &s) == FMOD_OK) {
            unsigned ms = 0;
            FMOD_Sound_GetLength(s, &ms, FMOD_TIMEUNIT_MS);
            FMOD_Sound_Release(s);
        }
    }
    if (FMOD_System_CreateStream(fuzz_system, "fuzz_sound", FMOD_DEFAULT, 0, &s) == FMOD_OK) {
        FMOD_CHANNEL *ch = nullptr;
        if (FMOD_System_PlaySound(fuzz_system, FMOD_CHANNEL_FREE, s, 0, &ch) == FMOD_OK)
            for (int u = 0; u < 8; u++)
                FMOD_System_Update(fuzz_system);
        FMOD_Sound_Release(s);
    }
    return 0;
}
