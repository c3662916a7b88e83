// Streams: a stream's decoder fills four quarter-second OpenAL buffers queued on
// its channel's source; each update takes back the heard ones and refills them.

#include "sound_lib_internal.h"

using namespace soundlib;

// True when the chunk slot is queued on the source.
static bool slot_queued(const FMOD_SOUND *s, int slot)
{
    for (int q : s->queued)
        if (q == slot)
            return true;
    return false;
}

int soundlib::stream_fill(FMOD_CHANNEL *channel)
{
    FMOD_SOUND *s = channel->sound;
    if (!s->chunks[0]) {
        alGetError();
        alGenBuffers(STREAM_BUFFERS, s->chunks);
        if (alGetError() != AL_NO_ERROR) {
            for (int i = 0; i < STREAM_BUFFERS; i++)
                s->chunks[i] = 0;
            s->decoded_all = true;  // nothing can be played
            return 0;
        }
    }
    sf_count_t chunk = (sf_count_t)(s->chunk_data.size() / (size_t)s->channels);
    int added = 0;
    for (int slot = 0; slot < STREAM_BUFFERS && !s->decoded_all; slot++) {
        if (slot_queued(s, slot))
            continue;
        sf_count_t n = decode(s->dec, s->chunk_data.data(), chunk);
        if (n <= 0) {
            s->decoded_all = true;
            break;
        }
        alBufferData(s->chunks[slot], al_format(s->channels), s->chunk_data.data(),
                     (ALsizei)(n * s->channels * (sf_count_t)sizeof(short)), s->rate);
        s->chunk_frames[slot] = n;
        alSourceQueueBuffers(channel->source, 1, &s->chunks[slot]);
        s->queued.push_back(slot);
        added++;
    }
    return added;
}

void soundlib::stream_service(FMOD_CHANNEL *channel)
{
    FMOD_SOUND *s = channel->sound;
    ALint processed = 0;
    alGetSourcei(channel->source, AL_BUFFERS_PROCESSED, &processed);
    for (; processed > 0 && !s->queued.empty(); processed--) {
        ALuint heard;
        alSourceUnqueueBuffers(channel->source, 1, &heard);
        channel->frames_done += s->chunk_frames[s->queued.front()];
        s->queued.pop_front();
    }
    stream_fill(channel);
    // A late update lets the source run dry and stop; it carries on where it was.
    ALint state = AL_STOPPED;
    alGetSourcei(channel->source, AL_SOURCE_STATE, &state);
    if (state == AL_STOPPED && !channel->paused && !s->queued.empty())
        alSourcePlay(channel->source);
}

FMOD_RESULT soundlib::stream_rewind(FMOD_SOUND *sound)
{
    sound->decoded_all = false;
    if (sound->dec.file && sf_seek(sound->dec.file, 0, SEEK_SET) == 0)
        return FMOD_OK;
    // Some decoders cannot seek: open the file afresh, which must still be the same.
    close_decoder(sound->dec);
    FMOD_RESULT r = open_decoder(sound->path.c_str(), sound->is3d, sound->dec);
    if (r == FMOD_OK && (sound->dec.out_channels != sound->channels ||
                         sound->dec.info.samplerate != sound->rate)) {
        close_decoder(sound->dec);
        r = FMOD_ERR_FORMAT;
    }
    if (r != FMOD_OK)
        sound->decoded_all = true;
    return r;
}
