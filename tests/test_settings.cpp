// The settings file: where it lives, how the game reads it (defaults, short
// and damaged files) and how the writer replaces it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <string>
#include <sys/stat.h>

#include "player_folder.h"
#include "settings.h"
#include "shell/shell.h"

namespace {

class SettingsFile : public ::testing::Test {
protected:
    scratch_dir tmp;
    const std::string folder = tmp.path() + "/config/nested";

    void SetUp() override
    {
        setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
        // The game's globals as they are before open_ini runs.
        fullscreen = 1;
        screenx = 640;
        screeny = 480;
        bit = 0;
        volume = evolume = -1.0f;
        memset(plist, 'x', sizeof plist);
    }
    std::string path() const { return folder + "/corvale.set"; }
    void write_bytes(const void *data, size_t n)
    {
        settings_path();  // creates the folder
        std::ofstream(path(), std::ios::binary).write((const char *)data, (std::streamsize)n);
    }
};


// What the game takes from a missing, empty, short or out-of-range file. A
// resolution outside the table keeps the size the game had (640 x 480 here).
TEST_F(SettingsFile, MissingShortAndOddFilesGiveTheirSettings)
{
    const int32_t head[3] = {3, 1, 1};  // 1024 x 768, windowed, particles off
    bset far = {}, below = {}, huge = {};
    far.resolution = 11, below.resolution = -1, huge.resolution = 1000000;
    const struct {
        const char *what;
        const void *bytes;
        size_t size;
        int x, y, full, particles, depth;
        float music, effects;
        const char *playlist;
    } cases[] = {
        {"missing", nullptr, 0, 800, 600, 1, 1, 32, 1.0f, 0.8f, "sounds/songs/corvale.m3u"},
        {"empty", "", 0, 320, 240, 1, 1, 32, 0.0f, 0.0f, ""},
        {"short", head, sizeof head, 1024, 768, 0, 0, 32, 0.0f, 0.0f, ""},
        {"resolution past the table", &far, sizeof far, 640, 480, 1, 1, 32, 0.0f, 0.0f, ""},
        {"negative resolution", &below, sizeof below, 640, 480, 1, 1, 32, 0.0f, 0.0f, ""},
        {"huge resolution", &huge, sizeof huge, 640, 480, 1, 1, 32, 0.0f, 0.0f, ""},
    };
    for (const auto &c : cases) {
        SetUp();
        if (c.bytes)
            write_bytes(c.bytes, c.size);
        open_ini();
        EXPECT_EQ(screenx, c.x) << c.what;
        EXPECT_EQ(screeny, c.y) << c.what;
        EXPECT_EQ(fullscreen, c.full) << c.what;
        EXPECT_EQ(psystem, c.particles) << c.what;
        EXPECT_EQ(bit, c.depth) << c.what;
        EXPECT_FLOAT_EQ(volume, c.music) << c.what;
        EXPECT_FLOAT_EQ(evolume, c.effects) << c.what;
        EXPECT_STREQ(plist, c.playlist) << c.what;
    }
    EXPECT_EQ(background, 1);
    EXPECT_FLOAT_EQ(msensitivity, 8.0f);
}

// The playlist path is taken as written (a '%' is no format), and one
// without its terminator is cut at the end of the field.
TEST_F(SettingsFile, APlaylistIsKeptAsWrittenAndAVolumeThatIsNoVolumeIsTakenAsTheDefault)
{
    bset s = {};
    strcpy(s.playlist, "music/100%s %d.m3u");
    write_bytes(&s, sizeof s);
    open_ini();
    EXPECT_STREQ(plist, "music/100%s %d.m3u");
    memset(s.playlist, 'a', sizeof s.playlist);
    write_bytes(&s, sizeof s);
    open_ini();
    EXPECT_EQ(strlen(plist), sizeof plist - 1);
    // A volume that is no volume is taken as the default.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (float bad : {nan, inf, -inf, -0.01f, 1.01f}) {
        bset s = {};
        s.seffects = bad;
        s.music = bad;
        write_bytes(&s, sizeof s);
        open_ini();
        EXPECT_EQ(evolume, 0.8f) << bad;
        EXPECT_EQ(volume, 1.0f) << bad;
    }
    bset edges = {};
    edges.seffects = 1.0f;
    edges.music = 0.0f;
    write_bytes(&edges, sizeof edges);
    open_ini();
    EXPECT_EQ(evolume, 1.0f);
    EXPECT_EQ(volume, 0.0f);
}

TEST_F(SettingsFile, LivesInTheConfigFolderMadeWhenMissingAndTheWriterRoundTripsTheWholeRecord)
{
    EXPECT_EQ(std::string(settings_path()), path());
    struct stat st;
    EXPECT_EQ(stat(folder.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));

    bset out = {};
    out.resolution = 5;
    out.windowed = 1;
    out.particle = 1;
    out.seffects = 0.85f;
    out.music = 0.3f;
    strcpy(out.playlist, "/home/player/music/list.m3u");
    ASSERT_EQ(write_settings(&out), 1);
    bset in;
    ASSERT_EQ(read_settings(&in), 1);
    EXPECT_EQ(memcmp(&in, &out, sizeof in), 0);
    ASSERT_EQ(stat(path().c_str(), &st), 0);
    EXPECT_EQ(st.st_size, 1048);
    unsetenv("XDG_CONFIG_HOME");
    setenv("HOME", folder.c_str(), 1);
    EXPECT_EQ(std::string(settings_path()), folder + "/.config/corvale.set");
}

}  // namespace
