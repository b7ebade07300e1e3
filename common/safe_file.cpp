#include "common/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "common/paths.h"
#include "common/text.h"

namespace {

// Makes a rename durable; failures here cannot undo the rename and are ignored.
void sync_directory(const std::string& path) {
  std::string dir = path.substr(0, path.rfind('/') + 1);
  int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

int SettingsFileWriter::open(const char* dir, const char* name) {
  discard();
  char path[kPathSize];
  if (!join_bounded(path, dir, name)) return -1;
  int fd;
  if (access(path, F_OK) != 0) {
    if (make_parent_dirs(path) != 0) return -1;
    fd = ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return -1;
    created_ = path;
  } else {
    char pattern[kPathSize];
    if (!join_bounded(pattern, dir, "tmpXXXXXX")) return -1;
    fd = mkstemp(pattern);
    if (fd < 0) return -1;
    created_ = pattern;
    target_ = path;
    if (fchmod(fd, 0644) != 0) {
      close(fd);
      discard();
      return -1;
    }
  }
  stream_ = fdopen(fd, "w");
  if (!stream_) {
    close(fd);
    discard();
    return -1;
  }
  return 0;
}

int SettingsFileWriter::commit() {
  if (!stream_) return -1;
  bool ok = fflush(stream_) == 0 && !ferror(stream_) && fsync(fileno(stream_)) == 0;
  ok = fclose(stream_) == 0 && ok;
  stream_ = nullptr;
  std::string placed = target_.empty() ? created_ : target_;
  if (ok && !target_.empty())
    ok = make_parent_dirs(target_.c_str()) == 0 && rename(created_.c_str(), target_.c_str()) == 0;
  if (!ok) {
    discard();
    return -1;
  }
  created_.clear();
  target_.clear();
  sync_directory(placed);
  return 0;
}

void SettingsFileWriter::discard() {
  if (stream_) fclose(stream_);
  stream_ = nullptr;
  if (!created_.empty()) unlink(created_.c_str());
  created_.clear();
  target_.clear();
}
