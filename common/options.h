// The command line and the root check of start-up.
#ifndef TOLQ_COMMON_OPTIONS_H
#define TOLQ_COMMON_OPTIONS_H

#include "common/places.h"

enum class StartMode { kRun, kVersion, kUsage };

// Scans the options before the toolkit sees them: "-v" where an option is
// expected asks for the banner; only "--display" with a value is let through.
StartMode scan_command_line(int argc, char** argv);
void print_usage(const char* program);
// True when the login name of the real user is "root"; fills the home_dir
// and user_name of places from the password entry.
bool real_user_is_root(Places* places);

#endif
