// The sound system's start-up and shut-down, and the result check that every
// library call goes through.

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "audio.h"
#include "shell/shell.h"

FMOD_SYSTEM *system_fmod;
FMOD_RESULT result;

static const unsigned REQUIRED_VERSION = 0x41200;

// A refused format (25) stops the music and lets the game go on; any other
// failure shows the library's text and ends the program.
void ERRCHECK(FMOD_RESULT r)
{
    if (r == FMOD_ERR_FORMAT && channel)
        FMOD_Channel_Stop(channel);
    if (r == FMOD_OK || r == FMOD_ERR_FORMAT)
        return;
    char caption[64];
    snprintf(caption, sizeof caption, "FMOD error# %d", (int)r);
    message_box(FMOD_ErrorString(r), caption, MB_ERROR);
    exit(-1);
}

// The library start-up, in order: version, driver 0's speaker mode and
// capabilities, its name, 32 channels right-handed, then the music.
int init_sound()
{
    result = FMOD_System_Create(&system_fmod);
    ERRCHECK(result);

    unsigned version = 0;
    result = FMOD_System_GetVersion(system_fmod, &version);
    ERRCHECK(result);
    if (version < REQUIRED_VERSION) {
        char text[128];
        snprintf(text, sizeof text,
                 "You are using an old version of FMOD %08x.  This program requires %08x\n",
                 version, REQUIRED_VERSION);
        message_box(text, "Error!", MB_ERROR);
        return 0;
    }

    FMOD_CAPS caps = 0;
    FMOD_SPEAKERMODE speakermode = FMOD_SPEAKERMODE_STEREO;
    result = FMOD_System_GetDriverCaps(system_fmod, 0, &caps, 0, 0, &speakermode);
    ERRCHECK(result);
    result = FMOD_System_SetSpeakerMode(system_fmod, speakermode);
    ERRCHECK(result);
    if (caps & FMOD_CAPS_HARDWARE_EMULATED) {
        message_box("Your sound card's hardware is not set up for full acceleration. "
                    "This may cause audio slowdowns in Corvale.\n"
                    "To fix this issue, please set the acceleration slider in Control "
                    "Panel->Sound and Audio devices to full acceleration",
                    "***Warning***", MB_WARNING);
        result = FMOD_System_SetDSPBufferSize(system_fmod, 1024, 10);
        ERRCHECK(result);
    }

    char name[256] = "";
    result = FMOD_System_GetDriverInfo(system_fmod, 0, name, sizeof name, 0);
    ERRCHECK(result);
    if (strstr(name, "SigmaTel")) {
        result = FMOD_System_SetSoftwareFormat(system_fmod, 48000, FMOD_SOUND_FORMAT_PCMFLOAT,
                                               0, 0, FMOD_DSP_RESAMPLER_LINEAR);
        ERRCHECK(result);
    }

    result = FMOD_System_Init(system_fmod, 32, FMOD_INIT_3D_RIGHTHANDED, 0);
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
