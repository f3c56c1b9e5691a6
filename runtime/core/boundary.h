// SPDX-License-Identifier: GPL-3.0-or-later
// Internal: the edge between the C interface and the C++ inside it. No
// exception may reach a C caller (it would end the process), so entries that
// can allocate run their work through guarded(), which answers the entry's
// documented failure value instead.
#pragma once

#include <utility>

namespace rt::core {

template <class Result, class Work>
Result guarded(Result failure, Work&& work) noexcept {
    try {
        return std::forward<Work>(work)();
    } catch (...) {
        return failure;
    }
}

template <class Work>
void guarded(Work&& work) noexcept {
    try {
        std::forward<Work>(work)();
    } catch (...) {
    }
}

}  // namespace rt::core
