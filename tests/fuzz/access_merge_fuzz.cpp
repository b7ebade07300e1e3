// Reads any content, maybe edits the model a little, and saves it merged into
// that content. The saved file reads back with the model's blocks first, in
// their order; saving what was read back gives the same file (unless a block
// was removed, see below); comment lines survive every edit but a removal;
// and without edits the save is the content itself less some blank and ";;"
// lines between blocks: every line of an accepted block stays in its place.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "access/access_file.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

// The live blocks of a kind in list order: the server, then its entries.
std::vector<std::vector<std::string>> listed(const AccessModel& access, int kind) {
  std::vector<std::vector<std::string>> blocks;
  for (int i = 0;; ++i) {
    int slot = find_block_by_kind_order(access, kind, i);
    if (slot < 0) return blocks;
    const AccessBlock& block = access.blocks[slot];
    std::vector<std::string> text = {block.host + "/" + block.port};
    int slots[MAX_BLOCK_ENTRIES];
    int count = ordered_entries(access, slot, slots);
    for (int e = 0; e < count; ++e) {
      const AccessEntry& entry = block.entries[slots[e]];
      text.push_back(entry.host + ":" + entry.user);
    }
    blocks.push_back(text);
  }
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t begin = 0; begin < text.size();) {
    size_t end = text.find('\n', begin);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(begin, end - begin));
    begin = end + 1;
  }
  return lines;
}

bool blank_or_old_header(const std::string& line) {
  return line.empty() || line.compare(0, 2, ";;") == 0;
}

bool accepted_header(const std::string& line) {
  if (line.find('{') == std::string::npos) return false;
  std::istringstream words(line);
  std::string word[4];
  words >> word[0] >> word[1] >> word[2] >> word[3];
  return !word[3].empty() && word[3][0] == '{' && word[1] == "ja_JP" && word[2][0] != '/';
}

// Which lines lie in a block the reader takes into the model: the first 50
// that end with their closing line, from their first header on.
std::vector<bool> lines_in_blocks(const std::vector<std::string>& lines) {
  std::vector<bool> inside(lines.size(), false);
  bool open = false, skipping = false;
  size_t start = 0;
  for (size_t i = 0, blocks = 0; i < lines.size() && blocks < MAX_ACCESS_BLOCKS; ++i) {
    const std::string& line = lines[i];
    if (line.empty() || line[0] == ';') continue;
    if (line.find('{') != std::string::npos) {
      skipping = !accepted_header(line);
      if (!skipping && !open) start = i;
      open = open || !skipping;
    } else if (line[0] == '}' && open && !skipping) {
      for (size_t j = start; j <= i; ++j) inside[j] = true;
      open = false;
      ++blocks;
    }
  }
  return inside;
}

// The saved file, after its own header, is the original but for blank and
// ";;" lines outside the blocks.
void check_copied_in_place(const std::string& original, const std::string& saved) {
  std::vector<std::string> before = lines_of(original), after = lines_of(saved);
  std::vector<bool> inside = lines_in_blocks(before);
  size_t next = 3;
  for (size_t i = 0; i < before.size(); ++i) {
    if (next < after.size() && before[i] == after[next])
      ++next;
    else
      check(!inside[i] && blank_or_old_header(before[i]));
  }
  check(next == after.size());
}

// Every comment line but old headers, in order.
void check_comments_kept(const std::string& original, const std::string& saved) {
  std::vector<std::string> after = lines_of(saved);
  size_t next = 0;
  for (const std::string& line : lines_of(original)) {
    if (line.empty() || line[0] != ';' || blank_or_old_header(line)) continue;
    while (next < after.size() && after[next] != line) ++next;
    check(next++ < after.size());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks the edits, so removed slots, added blocks and
  // changed blocks are merged too.
  int edit = data[0];
  std::string original(reinterpret_cast<const char*>(data + 1), size - 1);
  auto owned = std::make_unique<AccessModel>();
  AccessModel& access = *owned;
  read_access_text(access, original);
  int target = access.slot_count > 0 ? (edit / 8) % access.slot_count : -1;
  if (target >= 0 && access_block_is_live(access, target)) {
    // The edits take C strings: a host read with a NUL in it cannot be passed back.
    const std::string& host = access.blocks[target].host;
    if ((edit & 8) && host.find('\0') == std::string::npos)
      change_server_block(access, target, host.c_str(), "99");
    if ((edit & 16) && access.entry_order_count[target] > 0)
      change_block_entry(access, target, 0, "c", "v");
    if ((edit & 32) && access.entry_order_count[target] > 0) remove_block_entry(access, target, 0);
    if (edit & 64) add_block_entry(access, target, "n", "");
  }
  if ((edit & 1) && access.slot_count > 0) remove_server_block(access, edit % access.slot_count);
  if (edit & 2) {
    int slot = add_server_block(access, "added", (edit & 4) ? "80" : "");
    if (slot >= 0) add_block_entry(access, slot, "h", "u");
  }
  std::vector<std::vector<std::string>> model[2] = {listed(access, BLOCK_KIND_CONVD),
                                                    listed(access, BLOCK_KIND_TOLQDS)};

  std::string saved = render_access_model(access, true);
  if ((edit & 0x7b) == 0) check_copied_in_place(original, saved);
  if ((edit & 1) == 0) check_comments_kept(original, saved);

  read_access_text(access, saved);
  for (int kind : {BLOCK_KIND_CONVD, BLOCK_KIND_TOLQDS}) {
    std::vector<std::vector<std::string>> back = listed(access, kind);
    check(back.size() >= model[kind].size());
    for (size_t b = 0; b < model[kind].size(); ++b) {
      // With an entry removed, the first entry past the 50th is read in.
      if (edit & 32) back[b].resize(std::min(back[b].size(), model[kind][b].size()));
      check(back[b] == model[kind][b]);
    }
  }
  // A removed block lets the next read take in a block that stood past the
  // 50th, whose blank and ;; lines a save then drops like those of any block:
  // only without a removal is the saved file already what saving gives.
  if ((edit & 1) == 0) check(render_access_model(access, true) == saved);
  return 0;
}
