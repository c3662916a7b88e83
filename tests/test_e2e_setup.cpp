// End to end: the real setup program under Xvfb, driven by real key presses.
// Keeps a picture of the dialog in the build folder.

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "gl_view.h"   // screenshot_path
#include "player_folder.h"
#include "setup_run.h"
#include "wave_output.h"

namespace {

// Starts the program and gives its dialog the keyboard.
void open_dialog(setup_run &run, const bset *settings, const std::string &alsoft_conf = "")
{
    ASSERT_TRUE(run.start(settings, alsoft_conf)) << run.error();
    unsigned long id = run.window();
    ASSERT_NE(id, 0u) << "no dialog; exit code " << run.wait_exit(0);
    ASSERT_TRUE(run.focus(id));
    ASSERT_TRUE(run.wait_still(id));
}

TEST(SetupProgram, KeyboardChoiceAndEnterStartTheGameAtThatSize)
{
    setup_run run;
    ASSERT_NO_FATAL_FAILURE(open_dialog(run, nullptr));
    ASSERT_TRUE(run.key("Down"));   // the drop-down has the focus: 800x600 -> 1024x768
    ASSERT_TRUE(run.key("Tab"));    // "Windowed mode"
    ASSERT_TRUE(run.key("space"));
    ASSERT_TRUE(run.key("Return"));
    EXPECT_EQ(run.wait_exit(30), 1);

    std::string bytes;
    ASSERT_TRUE(run.settings_file(&bytes));
    bset expected = setup_default_record();
    expected.resolution = 3;
    expected.windowed = 1;
    EXPECT_EQ(bytes, bytes_of(expected));

    unsigned long game = run.find_window("Corvale by Halvard Software", 60, "corvale");
    ASSERT_NE(game, 0u) << "the game did not open its window";
    pid_t pid = run.window_pid(game);
    int w = 0, h = 0;
    EXPECT_TRUE(run.window_size(game, &w, &h));
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 768);
    // The game was started from the scratch game folder, not from ours.
    std::error_code gone;
    EXPECT_EQ(std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", gone).string(),
              run.game_dir() + "/corvale");

    ASSERT_TRUE(run.close_window(game));
    poll_until([&] { return pid <= 0 || kill(pid, 0) != 0; }, 30);
    if (pid > 0 && kill(pid, 0) == 0)
        kill(pid, SIGKILL);
}

// Tabs from the drop-down to the "..." button (windowed, particles, 16-bit,
// both sliders, the playlist box, then the button), presses it, and types a
// name into the chooser's location box once the chooser has shown its folder.
void open_chooser(setup_run &run, const std::string &name, unsigned long *chooser)
{
    for (int i = 0; i < 7; i++)
        ASSERT_TRUE(run.key("Tab"));
    ASSERT_TRUE(run.key("space"));
    *chooser = run.find_window("Open", 30);
    ASSERT_NE(*chooser, 0u) << "no file chooser";
    ASSERT_TRUE(run.focus(*chooser));
    ASSERT_TRUE(run.wait_still(*chooser));
    ASSERT_TRUE(run.key("ctrl+l"));
    ASSERT_TRUE(run.type(name));
    ASSERT_TRUE(run.wait_still(*chooser));
}

// Three starts of the dialog: the close box after a change writes nothing;
// a cancelled playlist chooser and then Escape write the values shown, as
// they were; without a file, a chosen playlist and Escape write the defaults
// with the playlist as a full path. The first start keeps a picture.
TEST(SetupProgram, CloseBoxCancelledChooserAndChosenPlaylist)
{
    {
        setup_run run;
        ASSERT_NO_FATAL_FAILURE(open_dialog(run, nullptr));
        EXPECT_TRUE(run.snapshot(run.window(), screenshot_path("setup_dialog.png")));
        int w = 0, h = 0;
        ASSERT_TRUE(run.window_size(run.window(), &w, &h));
        EXPECT_LE(w, 800);
        EXPECT_LE(h, 560) << "the dialog and its title bar must fit an 800 x 600 screen";
        EXPECT_EQ(run.x_output("xprop -id " + std::to_string(run.window()) + " _NET_WM_ICON")
                      .rfind("_NET_WM_ICON(CARDINAL)", 0), 0u) << "the dialog has no icon";
        ASSERT_TRUE(run.key("Down"));
        ASSERT_TRUE(run.close_window(run.window()));
        EXPECT_EQ(run.wait_exit(30), 0);
        std::string bytes;
        EXPECT_FALSE(run.settings_file(&bytes)) << "the close box wrote a settings file";
    }
    {
        bset start = setup_default_record();
        strcpy(start.playlist, "/home/player/Music/mine.m3u");
        setup_run run;
        ASSERT_NO_FATAL_FAILURE(open_dialog(run, &start));
        unsigned long chooser = 0;
        open_chooser(run, "sounds/songs/corvale.m3u", &chooser);
        ASSERT_TRUE(run.key("alt+c"));    // the chooser's "Cancel" button
        ASSERT_TRUE(run.wait_gone(chooser));
        ASSERT_TRUE(run.focus(run.window()));
        ASSERT_TRUE(run.key("Escape"));   // the dialog's Save and Exit
        EXPECT_EQ(run.wait_exit(30), 0);
        std::string bytes;
        ASSERT_TRUE(run.settings_file(&bytes));
        EXPECT_EQ(bytes, bytes_of(start));
    }
    {
        setup_run run;
        ASSERT_NO_FATAL_FAILURE(open_dialog(run, nullptr));
        // The chooser starts in the program's folder, so a relative name finds the file.
        unsigned long chooser = 0;
        open_chooser(run, "sounds/songs/corvale.m3u", &chooser);
        ASSERT_TRUE(run.key("Return"));
        ASSERT_TRUE(run.wait_gone(chooser));
        ASSERT_TRUE(run.focus(run.window()));
        ASSERT_TRUE(run.key("Escape"));
        EXPECT_EQ(run.wait_exit(30), 0);
        std::string bytes;
        ASSERT_TRUE(run.settings_file(&bytes));
        bset expected = setup_default_record();
        snprintf(expected.playlist, sizeof expected.playlist, "%s/sounds/songs/corvale.m3u",
                 run.game_dir().c_str());
        EXPECT_EQ(bytes, bytes_of(expected));
    }
}

// What OpenAL Soft has written so far to a wave file of 32-bit float stereo
// frames: the samples after the "data" tag (the header's sizes are filled in
// only when the device closes).
std::vector<float> heard(const std::string &wave)
{
    std::string bytes = file_bytes(wave);
    size_t data = bytes.find("data");
    std::vector<float> samples;
    if (data == std::string::npos || data + 8 > bytes.size())
        return samples;
    size_t count = (bytes.size() - data - 8) / sizeof(float);
    samples.resize(count);
    memcpy(samples.data(), bytes.data() + data + 8, count * sizeof(float));
    return samples;
}

// The loudest sample of each stretch of sound; stretches are apart by at least
// a fifth of a second of silence (at 44100 frames per second, two channels).
const size_t GAP = 44100 / 5 * 2;
std::vector<float> bursts(const std::vector<float> &samples) { return burst_peaks(samples, GAP, 0.002f); }

// Waits (up to a minute) until n stretches of sound have been heard and have ended.
bool wait_bursts(const std::string &wave, size_t n)
{
    return poll_until([&] {
        std::vector<float> samples = heard(wave);
        bool ended = samples.size() > GAP && bursts(std::vector<float>(samples.end() - GAP, samples.end())).empty();
        return ended && bursts(samples).size() >= n;
    }, 60);
}

// The two sliders' thumbs: each slider's filled trough is a column of the
// theme's blue, from the thumb down; the thumb sits on its top end.
bool find_thumbs(setup_run &run, int *effects_x, int *music_x, int *effects_y, int *music_y)
{
    int w = 0, h = 0;
    if (!run.window_size(run.window(), &w, &h))
        return false;
    std::vector<unsigned char> rgb = run.pixels(run.window());
    if (rgb.size() != (size_t)w * h * 3)
        return false;
    auto blue = [&](int x, int y) {
        const unsigned char *p = &rgb[((size_t)y * w + x) * 3];
        return p[0] < 100 && p[1] > 100 && p[1] < 170 && p[2] > 200;
    };
    // Columns with a long blue run, left half and right half.
    int found[2] = {-1, -1}, top[2] = {0, 0};
    for (int x = 0; x < w; x++) {
        int run_len = 0, first = -1;
        for (int y = 0; y < h; y++) {
            if (blue(x, y)) {
                if (run_len == 0)
                    first = y;
                if (++run_len > 40)
                    break;
            } else {
                run_len = 0;
            }
        }
        int half = x < w / 2 ? 0 : 1;
        if (run_len > 40 && found[half] < 0) {
            found[half] = x + 1;  // a column inside the stripe
            top[half] = first;
        }
    }
    if (found[0] < 0 || found[1] < 0)
        return false;
    *effects_x = found[0];
    *music_x = found[1];
    *effects_y = top[0] - 7;
    *music_y = top[1] - 7;
    return true;
}

TEST(SetupProgram, DraggedSliderPreviewsItsVolumeAndKeysPlayNothing)
{
    wave_output sound;
    const std::string &wave = sound.wave;
    bset start = setup_default_record();
    setup_run run;
    ASSERT_NO_FATAL_FAILURE(open_dialog(run, &start, sound.dir + "/alsoft.conf"));
    unsigned long id = run.window();

    // Keyboard moves of the music slider, then a click on the effects slider's
    // trough below its thumb: values change, nothing is heard.
    for (int i = 0; i < 5; i++)
        ASSERT_TRUE(run.key("Tab"));
    ASSERT_TRUE(run.key("Page_Down"));
    ASSERT_TRUE(run.key("Down"));
    int ex, mx, ey, my;
    ASSERT_TRUE(find_thumbs(run, &ex, &mx, &ey, &my)) << "sliders not found";
    ASSERT_TRUE(run.click(id, ex, ey + 30));
    ASSERT_TRUE(run.wait_still(id));

    // Two drags, one on each slider, each heard once its thumb is let go.
    ASSERT_TRUE(find_thumbs(run, &ex, &mx, &ey, &my));
    ASSERT_TRUE(run.drag(id, ex, ey, 20));
    ASSERT_TRUE(wait_bursts(wave, 1)) << "no preview after dragging the effects slider";
    ASSERT_TRUE(run.drag(id, mx, my, 45));
    ASSERT_TRUE(wait_bursts(wave, 2)) << "no preview after dragging the music slider";

    ASSERT_TRUE(run.key("Escape"));
    ASSERT_EQ(run.wait_exit(30), 0);
    std::string bytes;
    ASSERT_TRUE(run.settings_file(&bytes));
    bset saved;
    ASSERT_EQ(bytes.size(), sizeof saved);
    memcpy(&saved, bytes.data(), sizeof saved);

    std::vector<float> peaks = bursts(heard(wave));
    ASSERT_EQ(peaks.size(), 2u) << "only the two drags may be heard";
    ASSERT_GT(saved.seffects, 0.05f);
    ASSERT_GT(saved.music, 0.05f);
    EXPECT_LT(saved.seffects, 0.85f) << "the effects drag did not move the slider";
    // Both previews play the same sound, so their loudness is in the ratio of the volumes.
    EXPECT_NEAR(peaks[1] / peaks[0], saved.music / saved.seffects,
                0.05 * saved.music / saved.seffects);
}

}  // namespace
