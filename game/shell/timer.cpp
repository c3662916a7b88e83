// The high-resolution frame timer and the frame lock that holds frames to the
// target rate. Platform file: reads SDL's performance counter.

#include <SDL.h>

#include <chrono>
#include <thread>

#include "shell.h"

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
    return 1;
}

// Waits until the frame that began at m_startTime has lasted 1/targetfps s and
// returns the rate of that frame. Sleeps through most of the wait and spins only
// for the last stretch, so the game does not burn a whole core; without a
// counter there is nothing to wait on and the lock is skipped.
float LockFPS(int targetfps)
{
    if (targetfps == 0)
        targetfps = 1;
    if (m_ticksPerSecond <= 0)
        return (float)targetfps;
    s_lastTime = m_startTime;
    const double period = 1.0 / targetfps;
    const double spin_window = 0.0015;  // seconds left to the spin, covering sleep overshoot
    float rate;
    for (;;) {
        int64_t elapsed = read_counter() - s_lastTime;
        rate = elapsed > 0 ? (float)((double)m_ticksPerSecond / (double)elapsed) : 1e9f;
        if (rate <= (float)targetfps)
            break;
        double left = period - (double)elapsed / (double)m_ticksPerSecond;
        if (left > spin_window)
            std::this_thread::sleep_for(std::chrono::duration<double>(left - spin_window));
    }
    s_lastTime = m_startTime;
    return rate;
}
