#include "common/catalogue.h"

#include <cstdlib>
#include <cstring>

#include "common/input_file.h"
#include "common/message_numbers.h"
#include "common/places.h"

namespace {

struct ParsedLine {
  int number;
  const char* text;  // raw text after the separator, up to the end of the piece
};

bool is_blank(char c) {
  return c == ' ' || c == '\t';
}

// Applies the line syntax to one piece read with fgets; false when it yields no entry.
bool parse_line(char* line, ParsedLine* out) {
  if (line[0] == '#' || line[0] == '\0') return false;
  char* sep = line;
  if (!is_blank(line[0])) {
    sep = line + strcspn(line, " \t");
    if (*sep == '\0') return false;
  }
  char* text = sep;
  while (is_blank(*text)) ++text;
  if (*text == '\0' || *text == '\n') return false;
  char saved = *sep;
  *sep = '\0';
  out->number = static_cast<int>(strtol(line, nullptr, 10));
  *sep = saved;
  out->text = text;
  return true;
}

char escape_value(char c) {
  switch (c) {
    case 'b':
      return '\b';
    case 'f':
      return '\f';
    case 'n':
      return '\n';
    case 'r':
      return '\r';
    case 't':
      return '\t';
    case 'v':
      return '\v';
    default:
      return c;
  }
}

// Decodes the escapes of a raw text; the line's newline, "\0" or the end stop it.
void decode_text(const char* raw, std::string* out) {
  for (const char* p = raw; *p && *p != '\n'; ++p) {
    if (*p != '\\') {
      out->push_back(*p);
      continue;
    }
    char next = p[1];
    if (next == '\0' || next == '0') return;
    out->push_back(escape_value(next));
    ++p;
  }
}

}  // namespace

std::unique_ptr<MessageCatalogue> parse_message_catalogue(FILE* file) {
  auto catalogue = std::make_unique<MessageCatalogue>();
  char line[kLineSize];
  std::vector<std::pair<int, size_t>> offsets;
  std::string decoded;
  while (fgets(line, sizeof line, file)) {
    ParsedLine parsed;
    if (!parse_line(line, &parsed)) continue;
    decoded.clear();
    decode_text(parsed.text, &decoded);
    offsets.emplace_back(parsed.number, catalogue->texts.size());
    catalogue->texts.append(decoded);
    catalogue->texts.push_back('\0');
  }
  for (const auto& [number, offset] : offsets)
    catalogue->entries.push_back({number, catalogue->texts.data() + offset});
  return catalogue;
}

int load_message_catalogue(const char* name, std::unique_ptr<MessageCatalogue>* catalogue) {
  char path[kPathSize];
  if (name[0] == '/')
    copy_bounded(path, name);
  else
    snprintf(path, sizeof path, "%s%s/%s", kShareRoot, kMessageDir, name);
  InputFile file = open_input_file(path);
  if (!file) {
    *catalogue = std::make_unique<MessageCatalogue>();
    return -1;
  }
  *catalogue = parse_message_catalogue(file.get());
  return 0;
}

const char* message_text(const MessageCatalogue* catalogue, int number, const char* fallback) {
  if (catalogue && !catalogue->entries.empty()) {
    int low = 0, high = static_cast<int>(catalogue->entries.size()) - 1;
    while (low <= high) {
      int middle = low + (high - low) / 2;
      const MessageEntry& entry = catalogue->entries[static_cast<size_t>(middle)];
      int found = entry.number;
      if (found == number) return entry.text;
      if (number > found)
        low = middle + 1;
      else
        high = middle - 1;
    }
  }
  if (fallback && *fallback) return fallback;
  // Outlives the call, as an entry's text does; the next such call overwrites it.
  static char buffer[256];
  snprintf(buffer, sizeof buffer, "mes_id = %d: %s", number, "Message not found.\n");
  return buffer;
}

namespace {

struct MemoryNoticeRecord {
  const MessageCatalogue* catalogue = nullptr;
  MemoryNotice show = nullptr;
};

// Reached from wherever an allocation fails, the core included, which knows
// no window to ask.
MemoryNoticeRecord& memory_notice() {
  static MemoryNoticeRecord notice;
  return notice;
}

}  // namespace

void set_out_of_memory_notice(const MessageCatalogue* catalogue, MemoryNotice notice) {
  memory_notice() = {catalogue, notice};
}

void out_of_memory() {
  const MemoryNoticeRecord& notice = memory_notice();
  const char* text = message_text(notice.catalogue, kMessageNoMemory, nullptr);
  if (notice.show)
    notice.show(text);
  else
    fputs(text, stderr);
  exit(255);
}
