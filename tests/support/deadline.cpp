// The one polling wait the tests share.

#include "deadline.h"

#include <chrono>
#include <thread>

bool poll_until(const std::function<bool()> &done, double timeout_s)
{
    auto until = deadline_after(timeout_s);
    for (;;) {
        if (done())
            return true;
        if (deadline_clock::now() >= until)
            return false;
        std::this_thread::sleep_for(std::chrono::duration<double>(POLL_INTERVAL_S));
    }
}

deadline_clock::time_point deadline_after(double timeout_s)
{
    return deadline_clock::now() +
           std::chrono::duration_cast<deadline_clock::duration>(std::chrono::duration<double>(timeout_s));
}
