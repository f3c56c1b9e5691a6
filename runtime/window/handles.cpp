// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/window/handles.h"

#include "runtime/core/rt_core.h"

namespace rt::window {
namespace {

struct HandleRecord {
    HandleKind kind;  // non-zero while in use
    int32_t id;
};

rt_table* handle_table() {
    static rt_table* table = rt_table_new(sizeof(HandleRecord), 2, nullptr);
    return table;
}

}  // namespace

int32_t handle_new(HandleKind kind, int32_t id) {
    int32_t handle = 0;
    auto* record = static_cast<HandleRecord*>(rt_table_alloc(handle_table(), -1, &handle));
    if (!record) return 0;
    *record = HandleRecord{kind, id};
    return handle;
}

void handle_free(int32_t handle) {
    // Only dynamic handles are ever handed out; never touch a numbered slot.
    if (handle < -1) rt_table_remove(handle_table(), handle);
}

std::optional<int32_t> handle_target(HandleKind kind, int32_t handle) {
    if (handle >= -1) return std::nullopt;
    auto* record = static_cast<HandleRecord*>(rt_table_check(handle_table(), handle));
    if (!record || record->kind != kind) return std::nullopt;
    return record->id;
}

}  // namespace rt::window
