// Opening a settings, message or help file for reading.
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
#include "common/file_stamp.h"

// The stamp of the settings file at path as it is now (links followed as
// read_settings_file follows them); exists is false when there is no regular
// file to read there.
FileStamp stamp_file(const char* path);

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
