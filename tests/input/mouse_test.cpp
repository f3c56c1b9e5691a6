// SPDX-License-Identifier: GPL-3.0-or-later
// The pointer position in a window's client area, fed by pointer moves posted
// through Qt, and the cursor display counter.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>
#include <QWidget>

#include "runtime/input/cursor_shim.h"
#include "runtime/input/rt_input.h"
#include "runtime/window/qt_platform.h"
#include "runtime/window/rt_window.h"

namespace {

class MouseTest : public ::testing::Test {
  protected:
    void SetUp() override {
        rt_menu_init();
        rt_window_init();
        ASSERT_EQ(rt_mouse_init(), 1);
        window_ = rt_window_open(-1, 40, 30, 320, 200, "Mouse", 0xCB0000);
        rt_menu_create(-1, rt_window_handle(window_));
        rt_menu_title("Play");
        rt_menu_item(1, "Level1");
        QCoreApplication::processEvents();
    }
    void TearDown() override {
        rt_window_close_all();
        rt_mouse_end();
    }
    void move(int32_t x, int32_t y) {
        ASSERT_EQ(rt_input_post_mouse_move(window_, x, y), 1);
        QCoreApplication::processEvents();
    }
    int32_t window_ = 0;
};

TEST_F(MouseTest, PositionsInsideTheClientAreaAndOneStepOutside) {
    EXPECT_EQ(rt_window_mouse_x(window_), -1);  // never seen yet
    // {moved to x, y, then reported x, y}; (0, -1) is over the menu bar.
    const int32_t cases[][4] = {{0, 0, 0, 0},      {319, 199, 319, 199}, {-1, 0, -1, -1},
                                {0, -1, -1, -1},   {320, 10, -1, -1},    {10, 200, -1, -1},
                                {100, 50, 100, 50}};
    for (const auto& c : cases) {
        move(c[0], c[1]);
        EXPECT_EQ(std::pair(rt_window_mouse_x(window_), rt_window_mouse_y(window_)),
                  std::pair(c[2], c[3]))
            << c[0] << "," << c[1];
    }
}

TEST_F(MouseTest, PointerOverAScreenChildCountsAndUnknownWindowsAnswerMinusOne) {
    // The game screen is a child widget of the client area.
    auto* screen = new QWidget(rt::qt::client_widget(window_));
    screen->setGeometry(0, 0, 320, 200);
    screen->show();
    move(12, 34);
    EXPECT_EQ(std::pair(rt_window_mouse_x(window_), rt_window_mouse_y(window_)), std::pair(12, 34));
    EXPECT_EQ(std::pair(rt_window_mouse_x(window_ + 1000), rt_window_mouse_y(0)),
              std::pair(-1, -1));
    EXPECT_EQ(rt_input_post_mouse_move(window_ + 1000, 1, 1), 0);
    // A leave makes the position unknown again.
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(rt::qt::window_widget(window_), &leave);
    EXPECT_EQ(rt_window_mouse_x(window_), -1);
}

TEST_F(MouseTest, CursorCounterBlanksThePointerBelowZero) {
    QWidget* top = rt::qt::window_widget(window_);
    // Each row: shown or hidden, the counter answered, whether the pointer is blank.
    const std::tuple<int32_t, int32_t, bool> steps[] = {
        {0, -1, true}, {0, -2, true}, {1, -1, true}, {1, 0, false}};
    for (const auto& [show, counter, blank] : steps) {
        EXPECT_EQ(ShowCursor(show), counter);
        EXPECT_EQ(top->cursor().shape() == Qt::BlankCursor, blank) << counter;
    }
}

}  // namespace
