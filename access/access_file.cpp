#include "access/access_file.h"

#include <sys/stat.h>

#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <memory>

#include "common/line_writers.h"
#include "common/safe_file.h"
#include "common/text.h"

AccessBlock access_blocks[MAX_ACCESS_BLOCKS];
int access_slot_count;
int access_block_count;
int entry_order_count[MAX_ACCESS_BLOCKS];
int entry_slot_count[MAX_ACCESS_BLOCKS];

namespace {

constexpr const char* kLangWord = "ja_JP";
constexpr const char* kConvdWord = "convd";


bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Copies n bytes of src into a model field, cut to the field's bound.
void copy_span(char (&dst)[kLineSize], const char* src, size_t n) {
  if (n > sizeof dst - 1) n = sizeof dst - 1;
  memcpy(dst, src, n);
  dst[n] = '\0';
}

// A header line split as "%s %s %s %s" would split it.
struct HeaderLine {
  int word_count = 0;
  const char* word[4] = {};
  size_t length[4] = {};
  int kind = BLOCK_KIND_TOLQDS;
  char host[kLineSize] = {};
  char port[kLineSize] = {};
};

// Fills header from line; true when it has four words and the fourth opens the block.
bool parse_header(const char* line, HeaderLine& header) {
  const char* p = line;
  while (header.word_count < 4) {
    while (is_space(*p)) ++p;
    if (*p == '\0') break;
    const char* start = p;
    while (*p != '\0' && !is_space(*p)) ++p;
    header.word[header.word_count] = start;
    header.length[header.word_count++] = static_cast<size_t>(p - start);
  }
  if (header.word_count < 4 || header.word[3][0] != '{') return false;
  bool convd = header.length[0] == strlen(kConvdWord) &&
               memcmp(header.word[0], kConvdWord, header.length[0]) == 0;
  header.kind = convd ? BLOCK_KIND_CONVD : BLOCK_KIND_TOLQDS;
  const char* host = header.word[2];
  size_t host_length = header.length[2];
  const char* slash = static_cast<const char*>(memchr(host, '/', host_length));
  size_t cut = slash ? static_cast<size_t>(slash - host) : host_length;
  copy_span(header.host, host, cut);
  if (slash) copy_span(header.port, slash + 1, host_length - cut - 1);
  return true;
}

// The reader also wants the language word and a host that is not a path.
bool header_accepted(const HeaderLine& header) {
  return header.length[1] == strlen(kLangWord) &&
         memcmp(header.word[1], kLangWord, header.length[1]) == 0 && header.word[2][0] != '/';
}

bool is_header_line(const char* line) {
  return strchr(line, '{') != nullptr;
}

void parse_entry(const char* line, AccessEntry& entry) {
  size_t end = strcspn(line, "\n");
  if (line[0] == '@') {
    copy_span(entry.user, line + 1, strcspn(line + 1, ":\n"));
  } else if (line[0] == ':') {
    copy_span(entry.user, line + 1, end - 1);
  } else {
    size_t host_length = strcspn(line, ":\n");
    copy_span(entry.host, line, host_length);
    if (line[host_length] == ':')
      copy_span(entry.user, line + host_length + 1, end - host_length - 1);
  }
}

// Clears a block's fields and the entries in use. Entry slots at and above
// entry_slot_count hold nothing live, so most of the 5 MB of tables is never
// touched and costs no memory.
void clear_block(int slot) {
  AccessBlock& block = access_blocks[slot];
  memset(&block, 0, offsetof(AccessBlock, entries));
  memset(block.entries, 0, sizeof(AccessEntry) * entry_slot_count[slot]);
  entry_order_count[slot] = 0;
  entry_slot_count[slot] = 0;
}

bool block_is_live(int slot) {
  return access_blocks[slot].host[0] != '\0';
}

void write_entry(FILE* out, const AccessEntry& entry, bool host_only) {
  if (host_only || entry.user[0] == '\0')
    fprintf(out, "%s\n", entry.host);
  else if (entry.host[0] == '\0')
    fprintf(out, "@%s\n", entry.user);
  else
    fprintf(out, "%s:%s\n", entry.host, entry.user);
}

void write_block_entries(FILE* out, int slot, bool host_only) {
  int slots[MAX_BLOCK_ENTRIES];
  int count = ordered_entries(slot, slots);
  for (int i = 0; i < count; ++i)
    write_entry(out, access_blocks[slot].entries[slots[i]], host_only);
}

// A line carried over from the old file. A piece cut at the line limit, or a
// last line without its newline, is ended here so that it cannot swallow the
// next line written.
void copy_line(FILE* out, const char* line) {
  fputs(line, out);
  size_t length = strlen(line);
  if (length == 0 || line[length - 1] != '\n') fputc('\n', out);
}

enum BlockSaveState : unsigned char { kSkipped, kPending, kWrittenInPlace, kAppended };

struct SaveState {
  BlockSaveState block[MAX_ACCESS_BLOCKS];
};

// The first block of the header's server not yet written, or -1. A block is
// written in place once, so a server named twice in the old file keeps each
// block's own entries.
int find_pending_block(const HeaderLine& header, const SaveState& save) {
  for (int slot = 0; slot < access_slot_count; ++slot) {
    const AccessBlock& block = access_blocks[slot];
    if (save.block[slot] == kPending && block.kind == header.kind &&
        strcmp(block.lang, kLangWord) == 0 && strcmp(block.host, header.host) == 0 &&
        strcmp(block.port, header.port) == 0)
      return slot;
  }
  return -1;
}

// Copies the comments of the old file and the header and closing lines of the
// blocks that still exist, with the model's entries between them.
void merge_old_file(FILE* old_file, FILE* out, SaveState& save) {
  char line[kLineSize];
  bool skipping = false;
  bool replaced = false;  // a block written in place still awaits its closing line
  while (fgets(line, sizeof line, old_file)) {
    if (starts_with(line, ";;")) continue;
    if (line[0] == ';') {
      copy_line(out, line);
    } else if (is_header_line(line)) {
      skipping = true;
      HeaderLine header;
      if (!parse_header(line, header)) continue;
      skipping = false;
      // A header the reader would reject must not carry a block, or the
      // block would be gone at the next read.
      int slot = header_accepted(header) ? find_pending_block(header, save) : -1;
      if (slot < 0) continue;
      if (replaced) fputs("}\n", out);  // the old file left the previous block open
      copy_line(out, line);
      write_block_entries(out, slot, access_blocks[slot].kind == BLOCK_KIND_TOLQDS);
      save.block[slot] = kWrittenInPlace;
      replaced = true;
    } else if (!skipping && line[0] == '}' && replaced) {
      copy_line(out, line);
      replaced = false;
    }
  }
  if (replaced) fputs("}\n", out);
}

void append_pending_blocks(FILE* out, SaveState& save) {
  for (int kind : {BLOCK_KIND_CONVD, BLOCK_KIND_TOLQDS}) {
    for (int i = 0; i < access_block_count; ++i) {
      for (int slot = 0; slot < access_slot_count; ++slot) {
        const AccessBlock& block = access_blocks[slot];
        if (save.block[slot] == kPending && block.kind == kind && block.kind_order == i &&
            block_is_live(slot)) {
          write_access_block(out, slot);
          save.block[slot] = kAppended;
          break;
        }
      }
    }
  }
}

// Opens the file of the last read for the merge; a path that is not a regular
// file gives nothing to merge.
InputFile open_old_file(const char* path) {
  if (!path) return nullptr;
  return open_input_file(path);
}

AccessEntry* find_entry(int slot, int order) {
  for (int e = 0; e < entry_slot_count[slot]; ++e)
    if (access_blocks[slot].entries[e].order == order) return &access_blocks[slot].entries[e];
  return nullptr;
}

}  // namespace

void clear_access_model() {
  access_block_count = 0;
  access_slot_count = 0;
  for (int slot = 0; slot < MAX_ACCESS_BLOCKS; ++slot) clear_block(slot);
}

int read_access_path(const char* dir, const char* name) {
  char path[kPathSize];
  if (!join_bounded(path, dir, name)) return -1;
  InputFile file = open_input_file(path);
  if (!file) return -1;
  clear_access_model();
  read_access_stream(file.get());
  return 0;
}

void read_access_stream(FILE* in) {
  char line[kLineSize];
  int b = 0, e = 0;
  bool open = false, skipping = false;
  int kind_counter[2] = {0, 0};
  while (b < MAX_ACCESS_BLOCKS && fgets(line, sizeof line, in)) {
    if (line[0] == ';' || line[0] == '\n') continue;
    AccessBlock& block = access_blocks[b];
    if (is_header_line(line)) {
      HeaderLine header;
      if (!parse_header(line, header) || !header_accepted(header)) {
        skipping = true;
        continue;
      }
      // A second header before the closing line renames the open block.
      block.kind = header.kind;
      copy_bounded(block.lang, kLangWord);
      copy_bounded(block.host, header.host);
      copy_bounded(block.port, header.port);
      open = true;
      skipping = false;
    } else if (line[0] == '}') {
      if (!open || skipping) continue;
      // The list position is taken when the block is complete, so that a
      // renamed block does not leave a gap in its kind's order.
      block.kind_order = kind_counter[block.kind]++;
      entry_order_count[b] = entry_slot_count[b] = e;
      ++b;
      open = false;
      e = 0;
    } else if (open && !skipping && e < MAX_BLOCK_ENTRIES) {
      AccessEntry& entry = block.entries[e];
      memset(&entry, 0, sizeof entry);
      entry.order = e;
      parse_entry(line, entry);
      ++e;
    }
  }
  if (b < MAX_ACCESS_BLOCKS) clear_block(b);  // a block left open is not kept
  access_block_count = access_slot_count = b;
}

int ordered_entries(int slot, int (&slots)[MAX_BLOCK_ENTRIES]) {
  bool taken[MAX_BLOCK_ENTRIES] = {};
  int count = 0;
  for (int order = 0; order < entry_order_count[slot]; ++order) {
    for (int e = 0; e < entry_slot_count[slot]; ++e) {
      if (!taken[e] && access_blocks[slot].entries[e].order == order) {
        taken[e] = true;
        slots[count++] = e;
        break;
      }
    }
  }
  return count;
}

int find_block_by_kind_order(int kind, int kind_order) {
  for (int slot = 0; slot < access_slot_count; ++slot)
    if (access_blocks[slot].kind == kind && access_blocks[slot].kind_order == kind_order &&
        block_is_live(slot))
      return slot;
  return -1;
}

void write_access_block(FILE* out, int slot) {
  const AccessBlock& block = access_blocks[slot];
  const char* word = block.kind == BLOCK_KIND_CONVD ? "convd" : "tolqds";
  if (block.port[0] != '\0')
    fprintf(out, "%s\t%s %s/%s { \n", word, kLangWord, block.host, block.port);
  else
    fprintf(out, "%s\t%s %s { \n", word, kLangWord, block.host);
  write_block_entries(out, slot, false);
  fputs("}\n", out);
}

void write_access_model(FILE* out, FILE* old_file) {
  SaveState save;
  for (int slot = 0; slot < access_slot_count; ++slot)
    save.block[slot] = block_is_live(slot) ? kPending : kSkipped;
  write_file_header(out, "tolqhosts");
  if (old_file) merge_old_file(old_file, out, save);
  append_pending_blocks(out, save);
}

int save_access_model(const char* old_path, const char* dir, const char* name, Backup backup) {
  InputFile old_file = open_old_file(old_path);
  SettingsFileWriter writer;
  if (writer.open(dir, name, backup) != 0) return -1;
  write_access_model(writer.stream(), old_file.get());
  // A read error would drop the rest of the old file's comments.
  if (old_file && ferror(old_file.get())) return -1;
  return writer.commit();
}

int validate_port(const char* text) {
  long value = 0;
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p < '0' || *p > '9') return -1;
    value = value * 10 + (*p - '0');
    if (value > 65535) return -1;
  }
  return 0;
}

int server_is_duplicate(const char* host, const char* port, const char* unchanged_host,
                        const char* unchanged_port) {
  if (unchanged_host && unchanged_port && strcmp(host, unchanged_host) == 0 &&
      strcmp(port, unchanged_port) == 0)
    return 0;
  for (int slot = 0; slot < access_slot_count; ++slot) {
    const AccessBlock& block = access_blocks[slot];
    if (block.kind == BLOCK_KIND_CONVD && strcmp(block.lang, kLangWord) == 0 &&
        strcmp(block.host, host) == 0 && strcmp(block.port, port) == 0)
      return -1;
  }
  return 0;
}

int entry_is_duplicate(int slot, const char* host, const char* user, const char* unchanged_host,
                       const char* unchanged_user) {
  if (unchanged_host && unchanged_user && strcmp(host, unchanged_host) == 0 &&
      strcmp(user, unchanged_user) == 0)
    return 0;
  for (int e = 0; e < entry_slot_count[slot]; ++e) {
    const AccessEntry& entry = access_blocks[slot].entries[e];
    if (strcmp(entry.host, host) == 0 && strcmp(entry.user, user) == 0) return -1;
  }
  return 0;
}

int add_server_block(const char* host, const char* port) {
  if (access_block_count >= MAX_ACCESS_BLOCKS) return -1;
  int slot = 0;
  while (slot < access_slot_count && block_is_live(slot)) ++slot;
  if (slot >= MAX_ACCESS_BLOCKS) return -1;
  int convd_blocks = 0;
  for (int j = 0; j < access_slot_count; ++j)
    if (block_is_live(j) && access_blocks[j].kind == BLOCK_KIND_CONVD) ++convd_blocks;
  clear_block(slot);
  AccessBlock& block = access_blocks[slot];
  block.kind = BLOCK_KIND_CONVD;
  copy_bounded(block.lang, kLangWord);
  copy_bounded(block.host, host);
  copy_bounded(block.port, port);
  block.kind_order = convd_blocks;
  if (slot == access_slot_count) ++access_slot_count;
  ++access_block_count;
  return slot;
}

void change_server_block(int slot, const char* host, const char* port) {
  copy_bounded(access_blocks[slot].host, host);
  copy_bounded(access_blocks[slot].port, port);
}

void remove_server_block(int slot) {
  if (slot < 0 || slot >= access_slot_count || !block_is_live(slot)) return;
  AccessBlock& block = access_blocks[slot];
  int kind = block.kind, kind_order = block.kind_order;
  clear_block(slot);
  block.kind_order = kRemovedOrder;
  for (int j = 0; j < access_slot_count; ++j)
    if (block_is_live(j) && access_blocks[j].kind == kind &&
        access_blocks[j].kind_order > kind_order)
      --access_blocks[j].kind_order;
  if (slot == access_slot_count - 1) access_slot_count = slot;
  --access_block_count;
}

int add_block_entry(int slot, const char* host, const char* user) {
  if (entry_order_count[slot] >= MAX_BLOCK_ENTRIES) return -1;
  // Only a removed entry's slot is taken again: an entry read with both
  // fields empty is still in the list.
  int e = 0;
  while (e < entry_slot_count[slot] && access_blocks[slot].entries[e].order != kRemovedOrder) ++e;
  if (e >= MAX_BLOCK_ENTRIES) return -1;
  if (e == entry_slot_count[slot]) ++entry_slot_count[slot];
  AccessEntry& entry = access_blocks[slot].entries[e];
  copy_bounded(entry.host, host);
  copy_bounded(entry.user, user);
  entry.order = entry_order_count[slot]++;
  return e;
}

void change_block_entry(int slot, int order, const char* host, const char* user) {
  AccessEntry* entry = find_entry(slot, order);
  if (!entry) return;
  copy_bounded(entry->host, host);
  copy_bounded(entry->user, user);
}

void remove_block_entry(int slot, int order) {
  AccessEntry* entry = find_entry(slot, order);
  if (!entry) return;
  entry->host[0] = entry->user[0] = '\0';
  entry->order = kRemovedOrder;
  AccessEntry* entries = access_blocks[slot].entries;
  for (int e = 0; e < entry_slot_count[slot]; ++e)
    if (entries[e].order > order && entries[e].order < entry_order_count[slot]) --entries[e].order;
  if (entry == &entries[entry_slot_count[slot] - 1]) --entry_slot_count[slot];
  --entry_order_count[slot];
}
