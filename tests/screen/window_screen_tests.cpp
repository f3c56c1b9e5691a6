// SPDX-License-Identifier: GPL-3.0-or-later
// The screen in a window the player can maximize or show full screen: the
// enlarged picture, the pointer read back in picture coordinates, and the one 8-bit encoding of
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

// A 2:1 picture, so that a full-screen window (the offscreen screen is square)
// shows bars above and below it.
class WindowScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        open_screen();
        window_ = rt_window_open(-1, 0, 0, 64, 32, "Stretch", kGameFlags);
        ASSERT_EQ(rt_screen_open(window_, 0, 0, 64, 32, 1, 0, 0), 1);
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

// Maximized, the picture fills the client area; full screen, it keeps its
// shape between black bars. Both smoothed: probes stay clear of the edge
// between the colours.
TEST_F(WindowScreenTest, MaximizedFillsTheClientAreaAndFullScreenKeepsTheShape) {
    rt_screen_clear(kRed);
    rt_draw_start(rt_screen_output());
    rt_draw_box(32, 16, 32, 16, kGreen);  // bottom-right quarter
    rt_draw_stop();
    rt_screen_flip();
    rt::qt::window_widget(window_)->showMaximized();
    QCoreApplication::processEvents();
    for (const bool full_screen : {false, true}) {
        const QImage shown = client()->grab().toImage();
        ASSERT_GT(shown.width(), 64 * 2);
        const int w = shown.width(), h = shown.height();
        const int bar = full_screen ? (h - w / 2) / 2 : 0;
        ASSERT_EQ(bar > 0, full_screen);
        const std::tuple<int, int, QRgb> probes[] = {{0, bar, 0xFF0000},
                                                     {w / 4, bar + (h - 2 * bar) / 4, 0xFF0000},
                                                     {3 * w / 4, h - bar - 2, 0x00FF00},
                                                     {w - 1, h - bar - 1, 0x00FF00},
                                                     {w / 2, bar - 1, 0},
                                                     {w / 2, h - bar, 0}};
        for (const auto& [x, y, rgb] : probes) {
            if (y < 0 || y >= h) continue;  // the bars' probes while maximized
            EXPECT_EQ(shown.pixel(x, y) & 0xFFFFFFu, rgb) << x << "," << y;
        }
        rt_window_toggle_fullscreen(window_);
        QCoreApplication::processEvents();
    }
}

// The pointer answers the picture pixel shown under it; on a bar, the
// nearest edge.
TEST_F(WindowScreenTest, PointerInPictureCoordinatesAtOneToOneStretchedAndFullScreen) {
    EXPECT_EQ(pointer_at(63, 31), std::make_pair(63, 31));
    EXPECT_EQ(pointer_at(10, 20), std::make_pair(10, 20));

    rt_window_resize(window_, RT_WINDOW_KEEP, RT_WINDOW_KEEP, 256, 64);  // x4 across, x2 down
    QCoreApplication::processEvents();
    EXPECT_EQ(pointer_at(41, 41), std::make_pair(10, 20));
    EXPECT_EQ(rt_window_mouse_x(window_), 41);  // the window still answers client coordinates
    EXPECT_EQ(pointer_at(255, 63), std::make_pair(63, 31));
    EXPECT_EQ(pointer_at(256, 10), std::make_pair(-1, -1));

    rt_window_toggle_fullscreen(window_);
    QCoreApplication::processEvents();
    ASSERT_EQ(client()->size(), QSize(800, 800));  // the picture: 800 x 400 from y = 200
    const std::pair<QPoint, std::pair<int32_t, int32_t>> cases[] = {
        {{0, 0}, {0, 0}},       {{12, 212}, {1, 1}},    {{400, 400}, {32, 16}},
        {{799, 599}, {63, 31}}, {{799, 799}, {63, 31}}, {{405, 199}, {32, 0}}};
    for (const auto& [at, picture] : cases)
        EXPECT_EQ(pointer_at(at.x(), at.y()), picture) << at.x() << "," << at.y();
    // Posted in picture coordinates, the pointer lands where that pixel shows.
    for (const auto& [x, y] : {std::pair(0, 0), std::pair(63, 31), std::pair(32, 16)}) {
        ASSERT_EQ(rt_input_post_screen_mouse_move(x, y), 1);
        QCoreApplication::processEvents();
        EXPECT_EQ(std::make_pair(rt_screen_mouse_x(), rt_screen_mouse_y()), std::make_pair(x, y));
    }

    rt_screen_close();
    EXPECT_EQ(pointer_at(41, 41), std::make_pair(-1, -1));
}

// The game's 4:3 picture full screen on a wide desktop: bars left and right.
TEST(PictureArea, AWidePictureAreaHasBarsLeftAndRight) {
    EXPECT_EQ(rt::qt::picture_area(QSize(1920, 1061), QSize(1024, 768), true),
              QRect(252, 0, 1415, 1061));
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
