#include "common/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "common/paths.h"
#include "common/text.h"

namespace {

// The temporary files that exist right now, for removal from a signal handler:
// fixed buffers, and a flag per slot set only once its path is complete.
constexpr int kMaxTemps = 8;  // two per save in progress: the new file and the backup
char temp_paths[kMaxTemps][kPathSize];
volatile sig_atomic_t temp_in_use[kMaxTemps];

constexpr int kCleanupSignals[] = {SIGTERM, SIGINT, SIGHUP};

bool register_temp(const char* path) {
  for (int i = 0; i < kMaxTemps; ++i) {
    if (temp_in_use[i]) continue;
    copy_bounded(temp_paths[i], path);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    temp_in_use[i] = 1;
    return true;
  }
  return false;
}

// Called once the file is gone or renamed, so a signal in between removes nothing of value.
void unregister_temp(const std::string& path) {
  for (int i = 0; i < kMaxTemps; ++i)
    if (temp_in_use[i] && path == temp_paths[i]) temp_in_use[i] = 0;
}

// Async-signal-safe.
void remove_registered_temps() {
  for (int i = 0; i < kMaxTemps; ++i) {
    if (!temp_in_use[i]) continue;
    unlink(temp_paths[i]);
    temp_in_use[i] = 0;
  }
}

void end_by_signal(int number) {
  remove_registered_temps();
  signal(number, SIG_DFL);
  raise(number);  // delivered when the handler returns, with the other two still blocked
}

std::string directory_of(const std::string& path) {
  return path.substr(0, path.rfind('/') + 1);
}

// Creates a registered temporary file with the given mode in the directory of
// target: its descriptor, or -1.
int make_temp(const std::string& target, mode_t mode, std::string* path) {
  std::string pattern = directory_of(target) + "tmpXXXXXX";
  if (pattern.size() >= kPathSize) return -1;
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  // No cleanup signal may come between the file's creation and its registration.
  sigset_t cleanup, old;
  sigemptyset(&cleanup);
  for (int number : kCleanupSignals) sigaddset(&cleanup, number);
  sigprocmask(SIG_BLOCK, &cleanup, &old);
  int fd = mkostemp(name.data(), O_CLOEXEC);
  if (fd >= 0 && !register_temp(name.data())) {
    close(fd);
    unlink(name.data());
    fd = -1;
  }
  sigprocmask(SIG_SETMASK, &old, nullptr);
  if (fd < 0) return -1;
  path->assign(name.data());
  if (fchmod(fd, mode) != 0) {
    close(fd);
    unlink(path->c_str());
    unregister_temp(*path);
    return -1;
  }
  return fd;
}

// The file that writing path replaces: path itself, or the end of the chain of
// links at path. False for a link that leads nowhere.
bool resolve_target(const char* path, std::string* target) {
  struct stat st;
  if (lstat(path, &st) != 0 || !S_ISLNK(st.st_mode)) {
    target->assign(path);
    return true;
  }
  char* real = realpath(path, nullptr);
  if (!real) return false;
  target->assign(real);
  free(real);
  return true;
}

bool copy_bytes(int from, int to) {
  char buffer[64 * 1024];
  for (;;) {
    ssize_t n = read(from, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n == 0;
    for (ssize_t done = 0; done < n;) {
      ssize_t w = write(to, buffer + done, static_cast<size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w < 0) return false;
      done += w;
    }
  }
}

// Puts a copy of the regular file at target, with its mode, at target + "-"
// through a temporary file: 0, also when there is no such file; -1 with no
// temporary file left.
int keep_previous(const std::string& target) {
  struct stat st;
  if (stat(target.c_str(), &st) != 0) return errno == ENOENT ? 0 : -1;
  if (!S_ISREG(st.st_mode)) return 0;  // no bytes to keep; the rename decides
  std::string backup = target + "-";
  InputFile old = open_input_file(target.c_str());
  if (!old || backup.size() >= kPathSize || fstat(fileno(old.get()), &st) != 0) return -1;
  std::string temp;
  int fd = make_temp(target, st.st_mode & 07777, &temp);
  if (fd < 0) return -1;
  bool ok = copy_bytes(fileno(old.get()), fd) && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  ok = ok && rename(temp.c_str(), backup.c_str()) == 0;
  if (!ok) unlink(temp.c_str());
  unregister_temp(temp);
  return ok ? 0 : -1;
}

// Makes a rename durable; failures here cannot undo the rename and are ignored.
void sync_directory(const std::string& path) {
  std::string dir = directory_of(path);
  int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

int SettingsFileWriter::open(const char* dir, const char* name, Backup backup) {
  discard();
  char path[kPathSize];
  if (!join_bounded(path, dir, name) || !resolve_target(path, &target_) ||
      make_parent_dirs(target_.c_str()) != 0) {
    target_.clear();
    return -1;
  }
  int fd = make_temp(target_, 0644, &temp_);
  if (fd < 0) {
    discard();
    return -1;
  }
  stream_ = fdopen(fd, "w");
  if (!stream_) {
    close(fd);
    discard();
    return -1;
  }
  backup_ = backup;
  return 0;
}

int SettingsFileWriter::commit(FileStamp* written) {
  if (!stream_) return -1;
  bool ok = fflush(stream_) == 0 && !ferror(stream_) && fsync(fileno(stream_)) == 0;
  // Taken before the rename, which keeps inode and time: a writer coming after
  // it cannot pass for this one.
  FileStamp stamp = stamp_open_file(fileno(stream_));
  ok = fclose(stream_) == 0 && ok && stamp.exists;
  stream_ = nullptr;
  ok = ok && (backup_ == Backup::kNone || keep_previous(target_) == 0) &&
       rename(temp_.c_str(), target_.c_str()) == 0;
  if (!ok) {
    discard();
    return -1;
  }
  unregister_temp(temp_);
  sync_directory(target_);
  temp_.clear();
  target_.clear();
  if (written) *written = stamp;
  return 0;
}

void SettingsFileWriter::discard() {
  if (stream_) fclose(stream_);
  stream_ = nullptr;
  if (!temp_.empty()) {
    unlink(temp_.c_str());
    unregister_temp(temp_);
  }
  temp_.clear();
  target_.clear();
}

int write_settings_file(const char* dir, const char* name, std::string_view bytes,
                        const SaveOptions& options) {
  SettingsFileWriter writer;
  if (writer.open(dir, name, options.backup) != 0) return -1;
  fwrite(bytes.data(), 1, bytes.size(), writer.stream());
  return writer.commit(options.written);
}

void install_temp_file_cleanup() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  atexit(remove_registered_temps);
  struct sigaction action = {};
  action.sa_handler = end_by_signal;
  sigemptyset(&action.sa_mask);
  for (int number : kCleanupSignals) sigaddset(&action.sa_mask, number);
  for (int number : kCleanupSignals) {
    struct sigaction old = {};
    if (sigaction(number, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
    sigaction(number, &action, nullptr);
  }
}
