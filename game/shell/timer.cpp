// The high-resolution frame timer and the frame lock that holds frames to the
// target rate. Platform file: reads SDL's performance counter.

#include <SDL.h>

#include <chrono>
#include <thread>

#include "shell.h"

// Time left to the final spin, covering how late a sleep may wake, in seconds.
static const double SPIN_WINDOW = 0.0001;

int64_t read_counter()
{
    return (int64_t)SDL_GetPerformanceCounter();
}

int timer_init()
{
    m_ticksPerSecond = (int64_t)SDL_GetPerformanceFrequency();
    if (m_ticksPerSecond <= 0) {
        m_ticksPerSecond = 0;
        return 0;
    }
    m_startTime = read_counter();
    frame_lock_reset();
    return 1;
}

// Sleeps until the counter reaches deadline: the bulk in the kernel, the last
// fraction of a millisecond spinning on the counter.
static void wait_until(int64_t deadline)
{
    for (;;) {
        int64_t now = read_counter();
        if (now >= deadline)
            return;
        double left = (double)(deadline - now) / (double)m_ticksPerSecond;
        if (left > SPIN_WINDOW)
            std::this_thread::sleep_for(std::chrono::duration<double>(left - SPIN_WINDOW));
    }
}

// Waits for this frame's deadline, one period after the previous frame's,
// and returns the rate the frames are achieving. A frame that is already late
// starts at once; without a counter there is nothing to wait on.
float LockFPS(int targetfps)
{
    if (targetfps == 0)
        targetfps = 1;
    if (m_ticksPerSecond <= 0)
        return (float)targetfps;
    int64_t now = read_counter();
    int64_t deadline = frame_deadline(now, m_ticksPerSecond / targetfps);
    wait_until(deadline);
    // An on-time frame counts as starting at its deadline, so the rate reads
    // the steady period rather than the wake-up jitter of the sleep.
    return frame_started(now > deadline ? now : deadline);
}
