// The help file: topics read once at start-up, kept for the whole run.
#ifndef TOLQ_HELP_HELP_LOADER_H
#define TOLQ_HELP_HELP_LOADER_H

#include <cstdio>
#include <string>
#include <vector>

#include "common/text.h"

inline constexpr const char* kHelpDir = "/man";
inline constexpr const char* kHelpHeader = "Tolq8 helpfile";

struct HelpTopic {
  std::string key;    // after "#", spaces included, without the line end
  std::string title;  // after "%", without the line end
  std::string body;   // the body lines with their line ends; empty without body
};

// What the help file holds.
struct HelpFile {
  std::vector<HelpTopic> topics;  // in file order; empty when no help is available
  char heading[kLineSize] = {};
};

enum class HelpLoadResult {
  kLoaded,
  kMalformed,  // the caller tells the user the file is abnormal
  kFailed,     // silent failure: a misplaced line
};

// Reads an open help file into help, replacing what it held; on failure its
// topics are empty.
HelpLoadResult parse_help_file(FILE* file, HelpFile* help);
// The path of a help file name in the shared-data directory.
void help_file_path(const char* name, char* path, size_t size);

#endif
