#include "common/paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/state.h"

namespace {

struct LeadingMacro {
  const char* name;
  const char* value;
};

// Appends text when the result stays below size; false otherwise.
bool append_checked(std::string* out, const char* text, size_t remaining, int size) {
  if (out->size() + remaining >= static_cast<size_t>(size)) return false;
  out->append(text);
  return true;
}

}  // namespace

int expand_path_macros(char* path, int size) {
  if (!path || size <= 0) return -1;
  char work[kPathSize];
  std::string out;
  if (path[0] != '@') {
    copy_bounded(work, path);
  } else {
    if (strlen(path) >= static_cast<size_t>(size)) return -1;
    char* slash = strchr(path, '/');
    copy_bounded(work, slash ? slash : "");
    std::string name(path + 1, slash ? static_cast<size_t>(slash - path - 1) : strlen(path + 1));
    const LeadingMacro macros[] = {
        {"LIBDIR", kLibRoot}, {"ETCDIR", kEtcRoot}, {"VARDIR", kVarRoot}, {"HOME", home_dir}};
    const LeadingMacro* match = nullptr;
    for (const auto& macro : macros)
      if (name.compare(0, strlen(macro.name), macro.name) == 0) {
        match = &macro;
        break;
      }
    if (match) {
      if (strlen(match->value) + strlen(work) >= static_cast<size_t>(size)) return -1;
      out.assign(match->value, strnlen(match->value, size - 1));
    } else {
      out = "@" + name;
    }
  }
  size_t user_length = strlen(user_name);
  for (const char* p = work; *p;) {
    size_t remaining = strlen(p);
    if (starts_with(p, "@LANG")) {
      if (!append_checked(&out, kLangName, remaining, size)) return -1;
      p += 5;
    } else if (starts_with(p, "@USR")) {
      if (!append_checked(&out, user_name, user_length + remaining - 4, size)) return -1;
      p += 4;
    } else {
      if (out.size() < static_cast<size_t>(size - 1)) out.push_back(*p);
      ++p;
    }
  }
  copy_bounded(path, size, out.c_str());
  return 0;
}

int contract_path_macros(char* path, int size) {
  if (!path || path[0] != '/' || strlen(path) >= static_cast<size_t>(size)) return -1;
  struct Prefix {
    std::string dir;
    const char* macro;
    bool inner;  // whether @LANG and @USR are contracted after it
  };
  const Prefix prefixes[] = {{std::string(kEtcRoot) + "/", "@ETCDIR/", true},
                             {std::string(kVarRoot) + "/", "@VARDIR/", false},
                             {std::string(kLibRoot) + "/", "@LIBDIR/", true},
                             {std::string(home_dir) + "/", "@HOME/", false}};
  const Prefix* match = nullptr;
  for (const auto& prefix : prefixes) {
    if (starts_with(path, prefix.dir.c_str())) {
      match = &prefix;
      break;
    }
  }
  if (!match) return -1;
  char rest[kPathSize];
  copy_bounded(rest, path + match->dir.size());
  std::string out = match->macro;
  if (!match->inner) {
    out.append(rest);
  } else {
    std::string lang = std::string(kLangName) + "/";
    std::string user = std::string(user_name) + "/";
    // An empty user name would match "/" at every slash without ever advancing.
    for (const char* p = rest; *p;) {
      size_t remaining = strlen(p);
      if (starts_with(p, lang.c_str())) {
        if (!append_checked(&out, "@LANG", remaining, size)) return -1;
        p += lang.size() - 1;
      } else if (user_name[0] && starts_with(p, user.c_str())) {
        if (!append_checked(&out, "@USR", remaining, size)) return -1;
        p += user.size() - 1;
      } else {
        out.push_back(*p++);
      }
    }
  }
  if (out.size() >= kPathSize) out.resize(kPathSize - 1);
  copy_bounded(path, size, out.c_str());
  return 0;
}

int path_exists(const char* dir, const char* name) {
  char path[kPathSize];
  if (!join_bounded(path, dir, name)) return -1;
  return access(path, F_OK) == 0 ? 0 : -1;
}

int make_parent_dirs(const char* path) {
  for (const char* slash = strchr(path + (path[0] ? 1 : 0), '/'); slash;
       slash = strchr(slash + 1, '/')) {
    size_t length = static_cast<size_t>(slash - path);
    if (length > kPathSize - 1) return -1;
    std::string part(path, length);
    if (access(part.c_str(), F_OK) == 0) continue;
    if (mkdir(part.c_str(), 0775) != 0) return -1;
    chmod(part.c_str(), 0775);
  }
  return 0;
}
