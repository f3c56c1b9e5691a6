// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/window/window_frame_qt.h"

#include <QApplication>
#include <QMenuBar>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

#include "runtime/core/text_1252.h"

namespace rt::window {
namespace {

bool g_cursor_hidden = false;

}  // namespace

bool cursor_hidden() {
    return g_cursor_hidden;
}

void remember_cursor_hidden(bool hidden) {
    g_cursor_hidden = hidden;
}

WindowFrame::WindowFrame(int32_t id, const WindowStyle& style)
    : QWidget(nullptr, style.qt_flags),
      id_(id),
      resizable_(style.resizable),
      maximizable_(style.maximizable) {
    setObjectName(QStringLiteral("WindowClass_%1").arg(id));
    setAttribute(Qt::WA_QuitOnClose, false);
    setMouseTracking(true);
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    // A fixed size (minimum = maximum) is what tells window managers not to
    // offer maximizing, so only a window without a maximize box gets one.
    layout_->setSizeConstraint(fixed_size() ? QLayout::SetFixedSize
                                            : QLayout::SetDefaultConstraint);
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    client_->setMouseTracking(true);
    // An opaque client keeps repaints of the game screen inside it from
    // repainting the whole window.
    client_->setAutoFillBackground(true);
    client_->setFocusPolicy(Qt::StrongFocus);
    layout_->addWidget(client_);
    if (cursor_hidden()) setCursor(Qt::BlankCursor);
}

void WindowFrame::set_client_size(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (!fixed_size()) {
        // Without a sizing border the window grows (maximized, full screen)
        // but never shrinks below the size the program gave it.
        client_->setMinimumSize(resizable_ ? QSize(0, 0) : QSize(width, height));
        // The window's own minimum follows the layout (bar and client); it
        // must be current before the resize below is bounded by it.
        layout_->activate();
        int bar = (menu_bar_ && !menu_bar_->isHidden()) ? menu_bar_->sizeHint().height() : 0;
        client_->resize(width, height);
        resize(width, height + bar);
    } else {
        client_->setFixedSize(width, height);
        layout_->activate();
    }
}

void WindowFrame::attach_menu_bar(QMenuBar* bar) {
    if (bar == menu_bar_) {
        layout_->activate();
        return;
    }
    QSize client_size = client_->size();
    if (menu_bar_) detach_menu_bar(menu_bar_);
    menu_bar_ = bar;
    if (!bar) return;
    bar->setParent(this);
    layout_->setMenuBar(bar);
    bar->show();
    if (!fixed_size()) set_client_size(client_size.width(), client_size.height());
    layout_->activate();
}

void WindowFrame::detach_menu_bar(QMenuBar* bar) {
    if (!bar || bar != menu_bar_) return;
    QSize client_size = client_->size();
    layout_->setMenuBar(nullptr);
    bar->hide();
    bar->setParent(nullptr);
    menu_bar_ = nullptr;
    if (!fixed_size()) set_client_size(client_size.width(), client_size.height());
    layout_->activate();
}

bool WindowFrame::toggle_full_screen() {
    if (isFullScreen()) {
        if (before_full_screen_ & Qt::WindowMaximized) {
            showMaximized();
        } else {
            showNormal();
        }
        return false;
    }
    before_full_screen_ = windowState() & Qt::WindowMaximized;
    showFullScreen();
    return true;
}

WindowFrame* frame_of(const QObject* object) {
    if (!object) return nullptr;
    if (object->isWidgetType()) {
        return dynamic_cast<WindowFrame*>(static_cast<const QWidget*>(object)->window());
    }
    if (object->isWindowType()) {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (static_cast<const QObject*>(top->windowHandle()) == object)
                return dynamic_cast<WindowFrame*>(top);
        }
    }
    return nullptr;
}

QString text_from_program(const char* text) {
    return QString::fromStdU16String(rt::text::from_windows_1252(text));
}

}  // namespace rt::window
