// The sound effects over the real sound library, loaded from the built game
// folder, with OpenAL Soft writing what it plays to a wave file read back.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "audio/audio.h"
#include "shell/shell.h"
#include "wave_output.h"

namespace {

wave_output scratch;

// Loudness of each output channel over the whole wave file.
struct Loudness { double left = 0, right = 0; };

Loudness read_output()
{
    Loudness l;
    std::vector<float> data = scratch.stereo();
    for (size_t i = 0; i + 1 < data.size(); i += 2) {
        l.left += data[i] * data[i];
        l.right += data[i + 1] * data[i + 1];
    }
    return l;
}

class Effects : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(chdir(CORVALE_GAME_DIR), 0);
        evolume = 0.8f;
        volume = 1.0f;
        snprintf(plist, sizeof plist, "%s/no-music.m3u", scratch.dir.c_str());
        ASSERT_EQ(init_sound(), 1);
        load_effects();
    }
    void TearDown() override { if (system_fmod) shutdown_sound(); }
    static bool plays(FMOD_CHANNEL *c)
    {
        FMOD_BOOL p = 0;
        return FMOD_Channel_IsPlaying(c, &p) == FMOD_OK && p;
    }
    // Lets the output run, then closes the system and reads what it wrote.
    static Loudness heard(int ms)
    {
        for (int t = 0; t < ms; t += 16) {
            FMOD_System_Update(system_fmod);
            std::this_thread::sleep_for(std::chrono::milliseconds(16));
        }
        shutdown_sound();
        return read_output();
    }
};

TEST_F(Effects, EveryEffectOfTheGameFolderLoadsAndMissingOnesAreSilent)
{
    const FMOD_SOUND *loaded[] = {level_end, blip, prize, hit, boom, glass, ping, good, bad, phit, pbounce, click};
    for (size_t k = 0; k < sizeof loaded / sizeof loaded[0]; k++)
        EXPECT_NE(loaded[k], nullptr) << "effect " << k;
    ASSERT_EQ(chdir(scratch.dir.c_str()), 0);
    load_effects();
    EXPECT_EQ(blip, nullptr);
    seffects = nullptr;
    play_bounce(3.0f, 0.0f);
    play_click();
    EXPECT_EQ(seffects, nullptr);
}

// The newest effect takes over seffects while the older plays on.
TEST_F(Effects, NewestEffectTakesOverAtVolumeZeroNoneIsHeardAndWallBouncesSoundFromTheirSide)
{
    evolume = 0.0f;
    play_bounce(1.0f, 0.0f);
    FMOD_CHANNEL *first = seffects;
    play_hit(2.0f, 0.0f);
    EXPECT_NE(seffects, first);
    EXPECT_TRUE(plays(first)) << "the older effect plays on, on its own channel";
    play_boom(3.0f, 0.0f);
    EXPECT_TRUE(plays(seffects));
    play_click();
    Loudness l = heard(400);
    EXPECT_LT(l.left + l.right, 1e-6);
    SetUp();
    play_bounce(0.5f, 0.0f);
    l = heard(400);
    EXPECT_GT(l.left, 1.0) << "effects at volume are heard";
    EXPECT_GT(l.left, 2 * l.right);
    SetUp();
    play_bounce(5.5f, 0.0f);
    l = heard(400);
    EXPECT_GT(l.right, 2 * l.left);
}

}  // namespace
