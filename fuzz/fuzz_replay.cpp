// SPDX-License-Identifier: GPL-3.0-or-later
// The replay file's reader on arbitrary bytes: it must refuse or accept
// without crashing, and what it accepts must encode to a file that decodes to
// the same readings.
#include <cstdlib>
#include <string>

#include "runtime/core/replay_file.h"

namespace rp = rt::replay;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    rp::Recording first;
    std::string error;
    if (!rp::decode(data, size, first, error)) {
        if (error.empty() || error.find('\n') != std::string::npos) std::abort();
        return 0;
    }
    std::vector<uint8_t> bytes;
    rp::encode_header(bytes, first.seed, first.data.data(),
                      static_cast<int32_t>(first.data.size()));
    rp::Deltas deltas;
    for (const rp::Reading& r : first.readings) {
        rp::encode(bytes, deltas, r, first.toggles.data() + r.first_toggle);
    }
    rp::Recording second;
    if (!rp::decode(bytes.data(), bytes.size(), second, error)) std::abort();
    if (second.readings.size() != first.readings.size() || second.toggles != first.toggles ||
        second.data != first.data || second.ended != first.ended)
        std::abort();
    for (size_t i = 0; i < first.readings.size(); ++i) {
        const rp::Reading& a = first.readings[i];
        const rp::Reading& b = second.readings[i];
        if (a.kind != b.kind || a.value != b.value || a.item != b.item || a.window != b.window ||
            a.toggle_count != b.toggle_count)
            std::abort();
    }
    return 0;
}
