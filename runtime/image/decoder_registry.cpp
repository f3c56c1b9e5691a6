// SPDX-License-Identifier: GPL-3.0-or-later
// The decoder registry and the per-thread decode state.
#include <array>
#include <cstdint>
#include <mutex>

#include "runtime/core/boundary.h"
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

using rt::core::fail;
using rt::core::guarded;
using rt::core::record_failure;

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

extern "C" void rt_image_state_release(void) {
    t_decode.release();
}

extern "C" void rt_image_decoder_init(void) {
    guarded(__func__, [] {
        Registry& reg = registry();
        {
            std::lock_guard guard(reg.lock);
            reg.decoders.fill(nullptr);
            reg.count = 0;
        }
        t_decode.release();
        t_decode.state = rt_decode_state{};
    });
}

extern "C" void rt_image_decoder_register(const rt_image_decoder* decoder) {
    guarded(__func__, [&] {
        if (!decoder) return record_failure("no decoder (NULL)");
        Registry& reg = registry();
        std::lock_guard guard(reg.lock);
        if (reg.count == kMaxDecoders) return record_failure("no room for more decoders");
        reg.decoders[reg.count++] = decoder;
    });
}

extern "C" void rt_bmp_decoder_register(void) {
    guarded(__func__, [] { rt_image_decoder_register(rt_bmp_decoder()); });
}

extern "C" void rt_png_decoder_register(void) {
    guarded(__func__, [] {
        if (!rt_image_decoder_is_registered(rt_png_decoder()))
            rt_image_decoder_register(rt_png_decoder());
    });
}

extern "C" int32_t rt_image_recognise(const void* data, int32_t length) {
    return guarded(__func__, 0, [&] {
        t_decode.release();
        rt_decode_state& state = t_decode.state;
        state = rt_decode_state{};
        if (!data) return fail(0, "no data (NULL)");
        if (length <= 0) return fail(0, "no bytes to look at");
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
                return fail(0, "a picture too large (or of no size)");
            }
            return 1;
        }
        return fail(0, "not a picture a registered decoder knows");
    });
}

extern "C" int32_t rt_image_width(void) {
    return guarded(__func__, 0, [] { return t_decode.state.width; });
}
extern "C" int32_t rt_image_height(void) {
    return guarded(__func__, 0, [] { return t_decode.state.height; });
}
extern "C" int32_t rt_image_depth(void) {
    return guarded(__func__, 0, [] { return t_decode.state.depth; });
}

extern "C" int32_t rt_image_decode(void* buffer, int32_t pitch, int32_t flags) {
    return guarded(__func__, 0, [&] {
        rt_decode_state& state = t_decode.state;
        if (!state.decoder) return fail(0, "no picture recognised (rt_image_recognise)");
        int32_t result = 0;
        if (!buffer) {
            record_failure("no buffer (NULL)");
        } else if (pitch < rt_image_row_bytes(&state)) {
            record_failure("a pitch shorter than a row");
        } else if (state.decoder->decode) {
            result = state.decoder->decode(&state, buffer, pitch, flags);
            if (result == 0) record_failure("the picture's data is damaged");
        }
        t_decode.release();
        return result;
    });
}
