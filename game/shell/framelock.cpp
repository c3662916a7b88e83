// The frame lock's arithmetic: deadlines one period apart, resynchronised after
// a stall, and the rate the frames actually achieved. Pure counter arithmetic,
// so the lock can be run against any clock.

#include "shell.h"

static int64_t last_start;  // counter value at which the previous frame began, 0 = none yet

int64_t frame_deadline(int64_t now, int64_t period)
{
    int64_t deadline = s_lastTime + period;
    // The first frame, or a stall longer than one period (a window drag, a
    // debugger): start again from now instead of rushing frames to catch up.
    if (s_lastTime == 0 || now - deadline > period)
        deadline = now;
    s_lastTime = deadline;
    return deadline;
}

float frame_started(int64_t start)
{
    int64_t prev = last_start;
    last_start = start;
    if (prev == 0 || start <= prev || m_ticksPerSecond <= 0)
        return (float)targetFPS;
    return (float)((double)m_ticksPerSecond / (double)(start - prev));
}

void frame_lock_reset()
{
    s_lastTime = 0;
    last_start = 0;
}
