// One version of a file, to tell whether it changed between two looks at it.
#ifndef TOLQ_COMMON_FILE_STAMP_H
#define TOLQ_COMMON_FILE_STAMP_H

#include <sys/stat.h>
#include <sys/types.h>

#include <array>
#include <functional>
#include <string_view>

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
// The stamp of a regular file with status st and the bytes whose digest is given.
FileStamp stamp_of(const struct stat& st, const std::array<unsigned char, 32>& digest);
// The stamp of the bytes of the open file fd, read from its start; each piece
// read also goes to copy when given, which returns false to stop. exists is
// false when reading or copying fails.
FileStamp stamp_open_file(int fd, const std::function<bool(std::string_view)>& copy = nullptr);

#endif
