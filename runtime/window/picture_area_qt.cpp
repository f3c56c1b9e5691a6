// SPDX-License-Identifier: GPL-3.0-or-later
// Placing the screen's picture in the widget that shows it, and reading a
// point of that widget back in picture pixels: one rule for what is drawn
// and for where the pointer lies.
#include <QWidget>
#include <algorithm>

#include "runtime/window/qt_platform.h"

namespace rt::qt {

QRect picture_area(QSize view, QSize picture, bool keep_shape) {
    const QRect whole(QPoint(0, 0), view);
    if (!keep_shape || picture.isEmpty() || view.isEmpty()) return whole;
    // 64-bit: a side times a side may pass 2^31. Rounded to the nearest pixel.
    const int64_t vw = view.width(), vh = view.height();
    const int64_t pw = picture.width(), ph = picture.height();
    if (vw * ph > vh * pw) {
        const auto w = static_cast<int>((vh * pw * 2 + ph) / (ph * 2));
        return QRect((view.width() - w) / 2, 0, w, view.height());
    }
    const auto h = static_cast<int>((vw * ph * 2 + pw) / (pw * 2));
    return QRect(0, (view.height() - h) / 2, view.width(), h);
}

QRect picture_area(const QWidget* view, QSize picture) {
    return picture_area(view->size(), picture, view->window()->isFullScreen());
}

QPoint picture_pixel(QPoint local, const QRect& area, QSize picture) {
    // Pixel t of n covering a picture side of p shows pixel floor((t + 1/2) p / n).
    const auto along = [](int at, int first, int n, int p) {
        if (n <= 0 || p <= 0) return 0;
        const int64_t t = std::clamp(at - first, 0, n - 1);
        return static_cast<int>((2 * t + 1) * p / (2 * int64_t{n}));
    };
    return QPoint(along(local.x(), area.x(), area.width(), picture.width()),
                  along(local.y(), area.y(), area.height(), picture.height()));
}

QPoint view_pixel(QPoint pixel, const QRect& area, QSize picture) {
    // The centre of picture pixel x lies in shown pixel floor((x + 1/2) n / p).
    const auto along = [](int x, int first, int n, int p) {
        if (p <= 0) return first;
        const int64_t v = (2 * int64_t{x} + 1) * n, d = 2 * int64_t{p};
        return first + static_cast<int>(v >= 0 ? v / d : -((d - 1 - v) / d));
    };
    return QPoint(along(pixel.x(), area.x(), area.width(), picture.width()),
                  along(pixel.y(), area.y(), area.height(), picture.height()));
}

}  // namespace rt::qt
