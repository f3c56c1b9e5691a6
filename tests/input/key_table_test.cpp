// The key table on its own: the release marks and the "any key" range.
#include "runtime/input/key_table.h"

#include <gtest/gtest.h>

using rt::input::KeyTable;

TEST(KeyTable, NothingAnswersBeforeTheFirstSuccessfulPoll) {
    KeyTable table;
    table.create();
    table.set_live(57, true);
    EXPECT_EQ(table.key_down(57), 0);
    EXPECT_EQ(table.key_released(57), 0);
    EXPECT_FALSE(table.poll(false));
    EXPECT_EQ(table.key_down(57), 0);
    EXPECT_TRUE(table.poll(true));
    EXPECT_EQ(table.key_down(57), 128);
}

TEST(KeyTable, AnyKeyLooksAtCodesUpTo254) {
    KeyTable table;
    table.create();
    table.set_live(255, true);
    table.poll(true);
    EXPECT_EQ(table.key_down(255), 128);
    EXPECT_EQ(table.key_down(-1), 0);
    EXPECT_EQ(table.key_released(-1), 0);
    table.set_live(0, true);
    table.set_live(255, false);
    table.poll(true);
    EXPECT_EQ(table.key_down(-1), 1);
    EXPECT_EQ(table.key_released(-1), 0);  // marks code 0
    table.set_live(0, false);
    table.poll(true);
    EXPECT_EQ(table.key_released(-1), 1);
    EXPECT_EQ(table.key_released(-1), 0);
    EXPECT_EQ(table.key_down(256), 0);
    EXPECT_EQ(table.key_released(-2), 0);
}
