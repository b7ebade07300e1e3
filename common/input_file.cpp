#include "common/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

// Opens the regular settings file at path: its descriptor, or -1 with error filled.
int open_settings_file(const char* path, FileError* error, struct stat* st) {
  FilePlace place;
  if (find_file_place(path, kFollowLast, &place, error) != 0) return -1;
  return open_regular_file(place, error, st);
}

int refuse_if_too_large(const struct stat& st, const char* path, FileError* error) {
  if (st.st_size <= kMaxSettingsFileSize) return 0;
  return fail_with(error, FileRefusal::kTooLarge, EFBIG, path);
}

}  // namespace

FileStamp stamp_file(const char* path) {
  FileError error;
  UniqueFd fd(open_settings_file(path, &error, nullptr));
  return fd ? stamp_open_file(fd.get()) : FileStamp{};
}

InputFile open_input_file(const char* path, FileStamp* stamp) {
  FileError error;
  int fd = open_settings_file(path, &error, nullptr);
  FILE* file = fd >= 0 ? fdopen(fd, "r") : nullptr;
  if (!file) {
    if (fd >= 0) close(fd);
    return nullptr;
  }
  if (stamp) *stamp = stamp_open_file(fd);
  return InputFile(file);
}

int read_settings_file(const char* path, std::string* bytes, FileStamp* stamp, FileError* error) {
  FileError ignored;
  if (!error) error = &ignored;
  struct stat st;
  UniqueFd fd(open_settings_file(path, error, &st));
  if (!fd || refuse_if_too_large(st, path, error) != 0) return -1;
  std::string text;
  text.reserve(static_cast<size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    ssize_t n = read(fd.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return fail_with(error, FileRefusal::kNone, errno, path);
    if (n == 0) break;
    // It may grow while it is read.
    if (text.size() + static_cast<size_t>(n) > static_cast<size_t>(kMaxSettingsFileSize))
      return fail_with(error, FileRefusal::kTooLarge, EFBIG, path);
    text.append(buffer, static_cast<size_t>(n));
  }
  if (stamp) {
    *stamp = stamp_of(st, digest_of(text));
    stamp->size = static_cast<off_t>(text.size());
  }
  *bytes = std::move(text);
  return 0;
}

FileError settings_file_refusal(const char* path) {
  FileError error;
  struct stat st;
  UniqueFd fd(open_settings_file(path, &error, &st));
  if (fd) refuse_if_too_large(st, path, &error);
  if (error.refusal == FileRefusal::kNone) error = FileError{};
  return error;
}
