#include <gtest/gtest.h>

#include <acl/libacl.h>
#include <fcntl.h>
#include <sys/acl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "common/input_file.h"
#include "common/safe_file.h"
#include "tests/support/files.h"

namespace {

int write_through(const std::string& dir, const char* name, const std::string& content,
                  const std::string& backup = "", FileError* error = nullptr) {
  SaveOptions options;
  options.backup_path = backup;
  options.error = error;
  return write_settings_file(dir.c_str(), name, content, options);
}

std::string link_text(const std::string& path) {
  char text[256];
  ssize_t n = readlink(path.c_str(), text, sizeof text);
  return n < 0 ? "" : std::string(text, static_cast<size_t>(n));
}

TEST(SafeFile, NewTargetGetsItsDirectoriesAndMode0644AndTellsItsStamp) {
  TempDir tmp;
  mode_t old = umask(077);
  FileStamp written;
  SaveOptions options;
  options.written = &written;
  ASSERT_EQ(write_settings_file((tmp / "a/b/").c_str(), "f", "new\n", options), 0);
  umask(old);
  EXPECT_EQ(read_file(tmp / "a/b/f"), "new\n");
  EXPECT_EQ(file_mode(tmp / "a/b/f"), 0644);
  EXPECT_EQ(file_mode(tmp / "a"), 0775);
  EXPECT_EQ(list_dir(tmp / "a/b"), "f");
  EXPECT_TRUE(written.exists);
  EXPECT_EQ(written, stamp_file((tmp / "a/b/f").c_str()));
  EXPECT_EQ(write_through(std::string(5000, 'd') + "/", "f", "x"), -1);  // never cut
}

// The previous version lies beside the path written, whatever it links to.
TEST(SafeFile, ReplacesTheFileAtTheEndOfALinkChainAndKeepsThePreviousOneBesideTheLink) {
  TempDir tmp;
  mkdir((tmp / "real").c_str(), 0755);
  mkdir((tmp / "etc").c_str(), 0755);
  write_file(tmp / "real/f", "old\n");
  ASSERT_EQ(symlink("../real/f", (tmp / "etc/second").c_str()), 0);
  ASSERT_EQ(symlink((tmp / "etc/second").c_str(), (tmp / "etc/f").c_str()), 0);
  ASSERT_EQ(write_through(tmp / "etc/", "f", "new\n", tmp / "etc/f-"), 0);
  EXPECT_EQ(read_file(tmp / "real/f"), "new\n");
  EXPECT_EQ(read_file(tmp / "etc/f-"), "old\n");
  EXPECT_EQ(link_text(tmp / "etc/f"), tmp / "etc/second");
  EXPECT_EQ(link_text(tmp / "etc/second"), "../real/f");
  EXPECT_EQ(list_dir(tmp / "etc"), "f f- second");
  EXPECT_EQ(list_dir(tmp / "real"), "f");
  ASSERT_EQ(write_through(tmp / "etc/", "f", "newer\n"), 0);
  EXPECT_EQ(read_file(tmp / "etc/f-"), "old\n");  // kept only when asked
}

// Nothing is written where no regular file belongs: no temporary file, no lock.
TEST(SafeFile, RefusesEveryTargetThatIsNotARegularFile) {
  TempDir tmp;
  ASSERT_EQ(mkfifo((tmp / "fifo").c_str(), 0600), 0);
  ASSERT_EQ(mkdir((tmp / "dir").c_str(), 0755), 0);
  int sock = socket(AF_UNIX, SOCK_STREAM, 0);
  struct sockaddr_un address = {};
  address.sun_family = AF_UNIX;
  snprintf(address.sun_path, sizeof address.sun_path, "%s", (tmp / "socket").c_str());
  ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  std::vector<std::string> nodes = {"fifo", "dir", "socket", "link"};
  if (mknod((tmp / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) nodes.push_back("null");
  ASSERT_EQ(symlink("fifo", (tmp / "link").c_str()), 0);
  std::string before = list_dir(tmp.path());
  for (const auto& node : nodes) {
    FileError error;
    EXPECT_EQ(write_through(tmp.path(), node.c_str(), "x\n", tmp / (node + "-"), &error), -1);
    EXPECT_EQ(error.refusal, FileRefusal::kNotRegular) << node;
    EXPECT_EQ(error.path, tmp / (node == "link" ? "fifo" : node));
  }
  close(sock);
  EXPECT_EQ(list_dir(tmp.path()), before);
  EXPECT_EQ(list_dir(tmp / "dir"), "");
  if (nodes.back() != "null") GTEST_SKIP() << "mknod is not allowed here: no device tried";
}

// The check right before the rename compares bytes: a rewrite of the same size
// with its time set back is seen, and so is a file that appeared.
TEST(SafeFile, WritesOnlyOverTheVersionItExpects) {
  TempDir tmp;
  write_file(tmp / "f", "one\n");
  FileStamp read = stamp_file((tmp / "f").c_str());
  struct stat st;
  ASSERT_EQ(stat((tmp / "f").c_str(), &st), 0);
  write_file(tmp / "f", "two\n");
  struct timespec times[2] = {st.st_atim, st.st_mtim};
  ASSERT_EQ(utimensat(AT_FDCWD, (tmp / "f").c_str(), times, 0), 0);
  FileError error;
  SaveOptions options;
  options.expected = &read;
  options.backup_path = tmp / "f-";
  options.error = &error;
  EXPECT_EQ(write_settings_file(tmp.path().c_str(), "f", "mine\n", options), -1);
  EXPECT_EQ(error.refusal, FileRefusal::kChanged);
  EXPECT_EQ(read_file(tmp / "f"), "two\n");
  EXPECT_EQ(list_dir(tmp.path()), "f");
  FileStamp missing;
  options.expected = &missing;
  EXPECT_EQ(write_settings_file(tmp.path().c_str(), "f", "mine\n", options), -1);
  EXPECT_EQ(error.refusal, FileRefusal::kChanged);
  read = stamp_file((tmp / "f").c_str());
  options.expected = &read;
  EXPECT_EQ(write_settings_file(tmp.path().c_str(), "f", "mine\n", options), 0);
  EXPECT_EQ(read_file(tmp / "f-"), "two\n");
}

std::string acl_text(const std::string& path) {
  acl_t acl = acl_get_file(path.c_str(), ACL_TYPE_ACCESS);
  if (!acl) return "";
  char* text = acl_to_any_text(acl, nullptr, ',', 0);
  std::string result = text ? text : "";
  acl_free(text);
  acl_free(acl);
  return result;
}

std::string attribute(const std::string& path, const char* name) {
  char value[64];
  ssize_t n = getxattr(path.c_str(), name, value, sizeof value);
  return n < 0 ? "" : std::string(value, static_cast<size_t>(n));
}

// Owner, group, mode, ACL and extended attributes stay, on the new file and on
// the previous version; a new file is 0644 and root's.
TEST(SafeFile, KeepsTheMetadataOfTheFileItReplaces) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to give files other owners";
  TempDir tmp;
  std::string f = tmp / "f";
  write_file(f, "old\n");
  acl_t acl = acl_from_text("u::rw-,u:1234:rw-,g::r--,m::rw-,o::---");
  int acl_set = acl_set_file(f.c_str(), ACL_TYPE_ACCESS, acl);
  acl_free(acl);
  if (acl_set != 0) GTEST_SKIP() << "this file system holds no ACL: " << strerror(errno);
  if (setxattr(f.c_str(), "user.origin", "kept", 4, 0) != 0 ||
      setxattr(f.c_str(), "trusted.label", "root's", 6, 0) != 0)
    GTEST_SKIP() << "this file system holds no extended attributes: " << strerror(errno);
  ASSERT_EQ(chown(f.c_str(), 1000, 50), 0);
  std::string acl_before = acl_text(f);
  int mode_before = file_mode(f);
  ASSERT_EQ(write_through(tmp.path(), "f", "new\n", f + "-"), 0);
  for (const std::string& path : {f, f + "-"}) {
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 1000u) << path;
    EXPECT_EQ(st.st_gid, 50u) << path;
    EXPECT_EQ(file_mode(path), mode_before) << path;
    EXPECT_EQ(acl_text(path), acl_before) << path;
    EXPECT_EQ(attribute(path, "user.origin"), "kept") << path;
    EXPECT_EQ(attribute(path, "trusted.label"), "root's") << path;
  }
  EXPECT_EQ(read_file(f), "new\n");
  EXPECT_EQ(read_file(f + "-"), "old\n");
  ASSERT_EQ(write_through(tmp.path(), "g", "new\n"), 0);
  struct stat st;
  ASSERT_EQ(stat((tmp / "g").c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 0u);
  EXPECT_EQ(st.st_gid, 0u);
  EXPECT_EQ(file_mode(tmp / "g"), 0644);
}

// Traced: each file is written, then synced, then renamed into place, then its
// directory is synced; the previous version too.
TEST(SafeFile, WritesSyncsRenamesAndSyncsTheDirectoryInThatOrder) {
  if (system("command -v strace >/dev/null") != 0) GTEST_SKIP() << "strace is not installed";
  TempDir tmp, out;
  write_file(tmp / "f", "old-bytes\n");
  std::string trace = out / "trace";
  // LeakSanitizer, in a sanitizer build, cannot run under ptrace.
  std::string command = "ASAN_OPTIONS=detect_leaks=0 strace -f -qq -y -o " + trace +
                        " -e trace=write,fsync,fdatasync,rename,renameat,renameat2 " +
                        TOLQ_TEST_SAVE_FILE + " " + tmp.path() + " f new-bytes " + tmp / "f-";
  ASSERT_EQ(system(command.c_str()), 0) << command;
  std::ifstream in(trace);
  std::vector<std::string> events;  // "write <file>", "fsync <file>", "rename <from> <to>"
  std::regex write_call(R"re(write\(\d+<([^>]*)>, "(new|old)-bytes)re");
  std::regex sync_call(R"re(f(data)?sync\(\d+<([^>]*)>\))re");
  std::regex rename_call(R"re(rename\w*\(\d+<([^>]*)>, "([^"]*)", \d+<([^>]*)>, "([^"]*)")re");
  std::smatch m;
  for (std::string line; std::getline(in, line);) {
    if (std::regex_search(line, m, write_call))
      events.push_back("write " + m[2].str() + " " + m[1].str());
    else if (std::regex_search(line, m, sync_call))
      events.push_back("fsync " + m[2].str());
    else if (std::regex_search(line, m, rename_call))
      events.push_back("rename " + m[1].str() + "/" + m[2].str() + " " + m[3].str() + "/" +
                       m[4].str());
  }
  auto at = [&](const std::string& prefix) {
    for (size_t i = 0; i < events.size(); ++i)
      if (events[i].rfind(prefix, 0) == 0) return static_cast<int>(i);
    return -1;
  };
  std::string dir = tmp.path().substr(0, tmp.path().size() - 1);
  for (const char* kind : {"new", "old"}) {
    int write = at(std::string("write ") + kind);
    ASSERT_GE(write, 0) << kind;
    const std::string& written = events[static_cast<size_t>(write)];
    std::string temp = written.substr(written.rfind(' ') + 1);
    std::string target = tmp / (kind == std::string("new") ? "f" : "f-");
    int synced = at("fsync " + temp);
    int renamed = at("rename " + temp + " " + target);
    int dir_synced = -1;
    for (auto i = static_cast<size_t>(renamed + 1);
         renamed >= 0 && i < events.size() && dir_synced < 0; ++i)
      if (events[i] == "fsync " + dir) dir_synced = static_cast<int>(i);
    EXPECT_LT(write, synced) << kind;
    EXPECT_LT(synced, renamed) << kind;
    EXPECT_LT(renamed, dir_synced) << kind;
  }
  EXPECT_EQ(read_file(tmp / "f"), "new-bytes");
}

}  // namespace
