// Shared ground of the fuzz targets.

#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "audio/audio.h"
#include "gl_context.h"
#include "graphics/graphics.h"
#include "menus/menus.h"
#include "physics/ball.h"
#include "physics/physics.h"
#include "rules/progress.h"
#include "rules/rules.h"
#include "shell/shell.h"
#include "shell/winmsg.h"

namespace fs = std::filesystem;

void fuzz_game_folder()
{
    static bool made;
    if (made)
        return;
    made = true;
    char tmpl[] = "/tmp/corvale-fuzz-XXXXXX";
    if (!mkdtemp(tmpl)) {
        perror("mkdtemp");
        exit(1);
    }
    fs::path scratch = tmpl, game = CORVALE_GAME_DIR;
    for (const fs::directory_entry &e : fs::directory_iterator(game)) {
        std::string name = e.path().filename();
        if (name == "level_sets" || name == "user_data")
            fs::copy(e.path(), scratch / name, fs::copy_options::recursive);
        else
            fs::create_symlink(e.path(), scratch / name);
    }
    fs::create_directories(scratch / "user_data");
    fs::create_directories(scratch / "config");
    fs::create_directories(scratch / "player");
    fs::current_path(scratch);
    setenv("XDG_CONFIG_HOME", (scratch / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (scratch / "player").c_str(), 1);
    setenv("ALSOFT_DRIVERS", "null", 1);
    fprintf(stderr, "fuzz: scratch game folder %s\n", tmpl);
}

void fuzz_write(const char *path, const uint8_t *data, size_t size)
{
    FILE *f = fopen(path, "wb");
    if (!f) {
        perror(path);
        exit(1);
    }
    if (size)
        fwrite(data, 1, size, f);
    fclose(f);
}

void fuzz_gl()
{
    gl_context_open(64, 48);
    m_ticksPerSecond = 0;  // no frame lock: frames run as fast as they draw
}

void fuzz_startup()
{
    static bool started;
    if (started)
        return;
    started = true;
    fuzz_game_folder();
    fuzz_gl();
    fullscreen = 1;      // no window to focus or capture
    msensitivity = 8.0f;
    psystem = 1;
    volume = 0.5f;
    evolume = 0.5f;
    snprintf(plist, sizeof plist, "%s", "sounds/songs/corvale.m3u");
    if (!init_sound() || !InitGL()) {
        fprintf(stderr, "fuzz: the game did not start\n");
        exit(1);
    }
    m_ticksPerSecond = 0;
}

// A left-button release in the middle of the field: launches a waiting ball.
static void launch_click()
{
    WndProc(nullptr, WM_LBUTTONUP, 0, (LPARAM)((24 << 16) | 32));
}

// Puts the mouse where the paddle's middle comes under the lowest ball.
static void follow_lowest_ball()
{
    int low = 0;
    for (int n = 1; n <= 16; n++)
        if (balls[n] == 1 && (low == 0 || ypos[n] < ypos[low]))
            low = n;
    if (low == 0 || msensitivity <= 0)
        return;
    float target = xpos[low] - paddle_size * 0.5f;
    mouseX = (int)((target - 0.5f) * (float)screenx / (0.6f * msensitivity));
}

void fuzz_play(int frames)
{
    screen_set(SCREEN_PLAY);
    game_pause = 0;
    fullscreen = 1;
    msensitivity = 8.0f;
    for (int f = 0; f < frames && !gameover; f++) {
        if (ball_start && !in_flight)
            launch_click();
        follow_lowest_ball();
        DrawGLScene();
    }
}
