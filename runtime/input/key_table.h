// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard snapshot and its key tests, apart from where key presses come
// from: the platform layer feeds the live table and says whether the game
// window has the focus when a snapshot is taken.
#pragma once
#include <array>
#include <cstdint>

namespace rt::input {

class KeyTable {
  public:
    enum Stage : int32_t { no_device = 0, not_acquired = 1, acquired = 2 };

    void create() {
        if (stage_ == no_device) stage_ = not_acquired;
    }
    void destroy();
    Stage stage() const { return stage_; }

    // Live state, as the platform reports presses and releases.
    void set_live(int32_t scancode, bool down);
    void clear_live() {
        live_.fill(0);
        pressed_.fill(0);
    }
    // What the next snapshot holds: the live table, plus every key pressed
    // since the last snapshot even if it is already up again, so that a tap
    // between two polls shows as down once and as up in the snapshot after.
    std::array<uint8_t, 256> next_snapshot() const;

    // Takes the snapshot (next_snapshot(), or what a replay gives instead);
    // with no focus the read fails, the table is not trusted and the device
    // must be acquired again by the next poll.
    bool poll(bool has_focus, const std::array<uint8_t, 256>& snapshot);

    int32_t key_down(int32_t scancode) const;
    int32_t key_released(int32_t scancode);

  private:
    bool released_one(int32_t scancode);

    Stage stage_ = no_device;
    std::array<uint8_t, 256> live_{};
    std::array<uint8_t, 256> pressed_{};  // pressed since the last snapshot
    std::array<uint8_t, 256> state_{};
    std::array<uint8_t, 256> release_marks_{};
};

KeyTable& key_table();

}  // namespace rt::input
