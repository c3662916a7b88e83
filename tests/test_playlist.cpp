// The music player over the real sound library, with OpenAL Soft writing to a
// wave file in a scratch folder.

#include <gtest/gtest.h>

#include <sndfile.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "audio/audio.h"
#include "deadline.h"
#include "shell/shell.h"
#include "wave_output.h"

namespace {

// Scratch folder with OpenAL Soft's wave-file output, set up before any OpenAL call.
wave_output scratch;

// A song of the given length, in silence.
std::string song(const std::string &name, double seconds)
{
    return scratch.tone(name, SF_FORMAT_WAV | SF_FORMAT_PCM_16, seconds, 0, 22050);
}

// Writes an extended M3U of (title, file) entries and returns its path.
std::string m3u(const std::string &name, const std::vector<std::pair<std::string, std::string>> &entries)
{
    std::string path = scratch.dir + "/" + name;
    std::ofstream out(path);
    out << "#EXTM3U\n";
    for (auto &e : entries)
        out << "#EXTINF:-1," << e.first << "\n" << e.second << "\n";
    return path;
}

// The standard three-song list, songs long enough never to end by themselves.
std::string three_songs()
{
    return m3u("three.m3u", {{"Alpha", song("a.wav", 4)}, {"Beta", song("b.wav", 4)},
                             {"Gamma", song("c.wav", 4)}});
}

class Playlist : public ::testing::Test {
protected:
    void TearDown() override { if (system_fmod) shutdown_sound(); }
    // Starts the sound system with plist = path, as the game's start-up does.
    void start(const std::string &path)
    {
        random_play = 0;
        volume = 1.0f;
        evolume = 0.8f;
        playnum = 0;
        lenms = ms = 0;
        snprintf(plist, sizeof plist, "%s", path.c_str());
        ASSERT_EQ(init_sound(), 1);
    }
    static bool playing()
    {
        FMOD_BOOL p = 0;
        return FMOD_Channel_IsPlaying(channel, &p) == FMOD_OK && p;
    }
    static std::string title() { return song_title ? song_title : ""; }
    // A song command, then the frame's change_track.
    static void then_frame(void (*command)()) { command(); change_track(); }
};

TEST_F(Playlist, StartUpPlaysTheFirstEntryThenOrderWraps)
{
    start(three_songs());
    EXPECT_EQ(playnum, 9);
    EXPECT_EQ(title(), "Alpha");
    EXPECT_STREQ(song_file, (scratch.dir + "/a.wav").c_str());
    EXPECT_TRUE(playing());
    char out[256];
    EXPECT_TRUE(poll_until([&] { music_status(out, sizeof out); return ms > 100u; }, 30))
        << "the status reads the song's position as it plays";
    EXPECT_EQ(lenms, 4000u) << "the status reads the song's real length";
    EXPECT_STREQ(out, "-080-   -100-   -Normal-   00:00/00:04   1. Alpha");
    const char *expected[] = {"Beta", "Gamma", "Alpha"};
    for (int i = 0; i < 3; i++) {
        then_frame(next_song);
        EXPECT_EQ(songcount, (i + 1) % 3);
        EXPECT_EQ(title(), expected[i]);
        EXPECT_TRUE(playing());
    }
}

TEST_F(Playlist, PreviousStepsBackAndRestartsEntryZero)
{
    start(three_songs());
    then_frame(previous_song);
    EXPECT_EQ(songcount, 0) << "right after start-up";
    EXPECT_TRUE(playing());
    then_frame(next_song);
    then_frame(next_song);
    then_frame(previous_song);
    EXPECT_EQ(title(), "Beta");
    then_frame(previous_song);
    then_frame(previous_song);
    EXPECT_EQ(songcount, 0) << "from entry 0";
    EXPECT_TRUE(playing());
}

TEST_F(Playlist, OneEntryListStartsItsEntryAgainAfterAFailedFirstStep)
{
    start(m3u("one.m3u", {{"Solo", song("solo.wav", 4)}}));
    FMOD_Channel_Stop(channel);  // the song ends
    change_track();
    EXPECT_EQ(songcount, 0) << "entry 1 does not exist";
    EXPECT_FALSE(playing());
    change_track();
    EXPECT_EQ(title(), "Solo");
    EXPECT_TRUE(playing());
}

TEST_F(Playlist, RandomPlayStartsAtOnceAndOrderPlayLetsTheSongFinish)
{
    start(three_songs());
    toggle_random();
    EXPECT_FALSE(playing()) << "switching to random stops the song";
    std::set<int> seen;
    for (int i = 0; i < 30; i++) {
        change_track();
        ASSERT_TRUE(playing());
        ASSERT_TRUE(songcount >= 0 && songcount < 3) << songcount;
        seen.insert(songcount);
        next_song();
    }
    change_track();
    EXPECT_GT(seen.size(), 1u);
    int current = songcount;
    toggle_random();
    EXPECT_TRUE(playing()) << "back to order: the song goes on";
    then_frame(next_song);
    EXPECT_EQ(songcount, (current + 1) % 3);
    random_play = 1;
    playnum = 2;  // fewer than three tags: no whole entry, so entry 0
    then_frame(next_song);
    EXPECT_EQ(songcount, 0);
}

TEST_F(Playlist, OverlongMissingAndPlaylistEntriesAreSkipped)
{
    std::string longpath = scratch.dir + "/" + std::string(1100, 'x') + ".wav";
    start(m3u("gaps.m3u", {{"Gone", scratch.dir + "/gone.wav"}, {"Beta", song("b.wav", 4)},
                           {"Long", longpath}}));
    EXPECT_EQ(songcount, 1) << "a missing first entry is passed over at start-up";
    std::string first = song_file;
    then_frame(next_song);
    EXPECT_EQ(songcount, 2);
    EXPECT_FALSE(playing());
    EXPECT_EQ(std::string(song_file), first) << "the long path is never copied";
    change_track();  // wraps past the missing entry 0 ...
    change_track();  // ... to entry 1
    EXPECT_EQ(title(), "Beta");
    EXPECT_TRUE(playing());
    // An entry that is itself a playlist (another one, or the list itself) is
    // passed over like a missing song: never followed, never fatal.
    shutdown_sound();
    std::string self = scratch.dir + "/loop.m3u";
    m3u("other.m3u", {{"Inner", song("i.wav", 4)}});
    start(m3u("loop.m3u", {{"Self", self}, {"Other", scratch.dir + "/other.m3u"},
                           {"Beta", song("b.wav", 4)}}));
    EXPECT_EQ(songcount, 2) << "both playlist entries are passed over at start-up";
    EXPECT_EQ(title(), "Beta");
    then_frame(next_song);  // wraps to the list itself: skipped, nothing plays
    EXPECT_EQ(songcount, 0);
    EXPECT_FALSE(playing());
    change_track();         // the other playlist: skipped too
    EXPECT_EQ(songcount, 1);
    EXPECT_FALSE(playing());
    change_track();
    EXPECT_EQ(title(), "Beta");
    EXPECT_TRUE(playing());
}

TEST_F(Playlist, UnopenableOrEmptyPlaylistLeavesTheMusicOff)
{
    start(m3u("empty.m3u", {}));
    EXPECT_EQ(playnum, 0);
    EXPECT_EQ(channel, nullptr);
    shutdown_sound();
    start(scratch.dir + "/moved/custom.m3u");
    EXPECT_EQ(isplaylist, 0);
    EXPECT_EQ(channel, nullptr);
    next_song();
    previous_song();
    toggle_random();
    EXPECT_EQ(random_play, 0) << "the commands do nothing without music";
}

// The status line from the values alone: no music channel is open.
class StatusBar : public Playlist {
protected:
    void SetUp() override { start(scratch.dir + "/none.m3u"); }
    std::string line() { char out[256]; music_status(out, sizeof out); return out; }
    char name[128] = "Chorale";
};

TEST_F(StatusBar, ShowsVolumesModeTimesAndEntry)
{
    EXPECT_EQ(line(), "-080-   -100-   -Normal-   00:00/00:00   1. ");
    ms = 63000;
    lenms = 245000;
    song_title = name;
    EXPECT_EQ(line(), "-080-   -100-   -Normal-   01:03/04:05   1. Chorale");
    random_play = 1;
    songcount = 11;
    EXPECT_EQ(line(), "-080-   -100-   -Random-   01:03/04:05   12. Chorale");
    // Volumes are truncated, minutes do not wrap, the title is cut to 55 characters.
    evolume = 0.7f;
    volume = 0.0f;
    ms = 0;
    lenms = 65 * 60000 + 7000;
    random_play = 0;
    songcount = 0;
    EXPECT_EQ(line(), "-069-   -000-   -Normal-   00:00/65:07   1. Chorale");
    std::string long_title = std::string(54, 'a') + "BCDEF";
    snprintf(name, sizeof name, "%s", long_title.c_str());
    std::string l = line();
    EXPECT_EQ(l.substr(l.find("1. ") + 3), long_title.substr(0, 55));
}

// The music and the effects volume keys step by 0.05 and stop exactly at 0 and 1.
TEST_F(StatusBar, VolumeKeysClampExactlyAtBothEnds)
{
    for (bool music : {true, false}) {
        float &v = music ? volume : evolume;
        auto step = [music](int dir) { music ? music_volume_step(dir) : effects_volume_step(dir); };
        for (float top : {0.98f, 1.0f}) {
            v = top;
            step(1);
            EXPECT_EQ(v, 1.0f) << music << " " << top;
        }
        step(-1);
        EXPECT_FLOAT_EQ(v, 0.95f) << music;
        v = 0.03f;
        step(-1);
        EXPECT_EQ(v, 0.0f) << music;
    }
}

}  // namespace
