// The sound library's inner records and the helpers its source files share.
// Only sound_lib*.cpp (and the library's own test, which reads a channel back)
// include this; everyone else uses sound_lib.h.
#pragma once

#include <AL/al.h>
#include <AL/alc.h>
#include <sndfile.h>

#include <chrono>
#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "sound_lib.h"

namespace soundlib {

using clock = std::chrono::steady_clock;

constexpr int STREAM_BUFFERS = 4;               // OpenAL buffers queued per stream
constexpr int STREAM_CHUNKS_PER_SECOND = 4;     // a chunk is 1/4 s: 1 s of audio queued
constexpr float DEFAULT_MIN_DISTANCE = 1.0f;    // full volume up to here
constexpr float DEFAULT_MAX_DISTANCE = 10000.0f;  // no further roll-off beyond here
constexpr float SPEED_OF_SOUND = 343.3f;        // metres per second
constexpr size_t MAX_LOADED_SAMPLES = 32u << 20;  // 64 MiB of 16-bit samples per loaded sound
constexpr size_t MAX_PLAYLIST_BYTES = 4u << 20;   // a longer playlist file is refused
constexpr int MIN_SAMPLE_RATE = 1000;           // file rates outside these are refused
constexpr int MAX_SAMPLE_RATE = 384000;
constexpr int MAX_FILE_CHANNELS = 64;           // more than this is refused
constexpr const char *SILENT_DRIVER_NAME = "No audio device (silent output)";

// One tag of a playlist: its name and NUL-terminated text, owned by the sound.
struct tag_text {
    std::string name, text;
};

// An open libsndfile decoder and what it turns the file into.
struct decoder {
    int fd = -1;                   // the file, opened and closed by us
    SNDFILE *file = nullptr;
    SF_INFO info{};
    int out_channels = 0;          // 1, or 2 for a stereo file played in 2-D
    std::vector<short> scratch;    // interleaved samples as read, before mixing down
};

}  // namespace soundlib

struct FMOD_SOUND {
    FMOD_SYSTEM *system = nullptr;
    FMOD_MODE mode = 0;
    FMOD_SOUND_TYPE type = FMOD_SOUND_TYPE_UNKNOWN;
    bool is3d = false;
    bool stream = false;
    bool playlist = false;
    bool closed = false;           // its system was closed: it can no longer play
    int rate = 0;                  // native sample rate, Hz
    int channels = 0;              // channels as played (1 or 2)
    sf_count_t frames = 0;         // length in sample frames
    float mindist = soundlib::DEFAULT_MIN_DISTANCE;
    float maxdist = soundlib::DEFAULT_MAX_DISTANCE;

    ALuint buffer = 0;             // a loaded sound's data, when there is a device

    // A stream: its decoder, its chunks, and the channel it plays on (one at a time).
    std::string path;
    soundlib::decoder dec;
    bool decoded_all = false;      // the decoder has given its last frame
    ALuint chunks[soundlib::STREAM_BUFFERS] = {};
    sf_count_t chunk_frames[soundlib::STREAM_BUFFERS] = {};
    std::deque<int> queued;        // chunk slots queued on the source, oldest first
    std::vector<short> chunk_data;
    FMOD_CHANNEL *stream_channel = nullptr;

    // A playlist: three tags per entry.
    std::vector<soundlib::tag_text> tags;
};

struct FMOD_CHANNEL {
    FMOD_SYSTEM *system = nullptr;
    int index = 0;
    ALuint source = 0;             // 0 in silent mode
    FMOD_SOUND *sound = nullptr;   // null once the sound has ended or was stopped
    unsigned serial = 0;           // play counter when started; the lowest is the oldest
    FMOD_BOOL paused = 0;
    float volume = 1.0f;
    float pitch = 1.0f;            // playback rate / the sound's native rate
    FMOD_VECTOR pos = {0, 0, 0}, vel = {0, 0, 0};  // as the caller gave them

    // Silent mode: frames heard before `since`, and whether time runs on from it.
    double clock_frames = 0;
    soundlib::clock::time_point since;

    sf_count_t frames_done = 0;    // a stream: frames in chunks already heard and unqueued
};

struct FMOD_SYSTEM {
    ALCdevice *device = nullptr;
    ALCcontext *context = nullptr;
    bool output_tried = false;     // the device was asked for (once per opening)
    bool silent = false;           // no device: play by the wall clock
    bool warned = false;           // the silent-output notice was printed
    bool initialized = false;
    bool righthanded = false;
    int maxchannels = 0;

    FMOD_SPEAKERMODE speakermode = FMOD_SPEAKERMODE_STEREO;
    int samplerate = 0;            // mixing rate asked for; 0 = the device's own
    unsigned dsp_length = 0;       // mixing block in samples; 0 = the device's own
    int dsp_count = 0;
    FMOD_SOUND_FORMAT format = FMOD_SOUND_FORMAT_PCMFLOAT;
    FMOD_DSP_RESAMPLER resampler = FMOD_DSP_RESAMPLER_LINEAR;

    float doppler = 1.0f;
    float distancefactor = 1.0f;
    float rolloff = 1.0f;

    unsigned play_serial = 0;
    FMOD_CHANNEL channels[FMOD_MAX_CHANNELS];
    std::vector<FMOD_SOUND *> sounds;  // every live sound made on this system
};

namespace soundlib {

// Handle checks: true when the pointer is a live object of this library.
bool live_system(const FMOD_SYSTEM *system);
bool live_sound(const FMOD_SOUND *sound);
bool live_channel(const FMOD_CHANNEL *channel);
void add_sound(FMOD_SOUND *sound);
void remove_sound(FMOD_SOUND *sound);

// Makes the system's OpenAL context current; false in silent mode.
bool bind(FMOD_SYSTEM *system);

// A finite float.
bool finite(float v);

// Opens path for reading as a regular file into fd; maps a missing file, a folder,
// a denied or unreadable one to their result codes.
FMOD_RESULT open_file(const char *path, int &fd);
// Opens path for decoding, mixing down to mono when mono is set or the file has
// more than two channels. Maps every failure to a result code.
FMOD_RESULT open_decoder(const char *path, bool mono, decoder &d);
// Decodes up to frames frames into out (frames * d.out_channels samples); 0 at the end.
sf_count_t decode(decoder &d, short *out, sf_count_t frames);
void close_decoder(decoder &d);
// The sound type of a libsndfile format.
FMOD_SOUND_TYPE sound_type_of(int sf_format);
// The OpenAL buffer format for 1 or 2 channels of 16-bit samples.
ALenum al_format(int channels);

// Fills and queues every free chunk of the stream playing on channel; returns the
// number queued. Marks the stream decoded_all at its end.
int stream_fill(FMOD_CHANNEL *channel);
// Unqueues the stream's heard chunks, refills them and restarts a source that ran dry.
void stream_service(FMOD_CHANNEL *channel);
// Rewinds a stream's decoder to its first frame.
FMOD_RESULT stream_rewind(FMOD_SOUND *sound);
// Frees a sound's OpenAL buffers (the system's context must be current).
void free_buffers(FMOD_SOUND *sound);

// A length or position of sound in frames, in the given unit (0 when sound is null).
FMOD_RESULT frames_to_unit(const FMOD_SOUND *sound, sf_count_t frames, FMOD_TIMEUNIT unit,
                           unsigned int *out);

// True while the channel has a sound that has not yet played through; a channel
// whose sound has ended is cleared here.
bool channel_active(FMOD_CHANNEL *channel);
// Stops the channel and detaches its sound.
void channel_stop(FMOD_CHANNEL *channel);
// Frames of the channel's sound heard so far.
sf_count_t channel_frames(FMOD_CHANNEL *channel);

// True when path names an M3U playlist (by its .m3u or .m3u8 extension).
bool is_playlist_path(const char *path);
// Reads and parses the playlist at path into sound's tags.
FMOD_RESULT load_playlist(const char *path, FMOD_SOUND *sound);

}  // namespace soundlib
