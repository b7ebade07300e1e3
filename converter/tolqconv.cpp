// The converter library: EUC-JP <-> UTF-8 through the C library's iconv.
// Bytes that are not valid in the source code set become '?'; a character cut
// off at the end of the input is dropped. Conversion stops when the room runs out.
#include "converter/tolqconv.h"

#include <cerrno>
#include <iconv.h>

namespace {

const iconv_t kBadDescriptor = reinterpret_cast<iconv_t>(-1);

tolq_conv_t open_pair(const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  return cd == kBadDescriptor ? nullptr : static_cast<tolq_conv_t>(cd);
}

int close_pair(tolq_conv_t cd) {
  return cd ? iconv_close(static_cast<iconv_t>(cd)) : -1;
}

int convert(tolq_conv_t cd, char** in, size_t* in_left, char** out, size_t* out_left) {
  if (!cd || !in || !*in || !in_left || !out || !*out || !out_left) return -1;
  auto desc = static_cast<iconv_t>(cd);
  int replaced = 0;
  while (*in_left > 0) {
    if (iconv(desc, in, in_left, out, out_left) != static_cast<size_t>(-1)) break;
    if (errno == EILSEQ && *out_left > 0) {
      *(*out)++ = '?';
      --*out_left;
      ++*in;
      --*in_left;
      ++replaced;
      continue;
    }
    if (errno == EINVAL) {  // incomplete character at the end: drop it
      *in += *in_left;
      *in_left = 0;
    }
    break;  // E2BIG, or EILSEQ without room
  }
  iconv(desc, nullptr, nullptr, nullptr, nullptr);
  return replaced;
}

}  // namespace

extern "C" {

tolq_conv_t tolq_conv_open(const char* to, const char* from) {
  return to && from ? open_pair(to, from) : nullptr;
}
tolq_conv_t tolq_euc_to_utf8_open(void) {
  return open_pair("UTF-8", "EUC-JP");
}
tolq_conv_t tolq_utf8_to_euc_open(void) {
  return open_pair("EUC-JP", "UTF-8");
}

int tolq_euc_to_utf8(tolq_conv_t cd, char** in, size_t* in_left, char** out, size_t* out_left) {
  return convert(cd, in, in_left, out, out_left);
}
int tolq_utf8_to_euc(tolq_conv_t cd, char** in, size_t* in_left, char** out, size_t* out_left) {
  return convert(cd, in, in_left, out, out_left);
}

int tolq_conv_close(tolq_conv_t cd) {
  return close_pair(cd);
}
int tolq_utf8_to_euc_close(tolq_conv_t cd) {
  return close_pair(cd);
}
int tolq_euc_to_utf8_close(tolq_conv_t cd) {
  return close_pair(cd);
}
}
