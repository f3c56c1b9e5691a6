// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/screen/tile_mask.h"

#include <algorithm>

namespace rt::screen {

void TileMask::resize(int32_t width, int32_t height, int32_t tile) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    tile_ = std::max(tile, 1);
    columns_ = (width_ + tile_ - 1) / tile_;
    rows_ = (height_ + tile_ - 1) / tile_;
    words_ = (columns_ + 63) / 64;
    bits_.assign(static_cast<size_t>(rows_) * words_, 0);
}

void TileMask::clear() {
    std::fill(bits_.begin(), bits_.end(), 0);
}

void TileMask::mark_all() {
    mark(0, 0, width_, height_);
}

void TileMask::mark(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
    x0 = std::max<int64_t>(x0, 0);
    y0 = std::max<int64_t>(y0, 0);
    x1 = std::min<int64_t>(x1, width_);
    y1 = std::min<int64_t>(y1, height_);
    if (x0 >= x1 || y0 >= y1) return;
    const auto first_column = static_cast<int32_t>(x0 / tile_);
    const auto last_column = static_cast<int32_t>((x1 - 1) / tile_);
    const auto first_row = static_cast<int32_t>(y0 / tile_);
    const auto last_row = static_cast<int32_t>((y1 - 1) / tile_);
    for (int32_t row = first_row; row <= last_row; ++row) {
        uint64_t* words = &bits_[static_cast<size_t>(row) * words_];
        for (int32_t word = first_column / 64; word <= last_column / 64; ++word) {
            const int32_t lo = std::max(first_column - word * 64, 0);
            const int32_t hi = std::min(last_column - word * 64, 63);
            const uint64_t upto_hi = hi == 63 ? ~uint64_t{0} : (uint64_t{1} << (hi + 1)) - 1;
            words[word] |= upto_hi & ~((uint64_t{1} << lo) - 1);
        }
    }
}

void TileMask::merge(const TileMask& other) {
    if (other.bits_.size() != bits_.size()) {
        mark_all();
        return;
    }
    for (size_t i = 0; i < bits_.size(); ++i) bits_[i] |= other.bits_[i];
}

bool TileMask::empty() const {
    return std::all_of(bits_.begin(), bits_.end(), [](uint64_t w) { return w == 0; });
}

TileMask::Rect TileMask::clipped(int32_t first, int32_t row, int32_t end) const {
    const int32_t x = first * tile_, y = row * tile_;
    return {x, y, std::min(end * tile_, width_) - x, std::min(y + tile_, height_) - y};
}

}  // namespace rt::screen
