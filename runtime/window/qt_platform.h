// SPDX-License-Identifier: GPL-3.0-or-later
// Internal (C++ only): what the other runtime subsystems need from the Qt side
// of the window library. Nothing outside runtime/ includes this.
#pragma once
#include <QPoint>
#include <QRect>
#include <QSize>
#include <cstdint>

class QApplication;
class QWidget;

namespace rt::qt {

// The one QApplication of the process, created on first use.
QApplication& app();

// The top-level widget of an open runtime window, or nullptr for an id that
// names no open window.
QWidget* window_widget(int32_t window_id);

// The client area of an open runtime window (the part below the menu bar), or
// nullptr for an id that names no open window.
QWidget* client_widget(int32_t window_id);

// Tells the window holding view that it shows a picture of that size (the
// screen), so that input reads the pointer in picture coordinates and the
// keyboard follows the focus of this window.
void show_screen_in(QWidget* view, int32_t width, int32_t height);

// Where a view of the size shows a picture: the whole view, or, keeping the
// picture's shape, the largest centred area of that shape (bars beside it).
QRect picture_area(QSize view, QSize picture, bool keep_shape);
// The same for a widget showing the screen: its shape is kept while its
// window is full screen.
QRect picture_area(const QWidget* view, QSize picture);
// The picture pixel shown at a view pixel: the one whose area, spread over
// `area`, holds the view pixel's centre. Points outside the area answer the
// nearest edge pixel.
QPoint picture_pixel(QPoint local, const QRect& area, QSize picture);
// The view pixel holding the centre of a picture pixel spread over `area`:
// the pixel picture_pixel answers that picture pixel for.
QPoint view_pixel(QPoint pixel, const QRect& area, QSize picture);

}  // namespace rt::qt
