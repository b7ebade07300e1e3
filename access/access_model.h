// The access-control model: fixed tables of server blocks and their entries.
#ifndef TOLQ_ACCESS_ACCESS_MODEL_H
#define TOLQ_ACCESS_ACCESS_MODEL_H

#include <cstdint>
#include <string>

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

extern AccessBlock access_blocks[MAX_ACCESS_BLOCKS];
extern int access_slot_count;
extern int access_block_count;
extern int entry_order_count[MAX_ACCESS_BLOCKS];
extern int entry_slot_count[MAX_ACCESS_BLOCKS];

#endif
