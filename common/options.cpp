#include "common/options.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/places.h"

StartMode scan_command_line(int argc, char** argv) {
  for (int i = 1; i < argc; i += 2) {
    if (strcmp(argv[i], "-v") == 0) return StartMode::kVersion;
    bool display_pair = strcmp(argv[i], "--display") == 0 && i + 1 < argc && argv[i + 1][0] != '-';
    if (!display_pair) return StartMode::kUsage;
  }
  return StartMode::kRun;
}

void print_usage(const char* program) {
  fprintf(stderr, "Usage: %s -v \n", program);
  fprintf(stderr, "-v show version \n");
}

bool real_user_is_root(Places* places) {
  const struct passwd* entry = getpwuid(getuid());
  // A user id without a password entry cannot be root by name.
  bool root = entry && strcmp(entry->pw_name, "root") == 0;
  if (entry) {
    snprintf(places->home_dir, sizeof places->home_dir, "%s", entry->pw_dir);
    snprintf(places->user_name, sizeof places->user_name, "%s", entry->pw_name);
  }
  endpwent();
  return root;
}
