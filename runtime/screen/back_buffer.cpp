// SPDX-License-Identifier: GPL-3.0-or-later
// Bookkeeping of the back buffer's pixels. Most frames of a game redraw the
// same full-screen backdrop and move a few sprites over it, so the buffer
// remembers which opaque picture it holds and where other drawing covered
// it: drawing that picture at the same place again restores only those
// parts, a clear that such a draw would cover entirely is never written, and
// a present shows only what changed since the previous one.
#include <cstring>
#include <vector>

#include "runtime/screen/screen_internal.h"
#include "runtime/screen/screen_state.h"

namespace rt::screen {

namespace {

QRect whole(const ScreenState& s) {
    return s.backBuffer.rect();
}

void write_pending_clear(ScreenState& s) {
    BackBufferHistory& h = s.history;
    if (!h.pendingClear) return;
    s.backBuffer.fill(*h.pendingClear);
    h.pendingClear.reset();
    h.backdropKey.reset();
    h.unshown.mark_all();
}

// Something other than the backdrop was drawn over `area`.
void note_drawn(ScreenState& s, const QRect& area) {
    if (area.isEmpty()) return;
    const int64_t x0 = area.x(), y0 = area.y();
    const int64_t x1 = x0 + area.width(), y1 = y0 + area.height();
    s.history.drawnOver.mark(x0, y0, x1, y1);
    s.history.unshown.mark(x0, y0, x1, y1);
}

void copy_rows(QImage& target, const QImage& source, const QPoint& at, const QRect& area) {
    const size_t bytes = static_cast<size_t>(area.width()) * sizeof(uint32_t);
    uchar* target_bits = target.bits();
    const qsizetype target_pitch = target.bytesPerLine();
    for (int row = area.top(); row <= area.bottom(); ++row) {
        const auto* src = reinterpret_cast<const uint32_t*>(source.constScanLine(row - at.y())) +
                          (area.left() - at.x());
        auto* dst = reinterpret_cast<uint32_t*>(target_bits + row * target_pitch) + area.left();
        std::memcpy(dst, src, bytes);
    }
}

QRect to_qrect(const TileMask::Rect& r) {
    return QRect(r.x, r.y, r.width, r.height);
}

}  // namespace

const QImage* back_buffer() {
    ScreenState& s = state();
    if (!s.isOpen) return nullptr;
    write_pending_clear(s);
    return &s.backBuffer;
}

const QImage& frame() {
    ScreenState& s = state();
    write_pending_clear(s);
    return s.backBuffer;
}

void clear_back_buffer(uint32_t argb) {
    ScreenState& s = state();
    s.history.pendingClear = argb;
    if (s.history.loans > 0) write_pending_clear(s);
}

void forget_back_buffer_history() {
    ScreenState& s = state();
    BackBufferHistory& h = s.history;
    const int32_t loans = h.loans;
    h = BackBufferHistory{};
    h.loans = loans;
    h.drawnOver.resize(s.backBuffer.width(), s.backBuffer.height());
    h.unshown.resize(s.backBuffer.width(), s.backBuffer.height());
    h.unshown.mark_all();
}

QRegion take_unshown() {
    ScreenState& s = state();
    write_pending_clear(s);
    if (s.history.loans > 0) return whole(s);
    // The runs come in rows of tiles, each row's left to right: the banded
    // order a region is made of.
    std::vector<QRect> parts;
    s.history.unshown.for_each_run([&](const TileMask::Rect& r) { parts.push_back(to_qrect(r)); });
    s.history.unshown.clear();
    QRegion region;
    region.setRects(parts.data(), static_cast<int>(parts.size()));
    return region;
}

void forget_shown() {
    state().history.unshown.mark_all();
}

void draw_opaque(const QImage& picture, int32_t x, int32_t y) {
    ScreenState& s = state();
    if (!s.isOpen) return;
    BackBufferHistory& h = s.history;
    const QPoint at(x, y);
    const QRect area = QRect(at, picture.size()) & whole(s);
    if (area.isEmpty()) return;
    if (area != whole(s)) {
        write_pending_clear(s);
        copy_rows(s.backBuffer, picture, at, area);
        note_drawn(s, area);
        return;
    }
    // The picture covers the buffer: a pending clear would be overwritten.
    h.pendingClear.reset();
    const bool same_backdrop =
        h.loans == 0 && h.backdropKey == picture.cacheKey() && h.backdropAt == at;
    if (same_backdrop) {
        h.drawnOver.for_each_run([&](const TileMask::Rect& part) {
            copy_rows(s.backBuffer, picture, at, to_qrect(part));
        });
        h.unshown.merge(h.drawnOver);
    } else {
        // Comparing a scrolled backdrop with what it covers, to show only the
        // tiles it changes, costs more than showing the whole buffer again.
        copy_rows(s.backBuffer, picture, at, area);
        h.unshown.mark_all();
    }
    h.drawnOver.clear();
    // A pass holding the buffer may still write to it, so nothing is known then.
    if (h.loans == 0) {
        h.backdropKey = picture.cacheKey();
        h.backdropAt = at;
    } else {
        h.backdropKey.reset();
    }
}

QPainter* scene(const QRect& area) {
    ScreenState& s = state();
    if (!s.scene) return nullptr;
    write_pending_clear(s);
    note_drawn(s, area);
    return &*s.scene;
}

void mark_drawn(const QRect& area) {
    ScreenState& s = state();
    if (!s.isOpen) return;
    write_pending_clear(s);
    note_drawn(s, area);
}

BackBufferLoan::BackBufferLoan() {
    ScreenState& s = state();
    write_pending_clear(s);
    s.history.backdropKey.reset();
    s.history.unshown.mark_all();
    ++s.history.loans;
}

BackBufferLoan::~BackBufferLoan() {
    // What the pass drew after the last present has not been shown yet.
    ScreenState& s = state();
    --s.history.loans;
    s.history.unshown.mark_all();
}

QImage* BackBufferLoan::buffer() const {
    ScreenState& s = state();
    return s.isOpen ? &s.backBuffer : nullptr;
}

}  // namespace rt::screen
