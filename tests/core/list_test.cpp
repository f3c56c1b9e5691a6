// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "runtime/core/rt_core.h"

namespace {

struct Item {
    int32_t value;
    int32_t pad;
    char* name;
};

class ListTest : public ::testing::Test {
  protected:
    void* current = reinterpret_cast<void*>(1);  // garbage until the list writes it
    rt_list* list = nullptr;

    void SetUp() override { list = rt_list_new(sizeof(Item), &current, nullptr, 7); }
    void TearDown() override { rt_list_free(list); }

    Item* item() { return current ? static_cast<Item*>(RT_LIST_RECORD(current)) : nullptr; }

    void fill(int n) {
        rt_list_reset(list);
        while (rt_list_next(list)) continue;  // to the end: adds append
        for (int i = 0; i < n; ++i) static_cast<Item*>(rt_list_add(list))->value = i;
    }

    std::vector<int32_t> values() {
        std::vector<int32_t> v;
        rt_list_reset(list);
        while (auto* r = static_cast<Item*>(rt_list_next(list))) v.push_back(r->value);
        return v;
    }
};

// Cursor scripts: a adds a record holding the value after the cursor, r
// resets, n steps (the value reached, -1 for none), d deletes under the
// cursor, s selects an index, c reads the cursor's record; then the values in
// order.
TEST_F(ListTest, CursorScripts) {
    using Step = std::pair<char, int32_t>;  // the operation and its value
    const std::tuple<const char*, std::vector<Step>, std::vector<int32_t>> cases[] = {
        // clang-format off
        {"empty, then walking past the end stays there and adds append",
         {{'n', -1}, {'c', -1}, {'a', 0}, {'a', 1}, {'r', 0}, {'n', 0}, {'n', 1}, {'n', -1},
          {'n', -1}, {'c', 1}, {'a', 9}},
         {0, 1, 9}},
        {"an add after a reset goes first",
         {{'a', 0}, {'a', 1}, {'r', 0}, {'a', 42}, {'c', 42}, {'n', 0}}, {42, 0, 1}},
        {"deleting the last moves the cursor back, deleting the first puts it before the first",
         {{'a', 0}, {'a', 1}, {'a', 2}, {'s', 2}, {'d', 0}, {'c', 1}, {'n', -1}, {'s', 0},
          {'d', 0}, {'c', -1}, {'n', 1}, {'r', 0}, {'d', 0}},
         {1}},
        {"deleting a middle one",
         {{'a', 0}, {'a', 1}, {'a', 2}, {'s', 1}, {'d', 0}, {'c', 0}, {'n', 2}}, {0, 2}},
        // clang-format on
    };
    for (const auto& [what, steps, want] : cases) {
        TearDown();  // a fresh list for each script
        SetUp();
        for (const auto& [op, arg] : steps) {
            Item* r = nullptr;
            // clang-format off
            switch (op) {
                case 'a': static_cast<Item*>(rt_list_add(list))->value = arg; continue;
                case 'r': rt_list_reset(list); continue;
                case 'd': rt_list_delete(list); continue;
                case 'n': r = static_cast<Item*>(rt_list_next(list)); break;
                case 's': r = static_cast<Item*>(rt_list_select(list, arg)); break;
                default: r = item();
            }
            // clang-format on
            EXPECT_EQ(r ? r->value : -1, arg) << what << ": " << op;
            EXPECT_TRUE(!r || r == item()) << what << ": the cursor is on the answer";
        }
        EXPECT_EQ(values(), want) << what;
    }
}

TEST_F(ListTest, WalkThatDeletesVisitsEveryElementOnce) {
    fill(6);
    std::vector<int32_t> seen;
    rt_list_reset(list);
    while (auto* r = static_cast<Item*>(rt_list_next(list))) {
        seen.push_back(r->value);
        if (r->value % 2 == 0) rt_list_delete(list);  // first, middle ones
    }
    EXPECT_EQ(seen, (std::vector<int32_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(values(), (std::vector<int32_t>{1, 3, 5}));

    rt_list_reset(list);
    while (rt_list_next(list)) rt_list_delete(list);
    EXPECT_TRUE(values().empty() && current == nullptr);
}

TEST_F(ListTest, SelectFindsEveryIndexFromAnyStartingPoint) {
    fill(9);
    EXPECT_EQ(rt_list_select(list, -1), nullptr);
    EXPECT_EQ(rt_list_select(list, 9), nullptr);
    EXPECT_EQ(current, nullptr);
    // Every pair (from, to) exercises the walks from first, last and current.
    for (int32_t from = 0; from < 9; ++from)
        for (int32_t to = 0; to < 9; ++to) {
            rt_list_select(list, from);
            auto* r = static_cast<Item*>(rt_list_select(list, to));
            ASSERT_NE(r, nullptr);
            EXPECT_EQ(r->value, to) << from << " -> " << to;
            EXPECT_EQ(item(), r);
        }
    rt_list_reset(list);
    EXPECT_EQ(static_cast<Item*>(rt_list_select(list, 7))->value, 7);

    rt_list* one = rt_list_new(4, nullptr, nullptr, 7);
    void* r = rt_list_add(one);
    EXPECT_EQ(rt_list_select(one, 0), r);
    rt_list_free(one);
}

TEST_F(ListTest, NewRecordsReadAsZeroEvenInReusedSlots) {
    fill(3);
    rt_list_reset(list);
    while (auto* r = static_cast<Item*>(rt_list_next(list))) {
        std::memset(r, 0xAB, sizeof *r);
        rt_list_delete(list);
    }
    fill(3);
    rt_list_reset(list);
    while (auto* r = static_cast<Item*>(rt_list_next(list))) {
        EXPECT_EQ(r->name, nullptr);
        EXPECT_LT(r->value, 3);
    }
}

TEST(ListStringFields, FieldsAreFreedOnDeleteAndClear) {
    // Leaks here are caught by the sanitizer build.
    struct Named {
        char* name;
        char* pair[2][1];
    };
    static const rt_field_desc inner[] = {0, -1};
    // clang-format off
    const rt_field_desc desc[] = {offsetof(Named, name), -2, 2, offsetof(Named, pair),
                                  sizeof(char*), reinterpret_cast<rt_field_desc>(inner), -1};
    // clang-format on
    void* cur = nullptr;
    rt_list* list = rt_list_new(sizeof(Named), &cur, desc, 7);
    rt_strbuf_ensure();
    for (int i = 0; i < 3; ++i) {
        auto* n = static_cast<Named*>(rt_list_add(list));
        for (char** field : {&n->name, &n->pair[0][0], &n->pair[1][0]}) {
            rt_str_from_int(i, rt_strbuf_pos());
            rt_str_assign(field, rt_strbuf_pos() - 1);
        }
    }
    EXPECT_STREQ(static_cast<Named*>(rt_list_select(list, 2))->pair[1][0], "2");
    rt_list_delete(list);
    rt_list_clear(list);
    EXPECT_EQ(rt_list_count(list), 0);
    EXPECT_EQ(cur, nullptr);
    rt_list_free(list);
}

}  // namespace
