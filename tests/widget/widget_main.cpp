// Runs the widget tests on a display, with the freshly built converter and messages.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/catalogue.h"
#include "converter/converter.h"
#include "gui/state.h"

namespace {

constexpr unsigned kWatchdogSeconds = 20;
char watchdog_message[600];  // made at each test's start: the handler may not format

void on_watchdog_alarm(int) {
  ssize_t written = write(STDERR_FILENO, watchdog_message, strlen(watchdog_message));
  (void)written;
  abort();
}

// A dialog left open runs its nested main loop for ever; the alarm turns
// that into a failure naming the test, long before the ctest time-out.
class Watchdog : public testing::EmptyTestEventListener {
 public:
  Watchdog() {
    struct sigaction action = {};
    action.sa_handler = on_watchdog_alarm;
    sigaction(SIGALRM, &action, nullptr);
  }
  void OnTestStart(const testing::TestInfo& test) override {
    snprintf(watchdog_message, sizeof watchdog_message,
             "widget tests: watchdog: %s.%s still running after %u s\n", test.test_suite_name(),
             test.name(), kWatchdogSeconds);
    alarm(kWatchdogSeconds);
  }
  void OnTestEnd(const testing::TestInfo&) override { alarm(0); }
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // The build lists the suites, to register each as a test of its own, without a display.
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  testing::UnitTest::GetInstance()->listeners().Append(new Watchdog);
  load_converter(TOLQ_TEST_CONVERTER);
  setenv("LANG", "ja_JP.UTF-8", 1);
  gtk_set_locale();
  if (!gtk_init_check(&argc, &argv)) {
    fprintf(stderr, "widget tests: skipped: no display\n");
    return 77;
  }
  return RUN_ALL_TESTS();
}
