// Writing a standard settings file (Apply, and 保存 onto one), and the texts
// that say why a settings file could not be read or written.
#ifndef TOLQ_GUI_STANDARD_FILE_H
#define TOLQ_GUI_STANDARD_FILE_H

#include <string>
#include <vector>

#include "common/safe_file.h"
#include "gui/state.h"

enum class Applied { kWritten, kKept, kFailed };

// Writes the standard file of a kind with the bytes its render gives, made
// once, keeping its previous version beside it as "<name>-", and clears the
// page's dirty flag. When someone else wrote the file since this program
// last read or wrote it, or does so while it is written, the user decides
// first (message 126); kKept when the user chose to leave it. error receives
// why a write failed; replaced, whether a file was there before, so that its
// previous version is now kept.
Applied apply_file(MainWindow* main, SettingsFile& file, FileError* error,
                   bool* replaced = nullptr);

// How an Apply of one standard file ended, for the status line.
struct AppliedFile {
  std::string path;
  Applied applied = Applied::kWritten;
  bool replaced = false;  // written over a file, whose previous version is kept
};
// What the status line says after an Apply of these files, in UTF-8: what was
// written where and where the previous versions are, that convd reads them
// at its start, and what was left or failed.
std::string applied_status(const std::vector<AppliedFile>& files);

// "<path>\n<message>" for a refusal; "" for a failing system call, whose
// caller's own message says enough.
std::string refusal_text(const FileError& error);
// The same for a settings file at path that a read refused for its link or
// its size; "" for anything else.
std::string read_refusal_text(const char* path);

#endif
