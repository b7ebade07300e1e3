#include "serverrc/missing_dicts.h"

#include <sys/stat.h>

#include "common/paths.h"
#include "common/text.h"

namespace {

// The path with its macros expanded; false when it cannot be.
bool expanded(const Places& places, const std::string& path, std::string* out) {
  if (path.size() > kPathSize - 1) return false;
  char buffer[kPathSize];
  copy_bounded(buffer, path.c_str());
  if (expand_path_macros(places, buffer, sizeof buffer) != 0) return false;
  *out = buffer;
  return true;
}

bool exists(const std::string& path, bool directory) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && (!directory || S_ISDIR(st.st_mode));
}

}  // namespace

MissingDictionaries find_missing_dictionaries(const Places& places, const std::string& dir,
                                              const std::vector<std::string>& names) {
  MissingDictionaries missing;
  bool dir_known = expanded(places, dir, &missing.dir);
  if (!dir_known) missing.dir = dir;
  missing.dir_missing = !dir_known || !exists(missing.dir, true);
  std::string inside = missing.dir;
  if (inside.empty() || inside.back() != '/') inside += '/';
  for (const std::string& name : names) {
    // A relative name is the server's inside its directory, its inner macros
    // ("@LANG/system.dic") expanded there.
    std::string path;
    bool known =
        expanded(places, name, &path) && (path[0] == '/' || expanded(places, inside + name, &path));
    if (!known || !exists(path, false)) missing.names.push_back(name);
  }
  return missing;
}
