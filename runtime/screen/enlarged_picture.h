// SPDX-License-Identifier: GPL-3.0-or-later
// The screen's frame as a window shows it when the picture is enlarged (or
// reduced): spread bilinearly over an area of the view, black around it.
// Frames of a game change in small parts, and even a scrolled backdrop
// leaves most of its pixels as they were, so the view keeps the frame it
// last showed and scales anew only the tiles whose pixels changed, with the
// margin the filter needs around them.
#pragma once
#include <QImage>
#include <QRect>
#include <QRegion>
#include <cstdint>
#include <vector>

#include "runtime/screen/tile_mask.h"

namespace rt::screen {

class EnlargedPicture {
  public:
    // Brings the view (of size `view`, the picture spread over `area`) up to
    // date with `frame` (Format_RGB32), whose pixels outside `changed` are
    // those of the last update. Answers the parts of the view that changed:
    // all of it when the view, the area or the frame's size is new.
    QRegion update(const QImage& frame, const QRegion& changed, QSize view, const QRect& area);
    // True when the view shows a frame of that size over that area.
    bool shows(QSize view, const QRect& area, QSize frame) const {
        return !view_.isNull() && view_.size() == view && area_ == area && last_.size() == frame;
    }
    // The view's pixels (Format_RGB32).
    const QImage& view() const { return view_; }
    // Lets go of the pictures; the next update draws the view whole.
    void forget();

  private:
    // Per shown pixel along one side: the two picture pixels it blends, the
    // second one's weight in 1/256 and both weights as a pair of 16-bit
    // values (the first's low); per picture pixel i, the first shown pixel
    // whose first picture pixel is i or later (`reach`, one more at the end).
    struct Axis {
        std::vector<int32_t> first, second, reach;
        std::vector<uint32_t> weight, weights;
        void build(int32_t picture, int32_t shown);
    };
    // Scales the part of the area (view pixels) from the kept frame.
    void scale(const QRect& part);
    // Picture row `row` spread over `count` shown columns from `first_column`
    // of the area, 16 bits per channel.
    void spread(int32_t row, int32_t first_column, int32_t count, std::vector<int16_t>& out) const;

    QImage view_, last_;
    QRect area_;
    Axis columns_, rows_;
    TileMask shown_tiles_;
    std::vector<int16_t> upper_, lower_;
    std::vector<QRect> boxes_;
};

}  // namespace rt::screen
