// The converter library: EUC-JP <-> UTF-8 (see conversion.h).
#include "converter/tolqconv.h"

#include "converter/conversion.h"

extern "C" {

tolq_conv_t tolq_conv_open(const char* to, const char* from) {
  return conversion_open(to, from);
}
tolq_conv_t tolq_euc_to_utf8_open(void) {
  return conversion_open_euc_to_utf8();
}
tolq_conv_t tolq_utf8_to_euc_open(void) {
  return conversion_open_utf8_to_euc();
}

int tolq_euc_to_utf8(tolq_conv_t cd, char** in, size_t* in_left, char** out, size_t* out_left) {
  return conversion_run(cd, in, in_left, out, out_left);
}
int tolq_utf8_to_euc(tolq_conv_t cd, char** in, size_t* in_left, char** out, size_t* out_left) {
  return conversion_run(cd, in, in_left, out, out_left);
}

int tolq_conv_close(tolq_conv_t cd) {
  return conversion_close(cd);
}
int tolq_utf8_to_euc_close(tolq_conv_t cd) {
  return conversion_close(cd);
}
int tolq_euc_to_utf8_close(tolq_conv_t cd) {
  return conversion_close(cd);
}
}
