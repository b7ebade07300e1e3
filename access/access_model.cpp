#include "access/access_model.h"

#include <cstring>

#include "common/places.h"

namespace {

AccessEntry* find_entry(AccessModel& model, int slot, int order) {
  for (int e = 0; e < model.entry_slot_count[slot]; ++e)
    if (model.blocks[slot].entries[e].order == order) return &model.blocks[slot].entries[e];
  return nullptr;
}

}  // namespace

// Clears a block's fields and the entries in use.
void clear_access_block(AccessModel& model, int slot) {
  AccessBlock& block = model.blocks[slot];
  block.kind = BLOCK_KIND_CONVD;
  block.lang.clear();
  block.host.clear();
  block.port.clear();
  block.kind_order = 0;
  block.origin = -1;
  for (int e = 0; e < model.entry_slot_count[slot]; ++e) block.entries[e] = AccessEntry{};
  model.entry_order_count[slot] = 0;
  model.entry_slot_count[slot] = 0;
}

bool access_block_is_live(const AccessModel& model, int slot) {
  return !model.blocks[slot].host.empty();
}

int ordered_entries(const AccessModel& model, int slot, int (&slots)[MAX_BLOCK_ENTRIES]) {
  bool taken[MAX_BLOCK_ENTRIES] = {};
  int count = 0;
  for (int order = 0; order < model.entry_order_count[slot]; ++order) {
    for (int e = 0; e < model.entry_slot_count[slot]; ++e) {
      if (!taken[e] && model.blocks[slot].entries[e].order == order) {
        taken[e] = true;
        slots[count++] = e;
        break;
      }
    }
  }
  return count;
}

int find_block_by_kind_order(const AccessModel& model, int kind, int kind_order) {
  for (int slot = 0; slot < model.slot_count; ++slot)
    if (model.blocks[slot].kind == kind && model.blocks[slot].kind_order == kind_order &&
        access_block_is_live(model, slot))
      return slot;
  return -1;
}

bool port_text_is_valid(const char* text) {
  long value = 0;
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p < '0' || *p > '9') return false;
    value = value * 10 + (*p - '0');
    if (value > 65535) return false;
  }
  return true;
}

bool server_is_duplicate(const AccessModel& model, const char* host, const char* port,
                         const char* unchanged_host, const char* unchanged_port) {
  if (unchanged_host && unchanged_port && strcmp(host, unchanged_host) == 0 &&
      strcmp(port, unchanged_port) == 0)
    return false;
  for (int slot = 0; slot < model.slot_count; ++slot) {
    const AccessBlock& block = model.blocks[slot];
    if (block.kind == BLOCK_KIND_CONVD && block.lang == kLangName && block.host == host &&
        block.port == port)
      return true;
  }
  return false;
}

bool entry_is_duplicate(const AccessModel& model, int slot, const char* host, const char* user,
                        const char* unchanged_host, const char* unchanged_user) {
  if (unchanged_host && unchanged_user && strcmp(host, unchanged_host) == 0 &&
      strcmp(user, unchanged_user) == 0)
    return false;
  for (int e = 0; e < model.entry_slot_count[slot]; ++e) {
    const AccessEntry& entry = model.blocks[slot].entries[e];
    if (entry.host == host && entry.user == user) return true;
  }
  return false;
}

int add_server_block(AccessModel& model, const char* host, const char* port) {
  if (model.block_count >= MAX_ACCESS_BLOCKS) return -1;
  int slot = 0;
  while (slot < model.slot_count && access_block_is_live(model, slot)) ++slot;
  if (slot >= MAX_ACCESS_BLOCKS) return -1;
  int convd_blocks = 0;
  for (int j = 0; j < model.slot_count; ++j)
    if (access_block_is_live(model, j) && model.blocks[j].kind == BLOCK_KIND_CONVD) ++convd_blocks;
  clear_access_block(model, slot);
  AccessBlock& block = model.blocks[slot];
  block.kind = BLOCK_KIND_CONVD;
  block.lang = kLangName;
  block.host = host;
  block.port = port;
  block.kind_order = convd_blocks;
  if (slot == model.slot_count) ++model.slot_count;
  ++model.block_count;
  return slot;
}

void change_server_block(AccessModel& model, int slot, const char* host, const char* port) {
  model.blocks[slot].host = host;
  model.blocks[slot].port = port;
}

void remove_server_block(AccessModel& model, int slot) {
  if (slot < 0 || slot >= model.slot_count || !access_block_is_live(model, slot)) return;
  AccessBlock& block = model.blocks[slot];
  int kind = block.kind, kind_order = block.kind_order;
  clear_access_block(model, slot);
  block.kind_order = kRemovedOrder;
  for (int j = 0; j < model.slot_count; ++j)
    if (access_block_is_live(model, j) && model.blocks[j].kind == kind &&
        model.blocks[j].kind_order > kind_order)
      --model.blocks[j].kind_order;
  if (slot == model.slot_count - 1) model.slot_count = slot;
  --model.block_count;
}

int add_block_entry(AccessModel& model, int slot, const char* host, const char* user) {
  if (model.entry_order_count[slot] >= MAX_BLOCK_ENTRIES) return -1;
  // Only a removed entry's slot is taken again: an entry read with both
  // fields empty is still in the list.
  int e = 0;
  while (e < model.entry_slot_count[slot] && model.blocks[slot].entries[e].order != kRemovedOrder)
    ++e;
  if (e >= MAX_BLOCK_ENTRIES) return -1;
  if (e == model.entry_slot_count[slot]) ++model.entry_slot_count[slot];
  AccessEntry& entry = model.blocks[slot].entries[e];
  entry = AccessEntry{};
  entry.host = host;
  entry.user = user;
  entry.order = model.entry_order_count[slot]++;
  return e;
}

void change_block_entry(AccessModel& model, int slot, int order, const char* host,
                        const char* user) {
  AccessEntry* entry = find_entry(model, slot, order);
  if (!entry) return;
  entry->host = host;
  entry->user = user;
}

void remove_block_entry(AccessModel& model, int slot, int order) {
  AccessEntry* entry = find_entry(model, slot, order);
  if (!entry) return;
  *entry = AccessEntry{};
  entry->order = kRemovedOrder;
  AccessEntry* entries = model.blocks[slot].entries;
  for (int e = 0; e < model.entry_slot_count[slot]; ++e)
    if (entries[e].order > order && entries[e].order < model.entry_order_count[slot])
      --entries[e].order;
  if (entry == &entries[model.entry_slot_count[slot] - 1]) --model.entry_slot_count[slot];
  --model.entry_order_count[slot];
}

namespace {

// True when text holds only printable ASCII without braces or any byte of
// refused, and starts with neither ';' nor '@'. White space would split a
// header, a brace makes a line a header or a closing line, a leading ';' a
// comment and a leading '@' an entry without host. Host and user names are
// ASCII, and other bytes typed in UTF-8 would not be the file's EUC-JP. The
// leading ';' and '@' are refused in every field, as the message says.
bool hosts_text_is_valid(const char* text, const char* refused) {
  if (text[0] == ';' || text[0] == '@') return false;
  for (const char* p = text; *p != '\0'; ++p) {
    auto c = static_cast<unsigned char>(*p);
    if (c <= ' ' || c >= 0x7f || c == '{' || c == '}' || strchr(refused, c)) return false;
  }
  return true;
}

}  // namespace

// A ':' ends a pair's host on reading (and is no part of a host name); a '/'
// in a server's host would start the port.
bool host_text_is_valid(const char* host, HostOf owner) {
  return hosts_text_is_valid(host, owner == HostOf::kServer ? ":/" : ":");
}

// Without a host the pair is written "@user", which the reader cuts at the first ':'.
bool user_text_is_valid(const char* user, const char* host) {
  return hosts_text_is_valid(user, host[0] == '\0' ? ":" : "");
}
