// The brick test's cost for one frame of 16 balls over a full board of 400
// bricks: the literal sampling of every cell against the quick rejection.

#include <benchmark/benchmark.h>

#include <random>

#include "physics/ball.h"

namespace {

const int BALLS = 16;

struct ball_step {
    float nx, ny, r;
};

// Sixteen balls spread over the field, among the bricks and below them, at
// their next positions and with the normal test radius.
const ball_step *frame_balls()
{
    static ball_step set[BALLS];
    static bool made = false;
    if (!made) {
        std::mt19937 gen(16);
        std::uniform_real_distribution<float> x(0.54f, 5.46f), y(-1.4f, 1.96f);
        for (ball_step &s : set)
            s = {x(gen), y(gen), 0.04f * 0.95f};
        made = true;
    }
    return set;
}

// One frame's brick tests, cell by cell as the scan walks the board; the
// number of touches, so nothing is optimised away.
template <int (*touch)(float, float, float, float, float)>
int one_frame(const ball_step *set)
{
    int touches = 0;
    for (int n = 0; n < BALLS; n++) {
        float y0 = 2.0f;
        for (int row = 1; row <= 20; row++) {
            float x0 = 0.5f;
            for (int col = 1; col <= 20; col++) {
                touches += touch(set[n].nx, set[n].ny, set[n].r, x0, y0);
                x0 += 0.25f;
            }
            y0 -= 0.12;
        }
    }
    return touches;
}

void BM_BrickTestLiteral(benchmark::State &state)
{
    const ball_step *set = frame_balls();
    for (auto _ : state)
        benchmark::DoNotOptimize(one_frame<sample_touches>(set));
    state.SetLabel("16 balls x 400 bricks, every sample");
}

void BM_BrickTestQuickRejection(benchmark::State &state)
{
    const ball_step *set = frame_balls();
    for (auto _ : state)
        benchmark::DoNotOptimize(one_frame<ball_touches_cell>(set));
    state.SetLabel("16 balls x 400 bricks, unreachable cells refused");
}

} // namespace

BENCHMARK(BM_BrickTestLiteral)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BrickTestQuickRejection)->Unit(benchmark::kMicrosecond);
