// SPDX-License-Identifier: GPL-3.0-or-later
// The operations of a drawing pass, painted with QPainter. Text, shapes and
// fills go through the target's painter; plots are written straight into the
// locked pixels.
#include <QFontDatabase>
#include <QFontMetrics>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "runtime/core/boundary.h"
#include "runtime/core/text_1252.h"
#include "runtime/draw/draw_state.h"
#include "runtime/draw/fonts.h"
#include "runtime/screen/screen_internal.h"
#include "runtime/screen/sprite_pixels.h"

namespace rt::draw {

namespace {

using rt::screen::from_argb;
using rt::screen::to_argb;

// The front colour as painted: black until one is set (the pass starts with a
// black pen and brush).
QColor front(const rt_draw_state& s) {
    return QColor::fromRgb(to_argb(s.frontColour.value_or(0)));
}

// A device context's own background colour is white until one is set.
QColor back(const rt_draw_state& s) {
    return QColor::fromRgb(to_argb(s.backColour.value_or(0xFFFFFF)));
}

QPainter* prepared(rt_draw_state& s) {
    QPainter* p = s.context();
    if (p == nullptr) return nullptr;
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->setRenderHint(QPainter::Antialiasing, false);
    p->setOpacity(1.0);
    p->resetTransform();
    return p;
}

// Paints a shape with the front colour's pen and, unless outlined, its brush;
// in invert mode every pixel the shape covers is inverted instead.
template <class Draw>
void paint_shape(rt_draw_state& s, const QRect& bounds, Draw&& draw) {
    QPainter* p = prepared(s);
    if (p == nullptr) return;
    s.touch(bounds.normalized().adjusted(-1, -1, 1, 1));
    const bool filled = (s.mode & RT_DRAW_OUTLINE) == 0;
    if ((s.mode & RT_DRAW_INVERT) == 0) {
        p->setPen(QPen(front(s), 0));
        p->setBrush(filled ? QBrush(front(s)) : QBrush(Qt::NoBrush));
        draw(*p);
        return;
    }
    QImage* image = s.context_image();
    if (image == nullptr) return;
    const QRect area = bounds.normalized().adjusted(-1, -1, 1, 1) & image->rect();
    if (area.isEmpty()) return;
    QImage mask(area.size(), QImage::Format_ARGB32_Premultiplied);
    mask.fill(0u);
    {
        QPainter m(&mask);
        m.translate(-area.topLeft());
        m.setPen(QPen(Qt::white, 0));
        m.setBrush(filled ? QBrush(Qt::white) : QBrush(Qt::NoBrush));
        draw(m);
    }
    for (int32_t y = 0; y < area.height(); ++y) {
        const auto* in = reinterpret_cast<const uint32_t*>(mask.constScanLine(y));
        auto* out = reinterpret_cast<uint32_t*>(image->scanLine(area.top() + y)) + area.left();
        for (int32_t x = 0; x < area.width(); ++x)
            if (in[x] != 0) out[x] ^= 0x00FFFFFFu;
    }
}

// Coordinates are worked out in 64 bits and kept within +-2^28, far beyond
// any target, so that sums near the ends of the 32-bit range cannot wrap.
constexpr int64_t kFarAway = int64_t{1} << 28;
int32_t far(int64_t v) {
    return static_cast<int32_t>(std::clamp(v, -kFarAway, kFarAway));
}

// Columns left..right-1 and rows top..bottom-1 of the two corners.
QRect span(int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
    return QRect(QPoint(far(std::min(x1, x2)), far(std::min(y1, y2))),
                 QPoint(far(std::max(x1, x2) - 1), far(std::max(y1, y2) - 1)));
}

// How far the letters of an italic font stick out past their advance.
int32_t measure_italic_overhang(const QFont& font) {
    if (!font.italic()) return 0;
    const QFontMetrics metrics(font);
    const int32_t width = metrics.horizontalAdvance(QLatin1Char('H'));
    const int32_t height = metrics.height();
    if (width <= 0 || height <= 0) return 0;
    QImage image(2 * width, 2 * height, QImage::Format_RGB32);
    image.fill(0xFF000000u);
    {
        QPainter p(&image);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QPoint(0, metrics.ascent()), QStringLiteral("H"));
    }
    for (int32_t x = image.width() - 1; x >= 0; --x)
        for (int32_t y = 0; y < image.height(); ++y)
            if ((image.pixel(x, y) & 0x00FFFFFFu) != 0) return x - width + 2;
    return 0;
}

QFont system_font() {
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont);
}

struct TextMetrics {
    int32_t advance = 0;
    int32_t height = 0;
    int32_t ascent = 0;
};

// The advance and line metrics of a text in a font on a device. Measuring
// shapes the whole text, as painting it does again; a game draws the same few
// messages frame after frame, so the last few measurements are kept and the
// text is shaped once per draw.
TextMetrics measure_text(const QFont& font, const QPaintDevice* device, const QString& str) {
    struct Entry {
        QFont font;
        int dpi = 0;
        QString text;
        TextMetrics metrics;
    };
    thread_local std::array<Entry, 8> kept;
    thread_local size_t next = 0;
    const int dpi = device->logicalDpiY();
    for (const Entry& e : kept)
        if (e.dpi == dpi && e.text == str && e.font == font) return e.metrics;
    const QFontMetrics metrics(font, device);
    Entry& e = kept[next];
    next = (next + 1) % kept.size();
    e = {font, dpi, str, {metrics.horizontalAdvance(str), metrics.height(), metrics.ascent()}};
    return e.metrics;
}

}  // namespace

QString from_8bit(const char* text) {
    return QString::fromStdU16String(rt::text::from_windows_1252(text));
}

void set_back_colour(rt_draw_state& s, uint32_t colour) {
    s.backColour = colour;
}

void set_front_colour(rt_draw_state& s, uint32_t colour) {
    s.frontColour = colour;
}

void box(rt_draw_state& s, int32_t x, int32_t y, int32_t width, int32_t height) {
    if ((width == 1 || width == -1) && (height == 1 || height == -1)) {
        plot_front(s, far(int64_t{x} - (width == -1)), far(int64_t{y} - (height == -1)));
        return;
    }
    const QRect r = span(x, y, int64_t{x} + width, int64_t{y} + height);
    if (r.isEmpty()) return;
    paint_shape(s, r, [&](QPainter& p) {
        if (p.brush().style() != Qt::NoBrush) {
            p.fillRect(r, p.brush());
            return;
        }
        // The outline: the rectangle's border pixels.
        const QColor c = p.pen().color();
        p.fillRect(QRect(r.left(), r.top(), r.width(), 1), c);
        p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), c);
        p.fillRect(QRect(r.left(), r.top(), 1, r.height()), c);
        p.fillRect(QRect(r.right(), r.top(), 1, r.height()), c);
    });
}

void round_box(rt_draw_state& s, int32_t x, int32_t y, int32_t width, int32_t height, int32_t rx,
               int32_t ry) {
    const QRect r = span(x, y, int64_t{x} + width, int64_t{y} + height);
    if (r.width() < 2 || r.height() < 2) return box(s, x, y, width, height);
    paint_shape(s, r, [&](QPainter& p) {
        p.drawRoundedRect(r.adjusted(0, 0, -1, -1), std::abs(static_cast<double>(rx)),
                          std::abs(static_cast<double>(ry)));
    });
}

void circle(rt_draw_state& s, int32_t x, int32_t y, int32_t radius) {
    if (radius == 1) return box(s, x, y, 1, 1);
    ellipse(s, x, y, radius, radius);
}

void ellipse(rt_draw_state& s, int32_t x, int32_t y, int32_t rx, int32_t ry) {
    const QRect r =
        span(int64_t{x} - rx, int64_t{y} - ry, int64_t{x} + rx + 1, int64_t{y} + ry + 1);
    if (r.isEmpty()) return;
    paint_shape(s, r, [&](QPainter& p) { p.drawEllipse(r.adjusted(0, 0, -1, -1)); });
}

void line(rt_draw_state& s, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    const QRect r = span(x1, y1, x2, y2).adjusted(0, 0, 1, 1);
    paint_shape(s, r, [&](QPainter& p) {
        p.drawLine(x1, y1, x2, y2);
        p.drawPoint(x2, y2);  // the end pixel belongs to the line
    });
}

void select_font(rt_draw_state& s, int32_t font_handle) {
    if (font_handle == -1) {
        s.font = system_font();
    } else if (auto font = rt::fonts::native_font(font_handle)) {
        s.font = *font;
    } else {
        // A handle that names no font selects nothing.
        return rt::core::record_failure("no such font handle");
    }
    s.italicOverhang = measure_italic_overhang(s.font);
    s.rotatedFont.reset();
}

uint8_t* drawing_buffer(rt_draw_state& s) {
    if (s.contextState == 1) {
        if (!s.lock_target()) return nullptr;
        s.contextState = -1;
    } else if (s.kind == rt_draw_state::Kind::Sprite &&
               (!s.sprite->holds(s.bufferPointer) || !s.sprite->locked())) {
        // A copy came to share the locked pixels (writing on would change
        // it too), they moved, or their lock was ended from outside the pass:
        // lock again, for pixels of the store's own whose writes will show.
        if (!s.lock_target()) return nullptr;
    }
    return s.bufferPointer;
}

void set_mode(rt_draw_state& s, int32_t mode) {
    s.mode = mode;
    if (s.frontColour) set_front_colour(s, *s.frontColour);
}

int32_t text(rt_draw_state& s, int32_t x, int32_t y, const char* text) {
    const QString str = from_8bit(text);
    QPainter* p = prepared(s);
    if (p == nullptr || str.isEmpty()) return x;
    const TextMetrics metrics = measure_text(s.font, p->device(), str);
    // Italic and decorated glyphs may reach beyond the advance and the line
    // height; a line's height of margin all round covers them.
    const int32_t margin = std::max(metrics.height, 1);
    s.touch(span(int64_t{x} - margin, int64_t{y} - margin, int64_t{x} + metrics.advance + margin,
                 int64_t{y} + metrics.height + margin));
    if ((s.mode & RT_DRAW_TRANSPARENT) == 0)
        p->fillRect(span(x, y, int64_t{x} + metrics.advance, int64_t{y} + metrics.height), back(s));
    p->setFont(s.font);
    p->setPen(front(s));
    p->drawText(QPoint(x, far(int64_t{y} + metrics.ascent)), str);
    return static_cast<int32_t>(
        std::clamp<int64_t>(int64_t{x} + metrics.advance, INT32_MIN, INT32_MAX));
}

void rotated_text(rt_draw_state& s, int32_t x, int32_t y, const char* text, float angle) {
    const QString str = from_8bit(text);
    QPainter* p = prepared(s);
    if (p == nullptr || str.isEmpty()) return;
    const float degrees = std::fmod(angle, 360.0f);
    if (!s.rotatedFont || s.rotatedAngle != degrees) {
        s.rotatedFont = s.font;
        s.rotatedAngle = degrees;
    }
    const QFontMetrics metrics(*s.rotatedFont, p->device());
    s.touch(QRect(-kFarAway, -kFarAway, 2 * kFarAway, 2 * kFarAway));
    p->translate(x, y);
    p->rotate(-degrees);  // the baseline rises for positive angles
    p->setFont(*s.rotatedFont);
    p->setPen(front(s));
    p->drawText(QPoint(0, metrics.ascent()), str);
    p->resetTransform();
}

void fill_area(rt_draw_state& s, int32_t x, int32_t y, uint32_t border_colour) {
    QImage* image = s.context_image();
    if (image == nullptr || !image->rect().contains(x, y)) return;
    const int32_t w = image->width(), h = image->height();
    auto pixel = [&](int32_t px, int32_t py) -> uint32_t& {
        return reinterpret_cast<uint32_t*>(image->scanLine(py))[px];
    };
    const bool to_border = border_colour != RT_DRAW_FILL_SURFACE;
    const uint32_t border = to_argb(border_colour) & 0x00FFFFFFu;
    const uint32_t surface = pixel(x, y) & 0x00FFFFFFu;
    const uint32_t fill = to_argb(s.frontColour.value_or(0));
    auto inside = [&](int32_t px, int32_t py) {
        const uint32_t c = pixel(px, py) & 0x00FFFFFFu;
        return to_border ? c != border : c == surface;
    };
    if (!inside(x, y)) return;
    s.touch(image->rect());
    std::vector<uint8_t> seen(static_cast<size_t>(w) * h, 0);
    std::vector<std::pair<int32_t, int32_t>> todo{{x, y}};
    while (!todo.empty()) {
        auto [px, py] = todo.back();
        todo.pop_back();
        // Walk the row both ways, then queue the rows above and below.
        int32_t left = px, right = px;
        while (left > 0 && !seen[static_cast<size_t>(py) * w + left - 1] && inside(left - 1, py))
            --left;
        while (right < w - 1 && !seen[static_cast<size_t>(py) * w + right + 1] &&
               inside(right + 1, py))
            ++right;
        for (int32_t i = left; i <= right; ++i) {
            seen[static_cast<size_t>(py) * w + i] = 1;
            for (int32_t ny : {py - 1, py + 1}) {
                if (ny < 0 || ny >= h || seen[static_cast<size_t>(ny) * w + i]) continue;
                if (inside(i, ny)) todo.emplace_back(i, ny);
            }
        }
        for (int32_t i = left; i <= right; ++i) pixel(i, py) = fill;
    }
}

namespace {
// One pixel through the painter's image (a painted pixel, keyed on a sprite
// when the pass ends).
void set_pixel(rt_draw_state& s, int32_t x, int32_t y, uint32_t colour) {
    QImage* image = s.context_image();
    if (image == nullptr || !image->rect().contains(x, y)) return;
    s.touch(QRect(x, y, 1, 1));
    reinterpret_cast<uint32_t*>(image->scanLine(y))[x] = to_argb(colour);
}
}  // namespace

void plot_front(rt_draw_state& s, int32_t x, int32_t y) {
    set_pixel(s, x, y, s.frontColour.value_or(0));
}

void plot(rt_draw_state& s, int32_t x, int32_t y, uint32_t colour) {
    if (x < 0 || y < 0 || x >= s.width || y >= s.height) return;
    if (s.pixelFormatCode != rt::screen::kPixelFormatX8R8G8B8) return set_pixel(s, x, y, colour);
    if (drawing_buffer(s) == nullptr) return;
    auto* row =
        reinterpret_cast<uint32_t*>(s.bufferPointer + static_cast<ptrdiff_t>(y) * s.bufferPitch);
    row[x] = to_argb(colour);
}

int32_t point(rt_draw_state& s, int32_t x, int32_t y) {
    QImage* image = s.context_image();
    if (image == nullptr || !image->rect().contains(x, y)) return -1;
    return static_cast<int32_t>(
        from_argb(reinterpret_cast<const uint32_t*>(image->constScanLine(y))[x]));
}

bool start(rt_draw_state& s) {
    s.mode = 0;
    s.contextState = 1;
    s.font = system_font();
    s.italicOverhang = 0;
    return s.deviceContext != nullptr;
}

void stop(rt_draw_state& s) {
    s.rotatedFont.reset();
    s.release_target(true);
    s.contextState = 0;
}

int32_t text_height(rt_draw_state& s, const char* text) {
    if (text == nullptr || *text == 0) return 0;
    return QFontMetrics(s.font).height();
}

int32_t text_width(rt_draw_state& s, const char* text) {
    const QString str = from_8bit(text);
    if (str.isEmpty()) return 0;
    return QFontMetrics(s.font).horizontalAdvance(str) + s.italicOverhang;
}

}  // namespace rt::draw
