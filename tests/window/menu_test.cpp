// Menu bars: the builder's depth rules, check and grey states found by command
// id anywhere in the bar, menu events, clean-up with the window, and a
// picture of the game's menu bar.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <cstdlib>
#include <string>

#include "runtime/window/qt_platform.h"
#include "runtime/window/rt_window.h"
#include "test_support.h"

using rt_test::drain;

namespace {

class MenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        rt_menu_init();
        rt_window_init();
        window_ = rt_window_open(-1, 0, 0, 320, 200, "Menus", 0xCB0000);
        drain();
    }
    void TearDown() override {
        rt_window_close_all();
        drain();
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

    rt_menu_item_set_state(menu, 1001, 1);
    rt_menu_item_set_state(menu, 1001, 1);
    EXPECT_EQ(rt_menu_item_state(menu, 1001), 1);
    rt_menu_item_set_state(menu, 1001, 0);
    EXPECT_EQ(rt_menu_item_state(menu, 1001), 0);

    rt_menu_item_set_state(menu, 42, 1);
    rt_menu_item_disable(menu, 42, 1);
    EXPECT_EQ(rt_menu_item_state(menu, 42), 1);
    QAction* nested = nullptr;
    for (QAction* action : bar()->findChildren<QAction*>()) {
        if (action->text() == "Nested") nested = action;
    }
    ASSERT_NE(nested, nullptr);
    EXPECT_FALSE(nested->isEnabled());
    EXPECT_TRUE(nested->isChecked());
    EXPECT_EQ(rt_window_post_menu(window_, 42), 0);  // a grey item cannot be chosen
    rt_menu_item_disable(menu, 42, 0);
    EXPECT_TRUE(nested->isEnabled());

    // Unknown menus and items are ignored.
    EXPECT_EQ(rt_menu_item_state(menu + 777, 1001), 0);
    EXPECT_EQ(rt_menu_item_state(menu, 9999), 0);
    rt_menu_item_disable(menu + 777, 1001, 1);
    rt_menu_item_set_state(menu, 9999, 1);
}

TEST_F(MenuTest, ChoosingAnItemReportsItsCommandAndLeavesTheMarkToTheProgram) {
    int32_t menu = rt_menu_create(-1, rt_window_handle(window_));
    rt_menu_title("Disable");
    rt_menu_item(1003, "Disable ship");
    rt_menu_item_set_state(menu, 1003, 1);
    drain();
    ASSERT_EQ(rt_window_post_menu(window_, 1003), 1);
    EXPECT_EQ(rt_window_event_wait(), RT_EVENT_MENU);
    EXPECT_EQ(rt_event_item(), 1003);
    EXPECT_EQ(rt_event_window(), window_);
    EXPECT_EQ(rt_menu_item_state(menu, 1003), 1);
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

    window_ = rt_window_open(-1, 0, 0, 320, 200, "Again", 0xCB0000);
    int32_t second = rt_menu_create(-1, rt_window_handle(window_));
    rt_menu_title("Close");
    rt_menu_item(1000, "Close");
    ASSERT_NE(bar(), nullptr);
    rt_menu_free(second);
    EXPECT_EQ(bar(), nullptr);
    EXPECT_EQ(rt::qt::client_widget(window_)->size(), QSize(320, 200));
}

// Builds the game's menu bar on a 1024 x 768 client area and grabs the window.
// With ZENTARA_SCREENSHOT_DIR set, the picture is written there as
// menu_bar.png (the documentation keeps one).
TEST(MenuScreenshot, GameMenuBar) {
    rt_menu_init();
    rt_window_init();
    int32_t window = rt_window_open(-1, 0, 0, 1024, 768, "Zentara", 0xCB0000);
    int32_t menu = rt_menu_create(-1, rt_window_handle(window));
    rt_menu_submenu_open("Play");
    for (int level = 1; level <= 8; ++level) {
        rt_menu_item(level, ("Level" + std::to_string(level)).c_str());
    }
    for (int level = 3; level <= 8; ++level) rt_menu_item_disable(menu, level, 1);
    rt_menu_submenu_close();
    rt_menu_title("Disable");
    rt_menu_item(1001, "Disable enemys");
    rt_menu_item(1002, "Disable rockets");
    rt_menu_item(1003, "Disable ship");
    rt_menu_title("Close");
    rt_menu_item(1000, "Close");
    rt_menu_title("?");
    rt_menu_item(1004, "Zentara - written and drawn by the Zentara team");
    drain();

    QWidget* top = rt::qt::window_widget(window);
    QMenuBar* bar = top->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);

    // Paint the client area dark, as the game screen would, so the bar stands out.
    QWidget* client = rt::qt::client_widget(window);
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, QColor(8, 8, 24));
    client->setPalette(palette);
    QImage picture = top->grab().toImage();
    ASSERT_EQ(picture.width(), 1024);
    ASSERT_EQ(picture.height(), 768 + bar->height());
    // The bar shows text: its strip is not one flat colour.
    QImage strip = picture.copy(0, 0, 200, bar->height());
    bool varied = false;
    for (int y = 0; y < strip.height() && !varied; ++y) {
        for (int x = 1; x < strip.width() && !varied; ++x)
            varied = strip.pixel(x, y) != strip.pixel(0, 0);
    }
    EXPECT_TRUE(varied);
    // Show the "Play" popup opened below its title, with its greyed levels.
    QAction* play = bar->actions().first();
    QMenu* popup = play->menu();
    ASSERT_NE(popup, nullptr);
    popup->ensurePolished();
    popup->resize(popup->sizeHint());
    QPainter painter(&picture);
    painter.drawPixmap(bar->actionGeometry(play).bottomLeft(), popup->grab());
    painter.end();
    if (const char* dir = std::getenv("ZENTARA_SCREENSHOT_DIR")) {
        EXPECT_TRUE(picture.save(QDir(dir).filePath("menu_bar.png")));
    }
    rt_window_close(window);
}

}  // namespace
