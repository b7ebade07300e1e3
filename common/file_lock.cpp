#include "common/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace {

// Whether fd is still the file at name in dir: a lock released meanwhile is gone.
bool still_there(int dir, const std::string& name, int fd) {
  struct stat open, named;
  return fstat(fd, &open) == 0 && open.st_nlink > 0 &&
         fstatat(dir, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
         open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

std::string read_lock_text(int fd) {
  std::string text;
  char buffer[4096];
  ssize_t n;
  while (text.size() < 65536 &&
         (n = pread(fd, buffer, sizeof buffer, static_cast<off_t>(text.size()))) > 0)
    text.append(buffer, static_cast<size_t>(n));
  return text;
}

// A lock this program could have made: a regular file of this user that
// nobody else may write, so that what it lists can be trusted.
bool made_by_us(int fd) {
  struct stat st;
  return fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid() &&
         (st.st_mode & 022) == 0;
}

// Whether the process named on the lock's first line may be alive. Another
// program's lock may hold just its process id; one that holds anything else
// is never taken. An empty lock is one of ours cut short.
bool holder_may_live(const std::string& text) {
  std::string first = text.substr(0, text.find('\n'));
  if (first.empty()) return false;
  if (first.find_first_not_of("0123456789") != std::string::npos || first.size() > 9) return true;
  pid_t pid = static_cast<pid_t>(atol(first.c_str()));
  return pid <= 0 || kill(pid, 0) == 0 || errno != ESRCH;
}

// Removes each file listed only while it is still that very file, and this user's.
void remove_left_files(const std::string& text) {
  for (const LeftFile& left : files_left_in(text)) {
    struct stat st;
    if (lstat(left.path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid() &&
        st.st_dev == left.dev && st.st_ino == left.ino)
      unlink(left.path.c_str());
  }
}

}  // namespace

std::vector<LeftFile> files_left_in(const std::string& lock_text) {
  std::vector<LeftFile> files;
  size_t end = lock_text.find('\n');
  // A line cut short names nothing sure.
  for (size_t start = end;
       start != std::string::npos && (end = lock_text.find('\n', start + 1)) != std::string::npos;
       start = end) {
    std::string line = lock_text.substr(start + 1, end - start - 1);
    char* rest = nullptr;
    LeftFile left;
    left.dev = static_cast<dev_t>(strtoull(line.c_str(), &rest, 10));
    left.ino = static_cast<ino_t>(strtoull(rest, &rest, 10));
    if (*rest != ' ' || rest[1] != '/') continue;
    left.path = rest + 1;
    std::string name = left.path.substr(left.path.rfind('/') + 1);
    if (name.size() == 9 && name.compare(0, 3, "tmp") == 0) files.push_back(left);
  }
  return files;
}

int FileLock::take(const FilePlace& place, FileError* error) {
  const std::string name = place.name + ".lock";
  const std::string path = place.dir_path + name;
  if (file_.create(place) != 0 || file_.write(std::to_string(getpid()) + "\n") != 0 ||
      flock(file_.fd(), LOCK_EX | LOCK_NB) != 0)
    return give_up(error, path);
  int dir = place.dir.get();
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (file_.move_to(name, false) == 0) return 0;
    if (errno != EEXIST) return give_up(error, path);
    UniqueFd held(openat(dir, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!held && errno == ENOENT) continue;  // released as we looked
    // Held by a live run of this program, which keeps it locked while it lives.
    if (!held || flock(held.get(), LOCK_EX | LOCK_NB) != 0) break;
    if (!still_there(dir, name, held.get())) continue;
    std::string text = read_lock_text(held.get());
    if (!made_by_us(held.get()) || holder_may_live(text)) break;
    remove_left_files(text);
    if (file_.move_to(name, true) == 0) return 0;
    return give_up(error, path);
  }
  file_.remove();
  return fail_with(error, FileRefusal::kLocked, EWOULDBLOCK, place.path());
}

int FileLock::give_up(FileError* error, const std::string& path) {
  int number = errno;
  file_.remove();
  return fail_with(error, FileRefusal::kNone, number, path);
}

void FileLock::record(const TempFile& temp) {
  struct stat st;
  if (fstat(temp.fd(), &st) != 0) return;
  // Without the line only a kill before the save ends could leave the file unremoved.
  file_.write(std::to_string(st.st_dev) + " " + std::to_string(st.st_ino) + " " + temp.path() +
              "\n");
}

void clear_stale_lock(const char* path) {
  FilePlace place;
  FileError error;
  if (find_file_place(path, kFollowLast, &place, &error) != 0) return;
  struct stat st;
  if (fstatat(place.dir.get(), (place.name + ".lock").c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
    return;
  FileLock lock;
  lock.take(place, &error);
}
