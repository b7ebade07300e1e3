// Real file-system faults for writer tests: a full disk, a read-only directory
// and a rename that fails, made with mounts in a private mount namespace.
#ifndef TOLQ_TESTS_SUPPORT_PRIVATE_MOUNTS_H
#define TOLQ_TESTS_SUPPORT_PRIVATE_MOUNTS_H

#include <functional>
#include <string>

// Empty when private mounts can be used here (root with unshare), else the reason.
std::string private_mounts_unavailable();

// Runs body in a forked child inside a private mount namespace and returns
// what body returns: empty when all went as it should, else why not. Also a
// reason when the namespace could not be made or the child did not end
// normally. The child shares nothing with the test afterwards: body reports
// through its result only.
std::string run_in_private_mounts(const std::function<std::string()>& body);

// Inside the child: a tmpfs of the given size (e.g. "16k") over dir.
bool mount_tmpfs(const std::string& dir, const std::string& size);
// Inside the child: dir becomes read-only.
bool make_read_only(const std::string& dir);
// Inside the child: file is mounted over itself, so a rename onto it fails.
bool pin_file(const std::string& file);

#endif
