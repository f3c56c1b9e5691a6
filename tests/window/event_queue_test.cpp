// The event state on its own: duplicate collapsing, queue before raw input,
// and the snapshot that changes only when an event is handed out.
#include "runtime/window/event_queue.h"

#include <gtest/gtest.h>

using rt::window::EventState;

namespace {
const auto kNoInput = [](int32_t) {};
}

TEST(EventQueue, CollapsesOnlyRepeatsOfTheLastNode) {
    EventState state;
    state.queue({15, 1, {}});
    state.queue({15, 1, {}});
    state.queue({3, 1, {}});
    state.queue({15, 1, {}});
    state.queue({15, 2, {}});
    state.queue({13101, 1, 7});
    state.queue({13101, 1, 8});  // same code and window, different item: kept
    std::vector<int32_t> codes;
    while (int32_t code = state.fetch(0, kNoInput)) codes.push_back(code);
    EXPECT_EQ(codes, (std::vector<int32_t>{15, 3, 15, 15, 13101, 13101}));
    EXPECT_EQ(state.item(), 8);
}

TEST(EventQueue, QueuedEventsComeBeforeInputAndPumpRunsOnlyWhenEmpty) {
    EventState state;
    int pumps = 0;
    auto pump = [&](int32_t) {
        ++pumps;
        state.note_raw(512, 4);
    };
    state.queue({16, 3, {}});
    EXPECT_EQ(state.fetch(0, pump), 16);
    EXPECT_EQ(pumps, 0);
    EXPECT_EQ(state.window(), 3);
    EXPECT_EQ(state.fetch(0, pump), 512);
    EXPECT_EQ(pumps, 1);
    EXPECT_EQ(state.window(), 4);
}

TEST(EventQueue, ItemPersistsUntilAnEventCarryingOneAndSnapshotOnlyOnReturn) {
    EventState state;
    state.queue({13101, 1, 7});
    state.queue({16, 2, {}});
    EXPECT_EQ(state.fetch(0, kNoInput), 13101);
    EXPECT_EQ(state.fetch(0, kNoInput), 16);
    EXPECT_EQ(state.item(), 7);
    EXPECT_EQ(state.window(), 2);
    EXPECT_EQ(state.fetch(0, kNoInput), 0);
    EXPECT_EQ(state.item(), 7);
    EXPECT_EQ(state.window(), 2);
    state.note_raw(256, 9);
    EXPECT_EQ(state.fetch(0, kNoInput), 256);
    EXPECT_EQ(state.item(), 7);
    EXPECT_EQ(state.window(), 9);
}
