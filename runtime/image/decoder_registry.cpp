// SPDX-License-Identifier: GPL-3.0-or-later
// The decoder registry and the per-thread decode state.
#include <array>
#include <cstdint>
#include <mutex>

#include "runtime/image/decoder_internal.h"
#include "runtime/image/rt_image.h"

namespace {

constexpr size_t kMaxDecoders = 30;

struct Registry {
    std::mutex lock;
    std::array<const rt_image_decoder*, kMaxDecoders> decoders{};
    size_t count = 0;
};

Registry& registry() {
    static Registry instance;
    return instance;
}

// One per thread, so threads decode independently. A recognised image whose
// decode never came is released when the next recognition starts or when the
// thread ends, so decoder resources never leak.
struct ThreadState {
    rt_decode_state state{};

    void release() {
        if (state.decoder && state.decoder->close) state.decoder->close(&state);
        state.decoder = nullptr;
    }
    ~ThreadState() { release(); }
};

thread_local ThreadState t_decode;

}  // namespace

extern "C" int32_t rt_image_decoder_is_registered(const rt_image_decoder* decoder) {
    Registry& reg = registry();
    std::lock_guard guard(reg.lock);
    for (size_t i = 0; i < reg.count; ++i) {
        if (reg.decoders[i] == decoder) return 1;
    }
    return 0;
}

extern "C" int32_t rt_image_row_bytes(const rt_decode_state* state) {
    const int64_t width = state->width;
    const int64_t height = state->height;
    if (width < 1 || height < 1) return 0;
    // Divided rather than multiplied: two 31-bit sizes times 4 overflow 64 bits.
    if (width > INT32_MAX / 4 / height) return 0;
    return static_cast<int32_t>(width * (state->depth == 32 ? 4 : 3));
}

extern "C" void rt_image_decoder_init(void) {
    Registry& reg = registry();
    {
        std::lock_guard guard(reg.lock);
        reg.decoders.fill(nullptr);
        reg.count = 0;
    }
    t_decode.release();
    t_decode.state = rt_decode_state{};
}

extern "C" void rt_image_decoder_register(const rt_image_decoder* decoder) {
    if (!decoder) return;
    Registry& reg = registry();
    std::lock_guard guard(reg.lock);
    if (reg.count < kMaxDecoders) reg.decoders[reg.count++] = decoder;
}

extern "C" int32_t rt_image_recognise(const void* data, int32_t length) {
    t_decode.release();
    rt_decode_state& state = t_decode.state;
    state = rt_decode_state{};
    if (!data || length <= 0) return 0;
    state.data = static_cast<const uint8_t*>(data);
    state.data_length = length;

    std::array<const rt_image_decoder*, kMaxDecoders> decoders{};
    size_t count = 0;
    {
        Registry& reg = registry();
        std::lock_guard guard(reg.lock);
        decoders = reg.decoders;
        count = reg.count;
    }
    for (size_t i = 0; i < count; ++i) {
        const rt_image_decoder* decoder = decoders[i];
        if (!decoder->check || !decoder->check(&state)) continue;
        state.decoder = decoder;
        // A size the caller could not even allocate is refused here, before
        // anyone allocates for it.
        if (rt_image_row_bytes(&state) == 0) {
            t_decode.release();
            return 0;
        }
        return 1;
    }
    return 0;
}

extern "C" int32_t rt_image_width(void) {
    return t_decode.state.width;
}
extern "C" int32_t rt_image_height(void) {
    return t_decode.state.height;
}
extern "C" int32_t rt_image_depth(void) {
    return t_decode.state.depth;
}

extern "C" int32_t rt_image_decode(void* buffer, int32_t pitch, int32_t flags) {
    rt_decode_state& state = t_decode.state;
    if (!state.decoder) return 0;
    int32_t result = 0;
    if (buffer && pitch >= rt_image_row_bytes(&state) && state.decoder->decode) {
        result = state.decoder->decode(&state, buffer, pitch, flags);
    }
    t_decode.release();
    return result;
}
