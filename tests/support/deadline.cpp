// The one polling wait the tests share.

#include "deadline.h"

#include <chrono>
#include <thread>

bool poll_until(const std::function<bool()> &done, double timeout_s)
{
    auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout_s);
    for (;;) {
        if (done())
            return true;
        if (std::chrono::steady_clock::now() >= until)
            return false;
        std::this_thread::sleep_for(std::chrono::duration<double>(POLL_INTERVAL_S));
    }
}
