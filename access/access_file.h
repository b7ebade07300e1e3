// The tolqhosts file: reading it into the model of access_model.h and saving
// the model merged into the text read, without any widget.
#ifndef TOLQ_ACCESS_ACCESS_FILE_H
#define TOLQ_ACCESS_ACCESS_FILE_H

#include <string>

#include "access/access_model.h"
#include "common/input_file.h"
#include "common/safe_file.h"

// Empties every block, both counts and the text read last.
void clear_access_model(AccessModel& model);

// Reads the file dir + name into the model: 0, or -1 (model unchanged) when it
// cannot be opened, is not a plain file or fails to read. stamp, when given,
// receives the stamp of exactly what was read.
int read_access_path(AccessModel& model, const char* dir, const char* name,
                     FileStamp* stamp = nullptr);
// Reads a tolqhosts text into the emptied model. The text is kept: saves
// merge the model into it, so that they keep what the model does not hold.
void read_access_text(AccessModel& model, std::string text);
// True when the text read last holds more than the model can: blocks after
// the 50th, or entries after the 50th of a block. Saves keep them as they are.
bool access_more_than_shown(const AccessModel& model);

// Appends the block in slot, header to closing line, in the writer's format.
void write_access_block(const AccessModel& model, std::string* out, int slot);
// Exactly the bytes a save writes: the header and the model; with merge,
// merged into the text read last.
std::string render_access_model(const AccessModel& model, bool merge);
// Saves render_access_model(model, merge) to dir + name through a temporary file:
// 0, or -1 with the old target untouched.
int save_access_model(const AccessModel& model, bool merge, const char* dir, const char* name,
                      const SaveOptions& options = {});

#endif
