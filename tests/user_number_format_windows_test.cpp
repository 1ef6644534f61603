#include "calc/number_text.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace klimora {
namespace {

// Wine takes the user's regional setting from LC_ALL; CTest runs this once
// per setting and names the separator that setting writes.
TEST(UserNumberFormat, FollowsTheUsersRegionalSetting)
{
    const char *expected = std::getenv("KLIMORA_TEST_SEPARATOR");
    ASSERT_NE(expected, nullptr);
    EXPECT_EQ(userNumberFormat().decimalSeparator, expected);
}

} // namespace
} // namespace klimora
