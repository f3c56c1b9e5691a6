// SPDX-License-Identifier: GPL-3.0-or-later
// The calling thread's last failure, for rt_error().
#include <cstdio>

#include "runtime/core/boundary.h"
#include "runtime/core/rt_core.h"

namespace {

// A fixed block: a failure must be recordable when memory has run out.
thread_local char t_error[512];

}  // namespace

namespace rt::core {

void record_failure(const char* reason, const char* subject) noexcept {
    const char* function = t_entered ? t_entered : "rt";
    if (subject != nullptr)
        std::snprintf(t_error, sizeof t_error, "%s: %s: %s", function, subject, reason);
    else
        std::snprintf(t_error, sizeof t_error, "%s: %s", function, reason);
}

}  // namespace rt::core

extern "C" {

const char* rt_error(void) {
    return rt::core::guarded(__func__, "", [] { return static_cast<const char*>(t_error); });
}

void rt_error_clear(void) {
    rt::core::guarded(__func__, [] { t_error[0] = '\0'; });
}

}  // extern "C"
