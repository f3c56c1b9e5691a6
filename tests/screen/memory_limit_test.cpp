// SPDX-License-Identifier: GPL-3.0-or-later
// Running out of memory: under an address-space limit (in a child process, so
// the limit ends with it) every call that needs more memory answers its
// failure value instead of ending the process, and leaves nothing behind.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "tests/screen/screen_fixture.h"

namespace {

// One bit per check that fails in the child; its exit code reports them.
int g_failures = 0;
int g_checks = 0;
void check(bool ok) {
    if (!ok) g_failures |= 1 << g_checks;
    ++g_checks;
}

void run_out_of_memory_checks() {
    check(rt_sprite_create(-1, 20000, 20000) == 0);
    check(rt_sprite_create(3, 20000, 20000) == 0 && rt_sprite_width(3) == 0);
    const int32_t start = rt_strbuf_pos();
    check(rt_strbuf_reserve(1 << 30, -1) == nullptr && rt_strbuf_pos() == start);
    const int32_t mid = rt_str_mid("abc", 1, 2, -1);  // small results still work
    check(std::string(rt_strbuf_base() + mid) == "ab");
    void* current = nullptr;
    rt_list* list = rt_list_new(1 << 27, &current, nullptr, 7);
    check(list != nullptr && rt_list_add(list) == nullptr && rt_list_count(list) == 0);
    rt_table* table = rt_table_new(1 << 20, 1, nullptr);
    check(table != nullptr && rt_table_alloc(table, RT_TABLE_MAX_ID, nullptr) == nullptr);
}

// The process's mapped size in bytes.
rlim_t mapped_bytes() {
    std::ifstream statm("/proc/self/statm");
    unsigned long pages = 0;
    statm >> pages;
    return static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
}

TEST(MemoryLimit, AllocatingCallsAnswerTheirFailureValue) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves its shadow memory beyond any such limit";
#endif
    rt_string_init();
    rt_screen_init();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlim_t limit = mapped_bytes() + (64u << 20);
        const rlimit rl{limit, limit};
        if (setrlimit(RLIMIT_AS, &rl) != 0) _exit(100);
        run_out_of_memory_checks();
        _exit(g_failures);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the child ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "bits of the failed checks";
}

}  // namespace
