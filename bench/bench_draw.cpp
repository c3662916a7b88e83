// The drawing cost of one frame in the offscreen GL context (Mesa's llvmpipe
// draws on the processor): the title at rest and a play frame, each with the
// kept layers (scene_shortcuts 1) and drawn in full (0). glFinish ends every
// frame, so the rasterising is counted; times are the whole process's.

#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cstring>
#include <unistd.h>

#include "audio/audio.h"
#include "gl_context.h"
#include "graphics/graphics.h"
#include "menus/menus.h"
#include "rules/progress.h"
#include "rules/rules.h"
#include "settings.h"
#include "shell/shell.h"

namespace {

// The game's start-up in a 640 x 480 context, once for every benchmark.
bool started()
{
    static int state = 0;
    if (state == 0) {
        gl_context_open(640, 480);
        state = chdir(CORVALE_GAME_DIR) == 0 && (strcpy(plist, "sounds/songs/corvale.m3u"), volume = evolume = 0,
                                                 init_sound() == 1) && InitGL() == 1 ? 1 : -1;
        m_ticksPerSecond = 0;  // no frame lock: frames as fast as they draw
    }
    return state == 1;
}

// Frames of the title at rest.
void BM_TitleFrame(benchmark::State &st)
{
    if (!started()) {
        st.SkipWithError("the game did not start");
        return;
    }
    screen_set(SCREEN_TITLE);
    title_alpha = 1.0f, bar_alpha = 0.0f;
    scene_shortcuts = (int)st.range(0);
    for (auto _ : st) {
        DrawGLScene();
        glFinish();
    }
    scene_shortcuts = 1;
}
BENCHMARK(BM_TitleFrame)->Arg(0)->Arg(1)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

// Frames of a text-laden screen over the title, drawn in full as when the
// pointer moves over it: the help page (0) and the high scores (1).
void BM_TextScreenFrame(benchmark::State &st)
{
    if (!started()) {
        st.SkipWithError("the game did not start");
        return;
    }
    screen_set(st.range(0) ? SCREEN_SCORES : SCREEN_HELP);
    title_alpha = 1.0f, bar_alpha = 0.0f;
    for (auto _ : st) {
        DrawGLScene();
        glFinish();
    }
    screen_set(SCREEN_TITLE);
}
BENCHMARK(BM_TextScreenFrame)->Arg(0)->Arg(1)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

// Frames of play with the ball on the paddle: board, bars, status bar, score line.
void BM_PlayFrame(benchmark::State &st)
{
    if (!started()) {
        st.SkipWithError("the game did not start");
        return;
    }
    screen_set(SCREEN_PLAY);
    title_alpha = 0.0f, bar_alpha = 1.0f;
    score = 123456, level = 12, level_total = 30;
    pause_song();  // the song clock stands still, as between two of its ticks
    scene_shortcuts = (int)st.range(0);
    for (auto _ : st) {
        DrawGLScene();
        glFinish();
    }
    scene_shortcuts = 1;
}
BENCHMARK(BM_PlayFrame)->Arg(0)->Arg(1)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
