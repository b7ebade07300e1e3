// The lock that keeps two writers of one settings file from losing each
// other's changes: "<file>.lock" beside the file, made whole or not at all
// (a complete temporary file linked into place, which fails when the name is
// taken), holding the process id, then a line for each temporary file written
// under it. A lock whose process is gone is taken over, and the temporary
// files it lists, which that process left behind, are removed; nothing else is.
#ifndef TOLQ_COMMON_FILE_LOCK_H
#define TOLQ_COMMON_FILE_LOCK_H

#include <string>
#include <vector>

#include "common/file_place.h"
#include "common/temp_file.h"

class FileLock {
 public:
  // Takes the lock of the file at place: 0, or -1 with error filled (refusal
  // kLocked when a live process holds it).
  int take(const FilePlace& place, FileError* error);
  // Notes a temporary file made under the lock, for a later run to remove
  // should this one be killed before it could.
  void record(const TempFile& temp);
  // Removes the lock; also when the lock goes out of scope.
  void release() { file_.remove(); }

 private:
  // Fails with the errno of the step that failed, holding nothing.
  int give_up(FileError* error, const std::string& path);

  TempFile file_;
};

// A temporary file that a lock lists: its path and which file it was.
struct LeftFile {
  dev_t dev = 0;
  ino_t ino = 0;
  std::string path;
};
// The temporary files a lock's text lists after its first line, one a line as
// "dev ino /dir/tmpXXXXXX"; other lines, and a last one cut short, list none.
std::vector<LeftFile> files_left_in(const std::string& lock_text);

// Removes the lock of the file at path when its process is gone, with the
// temporary files that process left; a held lock stays.
void clear_stale_lock(const char* path);

#endif
