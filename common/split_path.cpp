#include "common/split_path.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "common/places.h"
#include "common/text.h"

namespace {

bool is_blank(char c) {
  return c == ' ' || c == '\t';
}

// The home_dir of places + rest, where rest is "" or begins with '/'; false without a home.
bool under_home(const Places& places, const std::string& rest, std::string* path) {
  std::string home = places.home_dir;
  if (home.empty() || home[0] != '/') return false;
  while (!home.empty() && home.back() == '/') home.pop_back();
  *path = home + rest;
  if (path->empty()) *path = "/";
  return true;
}

}  // namespace

PagePathFault full_page_path(const Places& places, const std::string& typed, std::string* full) {
  if (typed.empty()) return PagePathFault::kEmpty;
  // A blank nobody sees at either end would make a file nobody finds.
  if (is_blank(typed.front()) || is_blank(typed.back())) return PagePathFault::kEdgeBlank;
  std::string path = typed;
  if (typed == "~" || typed.compare(0, 2, "~/") == 0) {
    if (!under_home(places, typed.substr(1), &path)) return PagePathFault::kUnresolved;
  } else if (typed[0] != '/') {
    std::unique_ptr<char, decltype(&free)> cwd(getcwd(nullptr, 0), free);
    if (!cwd) return PagePathFault::kUnresolved;
    path = std::string(cwd.get()) + "/" + typed;
  }
  // A path cut to fit would name some other file.
  if (path.size() > kPathSize - 1) return PagePathFault::kTooLong;
  *full = path;
  return PagePathFault::kNone;
}

int split_path(const char* path, char* dir, size_t dir_size, char* name, size_t name_size) {
  if (!path || path[0] == '\0' || dir_size == 0 || name_size == 0) return -1;
  memset(dir, 0, dir_size);
  memset(name, 0, name_size);
  copy_bounded(dir, dir_size, path);
  char* slash = strrchr(dir, '/');
  if (!slash) return -1;
  copy_bounded(name, name_size, slash + 1);
  slash[1] = '\0';
  return 0;
}
