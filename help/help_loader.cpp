#include "help/help_loader.h"

#include <cstdlib>
#include <cstring>

#include "common/places.h"

HelpTopic* help_topics;
char help_heading[kLineSize];
HelpTopic* help_current_topic;
int help_current_row;
HelpWindow* help_window;

namespace {

// What ended a topic's body.
enum class BodyEnd { kEndOfFile, kNextKey, kMalformed, kFailed };

// The next piece of the file, at most kLineSize - 1 bytes; false at the end
// (a read error ends the file too; the caller checks ferror).
bool read_line(FILE* file, char* line) {
  return fgets(line, kLineSize, file) != nullptr;
}

// The line without one trailing "\n", in place.
char* without_line_end(char* line) {
  size_t n = strlen(line);
  if (n > 0 && line[n - 1] == '\n') line[n - 1] = '\0';
  return line;
}

// Stores the text after a line's marker byte; false when memory ran out.
bool take_text(char** field, char* line) {
  *field = strdup(without_line_end(line) + 1);
  return *field != nullptr;
}

HelpLoadResult read_first_key_line(FILE* file, char* line) {
  while (read_line(file, line)) {
    if (line[0] == '#') return HelpLoadResult::kLoaded;
    if (line[0] == '%') return HelpLoadResult::kFailed;
  }
  return HelpLoadResult::kMalformed;
}

HelpLoadResult read_title(FILE* file, char* line, HelpTopic* topic) {
  while (read_line(file, line)) {
    if (line[0] == '#') return HelpLoadResult::kFailed;
    if (line[0] == '%')
      return take_text(&topic->title, line) ? HelpLoadResult::kLoaded : HelpLoadResult::kFailed;
  }
  return HelpLoadResult::kMalformed;
}

bool append_body(HelpTopic* topic, size_t* length, const char* line) {
  size_t add = strlen(line);
  auto* grown = static_cast<char*>(realloc(topic->body, *length + add + 1));
  if (!grown) return false;
  memcpy(grown + *length, line, add + 1);
  topic->body = grown;
  *length += add;
  return true;
}

// Reads the body into the topic. On kNextKey, line holds the next key line.
BodyEnd read_body(FILE* file, char* line, HelpTopic* topic) {
  size_t length = 0;
  while (read_line(file, line)) {
    bool started = topic->body != nullptr;
    if (!started && strcmp(line, "\n") == 0) continue;
    if (line[0] == '%' || (!started && line[0] == '#')) return BodyEnd::kMalformed;
    if (line[0] == '#') return BodyEnd::kNextKey;
    if (!append_body(topic, &length, line)) return BodyEnd::kFailed;
  }
  return BodyEnd::kEndOfFile;
}

HelpLoadResult read_topics(FILE* file) {
  char line[kLineSize];
  do {
    if (!read_line(file, line)) return HelpLoadResult::kMalformed;
  } while (strcmp(without_line_end(line), kHelpHeader) != 0);
  do {
    if (!read_line(file, line)) return HelpLoadResult::kMalformed;
  } while (!starts_with(line, "%%"));
  copy_bounded(help_heading, without_line_end(line) + 2);
  if (help_heading[0] == '\0') return HelpLoadResult::kMalformed;

  HelpTopic* topic = help_topics = new_help_topic();
  if (!topic) return HelpLoadResult::kFailed;
  HelpLoadResult found = read_first_key_line(file, line);
  if (found != HelpLoadResult::kLoaded) return found;
  for (;;) {
    if (!take_text(&topic->key, line)) return HelpLoadResult::kFailed;
    HelpLoadResult titled = read_title(file, line, topic);
    if (titled != HelpLoadResult::kLoaded) return titled;
    switch (read_body(file, line, topic)) {
      case BodyEnd::kEndOfFile:
        return HelpLoadResult::kLoaded;
      case BodyEnd::kMalformed:
        return HelpLoadResult::kMalformed;
      case BodyEnd::kFailed:
        return HelpLoadResult::kFailed;
      case BodyEnd::kNextKey:
        break;
    }
    topic = topic->next = new_help_topic();
    if (!topic) return HelpLoadResult::kFailed;
  }
}

}  // namespace

HelpLoadResult parse_help_file(FILE* file) {
  free_help_topics();
  help_current_topic = nullptr;
  memset(help_heading, 0, sizeof help_heading);
  help_current_row = 0;
  HelpLoadResult result = read_topics(file);
  // A read error must not pass for the end of a complete file.
  if (result == HelpLoadResult::kLoaded && ferror(file)) result = HelpLoadResult::kMalformed;
  if (result != HelpLoadResult::kLoaded) free_help_topics();
  return result;
}

void help_file_path(const char* name, char* path, size_t size) {
  snprintf(path, size, "%s%s/%s", kShareRoot, kHelpDir, name);
}

HelpTopic* new_help_topic() {
  return static_cast<HelpTopic*>(calloc(1, sizeof(HelpTopic)));
}

void free_help_topics() {
  while (help_topics) {
    HelpTopic* next = help_topics->next;
    free(help_topics->key);
    free(help_topics->title);
    free(help_topics->body);
    free(help_topics);
    help_topics = next;
  }
  help_current_topic = nullptr;
}
