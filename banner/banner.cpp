#include "banner/banner.h"

#include <libgen.h>

#include <cstdarg>
#include <cstdlib>
#include <cstdio>
#include <cstring>

#include "common/text.h"

namespace {
constexpr const char* kMakerLine = "Copyright (C) 2016 Tolq8 Project";
}

void print_version_banner(CodeSet code_set, const char* program, int major, int minor) {
  char name_line[kLineSize];
  if (program && *program) {
    char path[kLineSize];
    copy_bounded(path, program);
    snprintf(name_line, sizeof name_line, "%s(Tolq8)", basename(path));
  } else {
    snprintf(name_line, sizeof name_line, "(Tolq8)");
  }
  char version_line[kLineSize];
  snprintf(version_line, sizeof version_line, "Version %d.%02d %s", major, minor, VERSION_DATE);
  const char* first[] = {" ", name_line, version_line, nullptr};
  print_centred_lines(code_set, first);
  const char* second[] = {" ", kMakerLine, " ", nullptr};
  print_centred_lines(code_set, second);
}

void print_centred_lines(CodeSet code_set, const char* const* lines) {
  if (!lines) return;
  for (; *lines; ++lines) {
    int margin = (BANNER_WIDTH - static_cast<int>(strlen(*lines))) / 2;
    if (margin < 1) margin = 1;
    char spaces[BANNER_WIDTH + 1];
    memset(spaces, ' ', static_cast<size_t>(margin));
    spaces[margin] = '\0';
    char text[kLineSize];
    snprintf(text, sizeof text, "%s%s", spaces, *lines);
    print_in_code_set(code_set, "%s\n", text);
  }
}

void print_in_code_set(CodeSet code_set, const char* format, ...) {
  char formatted[kLineSize];
  va_list args;
  va_start(args, format);
  vsnprintf(formatted, sizeof formatted, format, args);
  va_end(args);
  char converted[kLineSize] = {};
  int length = static_cast<int>(strlen(formatted));
  if (code_set == CODE_SET_SJIS)
    euc_to_sjis(converted, kLineSize - 1, formatted, length);
  else
    copy_bounded(converted, formatted);
  printf("%s", converted);
}

int euc_to_sjis(char* destination, int room, const char* source, int length) {
  auto* in = reinterpret_cast<const unsigned char*>(source);
  int read = 0, written = 0;
  while (read < length) {
    unsigned c = in[read];
    if (c < 0x80) {
      if (written + 1 > room) break;
      destination[written++] = static_cast<char>(c);
      ++read;
      continue;
    }
    if (read + 1 >= length) break;  // a lead byte without its second byte
    unsigned second = in[read + 1];
    if (c == 0x8E) {
      if (written + 1 > room) break;
      destination[written++] = static_cast<char>(second | 0x80);
    } else {
      if (written + 2 > room) break;
      uint16_t code = jis_to_sjis(c & 0x7F, second & 0x7F);
      destination[written++] = static_cast<char>(code >> 8);
      destination[written++] = static_cast<char>(code & 0xFF);
    }
    read += 2;
  }
  return written;
}

uint16_t jis_to_sjis(unsigned first, unsigned second) {
  unsigned trail = (first & 1) ? second + 0x1F : second + 0x7D;
  if (trail >= 0x7F) ++trail;
  unsigned lead = (first - 0x21) / 2 + 0x81;
  if (lead >= 0xA0) lead = (first - 0x21) / 2 + 0xC1;
  return static_cast<uint16_t>(((lead << 8) + trail) & 0xFFFF);
}

CodeSet terminal_code_set() {
  const char* lang = getenv("LANG");
  if (!lang) return CODE_SET_EUC;
  if (strcmp(lang, "ja_JP.SJIS") == 0) return CODE_SET_SJIS;
  if (strcmp(lang, "ja_JP.utf8") == 0 || strcmp(lang, "ja_JP.UTF-8") == 0) return CODE_SET_UTF8;
  return CODE_SET_EUC;
}
