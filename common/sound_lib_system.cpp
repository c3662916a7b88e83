// The sound system: the OpenAL device and context behind it, the driver queries,
// start-up settings, the silent fallback, the per-frame update and shut-down.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <unordered_set>

#include <AL/alext.h>
#include <alsa/asoundlib.h>

#include "sound_lib_internal.h"

using namespace soundlib;

// Names from ALC_SOFT_output_mode (OpenAL Soft 1.20 and later), which older
// headers lack; only asked for when the device offers the extension.
static const ALCenum OUTPUT_MODE_SOFT = 0x19AC;
static const ALCint OUTPUT_MONO = 0x1500, OUTPUT_STEREO = 0x1501, OUTPUT_QUAD = 0x1503,
                    OUTPUT_5POINT1 = 0x1504, OUTPUT_6POINT1 = 0x1505, OUTPUT_7POINT1 = 0x1506,
                    OUTPUT_STEREO_HRTF = 0x19B2;

static std::unordered_set<const FMOD_SYSTEM *> live_systems;
static std::unordered_set<const FMOD_SOUND *> live_sounds;
static std::unordered_set<const FMOD_CHANNEL *> live_channels;

bool soundlib::live_system(const FMOD_SYSTEM *system)
{
    return system && live_systems.count(system);
}

bool soundlib::live_sound(const FMOD_SOUND *sound)
{
    return sound && live_sounds.count(sound);
}

bool soundlib::live_channel(const FMOD_CHANNEL *channel)
{
    return channel && live_channels.count(channel);
}

void soundlib::add_sound(FMOD_SOUND *sound)
{
    live_sounds.insert(sound);
    sound->system->sounds.push_back(sound);
}

void soundlib::remove_sound(FMOD_SOUND *sound)
{
    live_sounds.erase(sound);
    std::vector<FMOD_SOUND *> &list = sound->system->sounds;
    for (size_t i = 0; i < list.size(); i++)
        if (list[i] == sound) {
            list.erase(list.begin() + (long)i);
            break;
        }
}

bool soundlib::bind(FMOD_SYSTEM *system)
{
    if (!system->context)
        return false;
    if (alcGetCurrentContext() != system->context)
        alcMakeContextCurrent(system->context);
    return true;
}

bool soundlib::finite(float v)
{
    return std::isfinite(v);
}

// Switches the system to silent output, saying so once on standard error.
static void go_silent(FMOD_SYSTEM *system)
{
    system->silent = true;
    if (!system->warned) {
        fprintf(stderr, "sound: no audio output device could be opened; "
                        "playing without sound\n");
        system->warned = true;
    }
}

// Drops alsa-lib's own error lines: without a sound device they would bury
// the one line that says the game plays without sound.
static void quiet_alsa(const char *, int, const char *, int, const char *, ...)
{
}

// Opens the default OpenAL device the first time any call needs it. OpenAL
// Soft's log is turned off first unless the player asked for one.
static void open_device(FMOD_SYSTEM *system)
{
    if (system->output_tried)
        return;
    system->output_tried = true;
    setenv("ALSOFT_LOGLEVEL", "0", 0);
    snd_lib_error_set_handler(quiet_alsa);
    system->device = alcOpenDevice(nullptr);
    if (!system->device)
        go_silent(system);
}

// The device's speaker layout: from ALC_SOFT_output_mode where OpenAL offers it,
// else stereo, OpenAL Soft's own default.
static FMOD_SPEAKERMODE device_speakermode(ALCdevice *device)
{
    if (!alcIsExtensionPresent(device, "ALC_SOFT_output_mode"))
        return FMOD_SPEAKERMODE_STEREO;
    ALCint mode = 0;
    alcGetIntegerv(device, OUTPUT_MODE_SOFT, 1, &mode);
    if (alcGetError(device) != ALC_NO_ERROR)
        return FMOD_SPEAKERMODE_STEREO;
    switch (mode) {
    case OUTPUT_MONO: return FMOD_SPEAKERMODE_MONO;
    case OUTPUT_QUAD: return FMOD_SPEAKERMODE_QUAD;
    case OUTPUT_5POINT1: return FMOD_SPEAKERMODE_5POINT1;
    case OUTPUT_6POINT1: return FMOD_SPEAKERMODE_6POINT1;
    case OUTPUT_7POINT1: return FMOD_SPEAKERMODE_7POINT1;
    case OUTPUT_STEREO_HRTF: return FMOD_SPEAKERMODE_HEADPHONES;
    case OUTPUT_STEREO:
    default: return FMOD_SPEAKERMODE_STEREO;
    }
}

// Applies the 3-D settings to the listener's world and to every channel's source.
static void apply_3d_settings(FMOD_SYSTEM *system)
{
    if (!bind(system))
        return;
    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
    alDopplerFactor(system->doppler);
    alSpeedOfSound(SPEED_OF_SOUND * system->distancefactor);
    for (int i = 0; i < system->maxchannels; i++)
        alSourcef(system->channels[i].source, AL_ROLLOFF_FACTOR, system->rolloff);
}

// Creates the context and one source per channel; false when OpenAL refuses.
static bool open_context(FMOD_SYSTEM *system)
{
    ALCint rate = system->samplerate;
    if (rate <= 0)
        alcGetIntegerv(system->device, ALC_FREQUENCY, 1, &rate);
    ALCint attrs[8];
    int n = 0;
    if (system->samplerate > 0) {
        attrs[n++] = ALC_FREQUENCY;
        attrs[n++] = system->samplerate;
    }
    if (system->dsp_length > 0 && rate > 0) {
        attrs[n++] = ALC_REFRESH;
        attrs[n++] = std::max(1, (int)(rate / (ALCint)system->dsp_length));
    }
    attrs[n] = 0;
    system->context = alcCreateContext(system->device, attrs);
    if (!system->context)
        return false;
    alcMakeContextCurrent(system->context);
    alGetError();
    for (int i = 0; i < system->maxchannels; i++) {
        alGenSources(1, &system->channels[i].source);
        if (alGetError() != AL_NO_ERROR) {
            system->channels[i].source = 0;
            return false;
        }
    }
    // The listener stays at OpenAL's default: the origin, facing -z, +y up.
    return true;
}

// Deletes the sources, the context and the device.
static void close_output(FMOD_SYSTEM *system)
{
    if (system->context) {
        bind(system);
        for (int i = 0; i < FMOD_MAX_CHANNELS; i++)
            if (system->channels[i].source) {
                alDeleteSources(1, &system->channels[i].source);
                system->channels[i].source = 0;
            }
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(system->context);
        system->context = nullptr;
    }
    if (system->device) {
        alcCloseDevice(system->device);
        system->device = nullptr;
    }
}

FMOD_RESULT FMOD_System_Create(FMOD_SYSTEM **system)
{
    if (!system)
        return FMOD_ERR_INVALID_PARAM;
    *system = nullptr;
    FMOD_SYSTEM *s = new (std::nothrow) FMOD_SYSTEM;
    if (!s)
        return FMOD_ERR_MEMORY;
    for (int i = 0; i < FMOD_MAX_CHANNELS; i++) {
        s->channels[i].system = s;
        s->channels[i].index = i;
        live_channels.insert(&s->channels[i]);
    }
    live_systems.insert(s);
    *system = s;
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_GetVersion(FMOD_SYSTEM *system, unsigned int *version)
{
    if (!live_system(system))
        return FMOD_ERR_INVALID_HANDLE;
    if (!version)
        return FMOD_ERR_INVALID_PARAM;
    *version = FMOD_VERSION;
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_GetDriverCaps(FMOD_SYSTEM *system, int id, FMOD_CAPS *caps,
                                      int *minfrequency, int *maxfrequency,
                                      FMOD_SPEAKERMODE *speakermode)
{
    if (!live_system(system))
        return FMOD_ERR_INVALID_HANDLE;
    if (id != 0)
        return FMOD_ERR_INVALID_DRIVER;
    open_device(system);
    FMOD_CAPS c = FMOD_CAPS_NONE;
    FMOD_SPEAKERMODE mode = FMOD_SPEAKERMODE_STEREO;
    ALCint rate = 44100;
    if (system->device) {
        mode = device_speakermode(system->device);
        alcGetIntegerv(system->device, ALC_FREQUENCY, 1, &rate);
        if (mode >= FMOD_SPEAKERMODE_QUAD && mode <= FMOD_SPEAKERMODE_7POINT1)
            c |= FMOD_CAPS_OUTPUT_MULTICHANNEL;
        if (mode == FMOD_SPEAKERMODE_HEADPHONES)
            c |= FMOD_CAPS_HRTF;
        if (alcIsExtensionPresent(system->device, "ALC_EXT_EFX"))
            c |= FMOD_CAPS_REVERB;
    }
    if (caps)
        *caps = c;
    if (minfrequency)
        *minfrequency = rate;
    if (maxfrequency)
        *maxfrequency = rate;
    if (speakermode)
        *speakermode = mode;
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_GetDriverInfo(FMOD_SYSTEM *system, int id, char *name, int namelen,
                                      FMOD_GUID *guid)
{
    if (!live_system(system))
        return FMOD_ERR_INVALID_HANDLE;
    if (id != 0)
        return FMOD_ERR_INVALID_DRIVER;
    if (name && namelen <= 0)
        return FMOD_ERR_INVALID_PARAM;
    open_device(system);
    if (name) {
        const char *found = SILENT_DRIVER_NAME;
        if (system->device) {
            const ALCchar *device_name = alcGetString(system->device, ALC_DEVICE_SPECIFIER);
            if (device_name && *device_name)
                found = device_name;
        }
        snprintf(name, (size_t)namelen, "%s", found);
    }
    if (guid)
        memset(guid, 0, sizeof *guid);
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_SetSpeakerMode(FMOD_SYSTEM *system, FMOD_SPEAKERMODE mode)
{
    if (!live_system(system))
        return FMOD_ERR_INVALID_HANDLE;
    if (system->initialized)
        return FMOD_ERR_INITIALIZED;
    if ((int)mode < 0 || mode >= FMOD_SPEAKERMODE_MAX)
        return FMOD_ERR_INVALID_SPEAKER;
    system->speakermode = mode;
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_SetDSPBufferSize(FMOD_SYSTEM *system, unsigned int bufferlength,
                                         int numbuffers)
{
    if (!live_system(system))
        return FMOD_ERR_INVALID_HANDLE;
    if (system->initialized)
        return FMOD_ERR_INITIALIZED;
    if (bufferlength < 64 || bufferlength > 65536 || numbuffers < 2 || numbuffers > 64)
        return FMOD_ERR_INVALID_PARAM;
    system->dsp_length = bufferlength;
    system->dsp_count = numbuffers;
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_SetSoftwareFormat(FMOD_SYSTEM *system, int samplerate,
                                          FMOD_SOUND_FORMAT format, int numoutputchannels,
                                          int maxinputchannels, FMOD_DSP_RESAMPLER resamplemethod)
{
    if (!live_system(system))
        return FMOD_ERR_INVALID_HANDLE;
    if (system->initialized)
        return FMOD_ERR_INITIALIZED;
    if (samplerate < 8000 || samplerate > 192000 || format < FMOD_SOUND_FORMAT_PCM8 ||
        format > FMOD_SOUND_FORMAT_PCMFLOAT || numoutputchannels < 0 || numoutputchannels > 8 ||
        maxinputchannels < 0 || maxinputchannels > MAX_FILE_CHANNELS ||
        resamplemethod < FMOD_DSP_RESAMPLER_NOINTERP || resamplemethod > FMOD_DSP_RESAMPLER_SPLINE)
        return FMOD_ERR_INVALID_PARAM;
    system->samplerate = samplerate;
    system->format = format;
    system->resampler = resamplemethod;
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_Init(FMOD_SYSTEM *system, int maxchannels, FMOD_INITFLAGS flags,
                             void *extradriverdata)
{
    if (!live_system(system))
        return FMOD_ERR_INVALID_HANDLE;
    if (system->initialized)
        return FMOD_ERR_INITIALIZED;
    if (maxchannels > FMOD_MAX_CHANNELS)
        return FMOD_ERR_TOOMANYCHANNELS;
    if (maxchannels < 1 || (flags & ~FMOD_INIT_3D_RIGHTHANDED) || extradriverdata)
        return FMOD_ERR_INVALID_PARAM;
    system->maxchannels = maxchannels;
    system->righthanded = (flags & FMOD_INIT_3D_RIGHTHANDED) != 0;
    open_device(system);
    if (system->device && !open_context(system)) {
        close_output(system);
        go_silent(system);
    }
    for (int i = 0; i < FMOD_MAX_CHANNELS; i++) {
        FMOD_CHANNEL &ch = system->channels[i];
        ch.sound = nullptr;
        ch.paused = 0;
        ch.volume = ch.pitch = 1.0f;
    }
    system->initialized = true;
    apply_3d_settings(system);
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_Set3DSettings(FMOD_SYSTEM *system, float dopplerscale,
                                      float distancefactor, float rolloffscale)
{
    if (!live_system(system))
        return FMOD_ERR_INVALID_HANDLE;
    if (!finite(dopplerscale) || !finite(distancefactor) || !finite(rolloffscale))
        return FMOD_ERR_INVALID_FLOAT;
    if (dopplerscale < 0 || distancefactor <= 0 || rolloffscale < 0)
        return FMOD_ERR_INVALID_PARAM;
    system->doppler = dopplerscale;
    system->distancefactor = distancefactor;
    system->rolloff = rolloffscale;
    if (system->initialized)
        apply_3d_settings(system);
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_Update(FMOD_SYSTEM *system)
{
    if (!live_system(system))
        return FMOD_ERR_INVALID_HANDLE;
    if (!system->initialized)
        return FMOD_ERR_UNINITIALIZED;
    if (!bind(system))
        return FMOD_OK;  // silent output: positions follow the clock
    for (int i = 0; i < system->maxchannels; i++) {
        FMOD_CHANNEL *ch = &system->channels[i];
        if (ch->sound && ch->sound->stream)
            stream_service(ch);
    }
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_Close(FMOD_SYSTEM *system)
{
    if (!live_system(system))
        return FMOD_ERR_INVALID_HANDLE;
    bind(system);
    for (int i = 0; i < FMOD_MAX_CHANNELS; i++)
        channel_stop(&system->channels[i]);
    for (FMOD_SOUND *s : system->sounds) {
        if (system->context)
            free_buffers(s);
        s->closed = true;
    }
    close_output(system);
    system->initialized = false;
    system->output_tried = false;
    system->silent = false;
    system->maxchannels = 0;
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_Release(FMOD_SYSTEM *system)
{
    if (!live_system(system))
        return FMOD_ERR_INVALID_HANDLE;
    FMOD_System_Close(system);
    while (!system->sounds.empty())
        FMOD_Sound_Release(system->sounds.back());
    for (int i = 0; i < FMOD_MAX_CHANNELS; i++)
        live_channels.erase(&system->channels[i]);
    live_systems.erase(system);
    delete system;
    return FMOD_OK;
}
