#include "tests/support/private_mounts.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

std::string private_mounts_unavailable() {
  if (geteuid() != 0) return "needs root for a private mount namespace";
  int status = run_in_private_mounts([] { return 0; });
  return status == 0 ? "" : "cannot make a private mount namespace here";
}

int run_in_private_mounts(const std::function<int()>& body) {
  fflush(nullptr);
  pid_t pid = fork();
  if (pid < 0) return 126;
  if (pid == 0) {
    if (unshare(CLONE_NEWNS) != 0) _exit(126);
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) _exit(126);
    int result = body();
    fflush(nullptr);
    _exit(result);
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return 126;
  return WEXITSTATUS(status);
}

bool mount_tmpfs(const std::string& dir, const std::string& size) {
  std::string options = "size=" + size + ",mode=0755";
  return mount("tolq-test", dir.c_str(), "tmpfs", 0, options.c_str()) == 0;
}

bool make_read_only(const std::string& dir) {
  return mount(dir.c_str(), dir.c_str(), nullptr, MS_BIND, nullptr) == 0 &&
         mount(nullptr, dir.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
}

bool pin_file(const std::string& file) {
  return mount(file.c_str(), file.c_str(), nullptr, MS_BIND, nullptr) == 0;
}

bool fill_file_system(const std::string& dir) {
  std::string path = dir + "/filler";
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) return false;
  std::vector<char> block(4096, 'x');
  while (write(fd, block.data(), block.size()) > 0) {
  }
  while (write(fd, block.data(), 1) > 0) {
  }
  close(fd);
  return true;
}
