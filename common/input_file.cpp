#include "common/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FileStamp stamp_of(const struct stat& st) {
  FileStamp stamp;
  stamp.exists = true;
  stamp.dev = st.st_dev;
  stamp.ino = st.st_ino;
  stamp.size = st.st_size;
  stamp.mtime_sec = st.st_mtim.tv_sec;
  stamp.mtime_nsec = st.st_mtim.tv_nsec;
  return stamp;
}

}  // namespace

bool FileStamp::operator==(const FileStamp& other) const {
  if (!exists || !other.exists) return exists == other.exists;
  return dev == other.dev && ino == other.ino && size == other.size &&
         mtime_sec == other.mtime_sec && mtime_nsec == other.mtime_nsec;
}

FileStamp stamp_file(const char* path) {
  struct stat st;
  return stat(path, &st) == 0 ? stamp_of(st) : FileStamp{};
}

FileStamp stamp_open_file(int fd) {
  struct stat st;
  return fstat(fd, &st) == 0 ? stamp_of(st) : FileStamp{};
}

InputFile open_input_file(const char* path, FileStamp* stamp) {
  // O_NONBLOCK keeps the open of a FIFO without a writer from waiting;
  // O_NOCTTY keeps a terminal from becoming ours.
  int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st;
  int flags = -1;
  bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && (flags = fcntl(fd, F_GETFL)) >= 0 &&
            fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
  FILE* file = ok ? fdopen(fd, "r") : nullptr;
  if (!file) {
    close(fd);
    return nullptr;
  }
  if (stamp) *stamp = stamp_of(st);
  return InputFile(file);
}

int read_settings_file(const char* path, std::string* bytes, FileStamp* stamp) {
  FileStamp opened;
  InputFile file = open_input_file(path, &opened);
  if (!file) return -1;
  std::string text;
  text.reserve(static_cast<size_t>(opened.size));
  char buffer[65536];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, file.get())) > 0) text.append(buffer, n);
  if (ferror(file.get())) return -1;
  *bytes = std::move(text);
  if (stamp) *stamp = opened;
  return 0;
}
