#include "common/temp_file.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/random.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kCleanupSignals[] = {SIGTERM, SIGINT,  SIGHUP,  SIGQUIT, SIGUSR1,
                                   SIGUSR2, SIGPIPE, SIGALRM, SIGXFSZ};

// The files to remove if the program ends now, for a signal handler: fixed
// storage, each slot marked in use only once it is complete.
struct Slot {
  volatile sig_atomic_t in_use;
  pid_t owner;  // a forked child leaves its parent's files alone
  int dir;
  char name[NAME_MAX + 1];
};
constexpr int kSlots =
    8;  // a save holds four at most: lock, new file, previous version, lock record
struct Cleanup {
  Slot slots[kSlots];
  bool installed;  // the handlers are in place
};
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): the signal handler reads it.
Cleanup cleanup;

// Keeps the cleanup signals away while a file and its slot are not in step.
class CleanupSignalsBlocked {
 public:
  CleanupSignalsBlocked() {
    sigset_t set;
    sigemptyset(&set);
    for (int number : kCleanupSignals) sigaddset(&set, number);
    sigprocmask(SIG_BLOCK, &set, &old_);
  }
  ~CleanupSignalsBlocked() { sigprocmask(SIG_SETMASK, &old_, nullptr); }

 private:
  sigset_t old_;
};

void fill_slot(int slot, int dir, const std::string& name) {
  cleanup.slots[slot].in_use = 0;
  std::atomic_signal_fence(std::memory_order_seq_cst);
  cleanup.slots[slot].owner = getpid();
  cleanup.slots[slot].dir = dir;
  memcpy(cleanup.slots[slot].name, name.c_str(), name.size() + 1);
  std::atomic_signal_fence(std::memory_order_seq_cst);
  cleanup.slots[slot].in_use = 1;
}

int take_slot(int dir, const std::string& name) {
  if (name.size() > NAME_MAX) return -1;
  for (int slot = 0; slot < kSlots; ++slot) {
    if (cleanup.slots[slot].in_use) continue;
    fill_slot(slot, dir, name);
    return slot;
  }
  return -1;
}

// Async-signal-safe. Newest first, so that a lock goes after the files made under it.
void remove_slot_files() {
  pid_t self = getpid();
  for (int slot = kSlots - 1; slot >= 0; --slot) {
    if (!cleanup.slots[slot].in_use || cleanup.slots[slot].owner != self) continue;
    unlinkat(cleanup.slots[slot].dir, cleanup.slots[slot].name, 0);
    cleanup.slots[slot].in_use = 0;
  }
}

void end_by_signal(int number) {
  remove_slot_files();
  signal(number, SIG_DFL);
  raise(number);  // delivered when the handler returns, with the others still blocked
}

std::string unique_name() {
  static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char random[6] = {};
  if (getrandom(random, sizeof random, 0) != sizeof random)
    for (auto& byte : random) byte = static_cast<unsigned char>(rand());
  std::string name = "tmp";
  for (unsigned char byte : random) name += kLetters[byte % (sizeof kLetters - 1)];
  return name;
}

}  // namespace

int TempFile::create(const FilePlace& place) {
  remove();
  UniqueFd dir(fcntl(place.dir.get(), F_DUPFD_CLOEXEC, 0));
  if (!dir) return -1;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = unique_name();
    CleanupSignalsBlocked blocked;
    int fd =
        openat(dir.get(), name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) return -1;
    int slot = take_slot(dir.get(), name);
    if (slot < 0) {
      unlinkat(dir.get(), name.c_str(), 0);
      close(fd);
      errno = EMFILE;
      return -1;
    }
    fd_.reset(fd);
    dir_ = std::move(dir);
    dir_path_ = place.dir_path;
    name_ = name;
    slot_ = slot;
    return 0;
  }
  errno = EEXIST;
  return -1;
}

int TempFile::write(std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd_.get(), bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return 0;
}

int TempFile::sync() {
  return fsync(fd_.get());
}

int TempFile::rename_to(const std::string& name) {
  if (slot_ < 0) {
    errno = EINVAL;
    return -1;
  }
  if (renameat(dir_.get(), name_.c_str(), dir_.get(), name.c_str()) != 0) return -1;
  cleanup.slots[slot_].in_use = 0;
  slot_ = -1;
  name_ = name;
  // The rename is done and cannot be undone; a directory that cannot be synced
  // only makes it less sure to survive a crash.
  fsync(dir_.get());
  return 0;
}

int TempFile::move_to(const std::string& name, bool replace) {
  if (slot_ < 0 || name.size() > NAME_MAX) {
    errno = slot_ < 0 ? EINVAL : ENAMETOOLONG;
    return -1;
  }
  CleanupSignalsBlocked blocked;
  if (replace ? renameat(dir_.get(), name_.c_str(), dir_.get(), name.c_str()) != 0
              : linkat(dir_.get(), name_.c_str(), dir_.get(), name.c_str(), 0) != 0)
    return -1;
  if (!replace) unlinkat(dir_.get(), name_.c_str(), 0);
  fill_slot(slot_, dir_.get(), name);
  name_ = name;
  return 0;
}

void TempFile::remove() {
  if (slot_ >= 0) {
    unlinkat(dir_.get(), name_.c_str(), 0);
    cleanup.slots[slot_].in_use = 0;
    slot_ = -1;
  }
  fd_.reset();
  dir_.reset();
}

void install_temp_file_cleanup() {
  if (cleanup.installed) return;
  cleanup.installed = true;
  atexit(remove_slot_files);
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
