// The sound library through the real OpenAL Soft: its wave-file output is chosen
// by a test configuration, so what the library plays can be read back and measured.
// Test sounds are sine tones written with libsndfile into a scratch folder.

#include <gtest/gtest.h>

#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

#include "player_folder.h"
#include "sound_lib.h"
#include "sound_lib_internal.h"
#include "wave_output.h"

namespace {

using std::chrono::milliseconds;
using std::this_thread::sleep_for;

// The scratch folder and the wave file OpenAL Soft writes, set up before main.
wave_output scratch;

std::string text_file(const std::string &name, const std::string &text)
{
    std::string path = scratch.dir + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// What OpenAL Soft wrote: interleaved stereo frames.
struct Wave {
    int rate = 0;
    std::vector<float> data;
};

// Updates once a frame until the channel has stopped playing; false when it
// still plays after timeout_s (far longer than any sound here lasts, so a busy
// machine's late mixing only makes the wait longer).
bool play_out(FMOD_SYSTEM *sys, FMOD_CHANNEL *ch, double timeout_s = 30)
{
    auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout_s);
    FMOD_BOOL playing = 1;
    while (std::chrono::steady_clock::now() < until) {
        if (FMOD_System_Update(sys) != FMOD_OK || FMOD_Channel_IsPlaying(ch, &playing) != FMOD_OK)
            return false;
        if (!playing)
            return true;
        sleep_for(milliseconds(16));
    }
    return false;
}

class SoundLib : public ::testing::Test {
protected:
    FMOD_SYSTEM *sys = nullptr;

    void SetUp() override { mkdir(scratch.outdir.c_str(), 0755); }
    void TearDown() override { if (sys) { EXPECT_EQ(FMOD_System_Release(sys), FMOD_OK); } }
    void open(FMOD_INITFLAGS flags = FMOD_INIT_3D_RIGHTHANDED)
    {
        ASSERT_EQ(FMOD_System_Create(&sys), FMOD_OK);
        ASSERT_EQ(FMOD_System_Init(sys, 32, flags, 0), FMOD_OK);
    }
    // Closes the device, which finishes the wave file, and reads it.
    Wave finish()
    {
        EXPECT_EQ(FMOD_System_Close(sys), FMOD_OK);
        Wave w;
        w.data = scratch.stereo(&w.rate);
        return w;
    }
    FMOD_SOUND *load(const std::string &path, FMOD_MODE mode)
    {
        FMOD_SOUND *s = nullptr;
        EXPECT_EQ(FMOD_System_CreateSound(sys, path.c_str(), mode, 0, &s), FMOD_OK) << path;
        return s;
    }
};

TEST_F(SoundLib, DriverNameFitsAShortBufferAndBadCallsAreRefused)
{
    ASSERT_EQ(FMOD_System_Create(&sys), FMOD_OK);
    FMOD_CAPS caps = ~0u;
    FMOD_SPEAKERMODE mode = FMOD_SPEAKERMODE_RAW;
    EXPECT_EQ(FMOD_System_GetDriverCaps(sys, 1, &caps, 0, 0, &mode), FMOD_ERR_INVALID_DRIVER);
    char small[8];
    memset(small, 'x', sizeof small);
    EXPECT_EQ(FMOD_System_GetDriverInfo(sys, 0, small, 4, 0), FMOD_OK);
    EXPECT_EQ(strlen(small), 3u) << "a cut name, never a byte past the buffer";
    EXPECT_EQ(small[4], 'x');
    EXPECT_EQ(FMOD_System_Init(sys, 32, FMOD_INIT_3D_RIGHTHANDED, 0), FMOD_OK);
    EXPECT_EQ(FMOD_System_Init(sys, 32, FMOD_INIT_3D_RIGHTHANDED, 0), FMOD_ERR_INITIALIZED);
}

// A stream keeps one second queued: a longer one is heard whole only when
// updates refill it, and one left without updates until it ran dry carries
// on from where it stopped once updated again.
TEST_F(SoundLib, AStreamIsHeardWholeEvenAfterALateUpdate)
{
    open();
    std::string path = scratch.tone("long.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1.5, 440);
    FMOD_SOUND *song = nullptr;
    ASSERT_EQ(FMOD_System_CreateStream(sys, path.c_str(), 0, 0, &song), FMOD_OK);
    unsigned length = 0;
    EXPECT_EQ(FMOD_Sound_GetLength(song, &length, 1), FMOD_OK);
    EXPECT_EQ(length, 1500u);
    FMOD_CHANNEL *ch = nullptr;
    ASSERT_EQ(FMOD_System_PlaySound(sys, 0, song, 0, &ch), FMOD_OK);
    sleep_for(milliseconds(1150));  // no update for longer than the audio queued ahead
    FMOD_BOOL playing = 0;
    ASSERT_EQ(FMOD_Channel_IsPlaying(ch, &playing), FMOD_OK);
    EXPECT_TRUE(playing);
    EXPECT_TRUE(play_out(sys, ch)) << "the stream never came to its end";
    Wave heard = finish();
    // From the first to the last sound heard: the whole tone, where a stream
    // that was never refilled stops after its first second.
    size_t first = heard.data.size(), last = 0;
    for (size_t i = 0; i < heard.data.size(); i += 2)
        if (std::fabs(heard.data[i]) > 0.05f)
            first = std::min(first, i), last = i;
    ASSERT_GT(heard.rate, 0);
    EXPECT_GT((double)(last - first) / 2 / heard.rate, 1.45) << "seconds heard";
}

TEST_F(SoundLib, DecodesWavOggFlacAndMp3Whole)
{
    open();
    struct { const char *name; int format; FMOD_SOUND_TYPE type; } files[] = {
        {"a.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, FMOD_SOUND_TYPE_WAV},
        {"a.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, FMOD_SOUND_TYPE_OGGVORBIS},
        {"a.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, FMOD_SOUND_TYPE_FLAC},
        {"a.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, FMOD_SOUND_TYPE_MPEG},
    };
    for (auto &f : files) {
        std::string path = scratch.tone(f.name, f.format, 0.25, 440, 44100, 2);
        for (FMOD_MODE mode : {0x40u, 0x50u}) {
            FMOD_SOUND *s = load(path, mode);
            ASSERT_NE(s, nullptr);
            unsigned ms = 0;
            FMOD_SOUND_TYPE type;
            int channels = 0;
            EXPECT_EQ(FMOD_Sound_GetLength(s, &ms, 1), FMOD_OK);
            EXPECT_NEAR(ms, 250, 30) << f.name;
            EXPECT_EQ(FMOD_Sound_GetFormat(s, &type, 0, &channels, 0), FMOD_OK);
            EXPECT_EQ(type, f.type) << f.name;
            EXPECT_EQ(channels, mode == 0x50 ? 1 : 2) << "3-D sounds are mixed down to be placed";
            EXPECT_EQ(FMOD_Sound_Release(s), FMOD_OK);
        }
    }
}

TEST_F(SoundLib, UndecodableFilesGiveFormatErrorAndMissingOnesTheirOwn)
{
    open();
    std::string good = scratch.tone("whole.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0.2);
    std::string bytes = file_bytes(good);
    FMOD_SOUND *s = nullptr;
    for (const std::string &p : {text_file("text.wav", "this is not a sound at all\n"),
                                 text_file("empty.ogg", ""),
                                 text_file("header.wav", bytes.substr(0, 30)),
                                 text_file("binary.m3u", std::string("song.ogg\n\0\x01\x02", 12))}) {
        EXPECT_EQ(FMOD_System_CreateSound(sys, p.c_str(), 0x50, 0, &s), FMOD_ERR_FORMAT) << p;
        EXPECT_EQ(FMOD_System_CreateStream(sys, p.c_str(), 0, 0, &s), FMOD_ERR_FORMAT) << p;
        EXPECT_EQ(s, nullptr);
    }
    // Ogg Vorbis files whose headers are cut or damaged: refused again and
    // again without keeping memory (the sanitizer build's leak check sees it).
    std::string vorbis = scratch.tone("whole.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 0.2);
    std::string vbytes = file_bytes(vorbis);
    std::string flipped = vbytes;
    for (size_t at = 60; at < 400 && at < flipped.size(); at += 37)
        flipped[at] = (char)~flipped[at];
    // The same stream behind a first page whose checksum fails: libogg skips
    // that page, so the file is still read as Vorbis.
    std::string spoilt = vbytes.substr(0, 58);
    spoilt[30] = (char)(spoilt[30] ^ 0x20);
    for (const std::string &p : {text_file("cut.ogg", vbytes.substr(0, 200)),
                                 text_file("cut2.ogg", vbytes.substr(0, 1000)),
                                 text_file("flipped.ogg", flipped),
                                 text_file("later.ogg", spoilt + vbytes.substr(0, 1000))})
        for (int attempt = 0; attempt < 3; attempt++) {
            EXPECT_EQ(FMOD_System_CreateStream(sys, p.c_str(), 0, 0, &s), FMOD_ERR_FORMAT) << p;
            EXPECT_EQ(s, nullptr);
        }

    // Data cut short plays what is there.
    std::string cut = text_file("cut.wav", bytes.substr(0, bytes.size() / 2));
    ASSERT_EQ(FMOD_System_CreateSound(sys, cut.c_str(), 0x50, 0, &s), FMOD_OK);
    unsigned ms = 0;
    EXPECT_EQ(FMOD_Sound_GetLength(s, &ms, 1), FMOD_OK);
    EXPECT_NEAR(ms, 100, 5);

    std::string missing = scratch.dir + "/no such file.wav";
    EXPECT_EQ(FMOD_System_CreateSound(sys, missing.c_str(), 0x50, 0, &s), FMOD_ERR_FILE_NOTFOUND);
    EXPECT_EQ(FMOD_System_CreateStream(sys, missing.c_str(), 0, 0, &s), FMOD_ERR_FILE_NOTFOUND);
    EXPECT_EQ(FMOD_System_CreateSound(sys, scratch.dir.c_str(), 0, 0, &s), FMOD_ERR_FILE_ISDIRECTORY);
    std::string longpath = scratch.dir + "/" + std::string(5000, 'a') + ".wav";
    EXPECT_EQ(FMOD_System_CreateSound(sys, longpath.c_str(), 0, 0, &s), FMOD_ERR_PATH_TOOLONG);
}

TEST_F(SoundLib, PlaylistGivesFileTitleAndLengthTagsPerEntry)
{
    open();
    mkdir((scratch.dir + "/lists").c_str(), 0755);
    std::string path = text_file("lists/songs.m3u",
        "\xEF\xBB\xBF#EXTM3U\r\n"
        "#EXTINF:215,Low Orbit\r\n"
        "songs\\low_orbit.ogg\r\n"
        "\r\n"
        "# a comment line\r\n"
        "music/rebound.ogg\r\n"
        "#EXTINF:-1 group=\"a,b\",Over, Drive\r\n"
        "#EXTVLCOPT:network-caching=1000\r\n"
        "/abs/overdrive.flac\r\n"
        "  plain.mp3  ");
    FMOD_SOUND *list = load(path, 0);
    ASSERT_NE(list, nullptr);
    FMOD_SOUND_TYPE type;
    EXPECT_EQ(FMOD_Sound_GetFormat(list, &type, 0, 0, 0), FMOD_OK);
    EXPECT_EQ(type, 15);
    int tags = 0;
    EXPECT_EQ(FMOD_Sound_GetNumTags(list, &tags, 0), FMOD_OK);
    EXPECT_EQ(tags, 12);

    std::string folder = scratch.dir + "/lists/";
    const char *expect[4][3] = {
        {"songs/low_orbit.ogg", "Low Orbit", "215"},
        {"music/rebound.ogg", "rebound", "-1"},
        {"/abs/overdrive.flac", "Over, Drive", "-1"},
        {"plain.mp3", "plain", "-1"},
    };
    FMOD_TAG tag;
    for (int i = 0; i < 4; i++) {
        std::string file = expect[i][0][0] == '/' ? expect[i][0] : folder + expect[i][0];
        ASSERT_EQ(FMOD_Sound_GetTag(list, "FILE", i, &tag), FMOD_OK);
        EXPECT_EQ((const char *)tag.data, file);
        ASSERT_EQ(FMOD_Sound_GetTag(list, "TITLE", i, &tag), FMOD_OK);
        EXPECT_STREQ((const char *)tag.data, expect[i][1]);
        ASSERT_EQ(FMOD_Sound_GetTag(list, "LENGTH", i, &tag), FMOD_OK);
        EXPECT_STREQ((const char *)tag.data, expect[i][2]);
    }
    // Without a name, tags come in entry order; past the last entry, reads fail.
    ASSERT_EQ(FMOD_Sound_GetTag(list, 0, 4, &tag), FMOD_OK);
    EXPECT_STREQ(tag.name, "TITLE");
    EXPECT_NE(FMOD_Sound_GetTag(list, "FILE", 4, &tag), FMOD_OK);
    EXPECT_NE(FMOD_Sound_GetTag(list, 0, 12, &tag), FMOD_OK);
    EXPECT_EQ(FMOD_System_PlaySound(sys, 0, list, 0, 0), FMOD_ERR_NOTPLAYABLE);

    FMOD_SOUND *empty = load(text_file("empty.m3u", "#EXTM3U\n\n# nothing here\n"), 0);
    EXPECT_EQ(FMOD_Sound_GetNumTags(empty, &tags, 0), FMOD_OK);
    EXPECT_EQ(tags, 0);
}

// A volume is kept within 0 to 1, in the channel and in the source's gain.
TEST_F(SoundLib, ChannelHandlesAreStableVolumesAreClampedAndEndedStoppedOrReleasedChannelsAcceptEveryCall)
{
    open();
    FMOD_SOUND *s = load(scratch.tone("busy.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1.0), 0x50);
    FMOD_CHANNEL *first = nullptr, *again = nullptr, *free_one = nullptr;
    ASSERT_EQ(FMOD_System_PlaySound(sys, 3, s, 0, &first), FMOD_OK);
    ASSERT_EQ(FMOD_System_PlaySound(sys, 3, s, 0, &again), FMOD_OK);
    EXPECT_EQ(first, again);
    const float given[] = {1.5f, -0.5f, 0.25f, 1.0f, 0.0f}, kept[] = {1.0f, 0.0f, 0.25f, 1.0f, 0.0f};
    for (int k = 0; k < 5; k++) {
        ASSERT_EQ(FMOD_Channel_SetVolume(first, given[k]), FMOD_OK);
        EXPECT_EQ(first->volume, kept[k]) << given[k];
        ALfloat gain = -1;
        alGetSourcef(first->source, AL_GAIN, &gain);
        EXPECT_EQ(gain, kept[k]) << given[k];
    }
    ASSERT_EQ(FMOD_System_PlaySound(sys, FMOD_CHANNEL_FREE, s, 0, &free_one), FMOD_OK);
    EXPECT_NE(free_one, first);
    // With every channel busy, a free play takes the oldest instead of failing.
    for (int i = 0; i < 32; i++)
        ASSERT_EQ(FMOD_System_PlaySound(sys, FMOD_CHANNEL_FREE, s, 0, &free_one), FMOD_OK);
    EXPECT_EQ(FMOD_System_PlaySound(sys, 32, s, 0, &free_one), FMOD_ERR_INVALID_PARAM);

    FMOD_SOUND *blip = load(scratch.tone("blip.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0.05), 0x50);
    FMOD_SOUND *hum = load(scratch.tone("hum.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1.0), 0x50);
    FMOD_CHANNEL *ended = nullptr, *stopped = nullptr, *released = nullptr;
    ASSERT_EQ(FMOD_System_PlaySound(sys, 7, blip, 0, &ended), FMOD_OK);
    ASSERT_EQ(FMOD_System_PlaySound(sys, 8, hum, 0, &stopped), FMOD_OK);
    ASSERT_EQ(FMOD_System_PlaySound(sys, 9, hum, 0, &released), FMOD_OK);
    EXPECT_EQ(FMOD_Channel_Stop(stopped), FMOD_OK);
    EXPECT_TRUE(play_out(sys, ended));
    EXPECT_EQ(FMOD_Sound_Release(hum), FMOD_OK);
    FMOD_VECTOR pos = {1, 0, 2}, vel = {0, 0, 0};
    for (FMOD_CHANNEL *ch : {ended, stopped, released}) {
        FMOD_BOOL playing = 1;
        unsigned ms = 99;
        EXPECT_EQ(FMOD_Channel_IsPlaying(ch, &playing), FMOD_OK);
        EXPECT_FALSE(playing);
        EXPECT_EQ(FMOD_Channel_SetVolume(ch, 0.5f), FMOD_OK);
        EXPECT_EQ(FMOD_Channel_Set3DAttributes(ch, &pos, &vel), FMOD_OK);
        EXPECT_EQ(FMOD_Channel_SetPaused(ch, 0), FMOD_OK);
        EXPECT_EQ(FMOD_Channel_GetPosition(ch, &ms, 1), FMOD_OK);
        EXPECT_EQ(ms, 0u);
        EXPECT_EQ(FMOD_Channel_Stop(ch), FMOD_OK);
    }
    EXPECT_EQ(FMOD_Sound_Release(hum), FMOD_ERR_INVALID_HANDLE);
}

// The game's placed effects and the setup program's preview start paused on a
// channel that has played before, then unpause it: each play must be heard.
TEST_F(SoundLib, PausedPlayOnAUsedChannelIsHeardWhenResumed)
{
    open();
    FMOD_SOUND *blip = load(scratch.tone("again.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0.1), 0x40);
    for (int play = 0; play < 3; play++) {
        FMOD_CHANNEL *ch = nullptr;
        ASSERT_EQ(FMOD_System_PlaySound(sys, 7, blip, 1, &ch), FMOD_OK);
        ASSERT_EQ(FMOD_Channel_SetPaused(ch, 0), FMOD_OK);
        // Until the tone has ended, then a pause, so the next play reuses a stopped source.
        FMOD_BOOL playing = 1;
        for (int wait = 0; wait < 500 && playing; wait++) {
            ASSERT_EQ(FMOD_Channel_IsPlaying(ch, &playing), FMOD_OK);
            sleep_for(milliseconds(10));
        }
        sleep_for(milliseconds(100));
    }
    Wave heard = finish();
    // The tones: stretches of sound apart by at least 20 ms of silence.
    EXPECT_EQ(burst_peaks(heard.data, (size_t)heard.rate / 50 * 2, 0.05f).size(), 3u);
}

TEST_F(SoundLib, WithoutADeviceEveryCallSucceedsAndStreamsStillEnd)
{
    // The wave output's folder is gone, so OpenAL Soft cannot open any device.
    ASSERT_EQ(system(("rm -rf '" + scratch.outdir + "'").c_str()), 0);
    testing::internal::CaptureStderr();
    open();
    std::string said = testing::internal::GetCapturedStderr();
    size_t first = said.find("playing without sound");
    EXPECT_NE(first, std::string::npos) << said;
    EXPECT_EQ(said.find("playing without sound", first + 1), std::string::npos) << "said once";

    // Long enough that a busy machine cannot let it end before it is looked at.
    std::string path = scratch.tone("quiet.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 3.0);
    FMOD_SOUND *song = nullptr;
    ASSERT_EQ(FMOD_System_CreateStream(sys, path.c_str(), 0, 0, &song), FMOD_OK);
    FMOD_CHANNEL *music = nullptr;
    auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(FMOD_System_PlaySound(sys, 0, song, 0, &music), FMOD_OK);
    for (int t = 0; t < 150; t += 16) {   // one update per 62-per-second frame
        ASSERT_EQ(FMOD_System_Update(sys), FMOD_OK);
        sleep_for(milliseconds(16));
    }
    unsigned ms = 0, held = 0;
    EXPECT_EQ(FMOD_Channel_GetPosition(music, &ms, 1), FMOD_OK);
    // The position follows the wall clock: at least the frames' sleeps, at
    // most the time that has really passed.
    auto passed = std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - started);
    EXPECT_GE(ms, 140u);
    EXPECT_LE(ms, (unsigned)passed.count() + 20);
    // Paused, the clock stops.
    EXPECT_EQ(FMOD_Channel_SetPaused(music, 1), FMOD_OK);
    EXPECT_EQ(FMOD_Channel_GetPosition(music, &ms, 1), FMOD_OK);
    sleep_for(milliseconds(100));
    EXPECT_EQ(FMOD_Channel_GetPosition(music, &held, 1), FMOD_OK);
    EXPECT_EQ(held, ms);
    // Resumed, the stream still comes to its end.
    EXPECT_EQ(FMOD_Channel_SetPaused(music, 0), FMOD_OK);
    EXPECT_TRUE(play_out(sys, music)) << "the stream never came to its end";
}

}  // namespace
