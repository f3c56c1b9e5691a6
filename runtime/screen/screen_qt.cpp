// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt side of the screen: the child widget that shows the back buffer and
// the filter on the window's client area that keeps it fitted.
#include <QApplication>
#include <QEvent>
#include <QPaintEvent>
#include <QScreen>
#include <QVariant>
#include <algorithm>
#include <vector>

#include "runtime/screen/enlarged_picture.h"
#include "runtime/screen/screen_state.h"
#include "runtime/window/qt_platform.h"

namespace rt::screen {

namespace {

constexpr char kHookProperty[] = "orv_dxsize";

// The parts to paint in fewer rectangles: in each band of rows, one
// rectangle over the band's parts for each group of them less than a gap
// apart. Each rectangle painted and shown costs more than the few unchanged
// pixels that joining adds.
QRegion simplified(const QRegion& parts) {
    constexpr int kBand = 32, kGap = 64, kFew = 8;
    if (parts.rectCount() <= kFew) return parts;
    const QRect bounds = parts.boundingRect();
    const int first_band = bounds.top() / kBand;
    std::vector<std::vector<QRect>> bands(
        static_cast<size_t>(bounds.bottom() / kBand - first_band + 1));
    for (const QRect& r : parts) {
        for (int y = r.top(); y <= r.bottom(); y = (y / kBand + 1) * kBand) {
            const QRect piece = r & QRect(r.left(), y, r.width(), (y / kBand + 1) * kBand - y);
            bands[static_cast<size_t>(y / kBand - first_band)].push_back(piece);
        }
    }
    std::vector<QRect> joined;
    for (std::vector<QRect>& band : bands) {
        if (band.empty()) continue;
        std::sort(band.begin(), band.end(),
                  [](const QRect& a, const QRect& b) { return a.left() < b.left(); });
        int top = band.front().top(), bottom = band.front().bottom();
        for (const QRect& r : band)
            top = std::min(top, r.top()), bottom = std::max(bottom, r.bottom());
        QRect group = band.front();
        for (const QRect& r : band) {
            if (r.left() - group.right() > kGap) {
                joined.emplace_back(QPoint(group.left(), top), QPoint(group.right(), bottom));
                group = r;
            }
            group.setRight(std::max(group.right(), r.right()));
        }
        joined.emplace_back(QPoint(group.left(), top), QPoint(group.right(), bottom));
    }
    QRegion region;
    region.setRects(joined.data(), static_cast<int>(joined.size()));
    return region;
}

class ScreenWidget final : public QWidget {
  public:
    explicit ScreenWidget(QWidget* parent) : QWidget(parent) {
        // Every paint covers the whole widget with the frame: nothing below
        // it needs painting first.
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    // The parts of the widget to paint anew for the frame's parts changed
    // since the last present: the same parts at 1:1, the enlarged picture's
    // changed parts otherwise, all of it when the picture moved.
    QRegion parts_to_show(const QImage& frame, const QRegion& changed) {
        const QRect area = rt::qt::picture_area(this, frame.size());
        if (area.size() != frame.size()) return enlarged_.update(frame, changed, size(), area);
        enlarged_.forget();
        if (area == shown_area_) return changed.translated(area.topLeft());
        shown_area_ = area;
        return rect();
    }
    // Nothing presented is shown meanwhile: the next paint shows the frame whole.
    void forget_shown() {
        enlarged_.forget();
        shown_area_ = QRect();
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        const ScreenState& s = state();
        QPainter painter(this);
        if (!s.isOpen || s.backBuffer.isNull()) {
            painter.fillRect(rect(), Qt::black);
            return;
        }
        // A clear still pending means nothing was drawn since the last frame,
        // which the buffer's memory still holds: that is what the window shows
        // until the next present writes the clear.
        const QImage& frame = s.backBuffer;
        const QRect area = rt::qt::picture_area(this, frame.size());
        if (area.size() != frame.size()) {
            // Enlarged (or reduced): the picture as last presented.
            if (!enlarged_.shows(size(), area, frame.size()))
                enlarged_.update(frame, QRegion(), size(), area);
            for (const QRect& part : event->region())
                painter.drawImage(part.topLeft(), enlarged_.view(), part);
            return;
        }
        for (const QRect& bar : event->region() - area) painter.fillRect(bar, Qt::black);
        // Only the parts asked for: a present asks for what changed.
        for (const QRect& part : event->region() & area)
            painter.drawImage(part.topLeft(), frame, part.translated(-area.topLeft()));
    }

  private:
    EnlargedPicture enlarged_;
    QRect shown_area_;  // where the last 1:1 present placed the picture
};

// Refits the screen and shows the last frame again when the client area
// changes size.
class ParentHook final : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const ScreenState& s = state();
        if (event->type() == QEvent::Resize && s.isOpen && s.childControl &&
            s.childControl->parent() == watched) {
            fit_child();
            if (s.width != 0) {
                forget_shown();
                present();
            }
        }
        return false;
    }
};

bool offscreen_platform() {
    return QGuiApplication::platformName() == QLatin1String("offscreen");
}

}  // namespace

bool create_child(int32_t window) {
    rt::qt::app();
    QWidget* client = rt::qt::client_widget(window);
    if (client == nullptr) return false;
    ScreenState& s = state();
    auto* child = new ScreenWidget(client);  // owned by its parent widget
    child->setGeometry(s.x, s.y, s.width, s.height);
    child->show();
    s.childControl = child;
    rt::qt::show_screen_in(child, s.width, s.height);
    return true;
}

void fit_child() {
    ScreenState& s = state();
    if (!s.autoStretch || !s.childControl) return;
    QWidget* parent = s.childControl->parentWidget();
    if (parent == nullptr) return;
    const int w = parent->width() - s.rightMargin - s.x;
    const int h = parent->height() - s.bottomMargin - s.y;
    s.childControl->resize(w > 0 ? w : 0, h > 0 ? h : 0);
}

void hook_parent() {
    ScreenState& s = state();
    if (!s.childControl) return;
    QWidget* parent = s.childControl->parentWidget();
    if (parent == nullptr || parent->property(kHookProperty).isValid()) return;
    parent->installEventFilter(new ParentHook(parent));  // lives as long as the parent
    parent->setProperty(kHookProperty, 1);
}

bool present() {
    ScreenState& s = state();
    QWidget* child = s.childControl;
    if (child == nullptr) return false;
    const QRegion unshown = take_unshown();
    auto* widget = static_cast<ScreenWidget*>(child);
    // Nothing to show while hidden (showing it again paints it whole); without
    // a display the paint is left to the event loop (a grab of the window
    // still paints the frame).
    if (!child->isVisible()) {
        widget->forget_shown();
        return true;
    }
    const QRegion area = simplified(widget->parts_to_show(s.backBuffer, unshown));
    if (area.isEmpty()) return true;
    if (offscreen_platform())
        child->update(area);
    else
        child->repaint(area);
    return true;
}

void destroy_child() {
    ScreenState& s = state();
    if (!s.childControl) return;
    QWidget* parent = s.childControl->parentWidget();
    delete s.childControl.data();
    if (parent != nullptr) parent->update();
}

uint32_t desktop_refresh_rate() {
    ScreenState& s = state();
    QScreen* screen = s.childControl ? s.childControl->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return 0;
    const qreal rate = screen->refreshRate();
    return rate > 0 ? static_cast<uint32_t>(rate + 0.5) : 0;
}

}  // namespace rt::screen
