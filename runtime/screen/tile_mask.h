// SPDX-License-Identifier: GPL-3.0-or-later
// A set of the back buffer's pixels kept as square tiles, so that marking a
// drawn rectangle costs a few word operations however many are marked a
// frame. Tiles answer as rectangles clipped to the buffer, one per run of
// marked tiles in a row of tiles, top to bottom and left to right.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace rt::screen {

class TileMask {
  public:
    static constexpr int32_t kTile = 16;  // pixels per tile side

    struct Rect {
        int32_t x, y, width, height;
    };

    // Covers a buffer of the size, with no tile marked.
    void resize(int32_t width, int32_t height);
    void clear();
    void mark_all();
    // Marks the tiles touching the pixels [x0, x1) x [y0, y1), clipped to the buffer.
    void mark(int64_t x0, int64_t y0, int64_t x1, int64_t y1);
    void merge(const TileMask& other);
    bool empty() const;

    template <class Visit>
    void for_each_run(Visit&& visit) const {
        for (int32_t row = 0; row < rows_; ++row) {
            int32_t column = 0;
            while (column < columns_) {
                if (!test(row, column)) {
                    ++column;
                    continue;
                }
                const int32_t first = column;
                while (column < columns_ && test(row, column)) ++column;
                visit(clipped(first, row, column));
            }
        }
    }

  private:
    bool test(int32_t row, int32_t column) const {
        return (bits_[static_cast<size_t>(row) * words_ + column / 64] >> (column % 64)) & 1u;
    }
    Rect clipped(int32_t first, int32_t row, int32_t end) const;

    int32_t width_ = 0, height_ = 0;
    int32_t columns_ = 0, rows_ = 0, words_ = 0;
    std::vector<uint64_t> bits_;
};

}  // namespace rt::screen
