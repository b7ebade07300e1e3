// Writes a settings file so that no failure loses or corrupts it.
//
// An existing target is written to a temporary file "tmpXXXXXX" in its own
// directory, given mode 0644, flushed to disk and renamed over the target.
// A new target is created exclusively (a link planted at its name is not
// followed) after its missing directories are made, and removed again when
// writing it fails. Every write error is detected at commit().
#ifndef TOLQ_COMMON_SAFE_FILE_H
#define TOLQ_COMMON_SAFE_FILE_H

#include <cstdio>
#include <string>

#include "common/input_file.h"

class SettingsFileWriter {
 public:
  SettingsFileWriter() = default;
  SettingsFileWriter(const SettingsFileWriter&) = delete;
  SettingsFileWriter& operator=(const SettingsFileWriter&) = delete;
  ~SettingsFileWriter() { discard(); }

  // dir ends with '/'; the file written is dir followed by name. 0 or -1.
  int open(const char* dir, const char* name);
  FILE* stream() const { return stream_; }
  // Finishes the file and puts it in place: 0, or -1 with the old target untouched.
  int commit();
  // Abandons the write, removing what it created.
  void discard();

 private:
  FILE* stream_ = nullptr;
  std::string created_;  // the file this writer made: the temporary file or a new target
  std::string target_;   // the existing file that created_ replaces; empty for a new target
};

#endif
