// Bridge to the converter library, loaded at run time.
#ifndef TOLQ_CONVERTER_CONVERTER_H
#define TOLQ_CONVERTER_CONVERTER_H

#include <cstdlib>
#include <memory>

struct FreeDeleter {
  void operator()(char* p) const { std::free(p); }
};
// A converted string; always allocated and NUL-terminated.
using CString = std::unique_ptr<char, FreeDeleter>;

inline constexpr const char* kConverterPath = "/usr/lib/tolq8/unicode_conv/libtolqconv.so";

// Loads the library and looks up its eight entry points. On failure prints
// "NULL == tolq_handle\n" or "dlclose\n" and leaves the converter unloaded.
void load_converter(const char* path = kConverterPath);
// True while the library is in use.
bool converter_loaded();
void close_converter();

// EUC-JP -> UTF-8 and back. Without the library the same conversion runs
// in-process. A character that does not convert becomes '?'.
CString euc_to_utf8(const char* text);
CString utf8_to_euc(const char* text);
// True when every character of a UTF-8 text has an EUC-JP form, so that it
// can be written to a settings file and read back.
bool euc_can_hold(const char* utf8);

#endif
