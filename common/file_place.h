// Where a settings file lies, found as the kernel finds it for root under
// fs.protected_symlinks=1, whatever that setting is here: a link inside a
// sticky, world-writable directory (such as /tmp) is followed only when its
// owner is that directory's owner or the user following it; any other link is
// refused, since whoever planted it could point it at any file. The directory
// found is kept open, so that every later step happens in it even when a
// directory on the path is renamed or replaced by a link meanwhile.
#ifndef TOLQ_COMMON_FILE_PLACE_H
#define TOLQ_COMMON_FILE_PLACE_H

#include <sys/stat.h>
#include <sys/types.h>

#include <string>
#include <utility>

// A file descriptor that closes itself.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    reset(std::exchange(other.fd_, -1));
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { reset(); }

  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  void reset(int fd = -1);

 private:
  int fd_ = -1;
};

// Why a settings file was not read or written, beyond a failing system call.
enum class FileRefusal {
  kNone,
  kPlantedLink,  // a link another user put in a sticky, world-writable directory
  kNotRegular,   // a device, FIFO, socket or directory where a settings file belongs
  kLocked,       // another process holds the file's lock
  kTooLarge,     // larger than kMaxSettingsFileSize
  kChanged,      // someone else wrote the file since it was read
};

struct FileError {
  FileRefusal refusal = FileRefusal::kNone;
  int number = 0;    // errno of what failed; for a refusal the nearest one (EACCES, EFBIG...)
  std::string path;  // the file concerned
};

// Files larger than this are not read: nothing the pages show needs more.
inline constexpr off_t kMaxSettingsFileSize = off_t{64} * 1024 * 1024;

// The directory that holds a file, open, and the file's name in it.
struct FilePlace {
  UniqueFd dir;
  std::string dir_path;  // the directory's path with no link in it, ending with '/'
  std::string name;      // never a link that was to be followed
  std::string path() const { return dir_path + name; }
};

enum PlaceFlags {
  kFollowLast = 1,  // a link at the last component is followed (else it is the file)
  kMakeDirs = 2,    // missing directories of the path itself are made, mode 0775
};

// Finds the place of path, following links by the rule above (and, with
// kFollowLast, a link at the end of the path too): 0, or -1 with error filled
// (refusal kPlantedLink for a link refused, else the errno of what failed; a
// link to nothing is ENOENT). Directories that a link names are never made.
int find_file_place(const std::string& path, int flags, FilePlace* place, FileError* error);

// Whether paths a and b, links followed, name the same file in the same directory.
bool same_file_place(const char* a, const char* b);

// Opens the file at place for reading when it is a regular file, without
// following a link and without ever blocking: its descriptor, or -1 with error
// filled (ENOENT when there is none, kNotRegular for any other kind of file,
// which is never opened). st, when given, receives what fstat says.
int open_regular_file(const FilePlace& place, FileError* error, struct stat* st = nullptr);

// Fills error and returns -1.
int fail_with(FileError* error, FileRefusal refusal, int number, const std::string& path = "");

#endif
