// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/input/key_table.h"

#include <cstddef>

namespace rt::input {
namespace {

constexpr uint8_t kDown = 128;
// Code 255 is outside what "any key" looks at.
constexpr int32_t kAnyKeyLast = 254;

bool valid(int32_t scancode) {
    return scancode >= 0 && scancode <= 255;
}

}  // namespace

void KeyTable::destroy() {
    *this = KeyTable{};
}

void KeyTable::set_live(int32_t scancode, bool down) {
    if (!valid(scancode)) return;
    const auto index = static_cast<std::size_t>(scancode);
    live_[index] = down ? kDown : 0;
    if (down) pressed_[index] = kDown;
}

std::array<uint8_t, 256> KeyTable::next_snapshot() const {
    std::array<uint8_t, 256> snapshot = live_;
    for (std::size_t code = 0; code < snapshot.size(); ++code) snapshot[code] |= pressed_[code];
    return snapshot;
}

bool KeyTable::poll(bool has_focus, const std::array<uint8_t, 256>& snapshot) {
    if (stage_ == no_device) return false;
    pressed_.fill(0);
    if (!has_focus) {
        stage_ = not_acquired;
        state_.fill(0);
        return false;
    }
    stage_ = acquired;
    state_ = snapshot;
    return true;
}

int32_t KeyTable::key_down(int32_t scancode) const {
    if (stage_ != acquired) return 0;
    if (scancode == -1) {
        for (int32_t code = 0; code <= kAnyKeyLast; ++code) {
            if (state_[static_cast<std::size_t>(code)] & kDown) return 1;
        }
        return 0;
    }
    return valid(scancode) ? (state_[static_cast<std::size_t>(scancode)] & kDown) : 0;
}

bool KeyTable::released_one(int32_t scancode) {
    auto index = static_cast<std::size_t>(scancode);
    if (state_[index] & kDown) {
        release_marks_[index] = 1;
        return false;
    }
    if (release_marks_[index]) {
        release_marks_[index] = 0;
        return true;
    }
    return false;
}

int32_t KeyTable::key_released(int32_t scancode) {
    if (stage_ != acquired) return 0;
    if (scancode == -1) {
        bool any = false;
        for (int32_t code = 0; code <= kAnyKeyLast; ++code) any = released_one(code) || any;
        return any ? 1 : 0;
    }
    return valid(scancode) && released_one(scancode) ? 1 : 0;
}

KeyTable& key_table() {
    static KeyTable table;
    return table;
}

}  // namespace rt::input
