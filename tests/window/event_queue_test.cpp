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
    // The same code and window with another item is kept too.
    for (auto event : {rt::window::QueuedEvent{15, 1, {}}, {15, 1, {}}, {3, 1, {}}, {15, 1, {}}, {15, 2, {}},
                       {13101, 1, 7}, {13101, 1, 8}}) {
        state.queue(event);
    }
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
    EXPECT_EQ(std::pair(pumps, state.window()), std::pair(0, 3));
    EXPECT_EQ(state.fetch(0, pump), 512);
    EXPECT_EQ(std::pair(pumps, state.window()), std::pair(1, 4));
}

TEST(EventQueue, ItemPersistsUntilAnEventCarryingOneAndSnapshotOnlyOnReturn) {
    EventState state;
    state.queue({13101, 1, 7});
    state.queue({16, 2, {}});
    EXPECT_EQ(state.fetch(0, kNoInput), 13101);
    // Each row: the event fetched, then the item and window of the snapshot.
    const int32_t steps[][3] = {{16, 7, 2}, {0, 7, 2}, {256, 7, 9}};
    for (const auto& [code, item, window] : steps) {
        if (code == 256) state.note_raw(256, 9);
        EXPECT_EQ(state.fetch(0, kNoInput), code);
        EXPECT_EQ(std::pair(state.item(), state.window()), std::pair(item, window)) << code;
    }
}
