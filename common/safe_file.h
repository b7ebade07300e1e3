// Writes a settings file so that no failure loses or corrupts it and no path
// turns the write against the system.
//
// The new bytes go to a temporary file "tmpXXXXXX" in the target's own
// directory, which is synced and renamed over the target, and the directory is
// synced, so the target is at every moment either the old file or the whole
// new one. Links are followed only as find_file_place allows (file_place.h),
// and only a regular file is replaced: a device, FIFO, socket or directory is
// refused before anything is written. A new target gets its missing
// directories (mode 0775) and mode 0644; a replaced one keeps its owner,
// group, mode, ACL and extended attributes. While it works the writer holds
// the target's lock (file_lock.h), and right before the rename, under the lock,
// it checks the target against the stamp it expects.
#ifndef TOLQ_COMMON_SAFE_FILE_H
#define TOLQ_COMMON_SAFE_FILE_H

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "common/file_place.h"
#include "common/file_stamp.h"

// What a save asks beyond the write itself.
struct SaveOptions {
  // Where the previous version of an existing target goes, with the target's
  // metadata; no previous version is kept when empty. A link there is
  // replaced, not followed.
  std::string backup_path;
  // What the target must still be right before the rename (a missing file
  // included); when it is not, the write fails with refusal kChanged.
  const FileStamp* expected = nullptr;
  // Receives the stamp of the file written.
  FileStamp* written = nullptr;
  // Receives why the write failed.
  FileError* error = nullptr;
};

// Writes bytes as the whole new content of dir + name (dir ends with '/'): 0,
// or -1 with the old target untouched and nothing left behind.
int write_settings_file(const char* dir, const char* name, std::string_view bytes,
                        const SaveOptions& options = {});

// The bytes that write puts on a stream: 0, or -1 when the stream failed.
int render_bytes(const std::function<void(FILE*)>& write, std::string* bytes);

#endif
