#include "tests/support/private_mounts.h"

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>

namespace {

// In the child: body's reason, or why the namespace could not be made.
std::string child_reason(const std::function<std::string()>& body) {
  if (unshare(CLONE_NEWNS) != 0) return std::string("unshare: ") + strerror(errno);
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
    return std::string("making the mounts private: ") + strerror(errno);
  try {
    return body();
  } catch (const std::exception& e) {
    return e.what();
  }
}

}  // namespace

std::string private_mounts_unavailable() {
  if (geteuid() != 0) return "needs root for a private mount namespace";
  std::string why = run_in_private_mounts([] { return std::string(); });
  return why.empty() ? "" : "cannot make a private mount namespace here: " + why;
}

std::string run_in_private_mounts(const std::function<std::string()>& body) {
  int report[2];
  if (pipe(report) != 0) return std::string("pipe: ") + strerror(errno);
  fflush(nullptr);
  pid_t pid = fork();
  if (pid < 0) {
    std::string why = std::string("fork: ") + strerror(errno);
    close(report[0]);
    close(report[1]);
    return why;
  }
  if (pid == 0) {
    close(report[0]);
    std::string reason = child_reason(body);
    fflush(nullptr);
    for (size_t done = 0; done < reason.size();) {
      ssize_t n = write(report[1], reason.data() + done, reason.size() - done);
      if (n <= 0) _exit(1);
      done += static_cast<size_t>(n);
    }
    _exit(0);
  }
  close(report[1]);
  std::string reason;
  char buffer[512];
  ssize_t n;
  while ((n = read(report[0], buffer, sizeof buffer)) > 0)
    reason.append(buffer, static_cast<size_t>(n));
  close(report[0]);
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return "waitpid: " + std::string(strerror(errno));
  if (WIFSIGNALED(status))
    return "the child was ended by signal " + std::to_string(WTERMSIG(status));
  if (WEXITSTATUS(status) != 0) return "the child could not report: " + reason;
  return reason;
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
