// SPDX-License-Identifier: GPL-3.0-or-later
// Holds flips to a frame period measured from the previous paced flip.
#pragma once
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>

namespace rt::screen {

// How early to wake before a deadline so that the rest of the wait is short:
// learnt from how late this process's timed sleeps actually end. The margin
// is a high percentile of the recent lateness plus a small allowance, kept
// between a floor and a ceiling, so a quiet machine spins for tens of
// microseconds and a busy one wakes earlier only while wake-ups come late.
class WakeMargin {
  public:
    using Duration = std::chrono::nanoseconds;

    static constexpr Duration kFloor{std::chrono::microseconds(20)};
    // On a machine so busy that wake-ups come later than this, a longer spin
    // would mostly take processor time from the processes that delay it.
    static constexpr Duration kCeiling{std::chrono::microseconds(1000)};
    // Until the first samples arrive the margin is cautious.
    static constexpr Duration kStart = kCeiling;
    static constexpr Duration kAllowance{std::chrono::microseconds(20)};
    static constexpr size_t kSamples = 128;
    // The margin covers the recent samples but this many of the latest
    // wake-ups (about the 95th percentile): a late wake-up beyond the margin
    // still makes its frame late by less than a millisecond unless it is very
    // late, while a margin held up by rare stray delays is spent awake.
    static constexpr size_t kOutliers = 6;

    Duration margin() const { return margin_; }
    // Samples that the margin is taken from now.
    size_t samples() const { return count_; }
    // Records how late a sleep ended (negative when early) and updates the margin.
    void observe(Duration lateness);

  private:
    std::array<int64_t, kSamples> samples_{};
    size_t count_ = 0;
    size_t next_ = 0;
    Duration margin_ = kStart;
};

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

    const WakeMargin& wake_margin() const { return margin_; }
    // Waits so far and the time spent awake waiting in them (the final spin).
    int64_t waits() const { return waits_; }
    std::chrono::nanoseconds spun() const { return spun_; }

  private:
    int32_t rate_ = 0;
    std::chrono::nanoseconds period_{0};
    Clock::time_point last_{};
    bool has_last_ = false;
    WakeMargin margin_;
    int64_t waits_ = 0;
    std::chrono::nanoseconds spun_{0};
};

// Sleeps until `margin` before the deadline, telling `margin` how late the
// sleep ended, then waits the rest awake. Answers the time spent awake.
std::chrono::nanoseconds wait_until(FramePacer::Clock::time_point deadline, WakeMargin& margin);

}  // namespace rt::screen
