// Channels: starting sounds on the system's 32 stable channel handles, and their
// pause, volume, rate, 3-D place, stop and play state, with or without a device.

#include <algorithm>

#include "sound_lib_internal.h"

using namespace soundlib;

// Frames heard by the wall clock on a silent output: the kept count, plus the time
// since `since` at the channel's rate while it is not paused.
static double clock_frames(const FMOD_CHANNEL *ch)
{
    double frames = ch->clock_frames;
    if (!ch->paused) {
        std::chrono::duration<double> run = clock::now() - ch->since;
        frames += run.count() * ch->sound->rate * ch->pitch;
    }
    return frames;
}

// Folds the running clock into the kept count, before its rate or pause state changes.
static void clock_fold(FMOD_CHANNEL *ch)
{
    ch->clock_frames = clock_frames(ch);
    ch->since = clock::now();
}

void soundlib::channel_stop(FMOD_CHANNEL *ch)
{
    FMOD_SOUND *s = ch->sound;
    if (!s)
        return;
    if (ch->source && bind(ch->system)) {
        alSourceStop(ch->source);
        alSourcei(ch->source, AL_BUFFER, 0);
    }
    if (s->stream) {
        s->queued.clear();
        s->stream_channel = nullptr;
    }
    ch->sound = nullptr;
    ch->frames_done = 0;
    ch->clock_frames = 0;
}

bool soundlib::channel_active(FMOD_CHANNEL *ch)
{
    FMOD_SOUND *s = ch->sound;
    if (!s)
        return false;
    bool ended;
    if (!ch->source || !bind(ch->system)) {
        ended = clock_frames(ch) >= (double)s->frames;
    } else {
        ALint state = AL_STOPPED;
        alGetSourcei(ch->source, AL_SOURCE_STATE, &state);
        ended = state == AL_STOPPED;
        if (ended && s->stream) {
            // A stream that ran dry between updates has not ended while data is left.
            ALint queued = 0, processed = 0;
            alGetSourcei(ch->source, AL_BUFFERS_QUEUED, &queued);
            alGetSourcei(ch->source, AL_BUFFERS_PROCESSED, &processed);
            ended = s->decoded_all && processed >= queued;
        }
    }
    if (ended)
        channel_stop(ch);
    return !ended;
}

sf_count_t soundlib::channel_frames(FMOD_CHANNEL *ch)
{
    FMOD_SOUND *s = ch->sound;
    if (!s)
        return 0;
    sf_count_t frames;
    if (!ch->source || !bind(ch->system)) {
        frames = (sf_count_t)clock_frames(ch);
    } else {
        // The offset first: if the source stops in between, the state tells so.
        ALint state = AL_STOPPED, offset = 0;
        alGetSourcei(ch->source, AL_SAMPLE_OFFSET, &offset);
        alGetSourcei(ch->source, AL_SOURCE_STATE, &state);
        if (!s->stream) {
            frames = state == AL_STOPPED ? s->frames : offset;
        } else if (state == AL_STOPPED) {
            // Every queued chunk has been heard; the offset has gone back to 0.
            frames = ch->frames_done;
            for (int slot : s->queued)
                frames += s->chunk_frames[slot];
        } else {
            frames = ch->frames_done + offset;
        }
    }
    return std::min(std::max<sf_count_t>(frames, 0), s->frames);
}

// The channel to play on: the one asked for, or the first free one, else the oldest.
static FMOD_CHANNEL *pick_channel(FMOD_SYSTEM *system, FMOD_CHANNELINDEX id)
{
    if (id >= 0)
        return id < system->maxchannels ? &system->channels[id] : nullptr;
    if (id != FMOD_CHANNEL_FREE)
        return nullptr;
    FMOD_CHANNEL *oldest = &system->channels[0];
    for (int i = 0; i < system->maxchannels; i++) {
        FMOD_CHANNEL *ch = &system->channels[i];
        if (!channel_active(ch))
            return ch;
        if (ch->serial < oldest->serial)
            oldest = ch;
    }
    return oldest;
}

// Sets the channel's source up for the sound: place, distances, gain, rate, data.
static void setup_source(FMOD_CHANNEL *ch, FMOD_SOUND *s)
{
    ALuint src = ch->source;
    // A source that has played before is stopped; back to its initial state, a
    // paused play is not taken for one that has already ended.
    alSourceRewind(src);
    alSourcei(src, AL_SOURCE_RELATIVE, s->is3d ? AL_FALSE : AL_TRUE);
    alSource3f(src, AL_POSITION, 0, 0, 0);
    alSource3f(src, AL_VELOCITY, 0, 0, 0);
    alSourcef(src, AL_REFERENCE_DISTANCE, s->mindist);
    alSourcef(src, AL_MAX_DISTANCE, s->maxdist);
    alSourcef(src, AL_ROLLOFF_FACTOR, ch->system->rolloff);
    alSourcef(src, AL_GAIN, 1.0f);
    alSourcef(src, AL_PITCH, 1.0f);
    alSourcei(src, AL_LOOPING, AL_FALSE);
    if (s->stream)
        stream_fill(ch);
    else
        alSourcei(src, AL_BUFFER, (ALint)s->buffer);
}

FMOD_RESULT FMOD_System_PlaySound(FMOD_SYSTEM *system, FMOD_CHANNELINDEX channelid,
                                  FMOD_SOUND *sound, FMOD_BOOL paused, FMOD_CHANNEL **channel)
{
    if (!live_system(system) || !live_sound(sound) || sound->system != system)
        return FMOD_ERR_INVALID_HANDLE;
    if (!system->initialized)
        return FMOD_ERR_UNINITIALIZED;
    if (sound->playlist)
        return FMOD_ERR_NOTPLAYABLE;
    if (sound->closed)
        return FMOD_ERR_CLOSED;
    FMOD_CHANNEL *ch = pick_channel(system, channelid);
    if (!ch)
        return FMOD_ERR_INVALID_PARAM;
    channel_stop(ch);
    if (sound->stream) {
        // A stream has one decoder, so it plays on one channel at a time.
        if (sound->stream_channel)
            channel_stop(sound->stream_channel);
        FMOD_RESULT r = stream_rewind(sound);
        if (r != FMOD_OK)
            return r;
        sound->stream_channel = ch;
    }
    ch->sound = sound;
    ch->serial = ++system->play_serial;
    ch->paused = paused ? 1 : 0;
    ch->volume = ch->pitch = 1.0f;
    ch->pos = ch->vel = FMOD_VECTOR{0, 0, 0};
    ch->frames_done = 0;
    ch->clock_frames = 0;
    ch->since = clock::now();
    if (ch->source && bind(system)) {
        setup_source(ch, sound);
        if (!ch->paused)
            alSourcePlay(ch->source);
    }
    if (channel)
        *channel = ch;
    return FMOD_OK;
}

FMOD_RESULT FMOD_Channel_Set3DAttributes(FMOD_CHANNEL *channel, const FMOD_VECTOR *pos,
                                         const FMOD_VECTOR *vel)
{
    if (!live_channel(channel))
        return FMOD_ERR_INVALID_HANDLE;
    for (const FMOD_VECTOR *v : {pos, vel})
        if (v && (!finite(v->x) || !finite(v->y) || !finite(v->z)))
            return FMOD_ERR_INVALID_FLOAT;
    if (pos)
        channel->pos = *pos;
    if (vel)
        channel->vel = *vel;
    if (!channel_active(channel) || !channel->sound->is3d || !bind(channel->system))
        return FMOD_OK;
    // OpenAL is right-handed; a left-handed caller's +z points away from the listener.
    float zsign = channel->system->righthanded ? 1.0f : -1.0f;
    alSource3f(channel->source, AL_POSITION, channel->pos.x, channel->pos.y,
               zsign * channel->pos.z);
    alSource3f(channel->source, AL_VELOCITY, channel->vel.x, channel->vel.y,
               zsign * channel->vel.z);
    return FMOD_OK;
}

FMOD_RESULT FMOD_Channel_SetPaused(FMOD_CHANNEL *channel, FMOD_BOOL paused)
{
    if (!live_channel(channel))
        return FMOD_ERR_INVALID_HANDLE;
    FMOD_BOOL p = paused ? 1 : 0;
    if (!channel_active(channel) || p == channel->paused) {
        channel->paused = p;
        return FMOD_OK;
    }
    if (!bind(channel->system)) {
        clock_fold(channel);
        channel->paused = p;
        return FMOD_OK;
    }
    channel->paused = p;
    if (p) {
        alSourcePause(channel->source);
    } else {
        ALint state = AL_STOPPED;
        alGetSourcei(channel->source, AL_SOURCE_STATE, &state);
        if (state != AL_PLAYING)
            alSourcePlay(channel->source);
    }
    return FMOD_OK;
}

FMOD_RESULT FMOD_Channel_GetPaused(FMOD_CHANNEL *channel, FMOD_BOOL *paused)
{
    if (!live_channel(channel))
        return FMOD_ERR_INVALID_HANDLE;
    if (!paused)
        return FMOD_ERR_INVALID_PARAM;
    *paused = channel->paused;
    return FMOD_OK;
}

FMOD_RESULT FMOD_Channel_SetVolume(FMOD_CHANNEL *channel, float volume)
{
    if (!live_channel(channel))
        return FMOD_ERR_INVALID_HANDLE;
    if (!finite(volume))
        return FMOD_ERR_INVALID_FLOAT;
    channel->volume = std::min(1.0f, std::max(0.0f, volume));
    if (channel_active(channel) && bind(channel->system))
        alSourcef(channel->source, AL_GAIN, channel->volume);
    return FMOD_OK;
}

FMOD_RESULT FMOD_Channel_SetFrequency(FMOD_CHANNEL *channel, float frequency)
{
    if (!live_channel(channel))
        return FMOD_ERR_INVALID_HANDLE;
    if (!finite(frequency))
        return FMOD_ERR_INVALID_FLOAT;
    if (frequency <= 0)
        return FMOD_ERR_INVALID_PARAM;
    if (!channel_active(channel))
        return FMOD_OK;
    if (!bind(channel->system))
        clock_fold(channel);
    channel->pitch = frequency / (float)channel->sound->rate;
    if (bind(channel->system))
        alSourcef(channel->source, AL_PITCH, channel->pitch);
    return FMOD_OK;
}

FMOD_RESULT FMOD_Channel_Stop(FMOD_CHANNEL *channel)
{
    if (!live_channel(channel))
        return FMOD_ERR_INVALID_HANDLE;
    channel_stop(channel);
    return FMOD_OK;
}

FMOD_RESULT FMOD_Channel_IsPlaying(FMOD_CHANNEL *channel, FMOD_BOOL *isplaying)
{
    if (!live_channel(channel))
        return FMOD_ERR_INVALID_HANDLE;
    if (!isplaying)
        return FMOD_ERR_INVALID_PARAM;
    *isplaying = channel_active(channel) ? 1 : 0;
    return FMOD_OK;
}

FMOD_RESULT FMOD_Channel_GetPosition(FMOD_CHANNEL *channel, unsigned int *position,
                                     FMOD_TIMEUNIT unit)
{
    if (!live_channel(channel))
        return FMOD_ERR_INVALID_HANDLE;
    sf_count_t frames = channel_active(channel) ? channel_frames(channel) : 0;
    return frames_to_unit(channel->sound, frames, unit, position);
}
