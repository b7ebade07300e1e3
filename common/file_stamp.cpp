#include "common/file_stamp.h"

#include <nettle/sha2.h>
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

FileStamp stamp_of(const struct stat& st, const std::array<unsigned char, 32>& digest) {
  FileStamp stamp;
  stamp.exists = true;
  stamp.dev = st.st_dev;
  stamp.ino = st.st_ino;
  stamp.size = st.st_size;
  stamp.digest = digest;
  return stamp;
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
