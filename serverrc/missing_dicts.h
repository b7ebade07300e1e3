// Which dictionaries of the page the server would not find at its start.
#ifndef TOLQ_SERVERRC_MISSING_DICTS_H
#define TOLQ_SERVERRC_MISSING_DICTS_H

#include <string>
#include <vector>

#include "common/places.h"

struct MissingDictionaries {
  bool dir_missing = false;
  std::string dir;                 // the dictionary directory, its macros expanded
  std::vector<std::string> names;  // the missing ones, as the list holds them
};

// Looks for the dictionary directory dir (path macros allowed) and for each
// name, expanded and, when relative, taken inside that directory. EUC-JP
// bytes throughout; nothing is changed.
MissingDictionaries find_missing_dictionaries(const Places& places, const std::string& dir,
                                              const std::vector<std::string>& names);

#endif
