#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <string>

#include "common/temp_file.h"
#include "tests/support/files.h"

namespace {

FilePlace place_in(const std::string& dir) {
  FilePlace place;
  FileError error;
  EXPECT_EQ(find_file_place(dir + "f", kFollowLast, &place, &error), 0);
  return place;
}

// Runs body in a forked child; its wait status.
int in_child(const std::function<void()>& body) {
  fflush(nullptr);
  pid_t pid = fork();
  if (pid == 0) {
    body();
    _exit(0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return status;
}

// Every terminating signal that can be caught takes the files of a save along
// and still ends the program by that signal; so does exit().
TEST(TempFile, GoesWhenTheProgramIsEndedMidSave) {
  TempDir tmp;
  for (int number :
       {SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGPIPE, SIGALRM, SIGXFSZ, 0}) {
    int status = in_child([&] {
      struct rlimit no_core = {0, 0};  // SIGQUIT and SIGXFSZ would dump one
      setrlimit(RLIMIT_CORE, &no_core);
      install_temp_file_cleanup();
      TempFile temp;
      if (temp.create(place_in(tmp.path())) != 0 || list_dir(tmp.path()).empty()) _exit(10);
      if (number) raise(number);
      exit(0);
    });
    if (number) {
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == number) << number << " " << status;
    } else {
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    EXPECT_EQ(list_dir(tmp.path()), "") << number;
  }
}

// As under nohup: SIGHUP ignored at start stays ignored, the save goes on.
TEST(TempFile, ASignalIgnoredAtStartStaysIgnored) {
  TempDir tmp;
  int status = in_child([&] {
    signal(SIGHUP, SIG_IGN);
    install_temp_file_cleanup();
    struct sigaction hup = {}, term = {};
    sigaction(SIGHUP, nullptr, &hup);
    sigaction(SIGTERM, nullptr, &term);
    if (hup.sa_handler != SIG_IGN || term.sa_handler == SIG_DFL) _exit(10);
    TempFile temp;
    if (temp.create(place_in(tmp.path())) != 0) _exit(11);
    raise(SIGHUP);
    if (temp.rename_to("f") != 0) _exit(12);
  });
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(list_dir(tmp.path()), "f");
}

}  // namespace
