#include "runtime/window/window_frame_qt.h"

#include <QApplication>
#include <QMenuBar>
#include <QStringDecoder>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

namespace rt::window {

WindowFrame::WindowFrame(int32_t id, bool resizable, Qt::WindowFlags flags)
    : QWidget(nullptr, flags), id_(id), resizable_(resizable) {
    setObjectName(QStringLiteral("WindowClass_%1").arg(id));
    setAttribute(Qt::WA_QuitOnClose, false);
    setMouseTracking(true);
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    layout_->setSizeConstraint(resizable ? QLayout::SetDefaultConstraint : QLayout::SetFixedSize);
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
    if (resizable_) {
        client_->setMinimumSize(0, 0);
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
    if (resizable_) set_client_size(client_size.width(), client_size.height());
    layout_->activate();
}

void WindowFrame::detach_menu_bar(QMenuBar* bar) {
    if (!bar || bar != menu_bar_) return;
    QSize client_size = client_->size();
    layout_->setMenuBar(nullptr);
    bar->hide();
    bar->setParent(nullptr);
    menu_bar_ = nullptr;
    if (resizable_) set_client_size(client_size.width(), client_size.height());
    layout_->activate();
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
    if (!text) return {};
    QByteArray bytes(text);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString decoded = utf8.decode(bytes);
    if (!utf8.hasError()) return decoded;
    return QString::fromLatin1(bytes);
}

}  // namespace rt::window
