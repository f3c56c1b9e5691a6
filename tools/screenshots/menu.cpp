// SPDX-License-Identifier: GPL-3.0-or-later
// The game's menu bar over a dark 1024 x 768 client area, with the "Play"
// popup opened below its title and its locked levels greyed.
#include <QAction>
#include <QDir>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPalette>
#include <string>

#include "runtime/window/qt_platform.h"
#include "runtime/window/rt_window.h"
#include "tools/screenshots/shots.h"

namespace {

void build_game_menu(int32_t window) {
    const int32_t menu = rt_menu_create(-1, rt_window_handle(window));
    rt_menu_submenu_open("Play");
    for (int level = 1; level <= 8; ++level)
        rt_menu_item(level, ("Level" + std::to_string(level)).c_str());
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
    while (rt_window_event_poll() != 0) {
    }
}

}  // namespace

namespace shots {

bool save_menu_bar(const QString& folder) {
    rt_menu_init();
    rt_window_init();
    const int32_t window = rt_window_open(-1, 0, 0, 1024, 768, "Zentara", 0xCB0000);
    if (window == 0) return false;
    build_game_menu(window);
    QWidget* top = rt::qt::window_widget(window);
    QMenuBar* bar = top->findChild<QMenuBar*>();
    QMenu* popup = bar && !bar->actions().isEmpty() ? bar->actions().first()->menu() : nullptr;
    if (!popup) return false;
    // The client area dark, as the game screen would be, so the bar stands out.
    QWidget* client = rt::qt::client_widget(window);
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, QColor(8, 8, 24));
    client->setPalette(palette);
    QImage picture = top->grab().toImage();
    popup->ensurePolished();
    popup->resize(popup->sizeHint());
    QPainter painter(&picture);
    painter.drawPixmap(bar->actionGeometry(bar->actions().first()).bottomLeft(), popup->grab());
    painter.end();
    const bool saved = picture.save(QDir(folder).filePath("menu_bar.png"));
    rt_window_close(window);
    return saved;
}

}  // namespace shots
