// SPDX-License-Identifier: GPL-3.0-or-later
// Core runtime against the standard library equivalents, measured in one run.

#include <benchmark/benchmark.h>

#include <list>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "runtime/core/rt_core.h"

namespace {

struct Item {
    int32_t x, y, speed, energy;
};

constexpr int kElements = 1000;

// ---- random numbers: rt_random vs mt19937 + uniform_int_distribution

void BM_RtRandom(benchmark::State& state) {
    rt_random_seed(1);
    for (auto _ : state) benchmark::DoNotOptimize(rt_random(1023));
}
BENCHMARK(BM_RtRandom);

void BM_StdMt19937(benchmark::State& state) {
    std::mt19937 engine(1);
    std::uniform_int_distribution<int32_t> range(0, 1023);
    for (auto _ : state) benchmark::DoNotOptimize(range(engine));
}
BENCHMARK(BM_StdMt19937);

// ---- lists: add, walk and delete, vs std::list

void BM_RtListAddWalkDelete(benchmark::State& state) {
    void* current = nullptr;
    rt_list* list = rt_list_new(sizeof(Item), &current, nullptr, 7);
    for (auto _ : state) {
        for (int i = 0; i < kElements; ++i) static_cast<Item*>(rt_list_add(list))->x = i;
        rt_list_reset(list);
        while (auto* item = static_cast<Item*>(rt_list_next(list)))
            if (item->x % 2 == 0) rt_list_delete(list);
        rt_list_reset(list);
        while (rt_list_next(list)) rt_list_delete(list);
    }
    rt_list_free(list);
}
BENCHMARK(BM_RtListAddWalkDelete);

void BM_StdListAddWalkDelete(benchmark::State& state) {
    std::list<Item> list;
    for (auto _ : state) {
        for (int i = 0; i < kElements; ++i) list.push_back(Item{i, 0, 0, 0});
        for (auto it = list.begin(); it != list.end();) it = it->x % 2 == 0 ? list.erase(it) : ++it;
        for (auto it = list.begin(); it != list.end();) it = list.erase(it);
    }
}
BENCHMARK(BM_StdListAddWalkDelete);

void BM_RtListWalk(benchmark::State& state) {
    void* current = nullptr;
    rt_list* list = rt_list_new(sizeof(Item), &current, nullptr, 7);
    for (int i = 0; i < kElements; ++i) static_cast<Item*>(rt_list_add(list))->x = i;
    for (auto _ : state) {
        int64_t sum = 0;
        rt_list_reset(list);
        while (auto* item = static_cast<Item*>(rt_list_next(list))) sum += item->x;
        benchmark::DoNotOptimize(sum);
    }
    rt_list_free(list);
}
BENCHMARK(BM_RtListWalk);

void BM_StdListWalk(benchmark::State& state) {
    std::list<Item> list;
    for (int i = 0; i < kElements; ++i) list.push_back(Item{i, 0, 0, 0});
    for (auto _ : state) {
        int64_t sum = 0;
        for (const Item& item : list) sum += item.x;
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_StdListWalk);

// ---- strings: "Level" + number

void BM_RtStringLevelNumber(benchmark::State& state) {
    rt_strbuf_ensure();
    int32_t n = 0;
    for (auto _ : state) {
        int32_t p0 = rt_strbuf_pos();
        rt_strbuf_append("Level");
        rt_str_from_int(n++, rt_strbuf_pos());
        rt_strbuf_close();
        benchmark::DoNotOptimize(rt_strbuf_base() + p0);
        rt_strbuf_set_pos(p0);
    }
}
BENCHMARK(BM_RtStringLevelNumber);

void BM_StdStringLevelNumber(benchmark::State& state) {
    int32_t n = 0;
    for (auto _ : state) {
        std::string text = "Level" + std::to_string(n++);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_StdStringLevelNumber);

// ---- table lookups by numbered and by dynamic id, vs unordered_map

constexpr int kObjects = 256;

void BM_RtTableGetNumbered(benchmark::State& state) {
    rt_table* table = rt_table_new(sizeof(Item), 64, nullptr);
    for (int i = 0; i < kObjects; ++i) static_cast<Item*>(rt_table_alloc(table, i, nullptr))->x = 1;
    int32_t id = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(rt_table_get(table, id));
        id = (id + 1) & (kObjects - 1);
    }
    rt_table_destroy(table);
}
BENCHMARK(BM_RtTableGetNumbered);

void BM_RtTableGetDynamic(benchmark::State& state) {
    rt_table* table = rt_table_new(sizeof(Item), 64, nullptr);
    std::vector<int32_t> ids(kObjects);
    for (int32_t& id : ids) static_cast<Item*>(rt_table_alloc(table, -1, &id))->x = 1;
    size_t k = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(rt_table_get(table, ids[k]));
        k = (k + 1) & (kObjects - 1);
    }
    rt_table_destroy(table);
}
BENCHMARK(BM_RtTableGetDynamic);

void BM_StdUnorderedMapFind(benchmark::State& state) {
    std::unordered_map<int32_t, Item> table;
    std::vector<int32_t> ids(kObjects);
    for (int i = 0; i < kObjects; ++i) {
        ids[i] = INT32_MIN + i * 7;
        table[ids[i]] = Item{1, 0, 0, 0};
    }
    size_t k = 0;
    for (auto _ : state) {
        auto it = table.find(ids[k]);
        benchmark::DoNotOptimize(it == table.end() ? nullptr : &it->second);
        k = (k + 1) & (kObjects - 1);
    }
}
BENCHMARK(BM_StdUnorderedMapFind);

}  // namespace
