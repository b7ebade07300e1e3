#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

namespace {

TEST(WidgetWatchdog, IsArmedForEachTestAndNamesTheTestItStops) {
  unsigned left = alarm(0);
  EXPECT_GT(left, 0u);
  EXPECT_DEATH(raise(SIGALRM), "WidgetWatchdog.IsArmedForEachTestAndNamesTheTestItStops");
  alarm(left);
}

}  // namespace
