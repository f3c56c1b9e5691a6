// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop table from Qt's list of screens, the primary screen first.
#include <QGuiApplication>
#include <QScreen>
#include <array>
#include <cmath>
#include <cstring>
#include <mutex>
#include <vector>

#include "runtime/core/boundary.h"
#include "runtime/window/qt_platform.h"
#include "runtime/window/rt_window.h"

namespace {

struct DesktopInfo {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t frequency = 0;  // Hz; 0 = the display's default
    int32_t depth = 0;
    std::array<char, 32> name{};
};

std::mutex g_desktops_lock;
std::vector<DesktopInfo> g_desktops;

DesktopInfo describe(const QScreen& screen) {
    DesktopInfo info;
    QRect area = screen.geometry();
    info.x = area.x();
    info.y = area.y();
    info.width = area.width();
    info.height = area.height();
    int rate = static_cast<int>(std::lround(screen.refreshRate()));
    info.frequency = rate <= 1 ? 0 : rate;  // 1 is how "default rate" is reported
    info.depth = screen.depth();
    QByteArray name = screen.name().toLocal8Bit();
    std::strncpy(info.name.data(), name.constData(), info.name.size() - 1);
    return info;
}

int32_t field(const char* function, int32_t index, int32_t DesktopInfo::*member) {
    return rt::core::guarded(function, 0, [&] {
        std::lock_guard lock(g_desktops_lock);
        if (index < 0 || index >= static_cast<int32_t>(g_desktops.size()))
            return rt::core::fail(0, "no such desktop (rt_desktop_examine)");
        return g_desktops[static_cast<size_t>(index)].*member;
    });
}

}  // namespace

extern "C" int32_t rt_desktop_examine(void) {
    return rt::core::guarded(__func__, 0, [] {
        rt::qt::app();
        std::vector<DesktopInfo> table;
        QScreen* primary = QGuiApplication::primaryScreen();
        if (primary) table.push_back(describe(*primary));
        for (QScreen* screen : QGuiApplication::screens()) {
            if (screen != primary) table.push_back(describe(*screen));
        }
        std::lock_guard lock(g_desktops_lock);
        g_desktops = std::move(table);
        return static_cast<int32_t>(g_desktops.size());
    });
}

extern "C" int32_t rt_desktop_width(int32_t index) {
    return field(__func__, index, &DesktopInfo::width);
}

extern "C" int32_t rt_desktop_height(int32_t index) {
    return field(__func__, index, &DesktopInfo::height);
}

// No display-enumeration library is loaded on this platform, so there is
// nothing to release; the table stays readable until the next examination.
extern "C" void rt_desktop_free(void) {
    rt::core::guarded(__func__, [] {});
}
