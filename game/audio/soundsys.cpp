// The sound system's start-up and shut-down, and the result check that every
// library call goes through.

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "audio.h"
#include "shell/shell.h"
#include "sound_start.h"

FMOD_SYSTEM *system_fmod;
FMOD_RESULT result;

// A refused format (25) stops the music and lets the game go on; any other
// failure shows the library's text and ends the program.
void ERRCHECK(FMOD_RESULT r)
{
    if (r == FMOD_ERR_FORMAT && channel)
        FMOD_Channel_Stop(channel);
    if (r == FMOD_OK || r == FMOD_ERR_FORMAT)
        return;
    char caption[64];
    sound_error_caption(r, caption, sizeof caption);
    message_box(FMOD_ErrorString(r), caption, MB_ERROR);
    exit(-1);
}

// The start-up's messages in the game's message boxes.
static void tell_player(const char *text, const char *title, sound_message_kind kind)
{
    message_box(text, title, kind == SOUND_MESSAGE_WARNING ? MB_WARNING : MB_ERROR);
}

// The shared start-up with 32 channels right-handed, then the music.
int init_sound()
{
    result = start_sound_system(&system_fmod, 32, FMOD_INIT_3D_RIGHTHANDED, tell_player);
    if (result == FMOD_ERR_VERSION)
        return 0;
    ERRCHECK(result);
    start_music();
    return 1;
}

// Releases the song and the playlist, then closes and frees the system.
void shutdown_sound()
{
    if (sound) {
        result = FMOD_Sound_Release(sound);
        ERRCHECK(result);
        sound = nullptr;
    }
    // Also a file that opened but is no playlist: it holds its decoded samples.
    if (playlist) {
        result = FMOD_Sound_Release(playlist);
        ERRCHECK(result);
        playlist = nullptr;
    }
    isplaylist = 0;
    channel = nullptr;
    seffects = nullptr;
    result = FMOD_System_Close(system_fmod);
    ERRCHECK(result);
    result = FMOD_System_Release(system_fmod);
    ERRCHECK(result);
    system_fmod = nullptr;
}
