// SPDX-License-Identifier: GPL-3.0-or-later
// Scan codes of keys: from what Qt reports in a key event, and back to a Qt key
// for posting synthetic key events.
#pragma once
#include <QKeyEvent>
#include <cstdint>
#include <optional>

namespace rt::input {

// The scan code (0..255) of the key in the event, or none for a key without one.
std::optional<int32_t> scancode_of(const QKeyEvent& event);

// What a key event for a scan code carries.
struct KeyEventDesc {
    int key = 0;                  // Qt::Key
    quint32 native_scancode = 0;  // 0 when the Qt key alone names the key
    QString text;
};

// A key event description that scancode_of maps back to the same code, or none.
std::optional<KeyEventDesc> key_for_scancode(int32_t scancode);

}  // namespace rt::input
