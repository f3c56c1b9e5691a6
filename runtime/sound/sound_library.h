// SPDX-License-Identifier: GPL-3.0-or-later
// Internal (C++ only): a look at the sound library's state from the inside,
// for diagnostics and tests.
#pragma once
#include <cstdint>
#include <optional>

#include "runtime/sound/sound_openal.h"

namespace rt::sound {

// The OpenAL buffer and source of a loaded sound; empty for unknown ids.
std::optional<Voice> voice_of(int32_t id);

// True while the service plays through a real output device, false when it
// runs silently (or is not running).
bool service_audible();

}  // namespace rt::sound
