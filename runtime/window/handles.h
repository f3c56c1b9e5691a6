// SPDX-License-Identifier: GPL-3.0-or-later
// Platform handles of windows and menus. A window or menu opened with -1 is
// named by its id, which doubles as its handle; one opened under a number of
// the caller's choosing gets a handle of its own here, so that a handle never
// looks like a slot number of any table.
#pragma once
#include <cstdint>
#include <optional>

namespace rt::window {

enum class HandleKind : int32_t { window = 1, menu = 2 };

// A fresh handle naming the object id of that kind.
int32_t handle_new(HandleKind kind, int32_t id);
void handle_free(int32_t handle);
// The object id a handle names, if it is a live handle of that kind.
std::optional<int32_t> handle_target(HandleKind kind, int32_t handle);

}  // namespace rt::window
