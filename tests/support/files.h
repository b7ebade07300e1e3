// Scratch directories and whole-file helpers for the tests.
#ifndef TOLQ_TESTS_SUPPORT_FILES_H
#define TOLQ_TESTS_SUPPORT_FILES_H

#include <string>

// A fresh directory under /tmp, removed with its contents when it goes out of scope.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  // The directory path, ending with '/'.
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

std::string read_file(const std::string& path);
void write_file(const std::string& path, const std::string& content);
bool file_exists(const std::string& path);
// Permission bits of a file, or -1.
int file_mode(const std::string& path);
// Names in a directory, sorted, without "." and "..".
std::string list_dir(const std::string& dir);

#endif
