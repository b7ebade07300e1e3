// Filling the access-control model from a text, for tests.
#ifndef TOLQ_TESTS_SUPPORT_ACCESS_TEXT_H
#define TOLQ_TESTS_SUPPORT_ACCESS_TEXT_H

#include <cstdio>
#include <stdexcept>
#include <string>

#include "access/access_file.h"

// Empties the model and reads text into it as a tolqhosts file.
inline void load_model(const std::string& text) {
  FILE* in = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
  if (!in) throw std::runtime_error("fmemopen failed");
  clear_access_model();
  read_access_stream(in);
  fclose(in);
}

#endif
