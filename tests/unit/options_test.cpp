#include <gtest/gtest.h>

#include <unistd.h>

#include <vector>

#include "common/options.h"
#include "common/places.h"
#include "tests/support/string_file.h"

namespace {

StartMode scan(std::vector<const char*> args) {
  args.insert(args.begin(), "tolqsysenv_server");
  return scan_command_line(static_cast<int>(args.size()), const_cast<char**>(args.data()));
}

TEST(CommandLine, Modes) {
  EXPECT_EQ(scan({}), StartMode::kRun);
  EXPECT_EQ(scan({"-v"}), StartMode::kVersion);
  EXPECT_EQ(scan({"--display", ":1"}), StartMode::kRun);
  EXPECT_EQ(scan({"--display", ":1", "-v"}), StartMode::kVersion);
  EXPECT_EQ(scan({"-v", "junk"}), StartMode::kVersion);
  EXPECT_EQ(scan({"--display"}), StartMode::kUsage);
  EXPECT_EQ(scan({"--display", "-v"}), StartMode::kUsage);
  EXPECT_EQ(scan({"--version"}), StartMode::kUsage);
  EXPECT_EQ(scan({":1", "-v"}), StartMode::kUsage);
  // "-v" counts only where an option is expected, not as the display's value.
  EXPECT_EQ(scan({"--display", ":1", "x", "-v"}), StartMode::kUsage);
}

TEST(CommandLine, UsageText) {
  EXPECT_EQ(printed_by(stderr, [] { print_usage("/usr/bin/tolqsysenv_server"); }),
            "Usage: /usr/bin/tolqsysenv_server -v \n-v show version \n");
}

TEST(RootCheck, ByLoginNameOfTheRealUser) {
  Places places;
  EXPECT_EQ(real_user_is_root(&places), getuid() == 0);
  EXPECT_NE(places.user_name[0], '\0');
  EXPECT_EQ(places.home_dir[0], '/');
}

}  // namespace
