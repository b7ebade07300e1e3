// The access-control model: fixed tables of server blocks and their entries,
// and its edits. The page and its dialogs change the model only through the
// functions here, so the lists on screen and the file written later follow
// the same rules.
#ifndef TOLQ_ACCESS_ACCESS_MODEL_H
#define TOLQ_ACCESS_ACCESS_MODEL_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr int MAX_ACCESS_BLOCKS = 50;
inline constexpr int MAX_BLOCK_ENTRIES = 50;
inline constexpr int32_t BLOCK_KIND_CONVD = 0;
inline constexpr int32_t BLOCK_KIND_TOLQDS = 1;
inline constexpr int32_t kRemovedOrder = 51;  // an order no lookup matches

// Texts are kept whole, exactly as the file holds them.
struct AccessEntry {
  std::string host;
  std::string user;
  int32_t order = 0;
  // The entry's place among its block's entries in the file read last, so
  // that a save writes it on its own line; -1 for an entry added since.
  int32_t origin = -1;
};

struct AccessBlock {
  int32_t kind = BLOCK_KIND_CONVD;
  std::string lang;  // empty for a removed block
  std::string host;  // empty for a removed block
  std::string port;
  int32_t kind_order = 0;
  // The block's place among the blocks of the file read last, so that a save
  // writes it where it stood; -1 for a block added since.
  int32_t origin = -1;
  AccessEntry entries[MAX_BLOCK_ENTRIES];
};

// What a line of the file read last is to a save.
enum class LineRole : unsigned char {
  kDropped,  // a blank line or an old ";;" header between blocks
  kKept,     // copied as it stands
  kHeader,   // the header that named a block: rewritten when the server changed
  kEntry,    // one of a block's first 50 entries, the model's now
};

struct SourceLine {
  size_t begin;
  size_t length;
  LineRole role;
};

// A piece of the file read last: the lines between two blocks, or a block the
// reader took into the model, from its first header to its closing line, with
// what the block held when it was read.
struct Segment {
  std::vector<SourceLine> lines;
  int block = -1;  // the origin of the block read from the lines, -1 between blocks
  int kind = BLOCK_KIND_CONVD;
  std::string host;
  std::string port;
  std::vector<AccessEntry> entries;  // read from the kEntry lines, in order
  size_t added_at = 0;               // the line before which entries added since go
};

// The text of the file read last, in the pieces a save merges the model into.
struct AccessSource {
  std::string text;
  std::vector<Segment> segments;
  size_t insert_at = 0;  // the segment before which blocks added since go
  bool more_than_shown = false;
};

// The tolqhosts the access page shows: its blocks, and the text read last
// that saves merge them into (access_file.h reads and writes it).
struct AccessModel {
  AccessBlock blocks[MAX_ACCESS_BLOCKS];
  int slot_count = 0;                             // the slots in use, removed blocks among them
  int block_count = 0;                            // the live blocks
  int entry_order_count[MAX_ACCESS_BLOCKS] = {};  // a block's entries in its list
  int entry_slot_count[MAX_ACCESS_BLOCKS] = {};   // a block's entry slots in use
  AccessSource source;
};

// Empties the block in slot and its entries in use.
void clear_access_block(AccessModel& model, int slot);
// False for a removed block.
bool access_block_is_live(const AccessModel& model, int slot);
// The entry slots of a block in list order; returns how many were stored.
int ordered_entries(const AccessModel& model, int slot, int (&slots)[MAX_BLOCK_ENTRIES]);
// The first slot holding a block of that kind at that list position, or -1.
int find_block_by_kind_order(const AccessModel& model, int kind, int kind_order);

// Edits of the page and its dialogs.
// True when text is empty or a decimal number of at most 65535.
bool port_text_is_valid(const char* text);
// True when another convd block holds host and port. unchanged_host and
// unchanged_port (null when adding) name the server being changed.
bool server_is_duplicate(const AccessModel& model, const char* host, const char* port,
                         const char* unchanged_host, const char* unchanged_port);
// True when the block in slot already holds the pair; unchanged_* as above.
bool entry_is_duplicate(const AccessModel& model, int slot, const char* host, const char* user,
                        const char* unchanged_host, const char* unchanged_user);
// Adds a convd block at the end of the list: its slot, or -1 when the table is full.
int add_server_block(AccessModel& model, const char* host, const char* port);
void change_server_block(AccessModel& model, int slot, const char* host, const char* port);
// Removes a block; the slot is kept for the next add unless it was the last.
void remove_server_block(AccessModel& model, int slot);
// Adds an entry at the end of the block's list: its entry slot, or -1 when full.
int add_block_entry(AccessModel& model, int slot, const char* host, const char* user);
void change_block_entry(AccessModel& model, int slot, int order, const char* host,
                        const char* user);
// Removes the entry at that list position and closes the gap in the order.
void remove_block_entry(AccessModel& model, int slot, int order);

// Texts typed into the server and pair dialogs that a tolqhosts line can hold
// and the reader gives back unchanged. Empty texts pass: whether a field may
// be empty is the dialogs' own check.
// Whose host a text is: a server's (a '/' would start its port) or a pair's.
enum class HostOf { kServer, kPair };
// True when host can be the host of that kind of row.
bool host_text_is_valid(const char* host, HostOf owner);
// True when user can be the user of a pair with that host.
bool user_text_is_valid(const char* user, const char* host);

#endif
