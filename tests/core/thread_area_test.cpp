#include <gtest/gtest.h>

#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "runtime/core/rt_core.h"

namespace {

std::mutex g_log_lock;
std::vector<std::string> g_log;

void log(const std::string& line) {
    std::lock_guard guard(g_log_lock);
    g_log.push_back(line);
}

struct Area {
    int32_t inits;
    int32_t zero_on_init;
    int32_t value;
};

void init_a(void* p) {
    auto* a = static_cast<Area*>(p);
    Area zero{};
    a->zero_on_init = std::memcmp(a, &zero, sizeof zero) == 0;
    a->inits += 1;
}
void destroy_a(void* p) {
    log("destroy a " + std::to_string(static_cast<Area*>(p)->value));
}
void destroy_b(void* p) {
    log("destroy b " + std::to_string(*static_cast<int32_t*>(p)));
}
void cleanup(void* data) {
    log(static_cast<const char*>(data));
}

TEST(ThreadAreaTest, EachThreadGetsItsOwnInitialisedBlockAndItsCleanupsRunInOrder) {
    static const int32_t a = rt_thread_area_register(sizeof(Area), init_a, destroy_a);
    static const int32_t b = rt_thread_area_register(4, nullptr, destroy_b);
    ASSERT_NE(a, b);
    auto* mine = static_cast<Area*>(rt_thread_area(a));
    ASSERT_TRUE(mine != nullptr && mine->inits == 1);  // ran on registration, once
    mine->value = 7;
    g_log.clear();

    std::thread worker([] {
        auto* area = static_cast<Area*>(rt_thread_area(a));
        EXPECT_EQ(std::tuple(area->inits, area->zero_on_init, area->value), std::tuple(1, 1, 0));
        EXPECT_EQ(rt_thread_area(a), area);  // stable, no second init
        area->value = 42;
        *static_cast<int32_t*>(rt_thread_area(b)) = 9;
        rt_on_thread_exit(cleanup, const_cast<char*>("first"));
        rt_on_thread_exit(cleanup, const_cast<char*>("second"));
        EXPECT_TRUE(g_log.empty());
    });
    worker.join();
    EXPECT_EQ(g_log, (std::vector<std::string>{"destroy a 42", "destroy b 9", "first", "second"}));
    EXPECT_EQ(mine->value, 7);  // the other thread never touched this one
    EXPECT_TRUE(rt_thread_area(-1) == nullptr && rt_thread_area(1 << 30) == nullptr);
}

}  // namespace
