// Checks of the generated sounds in the game folder: the twelve effects in the formats
// the game plays them at, the songs and their playlist, and the generator itself.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "command.h"
#include "player_folder.h"

namespace fs = std::filesystem;

static const std::string GAME = CORVALE_GAME_DIR;
static const std::string GENERATOR = std::string(CORVALE_BINARY_DIR) + "/tools/audio/corvale_audio";
static const std::string SCORES = std::string(CORVALE_SOURCE_DIR) + "/data/songs";

// A decoded sound file: its format and samples (interleaved), or ok = false.
struct Sound {
    bool ok = false;
    SF_INFO info = {};
    std::vector<float> samples;
    double seconds() const { return (double)info.frames / info.samplerate; }
    // Mono mix of frames [from, to).
    std::vector<float> mono(sf_count_t from, sf_count_t to) const {
        std::vector<float> m;
        for (sf_count_t i = std::max<sf_count_t>(0, from); i < std::min(to, info.frames); i++) {
            float s = 0;
            for (int c = 0; c < info.channels; c++)
                s += samples[i * info.channels + c];
            m.push_back(s / info.channels);
        }
        return m;
    }
};

static Sound decode(const std::string &path)
{
    Sound s;
    SNDFILE *f = sf_open(path.c_str(), SFM_READ, &s.info);
    if (!f)
        return s;
    s.samples.resize((size_t)(s.info.frames * s.info.channels));
    s.ok = sf_readf_float(f, s.samples.data(), s.info.frames) == s.info.frames;
    sf_close(f);
    return s;
}

static float peak(const std::vector<float> &v)
{
    float p = 0;
    for (float x : v)
        p = std::max(p, std::fabs(x));
    return p;
}

static double db(double x) { return 20 * std::log10(std::max(x, 1e-12)); }

// Average frequency of a stretch of sound, from its rate of zero crossings.
static double crossing_freq(const std::vector<float> &v, int rate)
{
    int crossings = 0;
    for (size_t i = 1; i < v.size(); i++)
        if ((v[i - 1] < 0) != (v[i] < 0))
            crossings++;
    return crossings * 0.5 * rate / std::max<size_t>(v.size(), 1);
}

// One playlist entry: the #EXTINF seconds and title, and the file it names.
struct Entry {
    long seconds;
    std::string title, file;
};

// Reads an extended M3U playlist; fails the test on any line out of form.
static std::vector<Entry> read_playlist(const std::string &path)
{
    std::ifstream in(path);
    std::vector<Entry> out;
    std::string line;
    EXPECT_TRUE(std::getline(in, line) && line == "#EXTM3U") << path << " must open with #EXTM3U";
    while (std::getline(in, line)) {
        if (line.empty())
            continue;
        Entry e;
        EXPECT_EQ(line.rfind("#EXTINF:", 0), 0u) << "expected #EXTINF, got: " << line;
        size_t comma = line.find(',');
        EXPECT_NE(comma, std::string::npos) << line;
        if (comma == std::string::npos)
            break;
        e.seconds = std::stol(line.substr(8, comma - 8));
        e.title = line.substr(comma + 1);
        EXPECT_TRUE(std::getline(in, e.file)) << "an #EXTINF without its file";
        out.push_back(e);
    }
    return out;
}

// ---------------------------------------------------------------- effects

TEST(EffectFiles, EveryEffectIsMono16BitPcmWavAtAFullOrHalfRateAndNeverClicksOrClips)
{
    int effects = 0;
    for (const auto &entry : std::filesystem::directory_iterator(GAME + "/sounds/effects")) {
        std::string name = entry.path().filename().string();
        effects++;
        Sound s = decode(entry.path().string());
        ASSERT_TRUE(s.ok) << name << " cannot be read";
        EXPECT_EQ(s.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16) << name;
        EXPECT_EQ(s.info.channels, 1) << name;
        EXPECT_TRUE(s.info.samplerate == 44100 || s.info.samplerate == 22050) << name;
        EXPECT_GT(s.seconds(), 0.02) << name;
        EXPECT_LT(s.seconds(), 3.0) << name;
        double p = db(peak(s.samples));
        EXPECT_LE(p, -2.9) << name << " is too loud";
        EXPECT_GE(p, -14.0) << name << " is too quiet";
        // A crisp attack is fine, a jump from silence to full level is not.
        sf_count_t n = s.info.frames, edge = s.info.samplerate / 4000;   // a quarter millisecond
        EXPECT_LT(db(peak(s.mono(0, edge))), -24) << name << " starts with a jump";
        EXPECT_LT(db(peak(s.mono(n - 10 * edge, n))), -30) << name << " stops with a jump";
    }
    EXPECT_GT(effects, 0);
}

// ---------------------------------------------------------------- songs and playlist

// Every song is listed once, with a title of its own and the length it decodes to.
TEST(SongFiles, EverySongIsListedStereoVorbisOfOneToThreeMinutesThatNeverClipsAndFades)
{
    std::string dir = GAME + "/sounds/songs";
    std::vector<Entry> list = read_playlist(dir + "/corvale.m3u");
    ASSERT_GE(list.size(), 3u);
    std::vector<std::string> titles;
    for (const Entry &e : list) {
        Sound s = decode(dir + "/" + e.file);
        ASSERT_TRUE(s.ok) << e.file << " is listed but does not decode";
        EXPECT_EQ(s.info.format, SF_FORMAT_OGG | SF_FORMAT_VORBIS) << e.file;
        EXPECT_EQ(s.info.channels, 2) << e.file;
        EXPECT_EQ(s.info.samplerate, 44100) << e.file;
        EXPECT_GE(s.seconds(), 60.0) << e.file;
        EXPECT_LE(s.seconds(), 180.0) << e.file;
        EXPECT_LE(std::fabs(e.seconds - s.seconds()), 0.5) << e.file << ": #EXTINF " << e.seconds;
        EXPECT_LT(peak(s.samples), 0.999f) << e.file << " clips";
        // A clean loop: the song starts from silence and its tail has died away.
        sf_count_t n = s.info.frames;
        EXPECT_LT(db(peak(s.mono(0, 20))), -30) << e.file;
        EXPECT_LT(db(peak(s.mono(n - 441, n))), -45) << e.file;
        EXPECT_FALSE(e.title.empty()) << e.file;
        titles.push_back(e.title);
    }
    std::sort(titles.begin(), titles.end());
    EXPECT_EQ(std::adjacent_find(titles.begin(), titles.end()), titles.end()) << "titles repeat";
    size_t songs = 0;
    for (const auto &f : fs::directory_iterator(dir))
        songs += f.path().extension() == ".ogg";
    EXPECT_EQ(songs, list.size()) << "every song in the folder belongs in the playlist";
}

// ---------------------------------------------------------------- the generator

// Every file under dir/sounds, by path relative to dir.
static std::map<std::string, std::string> sound_files(const std::string &dir)
{
    std::map<std::string, std::string> files;
    for (const auto &f : fs::recursive_directory_iterator(dir + "/sounds")) {
        if (f.is_regular_file())
            files[fs::relative(f.path(), dir).string()] = file_bytes(f.path().string());
    }
    return files;
}

TEST(SoundGenerator, RunningAgainGivesTheSameBytes)
{
    scratch_dir tmp;
    std::string out = tmp.path(), log;
    ASSERT_EQ(run_command(GENERATOR + " " + SCORES + " " + out, &log), 0) << log;
    std::map<std::string, std::string> fresh = sound_files(out), built = sound_files(GAME);
    EXPECT_GE(fresh.size(), 12u + 3u + 1u);
    for (const auto &f : fresh) {
        auto b = built.find(f.first);
        ASSERT_NE(b, built.end()) << f.first << " is missing from the game folder";
        EXPECT_TRUE(b->second == f.second) << f.first << " differs between two runs";
    }
    for (const auto &b : built)
        EXPECT_TRUE(fresh.count(b.first)) << b.first << " in the game folder was not generated";
}

// Writes a one-song score folder in dir: playlist naming "test" and test.song holding score.
static std::string score_folder(const std::string &dir, const std::string &score)
{
    fs::create_directories(dir + "/scores");
    std::ofstream(dir + "/scores/playlist") << "test\n";
    std::ofstream(dir + "/scores/test.song") << score;
    return dir + "/scores";
}

TEST(SoundGenerator, SongLastsItsBarsPlusTailAtThePitchesWritten)
{
    // Two bars of a held A4 at 120 beats a minute (4 s), then the same an octave up,
    // then one second of tail.
    scratch_dir tmp;
    std::string out = tmp.path(), log;
    std::string scores = score_folder(out, "title Test Tone\ntempo 120\ntail 1\n"
                                           "instrument flute sine gain=0.5 sustain=1\n"
                                           "pattern tone 2\n  flute A4 | -\n"
                                           "song tone tone+12\n");
    ASSERT_EQ(run_command(GENERATOR + " " + scores + " " + out, &log), 0) << log;
    Sound s = decode(out + "/sounds/songs/test.ogg");
    ASSERT_TRUE(s.ok) << log;
    EXPECT_NEAR(s.seconds(), 9.0, 0.001);
    EXPECT_NEAR(crossing_freq(s.mono(44100, 3 * 44100), 44100), 440.0, 440 * 0.01);
    EXPECT_NEAR(crossing_freq(s.mono(5 * 44100, 7 * 44100), 44100), 880.0, 880 * 0.01);
    std::vector<Entry> list = read_playlist(out + "/sounds/songs/corvale.m3u");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].seconds, 9);
    EXPECT_EQ(list[0].title, "Test Tone");
    EXPECT_EQ(list[0].file, "test.ogg");
}

TEST(SoundGenerator, FaultyScoresAreRefusedNamingTheLineAndWriteNothing)
{
    const std::string head = "title Bad\ntempo 120\ninstrument lead saw\ninstrument kick kick\n";
    struct Fault {
        std::string score;
        int line;
        const char *says;
    };
    const Fault faults[] = {
        {head + "pattern a 1\n  lead H4 . . .\nsong a\n", 6, "not a note"},
        {head + "pattern a 1\n  lead C4 . .\nsong a\n", 6, "divides"},
        {head + "pattern a 1\n  kick x - x x\nsong a\n", 6, "no held notes"},
        {head + "pattern a 2\n  lead C4 | D4 | E4\nsong a\n", 6, "more bars"},
        {head + "pattern a 1\n  lead [Cxyz]\nsong a\n", 6, "unknown chord"},
        {head + "pattern a 1\n  lead C4\nsong a b\n", 7, "unknown pattern"},
        {head + "pattern a 1\n  lead C4\nsong a+40\n", 7, "transposition"},
        {head + "pattern a 1\n  drums x x x x\nsong a\n", 6, "not an instrument"},
        {"tempo 500\n", 1, "tempo"},
        {"instrument lead saw gain=loud\n", 1, "not a number"},
        {"instrument lead banjo\n", 1, "unknown instrument kind"},
        {head + "pattern a 64\n  lead C4\nsong a*64\n", 7, "longer than"},
        {head, 4, "no song line"},
    };
    for (const Fault &f : faults) {
        scratch_dir tmp;
        std::string out = tmp.path(), scores = score_folder(out, f.score), log;
        EXPECT_EQ(run_command(GENERATOR + " " + scores + " " + out, &log), 1) << f.score;
        std::string where = "test.song:" + std::to_string(f.line) + ":";
        EXPECT_NE(log.find(where), std::string::npos) << "expected " << where << " in: " << log;
        EXPECT_NE(log.find(f.says), std::string::npos) << "expected " << f.says << " in: " << log;
        EXPECT_FALSE(fs::exists(out + "/sounds")) << "a refused score must leave no files";
    }
}
