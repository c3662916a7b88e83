// The sound system's start-up shared by the game and the setup program.

#include "sound_start.h"

#include <cstdio>
#include <cstring>

// The warning shown when driver 0 only emulates its hardware.
static const char EMULATED_WARNING[] =
    "Your sound card's hardware is not set up for full acceleration. "
    "This may cause audio slowdowns in Corvale.\n"
    "To fix this issue, please set the acceleration slider in Control "
    "Panel->Sound and Audio devices to full acceleration";

// The library's version against the required one; FMOD_ERR_VERSION (the
// player told) when it is older.
static FMOD_RESULT check_version(FMOD_SYSTEM *system, sound_message_fn tell)
{
    unsigned version = 0;
    FMOD_RESULT r = FMOD_System_GetVersion(system, &version);
    if (r != FMOD_OK)
        return r;
    if (version >= SOUND_REQUIRED_VERSION)
        return FMOD_OK;
    char text[128];
    snprintf(text, sizeof text, "You are using an old version of FMOD %08x.  This program requires %08x\n",
             version, SOUND_REQUIRED_VERSION);
    tell(text, "Error!", SOUND_MESSAGE_ERROR);
    return FMOD_ERR_VERSION;
}

// Driver 0's speaker mode, capabilities and name, as the mixer is set up for them.
static FMOD_RESULT fit_driver(FMOD_SYSTEM *system, sound_message_fn tell)
{
    FMOD_CAPS caps = 0;
    FMOD_SPEAKERMODE speakermode = FMOD_SPEAKERMODE_STEREO;
    FMOD_RESULT r = FMOD_System_GetDriverCaps(system, 0, &caps, 0, 0, &speakermode);
    if (r == FMOD_OK)
        r = FMOD_System_SetSpeakerMode(system, speakermode);
    if (r != FMOD_OK)
        return r;
    if (caps & FMOD_CAPS_HARDWARE_EMULATED) {
        tell(EMULATED_WARNING, "***Warning***", SOUND_MESSAGE_WARNING);
        r = FMOD_System_SetDSPBufferSize(system, 1024, 10);
        if (r != FMOD_OK)
            return r;
    }
    char name[256] = "";
    r = FMOD_System_GetDriverInfo(system, 0, name, sizeof name, 0);
    if (r == FMOD_OK && strstr(name, "SigmaTel"))
        r = FMOD_System_SetSoftwareFormat(system, 48000, FMOD_SOUND_FORMAT_PCMFLOAT, 0, 0,
                                          FMOD_DSP_RESAMPLER_LINEAR);
    return r;
}

FMOD_RESULT start_sound_system(FMOD_SYSTEM **system, int maxchannels, FMOD_INITFLAGS flags,
                               sound_message_fn tell)
{
    FMOD_RESULT r = FMOD_System_Create(system);
    if (r == FMOD_OK)
        r = check_version(*system, tell);
    if (r == FMOD_OK)
        r = fit_driver(*system, tell);
    if (r == FMOD_OK)
        r = FMOD_System_Init(*system, maxchannels, flags, 0);
    return r;
}

void sound_error_caption(FMOD_RESULT r, char *caption, size_t size)
{
    snprintf(caption, size, "FMOD error# %d", (int)r);
}
