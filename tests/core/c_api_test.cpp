// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

extern "C" int c_api_failures(void);

TEST(CApiTest, PublicHeadersAreUsableFromC) {
    EXPECT_EQ(c_api_failures(), 0);
}
