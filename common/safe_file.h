// Writes a settings file so that no failure loses or corrupts it.
//
// Every save goes to a temporary file "tmpXXXXXX" in the target's own
// directory, given mode 0644, flushed to disk and renamed over the target, so
// the target is at every moment either the old file or the whole new one. A new
// target gets its missing directories first. A symbolic link at the target is
// followed to the end of its chain: the file it points to is replaced and the
// link stays; a link to nothing cannot be written. Every write error is
// detected at commit().
#ifndef TOLQ_COMMON_SAFE_FILE_H
#define TOLQ_COMMON_SAFE_FILE_H

#include <cstdio>
#include <string>
#include <string_view>

#include "common/input_file.h"

// Whether commit() keeps the previous version as "<name>-" beside the target.
enum class Backup { kNone, kKeepPrevious };

// What a save asks beyond the write itself: Apply keeps the previous version
// and notes what it wrote, to tell later whether someone else wrote since.
struct SaveOptions {
  Backup backup = Backup::kNone;
  FileStamp* written = nullptr;  // receives the stamp of the file written
};

class SettingsFileWriter {
 public:
  SettingsFileWriter() = default;
  SettingsFileWriter(const SettingsFileWriter&) = delete;
  SettingsFileWriter& operator=(const SettingsFileWriter&) = delete;
  ~SettingsFileWriter() { discard(); }

  // dir ends with '/'; the file written is dir followed by name. 0 or -1.
  int open(const char* dir, const char* name, Backup backup = Backup::kNone);
  FILE* stream() const { return stream_; }
  // Finishes the file and puts it in place: 0, or -1 with the old target
  // untouched. With Backup::kKeepPrevious, an existing target is first copied,
  // with its mode, to "<target>-" (itself through a temporary file); when that
  // fails, so does the commit. written, when given, receives the stamp of the
  // file now at the target.
  int commit(FileStamp* written = nullptr);
  // Abandons the write, removing the temporary file.
  void discard();

 private:
  FILE* stream_ = nullptr;
  std::string temp_;    // the temporary file being written
  std::string target_;  // the file it replaces, links resolved
  Backup backup_ = Backup::kNone;
};

// Writes bytes as the whole new content of dir + name (dir ends with '/'),
// safely as above: 0, or -1 with the old target untouched.
int write_settings_file(const char* dir, const char* name, std::string_view bytes,
                        const SaveOptions& options = {});

// Makes the temporary files of saves in progress go when the program ends by
// exit() or by SIGTERM, SIGINT or SIGHUP; such a signal then ends the program
// as it would have without the handler. A signal ignored at start stays ignored.
void install_temp_file_cleanup();

#endif
