#include <gtest/gtest.h>

extern "C" int core_c_api_failures(void);

TEST(CApiTest, CoreIsUsableFromC) {
    EXPECT_EQ(core_c_api_failures(), 0);
}
