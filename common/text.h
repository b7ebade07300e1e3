// Bounded copies into the program's fixed buffers.
#ifndef TOLQ_COMMON_TEXT_H
#define TOLQ_COMMON_TEXT_H

#include <cstddef>
#include <cstdio>
#include <cstring>

inline constexpr int kPathSize = 4096;  // paths: at most 4095 bytes
inline constexpr int kLineSize = 1024;  // lines, entry texts, model fields: at most 1023 bytes

// Copies at most size - 1 bytes of src and terminates; a null src gives "".
inline void copy_bounded(char* dst, size_t size, const char* src) {
  if (size == 0) return;
  size_t n = src ? strnlen(src, size - 1) : 0;
  memcpy(dst, src ? src : "", n);
  dst[n] = '\0';
}

template <size_t N>
inline void copy_bounded(char (&dst)[N], const char* src) {
  copy_bounded(dst, N, src);
}

// Joins a and b into dst, cut to size - 1 bytes; false when the join was cut.
inline bool join_bounded(char* dst, size_t size, const char* a, const char* b) {
  size_t a_length = strlen(a), b_length = strlen(b);
  copy_bounded(dst, size, a);
  size_t used = strlen(dst);
  if (used < size - 1) copy_bounded(dst + used, size - used, b);
  return a_length + b_length < size;
}

template <size_t N>
inline bool join_bounded(char (&dst)[N], const char* a, const char* b) {
  return join_bounded(dst, N, a, b);
}

// True when text begins with prefix.
inline bool starts_with(const char* text, const char* prefix) {
  return strncmp(text, prefix, strlen(prefix)) == 0;
}

#endif
