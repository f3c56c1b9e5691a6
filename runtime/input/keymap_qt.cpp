// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/input/keymap_qt.h"

#include <QGuiApplication>
#include <array>
#include <utility>

namespace rt::input {
namespace {

// Qt keys and their scan codes on a standard keyboard (US positions), for
// platforms and synthetic events that give no native scan code.
constexpr std::pair<int, int32_t> kKeyTable[] = {
    {Qt::Key_Escape, 1},
    {Qt::Key_1, 2},
    {Qt::Key_2, 3},
    {Qt::Key_3, 4},
    {Qt::Key_4, 5},
    {Qt::Key_5, 6},
    {Qt::Key_6, 7},
    {Qt::Key_7, 8},
    {Qt::Key_8, 9},
    {Qt::Key_9, 10},
    {Qt::Key_0, 11},
    {Qt::Key_Minus, 12},
    {Qt::Key_Equal, 13},
    {Qt::Key_Backspace, 14},
    {Qt::Key_Tab, 15},
    {Qt::Key_Q, 16},
    {Qt::Key_W, 17},
    {Qt::Key_E, 18},
    {Qt::Key_R, 19},
    {Qt::Key_T, 20},
    {Qt::Key_Y, 21},
    {Qt::Key_U, 22},
    {Qt::Key_I, 23},
    {Qt::Key_O, 24},
    {Qt::Key_P, 25},
    {Qt::Key_BracketLeft, 26},
    {Qt::Key_BracketRight, 27},
    {Qt::Key_Return, 28},
    {Qt::Key_Control, 29},
    {Qt::Key_A, 30},
    {Qt::Key_S, 31},
    {Qt::Key_D, 32},
    {Qt::Key_F, 33},
    {Qt::Key_G, 34},
    {Qt::Key_H, 35},
    {Qt::Key_J, 36},
    {Qt::Key_K, 37},
    {Qt::Key_L, 38},
    {Qt::Key_Semicolon, 39},
    {Qt::Key_Apostrophe, 40},
    {Qt::Key_QuoteLeft, 41},
    {Qt::Key_Shift, 42},
    {Qt::Key_Backslash, 43},
    {Qt::Key_Z, 44},
    {Qt::Key_X, 45},
    {Qt::Key_C, 46},
    {Qt::Key_V, 47},
    {Qt::Key_B, 48},
    {Qt::Key_N, 49},
    {Qt::Key_M, 50},
    {Qt::Key_Comma, 51},
    {Qt::Key_Period, 52},
    {Qt::Key_Slash, 53},
    {Qt::Key_Alt, 56},
    {Qt::Key_Space, 57},
    {Qt::Key_CapsLock, 58},
    {Qt::Key_F1, 59},
    {Qt::Key_F2, 60},
    {Qt::Key_F3, 61},
    {Qt::Key_F4, 62},
    {Qt::Key_F5, 63},
    {Qt::Key_F6, 64},
    {Qt::Key_F7, 65},
    {Qt::Key_F8, 66},
    {Qt::Key_F9, 67},
    {Qt::Key_F10, 68},
    {Qt::Key_NumLock, 69},
    {Qt::Key_ScrollLock, 70},
    {Qt::Key_F11, 87},
    {Qt::Key_F12, 88},
    {Qt::Key_Enter, 156},
    {Qt::Key_Home, 199},
    {Qt::Key_Up, 200},
    {Qt::Key_PageUp, 201},
    {Qt::Key_Left, 203},
    {Qt::Key_Right, 205},
    {Qt::Key_End, 207},
    {Qt::Key_Down, 208},
    {Qt::Key_PageDown, 209},
    {Qt::Key_Insert, 210},
    {Qt::Key_Delete, 211},
    {Qt::Key_Meta, 219},
    {Qt::Key_Menu, 221},
};

// Linux input codes of the extended keys and their E0-prefixed scan codes;
// the main block (codes 1..88) is numbered alike in both.
constexpr std::pair<int32_t, int32_t> kExtended[] = {
    {96, 156},  {97, 157},  {98, 181},  {100, 184}, {102, 199}, {103, 200},
    {104, 201}, {105, 203}, {106, 205}, {107, 207}, {108, 208}, {109, 209},
    {110, 210}, {111, 211}, {125, 219}, {126, 220}, {127, 221},
};

std::optional<int32_t> from_linux_code(int32_t code) {
    for (auto [linux_code, scancode] : kExtended) {
        if (linux_code == code) return scancode;
    }
    if (code > 0 && code < 256) return code;
    return std::nullopt;
}

std::optional<int32_t> to_linux_code(int32_t scancode) {
    for (auto [linux_code, code] : kExtended) {
        if (code == scancode) return linux_code;
    }
    return scancode;
}

std::optional<int32_t> from_qt_key(int key) {
    for (auto [qt_key, scancode] : kKeyTable) {
        if (qt_key == key) return scancode;
    }
    return std::nullopt;
}

}  // namespace

std::optional<int32_t> scancode_of(const QKeyEvent& event) {
    // X11 and Wayland report the Linux input code plus 8; the offscreen
    // platform and synthetic events report none, and the Qt key serves.
    if (event.nativeScanCode() > 8)
        return from_linux_code(static_cast<int32_t>(event.nativeScanCode()) - 8);
    return from_qt_key(event.key());
}

std::optional<KeyEventDesc> key_for_scancode(int32_t scancode) {
    if (scancode < 0 || scancode > 255) return std::nullopt;
    KeyEventDesc desc;
    for (auto [qt_key, code] : kKeyTable) {
        if (code == scancode) {
            desc.key = qt_key;
            if (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) {
                desc.text = QChar(u'a' + (qt_key - Qt::Key_A));
            } else if ((qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) || qt_key == Qt::Key_Space) {
                desc.text = QChar(char16_t(qt_key));
            }
            return desc;
        }
    }
    // No Qt key for this position: carry it as a native code instead.
    std::optional<int32_t> linux_code = to_linux_code(scancode);
    if (!linux_code || *linux_code <= 0 || from_linux_code(*linux_code) != scancode)
        return std::nullopt;
    desc.key = Qt::Key_unknown;
    desc.native_scancode = static_cast<quint32>(*linux_code + 8);
    return desc;
}

}  // namespace rt::input
