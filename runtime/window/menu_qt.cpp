// SPDX-License-Identifier: GPL-3.0-or-later
// Menu bars on Qt: a menu record owns a QMenuBar; titles and popups are
// QMenus, items are QActions carrying their command id. The builder state
// (menu under construction, open popups) is kept per thread.
#include "runtime/window/menu_qt.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <array>
#include <memory>
#include <new>

#include "runtime/core/boundary.h"
#include "runtime/core/rt_core.h"
#include "runtime/window/event_queue.h"
#include "runtime/window/handles.h"
#include "runtime/window/rt_window.h"
#include "runtime/window/window_frame_qt.h"
#include "runtime/window/window_procedure_qt.h"
#include "runtime/window/window_table_qt.h"

namespace rt::window {
namespace {

constexpr int kMaxDepth = 64;
const char* const kCommandProperty = "rt_command";

struct MenuRecord {
    int32_t live = 1;  // first word non-zero while the menu exists
    int32_t handle = 0;
    std::optional<int32_t> window;  // id of the window the bar belongs to
    QPointer<QMenuBar> bar;
};

struct MenuBuilder {
    int32_t record = 0;
    bool has_record = false;
    QPointer<QWidget> current;
    std::array<QPointer<QWidget>, kMaxDepth> parents;
    int depth = 0;
};

MenuBuilder& builder() {
    thread_local MenuBuilder state;
    return state;
}

rt_table* menu_table() {
    static rt_table* table = rt_table_new(sizeof(MenuRecord), 16, rt_menu_free);
    return table;
}

MenuRecord* record_of(int32_t id) {
    return static_cast<MenuRecord*>(rt_table_check(menu_table(), id));
}

MenuRecord* building() {
    MenuBuilder& b = builder();
    return b.has_record ? record_of(b.record) : nullptr;
}

// Shows the bar in its window again so that a change to it shows.
void attach(MenuRecord& record) {
    if (!record.window || !record.bar) return;
    if (WindowFrame* frame = frame_by_id(*record.window)) frame->attach_menu_bar(record.bar);
}

// The item with that command id, searched depth-first through every popup.
QAction* find_item(const QWidget* menu, int32_t command) {
    if (!menu) return nullptr;
    for (QAction* action : menu->actions()) {
        if (QMenu* popup = action->menu()) {
            if (QAction* found = find_item(popup, command)) return found;
        } else if (action->property(kCommandProperty).isValid() &&
                   action->property(kCommandProperty).toInt() == command) {
            return action;
        }
    }
    return nullptr;
}

// A chosen item is reported as a menu event of the window showing the bar.
// The check mark belongs to the program, which flips it itself when it wants
// to: Qt's own toggling of a checkable item is undone.
void on_triggered(QAction* action, bool checked) {
    if (action->isCheckable()) {
        QSignalBlocker quiet(action);
        action->setChecked(!checked);
    }
    QWidget* top = nullptr;
    for (QObject* object = action->parent(); object; object = object->parent()) {
        if (auto* bar = qobject_cast<QMenuBar*>(object)) {
            top = bar->window();
            break;
        }
    }
    WindowFrame* frame = frame_of(top);
    if (!frame) return;
    int32_t command = action->property(kCommandProperty).toInt() & 0xFFFF;
    event_state().queue({RT_EVENT_MENU, frame->id(), command});
}

}  // namespace

void menus_window_destroyed(int32_t window_id, QMenuBar* current_bar) {
    rt_table* table = menu_table();
    rt_table_first(table);
    int32_t id = 0;
    while (auto* record = static_cast<MenuRecord*>(rt_table_next(table, &id))) {
        if (current_bar && record->bar == current_bar) {
            // The bar goes with the window; only the record is left to remove.
            record->bar = nullptr;
            rt_menu_free(id);
        } else if (record->window == window_id) {
            record->window.reset();
        }
    }
}

}  // namespace rt::window

using namespace rt::window;

using rt::core::fail;
using rt::core::guarded;
using rt::core::record_failure;

namespace {

constexpr const char* kNoMenu = "no such menu";
constexpr const char* kNoItem = "no item with that command id";

// Runs a function on the item of a menu with that command id.
template <class Result, class Work>
Result on_item(const char* function, Result failure, int32_t menu, int32_t command, Work&& work) {
    return guarded(function, failure, [&]() -> Result {
        MenuRecord* record = record_of(menu);
        if (record == nullptr) return fail(failure, kNoMenu);
        QAction* action = find_item(record->bar.data(), command);
        if (action == nullptr) return fail(failure, kNoItem);
        return work(*action);
    });
}

}  // namespace

extern "C" void rt_menu_init(void) {
    guarded(__func__, [] {
        menu_table();
        builder();
    });
}

extern "C" int32_t rt_menu_create(int32_t id, int32_t window_handle) {
    return guarded(__func__, 0, [&] {
        if (id < -1 || id > RT_TABLE_MAX_ID) return fail(0, "not -1 or a slot number");
        WindowFrame* frame = frame_by_id_or_handle(window_handle);
        if (frame == nullptr) return fail(0, "no such window");
        ensure_gui();
        int32_t new_id = 0;
        void* memory = rt_table_alloc(menu_table(), id, &new_id);
        if (!memory) return 0;  // the table said why
        auto* record = new (memory) MenuRecord;
        auto bar = std::make_unique<QMenuBar>();
        bar->setNativeMenuBar(false);
        record->bar = bar.release();  // owned by the record until a window shows it
        record->window = frame->id();
        record->handle = (id == -1) ? new_id : handle_new(HandleKind::menu, new_id);

        MenuBuilder& b = builder();
        b.record = new_id;
        b.has_record = true;
        b.current = record->bar.data();
        return id == -1 ? new_id : record->handle;
    });
}

extern "C" void rt_menu_submenu_open(const char* text) {
    guarded(__func__, [&] {
        MenuBuilder& b = builder();
        if (!b.current) return record_failure("no menu under construction");
        if (b.depth >= kMaxDepth) return record_failure("popups nested too deep");
        auto* popup = new QMenu(text_from_program(text), b.current);
        b.current->addAction(popup->menuAction());
        b.parents[b.depth++] = b.current;
        b.current = popup;
    });
}

extern "C" void rt_menu_submenu_close(void) {
    guarded(__func__, [] {
        MenuBuilder& b = builder();
        if (b.depth == 0) return record_failure("no popup is open");
        b.current = b.parents[--b.depth];
    });
}

extern "C" void rt_menu_title(const char* text) {
    guarded(__func__, [&] {
        MenuRecord* record = building();
        if (!record || !record->bar) return record_failure("no menu under construction");
        MenuBuilder& b = builder();
        b.depth = 0;
        b.current = record->bar.data();
        rt_menu_submenu_open(text);
        attach(*record);
    });
}

extern "C" void rt_menu_item(int32_t command_id, const char* text) {
    guarded(__func__, [&] {
        MenuBuilder& b = builder();
        if (!b.current) return record_failure("no menu under construction");
        auto* action = new QAction(text_from_program(text), b.current);
        action->setProperty(kCommandProperty, command_id);
        QObject::connect(action, &QAction::triggered, action,
                         [action](bool checked) { on_triggered(action, checked); });
        b.current->addAction(action);
        if (MenuRecord* record = building()) attach(*record);
    });
}

extern "C" void rt_menu_item_disable(int32_t menu, int32_t command_id, int32_t state) {
    on_item(__func__, 0, menu, command_id, [state](QAction& action) {
        action.setEnabled(state == 0);
        return 0;
    });
}

extern "C" int32_t rt_menu_item_state(int32_t menu, int32_t command_id) {
    return on_item(__func__, 0, menu, command_id,
                   [](QAction& action) { return action.isChecked() ? 1 : 0; });
}

extern "C" void rt_menu_item_set_state(int32_t menu, int32_t command_id, int32_t state) {
    on_item(__func__, 0, menu, command_id, [state](QAction& action) {
        // Only a checkable action shows a mark; an unchecked item looks plain.
        action.setCheckable(state != 0);
        action.setChecked(state != 0);
        return 0;
    });
}

extern "C" void rt_menu_free(int32_t menu) {
    guarded(__func__, [&] {
        MenuRecord* record = record_of(menu);
        if (!record) return record_failure(kNoMenu);
        if (record->bar) {
            if (record->window) {
                if (WindowFrame* frame = frame_by_id(*record->window))
                    frame->detach_menu_bar(record->bar);
            }
            delete record->bar.data();
        }
        if (record->handle != menu) handle_free(record->handle);
        MenuBuilder& b = builder();
        if (b.has_record && b.record == menu) b = MenuBuilder{};
        record->~MenuRecord();
        rt_table_remove(menu_table(), menu);
    });
}

extern "C" int32_t rt_window_post_menu(int32_t window, int32_t command_id) {
    return guarded(__func__, 0, [&] {
        WindowFrame* frame = frame_by_id(window);
        if (!frame) return fail(0, "no such window");
        if (!frame->menu_bar()) return fail(0, "the window has no menu bar");
        QAction* action = find_item(frame->menu_bar(), command_id);
        if (!action) return fail(0, kNoItem);
        if (!action->isEnabled()) return fail(0, "the item is disabled");
        // Through the event loop, as a click would come, so a waiting fetch wakes.
        QMetaObject::invokeMethod(action, &QAction::trigger, Qt::QueuedConnection);
        return 1;
    });
}
