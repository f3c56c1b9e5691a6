// SPDX-License-Identifier: GPL-3.0-or-later
// Windows and their events, driven through the real Qt path on the offscreen
// platform: Qt events are sent to the runtime's widgets and come back as the
// runtime's numbered events.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QExposeEvent>
#include <QMenuBar>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <utility>

#include "runtime/window/qt_platform.h"
#include "runtime/window/rt_window.h"
#include "test_support.h"

using rt_test::drain;
using rt_test::numbered;

namespace {

using WindowTest = rt_test::WindowFixture;
using rt_test::kGameFlags;

TEST_F(WindowTest, MenuEventCarriesItsItemUntilTheNextMenuEvent) {
    int32_t window = open();
    int32_t menu = rt_menu_create(-1, rt_window_handle(window));
    rt_menu_title("Game");
    rt_menu_item(7, "Seven");
    rt_menu_item(8, "Eight");
    ASSERT_NE(menu, 0);
    rt_menu_item_set_state(menu, 7, 1);
    drain();

    ASSERT_EQ(rt_window_post_menu(window, 7), 1);
    EXPECT_EQ(rt_window_event_poll(), RT_EVENT_MENU);
    EXPECT_EQ(std::pair(rt_event_item(), rt_event_window()), std::pair(7, window));
    EXPECT_EQ(rt_menu_item_state(menu, 7), 1);  // choosing leaves the check mark to the program

    // A close request: reported, window stays open, item unchanged.
    QWidget* top = rt::qt::window_widget(window);
    EXPECT_FALSE(top->close());
    EXPECT_EQ(numbered(drain()), std::vector<int32_t>{RT_EVENT_CLOSE});
    EXPECT_EQ(std::pair(rt_event_item(), rt_event_window()), std::pair(7, window));
    EXPECT_TRUE(top->isVisible() && rt_window_handle(window) != 0);

    ASSERT_EQ(rt_window_post_menu(window, 8), 1);
    EXPECT_EQ(rt_window_event_wait(), RT_EVENT_MENU);
    EXPECT_EQ(rt_event_item(), 8);
}

TEST_F(WindowTest, TwoRepaintsComeOutOnceAndAnEmptyPollKeepsTheSnapshot) {
    int32_t window = open();
    QWindow* platform = rt::qt::window_widget(window)->windowHandle();
    ASSERT_NE(platform, nullptr);
    QRegion area(0, 0, 10, 10);
    QExposeEvent first(area), second(area);
    QCoreApplication::sendEvent(platform, &first);
    QCoreApplication::sendEvent(platform, &second);
    EXPECT_EQ(numbered(drain()), std::vector<int32_t>{RT_EVENT_REPAINT});
    EXPECT_EQ(rt_event_window(), window);
    // Polling with nothing pending answers 0 and keeps the snapshot.
    rt::qt::window_widget(window)->close();
    ASSERT_EQ(rt_window_event_poll(), RT_EVENT_CLOSE);
    EXPECT_EQ(rt_window_event_poll(), 0);
    EXPECT_EQ(rt_event_window(), window);
}

TEST_F(WindowTest, MinimizeAndRestoreReportTheirCodesInOrder) {
    int32_t window = open(kGameFlags | RT_WINDOW_SIZEBORDER);
    QWidget* top = rt::qt::window_widget(window);
    auto states = [](std::vector<int32_t> codes) {
        // Activation and repaint follow the platform's focus handling; the
        // sizing codes are what is checked here.
        std::erase_if(codes, [](int32_t c) {
            return c == RT_EVENT_ACTIVATE || c == RT_EVENT_REPAINT || c == RT_EVENT_MOVE;
        });
        return codes;
    };
    const std::pair<void (QWidget::*)(), std::vector<int32_t>> steps[] = {
        {&QWidget::showMinimized, {RT_EVENT_MINIMIZE}},
        {&QWidget::showNormal, {RT_EVENT_RESTORE, RT_EVENT_SIZE}}};  // maximizing: the sizing tests
    for (const auto& [show, codes] : steps) {
        (top->*show)();
        EXPECT_EQ(states(numbered(drain())), codes);
    }
}

TEST_F(WindowTest, OpeningFlagsIdsAndHandles) {
    QWidget* hidden = rt::qt::window_widget(open(RT_WINDOW_INVISIBLE));
    ASSERT_NE(hidden, nullptr);
    EXPECT_FALSE(hidden->isVisible());
    EXPECT_TRUE(hidden->windowFlags() &
                Qt::WindowTitleHint);  // only placement bits given: a caption

    int32_t first = open();
    EXPECT_EQ(rt_window_handle(first), first);

    // A window under a number of the caller's: the result is its handle, which
    // names it wherever a handle is taken.
    int32_t handle = rt_window_open(5, 0, 0, 64, 48, nullptr, 0);
    ASSERT_TRUE(handle != 0 && handle != 5);
    EXPECT_EQ(rt_window_handle(5), handle);
    EXPECT_EQ(rt::qt::client_widget(handle), rt::qt::client_widget(5));
    rt_window_close(5);
    EXPECT_EQ(rt::qt::window_widget(handle), nullptr);
}

TEST_F(WindowTest, ClientAreaKeepsItsSizeBelowTheMenuBarAndResizeKeepsValues) {
    int32_t window = open(kGameFlags, 320, 200);
    QWidget* top = rt::qt::window_widget(window);
    QWidget* client = rt::qt::client_widget(window);
    rt_menu_create(-1, rt_window_handle(window));
    rt_menu_title("Play");
    rt_menu_item(1, "Level1");
    drain();
    QMenuBar* bar = top->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(client->size(), QSize(320, 200));
    EXPECT_EQ(client->y(), bar->height());
    EXPECT_EQ(top->height(), 200 + bar->height());

    const QRect before = top->geometry();
    const QPoint before_pos = top->pos();
    const int32_t keep = RT_WINDOW_KEEP;
    EXPECT_EQ(rt_window_resize(window, keep, keep, keep, keep), 1);
    EXPECT_EQ(top->geometry(), before);
    EXPECT_EQ(client->size(), QSize(320, 200));
    EXPECT_TRUE(drain().empty());

    EXPECT_EQ(rt_window_resize(window, 30, keep, 400, keep), 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(client->size(), QSize(400, 200));
    EXPECT_EQ(top->pos(), QPoint(30, before_pos.y()));
}

TEST_F(WindowTest, InputWithoutANumberedEventWakesTheLoopWithItsMessageNumber) {
    int32_t window = open();
    QWidget* client = rt::qt::client_widget(window);
    const QPointF at(3, 4), global = client->mapToGlobal(at);
    const std::pair<QEvent*, int32_t> inputs[] = {
        {new QKeyEvent(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier), RT_EVENT_KEYDOWN},
        {new QMouseEvent(QEvent::MouseMove, at, global, Qt::NoButton, Qt::NoButton, Qt::NoModifier),
         RT_EVENT_MOUSEMOVE},
        {new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::RightButton, Qt::RightButton,
                         Qt::NoModifier),
         RT_EVENT_RBUTTONDOWN}};
    for (const auto& [event, code] : inputs) {
        QCoreApplication::postEvent(client, event);  // the queue takes it over
        EXPECT_EQ((std::pair{rt_window_event_wait(), rt_event_window()}), std::pair(code, window));
    }
}

TEST_F(WindowTest, DesktopTableStartsWithThePrimaryScreen) {
    const int32_t count = rt_desktop_examine();
    ASSERT_EQ(count, static_cast<int32_t>(QGuiApplication::screens().size()));
    EXPECT_EQ(QSize(rt_desktop_width(0), rt_desktop_height(0)),
              QGuiApplication::primaryScreen()->geometry().size());
    rt_desktop_free();
}

}  // namespace
