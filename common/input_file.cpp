#include "common/input_file.h"

#include <fcntl.h>
#include <nettle/sha2.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

class Hasher {
 public:
  Hasher() { sha256_init(&context_); }
  void add(std::string_view bytes) {
    sha256_update(&context_, bytes.size(), reinterpret_cast<const uint8_t*>(bytes.data()));
  }
  std::array<unsigned char, 32> digest() {
    std::array<unsigned char, 32> result{};
    sha256_digest(&context_, result.size(), result.data());
    return result;
  }

 private:
  sha256_ctx context_;
};

FileStamp stamp_of(const struct stat& st, const std::array<unsigned char, 32>& digest) {
  FileStamp stamp;
  stamp.exists = true;
  stamp.dev = st.st_dev;
  stamp.ino = st.st_ino;
  stamp.size = st.st_size;
  stamp.digest = digest;
  return stamp;
}

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

bool FileStamp::operator==(const FileStamp& other) const {
  if (!exists || !other.exists) return exists == other.exists;
  return digest == other.digest;
}

std::array<unsigned char, 32> digest_of(std::string_view bytes) {
  Hasher hasher;
  hasher.add(bytes);
  return hasher.digest();
}

FileStamp stamp_file(const char* path) {
  FileError error;
  UniqueFd fd(open_settings_file(path, &error, nullptr));
  return fd ? stamp_open_file(fd.get()) : FileStamp{};
}

FileStamp stamp_open_file(int fd, const std::function<bool(std::string_view)>& copy) {
  struct stat st;
  if (fstat(fd, &st) != 0) return FileStamp{};
  Hasher hasher;
  char buffer[65536];
  for (off_t at = 0;;) {
    ssize_t n = pread(fd, buffer, sizeof buffer, at);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return FileStamp{};
    if (n == 0) break;
    std::string_view piece(buffer, static_cast<size_t>(n));
    hasher.add(piece);
    if (copy && !copy(piece)) return FileStamp{};
    at += n;
  }
  return stamp_of(st, hasher.digest());
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
