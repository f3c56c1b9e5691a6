// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt side of the screen: the child widget that shows the back buffer and
// the filter on the window's client area that keeps it fitted.
#include <QApplication>
#include <QEvent>
#include <QPaintEvent>
#include <QScreen>
#include <QVariant>
#include <cstring>
#include <vector>

#include "runtime/screen/screen_state.h"
#include "runtime/window/qt_platform.h"

namespace rt::screen {

namespace {

constexpr char kHookProperty[] = "orv_dxsize";

// Nearest-neighbour stretch of the frame over the whole target. A target
// pixel shows source pixel (x * source width / target width, likewise for y),
// the same mapping the pointer is read back with, so the pixel under the
// pointer is the one the program placed there. Rows that repeat a source row
// are copied from the row above.
void stretch_into(const QImage& source, QImage& target, std::vector<int>& columns) {
    const int tw = target.width(), th = target.height();
    const int sw = source.width(), sh = source.height();
    columns.resize(static_cast<size_t>(tw));
    for (int x = 0; x < tw; ++x) columns[x] = static_cast<int>(int64_t{x} * sw / tw);
    const auto row_bytes = static_cast<size_t>(tw) * sizeof(uint32_t);
    int previous = -1;
    for (int y = 0; y < th; ++y) {
        const int sy = static_cast<int>(int64_t{y} * sh / th);
        auto* out = reinterpret_cast<uint32_t*>(target.scanLine(y));
        if (sy == previous) {
            std::memcpy(out, target.constScanLine(y - 1), row_bytes);
            continue;
        }
        const auto* in = reinterpret_cast<const uint32_t*>(source.constScanLine(sy));
        for (int x = 0; x < tw; ++x) out[x] = in[columns[x]];
        previous = sy;
    }
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
        const QImage& shown = s.backBuffer;
        if (size() == shown.size()) {
            // Only the parts asked for: a present asks for what changed.
            for (const QRect& part : event->region())
                painter.drawImage(part.topLeft(), shown, part);
            return;
        }
        // Qt's own scaled draw takes its general path here, several times
        // slower than this stretch plus an unscaled draw.
        if (stretched_.size() != size()) stretched_ = QImage(size(), QImage::Format_RGB32);
        stretch_into(shown, stretched_, columns_);
        painter.drawImage(0, 0, stretched_);
    }

  private:
    QImage stretched_;
    std::vector<int> columns_;
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
    // Nothing to show while hidden (showing it again paints it whole); without
    // a display the paint is left to the event loop (a grab of the window
    // still paints the frame).
    if (!child->isVisible()) return true;
    // A stretched frame moves every pixel it shows, so it is shown whole.
    const QRegion area = child->size() == s.backBuffer.size() ? unshown : QRegion(child->rect());
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
