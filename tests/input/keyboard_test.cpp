// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard (and its key table) through the real Qt path: key events posted to a runtime
// window (as the player's keys would arrive), snapshots taken by polling.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "runtime/input/rt_input.h"
#include "runtime/window/qt_platform.h"
#include "runtime/window/rt_window.h"

namespace {

class KeyboardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        rt_window_init();
        ASSERT_NE(rt_keyboard_init(), 0);
        window_ = rt_window_open(-1, 0, 0, 320, 200, "Keys", 0xCB0000);
        rt::qt::window_widget(window_)->activateWindow();
        QCoreApplication::processEvents();
    }
    void TearDown() override {
        rt_window_close_all();
        rt_keyboard_end();
    }
    void key(int32_t code, bool down) { ASSERT_EQ(rt_input_post_key(window_, code, down), 1); }
    int32_t window_ = 0;
};

TEST_F(KeyboardTest, NothingIsDownBeforeTheFirstPollAndAHeldKeyStaysDown) {
    key(RT_KEY_SPACE, true);
    QCoreApplication::processEvents();
    EXPECT_EQ(std::pair(rt_key_down(RT_KEY_SPACE), rt_key_down(-1)), std::pair(0, 0));
    ASSERT_EQ(rt_keyboard_poll(), 1);
    EXPECT_EQ(std::pair(rt_key_down(RT_KEY_SPACE), rt_key_down(-1)), std::pair(128, 1));
    // Auto-repeat arrives as release/press pairs: the key stays down.
    QWidget* target = rt::qt::client_widget(window_);
    QCoreApplication::postEvent(
        target, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ", true));
    ASSERT_EQ(rt_keyboard_poll(), 1);
    EXPECT_EQ(rt_key_down(RT_KEY_SPACE), 128);
    key(RT_KEY_SPACE, false);
    ASSERT_EQ(rt_keyboard_poll(), 1);
    EXPECT_EQ(rt_key_down(RT_KEY_SPACE), 0);
}

TEST_F(KeyboardTest, ReleaseIsReportedOnceAfterThePollThatSeesTheKeyUpEvenAfterATap) {
    key(RT_KEY_P, true);
    std::vector<int32_t> answers;
    for (int poll = 0; poll < 5; ++poll) {
        if (poll == 3) key(RT_KEY_P, false);
        ASSERT_EQ(rt_keyboard_poll(), 1);
        answers.push_back(rt_key_released(RT_KEY_P));
    }
    EXPECT_EQ(answers, (std::vector<int32_t>{0, 0, 0, 1, 0}));

    // Tapped between two polls: down in the next snapshot, up in the one after.
    key(RT_KEY_P, true);
    key(RT_KEY_P, false);
    answers.clear();
    for (int poll = 0; poll < 3; ++poll) {
        ASSERT_EQ(rt_keyboard_poll(), 1);
        answers.push_back(rt_key_down(RT_KEY_P) + rt_key_released(RT_KEY_P));
    }
    EXPECT_EQ(answers, (std::vector<int32_t>{128, 1, 0}));
}

// Real key events as a platform delivers them: without a native scan code
// (offscreen, synthetic) the Qt key decides; with one (X11: Linux code + 8)
// the native code decides, the extended keys taking their E0 codes.
TEST_F(KeyboardTest, QtKeyEventsGiveTheGamesScanCodes) {
    // clang-format off
    const struct {
        int qt_key;
        quint32 native;
        int32_t code;
    } cases[] = {
        {Qt::Key_Space, 0, 57}, {Qt::Key_A, 0, 30}, {Qt::Key_D, 0, 32}, {Qt::Key_P, 0, 25},
        {Qt::Key_Q, 0, 16}, {Qt::Key_R, 0, 19}, {Qt::Key_N, 0, 49}, {Qt::Key_Escape, 0, 1},
        {Qt::Key_Return, 0, 28}, {Qt::Key_Enter, 0, 156}, {Qt::Key_Up, 0, 200},
        {Qt::Key_Left, 0, 203}, {Qt::Key_Right, 0, 205}, {Qt::Key_Down, 0, 208},
        {Qt::Key_unknown, 30 + 8, 30}, {Qt::Key_Z, 16 + 8, 16}, {Qt::Key_unknown, 103 + 8, 200},
        {Qt::Key_unknown, 108 + 8, 208}};
    // clang-format on
    QWidget* target = rt::qt::client_widget(window_);
    for (const auto& c : cases) {
        QCoreApplication::postEvent(
            target, new QKeyEvent(QEvent::KeyPress, c.qt_key, Qt::NoModifier, c.native, 0, 0));
        ASSERT_EQ(rt_keyboard_poll(), 1);
        EXPECT_EQ(rt_key_down(c.code), 128) << c.qt_key << " native " << c.native;
        QCoreApplication::postEvent(
            target, new QKeyEvent(QEvent::KeyRelease, c.qt_key, Qt::NoModifier, c.native, 0, 0));
        ASSERT_EQ(rt_keyboard_poll(), 1);
        EXPECT_EQ(rt_key_down(-1), 0) << c.qt_key;
    }
    EXPECT_EQ(rt_input_post_key(window_, 256, 1), 0);
    EXPECT_EQ(rt_input_post_key(window_ + 99, RT_KEY_A, 1), 0);
}

TEST_F(KeyboardTest, AnyKeyLooksAtCodesUpTo254Only) {
    key(255, true);
    ASSERT_EQ(rt_keyboard_poll(), 1);
    EXPECT_EQ(std::tuple(rt_key_down(255), rt_key_down(-1), rt_key_released(-1)),
              std::tuple(128, 0, 0));
    key(255, false);
    key(RT_KEY_ESCAPE, true);
    ASSERT_EQ(rt_keyboard_poll(), 1);
    // Asked while down, the release is watched for; its mark is taken by the first answer.
    EXPECT_EQ((std::pair{rt_key_down(-1), rt_key_released(-1)}), std::pair(1, 0));  // in this order
    key(RT_KEY_ESCAPE, false);
    ASSERT_EQ(rt_keyboard_poll(), 1);
    EXPECT_EQ((std::pair{rt_key_released(-1), rt_key_released(-1)}), std::pair(1, 0));
    EXPECT_EQ(rt_key_down(256) + rt_key_released(-2), 0);
}

TEST_F(KeyboardTest, FocusLossSuspendsTheKeyboardUntilTheWindowHasItAgain) {
    key(RT_KEY_D, true);
    ASSERT_EQ(rt_keyboard_poll(), 1);
    ASSERT_EQ(rt_key_down(RT_KEY_D), 128);

    QWidget other;
    other.show();
    other.activateWindow();
    QCoreApplication::processEvents();
    EXPECT_EQ(rt_keyboard_poll(), 0);
    EXPECT_EQ(rt_key_down(RT_KEY_D) + rt_key_released(RT_KEY_D), 0);

    rt::qt::window_widget(window_)->activateWindow();
    QCoreApplication::processEvents();
    ASSERT_EQ(rt_keyboard_poll(), 1);
    EXPECT_EQ(rt_key_down(RT_KEY_D), 0);  // held through the focus change: forgotten
    key(RT_KEY_A, true);
    ASSERT_EQ(rt_keyboard_poll(), 1);
    EXPECT_EQ(rt_key_down(RT_KEY_A), 128);
}

TEST(KeyboardLifecycle, PollWithoutInitFails) {
    rt_keyboard_end();
    EXPECT_EQ(rt_keyboard_poll(), 0);
}

// The keyboard belongs to the window showing the screen: another window of
// the program taking the focus suspends it just as a foreign window does.
TEST_F(KeyboardTest, SecondRuntimeWindowWithTheFocusSuspendsTheScreensKeyboard) {
    QWidget view(rt::qt::client_widget(window_));  // stands in for the screen's widget
    rt::qt::show_screen_in(&view, 320, 200);
    int32_t second = rt_window_open(-1, 400, 0, 100, 100, "Tools", 0xCB0000);
    rt::qt::window_widget(second)->activateWindow();
    QCoreApplication::processEvents();
    EXPECT_EQ(rt_keyboard_poll(), 0);

    rt::qt::window_widget(window_)->activateWindow();
    QCoreApplication::processEvents();
    EXPECT_EQ(rt_keyboard_poll(), 1);
}

}  // namespace
