// Every saver against every real write fault, each made in a private mount
// namespace: the save fails, the old file stays byte for byte and nothing is
// left beside it.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <tuple>

#include "access/access_file.h"
#include "common/safe_file.h"
#include "serverrc/convdrc_file.h"
#include "tests/support/files.h"
#include "tests/support/private_mounts.h"

namespace {

// Room for each saver's old file, not for what it writes.
constexpr const char* kFullDiskSize = "64k";

struct Saver {
  const char* name;
  const char* target;
  std::string old_content;
  // Puts the previous version beside the target, as "<target>-", before the target.
  bool keeps_previous;
  // Saves dir + name: 0, or -1.
  std::function<int(const std::string& dir, const char* name)> save;
};

void PrintTo(const Saver& saver, std::ostream* out) {
  *out << saver.name;
}

int save_raw(const std::string& dir, const char* name) {
  return write_settings_file(dir.c_str(), name, std::string(256 * 1024, 'n'));
}

// The new file is small: on a full disk, the copy of the old one is what does not fit.
int save_keeping_previous(const std::string& dir, const char* name) {
  SaveOptions options;
  options.backup_path = dir + name + "-";
  return write_settings_file(dir.c_str(), name, "new\n", options);
}

int save_convdrc(const std::string& dir, const char* name) {
  std::unique_ptr<ConvdrcSource> source;
  if (load_convdrc_file((dir + "convdrc").c_str(), &source) != 0)
    throw std::runtime_error("cannot read the old convdrc");
  ConvdSettings settings = source->settings();
  settings.dicts.assign(2000, std::string(100, 'n'));
  return save_convdrc_file(dir.c_str(), name, source.get(), settings);
}

int save_tolqhosts(const std::string& dir, const char* name) {
  auto model = std::make_unique<AccessModel>();
  if (read_access_path(*model, dir.c_str(), "tolqhosts") != 0)
    throw std::runtime_error("cannot read the old tolqhosts");
  for (int e = 1; e < MAX_BLOCK_ENTRIES; ++e)
    add_block_entry(*model, 0, std::string(3000, 'h').c_str(), "u");
  return save_access_model(*model, true, dir.c_str(), name);
}

const Saver kSavers[] = {
    {"WriteSettingsFile", "f", std::string(300, 'o') + "\n", false, save_raw},
    {"PreviousVersion", "f", std::string(40000, 'o'), true, save_keeping_previous},
    {"Convdrc", "convdrc", "; old \xa4\xa2\nreadfile\t\told.dic\n" + std::string(200, ';') + "\n",
     false, save_convdrc},
    {"Tolqhosts", "tolqhosts", "; kept\nconvd ja_JP a {\nx\n}\n", false, save_tolqhosts},
};

enum class Fault { kFullDisk, kReadOnlyDirectory, kFailingRename };

const char* fault_name(Fault fault) {
  const char* const names[] = {"FullDisk", "ReadOnlyDirectory", "FailingRename"};
  return names[static_cast<int>(fault)];
}

void PrintTo(Fault fault, std::ostream* out) {
  *out << fault_name(fault);
}

using Case = std::tuple<Saver, Fault>;

std::string case_name(const testing::TestParamInfo<Case>& info) {
  return std::string(std::get<0>(info.param).name) + fault_name(std::get<1>(info.param));
}

// Why dir is not as it was before the failed save, or "".
std::string changes(const std::string& dir, const Saver& saver, Fault fault) {
  std::string target = dir + saver.target;
  std::string now = read_file(target);
  if (now != saver.old_content)
    return "the old file changed: it holds " + std::to_string(now.size()) + " bytes, not " +
           std::to_string(saver.old_content.size());
  std::string names = saver.target;
  // Only the target's rename failed: the previous version is in place.
  if (saver.keeps_previous && fault == Fault::kFailingRename) {
    if (read_file(target + "-") != saver.old_content) return "the previous version is wrong";
    names += " " + names + "-";
  }
  std::string listed = list_dir(dir);
  return listed == names ? "" : "the directory holds \"" + listed + "\", not \"" + names + "\"";
}

// In the child: makes the fault over dir, then saves.
std::string fail_and_keep(const std::string& dir, const Saver& saver, Fault fault) {
  if (fault == Fault::kFullDisk && !mount_tmpfs(dir, kFullDiskSize)) return "cannot mount a tmpfs";
  write_file(dir + saver.target, saver.old_content);
  if (fault == Fault::kReadOnlyDirectory && !make_read_only(dir))
    return "cannot make the directory read-only";
  if (fault == Fault::kFailingRename && !pin_file(dir + saver.target))
    return "cannot mount the old file over itself";
  int result = saver.save(dir, saver.target);
  if (result != -1) return "the save returned " + std::to_string(result);
  std::string why = changes(dir, saver, fault);
  // A new file fails as well, but where only a rename fails, or where only
  // the copy of an old file does not fit.
  if (!why.empty() || fault == Fault::kFailingRename ||
      (fault == Fault::kFullDisk && saver.keeps_previous))
    return why;
  result = saver.save(dir, "new");
  if (result != -1) return "the save of a new file returned " + std::to_string(result);
  return changes(dir, saver, fault);
}

class SaveFaults : public testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    std::string why = private_mounts_unavailable();
    if (!why.empty()) GTEST_SKIP() << why;
  }
  TempDir tmp;
};

TEST_P(SaveFaults, FailAndLeaveTheOldFileAsItWas) {
  const Saver& saver = std::get<0>(GetParam());
  Fault fault = std::get<1>(GetParam());
  std::string dir = tmp / "fs/";
  ASSERT_EQ(mkdir(dir.c_str(), 0755), 0);
  EXPECT_EQ(run_in_private_mounts([&] { return fail_and_keep(dir, saver, fault); }), "");
}

INSTANTIATE_TEST_SUITE_P(EverySaver, SaveFaults,
                         testing::Combine(testing::ValuesIn(kSavers),
                                          testing::Values(Fault::kFullDisk,
                                                          Fault::kReadOnlyDirectory,
                                                          Fault::kFailingRename)),
                         case_name);

}  // namespace
