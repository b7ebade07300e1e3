#include "common/file_place.h"

#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <cerrno>
#include <deque>
#include <memory>

namespace {

constexpr int kMaxLinks = 40;  // as the kernel: more is a loop

// One component still to walk; from_link when it comes from a link's text.
struct Part {
  std::string name;
  bool from_link;
};

void push_parts(std::deque<Part>* parts, const std::string& text, bool from_link) {
  std::deque<Part> front;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('/', start);
    if (end == std::string::npos) end = text.size();
    if (end > start) front.push_back({text.substr(start, end - start), from_link});
    start = end + 1;
  }
  parts->insert(parts->begin(), front.begin(), front.end());
}

int open_directory(int at, const char* name) {
  return openat(at, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// Starts a walk at the root or, for a relative path, at the working directory.
bool start_at(bool absolute, UniqueFd* dir, std::string* dir_path) {
  if (absolute) {
    dir->reset(open_directory(AT_FDCWD, "/"));
    *dir_path = "/";
    return static_cast<bool>(*dir);
  }
  std::unique_ptr<char, decltype(&free)> cwd(getcwd(nullptr, 0), free);
  if (!cwd) return false;
  dir->reset(open_directory(AT_FDCWD, "."));
  *dir_path = std::string(cwd.get()) + (cwd.get()[1] ? "/" : "");
  return static_cast<bool>(*dir);
}

// What fs.protected_symlinks lets a process follow.
bool may_follow(int dir, const struct stat& link) {
  struct stat st;
  if (fstat(dir, &st) != 0) return false;
  bool shared = (st.st_mode & (S_ISVTX | S_IWOTH)) == (S_ISVTX | S_IWOTH);
  return !shared || link.st_uid == geteuid() || link.st_uid == st.st_uid;
}

bool read_link(int dir, const std::string& name, std::string* text) {
  char buffer[PATH_MAX];
  ssize_t n = readlinkat(dir, name.c_str(), buffer, sizeof buffer);
  if (n < 0) return false;
  if (static_cast<size_t>(n) == sizeof buffer) {
    errno = ENAMETOOLONG;
    return false;
  }
  text->assign(buffer, static_cast<size_t>(n));
  return true;
}

void leave_directory(std::string* dir_path) {
  if (*dir_path == "/") return;
  dir_path->pop_back();
  dir_path->erase(dir_path->rfind('/') + 1);
}

}  // namespace

void UniqueFd::reset(int fd) {
  if (fd_ >= 0) close(fd_);
  fd_ = fd;
}

int fail_with(FileError* error, FileRefusal refusal, int number, const std::string& path) {
  error->refusal = refusal;
  error->number = number;
  error->path = path;
  errno = number;
  return -1;
}

namespace {

// One walk down a path, a part at a time, each step made in the directory
// opened so far, so that nothing on the way can be swapped under it.
class PathWalk {
 public:
  PathWalk(int flags, FileError* error) : flags_(flags), error_(error) {}

  int run(const std::string& path, FilePlace* place) {
    if (path.empty() || path.back() == '/') return fail_with(error_, FileRefusal::kNone, EISDIR);
    push_parts(&parts_, path, false);
    if (!start_at(path[0] == '/', &dir_, &dir_path_))
      return fail_with(error_, FileRefusal::kNone, errno);
    while (!parts_.empty()) {
      Part part = parts_.front();
      parts_.pop_front();
      Step step = take(part, parts_.empty(), place);
      if (step == Step::kFailed) return -1;
      if (step == Step::kArrived) return 0;
    }
    return fail_with(error_, FileRefusal::kNone, EISDIR);  // the path was only "/" or "."
  }

 private:
  enum class Step { kOn, kArrived, kFailed };

  Step fail(FileRefusal refusal, int number, const std::string& path = "") {
    fail_with(error_, refusal, number, path);
    return Step::kFailed;
  }

  Step take(const Part& part, bool last, FilePlace* place) {
    if (part.name == "." || part.name == "..") return dots(part, last);
    struct stat st;
    bool exists = fstatat(dir_.get(), part.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
    if (!exists && errno != ENOENT) return fail(FileRefusal::kNone, errno);
    if (exists && S_ISLNK(st.st_mode) && (!last || (flags_ & kFollowLast))) return follow(part, st);
    if (last) return arrive(part, exists, place);
    return enter(part, exists);
  }

  Step dots(const Part& part, bool last) {
    if (last) return fail(FileRefusal::kNone, EISDIR);
    if (part.name == ".") return Step::kOn;
    dir_.reset(openat(dir_.get(), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir_) return fail(FileRefusal::kNone, errno);
    leave_directory(&dir_path_);
    return Step::kOn;
  }

  // The link's text takes its place among the parts still to walk.
  Step follow(const Part& part, const struct stat& st) {
    if (++links_ > kMaxLinks) return fail(FileRefusal::kNone, ELOOP);
    if (!may_follow(dir_.get(), st))
      return fail(FileRefusal::kPlantedLink, EACCES, dir_path_ + part.name);
    std::string text;
    if (!read_link(dir_.get(), part.name, &text)) return fail(FileRefusal::kNone, errno);
    if (!text.empty() && text[0] == '/' && !start_at(true, &dir_, &dir_path_))
      return fail(FileRefusal::kNone, errno);
    push_parts(&parts_, text, true);
    return Step::kOn;
  }

  Step arrive(const Part& part, bool exists, FilePlace* place) {
    // A link that points nowhere names no place to write to.
    if (!exists && part.from_link) return fail(FileRefusal::kNone, ENOENT);
    place->dir = std::move(dir_);
    place->dir_path = dir_path_;
    place->name = part.name;
    return Step::kArrived;
  }

  // Into a directory of the path, made first when missing and asked for.
  Step enter(const Part& part, bool exists) {
    bool made = false;
    if (!exists) {
      if (!(flags_ & kMakeDirs) || part.from_link) return fail(FileRefusal::kNone, ENOENT);
      made = mkdirat(dir_.get(), part.name.c_str(), 0775) == 0;
      if (!made && errno != EEXIST) return fail(FileRefusal::kNone, errno);
    }
    UniqueFd next(open_directory(dir_.get(), part.name.c_str()));
    if (!next) return fail(FileRefusal::kNone, errno);
    if (made) fchmod(next.get(), 0775);  // whatever the umask
    dir_ = std::move(next);
    dir_path_ += part.name + "/";
    return Step::kOn;
  }

  int flags_;
  FileError* error_;
  std::deque<Part> parts_;
  UniqueFd dir_;
  std::string dir_path_;
  int links_ = 0;
};

}  // namespace

int find_file_place(const std::string& path, int flags, FilePlace* place, FileError* error) {
  return PathWalk(flags, error).run(path, place);
}

bool same_file_place(const char* a, const char* b) {
  FilePlace first, second;
  FileError error;
  struct stat one, two;
  return find_file_place(a, kFollowLast, &first, &error) == 0 &&
         find_file_place(b, kFollowLast, &second, &error) == 0 && first.name == second.name &&
         fstat(first.dir.get(), &one) == 0 && fstat(second.dir.get(), &two) == 0 &&
         one.st_dev == two.st_dev && one.st_ino == two.st_ino;
}

int open_regular_file(const FilePlace& place, FileError* error, struct stat* st) {
  struct stat seen;
  if (fstatat(place.dir.get(), place.name.c_str(), &seen, AT_SYMLINK_NOFOLLOW) != 0)
    return fail_with(error, FileRefusal::kNone, errno, place.path());
  // Opening a device can act on it (a tape rewinds): look first, open only a regular file.
  if (!S_ISREG(seen.st_mode))
    return fail_with(error, FileRefusal::kNotRegular, EINVAL, place.path());
  // O_NONBLOCK and O_NOCTTY in case it was swapped for something else meanwhile.
  int fd = openat(place.dir.get(), place.name.c_str(),
                  O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return fail_with(error, FileRefusal::kNone, errno, place.path());
  int flags = -1;
  if (fstat(fd, &seen) != 0 || !S_ISREG(seen.st_mode) || (flags = fcntl(fd, F_GETFL)) < 0 ||
      fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    int number = errno;
    close(fd);
    return S_ISREG(seen.st_mode) ? fail_with(error, FileRefusal::kNone, number, place.path())
                                 : fail_with(error, FileRefusal::kNotRegular, EINVAL, place.path());
  }
  if (st) *st = seen;
  return fd;
}
