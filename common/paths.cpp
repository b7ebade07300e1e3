#include "common/paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "common/places.h"

PathMacros path_macros(const Places& places) {
  return {{
      {"@ETCDIR", kEtcRoot, true, true},
      {"@VARDIR", kVarRoot, true, false},
      {"@LIBDIR", kLibRoot, true, true},
      {"@HOME", places.home_dir, true, false},
      {"@LANG", kLangName, false, false},
      {"@USR", places.user_name, false, false},
  }};
}

namespace {

// Appends text when the result stays below size; false otherwise.
bool append_checked(std::string* out, const char* text, size_t remaining, int size) {
  if (out->size() + remaining >= static_cast<size_t>(size)) return false;
  out->append(text);
  return true;
}

// The leading macro whose name (without '@') begins name; they are compared by
// their first characters only, so "LIBDIRX" counts as "LIBDIR".
const PathMacro* leading_macro_named(const PathMacros& macros, const std::string& name) {
  for (const auto& macro : macros)
    if (macro.leading && name.compare(0, strlen(macro.name + 1), macro.name + 1) == 0)
      return &macro;
  return nullptr;
}

// The inner macro whose name begins at text.
const PathMacro* inner_macro_at(const PathMacros& macros, const char* text) {
  for (const auto& macro : macros)
    if (!macro.leading && starts_with(text, macro.name)) return &macro;
  return nullptr;
}

// The inner macro whose value followed by a slash begins at text. An empty value
// would match "/" at every slash without ever advancing.
const PathMacro* inner_value_at(const PathMacros& macros, const char* text) {
  for (const auto& macro : macros) {
    size_t length = strlen(macro.value);
    if (!macro.leading && length > 0 && strncmp(text, macro.value, length) == 0 &&
        text[length] == '/')
      return &macro;
  }
  return nullptr;
}

// The leading macro whose directory, with a slash, begins path.
const PathMacro* leading_macro_under(const PathMacros& macros, const char* path) {
  for (const auto& macro : macros)
    if (macro.leading && starts_with(path, (std::string(macro.value) + "/").c_str())) return &macro;
  return nullptr;
}

// Starts out with what the path's first component stands for and leaves in
// work the rest of the path, still to expand; false when it cannot fit in size.
bool expand_leading(const PathMacros& macros, const char* path, int size, char (&work)[kPathSize],
                    std::string* out) {
  if (path[0] != '@') {
    copy_bounded(work, path);
    return true;
  }
  if (strlen(path) >= static_cast<size_t>(size)) return false;
  const char* slash = strchr(path, '/');
  copy_bounded(work, slash ? slash : "");
  std::string name(path + 1, slash ? static_cast<size_t>(slash - path - 1) : strlen(path + 1));
  const PathMacro* match = leading_macro_named(macros, name);
  if (!match) {
    *out = "@" + name;
    return true;
  }
  if (strlen(match->value) + strlen(work) >= static_cast<size_t>(size)) return false;
  out->assign(match->value, strnlen(match->value, static_cast<size_t>(size) - 1));
  return true;
}

// Appends work to out with its inner macros expanded; false when it cannot fit in size.
bool expand_inner(const PathMacros& macros, const char* work, int size, std::string* out) {
  for (const char* p = work; *p;) {
    // Only an '@' can begin a macro: the other bytes are copied without a look.
    if (const PathMacro* macro = *p == '@' ? inner_macro_at(macros, p) : nullptr) {
      size_t remaining = strlen(p);
      size_t name_length = strlen(macro->name);
      if (!append_checked(out, macro->value, strlen(macro->value) + remaining - name_length, size))
        return false;
      p += name_length;
    } else {
      if (out->size() < static_cast<size_t>(size - 1)) out->push_back(*p);
      ++p;
    }
  }
  return true;
}

// Appends rest to out with the values of the inner macros contracted; false
// when it cannot fit in size.
bool contract_inner(const PathMacros& macros, const char* rest, int size, std::string* out) {
  for (const char* p = rest; *p;) {
    size_t remaining = strlen(p);
    if (const PathMacro* macro = inner_value_at(macros, p)) {
      if (!append_checked(out, macro->name, remaining, size)) return false;
      p += strlen(macro->value);
    } else {
      out->push_back(*p++);
    }
  }
  return true;
}

}  // namespace

int expand_path_macros(const Places& places, char* path, int size) {
  if (!path || size <= 0) return -1;
  const PathMacros macros = path_macros(places);
  char work[kPathSize];
  std::string out;
  if (!expand_leading(macros, path, size, work, &out) || !expand_inner(macros, work, size, &out))
    return -1;
  copy_bounded(path, static_cast<size_t>(size), out.c_str());
  return 0;
}

int contract_path_macros(const Places& places, char* path, int size) {
  if (!path || path[0] != '/' || strlen(path) >= static_cast<size_t>(size)) return -1;
  const PathMacros macros = path_macros(places);
  const PathMacro* match = leading_macro_under(macros, path);
  if (!match) return -1;
  char rest[kPathSize];
  copy_bounded(rest, path + strlen(match->value) + 1);
  std::string out = std::string(match->name) + "/";
  if (!match->inner_contracted)
    out.append(rest);
  else if (!contract_inner(macros, rest, size, &out))
    return -1;
  if (out.size() >= kPathSize) out.resize(kPathSize - 1);
  copy_bounded(path, static_cast<size_t>(size), out.c_str());
  return 0;
}

bool path_exists(const char* dir, const char* name) {
  char path[kPathSize];
  return join_bounded(path, dir, name) && access(path, F_OK) == 0;
}

bool regular_file_exists(const char* dir, const char* name) {
  char path[kPathSize];
  struct stat st;
  return join_bounded(path, dir, name) && stat(path, &st) == 0 && S_ISREG(st.st_mode);
}
