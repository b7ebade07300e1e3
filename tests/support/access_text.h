// Filling the access-control model from a text, for tests.
#ifndef TOLQ_TESTS_SUPPORT_ACCESS_TEXT_H
#define TOLQ_TESTS_SUPPORT_ACCESS_TEXT_H

#include <string>

#include "access/access_file.h"

// Empties the model and reads text into it as a tolqhosts file.
inline void load_model(AccessModel& model, const std::string& text) {
  read_access_text(model, text);
}

#endif
