#include "platform/Clock.h"

#include <gtest/gtest.h>

namespace qx::platform {
namespace {

TEST(Clock, DeadlineCountsDownAndPasses) {
  const Deadline later(60000);
  EXPECT_FALSE(later.Passed());
  EXPECT_GT(later.RemainingMs(), 59000);
  EXPECT_LE(later.RemainingMs(), 60000);
  const Deadline now(0);
  EXPECT_TRUE(now.Passed());
  EXPECT_EQ(now.RemainingMs(), 0);
}

}  // namespace
}  // namespace qx::platform
