#include <gtest/gtest.h>

#include "rtl/Exceptions.h"

TEST(Assertions, RaiseWithTextFileAndLine) {
  try {
    RTL_ASSERT(1 + 1 == 3);
    FAIL() << "no exception";
  } catch (const rtl::EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), std::string("1 + 1 == 3 (") + __FILE__ + ", line " +
                               std::to_string(__LINE__ - 4) + ")");
    EXPECT_STREQ(e.ClassName(), "EAssertionFailed");
  }
}
