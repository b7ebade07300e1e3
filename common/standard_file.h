// Writing a standard settings file (Apply, and 保存 onto one), and the texts
// that say why a settings file could not be read or written.
#ifndef TOLQ_COMMON_STANDARD_FILE_H
#define TOLQ_COMMON_STANDARD_FILE_H

#include <string>

#include "common/safe_file.h"
#include "common/state.h"

enum class Applied { kWritten, kKept, kFailed };

// A page's writer: write_convdrc or save_access_file.
using SaveFunction = int (*)(MainWindow*, const char*, const char*, const SaveOptions&);

// Writes the standard file of a kind with save, keeping its previous version
// beside it as "<name>-", and clears the page's dirty flag. When someone else
// wrote the file since this program last read or wrote it, or does so while
// it is written, the user decides first (message 126); kKept when the user
// chose to leave it. error receives why a write failed.
Applied apply_file(MainWindow* main, int kind, SaveFunction save, FileError* error);

// "<path>\n<message>" for a refusal; "" for a failing system call, whose
// caller's own message says enough.
std::string refusal_text(const FileError& error);
// The same for a settings file at path that a read refused for its link or
// its size; "" for anything else.
std::string read_refusal_text(const char* path);

#endif
