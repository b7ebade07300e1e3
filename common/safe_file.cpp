#include "common/safe_file.h"

#include <acl/libacl.h>
#include <attr/libattr.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "common/file_lock.h"
#include "common/temp_file.h"
#include "common/text.h"

namespace {

// Gives the file at to the owner, group, mode, ACL and extended attributes
// (security labels among them) of the file at from.
int copy_metadata(int from, const struct stat& st, const std::string& from_path, TempFile& to) {
  // First the owner: a change of owner clears the set-id bits the mode then sets.
  if (fchown(to.fd(), st.st_uid, st.st_gid) != 0) return -1;
  if (perm_copy_fd(from_path.c_str(), from, to.path().c_str(), to.fd(), nullptr) != 0) return -1;
  return attr_copy_fd(from_path.c_str(), from, to.path().c_str(), to.fd(), nullptr, nullptr);
}

// Whether the target is still what was opened as it (or still missing), unchanged since.
bool target_unchanged(const FilePlace& place, int old, const struct stat& opened) {
  struct stat now;
  if (fstatat(place.dir.get(), place.name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0)
    return old < 0 && errno == ENOENT;
  struct stat held;
  return old >= 0 && fstat(old, &held) == 0 && now.st_dev == opened.st_dev &&
         now.st_ino == opened.st_ino && held.st_size == opened.st_size &&
         held.st_mtim.tv_sec == opened.st_mtim.tv_sec &&
         held.st_mtim.tv_nsec == opened.st_mtim.tv_nsec &&
         held.st_ctim.tv_sec == opened.st_ctim.tv_sec &&
         held.st_ctim.tv_nsec == opened.st_ctim.tv_nsec;
}

class SettingsWrite {
 public:
  SettingsWrite(std::string_view bytes, const SaveOptions& options, FileError* error)
      : bytes_(bytes), options_(options), error_(error) {}

  int run(const std::string& path) {
    if (find_file_place(path, kFollowLast | kMakeDirs, &place_, error_) != 0 ||
        refuse_other_nodes() != 0)
      return -1;
    if (lock_.take(place_, error_) != 0 || open_old() != 0 || write_new() != 0 ||
        keep_previous() != 0)
      return -1;
    if ((options_.expected || previous_.fd() >= 0) &&
        !target_unchanged(place_, old_.get(), old_st_))
      return fail_with(error_, FileRefusal::kChanged, ESTALE, place_.path());
    if (options_.expected && current_ != *options_.expected)
      return fail_with(error_, FileRefusal::kChanged, ESTALE, place_.path());
    FileStamp written = stamp_written();
    if (previous_.fd() >= 0 && previous_.rename_to(previous_place_.name) != 0)
      return failed(options_.backup_path);
    if (temp_.rename_to(place_.name) != 0) return failed(place_.path());
    if (options_.written) *options_.written = written;
    return 0;
  }

 private:
  int failed(const std::string& path) { return fail_with(error_, FileRefusal::kNone, errno, path); }

  // Before anything is written, the lock included.
  int refuse_other_nodes() {
    struct stat st;
    if (fstatat(place_.dir.get(), place_.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
      return errno == ENOENT ? 0 : failed(place_.path());
    if (S_ISREG(st.st_mode)) return 0;
    return fail_with(error_, FileRefusal::kNotRegular, EINVAL, place_.path());
  }

  int open_old() {
    old_.reset(open_regular_file(place_, error_, &old_st_));
    if (old_ || error_->number != ENOENT) return old_ ? 0 : -1;
    *error_ = FileError{};
    return 0;
  }

  int write_new() {
    if (temp_.create(place_) != 0) return failed(place_.dir_path);
    lock_.record(temp_);
    bool ok = temp_.write(bytes_) == 0 &&
              (old_ ? copy_metadata(old_.get(), old_st_, place_.path(), temp_) == 0
                    : fchmod(temp_.fd(), 0644) == 0) &&
              temp_.sync() == 0;
    return ok ? 0 : failed(temp_.path());
  }

  // Copies the old target to the previous version's temporary file, which
  // gives the stamp of what is replaced in the same reading.
  int keep_previous() {
    if (!old_) return 0;
    if (options_.backup_path.empty()) {
      if (options_.expected) current_ = stamp_open_file(old_.get());
      return !options_.expected || current_.exists ? 0 : failed(place_.path());
    }
    if (find_file_place(options_.backup_path, 0, &previous_place_, error_) != 0) return -1;
    if (previous_.create(previous_place_) != 0) return failed(options_.backup_path);
    lock_.record(previous_);
    current_ = stamp_open_file(
        old_.get(), [this](std::string_view piece) { return previous_.write(piece) == 0; });
    bool ok = current_.exists &&
              copy_metadata(old_.get(), old_st_, place_.path(), previous_) == 0 &&
              previous_.sync() == 0;
    return ok ? 0 : failed(options_.backup_path);
  }

  FileStamp stamp_written() {
    struct stat st;
    FileStamp stamp;
    if (fstat(temp_.fd(), &st) != 0) return stamp;
    stamp.exists = true;
    stamp.dev = st.st_dev;
    stamp.ino = st.st_ino;
    stamp.size = st.st_size;
    stamp.digest = digest_of(bytes_);
    return stamp;
  }

  std::string_view bytes_;
  const SaveOptions& options_;
  FileError* error_;
  FilePlace place_;
  FileLock lock_;
  UniqueFd old_;
  struct stat old_st_ = {};
  TempFile temp_;
  FilePlace previous_place_;
  TempFile previous_;
  FileStamp current_;  // the target replaced; missing when there is none
};

}  // namespace

int write_settings_file(const char* dir, const char* name, std::string_view bytes,
                        const SaveOptions& options) {
  FileError ignored;
  FileError* error = options.error ? options.error : &ignored;
  *error = FileError{};
  std::string path = std::string(dir) + name;
  if (path.size() > kPathSize - 1) return fail_with(error, FileRefusal::kNone, ENAMETOOLONG, path);
  return SettingsWrite(bytes, options, error).run(path);
}

int render_bytes(const std::function<void(FILE*)>& write, std::string* bytes) {
  char* data = nullptr;
  size_t size = 0;
  FILE* out = open_memstream(&data, &size);
  if (!out) return -1;
  write(out);
  bool ok = !ferror(out);
  ok = fclose(out) == 0 && ok;
  if (ok) bytes->assign(data, size);
  free(data);
  return ok ? 0 : -1;
}
