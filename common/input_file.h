// Opening a settings, message or help file for reading, and telling whether a
// file changed between two looks at it.
#ifndef TOLQ_COMMON_INPUT_FILE_H
#define TOLQ_COMMON_INPUT_FILE_H

#include <sys/types.h>

#include <array>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "common/file_place.h"

// One version of a file: whether it is there and, when it is, its bytes (as a
// SHA-256 digest), so that any change is seen, one of the same size within the
// same timestamp tick too. Where it lies is kept to tell two files apart.
struct FileStamp {
  bool exists = false;
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = 0;
  std::array<unsigned char, 32> digest{};

  // Both missing, or both there with the same bytes.
  bool operator==(const FileStamp& other) const;
  bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

// The SHA-256 digest of bytes, as stamps hold it.
std::array<unsigned char, 32> digest_of(std::string_view bytes);
// The stamp of the settings file at path as it is now (links followed as
// read_settings_file follows them); exists is false when there is no regular
// file to read there.
FileStamp stamp_file(const char* path);
// The stamp of the bytes of the open file fd, read from its start; each piece
// read also goes to copy when given, which returns false to stop. exists is
// false when reading or copying fails.
FileStamp stamp_open_file(int fd, const std::function<bool(std::string_view)>& copy = nullptr);

// An open input file that closes itself.
struct FileCloser {
  void operator()(FILE* f) const {
    if (f) fclose(f);
  }
};
using InputFile = std::unique_ptr<FILE, FileCloser>;

// Opens a regular file for reading, links followed only as find_file_place
// allows; null for anything else (a FIFO, device, socket or directory could
// block or never end, and is never opened) and on any failure. stamp, when
// given, receives the stamp of what was opened.
InputFile open_input_file(const char* path, FileStamp* stamp = nullptr);

// Reads the whole of the regular settings file at path into bytes, opened
// once, links followed only as find_file_place allows: 0, or -1 with errno set
// and bytes unchanged. A file larger than kMaxSettingsFileSize is refused
// before any byte is read. stamp, when given, receives the stamp of what was
// read; error, why it could not be. Every settings file is read through here,
// so that a save merges into exactly these bytes and never opens the file again.
int read_settings_file(const char* path, std::string* bytes, FileStamp* stamp = nullptr,
                       FileError* error = nullptr);
// Why read_settings_file would refuse the file at path, found without reading
// it: the refusal, with kNone also when it can be read or is simply missing.
FileError settings_file_refusal(const char* path);

#endif
