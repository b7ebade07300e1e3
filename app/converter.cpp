#include "app/converter.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <new>

#include "converter/tolqconv.h"

void* const kConverterNotLoaded = reinterpret_cast<void*>(-1);
void* tolq_handle = kConverterNotLoaded;

namespace {

using OpenFn = tolq_conv_t (*)(void);
using ConvFn = int (*)(tolq_conv_t, char**, size_t*, char**, size_t*);
using CloseFn = int (*)(tolq_conv_t);

struct Entry {
  OpenFn euc_to_utf8_open, utf8_to_euc_open;
  ConvFn euc_to_utf8, utf8_to_euc;
  CloseFn utf8_to_euc_close, euc_to_utf8_close;
} entry;

char* allocate(size_t size) {
  auto* p = static_cast<char*>(std::calloc(size, 1));
  if (!p) throw std::bad_alloc();
  return p;
}

CString copy_of(const char* text) {
  size_t n = text ? strlen(text) : 0;
  char* p = allocate(n + 1);
  if (n) memcpy(p, text, n);
  return CString(p);
}

CString run(OpenFn open, ConvFn conv, CloseFn close, const char* text, size_t in_count,
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

}  // namespace

void load_converter(const char* path) {
  tolq_handle = dlopen(path, RTLD_LAZY);
  if (!tolq_handle) {
    tolq_handle = kConverterNotLoaded;
    printf("NULL == tolq_handle\n");
    return;
  }
  const char* names[] = {"tolq_conv_open",         "tolq_euc_to_utf8_open", "tolq_utf8_to_euc_open",
                         "tolq_euc_to_utf8",       "tolq_utf8_to_euc",      "tolq_conv_close",
                         "tolq_utf8_to_euc_close", "tolq_euc_to_utf8_close"};
  void* found[8];
  for (int i = 0; i < 8; ++i) {
    found[i] = dlsym(tolq_handle, names[i]);
    if (!found[i]) {
      dlclose(tolq_handle);
      tolq_handle = kConverterNotLoaded;
      printf("dlclose\n");
      return;
    }
  }
  entry.euc_to_utf8_open = reinterpret_cast<OpenFn>(found[1]);
  entry.utf8_to_euc_open = reinterpret_cast<OpenFn>(found[2]);
  entry.euc_to_utf8 = reinterpret_cast<ConvFn>(found[3]);
  entry.utf8_to_euc = reinterpret_cast<ConvFn>(found[4]);
  entry.utf8_to_euc_close = reinterpret_cast<CloseFn>(found[6]);
  entry.euc_to_utf8_close = reinterpret_cast<CloseFn>(found[7]);
}

void close_converter() {
  if (tolq_handle != kConverterNotLoaded) dlclose(tolq_handle);
  tolq_handle = kConverterNotLoaded;
}

CString euc_to_utf8(const char* text) {
  if (tolq_handle == kConverterNotLoaded) return copy_of(text);
  size_t n = text ? strlen(text) : 0;
  return run(entry.euc_to_utf8_open, entry.euc_to_utf8, entry.euc_to_utf8_close, text ? text : "",
             n, 2 * n + 1);
}

CString utf8_to_euc(const char* text) {
  if (tolq_handle == kConverterNotLoaded) return copy_of(text);
  size_t n = text ? strlen(text) : 0;
  if (n == 0)
    return run(entry.utf8_to_euc_open, entry.utf8_to_euc, entry.utf8_to_euc_close, "", 1, 1);
  return run(entry.utf8_to_euc_open, entry.utf8_to_euc, entry.utf8_to_euc_close, text, n + 1,
             4 * n + 1);
}
