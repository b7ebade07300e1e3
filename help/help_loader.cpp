#include "help/help_loader.h"

#include <cstring>

#include "common/places.h"

namespace {

// What ended a topic's body.
enum class BodyEnd { kEndOfFile, kNextKey, kMalformed };

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

// The text after a line's marker byte.
std::string text_after_marker(char* line) {
  return without_line_end(line) + 1;
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
    if (line[0] == '%') {
      topic->title = text_after_marker(line);
      return HelpLoadResult::kLoaded;
    }
  }
  return HelpLoadResult::kMalformed;
}

// Reads the body into the topic. On kNextKey, line holds the next key line.
BodyEnd read_body(FILE* file, char* line, HelpTopic* topic) {
  while (read_line(file, line)) {
    bool started = !topic->body.empty();
    if (!started && strcmp(line, "\n") == 0) continue;
    if (line[0] == '%' || (!started && line[0] == '#')) return BodyEnd::kMalformed;
    if (line[0] == '#') return BodyEnd::kNextKey;
    topic->body += line;
  }
  return BodyEnd::kEndOfFile;
}

HelpLoadResult read_topics(FILE* file, HelpFile* help) {
  char line[kLineSize];
  do {
    if (!read_line(file, line)) return HelpLoadResult::kMalformed;
  } while (strcmp(without_line_end(line), kHelpHeader) != 0);
  do {
    if (!read_line(file, line)) return HelpLoadResult::kMalformed;
  } while (!starts_with(line, "%%"));
  copy_bounded(help->heading, without_line_end(line) + 2);
  if (help->heading[0] == '\0') return HelpLoadResult::kMalformed;

  HelpLoadResult found = read_first_key_line(file, line);
  if (found != HelpLoadResult::kLoaded) return found;
  for (;;) {
    HelpTopic& topic = help->topics.emplace_back();
    topic.key = text_after_marker(line);
    HelpLoadResult titled = read_title(file, line, &topic);
    if (titled != HelpLoadResult::kLoaded) return titled;
    switch (read_body(file, line, &topic)) {
      case BodyEnd::kEndOfFile:
        return HelpLoadResult::kLoaded;
      case BodyEnd::kMalformed:
        return HelpLoadResult::kMalformed;
      case BodyEnd::kNextKey:
        break;
    }
  }
}

}  // namespace

HelpLoadResult parse_help_file(FILE* file, HelpFile* help) {
  help->topics.clear();
  memset(help->heading, 0, sizeof help->heading);
  HelpLoadResult result = read_topics(file, help);
  // A read error must not pass for the end of a complete file.
  if (result == HelpLoadResult::kLoaded && ferror(file)) result = HelpLoadResult::kMalformed;
  if (result != HelpLoadResult::kLoaded) help->topics.clear();
  return result;
}

void help_file_path(const char* name, char* path, size_t size) {
  snprintf(path, size, "%s%s/%s", kShareRoot, kHelpDir, name);
}
