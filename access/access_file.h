// The tolqhosts file and the edits of its model, without any widget.
//
// The model lives in the fixed tables of access_model.h. The page and its
// dialogs change it only through the functions here, so the lists on screen
// and the file written later follow the same rules.
#ifndef TOLQ_ACCESS_ACCESS_FILE_H
#define TOLQ_ACCESS_ACCESS_FILE_H

#include <cstdio>
#include <string>

#include "access/access_model.h"
#include "common/safe_file.h"

// Empties every block, both counts and the text read last.
void clear_access_model();

// Reads the file dir + name into the model: 0, or -1 (model unchanged) when it
// cannot be opened, is not a plain file or fails to read.
int read_access_path(const char* dir, const char* name);
// Reads a tolqhosts text into the emptied model. The text is kept: saves
// merge the model into it, so that they keep what the model does not hold.
void read_access_text(std::string text);
// read_access_text of everything an open stream holds.
void read_access_stream(FILE* in);
// True when the text read last holds more than the model can: blocks after
// the 50th, or entries after the 50th of a block. Saves keep them as they are.
bool access_more_than_shown();

// The entry slots of a block in list order; returns how many were stored.
int ordered_entries(int slot, int (&slots)[MAX_BLOCK_ENTRIES]);
// The first slot holding a block of that kind at that list position, or -1.
int find_block_by_kind_order(int kind, int kind_order);

// Writes the block in slot, header to closing line.
void write_access_block(FILE* out, int slot);
// Writes the header and the model; with merge, into the text read last.
void write_access_model(FILE* out, bool merge);
// Saves the model to dir + name through a temporary file, merged into the
// text read last when merge is set: 0, or -1 with the old target untouched.
int save_access_model(bool merge, const char* dir, const char* name,
                      const SaveOptions& options = {});

// Edits of the page and its dialogs.
// 0 when text is empty or a decimal number of at most 65535, -1 otherwise.
int validate_port(const char* text);
// -1 when another convd block holds host and port. unchanged_host and
// unchanged_port (null when adding) name the server being changed.
int server_is_duplicate(const char* host, const char* port, const char* unchanged_host,
                        const char* unchanged_port);
// -1 when the block in slot already holds the pair; unchanged_* as above.
int entry_is_duplicate(int slot, const char* host, const char* user, const char* unchanged_host,
                       const char* unchanged_user);
// Adds a convd block at the end of the list: its slot, or -1 when the table is full.
int add_server_block(const char* host, const char* port);
void change_server_block(int slot, const char* host, const char* port);
// Removes a block; the slot is kept for the next add unless it was the last.
void remove_server_block(int slot);
// Adds an entry at the end of the block's list: its entry slot, or -1 when full.
int add_block_entry(int slot, const char* host, const char* user);
void change_block_entry(int slot, int order, const char* host, const char* user);
// Removes the entry at that list position and closes the gap in the order.
void remove_block_entry(int slot, int order);

// Texts typed into the server and pair dialogs that a tolqhosts line can hold
// and the reader gives back unchanged. Empty texts pass: whether a field may
// be empty is the dialogs' own check.
// 0 when host can be a server's host (server set) or a pair's host, -1 otherwise.
int validate_host_text(const char* host, bool server);
// 0 when user can be the user of a pair with that host, -1 otherwise.
int validate_user_text(const char* user, const char* host);

#endif
