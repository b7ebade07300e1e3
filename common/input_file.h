// Opening a settings, message or help file for reading, and telling whether a
// file changed between two looks at it.
#ifndef TOLQ_COMMON_INPUT_FILE_H
#define TOLQ_COMMON_INPUT_FILE_H

#include <sys/types.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

// What identifies one version of a file: a rewrite through a temporary file
// changes the inode, an edit in place the size or the modification time.
struct FileStamp {
  bool exists = false;
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = 0;
  int64_t mtime_sec = 0;
  long mtime_nsec = 0;

  // Two missing files are equal, whatever the other fields hold.
  bool operator==(const FileStamp& other) const;
  bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

// The stamp of the file at path, links followed; exists is false when there is
// none or it cannot be examined.
FileStamp stamp_file(const char* path);
// The stamp of an open descriptor; exists is false when fstat fails.
FileStamp stamp_open_file(int fd);

// An open input file that closes itself.
struct FileCloser {
  void operator()(FILE* f) const {
    if (f) fclose(f);
  }
};
using InputFile = std::unique_ptr<FILE, FileCloser>;

// Opens a regular file for reading; null for anything else (a FIFO, device,
// socket or directory could block or never end) and on any failure. The open
// itself never blocks. stamp, when given, receives the stamp of what was opened.
InputFile open_input_file(const char* path, FileStamp* stamp = nullptr);

// Reads the whole of the regular file at path into bytes, opened once: 0, or
// -1 with errno set and bytes unchanged. stamp, when given, receives the stamp
// of what was read. Every settings file is read through here, so that a save
// merges into exactly these bytes and never opens the file again.
int read_settings_file(const char* path, std::string* bytes, FileStamp* stamp = nullptr);

#endif
