/* Entry points of the EUC-JP <-> UTF-8 converter library, libtolqconv.so.
 * A descriptor comes from an open function and goes back to its close function.
 * The conversion functions advance the input pointer and count and the output
 * pointer and room like iconv(3); they never write more than the room given. */
#ifndef TOLQCONV_H
#define TOLQCONV_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef void* tolq_conv_t;

tolq_conv_t tolq_conv_open(const char* to, const char* from);
tolq_conv_t tolq_euc_to_utf8_open(void);
tolq_conv_t tolq_utf8_to_euc_open(void);
int tolq_euc_to_utf8(tolq_conv_t cd, char** in, size_t* in_left, char** out, size_t* out_left);
int tolq_utf8_to_euc(tolq_conv_t cd, char** in, size_t* in_left, char** out, size_t* out_left);
int tolq_conv_close(tolq_conv_t cd);
int tolq_utf8_to_euc_close(tolq_conv_t cd);
int tolq_euc_to_utf8_close(tolq_conv_t cd);

#ifdef __cplusplus
}
#endif

#endif
