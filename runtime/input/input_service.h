// SPDX-License-Identifier: GPL-3.0-or-later
// The input service that keyboard and mouse share, counted by reference: each
// init takes one, each end gives one back.
#pragma once
#include <cstdint>

namespace rt::input {

void service_acquire();
void service_release();
int32_t service_references();

}  // namespace rt::input
