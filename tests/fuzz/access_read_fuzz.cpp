// Any tolqhosts content reads into a model that keeps its limits, whose list
// positions are exactly 0 .. n - 1 within each kind, and whose entries know
// the line they came from.
#include <cstdint>
#include <memory>
#include <initializer_list>
#include <string>

#include "access/access_file.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto owned = std::make_unique<AccessModel>();
  AccessModel& access = *owned;
  read_access_text(access, std::string(reinterpret_cast<const char*>(data), size));
  check(access.block_count >= 0 && access.block_count <= MAX_ACCESS_BLOCKS);
  check(access.slot_count == access.block_count);
  int per_kind[2] = {0, 0};
  for (int slot = 0; slot < access.slot_count; ++slot) {
    const AccessBlock& block = access.blocks[slot];
    check(block.kind == BLOCK_KIND_CONVD || block.kind == BLOCK_KIND_TOLQDS);
    check(block.lang == "ja_JP" && !block.host.empty() && block.origin == slot);
    check(access.entry_order_count[slot] == access.entry_slot_count[slot]);
    check(access.entry_order_count[slot] >= 0 &&
          access.entry_order_count[slot] <= MAX_BLOCK_ENTRIES);
    int slots[MAX_BLOCK_ENTRIES];
    check(ordered_entries(access, slot, slots) == access.entry_order_count[slot]);
    for (int e = 0; e < access.entry_slot_count[slot]; ++e) check(block.entries[e].origin == e);
    ++per_kind[block.kind];
  }
  for (int kind : {BLOCK_KIND_CONVD, BLOCK_KIND_TOLQDS})
    for (int i = 0; i < per_kind[kind]; ++i) check(find_block_by_kind_order(access, kind, i) >= 0);
  return 0;
}
