// SPDX-License-Identifier: GPL-3.0-or-later
// Menu bars: the builder's depth rules, check and grey states found by command
// id anywhere in the bar, menu events and clean-up with the window.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <string>

#include "runtime/core/rt_core.h"
#include "runtime/window/qt_platform.h"
#include "runtime/window/rt_window.h"
#include "test_support.h"

namespace {

class MenuTest : public rt_test::WindowFixture {
  protected:
    void SetUp() override {
        WindowFixture::SetUp();
        window_ = open();
    }
    QMenuBar* bar() const { return rt::qt::window_widget(window_)->findChild<QMenuBar*>(); }
    QStringList titles() const {
        QStringList result;
        for (QAction* action : bar()->actions()) result << action->text();
        return result;
    }
    int32_t window_ = 0;
};

TEST_F(MenuTest, TitleGoesToTheBarWhateverPopupIsOpen) {
    rt_menu_create(-1, rt_window_handle(window_));
    rt_menu_submenu_open("Outer");
    rt_menu_submenu_open("Inner");
    rt_menu_item(1, "deep");
    rt_menu_title("Second");  // at depth 2
    rt_menu_item(2, "in second");
    EXPECT_EQ(titles(), (QStringList{"Outer", "Second"}));

    // Back at the bar, one close too many changes nothing: the next item lands
    // on the bar itself.
    rt_menu_submenu_close();
    rt_menu_submenu_close();
    rt_menu_item(3, "on bar");
    EXPECT_EQ(titles(), (QStringList{"Outer", "Second", "on bar"}));
}

TEST_F(MenuTest, CheckMarksAndGreyingByCommandIdInNestedPopups) {
    int32_t menu = rt_menu_create(-1, rt_window_handle(window_));
    rt_menu_title("Options");
    rt_menu_submenu_open("More");
    rt_menu_submenu_open("Even more");
    rt_menu_item(42, "Nested");
    rt_menu_submenu_close();
    rt_menu_submenu_close();
    rt_menu_item(1001, "Disable enemys");

    for (int32_t state : {1, 1, 0}) {
        rt_menu_item_set_state(menu, 1001, state);
        EXPECT_EQ(rt_menu_item_state(menu, 1001), state);
    }

    rt_menu_item_set_state(menu, 42, 1);
    rt_menu_item_disable(menu, 42, 1);
    EXPECT_EQ(rt_menu_item_state(menu, 42), 1);
    QAction* nested = nullptr;
    for (QAction* action : bar()->findChildren<QAction*>()) {
        if (action->text() == "Nested") nested = action;
    }
    ASSERT_NE(nested, nullptr);
    EXPECT_TRUE(!nested->isEnabled() && nested->isChecked());
    EXPECT_EQ(rt_window_post_menu(window_, 42), 0);  // a grey item cannot be chosen
    rt_menu_item_disable(menu, 42, 0);
    EXPECT_TRUE(nested->isEnabled());

    // Unknown items fail.
    rt_menu_item_set_state(menu, 9999, 1);
    EXPECT_STREQ(rt_error(), "rt_menu_item_set_state: no item with that command id");
}

TEST_F(MenuTest, RecordsGoWithTheirWindowAndFreeDetachesTheBar) {
    int32_t menu = rt_menu_create(-1, rt_window_handle(window_));
    rt_menu_title("Play");
    rt_menu_item(1, "Level1");
    rt_menu_item_set_state(menu, 1, 1);
    ASSERT_EQ(rt_menu_item_state(menu, 1), 1);
    rt_window_close(window_);
    EXPECT_EQ(rt_menu_item_state(menu, 1), 0);
    rt_menu_free(menu);       // already gone: ignored
    rt_menu_item(2, "late");  // the builder's popup went with the window

    window_ = open();
    int32_t second = rt_menu_create(-1, rt_window_handle(window_));
    rt_menu_title("Close");
    rt_menu_item(1000, "Close");
    ASSERT_NE(bar(), nullptr);
    rt_menu_free(second);
    EXPECT_EQ(bar(), nullptr);
    EXPECT_EQ(rt::qt::client_widget(window_)->size(), QSize(320, 200));
}

}  // namespace
