// SPDX-License-Identifier: GPL-3.0-or-later
// The decoder registry: order, capacity, once-only registration, per-thread state.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "decode_helpers.h"

namespace {

std::atomic<int> g_checks{0};

// Counts its checks and never recognises anything.
int32_t refuse(rt_decode_state*) {
    ++g_checks;
    return 0;
}
// Takes any data starting with "Z" as a 1 x 1 image.
int32_t accept_z(rt_decode_state* state) {
    if (state->data[0] != 'Z') return 0;
    state->width = state->height = 1;
    state->depth = 24;
    return 1;
}
int32_t fill_z(rt_decode_state* state, void* buffer, int32_t, int32_t) {
    auto* out = static_cast<uint8_t*>(buffer);
    out[0] = out[1] = out[2] = state->data[1];
    return 1;
}
std::atomic<int> g_closes{0};
void count_close(rt_decode_state*) {
    ++g_closes;
}

const rt_image_decoder kRefuser = {refuse, nullptr, nullptr};
int32_t fill_99(rt_decode_state*, void* buffer, int32_t, int32_t) {
    std::fill_n(static_cast<uint8_t*>(buffer), 3, 99);
    return 1;
}

const rt_image_decoder kZ = {accept_z, fill_z, count_close};
const rt_image_decoder kZ99 = {accept_z, fill_99, nullptr};

TEST(Registry, HoldsThirtyAndRegistersPngOnce) {
    rt_image_decoder_init();
    rt_png_decoder_register();
    rt_png_decoder_register();
    for (int i = 0; i < 30; ++i) rt_image_decoder_register(&kRefuser);
    g_checks = 0;
    const std::vector<uint8_t> data = {'x', 'y'};
    EXPECT_EQ(rt_image_recognise(data.data(), 2), 0);
    EXPECT_EQ(g_checks, 29);  // PNG plus 29: the 31st registration found no room

    rt_image_decoder_init();
    EXPECT_EQ(rt_image_recognise(data.data(), 2), 0);
    EXPECT_EQ(g_checks, 29);
}

TEST(Registry, DecodeReleasesAndNeedsARecognition) {
    rt_image_decoder_init();
    rt_image_decoder_register(&kZ);
    uint8_t pixel[3] = {};
    EXPECT_EQ(rt_image_decode(pixel, 3, 0), 0);  // nothing recognised yet
    g_closes = 0;
    const uint8_t data[] = {'Z', 42};
    ASSERT_EQ(rt_image_recognise(data, 2), 1);
    EXPECT_EQ(rt_image_decode(pixel, 3, 0), 1);
    EXPECT_EQ(std::pair(int(pixel[0]), g_closes.load()), std::pair(42, 1));
    EXPECT_EQ(rt_image_decode(pixel, 3, 0), 0);  // the state was released
    // A recognition that is never decoded is released by the next one.
    ASSERT_EQ(rt_image_recognise(data, 2), 1);
    ASSERT_EQ(rt_image_recognise(data, 2), 1);
    EXPECT_EQ(g_closes, 2);
    EXPECT_EQ(rt_image_decode(pixel, 2, 0), 0);  // pitch shorter than a row
    EXPECT_EQ(rt_image_recognise(nullptr, 2) + rt_image_recognise(data, 0), 0);
}

// Decoders are asked in the order they were registered: the first that
// recognises the data decodes it.
TEST(Registry, FirstRegisteredDecoderWinsAndStateIsPerThread) {
    for (const int32_t want : {7, 99}) {
        rt_image_decoder_init();
        g_checks = 0;
        rt_image_decoder_register(&kRefuser);
        rt_image_decoder_register(want == 7 ? &kZ : &kZ99);
        rt_image_decoder_register(want == 7 ? &kZ99 : &kZ);
        const uint8_t z[] = {'Z', 7};
        ASSERT_EQ(rt_image_recognise(z, 2), 1);
        EXPECT_EQ(g_checks, 1);
        std::thread([] {
            const uint8_t not_an_image[] = {'Q', 1};
            EXPECT_EQ(rt_image_recognise(not_an_image, 2), 0);
            EXPECT_EQ(rt_image_width(), 0);
        }).join();
        uint8_t pixel[3] = {};
        EXPECT_EQ(rt_image_decode(pixel, 3, 0), 1);  // this thread's state survived
        EXPECT_EQ(pixel[2], want);
    }
}

}  // namespace
