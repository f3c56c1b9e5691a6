// SPDX-License-Identifier: GPL-3.0-or-later
// Sound files as the game loads them: a RIFF/WAVE image handed to the sound
// library from memory, then played, its volume changed and freed, on the
// silent output (no audio device is needed). The input is copied into a
// buffer of its exact size so a read past the end is caught.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz/fuzz_common.h"
#include "runtime/core/rt_core.h"
#include "runtime/sound/rt_sound.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("ALSOFT_DRIVERS", "null", 0);
    rt_string_init();
    if (!rt_sound_init()) FuzzFailure("the sound service did not start");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > INT32_MAX) return 0;
    const std::vector<uint8_t> copy(data, data + size);
    // A numbered slot is reused run after run: loading over a living sound
    // must release the old one.
    const int32_t loaded = rt_sound_load_memory(3, copy.data(), static_cast<int32_t>(size));
    if (loaded != 0) {
        rt_sound_volume(3, 70);
        rt_sound_play(3);
        rt_sound_frequency(3);
    }
    // Every other input also goes through the handle path and is freed.
    if (size % 2 == 0) {
        const int32_t id = rt_sound_load_memory(-1, copy.data(), static_cast<int32_t>(size));
        FUZZ_CHECK((id != 0) == (loaded != 0));
        rt_sound_free(id);
    }
    return 0;
}
