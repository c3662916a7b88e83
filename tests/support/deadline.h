// Waiting on a state: poll it, with a deadline, never a fixed sleep standing in for it.
#pragma once

#include <chrono>
#include <functional>

// How often a poll looks again, in seconds.
const double POLL_INTERVAL_S = 0.02;

// Polls done() until it holds or timeout_s passes; whether it held.
bool poll_until(const std::function<bool()> &done, double timeout_s);

// The moment timeout_s from now, on the clock the waits read.
typedef std::chrono::steady_clock deadline_clock;
deadline_clock::time_point deadline_after(double timeout_s);
