#include "runtime/screen/frame_pacer.h"

namespace rt::screen {

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
        wait_until(last_ + period_);
        now = Clock::now();
    }
    last_ = now;
    has_last_ = true;
}

}  // namespace rt::screen
