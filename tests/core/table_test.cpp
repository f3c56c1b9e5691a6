// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "runtime/core/rt_core.h"

namespace {

struct Record {
    int32_t in_use;
    int32_t value;
};

std::vector<int32_t> g_destroyed;
rt_table* g_table = nullptr;

void destroy(int32_t id) {
    g_destroyed.push_back(id);
    rt_table_remove(g_table, id);
}

Record* put(rt_table* table, int32_t id, int32_t value, int32_t* new_id = nullptr) {
    auto* r = static_cast<Record*>(rt_table_alloc(table, id, new_id));
    r->in_use = 1;
    r->value = value;
    return r;
}

std::vector<int32_t> walk(rt_table* table) {
    std::vector<int32_t> ids;
    rt_table_first(table);
    int32_t id;
    while (rt_table_next(table, &id)) ids.push_back(id);
    return ids;
}

class TableTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_destroyed.clear();
        g_table = rt_table_new(sizeof(Record), 16, destroy);
    }
    void TearDown() override { rt_table_destroy(g_table); }
};

TEST_F(TableTest, ReusingANumberDestroysTheOldObjectFirst) {
    put(g_table, 5, 11);
    EXPECT_TRUE(g_destroyed.empty());
    Record* again = put(g_table, 5, 22);
    ASSERT_EQ(g_destroyed, std::vector<int32_t>{5});
    EXPECT_EQ(static_cast<Record*>(rt_table_get(g_table, 5)), again);
    EXPECT_EQ(again->value, 22);
    rt_table_remove(g_table, 5);
    EXPECT_TRUE(rt_table_get(g_table, 5) == nullptr && rt_table_check(g_table, 5) == nullptr);
}

TEST_F(TableTest, DynamicHandlesAreUniqueAndStaleOrForeignOnesAnswerZero) {
    int32_t a = 0, b = 0;
    put(g_table, -1, 1, &a);
    put(g_table, -1, 2, &b);
    EXPECT_NE(a, b);
    // Never a slot number, whatever the capacity becomes.
    for (int32_t h : {a, b}) EXPECT_TRUE(h < -1) << h;
    EXPECT_EQ(static_cast<Record*>(rt_table_get(g_table, b))->value, 2);
    ASSERT_NE(rt_table_check(g_table, a), nullptr);  // looked up (and remembered) before it goes
    rt_table_remove(g_table, a);
    EXPECT_TRUE(rt_table_get(g_table, a) == nullptr && rt_table_check(g_table, a) == nullptr);

    int32_t c = 0;
    put(g_table, -1, 3, &c);
    EXPECT_NE(c, a);  // not reused

    int32_t refused = 5;  // a number beyond any table; other ids: the boundary test
    EXPECT_EQ(rt_table_alloc(g_table, RT_TABLE_MAX_ID + 1, &refused), nullptr);
    EXPECT_EQ(refused, 0);
}

TEST_F(TableTest, RecordsWithAZeroFirstWordAreNotInUse) {
    int32_t h = 0;
    rt_table_alloc(g_table, -1, &h);
    rt_table_alloc(g_table, 2, nullptr);
    EXPECT_TRUE(rt_table_get(g_table, h) == nullptr && rt_table_get(g_table, 2) == nullptr);
    EXPECT_TRUE(walk(g_table).empty());
}

TEST_F(TableTest, IterationOrderSurvivesRemovalOfTheRecordHandedOut) {
    int32_t older = 0, newer = 0;
    put(g_table, 3, 3);
    put(g_table, -1, 100, &older);
    put(g_table, 0, 0);
    put(g_table, -1, 200, &newer);
    EXPECT_EQ(walk(g_table), (std::vector<int32_t>{0, 3, older, newer}));

    std::vector<int32_t> seen;
    rt_table_first(g_table);
    int32_t id;
    while (rt_table_next(g_table, &id)) {
        seen.push_back(id);
        rt_table_remove(g_table, id);
    }
    EXPECT_EQ(seen, (std::vector<int32_t>{0, 3, older, newer}));
    EXPECT_TRUE(walk(g_table).empty());
}

TEST_F(TableTest, FreeAllCallsTheDestructorForEveryRecordInUse) {
    int32_t h = 0;
    put(g_table, 1, 1);
    put(g_table, 20, 2);
    put(g_table, -1, 3, &h);
    rt_table_free_all(g_table);
    EXPECT_EQ(g_destroyed, (std::vector<int32_t>{1, 20, h}));
    EXPECT_TRUE(walk(g_table).empty());
}

TEST_F(TableTest, AnAbandonedWalkDoesNotKeepTheLockFromOtherThreads) {
    put(g_table, 1, 1);
    rt_table_first(g_table);
    rt_table_next(g_table, nullptr);  // walk left unfinished
    EXPECT_EQ(walk(g_table).size(), 1u);
    bool other_thread_done = false;
    std::thread([&] {
        int32_t h = 0;
        put(g_table, -1, 5, &h);
        other_thread_done = h != 0;
    }).join();
    EXPECT_TRUE(other_thread_done);
    EXPECT_EQ(rt_table_next(g_table, nullptr), nullptr);  // no walk open
}

}  // namespace
