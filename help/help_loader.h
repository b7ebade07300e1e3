// The help file: topics read once at start-up, kept for the whole run.
#ifndef TOLQ_HELP_HELP_LOADER_H
#define TOLQ_HELP_HELP_LOADER_H

#include <cstdio>

#include "common/text.h"

inline constexpr const char* kHelpDir = "/man";
inline constexpr const char* kHelpHeader = "Tolq8 helpfile";

struct HelpTopic {
  char* key;    // after "#", spaces included, without the line end
  char* title;  // after "%", without the line end
  char* body;   // the body lines with their line ends; null without body
  HelpTopic* next;
};

// Defined by the help window; only a pointer is kept here.
struct HelpWindow;

extern HelpTopic* help_topics;  // null when no help is available
extern char help_heading[kLineSize];
extern HelpTopic* help_current_topic;
extern int help_current_row;
extern HelpWindow* help_window;

enum class HelpLoadResult {
  kLoaded,
  kMalformed,  // the caller tells the user the file is abnormal
  kFailed,     // silent failure: a misplaced line or exhausted memory
};

// Reads an open help file into help_topics and help_heading; help_current_topic
// becomes null and help_current_row 0. On failure help_topics is null.
HelpLoadResult parse_help_file(FILE* file);
// The path of a help file name in the shared-data directory.
void help_file_path(const char* name, char* path, size_t size);

HelpTopic* new_help_topic();
void free_help_topics();

#endif
