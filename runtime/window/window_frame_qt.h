// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt side of one runtime window: a top-level widget holding an optional
// menu bar above a client widget. The client area keeps the size the program
// asked for; a menu bar adds to the window's height instead of eating into it.
#pragma once
#include <QMenuBar>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <optional>

#include "runtime/window/window_style.h"

class QVBoxLayout;

namespace rt::window {

class WindowFrame : public QWidget {
  public:
    WindowFrame(int32_t id, const WindowStyle& style);

    int32_t id() const { return id_; }
    QWidget* client() const { return client_; }
    // A window with neither a sizing border nor a maximize box keeps the size
    // the program gives it; window managers offer no maximize for it.
    bool fixed_size() const { return !resizable_ && !maximizable_; }
    bool maximizable() const { return maximizable_; }

    // Sets the client area's size; a fixed window follows it exactly.
    void set_client_size(int width, int height);

    // Full screen on, or back to the state it left (maximized or normal).
    // Answers whether the window is now full screen.
    bool toggle_full_screen();

    // Shows bar above the client area (the bar becomes a child of the window);
    // a bar shown before is detached and handed back to its owner, unparented.
    void attach_menu_bar(QMenuBar* bar);
    void detach_menu_bar(QMenuBar* bar);
    QMenuBar* menu_bar() const { return menu_bar_; }

    // Last pointer position seen over this window (global coordinates), or
    // none after the pointer left it.
    std::optional<QPoint> pointer_global;
    // 1 while minimized or maximized, so a return to normal reports a restore.
    bool sized_state = false;
    // Set when a state change has reported the new size itself, so the resize
    // that the platform delivers for it is not reported a second time.
    bool size_reported = false;
    // Set when the platform window went away without the program closing it.
    bool lost = false;
    // The widget showing a screen in this window and the picture's size, so
    // that input can answer in picture coordinates and follow its focus.
    QPointer<QWidget> screen_view;
    QSize screen_picture;

  private:
    int32_t id_;
    bool resizable_;
    bool maximizable_;
    Qt::WindowStates before_full_screen_ = Qt::WindowNoState;
    QVBoxLayout* layout_;
    QWidget* client_;
    QPointer<QMenuBar> menu_bar_;
};

// The runtime window a widget or platform window belongs to, or nullptr.
WindowFrame* frame_of(const QObject* object);

// Whether the cursor is hidden over runtime windows: a new window starts so.
bool cursor_hidden();
// Notes the cursor state that windows opened from now on take.
void remember_cursor_hidden(bool hidden);

// Text given by the program as 8-bit Windows-1252 text, the encoding drawn
// text uses too.
QString text_from_program(const char* text);

}  // namespace rt::window
