// Temporary files, the one layer that creates, writes, syncs, renames and
// removes the files a save puts in place. A temporary file is made with O_EXCL
// in the directory it will be renamed in and is removed unless it was renamed:
// when its owner goes, when the program exits, and when a terminating signal
// ends the program.
#ifndef TOLQ_COMMON_TEMP_FILE_H
#define TOLQ_COMMON_TEMP_FILE_H

#include <string>
#include <string_view>

#include "common/file_place.h"

class TempFile {
 public:
  TempFile() = default;
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile() { remove(); }

  // Creates a new file "tmpXXXXXX", mode 0600, in the directory of place: 0,
  // or -1 with errno set.
  int create(const FilePlace& place);
  int fd() const { return fd_.get(); }
  // The file's path while it has its temporary name, or the one it was given.
  std::string path() const { return dir_path_ + name_; }

  // Writes all of bytes: 0, or -1 with errno set.
  int write(std::string_view bytes);
  // Puts the bytes and the file's metadata on disk: 0, or -1 with errno set.
  int sync();
  // Renames the file over name in its directory and syncs the directory, so
  // that the rename survives a crash: 0, or -1 with errno set and the file
  // still temporary. Afterwards the file is no longer removed.
  int rename_to(const std::string& name);
  // Gives the file the name, as a hard link that fails with EEXIST when the
  // name is taken (replace false) or over what is there (replace true). The
  // file stays this object's and is removed by remove() under its new name.
  int move_to(const std::string& name, bool replace);
  // Removes the file unless it was renamed, and closes it.
  void remove();

 private:
  UniqueFd fd_;
  UniqueFd dir_;
  std::string dir_path_;
  std::string name_;
  int slot_ = -1;  // in the cleanup table while the file is ours to remove
};

// Makes the files of saves in progress go when the program ends by exit() or
// by a terminating signal that can be caught; such a signal then ends the
// program as it would have without the handler. A signal that was ignored at
// start stays ignored.
void install_temp_file_cleanup();

#endif
