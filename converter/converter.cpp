#include "converter/converter.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstring>

#include "common/catalogue.h"
#include "converter/conversion.h"

namespace {

using OpenFn = tolq_conv_t (*)(void);
using ConvFn = int (*)(tolq_conv_t, char**, size_t*, char**, size_t*);
using CloseFn = int (*)(tolq_conv_t);

struct Entry {
  OpenFn euc_to_utf8_open, utf8_to_euc_open;
  ConvFn euc_to_utf8, utf8_to_euc;
  CloseFn utf8_to_euc_close, euc_to_utf8_close;
};

// Without the library the same conversion runs in-process.
constexpr Entry kInProcess = {conversion_open_euc_to_utf8,
                              conversion_open_utf8_to_euc,
                              conversion_run,
                              conversion_run,
                              conversion_close,
                              conversion_close};

// The library in use and the entry points every conversion calls.
struct Converter {
  void* handle = nullptr;  // null while the library is not in use
  Entry entry = kInProcess;
};
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): one library per process.
Converter converter;

// The wrappers must return a string: without memory for it the program ends.
char* allocate(size_t size) {
  auto* p = static_cast<char*>(std::calloc(size, 1));
  if (!p) out_of_memory();
  return p;
}

CString convert_with(OpenFn open, ConvFn conv, CloseFn close, const char* text, size_t in_count,
                     size_t out_size) {
  char* out = allocate(out_size);
  char* out_pos = out;
  size_t room = out_size - 1;  // the last byte stays for the terminator
  tolq_conv_t cd = open();
  if (cd) {
    char* in = const_cast<char*>(text);
    size_t in_left = in_count;
    conv(cd, &in, &in_left, &out_pos, &room);
    close(cd);
  }
  *out_pos = '\0';
  return CString(out);
}

size_t count_of(const char* text, char c) {
  size_t n = 0;
  for (; *text; ++text) n += *text == c;
  return n;
}

}  // namespace

void load_converter(const char* path) {
  converter.entry = kInProcess;
  converter.handle = dlopen(path, RTLD_LAZY);
  if (!converter.handle) {
    printf("NULL == tolq_handle\n");
    return;
  }
  const char* names[] = {"tolq_conv_open",         "tolq_euc_to_utf8_open", "tolq_utf8_to_euc_open",
                         "tolq_euc_to_utf8",       "tolq_utf8_to_euc",      "tolq_conv_close",
                         "tolq_utf8_to_euc_close", "tolq_euc_to_utf8_close"};
  void* found[8];
  for (int i = 0; i < 8; ++i) {
    found[i] = dlsym(converter.handle, names[i]);
    if (!found[i]) {
      dlclose(converter.handle);
      converter.handle = nullptr;
      printf("dlclose\n");
      return;
    }
  }
  converter.entry.euc_to_utf8_open = reinterpret_cast<OpenFn>(found[1]);
  converter.entry.utf8_to_euc_open = reinterpret_cast<OpenFn>(found[2]);
  converter.entry.euc_to_utf8 = reinterpret_cast<ConvFn>(found[3]);
  converter.entry.utf8_to_euc = reinterpret_cast<ConvFn>(found[4]);
  converter.entry.utf8_to_euc_close = reinterpret_cast<CloseFn>(found[6]);
  converter.entry.euc_to_utf8_close = reinterpret_cast<CloseFn>(found[7]);
}

bool converter_loaded() {
  return converter.handle != nullptr;
}

void close_converter() {
  if (converter.handle) dlclose(converter.handle);
  converter.handle = nullptr;
  converter.entry = kInProcess;
}

CString euc_to_utf8(const char* text) {
  const Entry& entry = converter.entry;
  size_t n = text ? strlen(text) : 0;
  return convert_with(entry.euc_to_utf8_open, entry.euc_to_utf8, entry.euc_to_utf8_close,
                      text ? text : "", n, 2 * n + 1);
}

CString utf8_to_euc(const char* text) {
  const Entry& entry = converter.entry;
  size_t n = text ? strlen(text) : 0;
  if (n == 0)
    return convert_with(entry.utf8_to_euc_open, entry.utf8_to_euc, entry.utf8_to_euc_close, "", 1,
                        1);
  return convert_with(entry.utf8_to_euc_open, entry.utf8_to_euc, entry.utf8_to_euc_close, text,
                      n + 1, 4 * n + 1);
}

bool euc_can_hold(const char* utf8) {
  return count_of(utf8_to_euc(utf8).get(), '?') <= count_of(utf8 ? utf8 : "", '?');
}
