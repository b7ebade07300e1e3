// EUC-JP <-> UTF-8 conversion, shared by the converter library and by the
// program, which converts in-process when the library cannot be loaded.
//
// The conversion is iconv's EUC-JP variant with the NEC and IBM extensions
// (EUC-JP-MS): it maps the characters Japanese input methods type (①, Ⅰ, ㈱,
// 髙, －, ～, ∥, ￢) and takes every EUC-JP character a settings file may hold
// to UTF-8 and back unchanged. A character that does not convert becomes one
// '?' and is skipped whole, so the characters after it are read right.
#ifndef TOLQ_CONVERTER_CONVERSION_H
#define TOLQ_CONVERTER_CONVERSION_H

#include <cstddef>

#include "converter/tolqconv.h"

// A descriptor for one direction; null when iconv lacks the code sets.
tolq_conv_t conversion_open(const char* to, const char* from);
tolq_conv_t conversion_open_euc_to_utf8();
tolq_conv_t conversion_open_utf8_to_euc();
// Converts like iconv(3), never writing more than the room given; returns the
// number of characters replaced by '?', or -1 for bad arguments.
int conversion_run(tolq_conv_t cd, char** in, size_t* in_left, char** out, size_t* out_left);
int conversion_close(tolq_conv_t cd);

#endif
