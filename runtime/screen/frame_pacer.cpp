// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/screen/frame_pacer.h"

#include <algorithm>

namespace rt::screen {

void WakeMargin::observe(Duration lateness) {
    samples_[next_] = lateness.count();
    next_ = (next_ + 1) % kSamples;
    count_ = std::min(count_ + 1, kSamples);
    // A copy keeps the samples in arrival order; 128 values are sorted
    // partially in well under a microsecond.
    std::array<int64_t, kSamples> sorted = samples_;
    const size_t rank = count_ > kOutliers ? count_ - 1 - kOutliers : count_ - 1;
    std::nth_element(sorted.begin(), sorted.begin() + rank, sorted.begin() + count_);
    const Duration high{sorted[rank]};
    margin_ = std::clamp(high + kAllowance, kFloor, kCeiling);
}

void FramePacer::set_rate(int32_t rate) {
    rate_ = rate > 0 ? rate : 0;
    period_ = rate_ > 0 ? std::chrono::nanoseconds(1'000'000'000LL / (int64_t{rate_} + 1))
                        : std::chrono::nanoseconds(0);
    has_last_ = false;
}

void FramePacer::pace() {
    if (rate_ == 0) return;
    auto now = Clock::now();
    if (has_last_ && now - last_ <= period_) {
        spun_ += wait_until(last_ + period_, margin_);
        ++waits_;
        now = Clock::now();
    }
    last_ = now;
    has_last_ = true;
}

}  // namespace rt::screen
