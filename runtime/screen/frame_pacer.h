// Holds flips to a frame period measured from the previous paced flip.
#pragma once
#include <chrono>
#include <cstdint>

namespace rt::screen {

class FramePacer {
public:
    using Clock = std::chrono::steady_clock;

    // Period 1 / (rate + 1) s; rate 0 (or negative) switches pacing off. The
    // next flip after a change does not wait.
    void set_rate(int32_t rate);
    int32_t rate() const { return rate_; }
    std::chrono::nanoseconds period() const { return period_; }

    // Waits until more than one period has passed since the previous paced
    // flip, then makes now the previous paced flip.
    void pace();

private:
    int32_t rate_ = 0;
    std::chrono::nanoseconds period_{0};
    Clock::time_point last_{};
    bool has_last_ = false;
};

// Sleeps until shortly before the deadline, then waits the rest precisely.
void wait_until(FramePacer::Clock::time_point deadline);

}  // namespace rt::screen
