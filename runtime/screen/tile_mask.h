// SPDX-License-Identifier: GPL-3.0-or-later
// A set of the back buffer's pixels kept as square tiles, so that marking a
// drawn rectangle costs a few word operations however many are marked a
// frame. Tiles answer as rectangles clipped to the buffer, one per run of
// marked tiles in a row of tiles, top to bottom and left to right.
#pragma once
#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace rt::screen {

class TileMask {
  public:
    static constexpr int32_t kTile = 8;  // pixels per tile side, unless resized otherwise

    struct Rect {
        int32_t x, y, width, height;
    };

    // Covers a buffer of the size in tiles of that side, with no tile marked.
    void resize(int32_t width, int32_t height, int32_t tile = kTile);
    void clear();
    void mark_all();
    // Marks the tiles touching the pixels [x0, x1) x [y0, y1), clipped to the buffer.
    void mark(int64_t x0, int64_t y0, int64_t x1, int64_t y1);
    void merge(const TileMask& other);
    bool empty() const;

    template <class Visit>
    void for_each_run(Visit&& visit) const {
        for (int32_t row = 0; row < rows_; ++row) {
            const uint64_t* words = &bits_[static_cast<size_t>(row) * words_];
            for (int32_t first = next(words, 0, true); first < columns_;) {
                const int32_t end = next(words, first, false);
                visit(clipped(first, row, end));
                first = next(words, end, true);
            }
        }
    }

  private:
    // The first column from `from` on of a row whose tile is marked (or, with
    // `marked` false, is not); columns_ when there is none. Unmarked words
    // are passed over whole.
    int32_t next(const uint64_t* words, int32_t from, bool marked) const {
        while (from < columns_) {
            const int32_t word = from / 64;
            const uint64_t bits =
                (marked ? words[word] : ~words[word]) & (~uint64_t{0} << (from % 64));
            if (bits != 0) return std::min(word * 64 + std::countr_zero(bits), columns_);
            from = (word + 1) * 64;
        }
        return columns_;
    }
    Rect clipped(int32_t first, int32_t row, int32_t end) const;

    int32_t width_ = 0, height_ = 0, tile_ = kTile;
    int32_t columns_ = 0, rows_ = 0, words_ = 0;
    std::vector<uint64_t> bits_;
};

}  // namespace rt::screen
