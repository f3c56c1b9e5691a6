// SPDX-License-Identifier: GPL-3.0-or-later
// The screen in a window the player can maximize: the stretched picture, the
// pointer read back in picture coordinates, and the one 8-bit encoding of
// titles, menu items and drawn text.
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

#include "runtime/draw/draw_state.h"
#include "runtime/input/rt_input.h"
#include "runtime/window/qt_platform.h"
#include "tests/screen/screen_fixture.h"

using namespace screen_test;

namespace {

constexpr int32_t kGameFlags = 0xCB0000;  // both boxes, no sizing border

class WindowScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        open_screen();
        window_ = rt_window_open(-1, 0, 0, 64, 48, "Stretch", kGameFlags);
        ASSERT_EQ(rt_screen_open(window_, 0, 0, 64, 48, 1, 0, 0), 1);
        QCoreApplication::processEvents();
    }
    void TearDown() override {
        rt_screen_close();
        rt_window_close(window_);
        while (rt_window_event_poll() != 0) {
        }
    }
    QWidget* client() const { return rt::qt::client_widget(window_); }
    // Pointer at client (x, y), answered in picture coordinates.
    std::pair<int32_t, int32_t> pointer_at(int x, int y) {
        rt_input_post_mouse_move(window_, x, y);
        QCoreApplication::processEvents();
        return {rt_screen_mouse_x(), rt_screen_mouse_y()};
    }
    int32_t window_ = 0;
};

TEST_F(WindowScreenTest, MaximizedWindowShowsTheWholeFrameStretchedOverItsClientArea) {
    rt_screen_clear(kRed);
    rt_draw_start(rt_screen_output());
    rt_draw_box(32, 24, 32, 24, kGreen);  // bottom-right quarter
    rt_draw_stop();
    rt_screen_flip();
    rt::qt::window_widget(window_)->showMaximized();
    QCoreApplication::processEvents();
    const QImage shown = client()->grab().toImage();
    ASSERT_GT(shown.width(), 64 * 2);
    EXPECT_EQ(shown.size(), client()->size());
    const int w = shown.width(), h = shown.height();
    const std::tuple<int, int, QRgb> probes[] = {{0, 0, 0xFF0000},
                                                 {w / 2 - 1, h / 2 - 1, 0xFF0000},
                                                 {w / 2 + 1, h / 2 + 1, 0x00FF00},
                                                 {w - 1, h - 1, 0x00FF00}};
    for (const auto& [x, y, rgb] : probes)
        EXPECT_EQ(shown.pixel(x, y) & 0xFFFFFFu, rgb) << x << "," << y;
}

TEST_F(WindowScreenTest, PointerInPictureCoordinatesAtOneToOneAndStretched) {
    // 1:1: the same answers as the window's client coordinates.
    EXPECT_EQ(pointer_at(63, 47), std::make_pair(63, 47));
    EXPECT_EQ(pointer_at(10, 20), std::make_pair(10, 20));

    rt_window_resize(window_, RT_WINDOW_KEEP, RT_WINDOW_KEEP, 256, 96);  // x4 across, x2 down
    QCoreApplication::processEvents();
    EXPECT_EQ(pointer_at(41, 41), std::make_pair(10, 20));
    EXPECT_EQ(rt_window_mouse_x(window_), 41);  // the window still answers client coordinates
    EXPECT_EQ(pointer_at(255, 95), std::make_pair(63, 47));
    EXPECT_EQ(pointer_at(256, 10), std::make_pair(-1, -1));

    rt_screen_close();
    EXPECT_EQ(pointer_at(41, 41), std::make_pair(-1, -1));
}

// "Caf\xC3\xA9" is five Windows-1252 characters, not UTF-8 for four; 0x80 is
// the euro sign.
TEST_F(WindowScreenTest, TitlesMenuItemsAndDrawnTextShareWindows1252) {
    const char* bytes = "Caf\xC3\xA9 \x80";
    const QString expected = QString::fromUtf8("Caf\u00C3\u00A9 \u20AC");
    const int32_t titled = rt_window_open(-1, 0, 0, 64, 48, bytes, kGameFlags);
    EXPECT_EQ(rt::qt::window_widget(titled)->windowTitle(), expected);
    rt_menu_create(-1, rt_window_handle(titled));
    rt_menu_title(bytes);
    rt_menu_item(1, bytes);
    QMenuBar* bar = rt::qt::window_widget(titled)->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    QMenu* popup = bar->actions().at(0)->menu();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->title(), expected);
    EXPECT_EQ(popup->actions().at(0)->text(), expected);
    EXPECT_EQ(rt::draw::from_8bit(bytes), expected);
    rt_window_close(titled);
}

}  // namespace
