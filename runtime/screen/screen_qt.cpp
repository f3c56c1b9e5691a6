// The Qt side of the screen: the child widget that shows the back buffer and
// the filter on the window's client area that keeps it fitted.
#include "runtime/screen/screen_state.h"
#include "runtime/window/qt_platform.h"

#include <QApplication>
#include <QEvent>
#include <QPaintEvent>
#include <QScreen>
#include <QVariant>

namespace rt::screen {

namespace {

constexpr char kHookProperty[] = "orv_dxsize";

class ScreenWidget final : public QWidget {
public:
    explicit ScreenWidget(QWidget* parent) : QWidget(parent) {
        // Every paint covers the whole widget with the frame.
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const ScreenState& s = state();
        QPainter painter(this);
        if (!s.isOpen || s.backBuffer.isNull()) {
            painter.fillRect(rect(), Qt::black);
            return;
        }
        if (size() == s.backBuffer.size())
            painter.drawImage(0, 0, s.backBuffer);
        else
            painter.drawImage(rect(), s.backBuffer);
    }
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
            if (s.width != 0) present();
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
    // Nothing to show while hidden; without a display the paint is left to the
    // event loop (a grab of the window still paints the frame).
    if (!child->isVisible()) return true;
    if (offscreen_platform())
        child->update();
    else
        child->repaint();
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
