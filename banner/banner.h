// The version banner printed for "-v", centred and in the terminal's code set.
#ifndef TOLQ_BANNER_BANNER_H
#define TOLQ_BANNER_BANNER_H

#include <cstddef>
#include <cstdint>

#include "banner/version.h"

// The terminal's code set, as LANG names it.
enum CodeSet : int { CODE_SET_EUC = 1, CODE_SET_SJIS = 3, CODE_SET_UTF8 = 4 };
CodeSet terminal_code_set();

inline constexpr int BANNER_WIDTH = 60;
inline constexpr const char* VERSION_DATE = "2016/03/01";

void print_version_banner(CodeSet code_set, const char* program, int major, int minor);
// Prints each line of a null-terminated list centred in BANNER_WIDTH columns.
void print_centred_lines(CodeSet code_set, const char* const* lines);
void print_in_code_set(CodeSet code_set, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
// Converts length bytes of EUC-JP into at most room bytes of Shift_JIS; no terminator.
int euc_to_sjis(char* destination, int room, const char* source, int length);
uint16_t jis_to_sjis(unsigned first, unsigned second);

#endif
