// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/input/input_service.h"

namespace rt::input {
namespace {

int32_t g_references = 0;

}  // namespace

// Qt delivers input through the application object, which exists for the
// whole process; the count only keeps init and end balanced.
void service_acquire() {
    ++g_references;
}

void service_release() {
    if (g_references > 0) --g_references;
}

int32_t service_references() {
    return g_references;
}

}  // namespace rt::input
