#include "converter/conversion.h"

#include <strings.h>

#include <cerrno>
#include <cstdlib>
#include <iconv.h>

namespace {

constexpr const char* kEucJpName = "EUC-JP-MS";
constexpr const char* kUtf8Name = "UTF-8";

// How far to step over a character that does not convert.
enum class Source { kEuc, kUtf8, kOther };

struct Converter {
  iconv_t cd;
  Source source;
};

bool is_euc_trail(unsigned char c) {
  return c >= 0xa1 && c <= 0xfe;
}

bool is_utf8_continuation(unsigned char c) {
  return (c & 0xc0) == 0x80;
}

// The bytes of the character at p, at most left: its lead byte and the
// trailing bytes that belong to it.
size_t euc_character_length(const unsigned char* p, size_t left) {
  size_t trail = 0;
  if (p[0] == 0x8f)
    trail = 2;
  else if (p[0] == 0x8e || is_euc_trail(p[0]))
    trail = 1;
  size_t length = 1;
  while (trail-- > 0 && length < left && is_euc_trail(p[length])) ++length;
  return length;
}

size_t utf8_character_length(const unsigned char* p, size_t left) {
  size_t trail = 0;
  if (p[0] >= 0xc2 && p[0] <= 0xdf)
    trail = 1;
  else if (p[0] >= 0xe0 && p[0] <= 0xef)
    trail = 2;
  else if (p[0] >= 0xf0 && p[0] <= 0xf4)
    trail = 3;
  size_t length = 1;
  while (trail-- > 0 && length < left && is_utf8_continuation(p[length])) ++length;
  return length;
}

size_t bad_character_length(Source source, const char* p, size_t left) {
  auto bytes = reinterpret_cast<const unsigned char*>(p);
  switch (source) {
    case Source::kEuc:
      return euc_character_length(bytes, left);
    case Source::kUtf8:
      return utf8_character_length(bytes, left);
    default:
      return 1;
  }
}

Source source_of(const char* from) {
  if (strncasecmp(from, "EUC", 3) == 0) return Source::kEuc;
  if (strcasecmp(from, kUtf8Name) == 0 || strcasecmp(from, "UTF8") == 0) return Source::kUtf8;
  return Source::kOther;
}

}  // namespace

tolq_conv_t conversion_open(const char* to, const char* from) {
  if (!to || !from) return nullptr;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return nullptr;
  // malloc rather than new: the library then needs no C++ runtime, which
  // would cost every program that loads it a megabyte of resident memory.
  auto* converter = static_cast<Converter*>(std::malloc(sizeof(Converter)));
  if (!converter) {
    iconv_close(cd);
    return nullptr;
  }
  *converter = {cd, source_of(from)};
  return converter;
}

tolq_conv_t conversion_open_euc_to_utf8() {
  return conversion_open(kUtf8Name, kEucJpName);
}

tolq_conv_t conversion_open_utf8_to_euc() {
  return conversion_open(kEucJpName, kUtf8Name);
}

int conversion_run(tolq_conv_t cd, char** in, size_t* in_left, char** out, size_t* out_left) {
  if (!cd || !in || !*in || !in_left || !out || !*out || !out_left) return -1;
  auto* converter = static_cast<Converter*>(cd);
  int replaced = 0;
  while (*in_left > 0) {
    if (iconv(converter->cd, in, in_left, out, out_left) != static_cast<size_t>(-1)) break;
    if (errno == EILSEQ && *out_left > 0) {
      size_t skip = bad_character_length(converter->source, *in, *in_left);
      *(*out)++ = '?';
      --*out_left;
      *in += skip;
      *in_left -= skip;
      ++replaced;
      continue;
    }
    if (errno == EINVAL) {  // a character cut off at the end: drop it
      *in += *in_left;
      *in_left = 0;
    }
    break;  // E2BIG, or EILSEQ without room
  }
  iconv(converter->cd, nullptr, nullptr, nullptr, nullptr);
  return replaced;
}

int conversion_close(tolq_conv_t cd) {
  if (!cd) return -1;
  auto* converter = static_cast<Converter*>(cd);
  int result = iconv_close(converter->cd);
  std::free(converter);
  return result;
}
