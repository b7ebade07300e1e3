// The access-control model: fixed tables of server blocks and their entries.
#ifndef TOLQ_ACCESS_ACCESS_MODEL_H
#define TOLQ_ACCESS_ACCESS_MODEL_H

#include <cstdint>

#include "common/text.h"

inline constexpr int MAX_ACCESS_BLOCKS = 50;
inline constexpr int MAX_BLOCK_ENTRIES = 50;
inline constexpr int32_t BLOCK_KIND_CONVD = 0;
inline constexpr int32_t BLOCK_KIND_TOLQDS = 1;
inline constexpr int32_t kRemovedOrder = 51;  // an order no lookup matches

struct AccessEntry {
  char host[kLineSize];
  char user[kLineSize];
  int32_t order;
};

struct AccessBlock {
  int32_t kind;
  char lang[kLineSize];  // empty for a removed block
  char host[kLineSize];  // empty for a removed block
  char port[kLineSize];
  int32_t kind_order;
  AccessEntry entries[MAX_BLOCK_ENTRIES];
};

extern AccessBlock access_blocks[MAX_ACCESS_BLOCKS];
extern int access_slot_count;
extern int access_block_count;
extern int entry_order_count[MAX_ACCESS_BLOCKS];
extern int entry_slot_count[MAX_ACCESS_BLOCKS];

#endif
