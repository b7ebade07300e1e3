// Command line, terminal code set and the root check of start-up.
#ifndef TOLQ_APP_OPTIONS_H
#define TOLQ_APP_OPTIONS_H

#include "banner/banner.h"

enum class StartMode { kRun, kVersion, kUsage };

// Scans the options before the toolkit sees them: "-v" where an option is
// expected asks for the banner; only "--display" with a value is let through.
StartMode scan_command_line(int argc, char** argv);
void print_usage(const char* program);
CodeSet terminal_code_set();
// True when the login name of the real user is "root"; fills home_dir and
// user_name from the password entry.
bool real_user_is_root();

#endif
