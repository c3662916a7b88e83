// Corvale's own sound library: a small FMOD Ex-style C interface built on
// OpenAL Soft (output, 3-D placement) and libsndfile (WAV, Ogg Vorbis, FLAC, MP3).
//
// This is our code, written for this game; it keeps the plain function names
// and calling forms the game and the setup program were written against, and
// only the behaviour they rely on. Every call returns an FMOD_RESULT
// (0 = success) and runs on the caller's thread. When no audio device can be
// opened the library plays silently: every call still succeeds, channels keep
// their state and positions advance with the wall clock.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

// ---- Handles (opaque; valid from their Create call until their Release) ----

typedef struct FMOD_SYSTEM FMOD_SYSTEM;    // one output device and its 32 channels
typedef struct FMOD_SOUND FMOD_SOUND;      // a loaded sound, a stream or a playlist
typedef struct FMOD_CHANNEL FMOD_CHANNEL;  // one of a system's channels; never invalidated
typedef struct FMOD_CREATESOUNDEXINFO FMOD_CREATESOUNDEXINFO;  // not supported: pass 0

// ---- Plain value types ----

typedef int FMOD_BOOL;                // 0 or 1
typedef unsigned int FMOD_MODE;       // FMOD_DEFAULT, FMOD_2D, FMOD_3D, ... or-ed together
typedef unsigned int FMOD_CAPS;       // FMOD_CAPS_* bits of a driver
typedef unsigned int FMOD_INITFLAGS;  // FMOD_INIT_* bits for FMOD_System_Init
typedef unsigned int FMOD_TIMEUNIT;   // FMOD_TIMEUNIT_* for positions and lengths
typedef int FMOD_CHANNELINDEX;        // 0..31, or FMOD_CHANNEL_FREE

// A point or velocity in 3-D sound space, in the caller's distance units.
typedef struct FMOD_VECTOR {
    float x, y, z;
} FMOD_VECTOR;

// A driver's identity; this library fills it with zeros.
typedef struct FMOD_GUID {
    unsigned int data1;
    unsigned short data2, data3;
    unsigned char data4[8];
} FMOD_GUID;

// ---- Constants ----

// The version this library reports: 4.14.00 in the 0xMMMMmmpp form.
#define FMOD_VERSION 0x00041400u

// Sound modes. A loaded sound is 2-D unless FMOD_3D is given; FMOD_SOFTWARE and
// FMOD_HARDWARE are both mixed by OpenAL Soft. Mode 0 on an .m3u file opens a playlist.
#define FMOD_DEFAULT      0x00000000u
#define FMOD_2D           0x00000008u  // heard as is, at the listener
#define FMOD_3D           0x00000010u  // placed by FMOD_Channel_Set3DAttributes
#define FMOD_HARDWARE     0x00000020u
#define FMOD_SOFTWARE     0x00000040u
#define FMOD_CREATESTREAM 0x00000080u  // decode while playing (as FMOD_System_CreateStream)

// Driver capability bits. FMOD_CAPS_HARDWARE_EMULATED is never set by this library.
#define FMOD_CAPS_NONE                   0x00000000u
#define FMOD_CAPS_HARDWARE_EMULATED      0x00000002u  // acceleration emulated (never)
#define FMOD_CAPS_OUTPUT_MULTICHANNEL    0x00000004u  // more than two output channels
#define FMOD_CAPS_REVERB                 0x00000010u  // the device offers reverb effects
#define FMOD_CAPS_HRTF                   0x00000020u  // the device renders for headphones

// Flags for FMOD_System_Init.
#define FMOD_INIT_NORMAL          0x00000000u  // left-handed 3-D: +z points away from the listener
#define FMOD_INIT_3D_RIGHTHANDED  0x00000002u  // right-handed 3-D: -z points away (OpenAL's own)

// Time units.
#define FMOD_TIMEUNIT_MS       0x00000001u  // milliseconds
#define FMOD_TIMEUNIT_PCM      0x00000002u  // sample frames
#define FMOD_TIMEUNIT_PCMBYTES 0x00000004u  // bytes of 16-bit decoded samples

// Channel index for FMOD_System_PlaySound: any free channel (else the oldest).
#define FMOD_CHANNEL_FREE (-1)

// The number of channels a system has; FMOD_System_Init takes 1..FMOD_MAX_CHANNELS.
#define FMOD_MAX_CHANNELS 32

// Output speaker layouts, as the driver reports them.
typedef enum FMOD_SPEAKERMODE {
    FMOD_SPEAKERMODE_RAW = 0,      // channels not tied to speakers (ambisonic output)
    FMOD_SPEAKERMODE_MONO = 1,
    FMOD_SPEAKERMODE_STEREO = 2,
    FMOD_SPEAKERMODE_QUAD = 3,
    FMOD_SPEAKERMODE_5POINT1 = 4,
    FMOD_SPEAKERMODE_6POINT1 = 5,
    FMOD_SPEAKERMODE_7POINT1 = 6,
    FMOD_SPEAKERMODE_HEADPHONES = 7,
    FMOD_SPEAKERMODE_MAX = 8
} FMOD_SPEAKERMODE;

// Sample formats, for FMOD_System_SetSoftwareFormat and FMOD_Sound_GetFormat.
typedef enum FMOD_SOUND_FORMAT {
    FMOD_SOUND_FORMAT_NONE = 0,
    FMOD_SOUND_FORMAT_PCM8 = 1,
    FMOD_SOUND_FORMAT_PCM16 = 2,
    FMOD_SOUND_FORMAT_PCM24 = 3,
    FMOD_SOUND_FORMAT_PCM32 = 4,
    FMOD_SOUND_FORMAT_PCMFLOAT = 5
} FMOD_SOUND_FORMAT;

// Resamplers, for FMOD_System_SetSoftwareFormat.
typedef enum FMOD_DSP_RESAMPLER {
    FMOD_DSP_RESAMPLER_NOINTERP = 0,
    FMOD_DSP_RESAMPLER_LINEAR = 1,
    FMOD_DSP_RESAMPLER_CUBIC = 2,
    FMOD_DSP_RESAMPLER_SPLINE = 3
} FMOD_DSP_RESAMPLER;

// What a sound was made from. The game tests for FMOD_SOUND_TYPE_PLAYLIST (15).
typedef enum FMOD_SOUND_TYPE {
    FMOD_SOUND_TYPE_UNKNOWN = 0,    // another format libsndfile reads (AU, CAF, ...)
    FMOD_SOUND_TYPE_WAV = 1,
    FMOD_SOUND_TYPE_AIFF = 2,
    FMOD_SOUND_TYPE_FLAC = 3,
    FMOD_SOUND_TYPE_OGGVORBIS = 4,
    FMOD_SOUND_TYPE_OPUS = 5,
    FMOD_SOUND_TYPE_MPEG = 6,
    FMOD_SOUND_TYPE_PLAYLIST = 15   // an M3U playlist: tags only, not playable
} FMOD_SOUND_TYPE;

// Where a tag comes from, and what its data is.
typedef enum FMOD_TAGTYPE {
    FMOD_TAGTYPE_UNKNOWN = 0,
    FMOD_TAGTYPE_PLAYLIST = 1
} FMOD_TAGTYPE;

typedef enum FMOD_TAGDATATYPE {
    FMOD_TAGDATATYPE_BINARY = 0,
    FMOD_TAGDATATYPE_STRING = 1     // data is NUL-terminated text, datalen counts the NUL
} FMOD_TAGDATATYPE;

// One tag of a sound. A playlist has three per entry, in this order:
//   "FILE"   the entry's path, resolved against the playlist's folder;
//   "TITLE"  the #EXTINF title, else the file name without folder and extension;
//   "LENGTH" the #EXTINF seconds as written, "-1" when not given.
// name and data point into the sound and stay valid until it is released.
typedef struct FMOD_TAG {
    FMOD_TAGTYPE type;
    FMOD_TAGDATATYPE datatype;
    char *name;
    void *data;
    unsigned int datalen;
    FMOD_BOOL updated;
} FMOD_TAG;

// Result codes, 0..85. FMOD_ErrorString gives each one's text.
typedef enum FMOD_RESULT {
    FMOD_OK = 0,
    FMOD_ERR_INTERNAL = 1,
    FMOD_ERR_INVALID_PARAM = 2,
    FMOD_ERR_INVALID_HANDLE = 3,
    FMOD_ERR_INVALID_FLOAT = 4,
    FMOD_ERR_INVALID_POSITION = 5,
    FMOD_ERR_INVALID_SPEAKER = 6,
    FMOD_ERR_INVALID_TIMEUNIT = 7,
    FMOD_ERR_INVALID_DRIVER = 8,
    FMOD_ERR_INITIALIZED = 9,
    FMOD_ERR_UNINITIALIZED = 10,
    FMOD_ERR_MEMORY = 11,
    FMOD_ERR_UNSUPPORTED = 12,
    FMOD_ERR_BADCOMMAND = 13,
    FMOD_ERR_VERSION = 14,
    FMOD_ERR_OUTPUT_INIT = 15,
    FMOD_ERR_OUTPUT_FORMAT = 16,
    FMOD_ERR_OUTPUT_CREATEBUFFER = 17,
    FMOD_ERR_OUTPUT_DRIVERCALL = 18,
    FMOD_ERR_OUTPUT_NODRIVERS = 19,
    FMOD_ERR_OUTPUT_ALLOCATED = 20,
    FMOD_ERR_OUTPUT_DISCONNECTED = 21,
    FMOD_ERR_FILE_NOTFOUND = 22,
    FMOD_ERR_FILE_BAD = 23,
    FMOD_ERR_FILE_EOF = 24,
    FMOD_ERR_FORMAT = 25,
    FMOD_ERR_FILE_COULDNOTSEEK = 26,
    FMOD_ERR_FILE_ACCESS = 27,
    FMOD_ERR_FILE_ISDIRECTORY = 28,
    FMOD_ERR_FILE_TOOLARGE = 29,
    FMOD_ERR_PATH_TOOLONG = 30,
    FMOD_ERR_DECODE = 31,
    FMOD_ERR_SAMPLERATE = 32,
    FMOD_ERR_CHANNELCOUNT = 33,
    FMOD_ERR_SAMPLEFORMAT = 34,
    FMOD_ERR_CHANNEL_ALLOC = 35,
    FMOD_ERR_CHANNEL_STOLEN = 36,
    FMOD_ERR_TOOMANYCHANNELS = 37,
    FMOD_ERR_NEEDS3D = 38,
    FMOD_ERR_NEEDS2D = 39,
    FMOD_ERR_NEEDSSOFTWARE = 40,
    FMOD_ERR_NEEDSHARDWARE = 41,
    FMOD_ERR_NOTREADY = 42,
    FMOD_ERR_TAGNOTFOUND = 43,
    FMOD_ERR_PLAYLIST_EMPTY = 44,
    FMOD_ERR_NOTPLAYABLE = 45,
    FMOD_ERR_STREAM_STARVED = 46,
    FMOD_ERR_STREAM_SEEK = 47,
    FMOD_ERR_NOTSTREAM = 48,
    FMOD_ERR_ISSTREAM = 49,
    FMOD_ERR_LISTENER = 50,
    FMOD_ERR_REVERB_UNAVAILABLE = 51,
    FMOD_ERR_REVERB_INSTANCE = 52,
    FMOD_ERR_DSP_NOTFOUND = 53,
    FMOD_ERR_DSP_CONNECTION = 54,
    FMOD_ERR_DSP_FORMAT = 55,
    FMOD_ERR_DSP_RUNNING = 56,
    FMOD_ERR_DSP_TOOMANYCONNECTIONS = 57,
    FMOD_ERR_GEOMETRY = 58,
    FMOD_ERR_MAXAUDIBLE = 59,
    FMOD_ERR_PRIORITY = 60,
    FMOD_ERR_LOOP = 61,
    FMOD_ERR_SUBSOUNDS = 62,
    FMOD_ERR_SUBSOUND_INDEX = 63,
    FMOD_ERR_SYNCPOINT = 64,
    FMOD_ERR_RECORD = 65,
    FMOD_ERR_RECORD_RUNNING = 66,
    FMOD_ERR_NET_CONNECT = 67,
    FMOD_ERR_NET_URL = 68,
    FMOD_ERR_NET_SOCKET = 69,
    FMOD_ERR_NET_WOULDBLOCK = 70,
    FMOD_ERR_HTTP = 71,
    FMOD_ERR_HTTP_TIMEOUT = 72,
    FMOD_ERR_HTTP_ACCESS = 73,
    FMOD_ERR_HTTP_PROXY = 74,
    FMOD_ERR_PLUGIN = 75,
    FMOD_ERR_PLUGIN_MISSING = 76,
    FMOD_ERR_PLUGIN_VERSION = 77,
    FMOD_ERR_PLUGIN_RESOURCE = 78,
    FMOD_ERR_MEMORY_DEVICE = 79,
    FMOD_ERR_UPDATE = 80,
    FMOD_ERR_THREAD = 81,
    FMOD_ERR_TIMEOUT = 82,
    FMOD_ERR_BUSY = 83,
    FMOD_ERR_CLOSED = 84,
    FMOD_ERR_NOTIMPLEMENTED = 85,
    FMOD_RESULT_COUNT = 86          // one past the last code
} FMOD_RESULT;

// ---- Error texts ----

// The fixed English text for a result code; "Unknown error." outside 0..85. Never null.
const char *FMOD_ErrorString(FMOD_RESULT code);

// ---- System ----

// Makes a new, uninitialised system into *system.
FMOD_RESULT FMOD_System_Create(FMOD_SYSTEM **system);
// Stores this library's version (FMOD_VERSION) in *version.
FMOD_RESULT FMOD_System_GetVersion(FMOD_SYSTEM *system, unsigned int *version);
// Capabilities, supported mixing rates and speaker layout of driver 0 (the OpenAL
// device); any output pointer may be null. Opens the device if it is not open yet.
FMOD_RESULT FMOD_System_GetDriverCaps(FMOD_SYSTEM *system, int id, FMOD_CAPS *caps,
                                      int *minfrequency, int *maxfrequency,
                                      FMOD_SPEAKERMODE *speakermode);
// Copies driver 0's name (the OpenAL device's) into name, at most namelen bytes
// with the NUL; guid, when given, is zeroed.
FMOD_RESULT FMOD_System_GetDriverInfo(FMOD_SYSTEM *system, int id, char *name, int namelen,
                                      FMOD_GUID *guid);
// Before Init: the speaker layout to mix for. OpenAL Soft picks the device's own
// layout, so this is recorded only.
FMOD_RESULT FMOD_System_SetSpeakerMode(FMOD_SYSTEM *system, FMOD_SPEAKERMODE mode);
// Before Init: the mixing block (samples) and block count; sets the device's update rate.
FMOD_RESULT FMOD_System_SetDSPBufferSize(FMOD_SYSTEM *system, unsigned int bufferlength,
                                         int numbuffers);
// Before Init: the mixing rate asked of the device (the other values are recorded only;
// OpenAL Soft mixes in float and resamples linearly or better).
FMOD_RESULT FMOD_System_SetSoftwareFormat(FMOD_SYSTEM *system, int samplerate,
                                          FMOD_SOUND_FORMAT format, int numoutputchannels,
                                          int maxinputchannels, FMOD_DSP_RESAMPLER resamplemethod);
// Opens the output with maxchannels (1..32) channels; flags FMOD_INIT_NORMAL or
// FMOD_INIT_3D_RIGHTHANDED; extradriverdata must be 0. Without a device, output is silent.
FMOD_RESULT FMOD_System_Init(FMOD_SYSTEM *system, int maxchannels, FMOD_INITFLAGS flags,
                             void *extradriverdata);
// Doppler scale (>= 0), distance units per metre (> 0) and roll-off scale (>= 0) for
// every channel, now and later.
FMOD_RESULT FMOD_System_Set3DSettings(FMOD_SYSTEM *system, float dopplerscale,
                                      float distancefactor, float rolloffscale);
// Refills the streams and restarts any that ran dry; call once per frame.
FMOD_RESULT FMOD_System_Update(FMOD_SYSTEM *system);
// Stops every channel and closes the output; sounds stay valid handles until released.
FMOD_RESULT FMOD_System_Close(FMOD_SYSTEM *system);
// Closes the system if needed, releases its sounds and frees it.
FMOD_RESULT FMOD_System_Release(FMOD_SYSTEM *system);

// ---- Sounds ----

// Opens name into *sound: an .m3u (or .m3u8) file as a playlist, any other file
// decoded whole (FMOD_CREATESTREAM: as a stream). exinfo must be 0.
// A missing file gives FMOD_ERR_FILE_NOTFOUND, one the decoder refuses FMOD_ERR_FORMAT.
FMOD_RESULT FMOD_System_CreateSound(FMOD_SYSTEM *system, const char *name, FMOD_MODE mode,
                                    FMOD_CREATESOUNDEXINFO *exinfo, FMOD_SOUND **sound);
// As FMOD_System_CreateSound with FMOD_CREATESTREAM: decoded in chunks while it plays.
FMOD_RESULT FMOD_System_CreateStream(FMOD_SYSTEM *system, const char *name, FMOD_MODE mode,
                                     FMOD_CREATESOUNDEXINFO *exinfo, FMOD_SOUND **sound);
// Distances for later plays of a 3-D sound: full volume up to min, then inverse
// distance roll-off until max (defaults 1 and 10000).
FMOD_RESULT FMOD_Sound_Set3DMinMaxDistance(FMOD_SOUND *sound, float min, float max);
// The sound's length in the given unit (0 for a playlist).
FMOD_RESULT FMOD_Sound_GetLength(FMOD_SOUND *sound, unsigned int *length, FMOD_TIMEUNIT unit);
// What the sound was made from, its decoded sample format, channels and bits; any
// pointer may be null.
FMOD_RESULT FMOD_Sound_GetFormat(FMOD_SOUND *sound, FMOD_SOUND_TYPE *type,
                                 FMOD_SOUND_FORMAT *format, int *channels, int *bits);
// The number of tags (three per playlist entry); numtagsupdated is always 0.
FMOD_RESULT FMOD_Sound_GetNumTags(FMOD_SOUND *sound, int *numtags, int *numtagsupdated);
// The index-th tag called name (of all tags when name is 0); FMOD_ERR_TAGNOTFOUND past the end.
FMOD_RESULT FMOD_Sound_GetTag(FMOD_SOUND *sound, const char *name, int index, FMOD_TAG *tag);
// Stops the channels playing the sound and frees it.
FMOD_RESULT FMOD_Sound_Release(FMOD_SOUND *sound);

// ---- Playing and channels ----

// Starts sound on channel index (0..maxchannels-1, taking it over) or on a free one
// (FMOD_CHANNEL_FREE), with volume 1, its own rate and 3-D place and speed zero.
// A paused play is set up but heard only after FMOD_Channel_SetPaused(channel, 0).
FMOD_RESULT FMOD_System_PlaySound(FMOD_SYSTEM *system, FMOD_CHANNELINDEX channelid,
                                  FMOD_SOUND *sound, FMOD_BOOL paused, FMOD_CHANNEL **channel);

// The calls below succeed on a channel whose sound has ended or was stopped; they
// then only keep the value (or report the kept one), and IsPlaying reports 0.

// Places the channel's sound (pos) and gives its speed (vel, units per second) for
// Doppler; either may be 0 to keep it.
FMOD_RESULT FMOD_Channel_Set3DAttributes(FMOD_CHANNEL *channel, const FMOD_VECTOR *pos,
                                         const FMOD_VECTOR *vel);
// Pauses (1) or resumes (0) the channel.
FMOD_RESULT FMOD_Channel_SetPaused(FMOD_CHANNEL *channel, FMOD_BOOL paused);
// Whether the channel is paused.
FMOD_RESULT FMOD_Channel_GetPaused(FMOD_CHANNEL *channel, FMOD_BOOL *paused);
// Volume 0.0..1.0 (values outside are clamped).
FMOD_RESULT FMOD_Channel_SetVolume(FMOD_CHANNEL *channel, float volume);
// Playback rate in Hz (> 0): pitch is rate / the sound's own rate.
FMOD_RESULT FMOD_Channel_SetFrequency(FMOD_CHANNEL *channel, float frequency);
// Stops the channel's sound.
FMOD_RESULT FMOD_Channel_Stop(FMOD_CHANNEL *channel);
// 1 while the channel's sound plays or is paused, 0 once it has ended or was stopped.
FMOD_RESULT FMOD_Channel_IsPlaying(FMOD_CHANNEL *channel, FMOD_BOOL *isplaying);
// How far the channel's sound has been heard, in the given unit (0 when it has ended).
FMOD_RESULT FMOD_Channel_GetPosition(FMOD_CHANNEL *channel, unsigned int *position,
                                     FMOD_TIMEUNIT unit);

#ifdef __cplusplus
}
#endif
